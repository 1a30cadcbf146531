// LXW and LXR: points, parcels and alignments in LandXML 1.2, the exchange
// format of civil design packages. Points are CgPoints named by their
// number, with "north east [elevation]" as LandXML orders them; each figure
// listed after LXW's first line becomes a Parcel of Line and Curve elements
// with the area ARE reports; every defined alignment is written with its
// profile (route/route_landxml.h).
#include <cmath>
#include <ctime>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "area/figure.h"
#include "command/commands.h"
#include "command/session.h"
#include "command/text_file.h"
#include "exchange/point_exchange.h"
#include "exchange/xml.h"
#include "notation/format.h"
#include "notation/geometry.h"
#include "notation/numbers.h"
#include "route/route_landxml.h"
#include "store/descriptions.h"
#include "store/record_files.h"

namespace vantrel {
namespace {

constexpr const char* kXmlExtension = "xml";

std::string Coordinates(const Session& s, int p) {
  return RoundTripNumber(s.points.North(p)) + " " + RoundTripNumber(s.points.East(p));
}

// <Start pntRef="3">north east</Start>, and the same for End and Center.
std::string PointElement(const Session& s, const char* tag, int p) {
  return std::string("<") + tag + " pntRef=\"" + std::to_string(p) + "\">" + Coordinates(s, p) + "</" + tag + ">";
}

// The parcel's courses in the order of the figure, closed back to its first
// point: a Line between corners, a Curve about each center (rot "cw" when
// the arc turns clockwise from its start to its end).
std::string ParcelElement(const Session& s, const FigureWithArea& parcel, int number) {
  const Figure& f = parcel.figure;
  std::string courses;
  auto line = [&](int from, int to) {
    courses += "        <Line>" + PointElement(s, "Start", from) + PointElement(s, "End", to) + "</Line>\n";
  };
  for (size_t k = 1; k < f.size(); ++k) {
    if (f[k].center) {
      int from = f[k - 1].point, center = f[k].point, to = f[k + 1].point;
      double radius = PointDistance(s.points, from, center) / 2 + PointDistance(s.points, to, center) / 2;
      bool clockwise = ArcDelta(s.points, from, center, to) > 0;
      courses += std::string("        <Curve rot=\"") + (clockwise ? "cw" : "ccw") + "\" radius=\"" +
                 RoundTripNumber(radius) + "\">" + PointElement(s, "Start", from) +
                 PointElement(s, "Center", center) + PointElement(s, "End", to) + "</Curve>\n";
    } else if (!f[k - 1].center) {
      line(f[k - 1].point, f[k].point);
    }
  }
  if (f.back().point != f.front().point) line(f.back().point, f.front().point);
  return "    <Parcel name=\"" + std::to_string(number) + "\" area=\"" + RoundTripNumber(parcel.area) +
         "\">\n      <CoordGeom>\n" + courses + "      </CoordGeom>\n    </Parcel>\n";
}

std::string LandXmlDocument(const Session& s) {
  std::time_t now = std::time(nullptr);
  char date[16], time[16];
  std::strftime(date, sizeof date, "%Y-%m-%d", std::gmtime(&now));
  std::strftime(time, sizeof time, "%H:%M:%S", std::gmtime(&now));
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\" version=\"1.2\" date=\"" +
                    std::string(date) + "\" time=\"" + time + "\">\n";
  xml += std::string("  <Units><Imperial areaUnit=\"squareFoot\" linearUnit=\"") +
         (s.exchange.InternationalFoot ? "foot" : "USSurveyFoot") +
         "\" volumeUnit=\"cubicFeet\" temperatureUnit=\"fahrenheit\" pressureUnit=\"inHG\""
         " angularUnit=\"decimal dd.mm.ss\" directionUnit=\"decimal dd.mm.ss\"/></Units>\n";
  xml += "  <Application name=\"Vantrel\"/>\n  <CgPoints>\n";
  for (int k : s.points.Numbers()) {
    if (!s.points.IsDefined(k)) continue;
    xml += "    <CgPoint name=\"" + std::to_string(k) + "\"";
    if (!s.points[k].description.empty()) xml += " desc=\"" + XmlEscape(s.points[k].description) + "\"";
    xml += ">" + Coordinates(s, k);
    if (s.points[k].elevation) xml += " " + RoundTripNumber(*s.points[k].elevation);
    xml += "</CgPoint>\n";
  }
  xml += "  </CgPoints>\n";
  if (!s.exchange.Parcels.empty()) {
    xml += "  <Parcels>\n";
    for (const std::string& parcel : s.exchange.Parcels) xml += parcel;
    xml += "  </Parcels>\n";
  }
  xml += AlignmentsXml(s.route);
  return xml + "</LandXML>\n";
}

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

using PointsByName = std::map<std::string, const XmlElement*>;

// The words of an element's coordinates, or of those of the CgPoint its
// pntRef names when it holds none.
std::vector<std::string> CoordinateWords(const XmlElement& e, const PointsByName& byName) {
  std::vector<std::string> words = Words(e.text);
  const std::string* reference = e.Attribute("pntRef");
  if (!words.empty() || !reference) return words;
  auto found = byName.find(*reference);
  return found == byName.end() ? words : Words(found->second->text);
}

// The place of an alignment's Start, End, Center or PI.
std::optional<PlanePoint> PlaceOf(const XmlElement& e, const PointsByName& byName) {
  std::vector<std::string> words = CoordinateWords(e, byName);
  if (words.size() < 2 || words.size() > 3) return std::nullopt;
  std::optional<double> north = PlainDecimal(words[0]), east = PlainDecimal(words[1]);
  if (!north || !east) return std::nullopt;
  return PlanePoint{*north, *east};
}

enum LandXmlSkipReason : size_t { kNoCoordinates = kSharedReasonCount };

}  // namespace

// First line: file name, then FT for international feet (US survey feet
// otherwise); writes the defined points. Each further line is a figure as
// ARE lists it (C before a center), added as a parcel; the file is written
// again, whole, after every figure. When the file line gives no file that
// could be written, the figure lines up to the next code line are refused:
// taken as file names, "1,2,C5,4,1" would replace an unrelated 1.xml.
Outcome WriteLandXmlCommand(Session& s) {
  enum Stage { kFileLine = 1, kFigureLines, kNoFile };
  ExchangeState& x = s.exchange;
  if (s.args.Stage() == kFileLine) {
    if (s.LineContinued) return Outcome::Stopped;
    bool international = s.args.Count() >= 2 && UpperCase(TrimBlanks(s.args.Field(2))) == "FT";
    std::string path = DataLineFileName(s, kXmlExtension);
    s.args.SetStage(kNoFile);
    if (path.empty()) return Outcome::Completed;
    x = ExchangeState{path, international, {}};
    if (!SaveTextFile(s, path, LandXmlDocument(s))) return Outcome::Stopped;
    s.args.SetStage(kFigureLines);
    return Outcome::Completed;
  }
  if (FigureWaits(s) || s.args.FieldsLeft() == 0) return Outcome::Stopped;
  if (s.args.Stage() == kNoFile) {
    s.args.ConsumeAll();
    s.InfoBox("LXW has no file to write (its file line was refused); this figure was not written: " +
              QuoteStart(s.CurrentLine));
    return Outcome::Stopped;
  }
  std::optional<FigureWithArea> parcel = ReadFigureWithArea(s);
  s.args.ConsumeAll();
  if (!parcel) return Outcome::Stopped;
  x.Parcels.push_back(ParcelElement(s, *parcel, static_cast<int>(x.Parcels.size()) + 1));
  return SaveTextFile(s, x.LandXmlPath, LandXmlDocument(s)) ? Outcome::Completed : Outcome::Stopped;
}

// Data line: file name. Reads every CgPoint named by a point number
// 1..1000 (a point given by pntRef takes the coordinates of the point it
// names); a file in metric units or one that is not well-formed XML is
// refused whole.
Outcome ReadLandXmlCommand(Session& s) {
  std::string path = DataLineFileName(s, kXmlExtension, FileUse::Read);
  if (path.empty()) return Outcome::Completed;
  std::optional<std::string> content = ReadTextFile(s, path);
  if (!content) return Outcome::Stopped;
  std::string file = std::filesystem::path(path).filename().string();
  std::string error;
  std::unique_ptr<XmlElement> root = ParseXml(*content, error);
  if (!root) {
    s.InfoBox(file + " is not a well-formed XML file (" + error + "); no point was read");
    return Outcome::Stopped;
  }
  std::vector<const XmlElement*> metric;
  root->Collect("Metric", metric);
  if (!metric.empty()) {
    s.InfoBox(file + " is in metric units; Vantrel works in feet, so no point was read");
    return Outcome::Stopped;
  }
  std::vector<const XmlElement*> cgPoints;
  root->Collect("CgPoint", cgPoints);
  PointsByName byName;
  for (const XmlElement* p : cgPoints)
    if (const std::string* name = p->Attribute("name"); name && Words(p->text).size() >= 2) byName[*name] = p;

  SkippedRecords skipped =
      PointFileSkips(s.points.Capacity(), {"without coordinates (or naming by pntRef a point that has none)"});
  std::vector<ReadPoint> points;
  int shortened = 0;
  for (const XmlElement* p : cgPoints) {
    std::vector<std::string> words = CoordinateWords(*p, byName);
    const std::string* name = p->Attribute("name");
    if (words.size() < 2 || words.size() > 3) {
      skipped.Count(kNoCoordinates);
      continue;
    }
    std::optional<double> north = PlainDecimal(words[0]), east = PlainDecimal(words[1]), elevation;
    if (words.size() == 3) elevation = PlainDecimal(words[2]);
    if (!north || !east || (words.size() == 3 && !elevation)) {
      skipped.Count(kNotNumeric);
      continue;
    }
    std::optional<int> number = name ? TableNumber(*name, 1, s.points.Capacity()) : std::nullopt;
    if (!StorablePoint(number, *north, *east, skipped)) continue;
    const std::string* desc = p->Attribute("desc");
    bool cut = false;
    points.push_back({*number, *north, *east, elevation, desc ? FileDescription(*desc, cut) : std::string()});
    shortened += cut ? 1 : 0;
  }
  // A file of alignments alone says nothing of points.
  std::vector<AlignmentRead> alignments =
      ReadAlignments(*root, [&byName](const XmlElement& e) { return PlaceOf(e, byName); });
  bool pointsOnly = alignments.empty() || !cgPoints.empty();
  Outcome outcome = pointsOnly ? StoreReadPoints(s, path, points, skipped, shortened) : Outcome::Completed;
  if (!alignments.empty()) StoreReadAlignments(s, file, alignments);
  return outcome;
}

}  // namespace vantrel
