// The observations of a least-squares network and the positions its points
// hold, as the adjustment reads and returns them.
#pragma once

#include <array>
#include <vector>

namespace vantrel {

enum class ObservationKind { Distance, Angle, Direction, Reading };

// Centering errors of the instrument over its station and of the target
// over the point sighted, in feet.
struct Centering {
  double instrument = 0;
  double target = 0;
};

// One horizontal observation. Distance and Direction (an azimuth) run from
// points[0] to points[1]; an Angle is turned clockwise at points[0] from the
// backsight points[1] to the foresight points[2]; a Reading is a circle
// reading at points[0] to points[1], one of a direction set whose zero (its
// orientation) is unknown. Values in feet or radians.
struct Observation {
  ObservationKind kind = ObservationKind::Distance;
  std::array<int, 3> points{};
  double value = 0;
  double sigma = 0;   // a-priori standard error before centering, feet or radians
  bool held = false;  // a known direction, weighted so that it barely moves
  int set = -1;       // a Reading's direction set, counted from 0
  Centering centering{};
};

// A height difference from one point to another (elevation of `to` minus
// elevation of `from`), feet.
struct HeightDifference {
  int from = 0, to = 0;
  double value = 0;
  double sigma = 0;
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
  int sets = 0;             // direction sets among the Readings
  std::vector<HeightDifference> heights{};
  std::vector<char> heightFixed{};  // 1 for a point whose elevation is held
};

// The points an observation names (two or three).
int PointCount(const Observation& o);

// The value an observation would have between the given positions: distance,
// clockwise angle in 0..2pi, or azimuth; a Reading's value is its azimuth
// less the orientation of its set.
double ComputedValue(const Observation& o, const std::vector<Position>& at, double orientation = 0);

// Observed minus computed, with angles brought into -pi..pi.
double Misclosure(const Observation& o, const std::vector<Position>& at, double orientation = 0);

// The variance of an observation at the given positions: its a-priori error
// and its centering errors, which weigh short sights down (a distance adds
// both centerings; a direction or reading adds them over the sight length
// squared; an angle adds the target's over each sight and the instrument's
// by the spread of the two sights).
double Variance(const Observation& o, const std::vector<Position>& at);

// An angle brought into 0..2pi and into -pi..pi.
double IntoOneTurn(double angle);
double IntoHalfTurns(double angle);

}  // namespace vantrel
