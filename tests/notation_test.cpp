// Notation: number conversion and masks, angles, bearings, distances and the
// geometry primitives. Expected values are the worked examples of the
// program's notation and hand computations noted beside them.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>

#include "command/fields.h"
#include "command/point_groups.h"
#include "notation/angles.h"
#include "notation/format.h"
#include "notation/geometry.h"
#include "notation/numbers.h"
#include "session_fixture.h"

namespace vantrel {
namespace {

constexpr double kDegree = PI / 180;

TEST(Numbers, LeadingNumberReadsTheNumericPrefix) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {
      {"125.5", 125.5}, {"-3", -3},     {" 1 2 ", 12},     {"1D3", 1000},   {"1d3", 1000}, {"2.5E2", 250},
      {"1e-2", 0.01},   {"&H1F", 31},   {"&o17", 15},      {"&HFFFF", -1},  {"abc", 0},    {"", 0},
      {".5", 0.5},      {"-.25", -0.25}, {"5.", 5},        {"1.2.3", 1.2},  {"+4x", 4},    {"\t7\n", 7},
      {"1E", 1},        {"12A", 12},    {"-", 0},          {"3 0 15", 3015},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value) << c.text;
  EXPECT_TRUE(IsNumericText("12.5"));
  EXPECT_TRUE(IsNumericText(" -1 e3"));
  EXPECT_FALSE(IsNumericText("DIS"));
  EXPECT_FALSE(IsNumericText("1,2"));
}

// Numbers are read to their last digit, however long the field, and every
// number reads exactly as the C library's strtod reads it: near ties,
// subnormals, overflow and the D exponent included.
TEST(Numbers, LeadingNumberReadsEveryDigitAsStrtodDoes) {
  const std::string zeros(450, '0');
  struct Case {
    std::string text;
    double value;
  } cases[] = {
      {zeros + "42.5", 42.5},
      {"0." + zeros + "1E460", 1e9},
      {"1" + zeros + "D-450", 1},
      {"-" + zeros + "7 .2 5", -7.25},  // blanks are ignored
      {"1E400", HUGE_VAL},
      {"-1D400", -HUGE_VAL},
      {"1E-400", 0},
      {"+2.5D", 2.5},
      {"4.9406564584124654E-324", 4.9406564584124654E-324},
  };
  for (const Case& c : cases) EXPECT_EQ(LeadingNumber(c.text), c.value) << c.text.substr(0, 60);

  // Random fields of 2 to 24 significant digits, with exponents across the
  // whole range of doubles (subnormals included), compared bit for bit.
  std::mt19937_64 random(18);
  for (int k = 0; k < 20000; ++k) {
    std::string fraction = std::to_string(random()).substr(0, 1 + random() % 19);
    std::string text = std::to_string(random() % 100000) + "." + fraction;
    if (k % 3 == 0) text.append("e").append(std::to_string(static_cast<int>(random() % 640) - 330));
    if (k % 5 == 0) text = "-" + text;
    double expected = std::strtod(text.c_str(), nullptr);
    ASSERT_EQ(LeadingNumber(text), expected) << text;
  }
}

TEST(Numbers, IntegerFieldsRoundHalfToEvenAndNeverWrap) {
  struct Case {
    const char* text;
    int value;
  } cases[] = {
      {"2.5", 2}, {"3.5", 4}, {"-2.5", -2}, {"12", 12}, {"0.5", 0}, {"1.5", 2}, {"", 0},
      // 65537 would wrap to point 1 in 16 bits; it must stay out of range.
      {"65537", 65537}, {"-65535", -65535}, {"1E12", 1000000000}, {"-1E12", -1000000000},
  };
  for (const Case& c : cases) EXPECT_EQ(IntegerField(c.text), c.value) << c.text;
}

TEST(Numbers, MasksRoundFromTheExactBinaryValueWithTiesAwayFromZero) {
  struct Case {
    double value;
    const char* mask;
    const char* text;
  } cases[] = {
      {12.125, "#0.00", "12.13"},           // exact tie in binary: away from zero
      {-12.125, "#0.00", "-12.13"},
      {2.5, "##0", "3"},
      {3.5, "##0", "4"},
      {12.345, "#0.00", "12.35"},           // 12.345 is just above .345 in binary...
      {1.005, "0.00", "1.00"},              // ...and 1.005 just below .005: rounds down
      {-0.004, "####0.00", "0.00"},         // no minus sign on a zero
      {-0.0004, "########0.000", "0.000"},
      {0.5, ".000", ".500"},                // no leading zero below 1
      {1.5, ".000", "1.500"},
      {0, ".000", ".000"},
      {1234.5, "########0.000", "1234.500"},
      {141.4213562, "#######0.00", "141.42"},
      {10000000000.0, "########0.000", "10000000000.000"},  // the integer part is never cut
      {59.5, "#0", "60"},
      {0.0625, "0.000", "0.063"},
      {-0.5, ".000", "-.500"},              // a zero integer part stays off when negative too
      {7, "00.0", "7.0"},                   // a mask's zeros never add digits
      {-999999.9995, "#######0.000", "-1000000.000"},  // the carry adds a digit
      {123456789012.5, "##0", "123456789013"},
      {2.5e15, "#0.00", "2500000000000000.00"},  // beyond the exact scaled range
  };
  for (const Case& c : cases) EXPECT_EQ(FormatMask(c.value, c.mask), c.text) << c.value << " " << c.mask;
}

// The columns a report row is built of: a number or an angle appended
// right-justified behind what the row holds already, on the fast path
// and on the general path (beyond the scaled range, no number, a marker)
// alike, and never shortened; a value that fills its column keeps one blank
// before it, so two fields never run together.
TEST(Numbers, ColumnsAppendToTheRowRightJustified) {
  std::string row = "Pt";
  AppendMask(row, -12.125, "#0.00", 8);
  AppendMask(row, 2.5e15, "#0.00", 4);
  AppendMask(row, -2.5e15, "##0", 20);
  AppendMask(row, -0.0004, ".000", 6);
  AppendMask(row, std::nan(""), "0.0", 5);
  AppendMask(row, 7, "0", 0);
  EXPECT_EQ(row, "Pt  -12.13 2500000000000000.00   -2500000000000000  .000  NaN7");
  row = "|";
  AppendAngle(row, 45 * kDegree, "z", 13);
  AppendAngle(row, 315 * kDegree, "b", 11);
  AppendAngle(row, 1e30, "z", 12);
  AppendAngle(row, 90 * kDegree, "z", 3);
  EXPECT_EQ(row, "|    45  0  0 N 45  0  0W ***********  90  0  0 ");
  constexpr NumberMask kFeet = "######0.000";
  EXPECT_EQ(kFeet.decimals, 3);
  EXPECT_EQ(FormatMask(0.25, kFeet), "0.250");
}

TEST(Numbers, PlainNumbersAndRoundTrip) {
  EXPECT_EQ(PlainNumber(12), "12");
  EXPECT_EQ(PlainNumber(-12), "-12");
  EXPECT_EQ(PlainNumber(0), "0");
  EXPECT_EQ(PlainNumber(0.5), "0.5");
  EXPECT_EQ(PlainNumber(141.421356237), "141.421356237");
  EXPECT_EQ(PlainNumber(1e20), "1E+20");
  EXPECT_EQ(PlainNumber(1.5e-5), "1.5E-05");
  for (double value : {0.1, 1.0 / 3, -5000.000000001, 1e-300, 123456789.123456789})
    EXPECT_EQ(std::stod(RoundTripNumber(value)), value);
}

TEST(Numbers, PadLeftNeverShortens) {
  EXPECT_EQ(PadLeft("12", 5), "   12");
  EXPECT_EQ(PadLeft("123456789012345", 11), "123456789012345");
  EXPECT_EQ(PadLeft("x", 100), std::string(57, ' ') + "x");  // at most 57 blanks
}

class NotationTest : public SessionTest {};

// A window toolkit adopts the user's locale; a decimal comma there must not
// reach the reading of fields or the writing of reports.
TEST_F(NotationTest, NumbersIgnoreADecimalCommaLocale) {
  const std::string job = "KWN\n1,5000.5,5000.25,2,5100.75,4900.125\nDAB\n1,2\nDSC\n\nRTH\nD1=1E+20/3\nA2=12.5\nDSD\n1\nDSA\n2";
  std::vector<std::string> cLocale = Run(job);
  std::string before = std::setlocale(LC_ALL, nullptr);
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
    GTEST_SKIP() << "the locale de_DE.UTF-8 is not generated on this machine (make deps generates it)";
  std::vector<std::string> commaLocale = Run(job);
  std::string read = PlainNumber(LeadingNumber("5000.5")) + " " + FormatMask(5000.25, "0.00") + " " +
                     PlainNumber(1.5e-5) + " " + PlainNumber(0.125);
  std::setlocale(LC_ALL, before.c_str());
  EXPECT_EQ(commaLocale, cLocale);
  EXPECT_EQ(read, "5000.5 5000.25 1.5E-05 0.125");
}

TEST_F(NotationTest, ParseAngleNotations) {
  session.registers.angle[12] = 10 * kDegree;
  session.registers.angle[7] = 1 * kDegree;
  session.registers.angle[72] = 2 * kDegree;
  struct Case {
    const char* text;
    double degrees;
  } cases[] = {
      {"45 30 15", 45 + 30 / 60.0 + 15 / 3600.0},
      {"-45 30", -45.5},
      {"45.5", 45.5},
      {"45  30", 45 + 30 / 3600.0},  // the empty text between the blanks is the minutes
      {"N 45 E", 45},  {"S 45 E", 135}, {"S 45 W", 225}, {"N 45 W", 315}, {"N45E", 45},
      {"n 10 30 w", 349.5},
      {"A12", 10},     {"a12", 10},     {"-A12", -10},   {"A122", 100}, {"A7", 1}, {"A72", 2}, {"A072", 91},
      {"12A", 0},      {"", 0},         {"400", 400},    {"-10", -10},
  };
  for (const Case& c : cases) EXPECT_NEAR(ParseAngle(session, c.text) / kDegree, c.degrees, 1e-5) << c.text;
  EXPECT_TRUE(user.transcript.empty());
}

TEST_F(NotationTest, ParseAngleReportsUndefinedRegistersAndBadBearings) {
  session.registers.angle[5] = UndefinedCoord;
  for (const char* text : {"N 45", "A05", "A-5", " A5 "}) EXPECT_EQ(ParseAngle(session, text), 0) << text;
  EXPECT_EQ(user.transcript, (std::vector<std::string>{"Info Only: N 45 Invalid angle", "Info Only: A05 Invalid angle",
                                                       "Info Only: A-5 Invalid angle",
                                                       "Info Only:  A5  Invalid angle"}));
}

// A quadrant bearing turns at most 90 degrees: the boundary itself is read,
// anything past it is an invalid angle read as 0.
TEST_F(NotationTest, QuadrantBearingsStopAtNinetyDegrees) {
  struct Case {
    const char* text;
    double degrees;
    bool valid;
  } cases[] = {
      {"N 90 0 0 E", 90, true},     {"S 90 0 0 W", 270, true}, {"N 89 59 59.9 W", 270.0000278, true},
      {"N 90 0 0.5 E", 0, false},   {"S 91 W", 0, false},      {"N 180 0 0 E", 0, false},
  };
  for (const Case& c : cases) {
    user.transcript.clear();
    EXPECT_NEAR(ParseAngle(session, c.text) * 180 / PI, c.degrees, 1e-6) << c.text;
    EXPECT_EQ(user.transcript.empty(), c.valid) << c.text;
  }
}

// The decoders read registers from the bank they are given and name the
// problem without reporting it; the command layer words the messages above.
TEST(Decoding, ProblemsAreNamedNotReported) {
  std::array<double, 3> bank{UndefinedCoord, 2, 0.5};
  struct Case {
    const char* text;
    bool angle;
    FieldValue expected;
  } cases[] = {
      {"A1", true, {2}},
      {"-A2", true, {-0.5}},
      {"A0", true, {0, FieldProblem::InvalidAngle}},
      {"A3", true, {0, FieldProblem::InvalidAngle}},  // beyond the bank given
      {"S 91 W", true, {0, FieldProblem::InvalidAngle}},
      {"1E39", true, {0, FieldProblem::OutOfRange}},
      {"12A", true, {0, FieldProblem::None}},
      {"D1", false, {2}},
      {"-d2", false, {-0.5}},
      {"D0", false, {0, FieldProblem::InvalidDistanceCode}},
      {"D3", false, {0, FieldProblem::InvalidDistanceCode}},
      {"1E400", false, {0, FieldProblem::OutOfRange}},
  };
  for (const Case& c : cases) {
    FieldValue read = c.angle ? DecodeAngle(c.text, bank) : DecodeDistance(c.text, bank);
    EXPECT_EQ(read.problem, c.expected.problem) << c.text;
    EXPECT_DOUBLE_EQ(read.value, c.expected.value) << c.text;
  }
}

TEST(Angles, FormatAngleColumns) {
  struct Case {
    double degrees;
    const char* mode;
    const char* text;
  } cases[] = {
      {45 + 30 / 60.0 + 15 / 3600.0, "z", "  45 30 15 "},
      {5 + 3 / 60.0 + 7 / 3600.0, "b", "N  5  3  7E"},
      {123 + 4 / 60.0 + 5 / 3600.0, "z", " 123  4  5 "},
      {0, "z", "   0  0  0 "},
      {0, "b", "   0  0  0 "},
      {359 + 59 / 60.0 + 59.6 / 3600.0, "z", " 360  0  0 "},  // no wrap-around
      {-90, "z", " 270  0  0 "},
      {450, "z", "  90  0  0 "},
      {180, "b", "S  0  0  0E"},
      {270, "b", "S 90  0  0W"},
      {90, "b", "N 90  0  0E"},
      {315, "B", "N 45  0  0W"},
      {200, "b", "S 20  0  0W"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatAngle(c.degrees * kDegree, c.mode), c.text) << c.degrees << c.mode;
}

TEST(Angles, FormatAngleMarksAnglesItCannotNormalise) {
  EXPECT_EQ(FormatAngle(std::nan(""), "z"), "***********");
  EXPECT_EQ(FormatAngle(1e30, "z"), "***********");
  EXPECT_EQ(FormatAngle(-1e30, "b").size(), 11u);
}

TEST_F(NotationTest, FormatPointLines) {
  session.points.Store(12, 1234.5, -56.25);
  session.points.Store(1000, 0, 0);
  session.points.Store(3, -0.0004, 7);
  EXPECT_EQ(FormatPoint(12, session.points.North(12), session.points.East(12)), "Pt 12   1234.500 N     56.250 W");
  EXPECT_EQ(FormatPoint(1000, session.points.North(1000), session.points.East(1000)),
            "Pt 1000    0.000 N      0.000 E");
  EXPECT_EQ(FormatPoint(3, session.points.North(3), session.points.East(3)), "Pt 3       0.000 S      7.000 E");
  EXPECT_EQ(FormatPoint(4, session.points.North(4), session.points.East(4)), "Pt 4 10000000000.000 S 10000000000.000 W");
}

TEST_F(NotationTest, ParseDistanceNotations) {
  session.registers.distance[4] = 25;
  session.registers.distance[7] = UndefinedCoord;
  struct Case {
    const char* text;
    double value;
  } cases[] = {{"125.5", 125.5}, {"-3", -3}, {"D4", 25}, {"d4", 25}, {"-D4", -25}, {"D 4", 25},
               {"12D", 0},       {"", 0},    {"1D3", 1000}, {" 1d3 ", 1000}};
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(ParseDistance(session, c.text), c.value) << c.text;
  EXPECT_TRUE(user.transcript.empty());
  for (const char* text : {"D7", "D-1", "D150"}) EXPECT_EQ(ParseDistance(session, text), 0) << text;
  EXPECT_EQ(user.transcript,
            (std::vector<std::string>{"Info Only: D7 is invalid distance code", "Info Only: D-1 is invalid distance code",
                                      "Info Only: D150 is invalid distance code"}));
}

TEST(Geometry, AzimuthQuadrants) {
  EXPECT_DOUBLE_EQ(AzimuthOf(1, 1), std::atan(1.0));
  EXPECT_DOUBLE_EQ(AzimuthOf(-1, 1), -std::atan(1.0));
  EXPECT_DOUBLE_EQ(AzimuthOf(-1, -1), std::atan(1.0) + PI);
  EXPECT_DOUBLE_EQ(AzimuthOf(0, -1), PI);
  EXPECT_DOUBLE_EQ(AzimuthOf(1, 0), HALF_PI);
  EXPECT_DOUBLE_EQ(AzimuthOf(-1, 0), THREE_HALF_PI);
  EXPECT_DOUBLE_EQ(AzimuthOf(0, 0), THREE_HALF_PI);
}

TEST_F(NotationTest, IntersectLines) {
  session.points.Store(1, 0, 0);
  session.points.Store(2, 0, 10);
  ASSERT_TRUE(IntersectLines(session, 3, 1, 2, 1, -1));
  EXPECT_DOUBLE_EQ(session.points.North(3), 5);
  EXPECT_DOUBLE_EQ(session.points.East(3), 5);
  EXPECT_DOUBLE_EQ(PointDistance(session.points, 1, 3), std::sqrt(50.0));

  // Replacing point 1 itself: its north is stored first, so with the steeper
  // second line the east comes out as 1's old east.
  ASSERT_TRUE(IntersectLines(session, 1, 1, 2, 1, -2));
  EXPECT_DOUBLE_EQ(session.points.East(1), 0);

  // Parallel lines, and slopes whose intersection overflows, leave the point
  // undefined with a message; nothing infinite reaches the store.
  EXPECT_FALSE(IntersectLines(session, 4, 1, 2, 2, 2));
  EXPECT_FALSE(IntersectLines(session, 5, 1, 2, 1e308, -1e308));
  EXPECT_FALSE(session.points.IsDefined(4));
  EXPECT_FALSE(session.points.IsDefined(5));
  EXPECT_EQ(user.transcript, (std::vector<std::string>{"Info Only: Lines do not intersect",
                                                       "Info Only: Lines do not intersect"}));
}

}  // namespace
}  // namespace vantrel
