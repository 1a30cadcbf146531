// Route geometry: the clothoid series against numerical integration of the
// Fresnel integrals, station/offset round trips on every kind of element,
// the ends, equally near elements, joins, and vertical curves against
// textbook arithmetic.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <numbers>

#include "exchange/xml.h"
#include "route/alignment.h"
#include "route/profile.h"
#include "route/route_landxml.h"
#include "store/record_files.h"
#include "text_files.h"

namespace vantrel {
namespace {

constexpr double kPi = std::numbers::pi;

// The integral from 0 to s of (cos, sin) of k0 t + rate t^2 / 2 — the
// Fresnel integrals, scaled — by 5-point Gauss-Legendre on 4000 panels.
LocalOffset FresnelByQuadrature(double k0, double rate, double s) {
  static const double nodes[5] = {0, -0.5384693101056831, 0.5384693101056831, -0.9061798459386640,
                                  0.9061798459386640};
  static const double weights[5] = {0.5688888888888889, 0.4786286704993665, 0.4786286704993665,
                                    0.2369268850561891, 0.2369268850561891};
  const int panels = 4000;
  double h = s / panels;
  LocalOffset sum;
  for (int p = 0; p < panels; ++p) {
    double mid = (p + 0.5) * h;
    for (int j = 0; j < 5; ++j) {
      double t = mid + nodes[j] * h / 2;
      double turned = k0 * t + rate * t * t / 2;
      sum.along += weights[j] * h / 2 * std::cos(turned);
      sum.right += weights[j] * h / 2 * std::sin(turned);
    }
  }
  return sum;
}

TEST(Clothoid, SeriesMatchesFresnelIntegrals) {
  struct Case {
    double k0, rate, s;
  } cases[] = {
      {0, 1.0 / (1000 * 300), 300},        // entry spiral, R 1000, Ls 300
      {0, 1.0 / (1000 * 300), 137.25},     // part of it
      {0, -1.0 / (200 * 250), 250},        // to the left, sharp: 35.8 degrees
      {1.0 / 1000, -1.0 / (1000 * 300), 300},  // exit spiral
      {1.0 / 2000, 1.0 / 600000, 300},     // between radii 2000 and 1000
      {0, 1.0 / (100 * 300), 300},         // 85.9 degrees, summed in pieces
      {-1.0 / 150, 1.0 / (150 * 400), 400},  // exit of a sharp left curve
  };
  for (const Case& c : cases) {
    LocalOffset series = ClothoidOffset(c.k0, c.rate, c.s);
    LocalOffset quadrature = FresnelByQuadrature(c.k0, c.rate, c.s);
    EXPECT_NEAR(series.along, quadrature.along, 1e-11) << c.k0 << " " << c.rate << " " << c.s;
    EXPECT_NEAR(series.right, quadrature.right, 1e-11) << c.k0 << " " << c.rate << " " << c.s;
  }
  // The textbook series for a spiral of angle theta = L / 2R:
  // x = L (1 - theta^2/10 + theta^4/216), y = L (theta/3 - theta^3/42).
  double theta = 300.0 / 2000;
  LocalOffset xy = ClothoidOffset(0, 1.0 / (1000 * 300), 300);
  EXPECT_NEAR(xy.along, 300 * (1 - theta * theta / 10 + std::pow(theta, 4) / 216), 1e-6);
  EXPECT_NEAR(xy.right, 300 * (theta / 3 - std::pow(theta, 3) / 42 + std::pow(theta, 5) / 1320), 1e-8);
}

// Tangent, spiral in, curve right, spiral out, tangent, curve left (a
// reverse curve through a compound spiral), tangent: each element placed at
// the end of the one before.
Alignment TestAlignment() {
  std::vector<Element> e;
  e.push_back(LineBetween({5000, 5000}, {5400, 5300}));
  double r1 = 1000, ls = 300;
  e.push_back(SpiralFrom(e.back().End(), ls, 0, 1 / r1));
  Pose sc = e.back().End();
  PlanePoint centre{sc.at.north + r1 * std::cos(sc.azimuth + kPi / 2), sc.at.east + r1 * std::sin(sc.azimuth + kPi / 2)};
  double delta = 0.4;
  double back = std::atan2(sc.at.east - centre.east, sc.at.north - centre.north);
  PlanePoint cs{centre.north + r1 * std::cos(back + delta), centre.east + r1 * std::sin(back + delta)};
  e.push_back(*ArcAbout(sc.at, centre, cs, true));
  e.push_back(SpiralFrom(e.back().End(), ls, 1 / r1, 0));
  Pose st = e.back().End();
  PlanePoint farEnd{st.at.north + 500 * std::cos(st.azimuth), st.at.east + 500 * std::sin(st.azimuth)};
  e.push_back(LineBetween(st.at, farEnd));
  e.push_back(SpiralFrom(e.back().End(), 200, 0, -1 / 600.0));
  e.push_back(SpiralFrom(e.back().End(), 150, -1 / 600.0, -1 / 400.0));
  Pose pc = e.back().End();
  double r2 = 400;
  PlanePoint centre2{pc.at.north + r2 * std::cos(pc.azimuth - kPi / 2), pc.at.east + r2 * std::sin(pc.azimuth - kPi / 2)};
  double back2 = std::atan2(pc.at.east - centre2.east, pc.at.north - centre2.north);
  PlanePoint pt{centre2.north + r2 * std::cos(back2 - 0.6), centre2.east + r2 * std::sin(back2 - 0.6)};
  e.push_back(*ArcAbout(pc.at, centre2, pt, false));
  Pose end = e.back().End();
  e.push_back(LineBetween(end.at, {end.at.north + 300 * std::cos(end.azimuth), end.at.east + 300 * std::sin(end.azimuth)}));
  return Alignment(1000, e);
}

TEST(Alignment, StationOffsetRoundTripsOnEveryElement) {
  Alignment a = TestAlignment();
  EXPECT_TRUE(JoinMismatches(a.Elements()).empty());
  int checked[3] = {0, 0, 0};
  for (size_t k = 0; k < a.Elements().size(); ++k) {
    double from = a.ElementStation(k), to = a.ElementStation(k + 1);
    for (double share : {0.001, 0.25, 0.5, 0.77, 0.999}) {
      double station = from + share * (to - from);
      for (double offset : {-60.0, -0.25, 0.0, 12.5, 90.0}) {
        Pose placed = a.Locate(station, offset);
        StationOffset found = a.Project(placed.at);
        EXPECT_NEAR(found.station, station, 1e-6) << "element " << k << " offset " << offset;
        EXPECT_NEAR(found.offset, offset, 1e-6) << "element " << k;
        EXPECT_EQ(found.element, static_cast<int>(k));
        EXPECT_EQ(found.foot, Foot::OnElement);
        EXPECT_FALSE(found.equallyNear);
        ++checked[static_cast<int>(a.Elements()[k].kind)];
      }
    }
  }
  EXPECT_GT(checked[0], 0);
  EXPECT_GT(checked[1], 0);
  EXPECT_GT(checked[2], 0);
}

TEST(Alignment, EndsJoinsAndEquallyNearPoints) {
  Alignment a = TestAlignment();
  // Before the start, on the first tangent extended back (azimuth of
  // 400 north, 300 east: 3-4-5).
  StationOffset before = a.Project({5000 - 80 + 6, 5000 - 60 - 8});
  EXPECT_EQ(before.foot, Foot::BeforeStart);
  EXPECT_NEAR(before.station, 1000 - 100, 1e-9);
  EXPECT_NEAR(before.offset, -10, 1e-9);
  Pose end = a.Locate(a.EndStation(), 0);
  StationOffset after = a.Project({end.at.north + 40 * std::cos(end.azimuth), end.at.east + 40 * std::sin(end.azimuth)});
  EXPECT_EQ(after.foot, Foot::AfterEnd);
  EXPECT_NEAR(after.station, a.EndStation() + 40, 1e-9);

  // The centre of the first curve is as near to every station of it.
  const Element& arc = a.Elements()[2];
  StationOffset centre = a.Project(arc.centre);
  ASSERT_TRUE(centre.equallyNear);
  EXPECT_NEAR(std::fabs(*centre.equallyNear - centre.station), arc.length, 1e-6);

  // The station of each element from the bisection over station.
  for (size_t k = 0; k < a.Elements().size(); ++k)
    EXPECT_EQ(a.ElementAt(a.ElementStation(k) + 1e-3), k);
  EXPECT_EQ(a.ElementAt(a.EndStation()), a.Elements().size() - 1);

  // A PT moved 0.002 ft off the curve, and a tangent turned by 2 seconds.
  std::vector<Element> e = a.Elements();
  e[3].start.north += 0.002;
  e[4].azimuth += 2 * kPi / 648000;
  std::vector<std::optional<PlanePoint>> ends(e.size());
  ends[2] = e[2].End().at;
  ends[2]->east -= 0.0015;
  std::vector<JoinMismatch> joins = JoinMismatches(e, ends);
  ASSERT_EQ(joins.size(), 4u);
  EXPECT_EQ(MismatchText(joins[0]), "Element 3 ends 0.002 ft off its end point");
  EXPECT_EQ(MismatchText(joins[1]), "Element 4 starts 0.002 ft and 0  0  0 off the end of element 3");
  // The spiral moved with its start; the tangent turned swings its far end
  // 500 ft * 2" = 0.0048 ft off the next spiral.
  EXPECT_NEAR(joins[2].gap, 0.002, 1e-6);
  EXPECT_NEAR(joins[2].kink * 648000 / kPi, 2, 1e-6);
  EXPECT_EQ(MismatchText(joins[3]), "Element 6 starts 0.005 ft and 0  0  2 off the end of element 5");
}

// A kink accepted on the surveyor's word: outside it no perpendicular
// reaches, and the point is placed at the join; inside, on its bisector,
// both tangents are equally near.
TEST(Alignment, OutsideAndInsideAKink) {
  Alignment a(0, {LineBetween({0, 0}, {100, 0}), LineBetween({100, 0}, {100, 100})});
  StationOffset outside = a.Project({110, -10});
  EXPECT_EQ(outside.foot, Foot::AtJoin);
  EXPECT_NEAR(outside.station, 100, 1e-12);
  EXPECT_NEAR(outside.offset, -std::hypot(10, 10), 1e-12);
  StationOffset inside = a.Project({90, 10});
  ASSERT_TRUE(inside.equallyNear);
  EXPECT_NEAR(inside.station + *inside.equallyNear, 90 + 110, 1e-9);
}

// Files in the style of two other packages: LandXML 1.0 under a prefix with
// directions as decimal-degree azimuths and a Line ending at a CgPoint by
// pntRef; LandXML 1.1 with the attributes in another order and directions
// in radians counterclockwise from east. Directions are read from neither:
// the stations come out as the files' own staStart of every element.
TEST(RouteLandXml, OtherPackagesReproduceTheirStations) {
  for (const char* name : {"main_street.xml", "ramp.xml"}) {
    std::string text = ReadFile(std::string(VANTREL_SCENARIO_DIR) + "/route_landxml.dir/" + name);
    std::string error;
    std::unique_ptr<XmlElement> root = ParseXml(text, error);
    ASSERT_TRUE(root) << error;
    std::vector<const XmlElement*> cgPoints;
    root->Collect("CgPoint", cgPoints);
    auto pointOf = [&](const XmlElement& e) -> std::optional<PlanePoint> {
      const XmlElement* holder = &e;
      for (const XmlElement* p : cgPoints)
        if (e.text.empty() && e.Attribute("pntRef") && *p->Attribute("name") == *e.Attribute("pntRef")) holder = p;
      std::istringstream words(holder->text);
      std::string north, east;
      words >> north >> east;
      if (!PlainDecimal(north) || !PlainDecimal(east)) return std::nullopt;
      return PlanePoint{*PlainDecimal(north), *PlainDecimal(east)};
    };
    std::vector<AlignmentRead> reads = ReadAlignments(*root, pointOf);
    ASSERT_EQ(reads.size(), 1u) << name;
    ASSERT_EQ(reads[0].problem, "") << name;
    EXPECT_TRUE(JoinMismatches(reads[0].elements, reads[0].givenEnds).empty()) << name;
    Alignment a(reads[0].startStation, reads[0].elements);
    std::vector<const XmlElement*> elements;
    for (const char* kind : {"Line", "Spiral", "Curve"}) root->Collect(kind, elements);
    std::vector<double> stations;
    for (const XmlElement* e : elements) stations.push_back(*PlainDecimal(*e->Attribute("staStart")));
    std::sort(stations.begin(), stations.end());
    ASSERT_EQ(stations.size(), a.Elements().size());
    for (size_t k = 0; k < stations.size(); ++k) EXPECT_NEAR(a.ElementStation(k), stations[k], 1e-6) << name << " " << k;
    EXPECT_NEAR(a.EndStation(), 3867.0107212764, 1e-6) << name;
  }
}

// Vertical curves, values worked by hand.
TEST(Profile, TextbookVerticalCurves) {
  // Crest: g1 = +3 %, g2 = -2 %, L = 400 about PVI 500 at elevation 100.
  // PVC 500 - 200 = 300 at 100 - 0.03 * 200 = 94; PVT 700 at 100 - 0.02 * 200
  // = 96. High point: x = -g1 L / (g2 - g1) = -0.03 * 400 / -0.05 = 240, at
  // 540, elevation 94 + 0.03 * 240 - 0.05 * 240^2 / 800 = 94 + 7.2 - 3.6.
  // At 400: 94 + 0.03 * 100 - 0.05 * 100^2 / 800 = 96.375. Under the PVI:
  // 100 + (g2 - g1) L / 8 = 100 - 2.5.
  Pvi crest{500, 100, 200, 200};
  Profile p({{0, 85, 0, 0}, crest, {1000, 90, 0, 0}});
  EXPECT_FALSE(ProfileProblem(p.Pvis()));
  VerticalCurve c = p.Curve(1);
  EXPECT_TRUE(c.Crest());
  EXPECT_NEAR(c.pvcStation, 300, 1e-12);
  EXPECT_NEAR(c.pvcElevation, 94, 1e-12);
  EXPECT_NEAR(c.ptElevation, 96, 1e-12);
  ASSERT_TRUE(c.turningStation);
  EXPECT_NEAR(*c.turningStation, 540, 1e-9);
  EXPECT_NEAR(p.ElevationAt(540), 97.6, 1e-9);
  EXPECT_NEAR(p.GradeAt(540), 0, 1e-12);
  EXPECT_NEAR(p.ElevationAt(400), 96.375, 1e-9);
  EXPECT_NEAR(p.ElevationAt(500), 97.5, 1e-9);
  EXPECT_NEAR(p.ElevationAt(150), 85 + 0.03 * 150, 1e-9);
  EXPECT_NEAR(p.ElevationAt(850), 96 - 0.02 * 150, 1e-9);

  // Sag: g1 = -2 %, g2 = +1.5 %, L = 300 about PVI 1000 at 90. PVC 850 at
  // 93, PVT 1150 at 92.25; low point x = 0.02 * 300 / 0.035 = 171.4286, at
  // 93 - 0.02 x + 0.035 x^2 / 600 = 91.285714.
  Profile sag({{0, 110, 0, 0}, {1000, 90, 150, 150}, {2000, 105, 0, 0}});
  VerticalCurve s = sag.Curve(1);
  EXPECT_FALSE(s.Crest());
  EXPECT_NEAR(*s.turningStation, 850 + 0.02 * 300 / 0.035, 1e-9);
  EXPECT_NEAR(sag.ElevationAt(*s.turningStation), 93 - 0.02 * 171.42857142857142 + 0.035 * 171.42857142857142 * 171.42857142857142 / 600, 1e-9);

  // Unsymmetric: g1 = -3 %, g2 = +2 %, L1 = 200, L2 = 400 about PVI 1000 at
  // 100. e = (g2 - g1) L1 L2 / (2 (L1 + L2)) = 0.05 * 80000 / 1200 = 3.3333;
  // PVC 800 at 106, PVT 1400 at 108; under the PVI 103.3333. Low point on
  // the first parabola: x = -g1 L1^2 / 2e = 0.03 * 40000 / 6.6667 = 180,
  // at 980, elevation 106 - 0.03 * 180 + e (180 / 200)^2 = 103.3.
  Profile unsym({{0, 130, 0, 0}, {1000, 100, 200, 400}, {2000, 120, 0, 0}});
  VerticalCurve u = unsym.Curve(1);
  EXPECT_NEAR(u.middleOrdinate, 10.0 / 3, 1e-12);
  EXPECT_NEAR(unsym.ElevationAt(1000), 100 + 10.0 / 3, 1e-9);
  EXPECT_NEAR(*u.turningStation, 980, 1e-9);
  EXPECT_NEAR(unsym.ElevationAt(980), 103.3, 1e-9);
  EXPECT_NEAR(unsym.ElevationAt(1400), 108, 1e-9);
  // Both parabolas share the grade under the PVI: g1 + 2e / L1.
  EXPECT_NEAR(unsym.GradeAt(1000 - 1e-9), unsym.GradeAt(1000 + 1e-9), 1e-9);

  EXPECT_EQ(*ProfileProblem({{0, 1, 0, 0}}), "A profile needs at least two PVIs");
  EXPECT_EQ(*ProfileProblem({{0, 1, 0, 0}, {500, 2, 0, 0}, {800, 1, 100, 100}}),
            "PVI 3: the first and the last PVI take no vertical curve");
  EXPECT_EQ(*ProfileProblem({{0, 1, 0, 0}, {500, 2, 300, 300}, {700, 1, 0, 0}}),
            "Vertical curves overlap between PVI 2 and PVI 3 by 100.000 ft");
}

}  // namespace
}  // namespace vantrel
