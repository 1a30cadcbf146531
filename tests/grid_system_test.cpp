// Conversions through PROJ checked against PROJ's own tools: grid positions
// and geographic positions pinned from cs2cs (tests/cs2cs_pins.txt holds the
// commands and what they printed), scale factors and convergences from
// proj -V; the texts in seconds and the refusals of systems.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "gps/gps_reference.h"
#include "gps/grid_system.h"
#include "gps/projected_system.h"
#include "session_fixture.h"
#include "text_files.h"

namespace vantrel {
namespace {

constexpr double kFeetTolerance = 0.001;
constexpr double kDegreesTolerance = 0.00001 / 3600;  // 0.00001 second

// cs2cs's "40d12'30.5\"N" (minutes and seconds optional) in signed degrees.
double Cs2csDegrees(const std::string& text) {
  double value = 0, unit = 1;
  size_t start = 0;
  for (size_t k = 0; k < text.size(); ++k) {
    if (text[k] != 'd' && text[k] != '\'' && text[k] != '"') continue;
    value += std::stod(text.substr(start, k - start)) / unit;
    unit *= 60;
    start = k + 1;
  }
  return text.back() == 'S' || text.back() == 'W' ? -value : value;
}

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

TEST(GridSystem, AgreesWithCs2cs) {
  // Store feet per unit of each pinned system, and how the report names it.
  struct System {
    double feetPerUnit;
    std::string unit;
  };
  const std::map<std::string, System> systems = {
      {"EPSG:3566", {1, "US survey feet"}},
      {"EPSG:26912", {1 / 0.3048, "metres converted to feet"}},
      {"EPSG:2222", {1, "feet"}},
  };
  ProjectedSystem projection;
  bool forward = true;
  double feetPerUnit = 1;
  int checked = 0;
  for (const std::string& line : Lines(ReadFile(VANTREL_CS2CS_PINS))) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> words = Words(line);
    if (line.rfind("$ ", 0) == 0) {
      // "$ cs2cs ... SOURCE TARGET": forward from NAD83 latitude/longitude.
      std::string source = words[words.size() - 2], target = words.back();
      forward = source == "EPSG:4269";
      std::string name = forward ? target : source;
      ASSERT_EQ(projection.Select(name), "") << name;
      ASSERT_TRUE(systems.count(name)) << name;
      EXPECT_EQ(projection.UnitDescription(), systems.at(name).unit);
      feetPerUnit = systems.at(name).feetPerUnit;
      continue;
    }
    std::string reason;
    if (forward) {
      // latitude longitude, easting northing (the system's unit)
      GeographicPosition typed{Cs2csDegrees(words[0]), Cs2csDegrees(words[1])};
      std::optional<GridPosition> grid = projection.ToGrid(typed, reason);
      ASSERT_TRUE(grid) << line << ": " << reason;
      EXPECT_NEAR(grid->east, std::stod(words[2]) * feetPerUnit, kFeetTolerance) << line;
      EXPECT_NEAR(grid->north, std::stod(words[3]) * feetPerUnit, kFeetTolerance) << line;
      std::optional<GeographicPosition> back = projection.ToGeographic(*grid, reason);
      ASSERT_TRUE(back) << line;
      EXPECT_NEAR(back->latitude, typed.latitude, kDegreesTolerance) << line;
      EXPECT_NEAR(back->longitude, typed.longitude, kDegreesTolerance) << line;
    } else {
      // easting northing, latitude longitude to five decimals of a second
      GridPosition typed{std::stod(words[1]) * feetPerUnit, std::stod(words[0]) * feetPerUnit};
      std::optional<GeographicPosition> position = projection.ToGeographic(typed, reason);
      ASSERT_TRUE(position) << line << ": " << reason;
      EXPECT_NEAR(position->latitude, Cs2csDegrees(words[2]), kDegreesTolerance) << line;
      EXPECT_NEAR(position->longitude, Cs2csDegrees(words[3]), kDegreesTolerance) << line;
    }
    ++checked;
  }
  EXPECT_EQ(checked, 18);
}

TEST(GridSystem, FactorsAgreeWithProjV) {
  // proj -V at 40d12'30"N 111d49'W with each system's PROJ string
  // (projinfo -o PROJ EPSG:3566 / EPSG:26912): meridian scale and convergence.
  struct Case {
    std::string system;
    double scale, convergenceDegrees;
  };
  const Case cases[] = {
      {"EPSG:3566", 0.99992001, -0.20284989},
      {"EPSG:26912", 0.99965946, -0.52723557},
  };
  ProjectedSystem projection;
  for (const Case& c : cases) {
    ASSERT_EQ(projection.Select(c.system), "");
    std::string reason;
    std::optional<GridFactors> factors = projection.FactorsAt({40 + 12.5 / 60, -(111 + 49.0 / 60)}, reason);
    ASSERT_TRUE(factors) << reason;
    EXPECT_NEAR(factors->scale, c.scale, 1e-8) << c.system;
    EXPECT_NEAR(factors->convergence * 180 / PI, c.convergenceDegrees, 1e-7) << c.system;
  }
}

TEST(GridSystem, SystemsRefusedKeepTheOneInUse) {
  struct Case {
    std::string text;
    bool accepted;
    std::string reasonStart;  // of a refusal; empty: PROJ's words, whatever they are
  };
  const Case cases[] = {
      {"EPSG:3566", true, ""},
      {"EPSG:4269", false, "it is not a projected coordinate system"},  // geographic
      {"EPSG:5703", false, "it is not a projected coordinate system"},  // heights only
      {"EPSG:99999", false, "crs not found"},
      {"no such system", false, ""},
      {"+proj=utm +zone=12 +datum=NAD83 +units=m", true, ""},  // +type=crs is implied
      {"+proj=tmerc +lat_0=31 +lon_0=-110.166666666667 +k=0.9999 +x_0=213360 +y_0=0 +ellps=GRS80 "
       "+towgs84=0,0,0,0,0,0,0 +units=ft +no_defs",
       true, ""},  // a bound system stands for its source
  };
  ProjectedSystem projection;
  std::string inUse;
  for (const Case& c : cases) {
    std::string reason = projection.Select(c.text);
    if (c.accepted) {
      EXPECT_EQ(reason, "") << c.text;
      inUse = projection.Name();
    } else {
      EXPECT_NE(reason, "") << c.text;
      EXPECT_EQ(reason.rfind(c.reasonStart, 0), 0u) << c.text << ": " << reason;
    }
    EXPECT_TRUE(projection.IsSelected());
    EXPECT_EQ(projection.Name(), inUse) << c.text;
  }
  projection.Unselect();
  EXPECT_FALSE(projection.IsSelected());
}

TEST(GridSystem, MissingDatabaseIsSaidAtEachSelection) {
  ProjectedSystem projection("/nonexistent/proj-data");
  for (int k = 0; k < 2; ++k) {
    EXPECT_NE(projection.Select("EPSG:3566").find("proj.db cannot be found"), std::string::npos);
    EXPECT_FALSE(projection.IsSelected());
  }
}

TEST(GridSystem, PositionsProjRefusesGiveAReason) {
  ProjectedSystem projection;
  ASSERT_EQ(projection.Select("EPSG:26912"), "");
  std::string reason;
  EXPECT_FALSE(projection.ToGrid({95, -111}, reason));
  EXPECT_EQ(reason, "Invalid latitude");
  EXPECT_FALSE(projection.ToGeographic({1e300, 1e300}, reason));
  EXPECT_FALSE(reason.empty());
  EXPECT_FALSE(projection.InAreaOfUse({35, -100}));
  EXPECT_TRUE(projection.InAreaOfUse({40, -111}));
}

TEST(GridSystem, SecondsTexts) {
  struct Case {
    double degrees;
    std::string latitude, longitude;
  };
  const Case cases[] = {
      {40 + 12.5 / 60, "N40 12 30.00000", "E40 12 30.00000"},
      {-(111 + 49.0 / 60), "S111 49 0.00000", "W111 49 0.00000"},
      {41 - 0.000004 / 3600, "N41 0 0.00000", "E41 0 0.00000"},     // rounds up into the degree
      {41 - 0.000006 / 3600, "N40 59 59.99999", "E40 59 59.99999"},
      {-1e-12, "N0 0 0.00000", "E0 0 0.00000"},                     // no sign on nothing
      {-0.00001 / 3600, "S0 0 0.00001", "W0 0 0.00001"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SecondsText(c.degrees, 'N', 'S'), c.latitude);
    EXPECT_EQ(SecondsText(c.degrees, 'E', 'W'), c.longitude);
  }
}

class GridTextsTest : public SessionTest {};

TEST_F(GridTextsTest, SecondsAreReadUnderACoordinateSystem) {
  struct Case {
    std::string latitude, longitude;
    bool completes;
    std::string completedLatitude, completedLongitude;
    double latitudeDegrees;
  };
  // Reference N40 12 30.000 / W111 49 0.000.
  const Case cases[] = {
      {"n40  12 30.5", " w111 49 0 ", true, "N40 12 30.5", "W111 49 0", 40 + 12.0 / 60 + 30.5 / 3600},
      {".25", ".5", true, "N40 12 30.25", "W111 49 0.5", 40 + 12.0 / 60 + 30.25 / 3600},
      {"13.5", "40 12 0", true, "N40 13.5", "W40 12 0", 40 + 13.5 / 60},  // minutes alone, no letter
      {"N40 12.5 30", "W111 49", false, "", "", 0},                      // minutes with decimals
      {"N40 12 60", "W111 49", false, "", "", 0},                         // a whole minute of seconds
      {"N40 60 0", "W111 49", false, "", "", 0},
      {"N40 12 30 5", "W111 49", false, "", "", 0},                       // a fourth part
      {"N40 -12 30", "W111 49", false, "", "", 0},
  };
  Run("GCS\r\nEPSG:3566\r\nGRF\r\n1,N40 12 30.000,W111 49 0.000");
  for (const Case& c : cases) {
    std::string latitude = c.latitude, longitude = c.longitude;
    ASSERT_EQ(CompleteGpsCoordinates(session.gps, latitude, longitude, true), c.completes) << c.latitude;
    if (!c.completes) continue;
    EXPECT_EQ(latitude, c.completedLatitude);
    EXPECT_EQ(longitude, c.completedLongitude);
    EXPECT_NEAR(GpsTextToDegrees(latitude), c.latitudeDegrees, 1e-12) << latitude;
  }
  // Without a coordinate system seconds are not read: blanks after the
  // first are removed, as they always were.
  std::string latitude = "N40 12 30", longitude = "W111 49";
  ASSERT_TRUE(CompleteGpsCoordinates(session.gps, latitude, longitude));
  EXPECT_EQ(latitude, "N40 1230");
}

TEST_F(GridTextsTest, CoordinateSystemStaysAfterClrAndLeavesWithNone) {
  Run("GCS\r\nEPSG:3566,0.99985,T\r\nKWN\r\n1,0,0\r\nGRF\r\n1,N40 12 30,W111 49\r\nCLR\r\n1,1");
  EXPECT_TRUE(session.grid.IsSet());
  EXPECT_FALSE(session.gps.HasReference());
  EXPECT_DOUBLE_EQ(session.grid.CombinedFactor, 0.99985);
  EXPECT_TRUE(session.grid.TrueNorth);
  EXPECT_EQ(session.grid.Definition, "EPSG:3566");
  Run("GCS\r\nnone");
  EXPECT_FALSE(session.grid.IsSet());
  EXPECT_DOUBLE_EQ(session.grid.CombinedFactor, 1);
  EXPECT_FALSE(session.grid.TrueNorth);
}

}  // namespace
}  // namespace vantrel
