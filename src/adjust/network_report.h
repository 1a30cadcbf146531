// The adjustment of the network LSQ has read: checks, approximate positions,
// least squares, the report, and on the surveyor's word the adjusted points
// stored.
#pragma once

namespace vantrel {

class Session;
enum class Outcome;

Outcome AdjustAndReport(Session& s);

}  // namespace vantrel
