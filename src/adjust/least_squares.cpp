#include "adjust/least_squares.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "adjust/sparse_normals.h"
#include "notation/geometry.h"
#include "notation/numbers.h"

namespace vantrel {
namespace {

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

// Where the unknowns of the horizontal network sit: north of each unknown
// point (east follows it), then the orientation of each direction set.
struct Columns {
  std::vector<int> ofPoint;  // by point number, -1 for a fixed point
  int firstOrientation = 0;
};

void AddPoint(DesignRow& row, const Columns& columns, int point, double byNorth, double byEast) {
  int c = columns.ofPoint[static_cast<size_t>(point)];
  if (c < 0) return;
  row.Add(c, byNorth);
  row.Add(c + 1, byEast);
}

DesignRow Linearise(const Observation& o, const std::vector<Position>& at, const Columns& columns) {
  DesignRow row;
  const auto& p = o.points;
  if (o.kind == ObservationKind::Angle) {
    CoursePartials fore = Partials(at, p[0], p[2]), back = Partials(at, p[0], p[1]);
    AddPoint(row, columns, p[0], back.azimuthNorth - fore.azimuthNorth, back.azimuthEast - fore.azimuthEast);
    AddPoint(row, columns, p[1], -back.azimuthNorth, -back.azimuthEast);
    AddPoint(row, columns, p[2], fore.azimuthNorth, fore.azimuthEast);
    return row;
  }
  CoursePartials c = Partials(at, p[0], p[1]);
  bool distance = o.kind == ObservationKind::Distance;
  double n = distance ? c.distanceNorth : c.azimuthNorth, e = distance ? c.distanceEast : c.azimuthEast;
  AddPoint(row, columns, p[0], -n, -e);
  AddPoint(row, columns, p[1], n, e);
  if (o.kind == ObservationKind::Reading) row.Add(columns.firstOrientation + o.set, -1);
  return row;
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

// The orientation of each set from the approximate positions: its first
// reading's, moved by the mean of how far the others disagree with it.
std::vector<double> ApproximateOrientations(const Network& net, const std::vector<Position>& at) {
  std::vector<double> first(static_cast<size_t>(net.sets), 0), spread(first.size(), 0);
  std::vector<int> count(first.size(), 0);
  for (const Observation& o : net.observations) {
    if (o.kind != ObservationKind::Reading) continue;
    const size_t set = static_cast<size_t>(o.set);
    double orientation = ComputedValue(o, at) - o.value;
    if (count[set]++ == 0) first[set] = orientation;
    else spread[set] += IntoHalfTurns(orientation - first[set]);
  }
  for (size_t k = 0; k < first.size(); ++k)
    if (count[k] > 0) first[k] = IntoOneTurn(first[k] + spread[k] / count[k]);
  return first;
}

// The points the observations name that `held` does not hold, in the order
// they are first named.
template <typename Observations, typename PointsOf>
std::vector<int> FirstNamed(const Observations& observations, const std::vector<char>& held, PointsOf pointsOf) {
  std::vector<int> points;
  std::vector<char> seen(held.size(), 0);
  for (const auto& o : observations)
    for (int p : pointsOf(o)) {
      if (held[p] || seen[p]) continue;
      seen[p] = 1;
      points.push_back(p);
    }
  return points;
}

bool WeighableVariance(double variance) {
  return variance >= kSmallestVariance && variance <= kLargestVariance;
}

// The residual of every observation, its redundancy and the weighted sum of
// squares, from the factor of the last normal equations.
template <typename Result>
void Residuals(const NormalEquations& normals, const std::vector<DesignRow>& rows,
               const std::vector<double>& variances, Result& result) {
  for (size_t k = 0; k < rows.size(); ++k) {
    AdjustedObservation& adjusted = result.observations[k];
    adjusted.sigma = std::sqrt(variances[k]);
    adjusted.redundancy = std::clamp(1 - normals.Explained(rows[k]) / variances[k], 0.0, 1.0);
    result.weightedSquares += adjusted.residual * adjusted.residual / variances[k];
  }
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
  return FirstNamed(net.observations, net.fixed,
                    [](const Observation& o) { return std::span<const int>(o.points.data(), PointCount(o)); });
}

AdjustmentResult AdjustNetwork(const Network& net, std::vector<Position>& at) {
  AdjustmentResult result;
  const std::vector<int> unknownPoints = UnknownPoints(net);
  Columns columns{std::vector<int>(net.fixed.size(), -1), static_cast<int>(2 * unknownPoints.size())};
  for (size_t k = 0; k < unknownPoints.size(); ++k) columns.ofPoint[unknownPoints[k]] = static_cast<int>(2 * k);
  const int unknowns = columns.firstOrientation + net.sets;
  result.unknowns = unknowns;
  auto refuse = [&](AdjustmentResult::Status status, int point) {
    result.status = status;
    result.failingPoint = point;
    return result;
  };

  // Iterate until the largest correction of a coordinate is below the
  // convergence limit; the last system, built at the adjusted positions,
  // gives the cofactors.
  std::vector<double> orientation = ApproximateOrientations(net, at);
  const size_t count = net.observations.size();
  std::vector<DesignRow> rows(count);
  std::vector<double> variances(count), weights(count), misclosures(count);
  NormalEquations normals(unknowns);
  bool converged = false;
  for (int iteration = 0;; ++iteration) {
    if (int point = CoincidentPoint(net, at)) return refuse(AdjustmentResult::Status::Singular, point);
    for (size_t k = 0; k < count; ++k) {
      const Observation& o = net.observations[k];
      variances[k] = Variance(o, at);
      if (!WeighableVariance(variances[k])) {
        result.failingObservation = static_cast<int>(k);
        return refuse(AdjustmentResult::Status::WeightOutOfRange, 0);
      }
      weights[k] = 1 / variances[k];
      rows[k] = Linearise(o, at, columns);
      misclosures[k] = Misclosure(o, at, o.set >= 0 ? orientation[static_cast<size_t>(o.set)] : 0);
    }
    int dependent = normals.Factorise(rows, weights, misclosures);
    if (dependent >= columns.firstOrientation) {
      result.failingSet = dependent - columns.firstOrientation;
      return refuse(AdjustmentResult::Status::Singular, 0);
    }
    if (dependent >= 0) return refuse(AdjustmentResult::Status::Singular, unknownPoints[dependent / 2]);
    if (converged) break;
    if (iteration == kMostIterations) return refuse(AdjustmentResult::Status::NotConverged, 0);
    Eigen::VectorXd correction = normals.Solve();
    if (!correction.allFinite()) return refuse(AdjustmentResult::Status::OutOfRange, 0);
    for (size_t k = 0; k < unknownPoints.size(); ++k) {
      at[unknownPoints[k]].north += correction(static_cast<Eigen::Index>(2 * k));
      at[unknownPoints[k]].east += correction(static_cast<Eigen::Index>(2 * k + 1));
    }
    for (int set = 0; set < net.sets; ++set) orientation[static_cast<size_t>(set)] += correction(columns.firstOrientation + set);
    result.iterations = iteration + 1;
    result.lastCorrection =
        columns.firstOrientation > 0 ? correction.head(columns.firstOrientation).cwiseAbs().maxCoeff() : 0;
    converged = result.lastCorrection < kConvergence;
  }

  // Cofactors of the unknowns, then the residuals and theirs: variance - a Q a'.
  normals.InvertOnPattern();
  for (size_t k = 0; k < unknownPoints.size(); ++k) {
    int c = static_cast<int>(2 * k);
    result.points.push_back(
        {unknownPoints[k], normals.Cofactor(c, c), normals.Cofactor(c + 1, c + 1), normals.Cofactor(c, c + 1)});
  }
  for (int set = 0; set < net.sets; ++set) {
    int c = columns.firstOrientation + set;
    result.orientations.push_back({IntoOneTurn(orientation[static_cast<size_t>(set)]), normals.Cofactor(c, c)});
  }
  result.observations.resize(count);
  for (size_t k = 0; k < count; ++k) {
    const Observation& o = net.observations[k];
    double setOrientation = o.set >= 0 ? orientation[static_cast<size_t>(o.set)] : 0;
    result.observations[k].adjusted = ComputedValue(o, at, setOrientation);
    result.observations[k].residual = -Misclosure(o, at, setOrientation);
  }
  Residuals(normals, rows, variances, result);
  return result;
}

std::vector<int> UnknownHeights(const Network& net) {
  return FirstNamed(net.heights, net.heightFixed,
                    [](const HeightDifference& h) { return std::array<int, 2>{h.from, h.to}; });
}

HeightResult AdjustHeights(const Network& net, std::vector<double>& elevation) {
  HeightResult result;
  const std::vector<int> unknownPoints = UnknownHeights(net);
  std::vector<int> columnOf(net.heightFixed.size(), -1);
  for (size_t k = 0; k < unknownPoints.size(); ++k) {
    columnOf[unknownPoints[k]] = static_cast<int>(k);
    elevation[unknownPoints[k]] = 0;
  }
  result.unknowns = static_cast<int>(unknownPoints.size());

  // The observation equations dh = H(to) - H(from), misclosures from the
  // held heights alone.
  const size_t count = net.heights.size();
  std::vector<DesignRow> rows(count);
  std::vector<double> variances(count), weights(count), misclosures(count);
  for (size_t k = 0; k < count; ++k) {
    const HeightDifference& h = net.heights[k];
    variances[k] = h.sigma * h.sigma;
    if (!WeighableVariance(variances[k])) {
      result.status = HeightResult::Status::WeightOutOfRange;
      result.failingObservation = static_cast<int>(k);
      return result;
    }
    weights[k] = 1 / variances[k];
    if (columnOf[h.from] >= 0) rows[k].Add(columnOf[h.from], -1);
    if (columnOf[h.to] >= 0) rows[k].Add(columnOf[h.to], 1);
    misclosures[k] = h.value - (elevation[h.to] - elevation[h.from]);
  }
  NormalEquations normals(result.unknowns);
  int dependent = normals.Factorise(rows, weights, misclosures);
  if (dependent >= 0) {
    result.status = HeightResult::Status::Singular;
    result.failingPoint = unknownPoints[static_cast<size_t>(dependent)];
    return result;
  }
  Eigen::VectorXd solution = normals.Solve();
  normals.InvertOnPattern();
  for (size_t k = 0; k < unknownPoints.size(); ++k) {
    elevation[unknownPoints[k]] = solution(static_cast<Eigen::Index>(k));
    result.points.push_back({unknownPoints[k], normals.Cofactor(static_cast<int>(k), static_cast<int>(k))});
  }
  result.observations.resize(count);
  for (size_t k = 0; k < count; ++k) {
    const HeightDifference& h = net.heights[k];
    result.observations[k].adjusted = elevation[h.to] - elevation[h.from];
    result.observations[k].residual = result.observations[k].adjusted - h.value;
  }
  Residuals(normals, rows, variances, result);
  return result;
}

}  // namespace vantrel
