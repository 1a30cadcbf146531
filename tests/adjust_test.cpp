// Least-squares adjustment checked against a second, plain computation made
// here: numerical derivatives, Gauss-Jordan inversion and an ellipse found by
// searching the direction of largest variance, so no formula of the program
// is repeated. Also the distributions against published tables, and the
// refusals of LSQ against the whole point store.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <numbers>
#include <string>
#include <vector>

#include "adjust/least_squares.h"
#include "adjust/placement.h"
#include "adjust/statistics.h"
#include "session_fixture.h"

namespace vantrel {
namespace {

constexpr double kFoot = 0.001;                                   // coordinates and ellipse axes
constexpr double kSecond = std::numbers::pi / 180 / 3600;         // one second of arc
constexpr double kResidualSecond = 0.01 * kSecond;                // angle residuals

double Seconds(double degrees, double minutes, double seconds) {
  return (degrees + minutes / 60 + seconds / 3600) * std::numbers::pi / 180;
}

// --- The plain computation ---------------------------------------------------

using Coordinates = std::map<int, std::array<double, 2>>;  // north, east

double PlainAzimuth(const Coordinates& c, int a, int b) {
  double t = std::atan2(c.at(b)[1] - c.at(a)[1], c.at(b)[0] - c.at(a)[0]);
  return t < 0 ? t + 2 * std::numbers::pi : t;
}

double Wrapped(double x) {
  while (x > std::numbers::pi) x -= 2 * std::numbers::pi;
  while (x <= -std::numbers::pi) x += 2 * std::numbers::pi;
  return x;
}

// Computed minus observed; a reading less the orientation of its set.
double PlainResidual(const Observation& o, const Coordinates& c, const std::vector<double>& orientation) {
  const auto& p = o.points;
  switch (o.kind) {
    case ObservationKind::Distance:
      return std::hypot(c.at(p[1])[0] - c.at(p[0])[0], c.at(p[1])[1] - c.at(p[0])[1]) - o.value;
    case ObservationKind::Direction:
      return Wrapped(PlainAzimuth(c, p[0], p[1]) - o.value);
    case ObservationKind::Angle:
      return Wrapped(PlainAzimuth(c, p[0], p[2]) - PlainAzimuth(c, p[0], p[1]) - o.value);
    case ObservationKind::Reading:
      return Wrapped(PlainAzimuth(c, p[0], p[1]) - orientation[static_cast<size_t>(o.set)] - o.value);
  }
  return 0;
}

// The a-priori variance with the centering errors at the current
// coordinates, as the adjustment texts give it: a distance takes both
// centerings; a direction both over its length squared; an angle the
// target's over each sight and the instrument's times the squared distance
// between the sighted points over both sights squared.
double PlainVariance(const Observation& o, const Coordinates& c) {
  auto squared = [&](int a, int b) {
    double dn = c.at(b)[0] - c.at(a)[0], de = c.at(b)[1] - c.at(a)[1];
    return dn * dn + de * de;
  };
  const double i2 = o.centering.instrument * o.centering.instrument, t2 = o.centering.target * o.centering.target;
  const auto& p = o.points;
  double v = o.sigma * o.sigma;
  if (o.held) return v;
  if (o.kind == ObservationKind::Distance) return v + i2 + t2;
  if (o.kind != ObservationKind::Angle) return v + (i2 + t2) / squared(p[0], p[1]);
  return v + t2 / squared(p[0], p[1]) + t2 / squared(p[0], p[2]) +
         i2 * squared(p[1], p[2]) / (squared(p[0], p[1]) * squared(p[0], p[2]));
}

using Table = std::vector<std::vector<double>>;

Table Inverse(Table m) {
  const size_t n = m.size();
  Table inverse(n, std::vector<double>(n, 0));
  for (size_t i = 0; i < n; ++i) inverse[i][i] = 1;
  for (size_t c = 0; c < n; ++c) {
    size_t pivot = c;
    for (size_t r = c + 1; r < n; ++r)
      if (std::fabs(m[r][c]) > std::fabs(m[pivot][c])) pivot = r;
    std::swap(m[c], m[pivot]);
    std::swap(inverse[c], inverse[pivot]);
    double d = m[c][c];
    for (size_t k = 0; k < n; ++k) m[c][k] /= d, inverse[c][k] /= d;
    for (size_t r = 0; r < n; ++r) {
      if (r == c) continue;
      double f = m[r][c];
      for (size_t k = 0; k < n; ++k) m[r][k] -= f * m[c][k], inverse[r][k] -= f * inverse[c][k];
    }
  }
  return inverse;
}

struct PlainSolution {
  Coordinates at;
  std::vector<double> orientation;
  std::vector<double> residual, redundancy;
  double referenceVariance = 0;
  Table cofactor;  // north and east of each unknown point in the order given, then the orientations
};

// Least squares from the definition: the unknowns are the coordinates of
// the points given and one orientation for each set (started from the first
// reading of the set); a column of the Jacobian by central differences.
PlainSolution PlainAdjust(const std::vector<Observation>& observations, Coordinates at, const std::vector<int>& unknowns,
                          int sets = 0) {
  const size_t m = observations.size(), points = 2 * unknowns.size(), u = points + static_cast<size_t>(sets);
  std::vector<double> orientation(static_cast<size_t>(sets), 0);
  for (int set = sets - 1; set >= 0; --set)
    for (const Observation& o : observations)
      if (o.set == set) {
        orientation[static_cast<size_t>(set)] = PlainAzimuth(at, o.points[0], o.points[1]) - o.value;
        break;
      }
  auto shifted = [&](size_t j, double step, Coordinates& c, std::vector<double>& w) {
    if (j < points) c[unknowns[j / 2]][j % 2] += step;
    else w[j - points] += step;
  };
  Table normal, jacobian;
  std::vector<double> variance(m);
  for (int iteration = 0; iteration < 20; ++iteration) {
    jacobian.assign(m, std::vector<double>(u));
    for (size_t j = 0; j < u; ++j) {
      const double h = j < points ? 1e-3 : 1e-7;  // feet, radians
      Coordinates plus = at, minus = at;
      std::vector<double> wPlus = orientation, wMinus = orientation;
      shifted(j, h, plus, wPlus);
      shifted(j, -h, minus, wMinus);
      for (size_t i = 0; i < m; ++i)
        jacobian[i][j] = Wrapped(PlainResidual(observations[i], plus, wPlus) -
                                 PlainResidual(observations[i], minus, wMinus)) / (2 * h);
    }
    normal.assign(u, std::vector<double>(u, 0));
    std::vector<double> right(u, 0);
    for (size_t i = 0; i < m; ++i) {
      variance[i] = PlainVariance(observations[i], at);
      double f = PlainResidual(observations[i], at, orientation);
      for (size_t a = 0; a < u; ++a) {
        right[a] -= jacobian[i][a] * f / variance[i];
        for (size_t b = 0; b < u; ++b) normal[a][b] += jacobian[i][a] * jacobian[i][b] / variance[i];
      }
    }
    Table inverse = Inverse(normal);
    for (size_t a = 0; a < u; ++a) {
      double step = 0;
      for (size_t b = 0; b < u; ++b) step += inverse[a][b] * right[b];
      shifted(a, step, at, orientation);
    }
  }
  PlainSolution solution{at, orientation, {}, {}, 0, Inverse(normal)};
  for (size_t i = 0; i < m; ++i) {
    double v = PlainResidual(observations[i], at, orientation), explained = 0;
    for (size_t a = 0; a < u; ++a)
      for (size_t b = 0; b < u; ++b) explained += jacobian[i][a] * solution.cofactor[a][b] * jacobian[i][b];
    solution.residual.push_back(v);
    solution.redundancy.push_back(1 - explained / variance[i]);
    solution.referenceVariance += v * v / variance[i];
  }
  solution.referenceVariance /= static_cast<double>(m - u);
  return solution;
}

// The ellipse by search: the azimuth whose variance is largest, refined by
// ternary search around the best of a 0.01-degree scan.
ErrorEllipse PlainEllipse(double qn, double qe, double qne) {
  auto variance = [&](double phi) {
    double s = std::sin(phi), c = std::cos(phi);
    return qe * s * s + qn * c * c + 2 * qne * s * c;
  };
  const double step = std::numbers::pi / 18000;
  double best = 0;
  for (double phi = 0; phi < std::numbers::pi; phi += step)
    if (variance(phi) > variance(best)) best = phi;
  double low = best - step, high = best + step;
  for (int i = 0; i < 200; ++i) {
    double a = low + (high - low) / 3, b = high - (high - low) / 3;
    (variance(a) < variance(b) ? low : high) = variance(a) < variance(b) ? a : b;
  }
  double phi = (low + high) / 2;
  if (phi < 0) phi += std::numbers::pi;
  if (phi >= std::numbers::pi) phi -= std::numbers::pi;
  return {std::sqrt(variance(phi)), std::sqrt(variance(phi + std::numbers::pi / 2)), phi};
}

// --- The program's adjustment of the same network ---------------------------

struct Case {
  std::vector<Observation> observations;
  std::vector<int> fixed;
  Coordinates known;  // fixed points, and approximate positions of some others
  int sets = 0;
};

Observation Distance(int a, int b, double d, double sigma = 0.02) { return {ObservationKind::Distance, {a, b, 0}, d, sigma}; }
Observation Angle(int at, int back, int fore, double angle) {
  return {ObservationKind::Angle, {at, back, fore}, angle, 5 * kSecond};
}
Observation Direction(int a, int b, double azimuth) { return {ObservationKind::Direction, {a, b, 0}, azimuth, 5 * kSecond}; }
Observation Reading(int set, int at, int to, double reading) {
  Observation o{ObservationKind::Reading, {at, to, 0}, reading, 3.5 * kSecond};
  o.set = set;
  return o;
}

// Observations of a network from true coordinates: each value spoilt by a
// fixed small error, readings turned by their set's orientation.
struct Truth {
  Coordinates at;
  std::vector<double> orientation;
  int next = 0;
  double Error(double size) { return size * std::sin(12.9898 * ++next); }  // a fixed sequence in -size..size
  Observation Distance(int a, int b) {
    return vantrel::Distance(a, b, std::hypot(at[b][0] - at[a][0], at[b][1] - at[a][1]) + Error(0.01), 0.01);
  }
  Observation Reading(int set, int a, int b) {
    return vantrel::Reading(set, a, b,
                            Wrapped(PlainAzimuth(at, a, b) - orientation[static_cast<size_t>(set)]) + Error(2 * kSecond));
  }
  Observation Angle(int a, int b, int c) {
    return vantrel::Angle(a, b, c, Wrapped(PlainAzimuth(at, a, c) - PlainAzimuth(at, a, b)) + Error(3 * kSecond));
  }
};

void CompareWithPlain(const Case& c) {
  Network network{c.observations, std::vector<char>(1001, 0), c.sets};
  std::vector<Position> at(1001);
  std::vector<char> placed(1001, 0);
  for (int p : c.fixed) network.fixed[p] = 1;
  for (const auto& [p, ne] : c.known) {
    at[p] = {ne[0], ne[1]};
    placed[p] = 1;
  }
  std::vector<int> unknowns = UnknownPoints(network);
  ASSERT_EQ(PlacePoints(network, unknowns, at, placed), 0);
  Coordinates start;
  for (int p = 1; p <= 1000; ++p)
    if (placed[p]) start[p] = {at[p].north, at[p].east};
  AdjustmentResult result = AdjustNetwork(network, at);
  ASSERT_EQ(result.status, AdjustmentResult::Status::Adjusted);

  PlainSolution plain = PlainAdjust(c.observations, start, unknowns, c.sets);
  for (int p : unknowns) {
    EXPECT_NEAR(at[p].north, plain.at[p][0], kFoot) << "point " << p;
    EXPECT_NEAR(at[p].east, plain.at[p][1], kFoot) << "point " << p;
  }
  for (size_t k = 0; k < plain.orientation.size(); ++k)
    EXPECT_NEAR(Wrapped(result.orientations[k].value - plain.orientation[k]), 0, 0.1 * kSecond) << "set " << k;
  int dof = static_cast<int>(c.observations.size()) - result.unknowns;
  EXPECT_NEAR(std::sqrt(result.weightedSquares / dof), std::sqrt(plain.referenceVariance), 0.001);
  for (size_t i = 0; i < c.observations.size(); ++i) {
    EXPECT_NEAR(result.observations[i].residual, plain.residual[i],
                c.observations[i].kind == ObservationKind::Distance ? kFoot : kResidualSecond)
        << "observation " << i;
    EXPECT_NEAR(result.observations[i].redundancy, plain.redundancy[i], 1e-4) << "observation " << i;
  }

  // Every cofactor the report uses, from the elements of the inverse the
  // program computes on its factor's pattern, against the whole inverse.
  const size_t points = 2 * unknowns.size();
  for (size_t k = 0; k < unknowns.size(); ++k) {
    const AdjustedPoint& q = result.points[k];
    double scale = std::max(plain.cofactor[2 * k][2 * k], plain.cofactor[2 * k + 1][2 * k + 1]);
    EXPECT_NEAR(q.qNorth, plain.cofactor[2 * k][2 * k], 1e-4 * scale) << "point " << q.point;
    EXPECT_NEAR(q.qEast, plain.cofactor[2 * k + 1][2 * k + 1], 1e-4 * scale) << "point " << q.point;
    EXPECT_NEAR(q.qNorthEast, plain.cofactor[2 * k][2 * k + 1], 1e-4 * scale) << "point " << q.point;
  }
  for (size_t k = 0; k < plain.orientation.size(); ++k)
    EXPECT_NEAR(result.orientations[k].cofactor, plain.cofactor[points + k][points + k],
                1e-4 * plain.cofactor[points + k][points + k]);

  // The ellipse of the first unknown point at sigma0 (scale 1 for the axes
  // in cofactor units, so the comparison holds at any sigma0).
  const double sigma0 = std::sqrt(plain.referenceVariance);
  ErrorEllipse program = EllipseOf(result.points[0], sigma0);
  ErrorEllipse expected = PlainEllipse(plain.cofactor[0][0], plain.cofactor[1][1], plain.cofactor[0][1]);
  EXPECT_NEAR(program.semiMajor, sigma0 * expected.semiMajor, kFoot);
  EXPECT_NEAR(program.semiMinor, sigma0 * expected.semiMinor, kFoot);
  EXPECT_NEAR(program.azimuth, expected.azimuth, kResidualSecond);
}

// Two fixed points 1000 ft apart, two new points on either side of the line
// between them reached by distances and angles, one with a far direction.
TEST(LeastSquares, TrilaterationAndAngleNetworkAgreesWithPlainComputation) {
  Case c;
  c.fixed = {1, 2};
  c.known = {{1, {1000, 1000}}, {2, {1000, 2000}}};
  c.observations = {Distance(1, 3, 707.12),  Distance(2, 3, 707.09),  Distance(1, 4, 707.10),
                    Distance(2, 4, 707.11),  Distance(3, 4, 1000.03), Angle(1, 2, 3, Seconds(45, 0, 3)),
                    Angle(2, 3, 1, Seconds(45, 0, 1)), Angle(1, 4, 2, Seconds(45, 0, 2)),
                    Angle(2, 1, 4, Seconds(44, 59, 58)), Direction(3, 4, Seconds(0, 0, 4))};
  CompareWithPlain(c);
}

// A closed traverse from 1 to 2 by directions and distances, the last
// course ending on 2; approximate positions all placed by the program.
TEST(LeastSquares, ClosedTraverseAgreesWithPlainComputation) {
  Case c;
  c.fixed = {1, 2};
  c.known = {{1, {5000, 5000}}, {2, {5252.25, 5533.9}}};
  c.observations = {Direction(1, 10, Seconds(30, 0, 0)),   Distance(1, 10, 200),
                    Direction(10, 11, Seconds(100, 0, 0)), Distance(10, 11, 250),
                    Direction(11, 12, Seconds(15, 0, 0)),  Distance(11, 12, 180),
                    Direction(12, 2, Seconds(110, 0, 0)),  Distance(12, 2, 150)};
  CompareWithPlain(c);
}

// Direction sets at every station, two of them at point 1, distances and
// one angle, all with centering errors: two fixed points, three new ones
// placed by the program from the set orientations its fixed sights give.
TEST(LeastSquares, DirectionSetsWithCenteringAgreeWithPlainComputation) {
  Truth truth;
  truth.at = {{1, {1000, 1000}}, {2, {1000, 2000}}, {10, {1600, 1300}}, {11, {1700, 1900}}, {12, {500, 1450}}};
  truth.orientation = {0.3, 1.1, 2.5, 4.0, 5.9, 3.3};
  Case c;
  c.fixed = {1, 2};
  c.known = {{1, truth.at[1]}, {2, truth.at[2]}};
  c.sets = 6;
  c.observations = {truth.Reading(0, 1, 2),   truth.Reading(0, 1, 10),  truth.Reading(0, 1, 12),
                    truth.Distance(1, 10),    truth.Reading(1, 2, 1),   truth.Reading(1, 2, 11),
                    truth.Reading(1, 2, 12),  truth.Distance(2, 11),    truth.Reading(2, 10, 1),
                    truth.Reading(2, 10, 11), truth.Reading(2, 10, 2),  truth.Distance(10, 11),
                    truth.Reading(3, 12, 1),  truth.Reading(3, 12, 2),  truth.Reading(3, 12, 10),
                    truth.Distance(1, 12),    truth.Distance(2, 12),    truth.Angle(11, 10, 2),
                    truth.Reading(4, 11, 10), truth.Reading(4, 11, 2),  truth.Reading(5, 1, 12),
                    truth.Reading(5, 1, 2)};
  for (Observation& o : c.observations) o.centering = {0.005, 0.003};
  CompareWithPlain(c);
}

// A free station seeing four fixed points by one set and nothing else is
// placed by resection; a second station is then placed from it by a
// reading of the same set and a distance.
TEST(LeastSquares, FreeStationPlacedByResection) {
  Truth truth;
  truth.at = {{1, {1000, 1000}}, {2, {1200, 2100}}, {3, {2300, 1700}}, {4, {2000, 800}},
              {20, {1500, 1400}}, {21, {1800, 1500}}};
  truth.orientation = {2.2, 0.7};
  Case c;
  c.fixed = {1, 2, 3, 4};
  for (int p : c.fixed) c.known[p] = truth.at[p];
  c.sets = 2;
  c.observations = {truth.Reading(0, 20, 1), truth.Reading(0, 20, 2),  truth.Reading(0, 20, 3),
                    truth.Reading(0, 20, 4), truth.Reading(0, 20, 21), truth.Distance(20, 21),
                    truth.Reading(1, 21, 3), truth.Reading(1, 21, 20), truth.Reading(1, 21, 4)};
  CompareWithPlain(c);
}

// A levelling loop from a held bench mark, with a spur, each difference
// with its own standard error: the heights against the plain solution of
// the same linear problem.
TEST(LeastSquares, LevellingLoopAgreesWithPlainComputation) {
  Network network;
  network.heightFixed.assign(1001, 0);
  network.heightFixed[1] = 1;
  network.heights = {{1, 10, 5.123, 0.004}, {10, 11, -2.456, 0.005}, {11, 12, 1.001, 0.004},
                     {12, 1, -3.660, 0.006}, {10, 13, 0.511, 0.01},  {13, 12, -2.95, 0.01}};
  std::vector<double> elevation(1001, 0);
  elevation[1] = 100;
  HeightResult result = AdjustHeights(network, elevation);
  ASSERT_EQ(result.status, HeightResult::Status::Adjusted);

  // The plain solution: unknowns 10, 11, 12, 13; A x = l - A0 with weights.
  const std::vector<int> order = {10, 11, 12, 13};
  auto column = [&](int p) { return static_cast<size_t>(std::find(order.begin(), order.end(), p) - order.begin()); };
  Table normal(4, std::vector<double>(4, 0));
  std::vector<double> right(4, 0);
  for (const HeightDifference& h : network.heights) {
    double w = 1 / (h.sigma * h.sigma), l = h.value + (h.from == 1 ? 100 : 0) - (h.to == 1 ? 100 : 0);
    std::vector<std::pair<size_t, double>> row;
    if (h.from != 1) row.emplace_back(column(h.from), -1);
    if (h.to != 1) row.emplace_back(column(h.to), 1);
    for (auto [i, a] : row) {
      right[i] += a * w * l;
      for (auto [j, b] : row) normal[i][j] += a * w * b;
    }
  }
  Table inverse = Inverse(normal);
  std::map<int, double> height{{1, 100}};
  for (size_t i = 0; i < 4; ++i) {
    height[order[i]] = 0;
    for (size_t j = 0; j < 4; ++j) height[order[i]] += inverse[i][j] * right[j];
  }
  double squares = 0;
  for (size_t k = 0; k < network.heights.size(); ++k) {
    const HeightDifference& h = network.heights[k];
    double v = height[h.to] - height[h.from] - h.value;
    squares += v * v / (h.sigma * h.sigma);
    EXPECT_NEAR(result.observations[k].residual, v, 1e-6) << k;
  }
  EXPECT_NEAR(result.weightedSquares, squares, 1e-6);
  for (const AdjustedHeight& h : result.points) {
    EXPECT_NEAR(elevation[h.point], height[h.point], kFoot) << h.point;
    EXPECT_NEAR(h.cofactor, inverse[column(h.point)][column(h.point)], 1e-9) << h.point;
  }
}

// A grid of 50 by 50 points 100 ft apart, measured as a field crew would:
// a direction set at every point to its neighbours and a distance to each
// of them, a corner, its neighbour and the far corner fixed. Built here and adjusted through the solver's
// own interface: every point comes back within a few hundredths of a foot
// of the truth, with standard errors that grow away from the fixed corners,
// and the redundancy numbers of the observations add up to the degrees of
// freedom (which checks the cofactors of every observation at once).
TEST(LeastSquares, LargeGridOfDirectionSetsAdjusts) {
  constexpr int kSide = 50;
  auto number = [](int row, int column) { return row * kSide + column + 1; };
  Truth truth;
  Network network;
  network.fixed.assign(kSide * kSide + 1, 0);
  std::vector<Position> at(kSide * kSide + 1);
  for (int row = 0; row < kSide; ++row)
    for (int column = 0; column < kSide; ++column) truth.at[number(row, column)] = {100.0 * row, 100.0 * column};
  for (int row = 0; row < kSide; ++row)
    for (int column = 0; column < kSide; ++column) {
      const int p = number(row, column);
      truth.orientation.push_back(0.001 * p);
      const int set = network.sets++;
      const int neighbours[4][2] = {{row - 1, column}, {row, column - 1}, {row, column + 1}, {row + 1, column}};
      for (const auto& [r, c] : neighbours)
        if (r >= 0 && r < kSide && c >= 0 && c < kSide) {
          network.observations.push_back(truth.Reading(set, p, number(r, c)));
          if (r > row || c > column) network.observations.push_back(truth.Distance(p, number(r, c)));
        }
    }
  std::vector<char> placed(at.size(), 0);
  for (int p : {number(0, 0), number(0, 1), number(kSide - 1, kSide - 1)}) {
    network.fixed[p] = placed[p] = 1;
    at[p] = {truth.at[p][0], truth.at[p][1]};
  }
  ASSERT_EQ(PlacePoints(network, UnknownPoints(network), at, placed), 0);
  AdjustmentResult result = AdjustNetwork(network, at);
  ASSERT_EQ(result.status, AdjustmentResult::Status::Adjusted);
  EXPECT_EQ(result.unknowns, 2 * (kSide * kSide - 3) + kSide * kSide);
  double corner = 0, middle = 0;
  for (const AdjustedPoint& p : result.points) {
    EXPECT_NEAR(at[p.point].north, truth.at[p.point][0], 0.05) << p.point;
    EXPECT_NEAR(at[p.point].east, truth.at[p.point][1], 0.05) << p.point;
    EXPECT_GT(p.qNorth, 0);
    if (p.point == number(1, 0)) corner = p.qNorth + p.qEast;
    if (p.point == number(kSide / 2, kSide / 2)) middle = p.qNorth + p.qEast;
  }
  EXPECT_GT(middle, corner);
  // The redundancy numbers add up to the degrees of freedom.
  double redundancy = 0;
  for (const AdjustedObservation& o : result.observations) redundancy += o.redundancy;
  EXPECT_NEAR(redundancy, static_cast<double>(network.observations.size()) - result.unknowns, 1e-6);
}

// --- Distributions -----------------------------------------------------------

// Chi-square quantiles as printed in statistical tables (3 decimals or 3
// significant digits).
TEST(LeastSquares, ChiSquareQuantilesMatchPublishedTables) {
  struct {
    double p;
    int dof;
    double value, tolerance;
  } const table[] = {
      {0.95, 1, 3.841, 5e-4},    {0.05, 1, 0.00393, 5e-6},  {0.95, 2, 5.991, 5e-4},   {0.975, 5, 12.833, 5e-4},
      {0.025, 5, 0.831, 5e-4},   {0.975, 10, 20.483, 5e-4}, {0.025, 10, 3.247, 5e-4}, {0.99, 30, 50.892, 5e-4},
      {0.01, 30, 14.953, 5e-4},  {0.975, 100, 129.561, 5e-4}, {0.025, 100, 74.222, 5e-4},
  };
  for (const auto& row : table)
    EXPECT_NEAR(ChiSquareQuantile(row.p, row.dof), row.value, row.tolerance) << row.p << ", " << row.dof;
}

// The ellipse factor sqrt(2 F(2, dof)) with F from published F tables at 5%,
// and sqrt(chi-square(2)) without degrees of freedom.
TEST(LeastSquares, EllipseFactorsMatchPublishedTables) {
  struct {
    int dof;
    double f;
  } const table[] = {{5, 5.786}, {10, 4.103}, {20, 3.493}, {120, 3.072}};
  for (const auto& row : table) EXPECT_NEAR(EllipseFactor(0.95, row.dof), std::sqrt(2 * row.f), 5e-4) << row.dof;
  EXPECT_NEAR(EllipseFactor(0.95, 0), std::sqrt(5.991), 5e-4);
  EXPECT_NEAR(EllipseFactor(0.39346934, 0), 1, 1e-6);  // the standard ellipse holds 1 - e^(-1/2)
}

// --- LSQ in the session ----------------------------------------------------------

bool Holds(const std::vector<std::string>& transcript, const std::string& text) {
  for (const std::string& line : transcript)
    if (line.find(text) != std::string::npos) return true;
  return false;
}

class LsqTest : public SessionTest {
 protected:
  // Runs a pane and checks that no point changed.
  void ExpectStoreKept(const std::string& pane, const std::string& message) {
    PointStore before = session.points;
    std::vector<std::string> transcript = Run(pane);
    ASSERT_FALSE(transcript.empty()) << pane;
    EXPECT_TRUE(Holds(transcript, message)) << pane << "\nlast: " << transcript.back();
    EXPECT_TRUE(session.points == before) << pane;
  }
};

// The traverse TAB stores unadjusted, then LSQ T adjusts its courses; the
// stations agree with the plain computation of the same courses, and the
// last station is stored on the closing point.
TEST_F(LsqTest, TraverseTakenFromTab) {
  user.answers = {false};  // OK to Adjust? No: the stations as computed
  Run("KWN\n1,5000,5000,2,5252.25,5533.9\nTAB\nC,1,2\n"
      "10,N 30 E,200,11,S 80 E,250,12,15,180,13,110,150\n");
  std::vector<std::string> report = Run("LSQ\n5,0.02,0\nT\n");
  ASSERT_EQ(report.back(), "Warning: OK to store adjusted coordinates? -> Yes");

  const double sigma = 5 * kSecond;
  std::vector<Observation> courses = {
      Direction(1, 10, Seconds(30, 0, 0)),   Distance(1, 10, 200, 0.02), Direction(10, 11, Seconds(100, 0, 0)),
      Distance(10, 11, 250, 0.02),           Direction(11, 12, Seconds(15, 0, 0)), Distance(11, 12, 180, 0.02),
      Direction(12, 2, Seconds(110, 0, 0)), Distance(12, 2, 150, 0.02)};
  for (Observation& o : courses)
    if (o.kind != ObservationKind::Distance) o.sigma = sigma;
  PlainSolution plain = PlainAdjust(courses, {{1, {5000, 5000}}, {2, {5252.25, 5533.9}}, {10, {5173, 5100}},
                                              {11, {5130, 5346}}, {12, {5303, 5393}}},
                                    {10, 11, 12});
  for (int p : {10, 11, 12}) {
    EXPECT_NEAR(session.points.North(p), plain.at[p][0], kFoot) << p;
    EXPECT_NEAR(session.points.East(p), plain.at[p][1], kFoot) << p;
  }
  EXPECT_EQ(session.points.North(13), 5252.25);
  EXPECT_EQ(session.points.East(13), 5533.9);
}

// One distance 1 ft long in a braced quadrilateral: least squares spreads
// it over its neighbours, but it is marked and its standardized residual
// (the column after the residual) stands far above every other.
TEST_F(LsqTest, BlunderedDistanceIsFlagged) {
  std::vector<std::string> report =
      Run("KWN\n1,1000,1000,2,1000,2000\nLSQ\n5,0.02,5\nF,1,2,\n"
          "D,1,3,707.11,D,2,3,707.10,D,1,4,707.11,D,2,4,707.10,D,3,4,1001.00,\n"
          "A,1,2,3,45 00 03,A,2,3,1,45 00 01,A,1,4,2,45 00 02,A,2,1,4,44 59 58,\n"
          "A,3,1,4,45 00 02,A,4,2,3,44 59 57,D,1,2,1000.01\n");
  std::string worst;
  double largest = 0, next = 0;
  for (const std::string& line : report) {
    if (line.rfind("Dist ", 0) != 0 && line.rfind("Angle ", 0) != 0) continue;
    double standardized = std::stod(line.substr(60, 10));
    if (standardized > largest) next = largest, largest = standardized, worst = line;
    else next = std::max(next, standardized);
  }
  EXPECT_EQ(worst.rfind("Dist   3-4", 0), 0u) << worst;
  EXPECT_EQ(worst.substr(worst.size() - 2), " *");
  EXPECT_GT(largest, 2 * next);
}

// Networks LSQ refuses, with the reason, before anything is stored; point 3
// holds approximate coordinates throughout, and stays as it was.
TEST_F(LsqTest, RefusedNetworksLeaveTheStoreAsItWas) {
  Run("KWN\n1,1000,1000,2,1000,2000,3,500,1500,5,1,1\n");
  session.points.SetElevation(1, 100);
  struct {
    const char* pane;
    const char* message;
  } const cases[] = {
      {"LSQ\n5,0.02,5\nD,1,3,707,D,2,3,707\n", "needs two fixed points, or one fixed point and a direction (Z)"},
      {"LSQ\n5,0.02,5\nF,1,Z,1,3,225,D,1,3,707\n", "OK to store adjusted coordinates? -> No"},
      {"LSQ\n5,0.02,5\nF,1,2,D,1,3,707,D,2,4,707\n", "2 observations for 4 unknowns"},
      {"LSQ\n5,0.02,5\nF,1,2,D,1,3,707,D,2,3,707,D,3,4,500,D,1,4,900\n",
       "Point 4 cannot be placed from the observations"},
      {"LSQ\n5,0.02,5\nF,1,2,D,1,3,707,D,2,3,707,A,1,2,3,45,D,1,5,500,Z,1,2,90\n", "does not fix point 5"},
      // Two angles 45 degrees off: the corrections shrink too slowly.
      {"LSQ\n5,0.02,5\nF,1,2,D,1,3,707.11,D,2,3,707.10,D,1,4,707.11,D,2,4,707.10,D,3,4,1000,\n"
       "A,1,2,3,45 00 03,A,2,3,1,45 00 01,A,1,4,2,45 00 02,A,2,1,4,44 59 58,A,3,1,4,90,A,4,2,3,90\n",
       "did not converge in 10 iterations"},
      {"LSQ\n5,0.02,5\nF,1,2\n", "The network has no observations"},
      {"LSQ\n5,0.02\nF,1,2,D,1,3,707,D,2,3,707\n", "The first line after LSQ holds the standard errors"},
      {"LSQ\n0,0.02,5\nF,1,2,D,1,3,707,D,2,3,707\n", "must be more than 0"},
      {"LSQ\n5,0,0\nF,1,2,D,1,3,707,D,2,3,707\n", "must be more than 0"},
      {"LSQ\n5,0.02,5,100\nF,1,2,D,1,3,707,D,2,3,707\n", "confidence must be at least 50"},
      {"LSQ\n5,0.02,5\nF,1,4,D,1,3,707\n", "Fixed point 4 is not defined"},
      {"LSQ\n5,0.02,5\nF,1,2,X,1,3,707\n", "\"X\" starts no observation"},
      {"LSQ\n5,0.02,5\nF,1,2,D,1,3\n", "D needs the from point, to point and distance"},
      {"LSQ\n5,0.02,5\nF,1,2,A,1,2,1,45\n", "An angle names point 1 twice"},
      {"LSQ\n5,0.02,5\nF,1,2,D,1,1001,707\n", "1001 is invalid point number"},
      {"LSQ\n5,0.02,5\nF,1,2,D,1,3,-7\n", "it must be more than 0"},
      {"LSQ\n5,0.02,5\nF,1,2,\nT,\nD,1,3,707,D,2,3,707\n", "T takes a traverse read to its end"},
      {"LSQ\n5,0.02,5\nF\n", "F needs one or more point numbers"},
      // Standard errors whose weights would overflow or vanish.
      {"LSQ\n1E-300,0.02,5\nF,1,2,D,1,3,707,D,2,3,707\n", "The angle error is out of range for weights"},
      {"LSQ\n5,1E-200,0\nF,1,2,D,1,3,707,D,2,3,707\n", "The distance errors are out of range for weights"},
      {"LSQ\n5,0.02,5,95,-0.01\nF,1,2,D,1,3,707,D,2,3,707\n", "The centering errors must be 0 or from"},
      {"LSQ\n5,0.02,5,95,0.005,1E300\nF,1,2,D,1,3,707,D,2,3,707\n", "The centering errors must be 0 or from"},
      {"LSQ\n5,0.02,5\nF,1,2,E,1E-300,0.01,5,D,1,3,707\n", "The angle error is out of range for weights"},
      {"LSQ\n5,0,0.000001\nF,1,2,D,1,3,0.000001,D,2,3,707\n",
       "The weights are out of range: the standard error of Dist 1-3 is too small or too large to weigh"},
      {"LSQ\n5,0.02,5\nF,1,2,H,1,3,1.5,1E-300\n", "Height difference 1-3: its standard error must be from"},
      // The new groups' refusals.
      {"LSQ\n5,0.02,5\nF,1,2,R,1,3\n", "R needs the station, the point sighted and the reading"},
      {"LSQ\n5,0.02,5\nF,1,2,R,1,1,45\n", "A reading names point 1 twice"},
      // An angle field that gives no angle refuses its group: no zero is adjusted.
      {"LSQ\n5,0.02,5\nF,1,2,R,1,3,N 95 E,D,1,3,707,D,2,3,707\n", "N 95 E Invalid angle"},
      {"LSQ\n5,0.02,5\nF,1,2,A,1,2,3,N 45,D,1,3,707,D,2,3,707\n", "The network was not adjusted"},
      {"LSQ\n5,0.02,5\nF,1,2,H,1,3\n", "H needs the from point, to point and height difference"},
      {"LSQ\n5,0.02,5\nF,1,2,H,1,3,up\n", "Height difference 1-3: it must be a number of feet"},
      {"LSQ\n5,0.02,5\nF,1,2,E,5,0.01,D,1,3,707\n", "E needs the angle error (seconds)"},
      {"LSQ\n5,0.02,5\nF,1,2,E,5,0,0,D,1,3,707\n", "must be more than 0"},
      {"LSQ\n5,0.02,5\nFH,2\n", "Fixed height point 2 has no elevation"},
      {"LSQ\n5,0.02,5\nFH,4\n", "Fixed point 4 is not defined"},
      {"LSQ\n5,0.02,5\nF,2,H,2,3,1.5\n", "The heights need a fixed height"},
      {"LSQ\n5,0.02,5\nF,1,H,1,4,1.5\n", "Point 4 of a height difference has no coordinates"},
      {"LSQ\n5,0.02,5\nF,1,H,1,3,1.5,H,2,5,0.5\n", "2 height differences for 3 unknown heights"},
      {"LSQ\n5,0.02,5\nF,1,H,1,3,1.5,H,2,5,0.5,H,5,2,-0.5\n", "The heights do not fix point"},
      {"LSQ\n5,0.02,5\nF,1,H,1,3,1.5,H,3,1,-1.49\n", "OK to store adjusted elevations? -> No"},
  };
  for (const auto& c : cases) {
    user.answers = {false};  // the one network adjusted is not stored
    ExpectStoreKept(c.pane, c.message);
  }
  // A refused line spoils its network, said once at its end; a line after a
  // finished network is refused.
  std::vector<std::string> transcript = Run("LSQ\n5,0.02,5\nQ,1,\nF,1,2,D,1,3,707,D,2,3,707\nD,1,3,707\n");
  ASSERT_EQ(transcript.size(), 3u);
  EXPECT_EQ(transcript[1], "Info Only: The network was not adjusted: a line of it was refused");
  EXPECT_EQ(transcript[2], "Info Only: Network finished: type LSQ on a line of its own to start a new one");
}

// A levelling loop from the elevation of a fixed point, stored on Yes; the
// horizontal network beside it moves the points it adjusts.
TEST_F(LsqTest, HeightsAreStoredAsElevations) {
  Run("KWN\n1,1000,1000,2,1000,2000,3,500,1500\n");
  session.points.SetElevation(1, 100);
  session.points.SetDescription(3, "IRON PIN");
  std::vector<std::string> report =
      Run("LSQ\n5,0.02,5\nF,1,2,D,1,3,707.12,D,2,3,707.09,A,1,2,3,45 00 03,\n"
          "H,1,2,4.25,0.005,H,2,3,-1.12,H,3,1,-3.14\n");
  ASSERT_EQ(report.back(), "Warning: OK to store adjusted coordinates and elevations? -> Yes");
  // The loop misses by -0.01 ft, spread by weight: 0.005 ft against 0.01 ft.
  const double w1 = 1 / 0.000025, w = 1 / 0.0001, share = -0.01 / (1 / w1 + 2 / w);
  EXPECT_NEAR(*session.points[2].elevation, 100 + 4.25 - share / w1, 1e-9);
  EXPECT_NEAR(*session.points[3].elevation, 100 + 4.25 - 1.12 - share / w1 - share / w, 1e-9);
  EXPECT_EQ(*session.points[1].elevation, 100);
  EXPECT_NE(session.points.North(3), 500);
  EXPECT_EQ(session.points[3].description, "IRON PIN");
}

// With B on the first line the mark is Baarda's 3.29 and the summary names
// the largest standardized residual; a confidence typed to the last digit
// is reported as typed, never rounded up to 100.
TEST_F(LsqTest, DataSnoopingNamesTheLargestStandardizedResidual) {
  Run("KWN\n1,1000,1000,2,1000,2000\n");
  const std::string network =
      "F,1,2,\nD,1,3,707.11,D,2,3,707.10,D,1,4,707.11,D,2,4,707.10,D,3,4,1001.00,\n"
      "A,1,2,3,45 00 03,A,2,3,1,45 00 01,A,1,4,2,45 00 02,A,2,1,4,44 59 58,\n"
      "A,3,1,4,45 00 02,A,4,2,3,44 59 57,D,1,2,1000.01\n";
  user.answers = {false};
  std::vector<std::string> report = Run("LSQ\n5,0.02,5,b\n" + network);
  EXPECT_TRUE(Holds(report, "* standardized residual above 3.29, data snooping"));
  bool named = false;
  for (const std::string& line : report)
    named = named || (line.rfind("Largest Standardized Residual = ", 0) == 0 &&
                      line.find(" (Dist 3-4): above 3.29, likely a blunder") != std::string::npos);
  EXPECT_TRUE(named);
  user.answers = {false};
  report = Run("LSQ\n5,0.02,5,99.99999999999999\n" + network);
  EXPECT_TRUE(Holds(report, "Chi-Square Test at 99.99999999999999%:"));
  EXPECT_FALSE(Holds(report, "Largest Standardized Residual"));
}

// More observations than a network holds (ten a point of the store, the
// height differences counted with the others): refused at the first beyond.
TEST_F(LsqTest, ObservationLimit) {
  Run("KWN\n1,1000,1000,2,1000,2000\n");
  std::string pane = "LSQ\n5,0.02,5\nF,1,2,\n";
  for (int k = 0; k < 2000; ++k) pane += "D,1,3,707,D,2,3,707,D,1,3,707,D,2,3,707,H,1,2,0.5,\n";
  pane += "D,1,3,707\n";
  ExpectStoreKept(pane, "A network holds at most 10000 observations");
}

}  // namespace
}  // namespace vantrel
