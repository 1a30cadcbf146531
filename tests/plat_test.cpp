// The plat: the standard scale chosen, every course labelled with its
// bearing and distance as TPR lists it, the curve table, the title block,
// the figure centred; course labels in the window, the DXF and the PDF.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "command/reference.h"
#include "command/session.h"
#include "map/courses.h"
#include "map/map_sheet.h"
#include "map/plot_files.h"
#include "map/plot_surface.h"
#include "notation/geometry.h"
#include "scripted_user.h"

namespace vantrel {
namespace {

TEST(Plat, StandardScaleIsTheFirstThatFits) {
  constexpr int kInch = 1440;
  struct Case {
    double east, north;
    int width, height;  // inches of room
    double feetPerInch;
  };
  const Case cases[] = {
      {200, 100, 9, 9, 30},     // 1" = 20' would take 10 in
      {0, 0, 1, 1, 10},         // a single point: the largest drawing
      {400, 400, 10, 10, 40},   // exactly 10 in at 40
      {401, 10, 10, 10, 50},    // a foot more: the next scale
      {600, 800, 7, 9, 100},    // both ways must fit: 60 is too wide, 80 is no scale
      {25000, 100, 10, 10, 3000},  // beyond the engineer's scales: 2500 is none, 3000
      {INFINITY, 1, 1, 1, 0},   // nothing fits
      {100, 100, 0, 1, 0},      // no room
  };
  for (const Case& c : cases)
    EXPECT_EQ(StandardScale(c.east, c.north, c.width * kInch, c.height * kInch), c.feetPerInch)
        << c.east << " x " << c.north;
  EXPECT_EQ(StandardScaleText(40), "1\" = 40'");
  EXPECT_EQ(StandardScaleText(3000), "1\" = 3000'");
  EXPECT_EQ(StandardScaleText(0), "");
}

TEST(Plat, CourseTextIsTheBearingAndDistanceTprGives) {
  struct Case {
    double dEast, dNorth;
    const char* text;
  };
  const Case cases[] = {
      {1, 1, "N 45\u00B000'00\" E  1.414'"},
      {0, 1, "N 0\u00B000'00\" E  1.000'"},  // due north names its quadrant
      {1, 0, "N 90\u00B000'00\" E  1.000'"},
      {-3, -4, "S 36\u00B052'12\" W  5.000'"},   // 36 52 11.6 rounds up
      {-84.184, 36.168, "N 66\u00B045'01\" W  91.625'"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CourseText(AzimuthOf(c.dEast, c.dNorth), std::hypot(c.dEast, c.dNorth)), c.text) << c.text;
}

class PlatTest : public ::testing::Test {
 protected:
  struct PlottingUser : ScriptedUser {
    PlotPicture window;
    PlotSurface* PlotWindow() override { return &window; }
  } user;
  Session session{user};

  void SetUp() override {
    ASSERT_EQ(LoadCommandReference(VANTREL_REFERENCE_FILE, session.reference), "");
    // A lot 100 ft wide and 200 ft deep whose south line is a quarter
    // circle about 5 bulging south.
    session.RunBatch("KWN\n1,1000,1000,2,1000,1100,3,1200,1100,4,1200,1000,5,1050,1050\n");
  }

  // TPR's course rows (bearing columns and distance) of the figure.
  std::vector<std::string> TprCourses(const std::string& figure) {
    user.transcript.clear();
    session.RunBatch("TPR\nB\n" + figure + "\n");
    std::vector<std::string> rows;
    // Due north has blanks for its quadrant letters.
    const std::regex row(R"(^\s+([NS]?)\s*(\d+)\s+(\d+)\s+(\d+)([EW]?)\s+([0-9.]+).*)");
    std::smatch m;
    for (const std::string& line : user.transcript)
      if (std::regex_match(line, m, row))
        rows.push_back((m[1].length() ? m[1].str() : "N") + " " + m[2].str() + " " + m[3].str() + " " + m[4].str() +
                       " " + (m[5].length() ? m[5].str() : "E") + " " + m[6].str());
    return rows;
  }
};

// Bearing and distance of a label as TPR writes them ("N 66 45 1 E 91.625").
std::string AsTprWrites(const std::string& label) {
  static const std::regex course("([NS]) (\\d+)\u00B0(\\d\\d)'(\\d\\d)\" ([EW])  ([0-9.]+)'");
  std::smatch m;
  if (!std::regex_match(label, m, course)) return {};
  return m[1].str() + " " + m[2].str() + " " + std::to_string(std::stoi(m[3].str())) + " " +
         std::to_string(std::stoi(m[4].str())) + " " + m[5].str() + " " + m[6].str();
}

TEST_F(PlatTest, SheetLabelsEveryCourseAsTprListsItWithACurveTableAndATitleBlock) {
  std::vector<std::string> tpr = TprCourses("1,C5,2,3,4,1");
  ASSERT_EQ(tpr.size(), 4u);  // the chord of the arc, then three lines
  session.RunBatch("MAP\n1,C5,2,3,4,1\n");
  PlatOptions options{{"Lot 7", "May 1, 2026"}, true, true, false, true, 0};
  PlotPicture sheet = PlatSheet(session.plot.drawing, options, kLetterPaper);

  // The sheet is the letter page inside its margins, upright: the lot is
  // taller than wide.
  EXPECT_EQ(sheet.Width(), 12240 - 2 * kSheetMargin);
  EXPECT_EQ(sheet.Height(), 15840 - 2 * kSheetMargin);

  std::vector<std::string> courses, texts;
  std::map<std::string, const PlotPrimitive*> byText;
  for (const PlotPrimitive& p : sheet.Primitives()) {
    if (p.kind != PlotPrimitive::Kind::Text) continue;
    texts.push_back(p.text);
    byText[p.text] = &p;
    std::string written = AsTprWrites(p.text);
    if (!written.empty()) courses.push_back(written);
    EXPECT_GT(p.angle, -90) << p.text;  // every text upright
    EXPECT_LE(p.angle, 90) << p.text;
  }
  // Three lines labelled along them, the chord in the curve table's row.
  std::vector<std::string> expected(tpr.begin() + 1, tpr.end());
  expected.push_back(tpr.front());
  std::vector<std::string> chord{"C1", "70.711'", "90\u00B000'00\"", "111.072'", "N 90\u00B000'00\" E", "100.000'"};
  for (const std::string& cell : chord) EXPECT_TRUE(byText.count(cell)) << cell;
  EXPECT_EQ(courses.size(), 3u);
  courses.push_back(AsTprWrites(chord[4] + "  " + chord[5]));
  EXPECT_EQ(courses, expected);
  // The curve number stands by the arc as well as in the table.
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "C1"), 2);

  // 220.7 ft deep in about 8.3 in of room: 1" = 30'; the title block names
  // the project, date and scale, and the legend says what is shown.
  for (const char* text : {"Lot 7", "May 1, 2026", "Scale 1\" = 30'", "N", "Bearings and distances in feet",
                           "C1, C2 ...: curves in the curve table"})
    EXPECT_TRUE(byText.count(text)) << text;
  EXPECT_NEAR(sheet.Transform().scale, 1440.0 / 30, 1e-4);

  // The figure is centred across the sheet and in the room above the table:
  // the east and west lines as far from the edges, the north line as far
  // from the top as the arc's bottom from the table.
  const PlotTransform& t = sheet.Transform();
  auto x = [&](double east) { return (east - t.minEast) * t.scale + t.xOffset; };
  auto y = [&](double north) { return sheet.Height() - ((north - t.minNorth) * t.scale + t.yOffset); };
  EXPECT_NEAR(x(1000) + x(1100), sheet.Width(), 2);
  double bottom = y(1050 - std::hypot(50, 50)), top = y(1200);
  double tableTop = byText.at("Curve")->y - 30 - 120;  // heading inside its row; the gap above the table
  EXPECT_NEAR(top, tableTop - bottom, 2);
}

TEST_F(PlatTest, LabelsStandClearOfTheirLines) {
  session.plot.ShowCourses = true;
  session.RunBatch("MAP\n1,C5,2,3,4,1\n");
  // The window's picture carries the labels too, as the sheet does.
  int labels = 0;
  for (const PlotPrimitive& p : user.window.Primitives()) {
    std::string written = AsTprWrites(p.text);
    if (written.empty()) continue;
    ++labels;
    // The label's middle, a text height at most from where it starts,
    // stays off every line of the lot.
    double turn = p.angle * PI / 180, h = p.fontPoints * 20.0, w = TextWidth(p.text, p.fontPoints);
    double cx = p.x + std::cos(turn) * w / 2 + std::sin(turn) * h / 2;
    double cy = p.y - std::sin(turn) * w / 2 + std::cos(turn) * h / 2;
    for (const PlotPrimitive& l : user.window.Primitives()) {
      if (l.kind != PlotPrimitive::Kind::Line) continue;
      double dx = l.x2 - l.x, dy = l.y2 - l.y, len = std::hypot(dx, dy);
      double along = std::clamp(((cx - l.x) * dx + (cy - l.y) * dy) / (len * len), 0.0, 1.0);
      EXPECT_GE(std::hypot(cx - (l.x + along * dx), cy - (l.y + along * dy)), h / 2) << p.text;
    }
  }
  EXPECT_EQ(labels, 3);
}

TEST_F(PlatTest, HiddenCentersDoNotSetTheFit) {
  // An arc about a far center: nearly straight, 100 ft long.
  session.RunBatch("KWN\n6,0,0,7,100,0,8,50,-1000\n");
  session.plot.ShowCenters = false;
  session.RunBatch("MAP\n6,C8,7\n");
  float hidden = session.plot.screen.scale;
  session.plot.ShowCenters = true;
  session.RunBatch("COM\n-\nMAP\n6,C8,7\n");
  float shown = session.plot.screen.scale;
  EXPECT_GT(hidden, 5 * shown);
  EXPECT_NEAR(hidden, (6800 - 800) / 100.0, 0.5);  // the 100 ft fill the window's height

  PlatOptions options{{"Lot 7", "May 1, 2026"}, true, true, false, false, 0};
  PlotPicture plat = PlatSheet(session.plot.drawing, options, kLetterPaper);
  options.centers = true;
  PlotPicture withCenter = PlatSheet(session.plot.drawing, options, kLetterPaper);
  EXPECT_GT(plat.Transform().scale, withCenter.Transform().scale);
}

TEST_F(PlatTest, DxfAndPdfCarryTheCourses) {
  session.RunBatch("MAP\n1,C5,2,3,4,1\n");
  std::string plain = PlotDxf(session.plot.drawing);
  EXPECT_EQ(plain.find("V-COURSES"), std::string::npos);
  std::string dxf = PlotDxf(session.plot.drawing, true);
  EXPECT_NE(dxf.find("V-COURSES\r\n"), std::string::npos);
  EXPECT_NE(dxf.find("V-TABLE\r\n"), std::string::npos);
  EXPECT_NE(dxf.find("S 0\\U+00B000'00\" E  200.000'"), std::string::npos);  // east line, southward
  // The plat's PDF sets the degree sign in its font's encoding and turns
  // the labels of the lines that are not level.
  PlatOptions options{{"Lot 7", "May 1, 2026"}, true, true, false, true, 0};
  std::string pdf = PlotPdf({PlatSheet(session.plot.drawing, options, kA4Paper)});
  EXPECT_NE(pdf.find("/Encoding /WinAnsiEncoding"), std::string::npos);
  EXPECT_NE(pdf.find("(N 90\\260"), std::string::npos);
  EXPECT_NE(pdf.find(" Tm (S 0\\260"), std::string::npos);
  // A4 inside its margins: 210 x 297 mm.
  EXPECT_NE(pdf.find("/MediaBox [0 0 595.3 841.9]"), std::string::npos);
}

}  // namespace
}  // namespace vantrel
