// The session file: a round trip keeps every stored number to the bit and
// the input pane byte for byte; a file this version cannot read changes
// nothing. Also a run stopped between two lines keeps what those lines made.
#include <gtest/gtest.h>

#include <cstring>

#include "command/session.h"
#include "session_fixture.h"
#include "store/session_file.h"

namespace vantrel {
namespace {

class SessionFileTest : public SessionTest {};

TEST_F(SessionFileTest, RoundTripIsExactToTheBit) {
  const double values[] = {0.1, 1.0 / 3, -1e-300, 1.7976931348623157e308, 5e-324, -0.0, 123456789.123456789};
  int k = 1;
  for (double v : values) {
    session.points.Store(k, v, -v / 7);
    session.registers.angle[k] = v;
    session.registers.distance[99 - k] = v / 3;
    k += 13;
  }
  session.points.Move(1000, 5, UndefinedCoord);  // one coordinate without the other
  session.points.SetElevation(14, 1234.5678901);
  session.points.SetElevation(27, -0.0);
  session.points.SetDescription(14, "IP found, 5/8\" rebar \\ cap");
  session.points.SetDescription(1, "  blanks kept ");
  session.files.ProjectName = "Lot 7\\north\r\nline";
  session.files.SpoolFileText = "c:\\spool";
  session.files.SpoolOn = true;
  session.files.IODefault = false;
  session.Display = false;
  session.plot.ShowCenters = true;
  session.plot.ShowPoints = false;
  Run("GCS\nEPSG:3566,0.99985,T\nGRF\n1,N40 12.000,W111 50.000\n");
  ASSERT_TRUE(session.gps.HasReference());
  ASSERT_TRUE(session.grid.IsSet());
  const std::string pane = "KWN\r\n1,100,200\n\nCOM\r\nAngle 45\xc2\xb0 \\n input 3\n  ";

  std::string text = SessionFileText(session, pane);
  EXPECT_EQ(text.substr(0, text.find('\n')), "Vantrel session 2");

  ScriptedUser otherUser;
  Session other(otherUser);
  std::string otherPane = "old";
  ASSERT_EQ(ReadSessionFile(text, other, otherPane), "");
  EXPECT_EQ(otherPane, pane);
  ASSERT_EQ(other.points.UsedCount(), session.points.UsedCount());
  for (int n : session.points.Numbers()) {
    const Point &read = other.points[n], &written = session.points[n];
    EXPECT_EQ(std::memcmp(&read.north, &written.north, sizeof(double)), 0) << n;
    EXPECT_EQ(std::memcmp(&read.east, &written.east, sizeof(double)), 0) << n;
    EXPECT_EQ(read.description, written.description) << n;
    ASSERT_EQ(read.elevation.has_value(), written.elevation.has_value()) << n;
    if (written.elevation) {
      EXPECT_EQ(std::memcmp(&*read.elevation, &*written.elevation, sizeof(double)), 0) << n;
    }
  }
  EXPECT_EQ(std::memcmp(&other.registers.angle, &session.registers.angle, sizeof session.registers.angle), 0);
  EXPECT_EQ(std::memcmp(&other.registers.distance, &session.registers.distance, sizeof session.registers.distance), 0);
  EXPECT_EQ(other.files.ProjectName, session.files.ProjectName);
  EXPECT_EQ(other.files.SpoolFileText, session.files.SpoolFileText);
  EXPECT_EQ(std::make_tuple(other.files.SpoolOn, other.files.IODefault, other.Display, other.plot.ShowCenters,
                            other.plot.ShowPoints, other.plot.ShowPointNumbers),
            std::make_tuple(true, false, false, true, false, true));
  EXPECT_EQ(other.gps.ReferencePoint, session.gps.ReferencePoint);
  EXPECT_EQ(other.gps.ReferenceLatitude, session.gps.ReferenceLatitude);
  EXPECT_EQ(other.gps.ReferenceLongitude, session.gps.ReferenceLongitude);
  EXPECT_EQ(std::memcmp(&other.gps.NorthScale, &session.gps.NorthScale, sizeof(float)), 0);
  EXPECT_EQ(std::memcmp(&other.gps.EastScale, &session.gps.EastScale, sizeof(float)), 0);
  ASSERT_TRUE(other.grid.IsSet());
  EXPECT_EQ(other.grid.projection.Name(), session.grid.projection.Name());
  EXPECT_EQ(std::make_tuple(other.grid.Definition, other.grid.CombinedFactor, other.grid.TrueNorth),
            std::make_tuple(std::string("EPSG:3566"), 0.99985, true));
  // Written again, the same file.
  EXPECT_EQ(SessionFileText(other, otherPane), text);
}

TEST_F(SessionFileTest, FilesThisVersionCannotReadChangeNothing) {
  session.points.Store(3, 10, 20);

  std::string good = SessionFileText(session, "KWN\r\n");
  struct Case {
    std::string text, message;
  };
  const Case cases[] = {
      {"", "This is not a Vantrel session file"},
      {"KWN\r\n1,100,200\r\n", "This is not a Vantrel session file"},
      {"Vantrel session 4\ninput 0\n",
       "This session file was written by a newer Vantrel (version 4); it is left as it is"},
      {"Vantrel session 2\ngrid-factor 1.5\ninput 0\n",
       "The session file has an entry this version cannot read on line 2: grid-factor 1.5"},
      {"Vantrel session 2\ngrid-system EPSG:4326\ninput 0\n",
       "The session's coordinate system EPSG:4326 cannot be used: it is not a projected coordinate system (grid "
       "north and east)"},
      {"Vantrel session 1\nproject Lot 7\n", "The session file is incomplete (no input pane)"},
      {"Vantrel session 1\ninput 10\nKWN\n", "The session file is incomplete (line 2)"},
      {"Vantrel session 1\npoint 1001 1 2\ninput 0\n",
       "The session file has an entry this version cannot read on line 2: point 1001 1 2"},
      {"Vantrel session 1\npoint 5 1\ninput 0\n",
       "The session file has an entry this version cannot read on line 2: point 5 1"},
      {"Vantrel session 1\nangle-register 3 inf\ninput 0\n",
       "The session file has an entry this version cannot read on line 2: angle-register 3 inf"},
      {"Vantrel session 1\nspool yes\ninput 0\n",
       "The session file has an entry this version cannot read on line 2: spool yes"},
      {"Vantrel session 1\nelevation 4 100\ninput 0\n",
       "The session file has an entry this version cannot read on line 2: elevation 4 100"},
      {"Vantrel session 1\npoint-elevation 4 high\ninput 0\n",
       "The session file has an entry this version cannot read on line 2: point-elevation 4 high"},
      {"Vantrel session 1\npoint-description 0 x\ninput 0\n",
       "The session file has an entry this version cannot read on line 2: point-description 0 x"},
      // Entries no command gives: descriptions DES refuses, a reference GRF
      // refuses or scales it cannot give.
      {"Vantrel session 2\npoint 4 1 2\npoint-description 4 " + std::string(65, 'x') + "\ninput 0\n",
       "The session file has an entry no command would give on line 3: a description longer than 64 characters"},
      {"Vantrel session 2\npoint-description 4 IP\\r\\n0\\nLINE\ninput 0\n",
       "The session file has an entry no command would give on line 2: a description holding a control character"},
      {"Vantrel session 2\npoint-description 4 IP\x1b[2J\ninput 0\n",
       "The session file has an entry no command would give on line 2: a description holding a control character"},
      {"Vantrel session 2\ngps-point 1\ngps-latitude north\ngps-longitude W111 50.120\ngps-north-scale 6067\n"
       "gps-east-scale 4650\ninput 0\n",
       "The session file has an entry no command would give on line 2: a reference latitude or longitude GRF would "
       "refuse"},
      {"Vantrel session 2\ngps-point 1\ngps-latitude N40 12.345\ngps-longitude W111 50.120\ngps-north-scale 0\n"
       "gps-east-scale 4650\ninput 0\n",
       "The session file has an entry no command would give on line 2: a GPS scale GRF would not give"},
      {"Vantrel session 2\ngps-point 1\ngps-latitude N40 12.345\ngps-longitude W111 50.120\ngps-north-scale 6067\n"
       "gps-east-scale 1e300\ninput 0\n",
       "The session file has an entry no command would give on line 2: a GPS scale GRF would not give"},
  };
  for (const Case& c : cases) {
    std::string pane = "kept";
    EXPECT_EQ(ReadSessionFile(c.text, session, pane), c.message) << c.text;
    EXPECT_EQ(pane, "kept");
    EXPECT_EQ(session.points.North(3), 10);
    EXPECT_EQ(SessionFileText(session, "KWN\r\n"), good);
  }
  // A file of this version with CR LF breaks (opened and saved by an editor).
  std::string pane;
  EXPECT_EQ(ReadSessionFile("Vantrel session 1\r\npoint 2 1.5 -2\r\ninput 3\r\nDSC", session, pane), "");
  EXPECT_EQ(pane, "DSC");
  EXPECT_EQ(session.points.East(2), -2);
  EXPECT_FALSE(session.points.IsDefined(3));
}

// A metric system kept in US survey feet stays so.
TEST_F(SessionFileTest, UsSurveyFeetAreKept) {
  Run("GCS\nEPSG:26912,,USFT\n");
  ASSERT_TRUE(session.grid.UsSurveyFeet);
  std::string text = SessionFileText(session, "");
  EXPECT_EQ(text.substr(0, text.find('\n')), "Vantrel session 3");
  EXPECT_NE(text.find("\ngrid-us-survey-feet 1\n"), std::string::npos);
  ScriptedUser otherUser;
  Session other(otherUser);
  std::string pane;
  ASSERT_EQ(ReadSessionFile(text, other, pane), "");
  EXPECT_TRUE(other.grid.UsSurveyFeet);
  EXPECT_EQ(other.grid.projection.UnitDescription(), "metres converted to US survey feet");
}

// A description that holds a line break, however it came into the store,
// forges no report line: the break is shown, as other control characters.
TEST_F(SessionFileTest, ReportLinesShowTheirLineBreaks) {
  session.points.Store(3, 10, 20);
  session.points.SetDescription(3, "IP\r\nPt 9      0.000 N      0.000 E");
  EXPECT_EQ(Run("DSE\n3,3\n"), (std::vector<std::string>{
                                  "", "Pt 3      10.000 N     20.000 E              IP^M^JPt 9      0.000 N      0.000 E"}));
}

// A file saved again by a Windows editor: a byte-order mark, and CR LF for
// every break, the input pane's among them.
TEST_F(SessionFileTest, WindowsEditorsFilesAreRead) {
  session.points.Store(3, 10, 20);
  session.points.SetDescription(3, "IP");
  const std::string pane = "KWN\n1,100,200\nDSE\n";
  std::string text = SessionFileText(session, pane), windows = "\xEF\xBB\xBF";
  for (char c : text) windows += c == '\n' ? std::string("\r\n") : std::string(1, c);

  ScriptedUser otherUser;
  Session other(otherUser);
  std::string otherPane;
  ASSERT_EQ(ReadSessionFile(windows, other, otherPane), "");
  EXPECT_EQ(otherPane, pane);
  EXPECT_EQ(other.points.North(3), 10);
  EXPECT_EQ(other.points[3].description, "IP");
  // A pane of CR LF in a file of LF breaks stays as it was.
  ASSERT_EQ(ReadSessionFile(SessionFileText(session, "KWN\r\n"), other, otherPane), "");
  EXPECT_EQ(otherPane, "KWN\r\n");
}

// A user's side that asks the run to stop once it has passed `stopAfter`
// characters of the pane, as the Stop button does during a long run.
class StoppingUser : public ScriptedUser {
 public:
  Session* session = nullptr;
  size_t stopAfter = 0;
  void BatchProgress(size_t done, size_t) override {
    if (done >= stopAfter) session->StopRequested = true;
  }
};

TEST(StoppedRun, EndsBetweenTwoLinesWithTheStoreAsThoseLinesLeftIt) {
  StoppingUser user;
  Session session(user);
  ASSERT_EQ(LoadCommandReference(VANTREL_REFERENCE_FILE, session.reference), "");
  user.session = &session;
  const std::string pane = "KWN\n1,100,200\n2,300,400\nCOM\nlast\n";
  user.stopAfter = pane.find("2,300");  // stops after the line of point 1
  Session::BatchEnd end = session.RunBatch(pane);
  EXPECT_TRUE(end.stopped);
  EXPECT_EQ(end.linesRead, 2u);
  EXPECT_TRUE(session.points.IsDefined(1));
  EXPECT_FALSE(session.points.IsDefined(2));
  EXPECT_TRUE(user.transcript.empty());

  // The next run starts afresh and runs to its end.
  user.stopAfter = pane.size() + 1;
  end = session.RunBatch(pane);
  EXPECT_FALSE(end.stopped);
  EXPECT_EQ(end.linesRead, 5u);
  EXPECT_EQ(user.transcript, std::vector<std::string>{"last"});
}

}  // namespace
}  // namespace vantrel
