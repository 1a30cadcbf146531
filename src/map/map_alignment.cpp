// An alignment on the map: its elements in feet, and a tick with its
// station at every full station.
#include <cmath>
#include <numbers>

#include "map/map_drawing.h"
#include "notation/numbers.h"
#include "route/alignment.h"

namespace vantrel {
namespace {

// A spiral is drawn as this many straight pieces (a 300-ft spiral into a
// 1000-ft curve strays 0.01 ft from them).
constexpr int kSpiralPieces = 32;
// More ticks than this on one alignment would only blacken it.
constexpr double kMostTicks = 5000;
// A tick reaches this share of the interval to either side; its label
// starts a little beyond its left end.
constexpr double kTickShare = 0.08;
constexpr double kLabelShare = 0.12;

// Counterclockwise from east, as the drawing's arcs run.
double EastAngle(double azimuth) {
  double angle = std::numbers::pi / 2 - azimuth;
  return std::fmod(angle + 4 * std::numbers::pi, 2 * std::numbers::pi);
}

}  // namespace

void MapDrawing::AddAlignment(const Alignment& a, double tickInterval) {
  for (const Element& e : a.Elements()) {
    if (e.kind == ElementKind::Arc) {
      // Arcs run counterclockwise: a curve to the right from its end.
      double radius = e.Radius();
      double start = EastAngle(PlaneAzimuth(e.centre, e.start)), end = EastAngle(PlaneAzimuth(e.centre, e.End().at));
      if (e.TurnsRight()) std::swap(start, end);
      alignmentArcs.push_back({e.centre.east, e.centre.north, radius, start, end});
      continue;
    }
    int pieces = e.kind == ElementKind::Line ? 1 : kSpiralPieces;
    PlanePoint from = e.start;
    for (int j = 1; j <= pieces; ++j) {
      PlanePoint to = e.At(e.length * j / pieces).at;
      alignmentLines.push_back({from.east, from.north, to.east, to.north});
      from = to;
    }
  }

  // Far beyond the interval's precision the count of intervals cannot move
  // on from one tick to the next.
  if (!(tickInterval > 0) || a.Length() / tickInterval > kMostTicks) return;
  if (!(std::fabs(a.EndStation() / tickInterval) < 1e15 && std::fabs(a.StartStation() / tickInterval) < 1e15)) return;
  double reach = kTickShare * tickInterval, labelAt = kLabelShare * tickInterval;
  for (double k = std::ceil(a.StartStation() / tickInterval); k * tickInterval <= a.EndStation(); ++k) {
    double station = k * tickInterval;
    PlanePoint left = a.Locate(station, -reach).at, right = a.Locate(station, reach).at;
    alignmentLines.push_back({left.east, left.north, right.east, right.north});
    PlanePoint label = a.Locate(station, -labelAt).at;
    stationLabels.push_back({label.east, label.north, PlainNumber(station)});
  }
}

}  // namespace vantrel
