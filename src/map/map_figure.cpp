#include "map/map_figure.h"

#include <cmath>
#include <numbers>
#include <utility>

#include "command/figure_list.h"
#include "notation/format.h"
#include "notation/geometry.h"
#include "notation/numbers.h"

namespace vantrel {
namespace {

// Direction from the center to a point, counterclockwise from east, in
// 0..2 pi (true pi: the drawing leaves the program for other programs).
double EastAngle(const Session& s, int center, int point) {
  double angle =
      std::atan2(s.points.North(point) - s.points.North(center), s.points.East(point) - s.points.East(center));
  return angle < 0 ? angle + 2 * std::numbers::pi : angle;
}

class DrawingRecorder {
 public:
  DrawingRecorder(const Session& s, MapDrawing& drawing) : s_(s), drawing_(drawing) {}

  // Each point once (a closed figure lists its first point again at its
  // end), a center mark once.
  void Point(int p, bool center) {
    for (const MapDrawing::Point& drawn : drawing_.points)
      if (drawn.number == p && drawn.center == center) return;
    drawing_.points.push_back({p, s_.points.East(p), s_.points.North(p), s_.points[p].description, center});
  }
  void Line(int from, int to) {
    drawing_.lines.push_back({s_.points.East(from), s_.points.North(from), s_.points.East(to), s_.points.North(to)});
  }
  // The arc between the two points that ARE takes and the plot draws (see
  // ArcDelta); the radius is the mean of their distances from the center,
  // and when those differ as ARE would ask about, the drawing says so.
  void Arc(int from, int center, int to) {
    double toFrom = PointDistance(s_.points, from, center), toTo = PointDistance(s_.points, to, center);
    double radius = toTo / 2 + toFrom / 2;
    if (!std::isfinite(radius)) {
      drawing_.notes.push_back("The arc about point " + std::to_string(center) +
                               " is too large to draw and was left out");
      return;
    }
    if (UnequalRadii(toFrom, toTo))
      drawing_.notes.push_back("Pt. " + std::to_string(center) + " has unequal radii " +
                               FormatMask(toFrom, "#####0.000") + " and " + FormatMask(toTo, "#####0.000") +
                               ": the arc is drawn with their mean");
    double a1 = EastAngle(s_, center, from), a2 = EastAngle(s_, center, to);
    if (ArcDelta(s_.points, from, center, to) > 0) std::swap(a1, a2);
    drawing_.arcs.push_back({s_.points.East(center), s_.points.North(center), radius, a1, a2, s_.points.East(from),
                             s_.points.North(from), s_.points.East(to), s_.points.North(to)});
  }

 private:
  const Session& s_;
  MapDrawing& drawing_;
};

}  // namespace

std::optional<int> AlignmentEntry(std::string_view field) {
  std::string_view entry = TrimBlanks(field);
  if (entry.size() < 2 || (entry[0] != 'A' && entry[0] != 'a')) return std::nullopt;
  return IntegerField(entry.substr(1));
}

std::vector<MapEntry> ReadMapList(const Session& s, int first) {
  std::vector<MapEntry> entries;
  // Entries that name no point of the store and undefined points are never drawn.
  for (const FigureEntry& entry : FigureEntries(s, first))
    entries.push_back({entry.point, entry.center, entry.valid && s.points.IsDefined(entry.point)});
  return entries;
}

void MapDrawing::AddFigure(const Session& s, const std::vector<MapEntry>& entries) {
  DrawingRecorder recorder(s, *this);
  WalkFigure(entries, recorder);
}

void MapDrawing::AddListedAlignments(const Session& s, int first) {
  for (int j = first; j <= s.args.FieldsLeft(); ++j) {
    std::optional<int> n = AlignmentEntry(s.args.GroupField(j));
    if (n && RouteState::IsAlignmentNumber(*n) && s.route.alignments[*n])
      AddAlignment(s.route.alignments[*n]->geometry, s.plot.StationTicks);
  }
}

bool NamesAlignment(Session& s, const std::string& field) {
  std::optional<int> n = AlignmentEntry(field);
  if (!n) return false;
  if (!RouteState::IsAlignmentNumber(*n) || !s.route.alignments[*n]) s.InfoBox(field + " is not a defined alignment");
  return true;
}

void MapDrawing::AddAllPoints(const Session& s) {
  for (int k : s.points.Numbers())
    if (s.points.IsDefined(k))
      points.push_back({k, s.points.East(k), s.points.North(k), s.points[k].description, false});
}

}  // namespace vantrel
