// Construction commands (intersections, tangents, arcs, division): what a
// held or refused group leaves in the argument store, the values kept in
// registers, and that nothing that is not a finite number reaches the store.
#include <gtest/gtest.h>

#include <cmath>

#include "session_fixture.h"

namespace vantrel {
namespace {

using Lines = std::vector<std::string>;

class ConstructionTest : public SessionTest {
 protected:
  void SetUp() override { Run("KWN\r\n1,1000,1000,2,1000,1100,3,1100,1000"); }

  // Every point of the store holds finite numbers or is undefined.
  void ExpectStoreSound(const std::string& job) {
    for (int n : session.points.Numbers())

      EXPECT_TRUE(std::isfinite(session.points.North(n)) && std::isfinite(session.points.East(n)))
          << job << ": point " << n;
  }
};

TEST_F(ConstructionTest, NoSolutionHoldsTheGroupAndLaterOnes) {
  // Circles of radius 40 whose centres are 100 apart do not meet.
  EXPECT_EQ(Run("ARR\r\n12,1,40,2,40,L,10,1,60,2,60,L"), (Lines{"Info Only: No Solution"}));
  EXPECT_EQ(session.args.FieldsLeft(), 12);
  EXPECT_EQ(session.args.GroupField(1), "12");
  EXPECT_EQ(session.PreviousCommand, "KWN");
  EXPECT_FALSE(session.points.IsDefined(10));

  // The same for a line that misses an arc, and for a declined question.
  Run("AZB\r\n55,1,50,3,90 00 00,2");
  EXPECT_EQ(session.args.FieldsLeft(), 6);
  user.answers = {false};
  Run("KWN\r\n4,1000,1100.02\r\nDVA\r\n3,1,4,2,14,3,1,2,2,15");
  EXPECT_EQ(session.args.FieldsLeft(), 10);
  EXPECT_FALSE(session.points.IsDefined(15));
}

TEST_F(ConstructionTest, RefusedGroupsAreConsumed) {
  // A point number outside the store: the group is dropped, the rest waits.
  EXPECT_EQ(Run("ZBI\r\n0,1,45,2,315,40,1,45,2,315"), (Lines{"Info Only: 0 is invalid point number"}));
  EXPECT_EQ(session.args.FieldsLeft(), 5);
  EXPECT_EQ(session.args.GroupField(1), "40");

  // A count too large to hold drops every field held; one below 1 only the
  // group's fixed part.
  Run("DVL\r\n1,2,49,11,12");
  EXPECT_EQ(session.args.FieldsLeft(), 0);
  Run("DVA\r\n3,1,2,-1,3,1,2,2,14");
  EXPECT_EQ(session.args.FieldsLeft(), 5);
}

TEST_F(ConstructionTest, LongestDivisionsFitTheHeldFields) {
  // 48 parts of a line: 50 fields, 47 new points numbered 101..147.
  std::string line = "1,2,48";
  for (int p = 101; p <= 147; ++p) line.append(",").append(std::to_string(p));
  EXPECT_EQ(Run("DVL\r\n" + line).size(), 47u);
  EXPECT_NEAR(session.points.East(124), 1050, 1e-9);  // 24/48 of the way
  EXPECT_EQ(session.args.FieldsLeft(), 0);
}

TEST_F(ConstructionTest, ArcLengthKeptInItsRegister) {
  // A quarter circle of radius 100 with the program's pi: 50 * 3.1415926536.
  Run("ARC\r\n1,2,3,7");
  EXPECT_NEAR(session.registers.distance[7], 157.07963268, 1e-8);
  session.registers.distance[7] = 0;
  Run("1,2,3,1,3,2");  // six fields: no register
  Run("1,3,2,0");      // register 0 means none
  EXPECT_EQ(session.registers.distance[7], 0);
  EXPECT_EQ(session.registers.distance[0], 0);
}

TEST_F(ConstructionTest, NothingUnboundedReachesTheStore) {
  // Degenerate figures and points at the far ends of the number range: each
  // is refused or leaves its point undefined.
  const char* jobs[] = {
      "PTS\r\n40,1,1,2,3",
      "TOF\r\n40,3,1,1",
      "ARR\r\n40,1,0,2,100,R",
      "TAN\r\n40,1,10,41,1,10,R,I",
      "ALI\r\n40,1,0,2,3,3",
      "CPA\r\n1,1,40,0",
      "KWN\r\n8,1E308,1E308,9,-1E308,-1E308\r\nDVL\r\n8,9,2,40",
      "DVA\r\n8,1,9,2,40",
      "ZBI\r\n40,8,45,9,315",
      "ARR\r\n40,8,1E308,9,1E308,L",
      "TAN\r\n40,8,10,41,9,10,R,E",
      "AZB\r\n40,8,100,9,45,1",
      "CPA\r\n9,8,40,1",
  };
  for (const char* job : jobs) {
    std::vector<std::string> transcript = Run(job);
    EXPECT_FALSE(transcript.empty()) << job << ": refused without a word";
    EXPECT_FALSE(session.points.IsDefined(40)) << job;
    ExpectStoreSound(job);
    session.points.Clear(40);
  }
}

}  // namespace
}  // namespace vantrel
