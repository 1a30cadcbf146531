// The traverse being read by TAA/TAB: method, header and stations.
#pragma once

namespace vantrel {

struct TraverseRecord {};

}  // namespace vantrel
