// Horizontal curves: the running station carried from curve to curve and
// what a refused or waiting group leaves in the argument store.
#include <gtest/gtest.h>

#include <cmath>

#include "session_fixture.h"

namespace vantrel {
namespace {

class CurveTest : public SessionTest {};

// Hand computation, deflection 30 degrees and radius 500: T = 500 tan 15,
// L = 500 * 30 degrees in radians with the program's pi.
constexpr double kTangent = 133.97459621556135;
constexpr double kArc = 500 * 3.1415926536 / 6;

TEST_F(CurveTest, RunningStationLinksCurves) {
  Run("HA3\r\n0");
  EXPECT_EQ(session.curves.RunningStation, 0);
  EXPECT_EQ(session.args.FieldsLeft(), 0);

  // PI at 1000: PC = 1000 - T, then the station moves on to the PI along the
  // ahead tangent: PC + L - T.
  Run("1,30,0,500,50,1000");
  EXPECT_NEAR(session.curves.RunningStation, 1000 - 2 * kTangent + kArc, 1e-9);
  EXPECT_EQ(session.PreviousCommand, "HA3");

  // A refused curve leaves the station where it was.
  double before = session.curves.RunningStation;
  Run("2,0,0,500,50,1000");
  EXPECT_EQ(session.curves.RunningStation, before);

  // HA1 takes no starting station, but its curves still move the station on
  // (the ahead point is at 60 degrees to within a thousandth of a foot).
  Run("KWN\r\n1,0,0,2,1000,0,3,1500,866.025\r\nHA1\r\n1,1,2,3,0,500,11,12,13");
  EXPECT_NEAR(session.curves.RunningStation, before + 1000 - 500 * std::tan(3.1415926536 / 6), 1e-3);
}

TEST_F(CurveTest, WaitingAndRefusedGroups) {
  Run("KWN\r\n1,0,0,2,1000,0,3,1500,866.025\r\nHA2\r\n0,1,1,2,3,0,500,11,12,13");
  EXPECT_EQ(session.args.FieldsLeft(), 9);  // one field short of a group
  EXPECT_FALSE(session.points.IsDefined(11));

  // Neither tangent nor radius: the group waits, the line ends early.
  Run("HA1\r\n1,1,2,3,0,0,11,12,13,2");
  EXPECT_EQ(session.args.FieldsLeft(), 10);
  EXPECT_NE(session.PreviousCommand, "HA1");

  // A point number outside the store drops the group before anything is
  // stored; the next group waits for the next line.
  Run("HA1\r\n1,1,2,3,0,500,11,1001,13,2,1,2,3,0,500,14,15,16");
  EXPECT_EQ(session.args.FieldsLeft(), 9);
  EXPECT_FALSE(session.points.IsDefined(11));
  EXPECT_FALSE(session.points.IsDefined(13));
}

}  // namespace
}  // namespace vantrel
