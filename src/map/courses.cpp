#include "map/courses.h"

#include <cmath>
#include <numbers>
#include <optional>
#include <string_view>

#include "map/plot_surface.h"
#include "notation/angles.h"
#include "notation/geometry.h"
#include "notation/numbers.h"

namespace vantrel {
namespace {

constexpr NumberMask kLengthMask = "######0.000";  // TPR's distance column
constexpr int kLabelFontPoints = 7;
constexpr double kLabelGap = 40;  // between a line and its label, drawing units

std::string TwoDigits(double value) {
  int n = static_cast<int>(value);
  return n < 10 ? "0" + std::to_string(n) : std::to_string(n);
}

std::string Feet(double distance) { return std::string(TrimBlanks(FormatMask(distance, kLengthMask))) + "'"; }

// Degrees, minutes and seconds of a quadrant bearing as a plat writes them.
std::string BearingText(double azimuth) {
  std::optional<AngleParts> parts = SplitAngle(azimuth, "B");
  if (!parts) return FormatAngle(azimuth, "B");  // the report's marker for no angle
  // Due north has no quadrant letters in the report; a plat names it.
  char from = parts->from == ' ' ? 'N' : parts->from, toward = parts->toward == ' ' ? 'E' : parts->toward;
  return std::string(1, from) + " " + std::to_string(static_cast<int>(parts->degrees)) + "\u00B0" +
         TwoDigits(parts->minutes) + "'" + TwoDigits(parts->seconds) + "\" " + toward;
}

std::string AngleText(double radians) {
  std::optional<AngleParts> parts = SplitAngle(radians, "Z");
  if (!parts) return FormatAngle(radians, "Z");
  return std::to_string(static_cast<int>(parts->degrees)) + "\u00B0" + TwoDigits(parts->minutes) + "'" +
         TwoDigits(parts->seconds) + "\"";
}

// Counterclockwise sweep of an arc of the drawing, 0..2 pi.
double Sweep(const MapDrawing::Arc& arc) {
  double sweep = std::fmod(arc.endAngle - arc.startAngle, TWO_PI);
  return sweep < 0 ? sweep + TWO_PI : sweep;
}

// A text's direction turned to read from the left or from below: true pi,
// as atan2 gives it, so a line straight up or down reads from below.
double Upright(double baseline) {
  constexpr double kHalfTurn = std::numbers::pi;
  if (baseline > kHalfTurn / 2) baseline -= kHalfTurn;
  if (baseline <= -kHalfTurn / 2) baseline += kHalfTurn;
  return baseline;
}

// A text laid along the direction `baseline` (radians counterclockwise
// from east on the surface), centred on (x, y) and turned upright.
void CentredText(PlotSurface& surface, double x, double y, double baseline, const std::string& text) {
  baseline = Upright(baseline);
  double height = kLabelFontPoints * 20.0, width = TextWidth(text, kLabelFontPoints);
  // Along the text and toward its top, on a surface whose y grows downward.
  double alongX = std::cos(baseline), alongY = -std::sin(baseline);
  double upX = -std::sin(baseline), upY = -std::cos(baseline);
  double left = x - alongX * width / 2 + upX * height / 2, top = y - alongY * width / 2 + upY * height / 2;
  surface.Text(static_cast<int>(std::lround(left)), static_cast<int>(std::lround(top)), text,
               baseline * 180 / std::numbers::pi);
}

}  // namespace

std::string CourseText(double azimuth, double distance) { return BearingText(azimuth) + "  " + Feet(distance); }

double LineAzimuth(const MapDrawing::Line& l) { return AzimuthOf(l.east2 - l.east1, l.north2 - l.north1); }
double LineLength(const MapDrawing::Line& l) { return std::hypot(l.east1 - l.east2, l.north1 - l.north2); }

std::vector<CurveData> Curves(const MapDrawing& drawing) {
  std::vector<CurveData> curves;
  for (const MapDrawing::Arc& a : drawing.arcs) {
    double delta = Sweep(a);
    double middle = a.startAngle + delta / 2;
    // The chord as TPR lists it after the arc: from the point the figure
    // leaves the arc at to the one it reaches.
    double dE = a.toEast - a.fromEast, dN = a.toNorth - a.fromNorth;
    curves.push_back({static_cast<int>(curves.size()) + 1, a.radius, delta, a.radius * delta, AzimuthOf(dE, dN),
                      std::hypot(dE, dN),
                      a.east + a.radius * std::cos(middle), a.north + a.radius * std::sin(middle), middle});
  }
  return curves;
}

std::vector<std::string> CurveTableHeading() { return {"Curve", "Radius", "Delta", "Length", "Chord Bearing", "Chord"}; }

std::vector<std::string> CurveTableRow(const CurveData& c) {
  return {"C" + std::to_string(c.number), Feet(c.radius), AngleText(c.delta), Feet(c.length), BearingText(c.chordAzimuth),
          Feet(c.chord)};
}

void DrawCourseLabels(PlotSurface& surface, const PlotTransform& t, const MapDrawing& drawing, size_t firstLine,
                      size_t firstArc) {
  if (!t.usable) return;
  int height = surface.Height();
  auto x = [&t](double east) { return (east - t.minEast) * t.scale + t.xOffset; };
  auto y = [&t, height](double north) { return height - ((north - t.minNorth) * t.scale + t.yOffset); };
  surface.SetFontSize(kLabelFontPoints);
  surface.SetColor(kPlotBlack);
  double textHeight = kLabelFontPoints * 20.0;
  for (size_t k = firstLine; k < drawing.lines.size(); ++k) {
    const MapDrawing::Line& l = drawing.lines[k];
    double length = LineLength(l);
    if (!(length > 0) || !std::isfinite(length)) continue;
    double x1 = x(l.east1), y1 = y(l.north1), x2 = x(l.east2), y2 = y(l.north2);
    double baseline = Upright(std::atan2(y1 - y2, x2 - x1));
    // The label's middle stands clear above the line's middle.
    double clear = kLabelGap + textHeight / 2;
    CentredText(surface, (x1 + x2) / 2 - std::sin(baseline) * clear, (y1 + y2) / 2 - std::cos(baseline) * clear,
                baseline, CourseText(LineAzimuth(l), length));
  }
  std::vector<CurveData> curves = Curves(drawing);
  for (size_t k = firstArc; k < curves.size(); ++k) {
    const CurveData& c = curves[k];
    // The curve number outside the arc's middle, level.
    double clear = kLabelGap + textHeight;
    CentredText(surface, x(c.midEast) + std::cos(c.outward) * clear, y(c.midNorth) - std::sin(c.outward) * clear, 0,
                "C" + std::to_string(c.number));
  }
}

}  // namespace vantrel
