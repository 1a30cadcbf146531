// Approximate positions of the points a network's observations reach from
// points already placed: by direction and distance from one point, by two
// directions, or by two distances when a third observation tells which of
// the two crossings is meant.
#pragma once

#include <vector>

#include "adjust/network.h"

namespace vantrel {

// Places every point of `unknowns` whose `placed` flag is 0, writing its
// position into `at`. Returns the first point that cannot be placed, or 0.
int PlacePoints(const Network& network, const std::vector<int>& unknowns, std::vector<Position>& at,
                std::vector<char>& placed);

}  // namespace vantrel
