// Inverses and locating points: the exact values kept in registers (which
// the report rounds away), the fields a refused group leaves pending, and a
// round trip from an inverse back to the point it measured.
#include <gtest/gtest.h>

#include <cmath>

#include "notation/numbers.h"
#include "session_fixture.h"

namespace vantrel {
namespace {

class InverseTest : public SessionTest {
 protected:
  // Point 1 at the centre, 2 due east, 3 due north, 4 to the north-west.
  void SetUp() override { Run("KWN\r\n1,1000,1000,2,1000,1100,3,1100,1000,4,1100,900"); }
};

TEST_F(InverseTest, RegistersKeepTheUnreducedValues) {
  Run("AZM\r\n1,1,4,2,1,2,3,4,1\r\nANG\r\n4,1,2,3,5,1,3,2\r\nDIS\r\n6,1,4");
  // An azimuth to the north-west comes out negative and is kept so (the
  // arctangent of -1, not 315 degrees); the others by hand from the
  // coordinates above, with the program's decimal PI where it adds a half turn.
  const double eighth = std::atan(1.0);
  EXPECT_DOUBLE_EQ(session.registers.angle[1], -eighth);
  EXPECT_DOUBLE_EQ(session.registers.angle[2], HALF_PI);
  EXPECT_DOUBLE_EQ(session.registers.angle[3], PI - eighth);
  // East then north from the centre: -90 degrees one way, +90 the other.
  EXPECT_DOUBLE_EQ(session.registers.angle[4], -HALF_PI);
  EXPECT_DOUBLE_EQ(session.registers.angle[5], HALF_PI);
  EXPECT_DOUBLE_EQ(session.registers.distance[6], std::sqrt(20000.0));
}

TEST_F(InverseTest, RegisterAboveTheBankStoresNothing) {
  auto angles = session.registers.angle;
  auto distances = session.registers.distance;
  Run("AZM\r\n100,1,2\r\nDIS\r\n150,1,2\r\nANG\r\n32767,1,2,3");
  EXPECT_EQ(session.registers.angle, angles);
  EXPECT_EQ(session.registers.distance, distances);
}

TEST_F(InverseTest, RefusedGroupIsConsumedAndTheRestWaits) {
  Run("DAB\r\n1,2,1,1001,3,4");
  EXPECT_EQ(session.args.FieldsLeft(), 2);
  EXPECT_EQ(session.args.GroupField(1), "3");
  EXPECT_EQ(session.PreviousCommand, "KWN");
  // The next line carries them in front of its own.
  std::vector<std::string> lines = Run("4,1");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[2].substr(0, 9), "   3    4");
  EXPECT_EQ(lines[3].substr(0, 9), "   4    1");
}

TEST_F(InverseTest, InverseThenLocateReturnsToThePoint) {
  // The azimuth and distance from 1 to 4, kept in registers, lead LZB back
  // to point 4's coordinates.
  Run("AZM\r\n7,1,4\r\nDIS\r\n7,1,4\r\nLZB\r\n1,10,D07,A07");
  EXPECT_NEAR(session.points.North(10), 1100, 1e-9);
  EXPECT_NEAR(session.points.East(10), 900, 1e-9);
  // And LAD turning the ANG result from the backsight lands on the foresight.
  Run("ANG\r\n8,1,2,4\r\nLAD\r\n1,2,11,D07,A08");
  EXPECT_NEAR(session.points.North(11), 1100, 1e-9);
  EXPECT_NEAR(session.points.East(11), 900, 1e-9);
}

}  // namespace
}  // namespace vantrel
