// State the figure commands keep between lines.
#pragma once

namespace vantrel {

struct AreaState {};

}  // namespace vantrel
