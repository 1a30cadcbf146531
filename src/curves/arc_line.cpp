// The point where a straight line cuts an arc (a circle given by its centre
// and radius), the one nearer a reference point: ALI gives the line by two
// points, AZB by a point and a direction.
#include <cmath>
#include <optional>

#include "command/commands.h"
#include "command/point_groups.h"
#include "command/session.h"
#include "notation/angles.h"
#include "notation/geometry.h"

namespace vantrel {
namespace {

double DistanceFrom(const NewPoint& p, const Session& s, int n) {
  double dE = p.east - s.points.East(n), dN = p.north - s.points.North(n);
  return std::hypot(dE, dN);
}

GroupEnd IntersectArcLine(Session& s) {
  std::optional<std::array<int, 4>> points = GroupPoints(s, {Target(1), 2, 4, 6});
  if (!points) return GroupEnd::Refused;
  auto [target, centre, from, reference] = *points;
  std::optional<double> typedRadius = ReadDistance(s, s.args.GroupField(3));
  if (!typedRadius) return GroupEnd::Refused;
  double radius = *typedRadius;

  // The line's direction from its point: toward a second point (ALI) or
  // typed (AZB).
  double direction;
  if (s.CurrentCommand == "ALI") {
    std::optional<int> toward = ReadStoredPoint(s, s.args.GroupField(5));
    if (!toward) return GroupEnd::Refused;
    if (SamePlace(s.points, from, *toward)) return NoSolution(s);
    direction = PointAzimuth(s.points, from, *toward);
  } else {
    std::optional<double> typed = ReadAngle(s, s.args.GroupField(5));
    if (!typed) return GroupEnd::Refused;
    direction = *typed;
  }

  // Both crossings; the one nearer the reference point is kept, the first on
  // equal distances. Both are measured before anything is stored, so the new
  // point may replace the reference point.
  double northC = s.points.North(centre), eastC = s.points.East(centre);
  std::optional<std::array<double, 2>> crossings =
      LineCircleCrossings(s.points.North(from), s.points.East(from), direction, northC, eastC, radius);
  if (!crossings) return NoSolution(s);
  NewPoint first = PointAt(target, northC, eastC, radius, (*crossings)[0]);
  NewPoint second = PointAt(target, northC, eastC, radius, (*crossings)[1]);
  const NewPoint& nearer = DistanceFrom(second, s, reference) < DistanceFrom(first, s, reference) ? second : first;
  return StoreNewPoints(s, {&nearer, 1}) ? GroupEnd::Done : GroupEnd::Refused;
}

}  // namespace

Outcome IntersectArcLineCommand(Session& s) { return RepeatGroups(s, 6, IntersectArcLine); }

}  // namespace vantrel
