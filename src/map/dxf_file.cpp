// The DXF writer: the small ASCII subset of AutoCAD R12 that every CAD
// program reads — a header with the units and extents, the layer table, and
// LINE, ARC, POINT and TEXT entities.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <numbers>
#include <string>
#include <string_view>
#include <vector>

#include "command/code_page.h"
#include "map/courses.h"
#include "map/plot_files.h"
#include "notation/numbers.h"

namespace vantrel {
namespace {

constexpr double kDegreesPerRadian = 180 / std::numbers::pi;  // DXF angles are degrees
constexpr double kTextShare = 0.015;  // text height as a share of the drawing's larger extent
constexpr double kLoneTextHeight = 1;  // feet, for a drawing without extent
constexpr int kInsertUnitsFeet = 2;    // $INSUNITS code of feet

struct Layer {
  const char* name;
  int color;  // AutoCAD colour index
};
constexpr Layer kLines{"V-LINES", 7}, kArcs{"V-ARCS", 7}, kPoints{"V-POINTS", 7}, kNumbers{"V-NUMBERS", 1},
    kDescriptions{"V-DESCRIPTIONS", 3}, kCenters{"V-CENTERS", 8}, kAlignment{"V-ALIGNMENT", 5};
constexpr Layer kLayers[] = {kLines, kArcs, kPoints, kNumbers, kDescriptions, kCenters, kAlignment};
// With courses shown: bearing and distance labels, and the curve table.
constexpr Layer kCourses{"V-COURSES", 4}, kTable{"V-TABLE", 7};
constexpr Layer kCourseLayers[] = {kCourses, kTable};
constexpr double kCharacterShare = 0.7;  // a character's width as a share of the text height, generously

// Group code and value pairs, one line each, the code right-aligned in three
// columns as AutoCAD writes it.
class DxfText {
 public:
  DxfText& operator()(int code, std::string_view value) {
    std::string number = std::to_string(code);
    text_.append(number.size() < 3 ? 3 - number.size() : 0, ' ').append(number).append("\r\n");
    text_.append(value).append("\r\n");
    return *this;
  }
  DxfText& operator()(int code, double value) { return (*this)(code, RoundTripNumber(value)); }
  DxfText& operator()(int code, int value) { return (*this)(code, std::string_view(std::to_string(value))); }
  // An X, Y, Z triple with the codes 10+k, 20+k, 30+k.
  DxfText& At(int k, double east, double north) { return (*this)(10 + k, east)(20 + k, north)(30 + k, 0.0); }
  std::string Take() { return std::move(text_); }

 private:
  std::string text_;
};

// Characters beyond ASCII as \U+XXXX, the escape R12 readers decode. What
// an R12 reader cannot take — a character beyond U+FFFF (the escape has
// four digits), a control character (a line break would end the value and
// start a group of its own), bytes that are not UTF-8 — becomes "?" and is
// counted in `replaced`.
std::string DxfString(std::string_view text, int& replaced) {
  std::string out;
  for (size_t k = 0; k < text.size();) {
    auto decoded = DecodeUtf8(text, k);
    char32_t c = decoded ? decoded->first : 0;
    k += decoded ? decoded->second : 1;
    if (!decoded || c < 0x20 || c == 0x7F || c > 0xFFFF) {
      out += '?';
      ++replaced;
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      char escape[16];
      std::snprintf(escape, sizeof escape, "\\U+%04X", static_cast<unsigned>(c));
      out += escape;
    }
  }
  return out;
}

struct Extents {
  double minEast = 0, minNorth = 0, maxEast = 0, maxNorth = 0;
};

Extents ExtentsOf(const MapDrawing& drawing) {
  Extents e;
  bool first = true;
  // An arc's extent may pass the largest number: it is held at that.
  static constexpr double kLargest = std::numeric_limits<double>::max();
  auto held = [](double v) { return std::clamp(v, -kLargest, kLargest); };
  auto add = [&](double east, double north) {
    east = held(east);
    north = held(north);
    e.minEast = first ? east : std::min(e.minEast, east);
    e.maxEast = first ? east : std::max(e.maxEast, east);
    e.minNorth = first ? north : std::min(e.minNorth, north);
    e.maxNorth = first ? north : std::max(e.maxNorth, north);
    first = false;
  };
  for (const MapDrawing::Point& p : drawing.points) add(p.east, p.north);
  for (const auto* arcs : {&drawing.arcs, &drawing.alignmentArcs}) {
    for (const MapDrawing::Arc& a : *arcs) {
      add(a.east - a.radius, a.north - a.radius);
      add(a.east + a.radius, a.north + a.radius);
    }
  }
  for (const MapDrawing::Line& l : drawing.alignmentLines) {
    add(l.east1, l.north1);
    add(l.east2, l.north2);
  }
  return e;
}

void Header(DxfText& dxf, const Extents& e) {
  dxf(0, "SECTION")(2, "HEADER");
  dxf(9, "$ACADVER")(1, "AC1009");
  dxf(9, "$INSUNITS")(70, kInsertUnitsFeet);
  dxf(9, "$MEASUREMENT")(70, 0);  // English units
  dxf(9, "$EXTMIN").At(0, e.minEast, e.minNorth);
  dxf(9, "$EXTMAX").At(0, e.maxEast, e.maxNorth);
  dxf(0, "ENDSEC");
}

void Tables(DxfText& dxf, bool courses) {
  dxf(0, "SECTION")(2, "TABLES");
  dxf(0, "TABLE")(2, "LTYPE")(70, 1);
  dxf(0, "LTYPE")(2, "CONTINUOUS")(70, 0)(3, "Solid line")(72, 65)(73, 0)(40, 0.0);
  dxf(0, "ENDTAB");
  int layers = static_cast<int>(std::size(kLayers) + (courses ? std::size(kCourseLayers) : 0)) + 1;
  dxf(0, "TABLE")(2, "LAYER")(70, layers);
  dxf(0, "LAYER")(2, "0")(70, 0)(62, 7)(6, "CONTINUOUS");
  for (const Layer& layer : kLayers) dxf(0, "LAYER")(2, layer.name)(70, 0)(62, layer.color)(6, "CONTINUOUS");
  if (courses)
    for (const Layer& layer : kCourseLayers) dxf(0, "LAYER")(2, layer.name)(70, 0)(62, layer.color)(6, "CONTINUOUS");
  dxf(0, "ENDTAB");
  dxf(0, "TABLE")(2, "STYLE")(70, 1);
  dxf(0, "STYLE")(2, "STANDARD")(70, 0)(40, 0.0)(41, 1.0)(50, 0.0)(71, 0)(42, 0.2)(3, "txt")(4, "");
  dxf(0, "ENDTAB");
  dxf(0, "ENDSEC");
}

void Text(DxfText& dxf, const Layer& layer, double east, double north, double height, const std::string& text) {
  int replaced = 0;
  dxf(0, "TEXT")(8, layer.name).At(0, east, north)(40, height)(1, DxfString(text, replaced));
}

// A text aligned on (east, north) by its `horizontal` (1: centre) and
// `vertical` (1: bottom, 2: middle) justification, turned `degrees`.
void AlignedText(DxfText& dxf, const Layer& layer, double east, double north, double height, double degrees,
                 int horizontal, int vertical, const std::string& text) {
  int replaced = 0;  // course labels are written in the program's own characters
  dxf(0, "TEXT")(8, layer.name).At(0, east, north)(40, height)(1, DxfString(text, replaced))(50, degrees)(72, horizontal);
  dxf.At(1, east, north)(73, vertical);
}

// Each line's bearing and distance along it, upright and just above it;
// each arc's curve number outside its middle; the curve table below the
// drawing's extents, one text per cell.
void CourseEntities(DxfText& dxf, const MapDrawing& drawing, const Extents& extents, double textHeight) {
  for (const MapDrawing::Line& l : drawing.lines) {
    double length = LineLength(l);
    if (!(length > 0) || !std::isfinite(length)) continue;
    double baseline = std::atan2(l.north2 - l.north1, l.east2 - l.east1);
    if (baseline > std::numbers::pi / 2) baseline -= std::numbers::pi;
    if (baseline <= -std::numbers::pi / 2) baseline += std::numbers::pi;
    double gap = textHeight / 2;
    AlignedText(dxf, kCourses, (l.east1 + l.east2) / 2 - std::sin(baseline) * gap,
                (l.north1 + l.north2) / 2 + std::cos(baseline) * gap, textHeight, baseline * kDegreesPerRadian, 1, 1,
                CourseText(LineAzimuth(l), length));
  }
  std::vector<CurveData> curves = Curves(drawing);
  for (const CurveData& c : curves)
    AlignedText(dxf, kCourses, c.midEast + std::cos(c.outward) * 1.5 * textHeight,
                c.midNorth + std::sin(c.outward) * 1.5 * textHeight, textHeight, 0, 1, 2, "C" + std::to_string(c.number));
  if (curves.empty()) return;
  std::vector<std::vector<std::string>> rows{CurveTableHeading()};
  for (const CurveData& c : curves) rows.push_back(CurveTableRow(c));
  std::vector<double> columns(rows.front().size(), 0);
  for (const auto& row : rows)
    for (size_t k = 0; k < row.size(); ++k)
      columns[k] = std::max(columns[k], (static_cast<double>(row[k].size()) * kCharacterShare + 1) * textHeight);
  double north = extents.minNorth - 3 * textHeight;
  for (const auto& row : rows) {
    double east = extents.minEast;
    for (size_t k = 0; k < row.size(); ++k) {
      Text(dxf, kTable, east, north, textHeight, row[k]);
      east += columns[k];
    }
    north -= 1.5 * textHeight;
  }
}

void Lines(DxfText& dxf, const Layer& layer, const std::vector<MapDrawing::Line>& lines) {
  for (const MapDrawing::Line& l : lines)
    dxf(0, "LINE")(8, layer.name).At(0, l.east1, l.north1).At(1, l.east2, l.north2);
}

void Arcs(DxfText& dxf, const Layer& layer, const std::vector<MapDrawing::Arc>& arcs) {
  for (const MapDrawing::Arc& a : arcs)
    dxf(0, "ARC")(8, layer.name).At(0, a.east, a.north)(40, a.radius)(50, a.startAngle * kDegreesPerRadian)(
        51, a.endAngle * kDegreesPerRadian);
}

void Entities(DxfText& dxf, const MapDrawing& drawing, double textHeight, bool courses, const Extents& extents) {
  dxf(0, "SECTION")(2, "ENTITIES");
  Lines(dxf, kLines, drawing.lines);
  Arcs(dxf, kArcs, drawing.arcs);
  Lines(dxf, kAlignment, drawing.alignmentLines);
  Arcs(dxf, kAlignment, drawing.alignmentArcs);
  for (const MapDrawing::Label& label : drawing.stationLabels)
    Text(dxf, kAlignment, label.east, label.north, textHeight, label.text);
  // Numbers to the upper right of their point, descriptions below them.
  double offset = textHeight / 2;
  for (const MapDrawing::Point& p : drawing.points) {
    if (p.center) {
      dxf(0, "LINE")(8, kCenters.name).At(0, p.east - offset, p.north).At(1, p.east + offset, p.north);
      dxf(0, "LINE")(8, kCenters.name).At(0, p.east, p.north - offset).At(1, p.east, p.north + offset);
      continue;
    }
    dxf(0, "POINT")(8, kPoints.name).At(0, p.east, p.north);
    Text(dxf, kNumbers, p.east + offset, p.north + offset, textHeight, std::to_string(p.number));
    if (!p.description.empty())
      Text(dxf, kDescriptions, p.east + offset, p.north - offset - textHeight, textHeight, p.description);
  }
  if (courses) CourseEntities(dxf, drawing, extents, textHeight);
  dxf(0, "ENDSEC");
}

}  // namespace

std::string PlotDxf(const MapDrawing& drawing, bool courses) {
  Extents extents = ExtentsOf(drawing);
  double extent = std::max(extents.maxEast - extents.minEast, extents.maxNorth - extents.minNorth);
  double textHeight = extent > 0 && std::isfinite(extent * kTextShare) ? extent * kTextShare : kLoneTextHeight;
  DxfText dxf;
  Header(dxf, extents);
  Tables(dxf, courses);
  dxf(0, "SECTION")(2, "BLOCKS")(0, "ENDSEC");
  Entities(dxf, drawing, textHeight, courses, extents);
  dxf(0, "EOF");
  return dxf.Take();
}

std::string DxfReplacedNote(const MapDrawing& drawing) {
  int replaced = 0;
  for (const MapDrawing::Point& p : drawing.points)
    if (!p.center) DxfString(p.description, replaced);
  if (replaced == 0) return {};
  return std::to_string(replaced) + (replaced == 1 ? " character" : " characters") +
         " of the descriptions cannot be held in a DXF (R12) file (beyond U+FFFF, or a control character) and " +
         (replaced == 1 ? "was" : "were") + " written as ?";
}

}  // namespace vantrel
