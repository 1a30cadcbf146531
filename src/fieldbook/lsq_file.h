// The observations of a raw file as a command file for the least-squares
// adjustment: LSQ's line of a-priori errors, the points the file gives held
// fixed, then each setup's directions as one set, its distances and its
// trigonometric height differences, one group a line.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "fieldbook/reduction.h"

namespace vantrel {

// A-priori errors for files whose instrument records none.
inline constexpr double kDefaultAngleError = 5;        // seconds
inline constexpr double kDefaultDistanceError = 0.01;  // feet
inline constexpr double kDefaultDistancePpm = 5;

// The command file's text; `number` gives the point number an id is stored
// under, `fixed` the ids held fixed. Empty when there is no observation.
std::string LsqCommandText(const ReductionResult& result, const std::string& rawFileName,
                           const std::function<std::string(const std::string& id)>& number,
                           const std::vector<std::string>& fixed);

}  // namespace vantrel
