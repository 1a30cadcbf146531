#include "adjust/least_squares.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>

#include "notation/numbers.h"

namespace vantrel {
namespace {

using Matrix = Eigen::MatrixXd;
using Vector = Eigen::VectorXd;

// A pivot of the Cholesky factorisation below this share of its diagonal
// element means the unknown is fixed by nothing the earlier unknowns do not
// already fix (rounding leaves about 1e-16 of a dependent one).
constexpr double kDependentPivot = 1e-9;

// Unknown columns of one observation: index of each point's north unknown
// (east follows it) or -1 for a fixed point, with the partial derivatives of
// the observed quantity by north and east of each point.
struct Linearised {
  std::array<int, 3> column{-1, -1, -1};
  std::array<double, 3> byNorth{}, byEast{};
};

// Partials of the distance and of the azimuth from point a to point b by the
// coordinates of b (those by a are their negatives).
struct CoursePartials {
  double distanceNorth, distanceEast, azimuthNorth, azimuthEast;
};

CoursePartials Partials(const std::vector<Position>& at, int a, int b) {
  double dN = at[b].north - at[a].north, dE = at[b].east - at[a].east;
  double squared = dN * dN + dE * dE, length = std::sqrt(squared);
  return {dN / length, dE / length, -dE / squared, dN / squared};
}

Linearised Linearise(const Observation& o, const std::vector<Position>& at, const std::vector<int>& columnOf) {
  Linearised row;
  const auto& p = o.points;
  for (int k = 0; k < PointCount(o); ++k) row.column[k] = columnOf[p[k]];
  if (o.kind == ObservationKind::Angle) {
    CoursePartials fore = Partials(at, p[0], p[2]), back = Partials(at, p[0], p[1]);
    row.byNorth = {back.azimuthNorth - fore.azimuthNorth, -back.azimuthNorth, fore.azimuthNorth};
    row.byEast = {back.azimuthEast - fore.azimuthEast, -back.azimuthEast, fore.azimuthEast};
    return row;
  }
  CoursePartials c = Partials(at, p[0], p[1]);
  bool distance = o.kind == ObservationKind::Distance;
  double n = distance ? c.distanceNorth : c.azimuthNorth, e = distance ? c.distanceEast : c.azimuthEast;
  row.byNorth = {-n, n, 0};
  row.byEast = {-e, e, 0};
  return row;
}

// Adds one observation's row times its weight to the normal equations.
void Accumulate(const Linearised& row, int points, double weight, double misclosure, Matrix& normal, Vector& right) {
  for (int i = 0; i < points; ++i) {
    if (row.column[i] < 0) continue;
    const double ai[2] = {row.byNorth[i], row.byEast[i]};
    for (int r = 0; r < 2; ++r) {
      right(row.column[i] + r) += ai[r] * weight * misclosure;
      for (int j = 0; j < points; ++j) {
        if (row.column[j] < 0) continue;
        normal(row.column[i] + r, row.column[j]) += ai[r] * weight * row.byNorth[j];
        normal(row.column[i] + r, row.column[j] + 1) += ai[r] * weight * row.byEast[j];
      }
    }
  }
}

// Cholesky factorisation in place (lower triangle). Returns the first column
// whose pivot vanishes, or -1 when the matrix is positive definite.
int Factorise(Matrix& m) {
  const Eigen::Index size = m.rows();
  for (Eigen::Index j = 0; j < size; ++j) {
    double diagonal = m(j, j);
    double pivot = diagonal - m.row(j).head(j).squaredNorm();
    if (!(diagonal > 0) || !(pivot > kDependentPivot * diagonal)) return static_cast<int>(j);
    double l = std::sqrt(pivot);
    m(j, j) = l;
    Eigen::Index below = size - j - 1;
    if (below > 0)
      m.col(j).tail(below) = (m.col(j).tail(below) - m.block(j + 1, 0, below, j) * m.row(j).head(j).transpose()) / l;
  }
  return -1;
}

struct NormalSystem {
  Matrix normal;
  Vector right;
};

NormalSystem Normals(const Network& net, const std::vector<Position>& at, const std::vector<int>& columnOf, int unknowns) {
  NormalSystem system{Matrix::Zero(unknowns, unknowns), Vector::Zero(unknowns)};
  for (const Observation& o : net.observations)
    Accumulate(Linearise(o, at, columnOf), PointCount(o), 1 / (o.sigma * o.sigma), Misclosure(o, at), system.normal,
               system.right);
  return system;
}

// A pair of points of one observation that lie on each other has no
// direction: the adjustment cannot linearise it. Returns such a point.
int CoincidentPoint(const Network& net, const std::vector<Position>& at) {
  for (const Observation& o : net.observations)
    for (int k = 1; k < PointCount(o); ++k) {
      const Position &a = at[o.points[0]], &b = at[o.points[k]];
      if (a.north == b.north && a.east == b.east) return net.fixed[o.points[k]] ? o.points[0] : o.points[k];
    }
  return 0;
}

}  // namespace

ErrorEllipse EllipseOf(const AdjustedPoint& p, double scale) {
  double mean = (p.qNorth + p.qEast) / 2, half = (p.qNorth - p.qEast) / 2;
  double spread = std::sqrt(half * half + p.qNorthEast * p.qNorthEast);
  double azimuth = std::atan2(2 * p.qNorthEast, p.qNorth - p.qEast) / 2;
  return {scale * std::sqrt(mean + spread), scale * std::sqrt(std::max(mean - spread, 0.0)),
          azimuth < 0 ? azimuth + PI : azimuth};
}

std::vector<int> UnknownPoints(const Network& net) {
  std::vector<int> points;
  std::vector<char> seen(net.fixed.size(), 0);
  for (const Observation& o : net.observations)
    for (int k = 0; k < PointCount(o); ++k) {
      int p = o.points[k];
      if (net.fixed[p] || seen[p]) continue;
      seen[p] = 1;
      points.push_back(p);
    }
  return points;
}

AdjustmentResult AdjustNetwork(const Network& net, std::vector<Position>& at) {
  AdjustmentResult result;
  const std::vector<int> unknownPoints = UnknownPoints(net);
  std::vector<int> columnOf(net.fixed.size(), -1);
  for (size_t k = 0; k < unknownPoints.size(); ++k) columnOf[unknownPoints[k]] = static_cast<int>(2 * k);
  const int unknowns = static_cast<int>(2 * unknownPoints.size());
  result.unknowns = unknowns;
  auto refuse = [&](AdjustmentResult::Status status, int point) {
    result.status = status;
    result.failingPoint = point;
    return result;
  };

  // Iterate until the largest correction is below the convergence limit;
  // the last system, built at the adjusted positions, gives the cofactors.
  NormalSystem system;
  bool converged = false;
  for (int iteration = 0;; ++iteration) {
    if (int point = CoincidentPoint(net, at)) return refuse(AdjustmentResult::Status::Singular, point);
    system = Normals(net, at, columnOf, unknowns);
    int dependent = Factorise(system.normal);
    if (dependent >= 0) return refuse(AdjustmentResult::Status::Singular, unknownPoints[dependent / 2]);
    if (converged) break;
    if (iteration == kMostIterations) return refuse(AdjustmentResult::Status::NotConverged, 0);
    auto lower = system.normal.triangularView<Eigen::Lower>();
    Vector correction = lower.solve(system.right);
    lower.transpose().solveInPlace(correction);
    if (!correction.allFinite()) return refuse(AdjustmentResult::Status::OutOfRange, 0);
    for (size_t k = 0; k < unknownPoints.size(); ++k) {
      at[unknownPoints[k]].north += correction(static_cast<Eigen::Index>(2 * k));
      at[unknownPoints[k]].east += correction(static_cast<Eigen::Index>(2 * k + 1));
    }
    result.iterations = iteration + 1;
    result.lastCorrection = unknowns > 0 ? correction.cwiseAbs().maxCoeff() : 0;
    converged = result.lastCorrection < kConvergence;
  }

  // Cofactors of the unknowns: the inverse of the normal matrix.
  Matrix cofactor = Matrix::Identity(unknowns, unknowns);
  auto lower = system.normal.triangularView<Eigen::Lower>();
  lower.solveInPlace(cofactor);
  lower.transpose().solveInPlace(cofactor);
  for (size_t k = 0; k < unknownPoints.size(); ++k) {
    Eigen::Index c = static_cast<Eigen::Index>(2 * k);
    result.points.push_back({unknownPoints[k], cofactor(c, c), cofactor(c + 1, c + 1), cofactor(c, c + 1)});
  }

  // Residuals and their cofactors: sigma^2 - a Q a'.
  for (const Observation& o : net.observations) {
    AdjustedObservation adjusted;
    adjusted.adjusted = ComputedValue(o, at);
    adjusted.residual = -Misclosure(o, at);
    Linearised row = Linearise(o, at, columnOf);
    double explained = 0;
    for (int i = 0; i < PointCount(o); ++i)
      for (int j = 0; j < PointCount(o); ++j) {
        if (row.column[i] < 0 || row.column[j] < 0) continue;
        const double ai[2] = {row.byNorth[i], row.byEast[i]}, aj[2] = {row.byNorth[j], row.byEast[j]};
        for (int r = 0; r < 2; ++r)
          for (int c = 0; c < 2; ++c) explained += ai[r] * cofactor(row.column[i] + r, row.column[j] + c) * aj[c];
      }
    double variance = o.sigma * o.sigma;
    adjusted.redundancy = std::clamp(1 - explained / variance, 0.0, 1.0);
    result.weightedSquares += adjusted.residual * adjusted.residual / variance;
    result.observations.push_back(adjusted);
  }
  return result;
}

}  // namespace vantrel
