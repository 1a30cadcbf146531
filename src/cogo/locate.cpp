// Locating new points from stored ones by direction and distance: LZB
// (azimuth or bearing), LAD (angle or deflection from a backsight), LLN (along
// a line) and PLL (the two ends of a parallel line).
#include <array>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "command/commands.h"
#include "command/point_groups.h"
#include "command/session.h"
#include "notation/angles.h"
#include "notation/geometry.h"

namespace vantrel {
namespace {

// Stores the group's new points and writes their lines.
GroupEnd Locate(Session& s, std::initializer_list<NewPoint> points) {
  return StoreNewPoints(s, {points.begin(), points.size()}) ? GroupEnd::Done : GroupEnd::Refused;
}

GroupEnd LocateByAzimuth(Session& s) {
  std::optional<std::array<int, 2>> points = GroupPoints(s, {1, Target(2)});
  if (!points) return GroupEnd::Refused;
  auto [from, target] = *points;
  std::optional<double> distance = ReadDistance(s, s.args.GroupField(3));
  if (!distance) return GroupEnd::Refused;
  std::optional<double> azimuth = ReadAngle(s, s.args.GroupField(4));
  if (!azimuth) return GroupEnd::Refused;
  return Locate(s, {PointAt(target, s.points.North(from), s.points.East(from), *distance, *azimuth)});
}

GroupEnd LocateByAngle(Session& s) {
  std::optional<std::array<int, 3>> points = GroupPoints(s, {1, 2, Target(3)});
  if (!points) return GroupEnd::Refused;
  auto [occupied, backsight, target] = *points;
  std::optional<double> distance = ReadDistance(s, s.args.GroupField(4));
  if (!distance) return GroupEnd::Refused;
  // A "D" as the very first character (the field is not trimmed) makes the
  // angle a deflection, turned from the prolongation of backsight -> occupied.
  std::string_view angleText = s.args.GroupField(5);
  double toward = 1;
  if (!angleText.empty() && (angleText[0] == 'D' || angleText[0] == 'd')) {
    angleText.remove_prefix(1);
    toward = -1;
  }
  std::optional<double> turned = ReadAngle(s, angleText);
  if (!turned) return GroupEnd::Refused;
  double reference = AzimuthOf(toward * (s.points.East(backsight) - s.points.East(occupied)),
                               toward * (s.points.North(backsight) - s.points.North(occupied)));
  return Locate(s, {PointAt(target, s.points.North(occupied), s.points.East(occupied), *distance, reference + *turned)});
}

GroupEnd LocateOnLine(Session& s) {
  std::optional<std::array<int, 3>> points = GroupPoints(s, {1, 2, Target(3)});
  if (!points) return GroupEnd::Refused;
  auto [first, second, target] = *points;
  std::optional<double> distance = ReadDistance(s, s.args.GroupField(4));
  if (!distance) return GroupEnd::Refused;
  double length = PointDistance(s.points, first, second);
  if (length == 0) {
    s.InfoBox("Points " + std::to_string(first) + " and " + std::to_string(second) + " coincide: no line to locate on");
    return GroupEnd::Refused;
  }
  double ratio = *distance / length;
  return Locate(s, {{target, s.points.North(first) + ratio * (s.points.North(second) - s.points.North(first)),
                     s.points.East(first) + ratio * (s.points.East(second) - s.points.East(first))}});
}

GroupEnd OffsetLine(Session& s) {
  std::optional<std::array<int, 4>> points = GroupPoints(s, {1, 2, Target(4), Target(5)});
  if (!points) return GroupEnd::Refused;
  auto [first, second, firstEnd, secondEnd] = *points;
  std::optional<double> offset = ReadDistance(s, s.args.GroupField(3));
  if (!offset) return GroupEnd::Refused;
  // Square to the right of first -> second; a negative offset goes left.
  double right = HALF_PI + PointAzimuth(s.points, first, second);
  NewPoint atFirst = PointAt(firstEnd, s.points.North(first), s.points.East(first), *offset, right);
  // The first end is stored before the second is computed: when it replaces
  // the second point, the second end is offset from that new place.
  bool secondMoved = firstEnd == second;
  NewPoint atSecond = PointAt(secondEnd, secondMoved ? atFirst.north : s.points.North(second),
                              secondMoved ? atFirst.east : s.points.East(second), *offset, right);
  return Locate(s, {atFirst, atSecond});
}

}  // namespace

Outcome LocateByAzimuthCommand(Session& s) { return RepeatGroups(s, 4, LocateByAzimuth); }

Outcome LocateByAngleCommand(Session& s) { return RepeatGroups(s, 5, LocateByAngle); }

Outcome LocateOnLineCommand(Session& s) { return RepeatGroups(s, 4, LocateOnLine); }

Outcome ParallelLineCommand(Session& s) { return RepeatGroups(s, 5, OffsetLine); }

}  // namespace vantrel
