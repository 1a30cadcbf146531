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

// Computed minus observed.
double PlainResidual(const Observation& o, const Coordinates& c) {
  const auto& p = o.points;
  switch (o.kind) {
    case ObservationKind::Distance:
      return std::hypot(c.at(p[1])[0] - c.at(p[0])[0], c.at(p[1])[1] - c.at(p[0])[1]) - o.value;
    case ObservationKind::Direction:
      return Wrapped(PlainAzimuth(c, p[0], p[1]) - o.value);
    case ObservationKind::Angle:
      return Wrapped(PlainAzimuth(c, p[0], p[2]) - PlainAzimuth(c, p[0], p[1]) - o.value);
  }
  return 0;
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
  std::vector<double> residual;
  double referenceVariance = 0;
  Table cofactor;  // north and east of each unknown, in the order given
};

PlainSolution PlainAdjust(const std::vector<Observation>& observations, Coordinates at, const std::vector<int>& unknowns) {
  const size_t m = observations.size(), u = 2 * unknowns.size();
  const double h = 1e-3;  // step of the central differences, feet
  Table normal;
  for (int iteration = 0; iteration < 20; ++iteration) {
    Table jacobian(m, std::vector<double>(u));
    for (size_t j = 0; j < u; ++j) {
      Coordinates plus = at, minus = at;
      plus[unknowns[j / 2]][j % 2] += h;
      minus[unknowns[j / 2]][j % 2] -= h;
      for (size_t i = 0; i < m; ++i)
        jacobian[i][j] = Wrapped(PlainResidual(observations[i], plus) - PlainResidual(observations[i], minus)) / (2 * h);
    }
    normal.assign(u, std::vector<double>(u, 0));
    std::vector<double> right(u, 0);
    for (size_t i = 0; i < m; ++i) {
      double weight = 1 / (observations[i].sigma * observations[i].sigma);
      double f = PlainResidual(observations[i], at);
      for (size_t a = 0; a < u; ++a) {
        right[a] -= jacobian[i][a] * weight * f;
        for (size_t b = 0; b < u; ++b) normal[a][b] += jacobian[i][a] * weight * jacobian[i][b];
      }
    }
    Table inverse = Inverse(normal);
    for (size_t a = 0; a < u; ++a) {
      double step = 0;
      for (size_t b = 0; b < u; ++b) step += inverse[a][b] * right[b];
      at[unknowns[a / 2]][a % 2] += step;
    }
  }
  PlainSolution solution{at, {}, 0, Inverse(normal)};
  for (const Observation& o : observations) {
    double v = PlainResidual(o, at);
    solution.residual.push_back(v);
    solution.referenceVariance += v * v / (o.sigma * o.sigma);
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
};

Observation Distance(int a, int b, double d, double sigma = 0.02) { return {ObservationKind::Distance, {a, b, 0}, d, sigma}; }
Observation Angle(int at, int back, int fore, double angle) {
  return {ObservationKind::Angle, {at, back, fore}, angle, 5 * kSecond};
}
Observation Direction(int a, int b, double azimuth) { return {ObservationKind::Direction, {a, b, 0}, azimuth, 5 * kSecond}; }

void CompareWithPlain(const Case& c) {
  Network network{c.observations, std::vector<char>(1001, 0)};
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

  PlainSolution plain = PlainAdjust(c.observations, start, unknowns);
  for (int p : unknowns) {
    EXPECT_NEAR(at[p].north, plain.at[p][0], kFoot) << "point " << p;
    EXPECT_NEAR(at[p].east, plain.at[p][1], kFoot) << "point " << p;
  }
  int dof = static_cast<int>(c.observations.size()) - result.unknowns;
  EXPECT_NEAR(result.weightedSquares / dof, plain.referenceVariance, 1e-6);
  for (size_t i = 0; i < c.observations.size(); ++i)
    EXPECT_NEAR(result.observations[i].residual, plain.residual[i],
                c.observations[i].kind == ObservationKind::Distance ? kFoot : kResidualSecond)
        << "observation " << i;

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

class LsqTest : public SessionTest {
 protected:
  // Runs a pane and checks that no point changed.
  void ExpectStoreKept(const std::string& pane, const std::string& message) {
    PointStore before = session.points;
    std::vector<std::string> transcript = Run(pane);
    ASSERT_FALSE(transcript.empty()) << pane;
    bool found = false;
    for (const std::string& line : transcript) found = found || line.find(message) != std::string::npos;
    EXPECT_TRUE(found) << pane << "\nlast: " << transcript.back();
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

// More observations than a network holds: refused at the first beyond.
TEST_F(LsqTest, ObservationLimit) {
  Run("KWN\n1,1000,1000,2,1000,2000\n");
  std::string pane = "LSQ\n5,0.02,5\nF,1,2,\n";
  for (int k = 0; k < 401; ++k) pane += "D,1,3,707,D,2,3,707,D,1,3,707,D,2,3,707,D,1,3,707,\n";
  pane += "D,1,3,707\n";
  ExpectStoreKept(pane, "A network holds at most 2000 observations");
}

}  // namespace
}  // namespace vantrel
