// The network being read by LSQ: the a-priori errors, the observations and
// fixed points gathered over its lines, kept between the lines that bring
// them.
#pragma once

#include <utility>
#include <vector>

#include "adjust/network.h"
#include "notation/numbers.h"

namespace vantrel {

// Angles are typed and reported in seconds.
inline constexpr double kSecondsPerRadian = 180 / PI * 3600;

// Most observations one network may hold.
inline constexpr int kMaxObservations = 2000;

struct NetworkRecord {
  double AngleSeconds = 0;       // as typed
  double AngleError = 0;         // radians
  double DistanceConstant = 0;   // feet
  double DistancePpm = 0;        // parts per million of the distance
  double ConfidencePercent = 95;  // of the error ellipses and the chi-square test
  Network network;
  // A traverse taken with T: its last station stands on the closing point
  // and is stored there; the misclosure of the courses as observed.
  std::vector<std::pair<int, int>> ClosingStations;  // station point, closing point
  bool HasTraverse = false;
  double TraverseLength = 0;
  double TraverseMisclosure = 0;

  // The network has been adjusted or refused: further lines are not added.
  bool Finished = false;
  // A line was refused: the network is read to its end but not adjusted.
  bool Spoiled = false;
};

}  // namespace vantrel
