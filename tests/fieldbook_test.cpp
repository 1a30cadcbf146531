// Raw total-station files reduced without a session: the readers' records,
// units and angle notations, the set means and backsight checks, and the
// worked examples of the format notes (in scenario raw_examples), whose expected
// values are recomputed here from the readings by plain trigonometry.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "fieldbook/raw_readers.h"
#include "fieldbook/reduction.h"

namespace fs = std::filesystem;

namespace vantrel {
namespace {

const fs::path kExamples = fs::path(VANTREL_SCENARIO_DIR) / "raw_examples.dir";

constexpr double kUsFeetPerMetre = 3937.0 / 1200.0;
constexpr double kDegree = 3.14159265358979323846 / 180;

double Dms(double d, double m, double s) { return (d + m / 60 + s / 3600) * kDegree; }
double Seconds(double radians) { return radians / kDegree * 3600; }

std::string FileText(const std::string& name) {
  std::ifstream in(kExamples / name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

struct Reduced {
  ReductionResult result;
  std::optional<std::string> failure;

  const FieldPoint* Point(const std::string& id) const {
    for (const FieldPoint& p : result.points)
      if (p.id == id) return &p;
    return nullptr;
  }
  template <class Row>
  std::vector<Row> Rows() const {
    std::vector<Row> rows;
    for (const ReductionRow& row : result.rows)
      if (const Row* r = std::get_if<Row>(&row)) rows.push_back(*r);
    return rows;
  }
  bool Skipped(const std::string& reasonPart) const {
    for (const SkippedRecord& s : result.skipped)
      if (s.reason.find(reasonPart) != std::string::npos) return true;
    return false;
  }
};

// The text through the format's reader, fed in small pieces so that lines
// and CR LF pairs are cut across them.
Reduced Reduce(RawFormat format, const std::string& text, FootKind foot = FootKind::UsSurvey,
               StorePositions store = nullptr, bool observations = false) {
  Reduction reduction({5 / 206264.806, observations}, std::move(store));
  if (format == RawFormat::JobXml) {
    ReadJobXml(text, reduction, foot);
  } else {
    std::unique_ptr<RawLineReader> reader =
        format == RawFormat::Rw5 ? MakeRw5Reader(reduction, foot) : MakeGsiReader(reduction, foot);
    RawLines lines(*reader, reduction);
    for (size_t k = 0; k < text.size(); k += 7) lines.Feed(std::string_view(text).substr(k, 7));
    lines.Finish();
  }
  return {reduction.Finish(), reduction.Failure()};
}

// Expected coordinates in the file's unit, the result in feet.
void ExpectAt(const Reduced& r, const std::string& id, double north, double east, std::optional<double> elevation,
              double feetPerUnit, double tolerance = 0.00015) {
  const FieldPoint* p = r.Point(id);
  ASSERT_NE(p, nullptr) << id;
  EXPECT_NEAR(p->at.north / feetPerUnit, north, tolerance) << id;
  EXPECT_NEAR(p->at.east / feetPerUnit, east, tolerance) << id;
  ASSERT_EQ(p->at.elevation.has_value(), elevation.has_value()) << id;
  if (elevation) {
    EXPECT_NEAR(*p->at.elevation / feetPerUnit, *elevation, tolerance) << id;
  }
}

TEST(FieldUnitsTest, PackedDegreesAreReadAsText) {
  struct Case {
    const char* text;
    std::optional<double> degrees;
  };
  const Case cases[] = {
      {"189.1420", 189 + 14 / 60.0 + 20 / 3600.0},
      {"89.2236", 89 + 22 / 60.0 + 36 / 3600.0},  // not 35.9999" as (x - int x) * 100 gives
      {"55.05521", 55 + 5 / 60.0 + 52.1 / 3600.0},
      {"0.00017", 1.7 / 3600.0},
      {"90", 90.0},
      {"  45.3 ", 45.5},                            // right-padded: 45°30'00"
      {"-61.5811", -(61 + 58 / 60.0 + 11 / 3600.0)},  // the sign covers the whole angle
      {"12.6000", std::nullopt},                    // 60 minutes: not DMS
      {"12.0060", std::nullopt},
      {"", std::nullopt},
      {"N12", std::nullopt},
      {"1.2.3", std::nullopt},
  };
  for (const Case& c : cases) {
    std::optional<double> angle = PackedDegreesText(c.text);
    ASSERT_EQ(angle.has_value(), c.degrees.has_value()) << c.text;
    // The program's pi (3.1415926536) is within 1e-11 of the true one.
    if (c.degrees) {
      EXPECT_NEAR(*angle, *c.degrees * kDegree, 2e-11) << c.text;
    }
  }
  EXPECT_DOUBLE_EQ(FeetPerUnit(LengthUnit::Metre, FootKind::UsSurvey), 3937.0 / 1200);
  EXPECT_DOUBLE_EQ(FeetPerUnit(LengthUnit::Metre, FootKind::International), 1 / 0.3048);
  EXPECT_EQ(FeetPerUnit(LengthUnit::InternationalFoot, FootKind::UsSurvey), 1);  // feet stay as the file has them
}

TEST(FieldUnitsTest, FormatIsRecognisedFromTheStart) {
  EXPECT_EQ(RecogniseRawFormat(FileText("rw5_example1.rw5")), RawFormat::Rw5);
  EXPECT_EQ(RecogniseRawFormat(FileText("rw5_example2.rw5")), RawFormat::Rw5);  // a note first
  EXPECT_EQ(RecogniseRawFormat(FileText("gsi8_example1.gsi")), RawFormat::Gsi);
  EXPECT_EQ(RecogniseRawFormat(FileText("gsi16_example2.gsi")), RawFormat::Gsi);
  EXPECT_EQ(RecogniseRawFormat(FileText("jobxml_example1.jxl")), RawFormat::JobXml);
  EXPECT_EQ(RecogniseRawFormat("\xEF\xBB\xBF\r\n\r\nGPS,PN1"), RawFormat::Rw5);
  EXPECT_EQ(RecogniseRawFormat("Point,North,East\n"), std::nullopt);
  EXPECT_EQ(RecogniseRawFormat(""), std::nullopt);
  EXPECT_EQ(RawFormatFromCode("jxl"), RawFormat::JobXml);
  EXPECT_EQ(RawFormatFromCode("GSI16"), std::nullopt);
}

TEST(LineCutterTest, LinesEndAtEveryBreakAcrossPieces) {
  LineCutter cutter(8);
  std::vector<std::string> lines;
  auto take = [&](std::string_view line, bool overlong, size_t) {
    lines.push_back(std::string(line) + (overlong ? "+" : ""));
    return true;
  };
  for (std::string_view piece : {"a\r", "\nb\r\r\r\nc", "d\n\n0123456789", "xyz\rlast"}) cutter.Feed(piece, take);
  cutter.Finish(take);
  EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "", "", "cd", "", "01234567+", "last"}));
}

// The first RW5 worked example: metres, DMS, CR LF, a Latin-1 degree sign in a note.
TEST(Rw5Test, WorkedExampleOneInMetres) {
  Reduced r = Reduce(RawFormat::Rw5, FileText("rw5_example1.rw5"));
  ASSERT_FALSE(r.failure) << *r.failure;
  const double f = kUsFeetPerMetre;
  ExpectAt(r, "1", 1000, 1000, 100, f);
  ExpectAt(r, "2", 1100, 1000, 101, f);
  ExpectAt(r, "100", 1000, 1050, 99.9, f);
  // Point 3 keeps its traverse result; the OC on it is reported.
  double hd3 = 70 * std::sin(Dms(88, 30, 0)), v3 = 70 * std::cos(Dms(88, 30, 0));
  ExpectAt(r, "3", 1000 + hd3 * std::cos(135 * kDegree), 1000 + hd3 * std::sin(135 * kDegree), 100 + 1.5 + v3 - 1.6, f,
           1e-6);
  ExpectAt(r, "101", 950.51949 - 20 * std::sqrt(0.5), 1049.48051 - 20 * std::sqrt(0.5), 101.582, f, 1e-6);
  double v102 = 30 * std::tan(2 * kDegree);
  ExpectAt(r, "102", 950.51949 + 30 * std::cos(145 * kDegree), 1049.48051 + 30 * std::sin(145 * kDegree),
           101.732 + 1.45 + v102 - 1.6, f, 1e-6);
  EXPECT_EQ(r.Point("103"), nullptr);  // a commented-out shot
  EXPECT_EQ(r.Point("100")->note, "FENCE,NE CORNER");
  EXPECT_EQ(r.result.points.size(), 6u);

  std::vector<CheckRow> checks = r.Rows<CheckRow>();
  ASSERT_EQ(checks.size(), 1u);  // the BD on 2; from 3 nothing sights 1
  EXPECT_NEAR(checks[0].computedDistance / f, 100, 1e-9);
  EXPECT_NEAR(checks[0].measuredDistance / f, 100.008 * std::sin(Dms(89, 15, 19)), 1e-9);
  EXPECT_NEAR(*checks[0].measuredElevation / f, 100 + 1.5 + 100.008 * std::cos(Dms(89, 15, 19)) - 1.8, 1e-9);
  EXPECT_NEAR(checks[0].angleError, 0, 1e-9);

  // The OC on 1 repeats it; the OC on 3 gives its elevation to the mm.
  std::vector<AgainRow> again = r.Rows<AgainRow>();
  ASSERT_EQ(again.size(), 1u);
  EXPECT_EQ(again[0].id, "3");
  EXPECT_EQ(again[0].source, FieldSource::Occupied);
  EXPECT_NEAR(*again[0].dElevation / f, 101.732 - (100 + 1.5 + v3 - 1.6), 1e-9);
  EXPECT_EQ(r.result.skippedCount, 1);
  EXPECT_TRUE(r.Skipped("unknown record type ZZ"));
  EXPECT_EQ(r.result.skipped[0].record, 21);
  EXPECT_EQ(r.Rows<TraverseRow>().size(), 1u);
}

// The second RW5 worked example: US survey feet, a set of two rounds, an azimuth shot, GPS
// with grid coordinates, a backsight by azimuth alone.
TEST(Rw5Test, WorkedExampleTwoWithSets) {
  Reduced r = Reduce(RawFormat::Rw5, FileText("rw5_example2.rw5"));
  ASSERT_FALSE(r.failure) << *r.failure;
  std::vector<SetRow> sets = r.Rows<SetRow>();
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(sets[0].target, "12");
  EXPECT_EQ(sets[0].rounds, 2);
  EXPECT_NEAR(Seconds(sets[0].direction), Seconds(Dms(90, 0, 14)), 1e-4);
  EXPECT_NEAR(Seconds(sets[0].spread), 2, 1e-4);
  EXPECT_NEAR(Seconds(*sets[0].indexError), 4, 1e-4);  // +5" and +3"
  EXPECT_NEAR(*sets[0].slopeDistance, 200.001, 1e-9);
  EXPECT_FALSE(sets[0].flagged);

  // Point 12 from the set means, by the note's own arithmetic.
  double z = Dms(89, 59, 55), az = Dms(180, 0, 14);
  double n12 = 5000 + 200.001 * std::sin(z) * std::cos(az), e12 = 5000 + 200.001 * std::sin(z) * std::sin(az);
  ExpectAt(r, "12", n12, e12, 500 + 5 + 200.001 * std::cos(z) - 6, 1, 1e-7);
  ExpectAt(r, "12", 4799.9990, 4999.9864, 499.0048, 1);
  ExpectAt(r, "13", 5070.7107, 5070.7107, 500, 1);
  ExpectAt(r, "900", 5100, 5100, 480, 1);
  EXPECT_EQ(r.Point("900")->source, FieldSource::Gnss);
  // 14 is shot from the OC coordinates of 12 (the value in force), with the
  // back azimuth of the BK.
  ExpectAt(r, "14", 4799.999 + 50 * std::cos(Dms(90, 0, 14)), 4999.9864 + 50 * std::sin(Dms(90, 0, 14)), 499.205, 1,
           1e-9);
  std::vector<BacksightRow> backsights = r.Rows<BacksightRow>();
  ASSERT_EQ(backsights.size(), 2u);
  EXPECT_FALSE(backsights[0].givenAzimuth);  // BS90.0000 agrees with the coordinates
  EXPECT_NEAR(*backsights[1].azimuth, Dms(0, 0, 14), 1e-12);
  EXPECT_EQ(r.result.skippedCount, 0);
}

// The first GSI worked example: GSI-8, metres and gon; the circle taken as oriented.
TEST(GsiTest, WorkedExampleOneFacesAveraged) {
  Reduced r = Reduce(RawFormat::Gsi, FileText("gsi8_example1.gsi"));
  ASSERT_FALSE(r.failure) << *r.failure;
  const double f = kUsFeetPerMetre, gon = 3.14159265358979323846 / 200;
  ExpectAt(r, "BS02", 2100, 1000, 100.5, f);
  double hz = 100.0002 * gon, v = 100.0001 * gon;
  ExpectAt(r, "100", 2000 + 50.001 * std::sin(v) * std::cos(hz), 1000 + 50.001 * std::sin(v) * std::sin(hz),
           100 + 1.55 + 50.001 * std::cos(v) - 1.3, f, 1e-6);
  ExpectAt(r, "100", 1999.9998, 1050.0010, 100.2499, f);
  ExpectAt(r, "101", 1978.8522, 978.8522, 97.8962, f);
  std::vector<SetRow> sets = r.Rows<SetRow>();
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_NEAR(*sets[0].collimation / gon, 0.0002, 1e-9);
  EXPECT_NEAR(*sets[0].indexError / gon, -0.0001, 1e-9);
  std::vector<CheckRow> checks = r.Rows<CheckRow>();
  ASSERT_EQ(checks.size(), 1u);  // BS02, the first known point the station sees
  EXPECT_EQ(checks[0].target, "BS02");
  EXPECT_NEAR(checks[0].angleError / gon, -0.001, 1e-9);
  EXPECT_NEAR(*checks[0].measuredElevation / f, 100.49999, 1e-5);
  EXPECT_EQ(r.Point("101")->note, "TREE 1");  // the code block before it
}

// The second GSI worked example: GSI-16, feet and packed DMS.
TEST(GsiTest, WorkedExampleTwoInFeet) {
  Reduced r = Reduce(RawFormat::Gsi, FileText("gsi16_example2.gsi"));
  ASSERT_FALSE(r.failure) << *r.failure;
  ExpectAt(r, "CPA", 20000, 10000, 500, 1);
  ExpectAt(r, "500", 20099.9388, 10099.9388, 505.1855, 1);
  ExpectAt(r, "PT7A", 20025.4408, 9956.3908, 498.9243, 1);
  EXPECT_EQ(r.result.points.size(), 3u);
}

// The JobXML worked example: per-face orientation, prism constant and ppm, a deleted
// point, an MTA passed over; the reduction agrees with ComputedGrid.
TEST(JobXmlTest, WorkedExampleAgreesWithComputedGrid) {
  Reduced r = Reduce(RawFormat::JobXml, FileText("jobxml_example1.jxl"), FootKind::UsSurvey, nullptr, true);
  ASSERT_FALSE(r.failure) << *r.failure;
  const double f = kUsFeetPerMetre;
  // P1: the mean of its two faces.
  ExpectAt(r, "P1", (1000 + 999.999127) / 2, (2050.0005 + 2050.0015) / 2, 49.9, f, 1e-6);
  ExpectAt(r, "P3", 960.151814, 2000, 46.413735, f, 1e-6);
  EXPECT_EQ(r.Point("P2"), nullptr);
  EXPECT_TRUE(r.Skipped("P2 deleted"));
  EXPECT_TRUE(r.Rows<InstrumentRow>().empty());  // every reading within 1 mm of ComputedGrid
  std::vector<CheckRow> checks = r.Rows<CheckRow>();
  ASSERT_EQ(checks.size(), 1u);
  EXPECT_NEAR(checks[0].measuredDistance / f, 100, 5e-5);
  EXPECT_NEAR(*checks[0].measuredElevation / f, 51, 5e-5);
  ASSERT_TRUE(r.result.angleError);
  EXPECT_NEAR(*r.result.angleError, 1, 1e-6);
  EXPECT_NEAR(*r.result.distanceError, 0.002 * f, 1e-9);
  // One set of directions from S1 (B1, P1, P3), distances and heights.
  int directions = 0, distances = 0, heights = 0;
  for (const FieldObservation& o : r.result.observations) {
    directions += o.kind == FieldObservation::Direction;
    distances += o.kind == FieldObservation::Distance;
    heights += o.kind == FieldObservation::Height;
  }
  EXPECT_EQ(directions, 3);
  EXPECT_EQ(distances, 3);
  EXPECT_EQ(heights, 3);
}

// What goes wrong in real files: each skipped with its record, or the
// whole file refused.
TEST(Rw5Test, FaultyRecordsAreSkippedWithTheirRecord) {
  const std::string text =
      "MO,AD0,UN0,SF1.0,EC0,EO0.0,AU0\n"
      "SS,OP1,FP50,AR10.0000,ZE90.0000,SD10.000\n"       // 2: before any setup
      "SP,PN1,N 100.0,E 100.0,EL10.0\n"
      "OC,OP1,N 100.0,E 100.0,EL10.0\n"
      "SS,OP1,FP51,AR10.0000,ZE90.0000,SD10.000\n"       // 5: no backsight yet
      "SS,OP1,FP52,AZ10.0000,ZE90.0000,SD10.000\n"       // an azimuth needs none
      "BK,OP1,BP77,BC0.0000\n"                            // 7: an unknown back point
      "SS,OP1,FP53,AR10.0000,ZE90.0000,SD10.000\n"       // 8
      "BK,OP1,BS0.0000,BC0.0000\n"
      "SS,OP1,FP54,AR10.0000,ZE-61.5811,SD10.000\n"      // 10: zenith out of range
      "SS,OP1,FP55,AR10.0000,ZE90.0000,SD0.000\n"        // 11: no distance
      "SS,OP1,FP56,AR10.0000,ZE90.0000,SD-5.0\n"         // 12: negative
      "SS,OP1,FP57,AR10.6000,ZE90.0000,SD5.0\n"          // 13: not an angle
      "SS,OP1,FP\n"                                       // 14: truncated
      "GPS,PN58,LA42.0,LN-71.0,EL1.0\n"                  // 15: no grid
      "SS,OP1,FP59,AR20.0000,ZE90.0000,SD20.000\n"
      "SS,OP1,FP59,AR20.0000,ZE90.0000,SD20.010\n"       // 17: again, first kept
      "SS,OP2,FP60,AR20.0000,ZE90.0000,SD20.000\n"       // 18: another station
      "SS,OP1,FP61,AR20.0000,ZE90.0000,SD20.000\n";      // heights never given
  Reduced r = Reduce(RawFormat::Rw5, text, FootKind::UsSurvey);
  ASSERT_FALSE(r.failure) << *r.failure;
  std::map<RecordNumber, std::string> skipped;
  for (const SkippedRecord& s : r.result.skipped) skipped[s.record] = s.reason;
  EXPECT_EQ(skipped, (std::map<RecordNumber, std::string>{
                         {2, "a reading before any setup"},
                         {5, "a reading with no backsight to orient it"},
                         {8, "a reading with no backsight to orient it"},
                         {10, "a zenith angle outside 0 to 360 degrees"},
                         {11, "no distance (an angle only)"},
                         {12, "a negative distance"},
                         {13, "SS with AR that is not an angle"},
                         {14, "SS without a target (FP)"},
                         {15, "GPS position 58 without grid coordinates (no GS record follows)"},
                         {18, "SS from station 2 while the setup is on 1"},
                     }));
  ASSERT_NE(r.Point("52"), nullptr);
  ExpectAt(r, "59", 100 + 20 * std::cos(20 * kDegree), 100 + 20 * std::sin(20 * kDegree), std::nullopt, 1, 1e-9);
  std::vector<AgainRow> again = r.Rows<AgainRow>();
  ASSERT_EQ(again.size(), 1u);
  EXPECT_EQ(again[0].record, 17);
  EXPECT_NEAR(std::hypot(again[0].dNorth, again[0].dEast), 0.01, 1e-9);
  EXPECT_EQ(r.result.noElevation, (std::vector<std::string>{"52", "59", "61"}));
}

TEST(Rw5Test, FilesThatCannotBeReducedFailWithTheirRecord) {
  struct Case {
    std::string text;
    std::string failure;
  };
  const Case cases[] = {
      {"MO,UN1\nSP,PN1,N 1,E 1\nMO,UN0\n",
       "record 3: distances in international feet after metres earlier in the file: mixed units are not reduced"},
      {"SP,PN1,N 1,E 1\nMO,UN1\n",
       "record 2: distances in metres after feet earlier in the file: mixed units are not reduced"},
      {"MO,UN7\n", "record 1: an MO record with an unknown distance unit UN7"},
      {std::string("SP,PN1,N 1,E 1\nSP,PN2,N 1,E\0 1\n", 30), "record 2: binary data (a NUL byte): not a raw data file"},
  };
  for (const Case& c : cases) {
    Reduced r = Reduce(RawFormat::Rw5, c.text);
    EXPECT_EQ(r.failure.value_or("none"), c.failure) << c.text;
  }
  // Metres to feet and back in one file is fine while no distance was read.
  EXPECT_FALSE(Reduce(RawFormat::Rw5, "MO,UN1\nMO,UN2\nSP,PN1,N 1,E 1\n").failure);
  // A level file is no total station file.
  EXPECT_TRUE(Reduce(RawFormat::Gsi, "110001+00000001 331.08+00001234\n").failure);
}

// Points of the store serve as stations and backsights the file gives no
// coordinates for.
TEST(Rw5Test, StoredPointsServeAsControl) {
  auto store = [](const std::string& id) -> std::optional<FieldPosition> {
    if (id == "5") return FieldPosition{1000, 1000, 50.0};
    if (id == "6") return FieldPosition{1100, 1000, std::nullopt};
    return std::nullopt;
  };
  Reduced r = Reduce(RawFormat::Rw5,
                     "OC,OP5\nLS,HI5.0,HR5.0\nBK,OP5,BP6,BC10.0000\nSS,OP5,FP7,AR100.0000,ZE90.0000,SD100.0\n",
                     FootKind::UsSurvey, store);
  ASSERT_FALSE(r.failure);
  ExpectAt(r, "7", 1000, 1100, 50.0, 1, 1e-6);
  EXPECT_EQ(r.result.storeKnown, (std::vector<std::string>{"5", "6"}));
  EXPECT_EQ(r.result.points.size(), 1u);
}

}  // namespace
}  // namespace vantrel
