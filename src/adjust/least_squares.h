// Gauss-Newton adjustment of a network by least squares: observation
// equations linearised at the current positions, weights 1/sigma^2, normal
// equations solved by Cholesky factorisation, cofactors of the unknowns and
// of the residuals from their inverse.
#pragma once

#include <vector>

#include "adjust/network.h"

namespace vantrel {

// Corrections below this (feet) end the iteration.
inline constexpr double kConvergence = 0.0001;
inline constexpr int kMostIterations = 10;

struct AdjustedPoint {
  int point = 0;
  // Cofactors of north and east (a-priori unit variance).
  double qNorth = 0, qEast = 0, qNorthEast = 0;
};

struct AdjustedObservation {
  double adjusted = 0;    // value between the adjusted positions
  double residual = 0;    // adjusted minus observed (angles in -pi..pi)
  double redundancy = 0;  // cofactor of the residual over sigma^2, 0..1
};

struct AdjustmentResult {
  enum class Status { Adjusted, Singular, NotConverged, OutOfRange };
  Status status = Status::Adjusted;
  int failingPoint = 0;          // Singular: a point the network cannot fix
  double lastCorrection = 0;     // NotConverged: the largest correction left
  int iterations = 0;
  int unknowns = 0;
  std::vector<AdjustedPoint> points;  // the unknown points, in first-named order
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

}  // namespace vantrel
