// Gauss-Newton adjustment of a network by least squares: observation
// equations linearised at the current positions, weights 1/variance
// recomputed from them at each iteration, sparse normal equations, and the
// cofactors of the unknowns and of the residuals from the elements of their
// inverse on the factor's pattern. Heights are adjusted apart, as a network
// of one dimension.
#pragma once

#include <vector>

#include "adjust/network.h"

namespace vantrel {

// Corrections below this (feet) end the iteration.
inline constexpr double kConvergence = 0.0001;
inline constexpr int kMostIterations = 10;

// Variances outside this range give weights the normal equations cannot
// carry (their products leave the range of doubles or drown every other).
inline constexpr double kSmallestVariance = 1e-30;
inline constexpr double kLargestVariance = 1e30;

struct AdjustedPoint {
  int point = 0;
  // Cofactors of north and east (a-priori unit variance).
  double qNorth = 0, qEast = 0, qNorthEast = 0;
};

struct AdjustedOrientation {
  double value = 0;     // azimuth of the set's zero, 0..2pi
  double cofactor = 0;  // radians squared, a-priori unit variance
};

struct AdjustedObservation {
  double adjusted = 0;    // value between the adjusted positions
  double residual = 0;    // adjusted minus observed (angles in -pi..pi)
  double redundancy = 0;  // cofactor of the residual over its variance, 0..1
  double sigma = 0;       // a-priori standard error at the adjusted positions
};

struct AdjustmentResult {
  enum class Status { Adjusted, Singular, NotConverged, OutOfRange, WeightOutOfRange };
  Status status = Status::Adjusted;
  int failingPoint = 0;          // Singular: a point the network cannot fix
  int failingSet = -1;           // Singular: a set whose orientation it cannot fix
  int failingObservation = -1;   // WeightOutOfRange
  double lastCorrection = 0;     // NotConverged: the largest correction left
  int iterations = 0;
  int unknowns = 0;
  std::vector<AdjustedPoint> points;  // the unknown points, in first-named order
  std::vector<AdjustedOrientation> orientations;  // one a direction set
  std::vector<AdjustedObservation> observations;
  double weightedSquares = 0;    // sum of v^2 / sigma^2
};

struct ErrorEllipse {
  double semiMajor = 0, semiMinor = 0;
  double azimuth = 0;  // of the semi-major axis, 0..pi
};

// A point's error ellipse: the axes of its cofactors times `scale` (sigma0
// and the confidence factor).
ErrorEllipse EllipseOf(const AdjustedPoint& p, double scale);

// The unknown points (named by an observation, not fixed), in the order the
// observations first name them.
std::vector<int> UnknownPoints(const Network& network);

// Adjusts the network from the approximate positions in `at` (every point
// the observations name must hold one) and leaves the adjusted positions
// there. Fixed points keep theirs.
AdjustmentResult AdjustNetwork(const Network& network, std::vector<Position>& at);

struct AdjustedHeight {
  int point = 0;
  double cofactor = 0;
};

struct HeightResult {
  enum class Status { Adjusted, Singular, WeightOutOfRange };
  Status status = Status::Adjusted;
  int failingPoint = 0;
  int failingObservation = -1;
  int unknowns = 0;
  std::vector<AdjustedHeight> points;  // in first-named order
  std::vector<AdjustedObservation> observations;
  double weightedSquares = 0;
};

// The points whose heights the height differences adjust (named by one and
// not held), in the order they are first named.
std::vector<int> UnknownHeights(const Network& network);

// Adjusts the height differences from the held elevations in `elevation`
// (indexed by point number) and writes the adjusted ones there. The
// problem is linear: one solution is exact.
HeightResult AdjustHeights(const Network& network, std::vector<double>& elevation);

}  // namespace vantrel
