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

// Observations one network may hold for each point the store can hold.
inline constexpr int kObservationsPerPoint = 10;

// The a-priori errors in force: the first line's, until an E group.
struct ErrorModel {
  double AngleSeconds = 0;      // as typed
  double AngleError = 0;        // radians
  double DistanceConstant = 0;  // feet
  double DistancePpm = 0;       // parts per million of the distance
  Centering centering;
};

struct NetworkRecord {
  ErrorModel FirstErrors;             // of the first line, for the report's heading
  ErrorModel Errors;                  // in force for the next group
  std::vector<std::pair<size_t, ErrorModel>> ErrorChanges;  // E: the observation it starts at
  double ConfidencePercent = 95;  // of the error ellipses and the chi-square test
  bool Snooping = false;          // Baarda's data snooping instead of the mark above 3
  Network network;
  // A traverse taken with T: its last station stands on the closing point
  // and is stored there; the misclosure of the courses as observed.
  std::vector<std::pair<int, int>> ClosingStations;  // station point, closing point
  bool HasTraverse = false;
  double TraverseLength = 0;
  double TraverseMisclosure = 0;
  // The station of the direction set the last group added to, 0 after any
  // other group: the next R at that station joins the set.
  int OpenSetStation = 0;

  // The network has been adjusted or refused: further lines are not added.
  bool Finished = false;
  // A line was refused: the network is read to its end but not adjusted.
  bool Spoiled = false;
};

}  // namespace vantrel
