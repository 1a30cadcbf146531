// Deed work: map checks of record calls against closures worked by hand,
// cuts whose two parts are measured again here by a shoelace and segment
// sum of the test's own, boundaries that cross themselves, and the legal
// description of every figure of the example jobs traversed back through
// MCK.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <regex>
#include <sstream>

#include "deeds/boundary.h"
#include "deeds/record_calls.h"
#include "scripted_user.h"
#include "session_fixture.h"
#include "temp_folder.h"
#include "text_files.h"

namespace fs = std::filesystem;

namespace vantrel {
namespace {

constexpr double kPi = 3.14159265358979323846;

// --- Map checks ---------------------------------------------------------

RecordCall Line(double azimuthDegrees, double distance) {
  return {CallKind::Line, azimuthDegrees * kPi / 180, distance, 0, 0, false};
}

TEST(MapCheckTest, ClosuresWorkedByHand) {
  // A 100 ft square run north, east, south and 100.01 ft back west: the
  // end lies 0.01 ft west of the start; the error line runs along the first
  // course's line, so the area stays 10000.
  // The quarter-circle lot: 100 ft north, a curve right of radius 100
  // through 90 degrees (given three ways: tangent, chord, radial), 200 ft
  // south and 100 ft west back to the start: a 100 ft square and a quarter
  // circle, 10000 + 2500π = 17853.982 sq ft, perimeter 400 + 50π.
  const double quarter = 50 * kPi;
  const std::vector<RecordCall> tangentCurve = {
      Line(0, 100), {CallKind::Tangent, 0, quarter, 100, 0, true}, Line(180, 200), Line(270, 100)};
  const std::vector<RecordCall> chordCurve = {
      Line(0, 100), {CallKind::Chord, kPi / 4, 100 * std::sqrt(2.0), 100, 0, true}, Line(180, 200), Line(270, 100)};
  const std::vector<RecordCall> radialCurve = {
      Line(0, 100), {CallKind::NonTangent, kPi / 2, 0, 100, kPi / 2, true}, Line(180, 200), Line(270, 100)};
  // The same lot mirrored west of its first course, the curve to the left.
  const std::vector<RecordCall> leftCurve = {
      Line(0, 100), {CallKind::Tangent, 0, quarter, 100, 0, false}, Line(180, 200), Line(90, 100)};
  // A half circle of radius 50 closed by its diameter, 1250π = 3926.991:
  // a curve of 180 degrees has no tangent length.
  const std::vector<RecordCall> halfCircle = {{CallKind::NonTangent, kPi / 2, 0, 50, kPi, false}, Line(270, 100)};
  struct Case {
    const char* name;
    std::vector<RecordCall> calls;
    double errorNorth, errorEast, perimeter, area;
  } cases[] = {
      {"square", {Line(0, 100), Line(90, 100), Line(180, 100), Line(270, 100.01)}, 0, -0.01, 400.01, 10000},
      {"tangent curve", tangentCurve, 0, 0, 400 + quarter, 10000 + 2500 * kPi},
      {"chord curve", chordCurve, 0, 0, 400 + quarter, 10000 + 2500 * kPi},
      {"radial curve", radialCurve, 0, 0, 400 + quarter, 10000 + 2500 * kPi},
      {"left curve", leftCurve, 0, 0, 400 + quarter, 10000 + 2500 * kPi},
      {"half circle", halfCircle, 0, 0, 100 + 50 * kPi, 1250 * kPi},
  };
  for (const Case& c : cases) {
    CallTraverse traverse = TraverseCalls({5000, 3000}, c.calls);
    ASSERT_EQ(traverse.problem, CallProblem::None) << c.name;
    CallClosure closure = CloseCalls({5000, 3000}, traverse.courses);
    EXPECT_NEAR(closure.errorNorth, c.errorNorth, 1e-9) << c.name;
    EXPECT_NEAR(closure.errorEast, c.errorEast, 1e-9) << c.name;
    EXPECT_NEAR(closure.perimeter, c.perimeter, 1e-9) << c.name;
    EXPECT_NEAR(closure.area, c.area, 1e-6) << c.name;
  }
  EXPECT_FALSE(TraverseCalls({0, 0}, halfCircle).courses[0].tangent);
  // Curves to the right bend the lot east of its first course, to the left west.
  EXPECT_NEAR(TraverseCalls({0, 0}, tangentCurve).courses[1].end.east, 100, 1e-9);
  EXPECT_NEAR(TraverseCalls({0, 0}, leftCurve).courses[1].end.east, -100, 1e-9);
}

TEST(MapCheckTest, CallsThatCannotExist) {
  struct Case {
    RecordCall call;
    bool first;
    CallProblem problem;
  } cases[] = {
      {{CallKind::Chord, 0, 201, 100, 0, true}, false, CallProblem::ChordTooLong},
      {{CallKind::Chord, 0, 200, 100, 0, true}, false, CallProblem::None},  // a half circle exactly
      {{CallKind::Chord, 0, 10, 0, 0, true}, false, CallProblem::ZeroRadius},
      {{CallKind::Tangent, 0, 10, 100, 0, true}, true, CallProblem::NoCourseBefore},
      {{CallKind::Tangent, 0, 200 * kPi, 100, 0, true}, false, CallProblem::ArcTooLong},
      {{CallKind::NonTangent, 0, 0, 100, -0.1, true}, false, CallProblem::AngleOutOfRange},
      {{CallKind::Line, 0, -5, 0, 0, false}, false, CallProblem::NegativeLength},
  };
  for (const Case& c : cases) {
    std::vector<RecordCall> calls;
    if (!c.first) calls.push_back(Line(0, 10));
    calls.push_back(c.call);
    CallTraverse traverse = TraverseCalls({0, 0}, calls);
    EXPECT_EQ(traverse.problem, c.problem);
    if (c.problem != CallProblem::None) {
      EXPECT_EQ(traverse.refusedCall, calls.size() - 1);
    }
  }
}

// --- Boundaries ---------------------------------------------------------

Course Corner(double north, double east) { return {{north, east}, std::nullopt}; }
Course ArcFrom(double north, double east, double centreNorth, double centreEast, double radius, double delta) {
  return {{north, east}, BoundaryArc{{centreNorth, centreEast}, radius, delta}};
}

TEST(BoundaryTest, CrossingsOfItself) {
  struct Case {
    const char* name;
    Boundary boundary;
    bool crosses;
  } cases[] = {
      {"square", {Corner(0, 0), Corner(100, 0), Corner(100, 100), Corner(0, 100)}, false},
      {"bow tie", {Corner(0, 0), Corner(100, 100), Corner(100, 0), Corner(0, 100)}, true},
      {"course doubling back", {Corner(0, 0), Corner(100, 0), Corner(50, 0), Corner(50, 50)}, true},
      {"corner listed twice", {Corner(0, 0), Corner(100, 0), Corner(100, 0), Corner(100, 100), Corner(0, 100)}, false},
      {"touching at a corner", {Corner(0, 0), Corner(100, 0), Corner(50, 50), Corner(100, 100), Corner(0, 100), Corner(50, 50)}, true},
      // A half circle closed by its diameter, and a curve split at a corner.
      {"half circle", {ArcFrom(0, 0, 0, 50, 50, kPi), Corner(0, 100)}, false},
      {"curve in two arcs", {ArcFrom(0, 0, 0, 50, 50, kPi / 2), ArcFrom(50, 50, 0, 50, 50, kPi / 2), Corner(0, 100)}, false},
      // An arc bulging out past the far side of a narrow figure.
      {"arc through a side", {ArcFrom(0, 0, 0, 50, 50, kPi), Corner(0, 100), Corner(20, 100), Corner(20, 0)}, true},
      {"arc into the parcel", {Corner(0, 0), Corner(200, 0), Corner(200, 200), ArcFrom(0, 200, -100, 100, 100 * std::sqrt(2.0), -kPi / 2)}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(SelfCrossing(c.boundary).has_value(), c.crosses) << c.name;
}

TEST(BoundaryTest, PartLeftOfALine) {
  // A 100 ft square cut by lines running west: north lies to their right,
  // so the line at offset n leaves 100 n sq ft south of it.
  Boundary square = {Corner(0, 0), Corner(100, 0), Corner(100, 100), Corner(0, 100)};
  Sweep west{{0, 0}, 3 * kPi / 2};
  for (double north : {0.0, 12.5, 50.0, 100.0}) {
    LinePart part = PartLeftOf(square, west, north);
    EXPECT_NEAR(part.area, 100 * north, 1e-9) << north;
    if (north > 0 && north < 100) {
      EXPECT_EQ(part.crossings.size(), 2u) << north;
    }
  }
  // A half disc of radius 50 about (0, 50) cut through its middle by the
  // line east 50 running north: a quarter disc either side.
  Boundary halfDisc = {ArcFrom(0, 0, 0, 50, 50, kPi), Corner(0, 100)};
  EXPECT_NEAR(PartLeftOf(halfDisc, {{0, 50}, 0}, 0).area, 625 * kPi, 1e-6);
}

// --- Cuts -----------------------------------------------------------------

// The area of a figure listed as ARE lists it ("C" before a centre),
// worked here apart from the program: the shoelace over the corners in
// counter-clockwise terms, and for each arc the segment R²/2·(θ − sin θ)
// between arc and chord, θ from the dot and cross products of the radii,
// added when the arc turns counter-clockwise about its centre.
double IndependentArea(const Session& s, const std::string& list) {
  struct Entry {
    double x, y;
    bool centre;
  };
  std::vector<Entry> entries;
  std::stringstream in(list);
  for (std::string field; std::getline(in, field, ',');) {
    bool centre = field[0] == 'C';
    int n = std::stoi(centre ? field.substr(1) : field);
    entries.push_back({s.points.East(n), s.points.North(n), centre});
  }
  std::vector<Entry> corners;
  double twiceArea = 0, segments = 0;
  for (size_t k = 0; k < entries.size(); ++k) {
    if (entries[k].centre) {
      const Entry &a = entries[k - 1], &c = entries[k], &b = entries[k + 1];
      double ax = a.x - c.x, ay = a.y - c.y, bx = b.x - c.x, by = b.y - c.y;
      double cross = ax * by - ay * bx, dot = ax * bx + ay * by;
      double theta = std::atan2(std::fabs(cross), dot);
      double radius = (std::hypot(ax, ay) + std::hypot(bx, by)) / 2;
      segments += (cross > 0 ? 1 : -1) * radius * radius / 2 * (theta - std::sin(theta));
    } else {
      corners.push_back(entries[k]);
    }
  }
  for (size_t k = 0; k < corners.size(); ++k) {
    const Entry &p = corners[k], &q = corners[(k + 1) % corners.size()];
    twiceArea += p.x * q.y - q.x * p.y;
  }
  return std::fabs(twiceArea / 2 + segments);
}

class CutTest : public SessionTest {};

TEST_F(CutTest, BothPartsMeasuredApart) {
  // The corner lot of the guide: 250 by 180 ft, the street corner rounded
  // with a 25 ft radius about 8; and a 200 ft square whose west side is an
  // arc about 5 bulging into it (a segment taken off).
  Run("KWN\r\n1,5000,3000,7,5000,3225,8,4975,3225,9,4975,3250,3,4820,3250,4,4820,3000\r\n"
      "11,200,0,12,200,200,13,0,200,14,0,0,15,100,-100");
  const std::string cornerLot = "1,7,C8,9,3,4";
  const std::string bulgingSquare = "11,12,13,14,C15,11";
  struct Case {
    const char* method;
    std::string figure;
    double target;
    const char* part;  // the parts as ARE would list them, worked out by hand
    const char* remainder;
  } cases[] = {
      {"P,20000,3,4,101,102", cornerLot, 20000, "101,3,4,102", "102,1,7,C8,9,101"},
      {"P,1A,3,4,101,102", cornerLot, 43560, "101,C8,9,3,4,102", "102,1,7,C8,101"},  // through the arc
      {"D,44000,S 0 E,101,102", cornerLot, 44000, "102,4,1,7,C8,101", "101,C8,9,3,102"},
      {"H,20000,1,101", cornerLot, 20000, "1,7,C8,9,101", "101,3,4,1"},
      {"H,44800,4,101", cornerLot, 44800, "4,1,7,C8,9,101", "101,3,4"},
      {"H,1000,1,101", cornerLot, 1000, "1,7,C8,101", "101,C8,9,3,4,1"},  // ends on the arc
      {"D,10000,N 90 E,101,102", bulgingSquare, 10000, "102,C15,11,12,101", "101,13,14,C15,102"},
      {"P,30000,13,14,101,102", bulgingSquare, 30000, "101,13,14,C15,102", "102,C15,11,12,101"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> report = Run(std::string("CUT\r\n") + c.method + "\r\n" + c.figure);
    std::string trace = c.method;
    auto line = [&](const std::string& start) {
      auto found = std::find_if(report.begin(), report.end(), [&](const std::string& l) { return l.rfind(start, 0) == 0; });
      return found == report.end() ? std::string() : found->substr(start.size());
    };
    EXPECT_EQ(line("Part Cut Off: "), c.part) << trace;
    EXPECT_EQ(line("Remainder: "), c.remainder) << trace;
    double total = IndependentArea(session, c.figure);
    EXPECT_NEAR(IndependentArea(session, c.part), c.target, 1e-3) << trace;
    EXPECT_NEAR(IndependentArea(session, c.remainder), total - c.target, 1e-3) << trace;
  }
}

TEST_F(CutTest, RefusalsStoreNothing) {
  Run("KWN\r\n1,0,0,2,100,0,3,100,100,4,0,100,5,50,50\r\n"
      "21,0,0,22,0,300,23,100,300,24,100,200,25,20,200,26,20,100,27,100,100,28,100,0");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"P,10000,1,2,101,102\r\n1,2,3,4", "The area to cut is not smaller than the figure; nothing stored"},
      {"P,500,1,3,101,102\r\n1,2,3,4", "Pt 1 to Pt 3 is not a side of the figure"},
      {"H,500,5,101\r\n1,2,3,4", "Pt 5 is not a corner of the figure"},
      {"D,500,N 0 E,101,102\r\n1,3,2,4", "The figure crosses itself: the course Pt 1 to Pt 3 meets the course Pt 2 to Pt 4; nothing stored"},
      {"P,500,1,2,101,4\r\n1,2,3,4", "New point 4 is a point of the figure; nothing stored"},
      // A U: a 300 by 20 ft base and two 100 by 80 ft arms. The line
      // parallel to the base that cuts 15,000 sq ft crosses both arms.
      {"P,15000,21,22,101,102\r\n21,22,23,24,25,26,27,28",
       "The line that cuts off that area crosses the figure more than twice; nothing stored"},
  };
  for (const auto& [job, message] : cases) {
    std::vector<std::string> report = Run("CUT\r\n" + job);
    ASSERT_FALSE(report.empty()) << job;
    EXPECT_EQ(report.back(), "Info Only: " + message) << job;
    EXPECT_FALSE(session.points.IsDefined(101)) << job;
  }
}

// --- Descriptions ---------------------------------------------------------

// The calls of a description as MCK takes them: each course's quadrant
// bearing and distance, each curve by its chord, radius and side.
std::string CallsOf(const std::string& description) {
  static const std::regex bearing(R"re((North|South) (\d+)°(\d+)'(\d+)" (East|West))re");
  auto brg = [](std::smatch m) {
    return std::string(1, m[1].str()[0]) + " " + m[2].str() + " " + m[3].str() + " " + m[4].str() + " " + m[5].str()[0];
  };
  static const std::regex straight(R"(^thence (.*), ([\d.]+) feet)");
  static const std::regex curve(
      R"(^thence along a curve to the (right|left) having a radius of ([\d.]+) feet, .*, and a chord bearing and distance of (.*), ([\d.]+) feet)");
  std::string calls;
  std::string rest = description.substr(description.find("; ") + 2);
  size_t end = rest.find(" to the point of beginning");
  std::stringstream pieces(rest.substr(0, end));
  for (std::string piece; std::getline(pieces, piece, ';');) {
    if (piece[0] == ' ') piece.erase(0, 1);
    std::smatch m, b;
    std::string text;
    if (std::regex_search(piece, m, curve)) {
      std::string chordBearing = m[3].str();
      EXPECT_TRUE(std::regex_search(chordBearing, b, bearing)) << piece;
      text = "C," + brg(b) + "," + m[4].str() + "," + m[2].str() + "," + (m[1] == "right" ? "R" : "L");
    } else if (std::regex_search(piece, m, straight)) {
      std::string courseBearing = m[1].str();
      EXPECT_TRUE(std::regex_search(courseBearing, b, bearing)) << piece;
      text = "L," + brg(b) + "," + m[2].str();
    } else {
      ADD_FAILURE() << "not a call: " << piece;
    }
    calls += (calls.empty() ? "" : ",\r\n") + text;
  }
  return calls;
}

// The figures an example job gives ARE, TPR and LDW, each on one line
// (lines ending in a comma joined to the next; the option line of TPR, or
// an option before the figure, and the options lines of LDW left out).
std::vector<std::string> FiguresOf(const std::string& job) {
  std::vector<std::string> figures;
  bool inArea = false, option = false;
  for (std::string line : Lines(job)) {
    line = line.substr(0, line.find('\''));
    line.erase(line.find_last_not_of(' ') + 1);
    line.erase(0, std::min(line.find_first_not_of(' '), line.size()));
    if (line.size() == 3 && std::isalpha(static_cast<unsigned char>(line[0]))) {
      inArea = line == "ARE" || line == "TPR" || line == "LDW";
      option = line == "TPR";
      continue;
    }
    if (!inArea || line.empty()) continue;
    if (!figures.empty() && figures.back().ends_with(',')) {  // the figure goes on on this line
      figures.back() += line;
      continue;
    }
    if (!option && !std::isdigit(static_cast<unsigned char>(line[0]))) continue;
    if (option) {
      option = false;
      line = line.size() > 2 ? line.substr(2) : "";
      if (line.empty()) continue;
    }
    figures.push_back(line);
  }
  return figures;
}

std::string After(const std::vector<std::string>& report, const std::string& start) {
  for (const std::string& line : report)
    if (line.rfind(start, 0) == 0) return line.substr(start.size());
  return {};
}

TEST(DescriptionTest, EveryExampleFigureRoundTripsThroughMapCheck) {
  const fs::path examples = fs::path(VANTREL_SCENARIO_DIR).parent_path().parent_path() / "examples";
  int figures = 0;
  for (const auto& example : fs::directory_iterator(examples)) {
    if (example.path().extension() != ".cmd") continue;
    TempFolder folder("vantrel-deeds-example");
    for (const auto& file : fs::directory_iterator(examples))
      if (file.path().extension() != ".cmd") fs::copy_file(file.path(), folder.path() / file.path().filename());
    ScriptedUser user;
    Session session(user);
    session.files.ProgramFolder = folder.path().string();
    ASSERT_EQ(LoadCommandReference(VANTREL_REFERENCE_FILE, session.reference), "");
    std::string job = ReadFile(example.path());
    session.RunBatch(job);
    for (const std::string& figure : FiguresOf(job)) {
      std::string trace = example.path().filename().string() + ": " + figure;
      auto run = [&](const std::string& pane) {
        size_t before = user.transcript.size();
        session.RunBatch(pane);
        return std::vector<std::string>(user.transcript.begin() + static_cast<long>(before), user.transcript.end());
      };
      std::vector<std::string> description = run("LDW\r\n" + figure);
      ASSERT_GE(description.size(), 2u) << trace;
      std::string text;
      for (size_t k = 1; k < description.size(); ++k) text += (k > 1 ? " " : "") + description[k];
      std::string start = figure.substr(0, figure.find(','));
      std::vector<std::string> check = run("MCK\r\n" + start + "\r\n" + CallsOf(text));
      double area = std::stod(After(run("ARE\r\n" + figure), "Area = "));
      double perimeter = std::stod(After(check, "Perimeter = "));
      EXPECT_LE(std::stod(After(check, "Error of Closure = ")), 0.01) << trace;
      // Within what calls rounded to 0.01 ft and 1 second can move: a band
      // 0.01 ft wide along the perimeter.
      EXPECT_NEAR(std::stod(After(check, "Area = ")), area, 0.01 * perimeter) << trace;
      ++figures;
    }
  }
  EXPECT_GE(figures, 5);
}

}  // namespace
}  // namespace vantrel
