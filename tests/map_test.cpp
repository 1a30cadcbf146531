// The plot window's computations against recording surfaces: transforms,
// overview, figures of lines and arcs, consecutive map lines, the printer
// page, and the picture files written from a recording.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "command/session.h"
#include "map/plot_files.h"
#include "map/plot_map.h"
#include "map/plot_surface.h"
#include "notation/numbers.h"
#include "scripted_user.h"
#include "temp_folder.h"
#include "text_files.h"

namespace vantrel {
namespace {

class PlottingUser : public ScriptedUser {
 public:
  PlotPicture window{8800, 6800};
  PrinterPages printer;
  PlotSurface* PlotWindow() override { return &window; }
  PlotSurface* PrinterPage() override { return &printer; }
};

std::string Describe(const PlotPrimitive& p) {
  char text[160];
  switch (p.kind) {
    case PlotPrimitive::Kind::Dot:
      std::snprintf(text, sizeof text, "dot %d,%d pen %d", p.x, p.y, p.penWidth);
      break;
    case PlotPrimitive::Kind::Line:
      std::snprintf(text, sizeof text, "line %d,%d %d,%d pen %d", p.x, p.y, p.x2, p.y2, p.penWidth);
      break;
    case PlotPrimitive::Kind::Arc:
      std::snprintf(text, sizeof text, "arc %d,%d r %.1f %.4f..%.4f pen %d", p.x, p.y, p.radius, p.startAngle,
                    p.endAngle, p.penWidth);
      break;
    case PlotPrimitive::Kind::Text:
      std::snprintf(text, sizeof text, "text %d,%d '%s' %s %dpt", p.x, p.y, p.text.c_str(),
                    p.color == kPlotRed ? "red" : "black", p.fontPoints);
      break;
  }
  return text;
}

std::vector<std::string> Drawn(const PlotPicture& picture) {
  std::vector<std::string> described;
  for (const PlotPrimitive& p : picture.Primitives()) described.push_back(Describe(p));
  return described;
}

class MapTest : public ::testing::Test {
 protected:
  PlottingUser user;
  Session session{user};

  MapTest() { EXPECT_EQ(LoadCommandReference(VANTREL_REFERENCE_FILE, session.reference), ""); }

  void Place(int n, double north, double east) { session.points.Store(n, north, east); }
  std::vector<std::string> Run(const std::string& pane) {
    size_t before = user.transcript.size();
    session.RunBatch(pane);
    return {user.transcript.begin() + static_cast<long>(before), user.transcript.end()};
  }
};

// Points at N 0 E 0 and N 1000 E 2000 on 8800 x 6800: x-scale 8000/2000 = 4,
// y-scale 6000/1000 = 6, so scale 4; x offset 4400 - 2000*4/2 = 400, y offset
// 3400 - 1000*4/2 = 1400; dots at (400, 6800-1400) and (8400, 6800-5400).
TEST_F(MapTest, TwoPointsFitTheSurfaceCentred) {
  Place(1, 0, 0);
  Place(2, 1000, 2000);
  ShowAllPoints(session);
  EXPECT_FLOAT_EQ(session.plot.screen.scale, 4.0f);
  EXPECT_EQ(session.plot.screen.xOffset, 400);
  EXPECT_EQ(session.plot.screen.yOffset, 1400);
  EXPECT_EQ(Drawn(user.window), (std::vector<std::string>{"dot 400,5400 pen 3", "text 430,5400 ' 1' red 8pt",
                                                          "dot 8400,1400 pen 3", "text 8430,1400 ' 2' red 8pt"}));

  Run("MAP\n1,2\n");
  EXPECT_EQ(Drawn(user.window),
            (std::vector<std::string>{"dot 400,5400 pen 3", "text 430,5400 '1' red 8pt", "dot 8400,1400 pen 3",
                                      "text 8430,1400 '2' red 8pt", "line 400,5400 8400,1400 pen 1"}));
}

// No east range: the scale is 6000/1000 = 6 from the north range alone, and
// the line stands in the middle of the surface (x offset 4400).
TEST_F(MapTest, NorthSouthLineTakesItsScaleFromTheNorthRange) {
  Place(1, 0, 0);
  Place(2, 1000, 0);
  Place(3, 500, 0);
  session.plot.ShowPointNumbers = false;
  Run("MAP\n1,3,2\n");
  EXPECT_FLOAT_EQ(session.plot.screen.scale, 6.0f);
  EXPECT_EQ(Drawn(user.window),
            (std::vector<std::string>{"dot 4400,6400 pen 3", "dot 4400,3400 pen 3", "line 4400,6400 4400,3400 pen 1",
                                      "dot 4400,400 pen 3", "line 4400,3400 4400,400 pen 1"}));
}

TEST_F(MapTest, SinglePointLeavesTheWindowClearedUntilAFigureHasExtent) {
  Place(1, 100, 100);
  user.window.Dot(1, 1);
  ShowAllPoints(session);
  EXPECT_TRUE(user.window.Primitives().empty());
  EXPECT_FALSE(session.plot.screen.usable);

  // The next line of the same map fits afresh instead of using no scale.
  Place(2, 200, 100);
  Run("MAP\n1\n1,2\n");
  EXPECT_TRUE(session.plot.screen.usable);
  EXPECT_EQ(user.window.Primitives().size(), 5u);
}

// Center 3 at the origin, 2 east of it, 4 north of it, 1 south of 2 and 5
// west of 4: box 200 x 200, scale min(8000, 6000)/200 = 30, x offset 1400,
// y offset 400; the arc from 2 (0 rad) counterclockwise to 4 (pi/2).
TEST_F(MapTest, CenterEntryDrawsAnArcBetweenItsNeighbours) {
  Place(1, -100, 100);
  Place(2, 0, 100);
  Place(3, 0, 0);
  Place(4, 100, 0);
  Place(5, 100, -100);
  Run("MAP\n1,2,C3,4,5\n");
  EXPECT_EQ(Drawn(user.window),
            (std::vector<std::string>{"dot 7400,6400 pen 3", "text 7430,6400 '1' red 8pt", "dot 7400,3400 pen 3",
                                      "text 7430,3400 '2' red 8pt", "line 7400,6400 7400,3400 pen 1",
                                      "arc 4400,3400 r 3000.0 0.0000..1.5708 pen 1", "dot 4400,400 pen 3",
                                      "text 4430,400 '4' red 8pt", "dot 1400,400 pen 3", "text 1430,400 '5' red 8pt",
                                      "line 4400,400 1400,400 pen 1"}));

  // The same list once more: drawn over the picture, now with the center.
  session.plot.ShowCenters = true;
  Run("1,2,C3,4,5\n");
  std::vector<std::string> drawn = Drawn(user.window);
  EXPECT_EQ(drawn.size(), 11u + 13u);
  EXPECT_EQ(drawn[11 + 5], "dot 4400,3400 pen 3");
  EXPECT_EQ(drawn[11 + 6], "text 4430,3400 '3' red 8pt");

  // Without points, only the figure's lines and arc remain.
  session.plot.ShowPoints = false;
  Run("MAP\n1,2,C3,4,5\n");
  EXPECT_EQ(user.window.Primitives().size(), 11u + 13u + 3u);
}

// The area of a figure of corners and one arc, from a drawing of the arc:
// the corners before the arc, the arc sampled from `pc` round to `pt` in
// the drawing's sense, the corners after it. Shoelace of the samples.
struct Ground {
  double north, east;
};
double DrawnArea(const std::vector<Ground>& before, Ground center, double radius, double fromAngle, double sweep,
                 const std::vector<Ground>& after) {
  std::vector<Ground> ring = before;
  constexpr int kSamples = 20000;
  for (int i = 0; i <= kSamples; ++i) {
    double a = fromAngle + sweep * i / kSamples;
    ring.push_back({center.north + radius * std::sin(a), center.east + radius * std::cos(a)});
  }
  ring.insert(ring.end(), after.begin(), after.end());
  double twice = 0;
  for (size_t k = 0; k < ring.size(); ++k) {
    const Ground& a = ring[k];
    const Ground& b = ring[(k + 1) % ring.size()];
    twice += a.east * b.north - b.east * a.north;
  }
  return std::fabs(twice / 2);
}

// An arc drawn counterclockwise from `start` to `end`, taken from `pc`: the
// signed sweep (counterclockwise positive) that leads from pc to pt.
double SweepFrom(double start, double end, double pcAngle) {
  double sweep = std::fmod(end - start + 2 * TWO_PI, TWO_PI);
  bool startsAtPc = std::fabs(std::remainder(start - pcAngle, TWO_PI)) < 1e-6;
  return startsAtPc ? sweep : -sweep;
}

// Half-circles are the one case where the list leaves the side open. The
// plot window (and the SVG, PNG and PDF files drawn from its picture), the
// DXF drawing and LandXML's rotation all take the side ARE's area takes,
// for arcs listed both ways round.
TEST_F(MapTest, HalfCirclesAreDrawnOnTheSideTheAreaTakes) {
  TempFolder folder("vantrel-half-circles");
  session.files.ProgramFolder = folder.path().string();
  struct Case {
    Ground corner, pc, center, pt;
  };
  const Case cases[] = {
      {{5000, 3000}, {5000, 3200}, {4900, 3200}, {4800, 3200}},  // north to south about 5
      {{5000, 3000}, {4800, 3200}, {4900, 3200}, {5000, 3200}},  // the same listed the other way
      {{5100, 3200}, {4900, 3100}, {4900, 3200}, {4900, 3300}},  // west to east
      {{5100, 3200}, {4900, 3300}, {4900, 3200}, {4900, 3100}},
      {{5200, 2900}, {4980, 3260}, {4900, 3200}, {4820, 3140}},  // on a slant
      {{5200, 2900}, {4820, 3140}, {4900, 3200}, {4980, 3260}},
  };
  for (const Case& c : cases) {
    std::string label = std::to_string(c.pc.north) + "," + std::to_string(c.pc.east);
    Place(1, c.corner.north, c.corner.east);
    Place(2, c.pc.north, c.pc.east);
    Place(5, c.center.north, c.center.east);
    Place(4, c.pt.north, c.pt.east);
    user.window.Clear();
    session.PreviousCommand.clear();
    std::vector<std::string> said = Run("ARE\n1,2,C5,4,1\nMAP\n1,2,C5,4,1\nLXW\nlot\n1,2,C5,4,1\n");
    auto areaLine =
        std::find_if(said.begin(), said.end(), [](const std::string& l) { return l.rfind("Area = ", 0) == 0; });
    ASSERT_NE(areaLine, said.end()) << label;
    double area = std::strtod(areaLine->c_str() + 7, nullptr);

    double radius = std::hypot(c.pc.north - c.center.north, c.pc.east - c.center.east);
    double pcAngle = std::atan2(c.pc.north - c.center.north, c.pc.east - c.center.east);
    auto drawnArea = [&](double sweep) { return DrawnArea({c.corner}, c.center, radius, pcAngle, sweep, {}); };

    const PlotPrimitive* arc = nullptr;
    for (const PlotPrimitive& p : user.window.Primitives())
      if (p.kind == PlotPrimitive::Kind::Arc) arc = &p;
    ASSERT_NE(arc, nullptr) << label;
    EXPECT_NEAR(drawnArea(SweepFrom(arc->startAngle, arc->endAngle, pcAngle)), area, 0.01) << "window " << label;

    ASSERT_EQ(session.plot.drawing.arcs.size(), 1u) << label;
    const MapDrawing::Arc& dxf = session.plot.drawing.arcs[0];
    EXPECT_NEAR(drawnArea(SweepFrom(dxf.startAngle, dxf.endAngle, pcAngle)), area, 0.01) << "DXF " << label;

    std::string xml = ReadFile(folder.path() / "lot.xml");
    bool clockwise = xml.find("rot=\"cw\"") != std::string::npos;
    ASSERT_TRUE(clockwise || xml.find("rot=\"ccw\"") != std::string::npos) << label;
    EXPECT_NEAR(drawnArea(clockwise ? -PI : PI), area, 0.01) << "LandXML " << label;
  }
}

// Found by fuzzing: an arc about a center so far from its points that the
// radius overflows is left out, whether it sweeps a part of a turn or none;
// the dots are drawn, and the picture files are written from finite numbers.
TEST_F(MapTest, ArcWhoseRadiusOverflowsIsLeftOut) {
  Place(1, 0, 0);
  Place(2, 100, 0);
  Place(9, 1.5e308, 1.5e308);
  session.plot.ShowPointNumbers = false;
  for (const char* list : {"9,-1,9\n", "2,-1,9\n"}) {
    user.window.Clear();
    Run(std::string("MAP\n") + list);
    std::vector<std::string> drawn = Drawn(user.window);
    EXPECT_EQ(drawn.size(), 2u) << list;
    for (const std::string& primitive : drawn) EXPECT_EQ(primitive.rfind("dot", 0), 0u) << list << primitive;
    EXPECT_FALSE(PlotPng(user.window).empty());
    EXPECT_EQ(PlotSvg(user.window).find("nan"), std::string::npos);
  }
}

// DXF draws each arc as ARE takes it, and says where it cannot: an arc too
// large to draw is left out, one between points at unequal distances from
// its center is drawn with their mean. Extents beyond the largest number are
// held at it, never written as "inf".
TEST_F(MapTest, DxfSaysWhereItsArcsDifferFromTheFigure) {
  TempFolder folder("vantrel-dxf-notes");
  session.files.ProgramFolder = folder.path().string();
  Place(1, 1e308, 0);
  Place(8, 1e308, 1e308);
  Place(9, 0, 1e308);
  Place(6, -1.5e308, -1.5e308);
  Place(2, 5000, 3200);
  Place(5, 4900, 3200);
  Place(4, 4800, 3200.5);
  struct Case {
    std::string figure, message;
  };
  const Case cases[] = {
      {"far,1,C8,9", ""},
      {"huge,9,C6,1", "Info Only: The arc about point 6 is too large to draw and was left out"},
      {"unequal,2,C5,4", "Info Only: Pt. 5 has unequal radii 100.000 and 100.001: the arc is drawn with their mean"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> said = Run("DXF\n" + c.figure + "\n");
    EXPECT_EQ(said, c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message}) << c.figure;
    std::string dxf = ReadFile(folder.path() / (c.figure.substr(0, c.figure.find(',')) + ".dxf"));
    EXPECT_EQ(dxf.find("inf"), std::string::npos) << c.figure;
    EXPECT_EQ(dxf.find("\nARC\r\n") != std::string::npos, c.figure != "huge,9,C6,1") << c.figure;
  }
}

TEST_F(MapTest, MapLinesOfOneCommandShareThePictureAndItsScale) {
  Place(1, 0, 0);
  Place(2, 1000, 2000);
  Place(3, 5000, 5000);
  Run("MAP\n1,2\n2,3\n");
  EXPECT_FLOAT_EQ(session.plot.screen.scale, 4.0f);
  EXPECT_EQ(user.window.Primitives().size(), 10u);
  EXPECT_EQ(Describe(user.window.Primitives()[7]), "dot 20400,-14600 pen 3");

  // A MAP code line right after a completed map line keeps the picture too.
  Run("MAP\n1,2\n");
  EXPECT_EQ(user.window.Primitives().size(), 15u);

  // Another command in between starts a new picture.
  Run("DSC\n1,1\nMAP\n2,3\n");
  EXPECT_EQ(user.window.Primitives().size(), 5u);
  EXPECT_FLOAT_EQ(session.plot.screen.scale, 1.5f);  // 6000 over the 4000 ft north range
}

TEST_F(MapTest, EntriesThatNameNoDrawablePointAreSkipped) {
  Place(1, 0, 0);
  Place(2, 0, 100);
  Place(4, 100, 100);
  std::vector<std::string> messages = Run("MAP\n1,2,7,4,1001,C0,1\n");
  EXPECT_EQ(messages, (std::vector<std::string>{"Info Only: 7 is not a defined point",
                                                "Info Only: 1001 is invalid point number",
                                                "Info Only: C0 is invalid point number"}));
  std::vector<std::string> lines;
  for (const std::string& drawn : Drawn(user.window))
    if (drawn.rfind("line", 0) == 0) lines.push_back(drawn);
  EXPECT_EQ(lines.size(), 1u);  // 1-2 only: nothing runs into or out of 7, 1001 and 0
  EXPECT_EQ(session.points.North(7), UndefinedCoord);
}

// "C-5" names no centre, and no longer the corner 5: nothing runs through it.
TEST_F(MapTest, CenterMarkOfANegativeNumberDrawsNothing) {
  Place(1, 0, 0);
  Place(2, 0, 100);
  Place(5, 100, 50);
  EXPECT_EQ(Run("MAP\n1,C-5,2\n"), (std::vector<std::string>{"Info Only: C-5 is invalid point number"}));
  for (const std::string& drawn : Drawn(user.window)) EXPECT_NE(drawn.rfind("line", 0), 0u) << drawn;
}

TEST_F(MapTest, PrinterPageGetsTheFigureOnlyWithSpool) {
  Place(1, 0, 0);
  Place(2, 1000, 2000);
  Run("MAP\n1,2\n");
  EXPECT_FALSE(user.printer.HasDrawing());

  session.files.SpoolOn = true;
  Run("MAP\n1,2\n");
  std::vector<PlotPicture> pages = user.printer.TakeDocument();
  ASSERT_EQ(pages.size(), 1u);
  // A wide figure is printed across a landscape page (11 x 8.5 in less
  // half-inch margins): scale min(13600/2000, 10000/1000) = 6.8, x offset
  // 7200 - 6800 = 400, y offset 5400 - 3400 = 2000.
  EXPECT_EQ(pages[0].Width(), 14400);
  EXPECT_EQ(pages[0].Height(), 10800);
  EXPECT_FLOAT_EQ(session.plot.printer.scale, 6.8f);
  EXPECT_FLOAT_EQ(pages[0].Transform().scale, 6.8f);  // the page knows its scale for the title block
  EXPECT_EQ(Drawn(pages[0]), (std::vector<std::string>{"dot 400,8800 pen 10", "text 430,8800 '1' black 10pt",
                                                       "dot 14000,2000 pen 10", "text 14030,2000 '2' black 10pt",
                                                       "line 400,8800 14000,2000 pen 8"}));
}

// A map after "Show Points" starts its own picture even when the command
// before was a map too: nothing of the overview stays under it.
TEST_F(MapTest, MapAfterTheOverviewStartsAFreshPicture) {
  Place(1, 0, 0);
  Place(2, 1000, 2000);
  Place(3, 5000, 5000);
  Run("MAP\n1,2\n");
  ShowAllPoints(session);
  EXPECT_TRUE(session.plot.OverviewShown);
  Run("MAP\n1,2\n");
  EXPECT_FALSE(session.plot.OverviewShown);
  EXPECT_FLOAT_EQ(session.plot.screen.scale, 4.0f);  // the map's own fit, not the overview's
  EXPECT_EQ(Drawn(user.window),
            (std::vector<std::string>{"dot 400,5400 pen 3", "text 430,5400 '1' red 8pt", "dot 8400,1400 pen 3",
                                      "text 8430,1400 '2' red 8pt", "line 400,5400 8400,1400 pen 1"}));
  EXPECT_FLOAT_EQ(user.window.Transform().scale, 4.0f);

  // Its next line still draws over it.
  Run("2,3\n");
  EXPECT_EQ(user.window.Primitives().size(), 10u);
}

// The fit counts the bulge of every arc: the drawn arc stays inside the
// 400-unit margins, and touches them where it is the figure's extreme.
// A tangent east from the origin and a quarter turn to the right of radius
// 1000 about N -1000 E 1000: a tick every 500 ft from station 0 to 2500
// (the alignment ends at 1000 + 1570.796), each with its station, the
// picture fitted to the curve's bulge; an A entry for no alignment is said.
TEST_F(MapTest, AlignmentEntryDrawsTheAlignmentWithStationTicks) {
  Place(1, 0, 0);
  Place(2, 0, 1000);
  Place(3, -1000, 1000);
  Place(4, -1000, 2000);
  session.plot.StationTicks = 500;
  Run("ALN\n1,0,L,1,2,C,2,3,4\n");
  EXPECT_EQ(Run("MAP\nA1,a5\n"), (std::vector<std::string>{"Info Only: a5 is not a defined alignment"}));
  std::vector<std::string> labels;
  int lines = 0, arcs = 0;
  for (const PlotPrimitive& p : user.window.Primitives()) {
    if (p.kind == PlotPrimitive::Kind::Text) labels.push_back(p.text);
    lines += p.kind == PlotPrimitive::Kind::Line;
    arcs += p.kind == PlotPrimitive::Kind::Arc;
    if (p.kind == PlotPrimitive::Kind::Arc) EXPECT_NEAR(p.radius, session.plot.screen.scale * 1000, 1e-2);
    if (p.kind != PlotPrimitive::Kind::Line) continue;
    for (auto [x, y] : {std::pair{p.x, p.y}, std::pair{p.x2, p.y2}}) {
      EXPECT_TRUE(x >= 399 && x <= 8401 && y >= 399 && y <= 6401) << Describe(p);
    }
  }
  EXPECT_EQ(labels, (std::vector<std::string>{"0", "500", "1000", "1500", "2000", "2500"}));
  EXPECT_EQ(lines, 1 + 6);
  EXPECT_EQ(arcs, 1);
  // The box holds the curve's bulge and the ticks, 40 ft to either side:
  // wider than the 2000 ft from E 0 to E 2000.
  EXPECT_LT(session.plot.screen.scale, 8000.0 / 2000);
  EXPECT_EQ(session.plot.drawing.alignmentArcs.size(), 1u);
  EXPECT_EQ(session.plot.drawing.stationLabels.size(), 6u);
}

TEST_F(MapTest, ArcsBulgingOutOfTheirPointsStayInsideTheMargins) {
  struct Case {
    const char* what;
    double fromNorth, fromEast, toNorth, toEast;
  };
  const Case cases[] = {
      {"half turn through north", 0, 100, 0, -100},
      {"half turn through south", 0, -100, 0, 100},
      {"quarter through east", -70.71, 70.71, 70.71, 70.71},
      {"quarter through west", 70.71, -70.71, -70.71, -70.71},
      {"small arc about a far center", 990, 141.07, 990, -141.07},
  };
  session.plot.ShowPointNumbers = false;
  for (const Case& c : cases) {
    Place(1, c.fromNorth, c.fromEast);
    Place(2, 0, 0);
    Place(3, c.toNorth, c.toEast);
    Run("COM\n-\nMAP\n1,C2,3\n");
    const PlotPrimitive* arc = nullptr;
    for (const PlotPrimitive& p : user.window.Primitives())
      if (p.kind == PlotPrimitive::Kind::Arc) arc = &p;
    ASSERT_NE(arc, nullptr) << c.what;
    double sweep = std::fmod(arc->endAngle - arc->startAngle + TWO_PI, TWO_PI);
    double left = 1e9, right = -1e9, top = 1e9, bottom = -1e9;
    for (int k = 0; k <= 1000; ++k) {
      double angle = arc->startAngle + sweep * k / 1000;
      double x = arc->x + arc->radius * std::cos(angle), y = arc->y - arc->radius * std::sin(angle);
      left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
    }
    EXPECT_GE(left, 399) << c.what;
    EXPECT_LE(right, 8401) << c.what;
    EXPECT_GE(top, 399) << c.what;
    EXPECT_LE(bottom, 6401) << c.what;
    EXPECT_TRUE(std::fabs(left - 400) < 2 || std::fabs(top - 400) < 2) << c.what << " " << left << " " << top;
  }
}

// ---- Picture files ----------------------------------------------------------

std::uint32_t BigEndian(const std::string& bytes, size_t at) {
  return (static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) << 24) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 16) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 8) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3]));
}

std::uint32_t Crc(const std::string& bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char b : bytes) {
    crc ^= b;
    for (int k = 0; k < 8; ++k) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
  }
  return ~crc;
}

// Reads back a PNG of stored deflate blocks: chunk CRCs, size and pixels.
struct DecodedPng {
  std::uint32_t width = 0, height = 0;
  std::string pixels;  // RGB rows without filter bytes
  std::uint32_t At(std::uint32_t x, std::uint32_t y) const {
    size_t i = (static_cast<size_t>(y) * width + x) * 3;
    std::string rgb = pixels.substr(i, 3);
    rgb.insert(rgb.begin(), '\0');
    return BigEndian(rgb, 0);
  }
};

DecodedPng DecodePng(const std::string& png) {
  DecodedPng image;
  EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1A\n", 8));
  std::string zlib;
  for (size_t at = 8; at + 12 <= png.size();) {
    std::uint32_t length = BigEndian(png, at);
    std::string typeAndData = png.substr(at + 4, length + 4);
    EXPECT_EQ(BigEndian(png, at + 8 + length), Crc(typeAndData)) << typeAndData.substr(0, 4);
    if (typeAndData.substr(0, 4) == "IHDR") {
      image.width = BigEndian(typeAndData, 4);
      image.height = BigEndian(typeAndData, 8);
    }
    if (typeAndData.substr(0, 4) == "IDAT") zlib += typeAndData.substr(4);
    at += 12 + length;
  }
  std::string raw;
  for (size_t at = 2; at + 5 <= zlib.size();) {
    bool last = zlib[at] & 1;
    size_t n = static_cast<unsigned char>(zlib[at + 1]) | (static_cast<unsigned char>(zlib[at + 2]) << 8);
    raw += zlib.substr(at + 5, n);
    at += 5 + n;
    if (last) break;
  }
  size_t row = image.width * 3 + 1;
  EXPECT_EQ(raw.size(), row * image.height);
  for (size_t y = 0; y < image.height && (y + 1) * row <= raw.size(); ++y) image.pixels += raw.substr(y * row + 1, row - 1);
  return image;
}

TEST(PlotFiles, PictureFilesShowTheRecordedDrawing) {
  PlotPicture picture(8800, 6800);
  picture.SetPenWidth(3);
  picture.Dot(400, 5400);
  picture.SetColor(kPlotRed);
  picture.SetFontSize(8);
  picture.Text(430, 5400, "12");
  picture.SetColor(kPlotBlack);
  picture.SetPenWidth(1);
  picture.Arc(4400, 3400, 3000, 0, HALF_PI);
  picture.Line(3000, 1500, 3000, 4500);  // a thin line exactly on a pixel border

  // 96 pixels per inch: 8800 twips are 587 pixels.
  DecodedPng png = DecodePng(PlotPng(picture));
  for (std::uint32_t y = 100; y < 300; y += 25) EXPECT_EQ(png.At(200, y), 0x000000u) << y;
  ASSERT_EQ(png.width, 587u);
  ASSERT_EQ(png.height, 453u);
  EXPECT_EQ(png.At(26, 360), 0x000000u);  // the dot at (400, 5400) / 15
  EXPECT_EQ(png.At(100, 100), 0xFFFFFFu);
  EXPECT_EQ(png.At(493, 226), 0x000000u);  // the arc's east end, (7400, 3400)
  EXPECT_EQ(png.At(293, 26), 0x000000u);   // its north end, (4400, 400)
  EXPECT_EQ(png.At(227, 385), 0xFFFFFFu);  // never the southwest quarter
  bool red = false;
  for (std::uint32_t y = 360; y < 372; ++y)
    for (std::uint32_t x = 28; x < 42; ++x) red = red || png.At(x, y) == 0xFF0000u;
  EXPECT_TRUE(red);

  // The quarter arc from east to north: counterclockwise is SVG's sweep 0.
  std::string svg = PlotSvg(picture);
  EXPECT_NE(svg.find("<path d=\"M 7400 3400 A 3000 3000 0 0 0 4400 400\""), std::string::npos) << svg;
  EXPECT_NE(svg.find(">12</text>"), std::string::npos);
}

TEST(PlotFiles, PdfCrossReferencePointsAtEveryObject) {
  PrinterPages printer;
  printer.SetUpPage(true);
  printer.Line(0, 0, 14400, 10800);
  printer.SetUpPage(false);
  printer.Text(100, 100, "(7)");
  std::string pdf = PlotPdf(printer.TakeDocument());

  size_t xref = std::stoul(pdf.substr(pdf.rfind("startxref\n") + 10));
  ASSERT_EQ(pdf.compare(xref, 5, "xref\n"), 0);
  size_t count = std::stoul(pdf.substr(xref + 7));
  EXPECT_EQ(count, 8u);  // free entry, catalog, page tree, font, two pages with content
  for (size_t object = 1; object < count; ++object) {
    size_t offset = std::stoul(pdf.substr(xref + 7 + std::to_string(count).size() + 1 + 20 * object, 10));
    EXPECT_EQ(pdf.compare(offset, std::to_string(object).size() + 6, std::to_string(object) + " 0 obj"), 0) << object;
  }
  EXPECT_NE(pdf.find("/Count 2"), std::string::npos);
  EXPECT_NE(pdf.find("/MediaBox [0 0 792 612]"), std::string::npos);  // landscape Letter
  EXPECT_NE(pdf.find("/MediaBox [0 0 612 792]"), std::string::npos);
  EXPECT_NE(pdf.find("36 576 m 756 36 l S"), std::string::npos);      // corner to corner inside the margins
  EXPECT_NE(pdf.find("(\\(7\\)) Tj"), std::string::npos);
}

}  // namespace
}  // namespace vantrel
