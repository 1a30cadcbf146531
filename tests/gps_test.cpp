// GPS texts: degrees of a text, completion of abbreviated texts against the
// reference, and the scale set by GRF.
#include <gtest/gtest.h>

#include "gps/gps_reference.h"
#include "session_fixture.h"

namespace vantrel {
namespace {

using Lines = std::vector<std::string>;

class GpsTest : public SessionTest {};

TEST_F(GpsTest, TextToDegrees) {
  EXPECT_DOUBLE_EQ(GpsTextToDegrees("N40 12.000"), 40.2);
  EXPECT_DOUBLE_EQ(GpsTextToDegrees("S40 30"), -40.5);
  EXPECT_DOUBLE_EQ(GpsTextToDegrees("W111 50.000"), -(111 + 50.0 / 60));
  EXPECT_DOUBLE_EQ(GpsTextToDegrees("E0 .5"), 0.5 / 60);
  EXPECT_DOUBLE_EQ(GpsTextToDegrees(""), 0);
}

TEST_F(GpsTest, ReferenceScales) {
  // The reference of the worked example: 6087 ft per minute times the
  // cosine of 40 deg 12 min is 4649.2266 in single precision.
  Run("KWN\r\n1,5000,5000\r\nGRF\r\n1,N40 12.000,W111 50.000");
  EXPECT_EQ(session.gps.ReferencePoint, 1);
  EXPECT_FLOAT_EQ(session.gps.EastScale, 4649.2266f);
  EXPECT_FLOAT_EQ(session.gps.NorthScale, 6067.0f);
  EXPECT_EQ(session.gps.ReferenceLatitude, "N40 12.000");
  Run("CLR\r\n5,5");
  EXPECT_FALSE(session.gps.HasReference());
}

TEST_F(GpsTest, CompletionAgainstTheReference) {
  struct Case {
    std::string latitude, longitude;
    bool completes;
    std::string completedLatitude, completedLongitude;
  };
  // Reference N40 12.345 / W111 5.250.
  const Case cases[] = {
      {".750", "48.5", true, "N40 12.750", "W111 48.5"},
      {"13.5", "111 6", true, "N40 13.5", "W111 6"},
      {"n40 12  .5", " e2 1 ", true, "N40 12.5", "E2 1"},
      {"s1 0", "w0 .5", true, "S1 0", "W0 .5"},
      {"N40", "W111 5", false, "", ""},       // no blank after completion
      {"", "W111 5", false, "", ""},          // nothing typed
      {"N40 12", "", false, "", ""},
      {"N40 12x", "W111 5", false, "", ""},   // minutes that are not a number
      {"N1E9 0", "W111 5", false, "", ""},    // beyond any position
      {"40 12 N", "W111 5", false, "", ""},   // the letter must come first
  };
  Run("GRF\r\n1,N40 12.345,W111 5.250");
  for (const Case& c : cases) {
    std::string latitude = c.latitude, longitude = c.longitude;
    ASSERT_EQ(CompleteGpsCoordinates(session.gps, latitude, longitude), c.completes) << c.latitude << " " << c.longitude;
    if (!c.completes) continue;
    EXPECT_EQ(latitude, c.completedLatitude);
    EXPECT_EQ(longitude, c.completedLongitude);
  }

  // A reference without decimals cannot complete ".5"; without any
  // reference only complete texts pass.
  Run("GRF\r\n1,N40 12,W111 5");
  std::string latitude = ".5", longitude = "W111 5";
  EXPECT_FALSE(CompleteGpsCoordinates(session.gps, latitude, longitude));
  GpsReference none;
  for (std::string abbreviated : {".5", "13", "40 12"}) {
    latitude = abbreviated, longitude = "W111 5";
    EXPECT_FALSE(CompleteGpsCoordinates(none, latitude, longitude)) << abbreviated;
  }
  latitude = "N40 12", longitude = "W111 5";
  EXPECT_TRUE(CompleteGpsCoordinates(none, latitude, longitude));
}

TEST_F(GpsTest, PositionsBeyondSinglePrecisionAreRefused) {
  Run("KWN\r\n1,1e300,0\r\nGRF\r\n1,N40 12,W111 50\r\nGPS\r\n2,N40 13,W111 50");
  EXPECT_EQ(user.transcript, (Lines{"Info Only: Invalid GPS Coordinates"}));
  EXPECT_FALSE(session.points.IsDefined(2));
}

}  // namespace
}  // namespace vantrel
