// The observations of a least-squares network and the positions its points
// hold, as the adjustment reads and returns them.
#pragma once

#include <array>
#include <vector>

namespace vantrel {

enum class ObservationKind { Distance, Angle, Direction };

// One observation. Distance and Direction run from points[0] to points[1];
// an Angle is turned clockwise at points[0] from the backsight points[1] to
// the foresight points[2]. Values in feet or radians.
struct Observation {
  ObservationKind kind = ObservationKind::Distance;
  std::array<int, 3> points{};
  double value = 0;
  double sigma = 0;   // a-priori standard error, feet or radians
  bool held = false;  // a known direction, weighted so that it barely moves
};

struct Position {
  double north = 0;
  double east = 0;
};

// Points are numbered as the store numbers them; the position and fixed
// tables are indexed by point number.
struct Network {
  std::vector<Observation> observations;
  std::vector<char> fixed;  // 1 for a point held at its position
};

// The points an observation names (two or three).
int PointCount(const Observation& o);

// The value an observation would have between the given positions: distance,
// clockwise angle in 0..2pi, or azimuth.
double ComputedValue(const Observation& o, const std::vector<Position>& at);

// Observed minus computed, with angles brought into -pi..pi.
double Misclosure(const Observation& o, const std::vector<Position>& at);

}  // namespace vantrel
