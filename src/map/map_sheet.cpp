#include "map/map_sheet.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "map/courses.h"
#include "notation/numbers.h"

namespace vantrel {
namespace {

constexpr double kTwipsPerPoint = kTwipsPerInch / 72.0;
constexpr int kTitleGap = 120;              // between the drawing and the title block
constexpr int kScaleCellWidth = 3060;       // the scale and its bar of at most 2 in
constexpr int kLegendCellWidth = 3300;
constexpr int kArrowCellWidth = 720;        // the north arrow's cell at the block's right end
constexpr int kTitlePadding = 90;
constexpr int kTitleFontPoints = 10;
constexpr int kProjectFontPoints = 12;
constexpr int kLegendFontPoints = 7;
constexpr int kSheetPen = 4;                // printer dots of the block's frame and arrow
constexpr int kArcStepsPerTurn = 96;        // arcs are checked against numbers as short chords

struct Box {
  double left, top, right, bottom;
  bool Overlaps(const Box& other) const {
    return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
  }
};

struct Segment {
  double x1, y1, x2, y2;
};

// Liang-Barsky: whether any part of the segment lies inside the box.
bool Crosses(const Segment& s, const Box& b) {
  double dx = s.x2 - s.x1, dy = s.y2 - s.y1;
  double enter = 0, leave = 1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {s.x1 - b.left, b.right - s.x1, s.y1 - b.top, b.bottom - s.y1};
  for (int k = 0; k < 4; ++k) {
    if (p[k] == 0) {
      if (q[k] < 0) return false;
      continue;
    }
    double r = q[k] / p[k];
    if (p[k] < 0) enter = std::max(enter, r);
    else leave = std::min(leave, r);
    if (enter > leave) return false;
  }
  return true;
}

// The chords an arc primitive is checked as.
void AddArcChords(const PlotPrimitive& arc, std::vector<Segment>& strokes) {
  double sweep = std::fmod(arc.endAngle - arc.startAngle, TWO_PI);
  if (sweep < 0) sweep += TWO_PI;
  int steps = std::max(4, static_cast<int>(std::ceil(sweep / TWO_PI * kArcStepsPerTurn)));
  auto at = [&arc](double angle) {
    return std::pair{arc.x + arc.radius * std::cos(angle), arc.y - arc.radius * std::sin(angle)};
  };
  auto [x, y] = at(arc.startAngle);
  for (int k = 1; k <= steps; ++k) {
    auto [nx, ny] = at(arc.startAngle + sweep * k / steps);
    strokes.push_back({x, y, nx, ny});
    x = nx, y = ny;
  }
}

Box TextBox(double left, double top, const std::string& text, int points) {
  double height = points * kTwipsPerPoint;
  double width = TextWidth(std::string(TrimBlanks(text)), points);
  return {left, top, left + width, top + height};
}

// A sheet coordinate; far-off points of an enlarged drawing stay inside int.
int Units(double value) {
  constexpr double kLimit = 1e9;
  return static_cast<int>(std::lround(std::clamp(value, -kLimit, kLimit)));
}

// A drawing scaled by `factor` and moved by (dx, dy), with pens counted in
// printer dots.
class SheetPlacement {
 public:
  SheetPlacement(const PlotPicture& drawing, double factor, double dx, double dy)
      : factor_(factor), dx_(dx), dy_(dy), penRatio_(drawing.TwipsPerPixel() / PrinterPages::kTwipsPerDot) {}

  PlotPrimitive operator()(PlotPrimitive p) const {
    p.x = X(p.x), p.y = Y(p.y), p.x2 = X(p.x2), p.y2 = Y(p.y2);
    p.radius *= factor_;
    p.penWidth = std::max(1, static_cast<int>(std::lround(p.penWidth * penRatio_)));
    return p;
  }
  int X(int x) const { return Units(dx_ + x * factor_); }
  int Y(int y) const { return Units(dy_ + y * factor_); }

 private:
  double factor_, dx_, dy_, penRatio_;
};

// Where a number may stand about its dot, in order of preference: above
// the dot first, so the dot sits under its number.
std::vector<Box> NumberPlaces(const PlotPrimitive& dot, const PlotPrimitive& number) {
  Box size = TextBox(0, 0, number.text, number.fontPoints);
  double w = size.right, h = size.bottom;
  double gap = kPointNumberOffset + dot.penWidth * PrinterPages::kTwipsPerDot / 2;
  double x = dot.x, y = dot.y;
  const double corners[8][2] = {
      {x - w / 2, y - gap - h}, {x + gap, y - gap - h}, {x - gap - w, y - gap - h}, {x + gap, y - h / 2},
      {x - gap - w, y - h / 2}, {x - w / 2, y + gap},   {x + gap, y + gap},         {x - gap - w, y + gap}};
  std::vector<Box> places;
  for (const auto& [left, top] : corners) places.push_back({left, top, left + w, top + h});
  return places;
}

// Sets each number at the first of its places that no line, arc, other dot
// or number already set touches; with none free, at the least crowded.
void PlaceNumbers(std::vector<std::pair<PlotPrimitive, PlotPrimitive>>& numbered,
                  const std::vector<Segment>& strokes, const std::vector<Box>& dots, const Box& sheet) {
  std::vector<Box> placed;
  for (auto& [dot, number] : numbered) {
    Box best{};
    int fewest = -1;
    for (const Box& place : NumberPlaces(dot, number)) {
      int crowd = 0;
      for (const Segment& s : strokes) crowd += Crosses(s, place);
      for (const Box& d : dots) crowd += place.Overlaps(d);
      for (const Box& n : placed) crowd += place.Overlaps(n);
      crowd += !(place.left >= sheet.left && place.right <= sheet.right && place.top >= sheet.top &&
                 place.bottom <= sheet.bottom);
      if (fewest < 0 || crowd < fewest) fewest = crowd, best = place;
      if (crowd == 0) break;
    }
    number.x = static_cast<int>(std::lround(best.left));
    number.y = static_cast<int>(std::lround(best.top));
    placed.push_back(best);
  }
}

// What the title block states: the project and date, the scale and its bar,
// a legend of what the sheet shows.
struct TitleContent {
  SheetTitle title;
  std::string scale;        // "1" = 40'", or empty when not known
  double unitsPerFoot = 0;  // of the scale bar; 0: none
  std::vector<std::string> legend;
};

// The title block along the foot of the sheet: project and date, then the
// scale with its bar, the legend, and the north arrow in the right-hand cell.
void DrawTitleBlock(PlotSurface& sheet, const TitleContent& content) {
  int right = sheet.Width(), bottom = sheet.Height();
  int top = bottom - kTitleBlockHeight;
  int arrowCell = right - kArrowCellWidth;
  int legendCell = content.legend.empty() ? arrowCell : std::max(0, arrowCell - kLegendCellWidth);
  int scaleCell = std::max(0, legendCell - kScaleCellWidth);
  sheet.SetPenWidth(kSheetPen);
  sheet.SetColor(kPlotBlack);
  sheet.Line(0, top, right, top);
  sheet.Line(right, top, right, bottom);
  sheet.Line(right, bottom, 0, bottom);
  sheet.Line(0, bottom, 0, top);
  for (int divider : {scaleCell, legendCell, arrowCell})
    if (divider > 0 && divider < right) sheet.Line(divider, top, divider, bottom);

  int line = top + kTitlePadding;
  sheet.SetFontSize(kProjectFontPoints);
  sheet.Text(kTitlePadding, line, content.title.project.empty() ? std::string("Vantrel map") : content.title.project);
  line += kProjectFontPoints * 20 + kTitlePadding;
  sheet.SetFontSize(kTitleFontPoints);
  sheet.Text(kTitlePadding, line, content.title.date);

  if (!content.scale.empty()) {
    sheet.Text(scaleCell + kTitlePadding, top + kTitlePadding, "Scale " + content.scale);
    DrawScaleBar(sheet, scaleCell + kTitlePadding, bottom - 2 * kTitlePadding, content.unitsPerFoot,
                 kScaleCellWidth - 2 * kTitlePadding);
  }
  int row = top + kTitlePadding;
  sheet.SetFontSize(kLegendFontPoints);
  for (const std::string& entry : content.legend) {
    sheet.Text(legendCell + kTitlePadding, row, entry);
    row += kLegendFontPoints * 20 + 10;
  }
  DrawNorthArrow(sheet, (arrowCell + right) / 2, top + kTitlePadding, kTitleBlockHeight - 2 * kTitlePadding);
}

// Lays `drawing` on the sheet by `place`: lines and arcs first, then the dots
// over them, then each point number set clear of them inside `area`, then
// the other texts.
void LayDrawing(PlotSurface& sheet, const PlotPicture& drawing, const SheetPlacement& place, const Box& area) {
  std::vector<PlotPrimitive> strokes, dots, texts;
  std::vector<std::pair<PlotPrimitive, PlotPrimitive>> numbered;
  const std::vector<PlotPrimitive>& drawn = drawing.Primitives();
  for (size_t i = 0; i < drawn.size(); ++i) {
    const PlotPrimitive& p = drawn[i];
    using Kind = PlotPrimitive::Kind;
    if (p.kind == Kind::Dot) {
      dots.push_back(place(p));
      // The number written beside this dot, as the map writes it.
      if (i + 1 < drawn.size() && drawn[i + 1].kind == Kind::Text && drawn[i + 1].x == p.x + kPointNumberOffset &&
          drawn[i + 1].y == p.y) {
        PlotPrimitive number = place(drawn[++i]);
        number.color = kPlotBlack;  // numbers print black, as on the printer page
        // A point listed twice (a closed figure) is numbered once.
        bool repeated = std::any_of(numbered.begin(), numbered.end(), [&](const auto& entry) {
          return entry.first.x == dots.back().x && entry.first.y == dots.back().y && entry.second.text == number.text;
        });
        if (!repeated) numbered.emplace_back(dots.back(), number);
      }
    } else if (p.kind == Kind::Text) {
      texts.push_back(place(p));
    } else {
      strokes.push_back(place(p));
    }
  }

  std::vector<Segment> chords;
  for (const PlotPrimitive& s : strokes) {
    if (s.kind == PlotPrimitive::Kind::Line) chords.push_back({double(s.x), double(s.y), double(s.x2), double(s.y2)});
    else AddArcChords(s, chords);
  }
  std::vector<Box> dotBoxes;
  for (const PlotPrimitive& d : dots) {
    double r = d.penWidth * PrinterPages::kTwipsPerDot / 2;
    dotBoxes.push_back({d.x - r, d.y - r, d.x + r, d.y + r});
  }
  PlaceNumbers(numbered, chords, dotBoxes, area);

  for (const PlotPrimitive& p : strokes) sheet.Draw(p);
  for (const PlotPrimitive& p : dots) sheet.Draw(p);
  for (const auto& entry : numbered) sheet.Draw(entry.second);
  for (const PlotPrimitive& p : texts) sheet.Draw(p);
}

// ---- The plat -----------------------------------------------------------

constexpr int kPlatDotPen = 10;     // printer dots
constexpr int kPlatLinePen = 6;
constexpr int kPlatNumberPoints = 8;
constexpr int kLabelRoom = 360;     // kept free about the figure for its labels
constexpr int kTableFontPoints = 7;
constexpr int kTableRowHeight = kTableFontPoints * 20 + 60;
constexpr int kTableCellPadding = 60;

struct Extent {
  double minEast = 0, maxEast = 0, minNorth = 0, maxNorth = 0;
  bool any = false;
  void Add(double east, double north) {
    if (!any) minEast = maxEast = east, minNorth = maxNorth = north;
    minEast = std::min(minEast, east), maxEast = std::max(maxEast, east);
    minNorth = std::min(minNorth, north), maxNorth = std::max(maxNorth, north);
    any = true;
  }
  double East() const { return maxEast - minEast; }
  double North() const { return maxNorth - minNorth; }
};

// An arc's ends and its bulge: the points due east, north, west and south
// of its center that lie on it.
void AddArc(Extent& e, const MapDrawing::Arc& a) {
  double sweep = std::fmod(a.endAngle - a.startAngle, TWO_PI);
  if (sweep < 0) sweep += TWO_PI;
  e.Add(a.east + a.radius * std::cos(a.startAngle), a.north + a.radius * std::sin(a.startAngle));
  e.Add(a.east + a.radius * std::cos(a.endAngle), a.north + a.radius * std::sin(a.endAngle));
  for (int quarter = 0; quarter < 4; ++quarter) {
    double along = std::fmod(quarter * HALF_PI - a.startAngle + 2 * TWO_PI, TWO_PI);
    if (along <= sweep)
      e.Add(a.east + a.radius * std::cos(quarter * HALF_PI), a.north + a.radius * std::sin(quarter * HALF_PI));
  }
}

// What the sheet draws: the lines and alignments, the arcs with their bulge
// and the points shown. Centers that are not shown take no part.
Extent ExtentOf(const MapDrawing& drawing, const PlatOptions& options) {
  Extent e;
  for (const MapDrawing::Point& p : drawing.points)
    if (!p.center || (options.points && options.centers)) e.Add(p.east, p.north);
  for (const auto* lines : {&drawing.lines, &drawing.alignmentLines})
    for (const MapDrawing::Line& l : *lines) e.Add(l.east1, l.north1), e.Add(l.east2, l.north2);
  for (const auto* arcs : {&drawing.arcs, &drawing.alignmentArcs})
    for (const MapDrawing::Arc& a : *arcs) AddArc(e, a);
  return e;
}

// The figure on a picture of `width` x `height` at `t`, as the window
// draws it: dots with their numbers beside them, lines, arcs, and with
// courses shown their labels.
PlotPicture PlatFigure(const MapDrawing& drawing, const PlatOptions& options, const PlotTransform& t, int width,
                       int height) {
  PlotPicture figure(width, height, PrinterPages::kTwipsPerDot);
  auto x = [&t](double east) { return Units((east - t.minEast) * t.scale + t.xOffset); };
  auto y = [&t, height](double north) { return Units(height - ((north - t.minNorth) * t.scale + t.yOffset)); };
  figure.SetPenWidth(kPlatLinePen);
  for (const auto* lines : {&drawing.lines, &drawing.alignmentLines})
    for (const MapDrawing::Line& l : *lines) figure.Line(x(l.east1), y(l.north1), x(l.east2), y(l.north2));
  for (const auto* arcs : {&drawing.arcs, &drawing.alignmentArcs})
    for (const MapDrawing::Arc& a : *arcs)
      figure.Arc(x(a.east), y(a.north), a.radius * t.scale, a.startAngle, a.endAngle);
  figure.SetFontSize(kPlatNumberPoints);
  for (const MapDrawing::Label& label : drawing.stationLabels)
    figure.Text(x(label.east), y(label.north), label.text);
  figure.SetFontSize(kPlatNumberPoints);
  for (const MapDrawing::Point& p : drawing.points) {
    if (!options.points || (p.center && !options.centers)) continue;
    figure.SetPenWidth(kPlatDotPen);
    figure.Dot(x(p.east), y(p.north));
    if (options.numbers) figure.Text(x(p.east) + kPointNumberOffset, y(p.north), std::to_string(p.number));
  }
  if (options.courses) DrawCourseLabels(figure, t, drawing, 0, 0);
  return figure;
}

// The curve table with its top-left corner at (left, top): a heading row,
// then a row per curve, in ruled columns.
void DrawCurveTable(PlotSurface& sheet, const std::vector<CurveData>& curves, int left, int top) {
  std::vector<std::vector<std::string>> rows{CurveTableHeading()};
  for (const CurveData& c : curves) rows.push_back(CurveTableRow(c));
  std::vector<int> widths(rows.front().size(), 0);
  for (const auto& row : rows)
    for (size_t k = 0; k < row.size(); ++k)
      widths[k] = std::max(widths[k], static_cast<int>(std::lround(TextWidth(row[k], kTableFontPoints))) +
                                          2 * kTableCellPadding);
  int right = left;
  for (int w : widths) right += w;
  int bottom = top + static_cast<int>(rows.size()) * kTableRowHeight;
  sheet.SetPenWidth(kSheetPen);
  sheet.SetColor(kPlotBlack);
  sheet.SetFontSize(kTableFontPoints);
  for (size_t r = 0; r <= rows.size(); ++r) {
    int y = top + static_cast<int>(r) * kTableRowHeight;
    sheet.Line(left, y, right, y);
  }
  int x = left;
  sheet.Line(x, top, x, bottom);
  for (int w : widths) {
    x += w;
    sheet.Line(x, top, x, bottom);
  }
  for (size_t r = 0; r < rows.size(); ++r) {
    x = left;
    for (size_t k = 0; k < rows[r].size(); ++k) {
      sheet.Text(x + kTableCellPadding, top + static_cast<int>(r) * kTableRowHeight + 30, rows[r][k]);
      x += widths[k];
    }
  }
}

std::vector<std::string> Legend(const MapDrawing& drawing, const PlatOptions& options) {
  bool arcs = !drawing.arcs.empty();
  std::vector<std::string> legend{arcs ? "Lines and arcs of the figures" : "Lines of the figures"};
  if (!drawing.alignmentLines.empty() || !drawing.alignmentArcs.empty())
    legend.push_back("Alignments with their stations");
  if (options.points) legend.push_back(options.numbers ? "Points with their numbers" : "Points");
  if (options.points && options.centers && arcs) legend.push_back("Centers of the curves");
  if (options.courses) {
    legend.push_back("Bearings and distances in feet");
    if (arcs) legend.push_back("C1, C2 ...: curves in the curve table");
  }
  return legend;
}

// One way of turning the paper: the room left for the figure and the scale
// it takes there.
struct PlatLayout {
  int width = 0, height = 0;  // the sheet inside the margins
  int figureHeight = 0;       // above the curve table and the title block
  double feetPerInch = 0;
};

PlatLayout LayOut(const Extent& extent, const PlatOptions& options, int width, int height, size_t curves) {
  PlatLayout layout{width, height};
  int table = curves == 0 ? 0 : static_cast<int>(curves + 1) * kTableRowHeight + kTitleGap;
  layout.figureHeight = std::max(0, height - kTitleBlockHeight - kTitleGap - table);
  layout.feetPerInch = options.feetPerInch > 0
                           ? options.feetPerInch
                           : StandardScale(extent.East(), extent.North(), width - 2 * kLabelRoom,
                                           layout.figureHeight - 2 * kLabelRoom);
  return layout;
}

}  // namespace

void DrawNorthArrow(PlotSurface& surface, int x, int top, int length) {
  constexpr int kHead = 90;
  constexpr int kLetterHeight = kTitleFontPoints * 20;
  int tip = top + kLetterHeight + 40;
  surface.SetFontSize(kTitleFontPoints);
  surface.Line(x, top + length, x, tip);
  surface.Line(x, tip, x - kHead / 2, tip + kHead * 2);
  surface.Line(x, tip, x + kHead / 2, tip + kHead * 2);
  surface.Text(x - kLetterHeight / 3, top, "N");
}

double ScaleBarFeet(double unitsPerFoot, int longest) {
  if (!(unitsPerFoot > 0) || !std::isfinite(unitsPerFoot) || longest <= 0) return 0;
  double feet = std::pow(10.0, std::floor(std::log10(longest / unitsPerFoot)));
  for (double step : {5.0, 2.0}) {
    if (feet * step * unitsPerFoot <= longest) return feet * step;
  }
  return feet;
}

void DrawScaleBar(PlotSurface& surface, int x, int y, double unitsPerFoot, int longest) {
  constexpr int kTick = 80;
  double feet = ScaleBarFeet(unitsPerFoot, longest);
  if (feet <= 0 || !std::isfinite(feet * unitsPerFoot)) return;
  int length = static_cast<int>(std::lround(feet * unitsPerFoot));
  surface.SetFontSize(kTitleFontPoints);
  surface.Line(x, y, x + length, y);
  for (int tick : {0, length / 2, length}) surface.Line(x + tick, y - kTick, x + tick, y);
  surface.Text(x, y - kTick - kTitleFontPoints * 20 - 20, PlainNumber(feet) + " ft");
}

std::string ScaleText(double unitsPerFoot) {
  if (!(unitsPerFoot > 0) || !std::isfinite(unitsPerFoot)) return {};
  double feetPerInch = kTwipsPerInch / unitsPerFoot;
  if (!std::isfinite(feetPerInch)) return {};
  return "1\" = " + FormatMask(feetPerInch, feetPerInch < 100 ? "#########0.0" : "###############0") + " ft";
}

double StandardScale(double eastExtent, double northExtent, int width, int height) {
  if (!std::isfinite(eastExtent) || !std::isfinite(northExtent) || width <= 0 || height <= 0) return 0;
  auto fits = [&](double feetPerInch) {
    return eastExtent / feetPerInch * kTwipsPerInch <= width && northExtent / feetPerInch * kTwipsPerInch <= height;
  };
  for (double scale : kStandardScales)
    if (fits(scale)) return scale;
  // Beyond the engineer's scales: 2000, 3000, 4000, 5000, 10000 and on.
  for (double decade = 1000; std::isfinite(decade * 10); decade *= 10)
    for (double step : {2.0, 3.0, 4.0, 5.0, 10.0})
      if (fits(decade * step)) return decade * step;
  return 0;
}

std::string StandardScaleText(double feetPerInch) {
  if (!(feetPerInch > 0) || !std::isfinite(feetPerInch)) return {};
  return "1\" = " + PlainNumber(feetPerInch) + "'";
}

PlotPicture MapSheet(const PlotPicture& drawing, const SheetTitle& title, int width, int height) {
  PlotPicture sheet(width, height, PrinterPages::kTwipsPerDot);
  int room = height - kTitleBlockHeight - kTitleGap;
  double factor = 1;
  if (drawing.Width() > 0 && drawing.Height() > 0)
    factor = std::min(static_cast<double>(width) / drawing.Width(), static_cast<double>(room) / drawing.Height());
  factor = std::max(factor, 0.0);
  SheetPlacement place(drawing, factor, (width - drawing.Width() * factor) / 2,
                       std::max(0.0, (room - drawing.Height() * factor) / 2));
  LayDrawing(sheet, drawing, place, Box{0, 0, double(width), double(room)});

  const PlotTransform& fitted = drawing.Transform();
  PlotTransform scaled = fitted;
  TitleContent content{title};
  if (fitted.usable) {
    scaled.scale = static_cast<float>(fitted.scale * factor);
    scaled.xOffset = place.X(fitted.xOffset);
    scaled.yOffset = height - place.Y(drawing.Height() - fitted.yOffset);
    content.unitsPerFoot = static_cast<double>(fitted.scale) * factor;
    content.scale = ScaleText(content.unitsPerFoot);
  }
  sheet.Fitted(scaled);
  DrawTitleBlock(sheet, content);
  return sheet;
}

PlotPicture PlatSheet(const MapDrawing& drawing, const PlatOptions& options, const Paper& paper) {
  Extent extent = ExtentOf(drawing, options);
  std::vector<CurveData> curves = options.courses ? Curves(drawing) : std::vector<CurveData>{};
  int shortSide = std::min(paper.width, paper.height) - 2 * kSheetMargin;
  int longSide = std::max(paper.width, paper.height) - 2 * kSheetMargin;
  PlatLayout portrait = LayOut(extent, options, shortSide, longSide, curves.size());
  PlatLayout landscape = LayOut(extent, options, longSide, shortSide, curves.size());
  // The paper turned for the larger drawing; upright when both are alike.
  bool turned = landscape.feetPerInch > 0 && (portrait.feetPerInch <= 0 || landscape.feetPerInch < portrait.feetPerInch);
  const PlatLayout& layout = turned ? landscape : portrait;

  PlotPicture sheet(layout.width, layout.height, PrinterPages::kTwipsPerDot);
  TitleContent content{options.title};
  content.legend = Legend(drawing, options);
  PlotTransform t;
  if (extent.any && layout.feetPerInch > 0) {
    t.usable = true;
    t.scale = static_cast<float>(kTwipsPerInch / layout.feetPerInch);
    t.minEast = static_cast<float>(extent.minEast);
    t.minNorth = static_cast<float>(extent.minNorth);
    // The figure's box centred in its room.
    t.xOffset = Units((layout.width - extent.East() * t.scale) / 2);
    t.yOffset = Units((layout.figureHeight - extent.North() * t.scale) / 2);
    PlotPicture figure = PlatFigure(drawing, options, t, layout.width, layout.figureHeight);
    SheetPlacement place(figure, 1, 0, 0);
    LayDrawing(sheet, figure, place, Box{0, 0, double(layout.width), double(layout.figureHeight)});
    content.scale = StandardScaleText(layout.feetPerInch);
    content.unitsPerFoot = t.scale;
    t.yOffset += layout.height - layout.figureHeight;  // measured from the sheet's foot
  }
  sheet.Fitted(t);
  if (!curves.empty()) DrawCurveTable(sheet, curves, 0, layout.figureHeight + kTitleGap);
  DrawTitleBlock(sheet, content);
  return sheet;
}

}  // namespace vantrel
