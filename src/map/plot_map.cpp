#include "map/plot_map.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "command/session.h"
#include "map/map_figure.h"
#include "map/plot_surface.h"
#include "notation/geometry.h"
#include "notation/numbers.h"

namespace vantrel {
namespace {

constexpr int kMargin = 400;        // free border on every side of a new picture
constexpr float kNoScale = 1e10f;   // a coordinate range of zero gives no scale
constexpr float kEmptyBox = 1e10f;  // start of the bounding box search
constexpr int kScreenFontPoints = 8;
constexpr int kDrawingLimit = 1000000000;  // keeps far-off points inside int

// Pens, colours and fonts of one kind of surface.
struct PlotStyle {
  int dotPen;
  int linePen;
  std::uint32_t numberColor;
  int fontPoints;
};
constexpr PlotStyle kScreenStyle{3, 1, kPlotRed, kScreenFontPoints};
constexpr PlotStyle kPrinterStyle{10, 8, kPlotBlack, 10};

// A coordinate as the box keeps it, in single precision; one beyond the
// single range stays at its end.
float ToSingle(double value) {
  constexpr double kLargest = std::numeric_limits<float>::max();
  return static_cast<float>(std::clamp(value, -kLargest, kLargest));
}

struct BoundingBox {
  float minEast = kEmptyBox, maxEast = -kEmptyBox;
  float minNorth = kEmptyBox, maxNorth = -kEmptyBox;

  void Add(double east, double north) {
    float e = ToSingle(east), n = ToSingle(north);
    maxEast = std::max(maxEast, e);
    minEast = std::min(minEast, e);
    maxNorth = std::max(maxNorth, n);
    minNorth = std::min(minNorth, n);
  }
  bool Wide() const { return maxEast - minEast > maxNorth - minNorth; }
};

struct DrawPosition {
  int x, y;
};

// Rounds a drawing coordinate half to even.
int DrawingUnits(double value) {
  double bounded = std::clamp(value, -static_cast<double>(kDrawingLimit), static_cast<double>(kDrawingLimit));
  return static_cast<int>(RoundHalfEven(bounded));
}

// The largest scale that keeps the box inside the margins, the box centred.
PlotTransform FitTransform(const BoundingBox& box, int width, int height) {
  float eastRange = box.maxEast - box.minEast;
  float northRange = box.maxNorth - box.minNorth;
  float xScale = kNoScale, yScale = kNoScale;
  if (box.maxEast != box.minEast) xScale = static_cast<float>(width - 2 * kMargin) / eastRange;
  if (box.maxNorth != box.minNorth) yScale = static_cast<float>(height - 2 * kMargin) / northRange;
  PlotTransform t;
  t.scale = std::min(xScale, yScale);
  // One point (or none), or a surface too small for the margins.
  if (t.scale == kNoScale || !(t.scale > 0)) return PlotTransform{};
  t.xOffset = DrawingUnits(width / 2.0 - static_cast<double>(eastRange) * t.scale / 2);
  t.yOffset = DrawingUnits(height / 2.0 - static_cast<double>(northRange) * t.scale / 2);
  t.minEast = box.minEast;
  t.minNorth = box.minNorth;
  t.usable = true;
  return t;
}

DrawPosition PositionAt(const PlotTransform& t, int height, double east, double north) {
  double x = (east - t.minEast) * t.scale + t.xOffset;
  double y = height - ((north - t.minNorth) * t.scale + t.yOffset);
  return {DrawingUnits(x), DrawingUnits(y)};
}

DrawPosition PositionOf(const Session& s, const PlotTransform& t, int height, int point) {
  return PositionAt(t, height, s.points.East(point), s.points.North(point));
}

void DrawNumberedDot(PlotSurface& surface, const PlotStyle& style, DrawPosition at, const std::string* label) {
  surface.SetPenWidth(style.dotPen);
  surface.Dot(at.x, at.y);
  if (label == nullptr) return;
  surface.SetColor(style.numberColor);
  surface.Text(at.x + kPointNumberOffset, at.y, *label);
  surface.SetColor(kPlotBlack);
}

// Direction from the center to a point on its arc, counterclockwise from
// east in 0..2 pi, as the arc primitive takes it.
double ArcAngle(const Session& s, int onArc, int center) {
  double angle = HALF_PI - PointAzimuth(s.points, center, onArc);
  if (angle < 0) angle += TWO_PI;
  if (angle > TWO_PI) angle -= TWO_PI;
  return angle;
}

// A center entry with plain, drawable neighbours draws an arc between them.
bool DrawsArc(const std::vector<MapEntry>& entries, size_t i) {
  return entries[i].center && entries[i].drawable && i > 0 && i + 1 < entries.size() && !entries[i - 1].center &&
         !entries[i + 1].center && entries[i - 1].drawable && entries[i + 1].drawable;
}

// The arc about a center, in feet, running counterclockwise from `start` to
// `end` (radians from east).
struct ArcSpan {
  double radius, start, end;
};

// The arc about `center` from `from` to `to`, the one ARE takes (see
// ArcDelta): an arc running clockwise from `from` is drawn counterclockwise
// from `to`. Points so far apart that the radius leaves the range of
// numbers give no arc.
std::optional<ArcSpan> ArcBetween(const Session& s, int from, int center, int to) {
  double radius = PointDistance(s.points, to, center) / 2 + PointDistance(s.points, from, center) / 2;
  double a1 = ArcAngle(s, from, center);
  double a2 = ArcAngle(s, to, center);
  if (!std::isfinite(radius)) return std::nullopt;
  if (ArcDelta(s.points, from, center, to) > 0) std::swap(a1, a2);
  return ArcSpan{radius, a1, a2};
}

// The arc's bulge: the points due east, north, west and south of the center
// that lie on the arc.
void AddArcExtremes(BoundingBox& box, double centerEast, double centerNorth, const ArcSpan& arc) {
  constexpr double kDirections[4][3] = {{0, 1, 0}, {HALF_PI, 0, 1}, {PI, -1, 0}, {THREE_HALF_PI, 0, -1}};
  double sweep = std::fmod(arc.end - arc.start + TWO_PI, TWO_PI);
  for (const auto& [angle, east, north] : kDirections) {
    double along = std::fmod(angle - arc.start + 2 * TWO_PI, TWO_PI);
    if (along <= sweep) box.Add(centerEast + east * arc.radius, centerNorth + north * arc.radius);
  }
}

// The listed figure on one surface: dots and numbers as the options ask,
// lines between consecutive points, arcs about the centers between their
// neighbours.
class FigurePainter {
 public:
  FigurePainter(const Session& s, PlotSurface& surface, const PlotTransform& t, const PlotStyle& style)
      : s_(s), surface_(surface), t_(t), style_(style), height_(surface.Height()) {
    surface_.SetFontSize(style_.fontPoints);
  }

  void Point(int p, bool center) {
    if (s_.plot.ShowPoints && (!center || s_.plot.ShowCenters)) {
      std::string number = std::to_string(p);
      DrawNumberedDot(surface_, style_, At(p), s_.plot.ShowPointNumbers ? &number : nullptr);
    }
    surface_.SetPenWidth(style_.linePen);
  }
  void Line(int from, int to) {
    DrawPosition a = At(from), b = At(to);
    surface_.Line(a.x, a.y, b.x, b.y);
  }
  void Arc(int from, int center, int to) {
    DrawPosition at = At(center);
    if (std::optional<ArcSpan> arc = ArcBetween(s_, from, center, to))
      surface_.Arc(at.x, at.y, t_.scale * arc->radius, arc->start, arc->end);
  }

 private:
  DrawPosition At(int p) const { return PositionOf(s_, t_, height_, p); }

  const Session& s_;
  PlotSurface& surface_;
  const PlotTransform& t_;
  const PlotStyle& style_;
  int height_;
};

void DrawFigure(const Session& s, PlotSurface& surface, const PlotTransform& t, const PlotStyle& style,
                const std::vector<MapEntry>& entries) {
  FigurePainter painter(s, surface, t, style);
  WalkFigure(entries, painter);
}

// The alignments a map line names, from their drawing in feet: lines and
// arcs with the line pen, the station labels in the number's font.
void DrawAlignments(const MapDrawing& routes, PlotSurface& surface, const PlotTransform& t, const PlotStyle& style) {
  int height = surface.Height();
  surface.SetPenWidth(style.linePen);
  for (const MapDrawing::Line& l : routes.alignmentLines) {
    DrawPosition a = PositionAt(t, height, l.east1, l.north1), b = PositionAt(t, height, l.east2, l.north2);
    surface.Line(a.x, a.y, b.x, b.y);
  }
  for (const MapDrawing::Arc& arc : routes.alignmentArcs) {
    DrawPosition at = PositionAt(t, height, arc.east, arc.north);
    surface.Arc(at.x, at.y, t.scale * arc.radius, arc.startAngle, arc.endAngle);
  }
  surface.SetFontSize(style.fontPoints);
  for (const MapDrawing::Label& label : routes.stationLabels) {
    DrawPosition at = PositionAt(t, height, label.east, label.north);
    surface.Text(at.x, at.y, label.text);
  }
}

void AddAlignmentsToBox(BoundingBox& box, const MapDrawing& routes) {
  for (const MapDrawing::Line& l : routes.alignmentLines) {
    box.Add(l.east1, l.north1);
    box.Add(l.east2, l.north2);
  }
  for (const MapDrawing::Arc& a : routes.alignmentArcs) {
    for (double angle : {a.startAngle, a.endAngle}) box.Add(a.east + a.radius * std::cos(angle), a.north + a.radius * std::sin(angle));
    AddArcExtremes(box, a.east, a.north, ArcSpan{a.radius, a.startAngle, a.endAngle});
  }
}

// Every defined point with its number (a blank in the sign place).
void DrawOverview(const Session& s, PlotSurface& surface, const PlotTransform& t) {
  int height = surface.Height();
  for (int k : s.points.Numbers()) {
    if (!s.points.IsDefined(k)) continue;
    std::string number(1, ' ');
    number += std::to_string(k);
    DrawNumberedDot(surface, kScreenStyle, PositionOf(s, t, height, k), &number);
  }
}

}  // namespace

void PlotMap(Session& s) {
  PlotSurface* window = s.user.PlotWindow();
  PlotSurface* printer = s.user.PrinterPage();
  bool mapMode = s.CurrentCommand == "MAP";

  std::vector<MapEntry> entries;
  MapDrawing routes;
  BoundingBox box;
  if (mapMode) {
    routes.AddListedAlignments(s);
    AddAlignmentsToBox(box, routes);
    entries = ReadMapList(s);
    for (size_t i = 0; i < entries.size(); ++i) {
      if (!entries[i].drawable) continue;
      box.Add(s.points.East(entries[i].point), s.points.North(entries[i].point));
      if (!DrawsArc(entries, i)) continue;
      if (std::optional<ArcSpan> arc = ArcBetween(s, entries[i - 1].point, entries[i].point, entries[i + 1].point))
        AddArcExtremes(box, s.points.East(entries[i].point), s.points.North(entries[i].point), *arc);
    }
  } else {
    for (int k : s.points.Numbers())
      if (s.points.IsDefined(k)) box.Add(s.points.East(k), s.points.North(k));
  }

  if (window != nullptr) {
    window->Show();
    window->SetPenWidth(1);
    window->SetFontSize(kScreenFontPoints);
  }

  // The overview always fits all points afresh; a map starts a new picture
  // with a new command, over the overview, or when the last picture could
  // not be fitted.
  bool fitted = window != nullptr ? s.plot.screen.usable : s.plot.printer.usable;
  if (!mapMode || s.CurrentCommand != s.PreviousCommand || !fitted || s.plot.OverviewShown) {
    if (window != nullptr) {
      window->Clear();
      s.plot.drawing.Clear();
      s.plot.screen = FitTransform(box, window->Width(), window->Height());
      window->Fitted(s.plot.screen);
    }
    if (mapMode && printer != nullptr) {
      printer->SetUpPage(box.Wide());
      s.plot.printer = FitTransform(box, printer->Width(), printer->Height());
      printer->Fitted(s.plot.printer);
    }
  }
  s.plot.OverviewShown = !mapMode && window != nullptr;

  bool windowDraws = window != nullptr && s.plot.screen.usable;
  if (!mapMode) {
    if (!windowDraws) return;
    DrawOverview(s, *window, s.plot.screen);
    s.plot.drawing.AddAllPoints(s);
    return;
  }
  if (windowDraws) {
    DrawAlignments(routes, *window, s.plot.screen, kScreenStyle);
    DrawFigure(s, *window, s.plot.screen, kScreenStyle, entries);
    s.plot.drawing.AddFigure(s, entries);
    s.plot.drawing.AddListedAlignments(s);
  }
  if (printer != nullptr && s.files.SpoolOn && s.plot.printer.usable) {
    DrawAlignments(routes, *printer, s.plot.printer, kPrinterStyle);
    DrawFigure(s, *printer, s.plot.printer, kPrinterStyle, entries);
  }
}

void ShowAllPoints(Session& s) {
  s.CurrentCommand.clear();
  PlotMap(s);
}

}  // namespace vantrel
