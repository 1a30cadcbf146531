// The printed map sheet: the scale written and drawn, the drawing shrunk
// under the title block, and point numbers standing clear of the lines.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "command/reference.h"
#include "command/session.h"
#include "map/map_sheet.h"
#include "map/plot_map.h"
#include "map/plot_surface.h"
#include "notation/numbers.h"
#include "scripted_user.h"

namespace vantrel {
namespace {

TEST(MapSheet, ScaleTextAndScaleBarLength) {
  struct Case {
    double unitsPerFoot;
    int longest;
    const char* text;  // 1440 twips per inch over the units per foot
    double barFeet;
  };
  const Case cases[] = {
      {28.8, 1440, "1\" = 50.0 ft", 50},       // exactly 50 ft to the inch, the bar one inch long
      {6.8, 1440, "1\" = 212 ft", 200},        // 211.76: whole feet from 100 ft to the inch
      {4.0, 1440, "1\" = 360 ft", 200},        // 360 ft fit: 500 does not, 200 does
      {1.0, 1000, "1\" = 1440 ft", 1000},      // a power of ten itself
      {1440.0 / 0.25, 1440, "1\" = 0.3 ft", 0.2},
      {0, 1440, "", 0},                        // no fitted scale: nothing stated, no bar
      {INFINITY, 1440, "", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScaleText(c.unitsPerFoot), c.text) << c.unitsPerFoot;
    EXPECT_NEAR(ScaleBarFeet(c.unitsPerFoot, c.longest), c.barFeet, 1e-9) << c.unitsPerFoot;
  }
}

bool Crosses(const PlotPrimitive& line, double left, double top, double right, double bottom) {
  for (int k = 0; k <= 200; ++k) {
    double x = line.x + (line.x2 - line.x) * k / 200.0, y = line.y + (line.y2 - line.y) * k / 200.0;
    if (x > left && x < right && y > top && y < bottom) return true;
  }
  return false;
}

// A star of lines out of point 1 in five directions, one of them east
// where the number would stand by default, and an arc: every number is set
// clear of every line, above its dot where that is free.
TEST(MapSheet, NumbersStandClearOfTheLinesAndTheTitleBlockStatesTheScale) {
  struct PrintingUser : ScriptedUser {
    PrinterPages printer;
    PlotSurface* PrinterPage() override { return &printer; }
  } user;
  Session session{user};
  ASSERT_EQ(LoadCommandReference(VANTREL_REFERENCE_FILE, session.reference), "");
  session.files.SpoolOn = true;
  auto place = [&session](int n, double north, double east) { session.points.Store(n, north, east); };
  place(1, 500, 500);
  const double star[5][2] = {{500, 900}, {900, 500}, {900, 100}, {500, 100}, {100, 500}};
  for (int k = 0; k < 5; ++k) place(k + 2, star[k][0], star[k][1]);
  place(10, 500, 1300);
  session.RunBatch("MAP\n1,2,1,3,1,4,1,5,1,6,1,2,C10,3\n");
  std::vector<PlotPicture> pages = user.printer.TakeDocument();
  ASSERT_EQ(pages.size(), 1u);
  const PlotPicture& page = pages[0];

  PlotPicture sheet = MapSheet(page, {"Lot 7", "December 9, 2026"}, page.Width(), page.Height());
  ASSERT_EQ(sheet.Width(), page.Width());

  // Strokes of the drawing, then its dots, then its numbers, then the
  // title block's frame, texts and arrow.
  const std::vector<PlotPrimitive>& drawn = sheet.Primitives();
  size_t firstText = 0;
  while (firstText < drawn.size() && drawn[firstText].kind != PlotPrimitive::Kind::Text) ++firstText;
  std::vector<PlotPrimitive> lines;
  for (size_t i = 0; i + 1 < firstText; ++i) {
    if (drawn[i].kind == PlotPrimitive::Kind::Line) lines.push_back(drawn[i]);
    EXPECT_FALSE(drawn[i].kind == PlotPrimitive::Kind::Dot && drawn[i + 1].kind != PlotPrimitive::Kind::Dot &&
                 drawn[i + 1].kind != PlotPrimitive::Kind::Text)
        << "a stroke over a dot at " << i;
  }
  std::vector<PlotPrimitive> numbers;
  std::vector<std::string> block;
  for (size_t i = firstText; i < drawn.size(); ++i) {
    if (drawn[i].kind != PlotPrimitive::Kind::Text) continue;
    EXPECT_EQ(drawn[i].color, kPlotBlack) << drawn[i].text;
    if (numbers.size() < 6) numbers.push_back(drawn[i]);
    else block.push_back(drawn[i].text);
  }
  // 11 entries of the star and 2 and 3 of the arc, each point numbered once.
  ASSERT_EQ(numbers.size(), 6u);
  ASSERT_EQ(lines.size(), 11u);
  const PlotTransform& t = sheet.Transform();
  for (const PlotPrimitive& n : numbers) {
    double height = n.fontPoints * 20.0, width = n.text.size() * 0.6 * height;
    for (const PlotPrimitive& line : lines)
      EXPECT_FALSE(Crosses(line, n.x, n.y, n.x + width, n.y + height)) << "number " << n.text;
    EXPECT_GE(n.y, 0);
    EXPECT_LE(n.y + height, sheet.Height() - kTitleBlockHeight);
    // Point 5, the star's north-west corner, has nothing above it: its
    // number stands centred over its dot.
    if (n.text == "5") {
      double dotX = (session.points.East(5) - t.minEast) * t.scale + t.xOffset;
      double dotY = sheet.Height() - ((session.points.North(5) - t.minNorth) * t.scale + t.yOffset);
      EXPECT_NEAR(n.x + width / 2, dotX, 2);
      EXPECT_LT(n.y + height, dotY);
    }
  }

  // The drawing shrinks to leave room for the block (1080 high and 120
  // apart), so the stated scale is that of the paper.
  double factor = (page.Height() - 1080.0 - 120) / page.Height();
  EXPECT_NEAR(sheet.Transform().scale, page.Transform().scale * factor, 1e-4);
  // The scale bar under the scale, labelled with its round length.
  double bar = ScaleBarFeet(page.Transform().scale * factor, 3060 - 2 * 90);
  EXPECT_EQ(block, (std::vector<std::string>{"Lot 7", "December 9, 2026",
                                             "Scale " + ScaleText(page.Transform().scale * factor),
                                             PlainNumber(bar) + " ft", "N"}));
  for (const PlotPrimitive& p : sheet.Primitives()) {
    // The arc's hidden center sets no part of the fit and may lie off the
    // sheet; the arc itself stays on it.
    if (p.kind == PlotPrimitive::Kind::Arc) {
      EXPECT_LE(p.x - p.radius, sheet.Width());
      continue;
    }
    EXPECT_GE(p.x, 0);
    EXPECT_LE(p.x, sheet.Width()) << int(p.kind) << " " << p.text;
    EXPECT_GE(p.y, 0);
    EXPECT_LE(p.y, sheet.Height());
  }
}

// The plot window's picture (8800 x 6800, screen pens) printed on a
// landscape sheet fills the room above the block: 9600 / 6800 times larger,
// the scale stated for the paper, pens turned into printer dots.
TEST(MapSheet, SmallerPictureFillsTheSheetAndStatesItsPrintedScale) {
  PlotPicture window(8800, 6800);
  PlotTransform fitted;
  fitted.usable = true;
  fitted.scale = 4;
  window.Fitted(fitted);
  window.SetPenWidth(1);
  window.Line(400, 400, 8400, 6400);
  PlotPicture sheet = MapSheet(window, {"", "May 1, 2026"}, 14400, 10800);
  double factor = 9600.0 / 6800;
  const PlotPrimitive& line = sheet.Primitives().front();
  EXPECT_EQ(line.y, std::lround(400 * factor));
  EXPECT_EQ(line.y2, std::lround(6400 * factor));
  EXPECT_EQ(line.x + line.x2, 14400);  // centred across
  EXPECT_EQ(line.penWidth, 6);         // 15 twips of a screen pixel in dots of 2.4
  EXPECT_NEAR(sheet.Transform().scale, 4 * factor, 1e-5);
  std::vector<std::string> texts;
  for (const PlotPrimitive& p : sheet.Primitives())
    if (p.kind == PlotPrimitive::Kind::Text) texts.push_back(p.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"Vantrel map", "May 1, 2026", "Scale 1\" = 255 ft", "500 ft", "N"}));

  // A far-off point (as the map bounds it) on a small window enlarged 4.8
  // times stays within the range of the sheet's coordinates.
  PlotPicture small(2000, 2000);
  small.Dot(1000000000, -1000000000);
  PlotPicture enlarged = MapSheet(small, {}, 14400, 10800);
  const PlotPrimitive& far = enlarged.Primitives().front();
  EXPECT_EQ(far.x, 1000000000);
  EXPECT_EQ(far.y, -1000000000);
}

}  // namespace
}  // namespace vantrel
