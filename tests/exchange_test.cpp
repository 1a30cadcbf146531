// Points and drawings exchanged with other programs: what the files hold on
// disk, and that points come back from them exactly, to the bit.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>

#include "session_fixture.h"
#include "exchange/xml.h"
#include "store/descriptions.h"
#include "temp_folder.h"
#include "text_files.h"

namespace fs = std::filesystem;

namespace vantrel {
namespace {

class ExchangeTest : public SessionTest {
 protected:
  TempFolder temp{"vantrel-exchange"};
  fs::path folder = temp.path();

  ExchangeTest() {
    session.files.ProgramFolder = folder.string();
  }

  // Awkward values in every point, elevation and description the store can
  // hold, then the store as it was.
  struct StoredPoint {
    double north, east;
    std::optional<double> elevation;
    std::string description;
  };
  std::map<int, StoredPoint> FillStore() {
    const double values[] = {1.0 / 3,  -2.0 / 3, 1e-300, -1e15 + 0.3, 123456789.123456789,
                             -0.0,     5e-324,   0.1,    4820.55,     std::nextafter(1000.0, 2000.0)};
    const char* descriptions[] = {"", "IRON PIN", "FENCE, WOOD", "SAY \"HI\"", "ÉCOLE"};
    std::map<int, StoredPoint> stored;
    int k = 0;
    for (int n : {1, 2, 17, 500, 999, 1000}) {
      StoredPoint p{values[k % 10], values[(k + 3) % 10], std::nullopt, descriptions[k % 5]};
      if (k % 2 == 0) p.elevation = values[(k + 7) % 10];
      session.points.Store(n, p.north, p.east);
      session.points.SetElevation(n, p.elevation);
      session.points.SetDescription(n, p.description);
      stored[n] = p;
      ++k;
    }
    return stored;
  }

  void ExpectStore(const std::map<int, StoredPoint>& stored) {
    ASSERT_EQ(session.points.UsedCount(), static_cast<int>(stored.size()));
    for (int n : session.points.Numbers()) {
      auto it = stored.find(n);

      if (it == stored.end()) {
        EXPECT_FALSE(session.points.IsDefined(n)) << n;
        continue;
      }
      const StoredPoint& p = it->second;
      EXPECT_EQ(std::bit_cast<uint64_t>(session.points.North(n)), std::bit_cast<uint64_t>(p.north)) << n;
      EXPECT_EQ(std::bit_cast<uint64_t>(session.points.East(n)), std::bit_cast<uint64_t>(p.east)) << n;
      ASSERT_EQ(session.points[n].elevation.has_value(), p.elevation.has_value()) << n;
      if (p.elevation) {
        EXPECT_EQ(std::bit_cast<uint64_t>(*session.points[n].elevation), std::bit_cast<uint64_t>(*p.elevation)) << n;
      }
      EXPECT_EQ(session.points[n].description, p.description) << n;
    }
  }
};

TEST_F(ExchangeTest, CsvRoundTripIsExact) {
  std::map<int, StoredPoint> stored = FillStore();
  Run("PNW\r\nround\r\nCLR\r\n1,1000\r\n");
  ASSERT_EQ(session.points.UsedCount(), 0);
  std::vector<std::string> transcript = Run("PNR\r\nround\r\n");
  EXPECT_EQ(transcript, std::vector<std::string>{"Info Only: 6 points read from round.csv"});
  ExpectStore(stored);
}

TEST_F(ExchangeTest, CsvRecordsAreWrittenAsPointNorthEastElevationDescription) {
  Run("KWN\r\n1,5000,3000.25,2,-0.5,1E-7\r\nDES\r\n1,IRON PIN,2,SAY \"HI\"\r\n");
  session.points.SetElevation(1, 412.35);
  Run("PNW\r\nlot.csv\r\n");
  EXPECT_EQ(ReadFile(folder / "lot.csv"), "1,5000,3000.25,412.35,IRON PIN\r\n2,-0.5,1e-07,,\"SAY \"\"HI\"\"\"\r\n");
}

// A spreadsheet runs a field that begins with =, +, - or @ as a formula;
// the apostrophe before it keeps it a text, and PNR takes it away again.
TEST_F(ExchangeTest, CsvDescriptionsAreNoFormulasAndReadBackAsTheyWere) {
  const std::vector<std::string> descriptions = {"=HYPERLINK(\"x\")", "+1", "-2 FT", "@SUM(A1)", "'QUOTED",
                                                 "'=NOT A FORMULA", "A=B", "FENCE, =OLD"};
  for (size_t k = 0; k < descriptions.size(); ++k) {
    int n = static_cast<int>(k) + 1;
    session.points.Store(n, n, n);
    session.points.SetDescription(n, descriptions[k]);
  }
  session.points.Store(9, 9, 9);
  session.points.SetDescription(9, "TAB\tAND\r\nBREAK");  // as a session file could once bring it
  Run("PNW\r\nsheet\r\n");
  EXPECT_EQ(ReadFile(folder / "sheet.csv"),
            "1,1,1,,\"'=HYPERLINK(\"\"x\"\")\"\r\n2,2,2,,'+1\r\n3,3,3,,'-2 FT\r\n4,4,4,,'@SUM(A1)\r\n"
            "5,5,5,,''QUOTED\r\n6,6,6,,''=NOT A FORMULA\r\n7,7,7,,A=B\r\n8,8,8,,\"FENCE, =OLD\"\r\n"
            "9,9,9,,TAB AND  BREAK\r\n");
  Run("CLR\r\n1,1000\r\nPNR\r\nsheet\r\n");
  for (size_t k = 0; k < descriptions.size(); ++k)
    EXPECT_EQ(session.points[static_cast<int>(k) + 1].description, descriptions[k]);
}

TEST_F(ExchangeTest, CsvQuotesAndRepeatedPoints) {
  std::ofstream(folder / "odd.csv", std::ios::binary)
      << "1,1,1,,\"OPEN, QUOTE\r\n"     // an unclosed quote runs to the end of the line
      << "2,2,2,, \"X\"\"Y\" \r\n"    // blanks around a quoted field
      << "3,3,3\r\n3,4,4,5\r";      // the later record of a point wins
  EXPECT_EQ(Run("PNR\r\nodd\r\n"), std::vector<std::string>{"Info Only: 3 points read from odd.csv"});
  EXPECT_EQ(session.points[1].description, "OPEN, QUOTE");
  EXPECT_EQ(session.points[2].description, "X\"Y");
  EXPECT_EQ(session.points.North(3), 4);
  EXPECT_EQ(session.points[3].elevation, 5);
}

TEST_F(ExchangeTest, LandXmlRoundTripIsExact) {
  std::map<int, StoredPoint> stored = FillStore();
  Run("LXW\r\nround\r\nCLR\r\n1,1000\r\n");
  ASSERT_EQ(session.points.UsedCount(), 0);
  EXPECT_EQ(Run("LXR\r\nround\r\n"), std::vector<std::string>{"Info Only: 6 points read from round.xml"});
  ExpectStore(stored);
}

TEST(Xml, MalformedDocumentsAreRefusedWithTheLine) {
  struct Case {
    const char* text;
    const char* error;
  } cases[] = {
      {"", "line 1: no root element"},
      {"<a>", "line 1: element <a> is not closed"},
      {"<a>\n<b></a>", "line 2: end tag </a> does not close <b>"},
      {"<a x=1/>", "line 1: attribute x without quotes"},
      {"<a x='1/>", "line 1: unclosed attribute value of x"},
      {"<a>&nbsp;</a>", "line 1: unknown entity &nbsp;"},
      {"<a>&#0;</a>", "line 1: unusable character reference &#0;"},
      {"<a>& b</a>", "line 1: '&' that starts no entity"},
      {"<a/><b/>", "line 1: content after the root element"},
      {"text<a/>", "line 1: text before the root element"},
      {"<a><!-- open", "line 1: unclosed comment"},
      {"<a x='<'/>", "line 1: '<' in an attribute value"},
      // Characters XML cannot carry, referenced or as they are.
      {"<a>&#xD800;</a>", "line 1: unusable character reference &#xD800;"},
      {"<a x='&#xFFFE;'/>", "line 1: unusable character reference &#xFFFE;"},
      {"<a>&#1;</a>", "line 1: unusable character reference &#1;"},
      {"<a>\n\xEF\xBF\xBE</a>", "line 2: a character XML cannot carry (U+FFFE)"},
      {"<a>\x01</a>", "line 1: a character XML cannot carry (U+0001)"},
      {"<a>\xC9</a>", "line 1: bytes that are not UTF-8"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_EQ(ParseXml(c.text, error), nullptr) << c.text;
    EXPECT_EQ(error, c.error) << c.text;
  }
  std::string deep;
  for (int k = 0; k < 1000; ++k) deep += "<a>";
  std::string error;
  EXPECT_EQ(ParseXml(deep, error), nullptr);
  EXPECT_NE(error.find("nested deeper"), std::string::npos) << error;
}

TEST(Xml, NamespacesEntitiesAndCdataAreRead) {
  std::string error;
  auto root = ParseXml(
      "\xEF\xBB\xBF<?xml version='1.0'?><!DOCTYPE x [<!ENTITY e 'v'>]><p:r xmlns:p='u' p:k=\"a&amp;&#x263A;\">"
      "<p:c n='1'>x<![CDATA[<y>]]></p:c><!-- c --><c/></p:r>",
      error);
  ASSERT_NE(root, nullptr) << error;
  EXPECT_EQ(root->name, "r");
  EXPECT_EQ(*root->Attribute("k"), "a&\xE2\x98\xBA");
  EXPECT_EQ(root->Attribute("xmlns"), nullptr);
  std::vector<const XmlElement*> found;
  root->Collect("c", found);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0]->text, "x<y>");
  EXPECT_EQ(XmlEscape("<a & 'b'>\""), "&lt;a &amp; &apos;b&apos;&gt;&quot;");
  // Line breaks and tabs survive as references; what XML cannot carry at
  // all becomes "?"; every other character stays as it is.
  EXPECT_EQ(XmlEscape("a\r\nb\tc\x01\xEF\xBF\xBE\xC9\xC3\x89\xF0\x9F\x99\x82"),
            "a&#xD;&#xA;b&#x9;c???\xC3\x89\xF0\x9F\x99\x82");
}

TEST(Descriptions, FileDescriptionsAreCleanedAndCutAtCharacters) {
  struct Case {
    std::string given, kept;
    bool shortened;
  } cases[] = {
      {"  IRON PIN  ", "IRON PIN", false},
      {"\tCURB\tCUT\r", "CURB CUT", false},
      {std::string(64, 'X'), std::string(64, 'X'), false},
      {std::string(65, 'X'), std::string(64, 'X'), true},
      {std::string(63, 'X') + "ÉÉ", std::string(63, 'X') + "É", true},
      {std::string(63, 'X') + " Y", std::string(63, 'X'), true},
      {"", "", false},
  };
  for (const Case& c : cases) {
    bool shortened = false;
    EXPECT_EQ(FileDescription(c.given, shortened), c.kept) << c.given;
    EXPECT_EQ(shortened, c.shortened) << c.given;
  }
  EXPECT_EQ(CharacterCount("ÉCOLE"), 5u);
}

}  // namespace
}  // namespace vantrel
