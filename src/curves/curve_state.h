// State the curve commands carry from curve to curve.
#pragma once

namespace vantrel {

struct CurveState {
  double RunningStation = 0;
};

}  // namespace vantrel
