// Equal division: DVL divides the line between two points, DVA the arc from
// one point clockwise to another about a centre, into n parts, storing the
// n - 1 points listed after the group's fixed fields.
#include <optional>
#include <string>
#include <vector>

#include "command/commands.h"
#include "command/point_groups.h"
#include "command/session.h"
#include "notation/geometry.h"
#include "notation/numbers.h"

namespace vantrel {
namespace {

// Fields before the list of new points; the last of them is the count n.
constexpr int kLineFixedFields = 3;  // first point, second point, n
constexpr int kArcFixedFields = 4;   // first arc point, centre, last arc point, n

// Reads the count n, which makes the whole group: the fixed fields and n - 1
// new point numbers. The group is computed only when all its fields are
// held; a count below 1, or one whose group could never be held at once, is
// refused.
template <typename Divide>
GroupEnd DivisionGroup(Session& s, int fixedFields, Divide divide) {
  const std::string& countField = s.args.GroupField(fixedFields);
  int parts = IntegerField(countField);
  int mostParts = kMaxFields - fixedFields + 1;
  if (parts < 1 || parts > mostParts) {
    s.InfoBox(countField + " is invalid number of parts (1 to " + std::to_string(mostParts) + ")");
    // Every field held belongs to a group too long to hold: drop them all.
    if (parts > mostParts) return GroupEnd(GroupEnd::Refused).Taking(s.args.FieldsLeft());
    return GroupEnd::Refused;
  }
  int length = fixedFields + parts - 1;
  if (s.args.FieldsLeft() < length) return GroupEnd::Incomplete;
  return divide(s, parts).Taking(length);
}

// The n - 1 new point numbers listed after the fixed fields.
std::optional<std::vector<int>> ListedPoints(Session& s, int fixedFields, int parts) {
  std::vector<int> listed;
  listed.reserve(static_cast<size_t>(parts - 1));
  for (int k = 1; k < parts; ++k) {
    std::optional<int> p = ReadPointNumber(s, s.args.GroupField(fixedFields + k));
    if (!p) return std::nullopt;
    listed.push_back(*p);
  }
  return listed;
}

GroupEnd DivideLine(Session& s, int parts) {
  std::optional<std::array<int, 2>> ends = GroupPoints(s, {1, 2});
  if (!ends) return GroupEnd::Refused;
  std::optional<std::vector<int>> listed = ListedPoints(s, kLineFixedFields, parts);
  if (!listed) return GroupEnd::Refused;
  auto [first, second] = *ends;

  // The ends are read once, so a listed point may replace one of them.
  double north = s.points.North(first), east = s.points.East(first);
  double dN = s.points.North(second) - north, dE = s.points.East(second) - east;
  std::vector<NewPoint> points;
  points.reserve(listed->size());
  for (int k = 1; k < parts; ++k) {
    double ratio = static_cast<double>(k) / parts;
    points.push_back({(*listed)[k - 1], north + ratio * dN, east + ratio * dE});
  }
  return StoreNewPoints(s, points) ? GroupEnd::Done : GroupEnd::Refused;
}

GroupEnd DivideArc(Session& s, int parts) {
  std::optional<std::array<int, 3>> arc = GroupPoints(s, {1, 2, 3});
  if (!arc) return GroupEnd::Refused;
  std::optional<std::vector<int>> listed = ListedPoints(s, kArcFixedFields, parts);
  if (!listed) return GroupEnd::Refused;
  auto [first, centre, last] = *arc;

  double firstRadius = PointDistance(s.points, first, centre);
  double lastRadius = PointDistance(s.points, centre, last);
  if (!RadiiAgree(s, firstRadius, lastRadius, centre)) return GroupEnd::Held;

  // The arc runs clockwise from the first point to the last, through less
  // than a full turn, at the mean radius.
  double northC = s.points.North(centre), eastC = s.points.East(centre);
  double start = PointAzimuth(s.points, centre, first);
  double sweep = PointAzimuth(s.points, centre, last) - start;
  if (sweep < 0) sweep += TWO_PI;
  double step = sweep / parts;
  double radius = (firstRadius + lastRadius) / 2;
  std::vector<NewPoint> points;
  points.reserve(listed->size());
  for (int k = 1; k < parts; ++k) points.push_back(PointAt((*listed)[k - 1], northC, eastC, radius, start + k * step));
  return StoreNewPoints(s, points) ? GroupEnd::Done : GroupEnd::Refused;
}

}  // namespace

Outcome DivideLineCommand(Session& s) {
  return RepeatGroups(s, kLineFixedFields,
                      [](Session& session) { return DivisionGroup(session, kLineFixedFields, DivideLine); });
}

Outcome DivideArcCommand(Session& s) {
  return RepeatGroups(s, kArcFixedFields,
                      [](Session& session) { return DivisionGroup(session, kArcFixedFields, DivideArc); });
}

}  // namespace vantrel
