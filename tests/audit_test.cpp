// Robustness across commands: a typed number beyond the range of the
// program's numbers is reported and read as 0, a move or a result that would
// leave that range is refused, and after any of it every point and register
// still holds a finite number (or is undefined).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "session_fixture.h"

namespace vantrel {
namespace {

class AuditTest : public SessionTest {
 protected:
  // Points 1..3 as in the construction commands' worked examples, a curve's
  // tangent points 4..6 and a GPS reference on point 1.
  void SetUp() override {
    Run("KWN\r\n1,1000,1000,2,1000,1100,3,1100,1000,4,0,0,5,1000,0,6,1500,866.025\r\n"
        "GRF\r\n1,N40 12.000,W111 50.000");
  }

  bool Says(const std::vector<std::string>& transcript, const std::string& message) {
    return std::find(transcript.begin(), transcript.end(), "Info Only: " + message) != transcript.end();
  }

  void ExpectStoreSound(const std::string& job) {
    for (int n : session.points.Numbers())
      ASSERT_TRUE(std::isfinite(session.points.North(n)) && std::isfinite(session.points.East(n)))
          << job << ": point " << n;
    for (int r = 0; r < kRegisterCount; ++r)
      ASSERT_TRUE(std::isfinite(session.registers.angle[r]) && std::isfinite(session.registers.distance[r]))
          << job << ": register " << r;
  }
};

// Every kind of field that takes a distance or an angle, under every command
// that reads one, with a number that overflows: the message names the field.
TEST_F(AuditTest, OverflowingFieldsAreReportedAndReadAsZero) {
  struct Case {
    const char* job;
    const char* message;
  };
  const Case cases[] = {
      {"KWN\r\n10,1E400,5", "1E400 is out of range"},
      {"KWN\r\n10,5,1D999", "1D999 is out of range"},
      {"ROT\r\n1E400", "1E400 is out of range"},
      {"ROT\r\n1E39", "1E39 is out of range"},  // degrees beyond single precision
      {"ROT\r\n0 1E39 0", "0 1E39 0 is out of range"},
      {"LZB\r\n1,10,1E400,45", "1E400 is out of range"},
      {"LZB\r\n1,10,100,N 1E39 E", "N 1E39 E is out of range"},
      {"LAD\r\n1,2,10,100,D1E39", "1E39 is out of range"},
      {"LLN\r\n1,2,10,1E400", "1E400 is out of range"},
      {"PLL\r\n1,2,1E400,10,11", "1E400 is out of range"},
      {"ZBI\r\n10,1,1E400,2,315", "1E400 is out of range"},
      {"ARR\r\n10,1,1E400,2,60,L", "1E400 is out of range"},
      {"TAN\r\n10,1,1E400,11,2,10,R,E", "1E400 is out of range"},
      {"AZB\r\n10,1,100,2,1E400,3", "1E400 is out of range"},
      {"ALI\r\n10,1,1E400,2,3,3", "1E400 is out of range"},
      {"CPA\r\n1,3,10,1E400", "1E400 is out of range"},
      {"TAB\r\nC,1,2,10,1E400,100", "1E400 is out of range"},
      {"TAA\r\nC,1,2,1E400,0,10,90,100", "1E400 is out of range"},
      {"HA1\r\n1,4,5,6,1E400,500,10,11,12", "1E400 is out of range"},
      {"HA2\r\n0\r\n1,4,5,6,0,1E400,10,11,12,50", "1E400 is out of range"},
      {"HA3\r\n0\r\n1,1E39,0,500,50,1000", "1E39 is out of range"},
      {"HA3\r\n0\r\n1,30,0,500,50,1E400", "1E400 is out of range"},
      {"HA3\r\n0\r\n1,30,0,500,1E39,1000", "1E39 is out of range"},  // the interval is single precision
      {"RTH\r\nD1 = 1E400 + 2", "1E400 is out of range"},
      {"RTH\r\nA1 = 1E39 * 2", "1E39 is out of range"},
      {"MAP\r\n>1E39,1,2", ">1E39 is out of range"},  // a shift is held in single precision
      {"MAP\r\n^1E400,1,2", "1E400 is out of range"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> transcript = Run(c.job);
    EXPECT_TRUE(Says(transcript, c.message)) << c.job;
    ExpectStoreSound(c.job);
  }
  // No point is stored from such a field; read as 0, the rotation turns
  // nothing, the shift moves nothing, the equation goes on with 0.
  Run("KWN\r\n10,0,5\r\n10,1E400,7");
  EXPECT_EQ(session.points.North(10), 0);
  EXPECT_EQ(session.points.East(10), 5);
  Run("ROT\r\n1E39\r\nMAP\r\n>1E39,10");
  EXPECT_EQ(session.points.East(10), 5);
  Run("RTH\r\nD1 = 1E400 + 2");
  EXPECT_EQ(session.registers.distance[1], 2);
}

// Coordinates near the ends of the number range: what would carry a point or
// a register beyond it is refused and the store keeps its values.
TEST_F(AuditTest, MovesAndResultsBeyondTheRangeAreRefused) {
  Run("KWN\r\n8,1.5E308,1.5E308,9,-1.5E308,-1.5E308");
  PointStore before = session.points;
  struct Case {
    const char* job;
    const char* message;
  };
  const Case cases[] = {
      {"ROT\r\n45", "Point 8 cannot be moved: coordinates out of range; no point was moved"},
      {"TAX\r\n9", "Point 8 cannot be moved: coordinates out of range; no point was moved"},
      {"ARC\r\n9,8,8,7", "Register 7 not set: result out of range"},
      {"DIS\r\n7,8,9", "Register 7 not set: result out of range"},
      {"TAB\r\nC,9,8,10,45,100", "Coordinates out of range; the traverse cannot be closed"},
      {"PAJ\r\nC,9,1,8", "Station 1 (point 1): the course length must be more than 0 and less than 1000000000 feet"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> transcript = Run(c.job);
    EXPECT_TRUE(Says(transcript, c.message)) << c.job;
    ExpectStoreSound(c.job);
    EXPECT_TRUE(session.points == before) << c.job;

    EXPECT_EQ(session.registers.distance[7], 0) << c.job;
  }
  // The largest single-precision shift still leaves a far point finite.
  Run("KWN\r\n8,1.7976931348623157E308,0\r\nMAP\r\n^3.4E38,8");
  ExpectStoreSound("MAP");
}

// Positions in the pane are not limited to 16 bits: a pane far longer than
// 32767 characters runs to its last line.
TEST_F(AuditTest, LongPanesRunToTheirLastLine) {
  std::string pane = "COM\r\n";
  const std::string comment(99, 'x');
  size_t comments = 0;
  for (; pane.size() < 70000; ++comments) pane += comment + "\r\n";
  pane += "KWN\r\n10,1,2";
  EXPECT_EQ(Run(pane).size(), comments);
  EXPECT_EQ(session.points.North(10), 1);
  EXPECT_EQ(session.points.East(10), 2);
}

// Lines of a pane end at CR LF, at a lone LF or at a lone CR (text pasted or
// imported from other systems).
TEST_F(AuditTest, LinesEndAtAnyLineBreak) {
  EXPECT_EQ(Run("COM\r\none\ntwo\rthree\r\n\r\nfive"),
            (std::vector<std::string>{"one", "two", "three", "", "five"}));
}

}  // namespace
}  // namespace vantrel
