// Locating new points from stored ones by direction and distance: LZB
// (azimuth or bearing), LAD (angle or deflection from a backsight), LLN (along
// a line) and PLL (the two ends of a parallel line).
#include <cmath>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "command/commands.h"
#include "command/session.h"
#include "notation/angles.h"
#include "notation/format.h"
#include "notation/geometry.h"

namespace vantrel {
namespace {

struct NewPoint {
  int number;
  double north, east;
};

// Stores the new points, then writes their point lines (so a number given
// twice shows its last value twice). A coordinate beyond the range of numbers
// — from an absurd distance or angle — is reported and none is stored.
bool SetPoints(Session& s, std::initializer_list<NewPoint> points) {
  for (const NewPoint& p : points) {
    if (std::isfinite(p.north) && std::isfinite(p.east)) continue;
    s.InfoBox("Point " + std::to_string(p.number) + " not stored: coordinates out of range");
    return false;
  }
  for (const NewPoint& p : points) {
    s.PointNorth[p.number] = p.north;
    s.PointEast[p.number] = p.east;
  }
  for (const NewPoint& p : points) s.WriteOutput(FormatPoint(s, p.number));
  return true;
}

struct Place {
  double north, east;
};

Place StoredPlace(const Session& s, int n) { return {s.PointNorth[n], s.PointEast[n]}; }

// The point at `distance` from `from` in the direction `azimuth`.
NewPoint Polar(int number, Place from, double distance, double azimuth) {
  return {number, from.north + distance * std::cos(azimuth), from.east + distance * std::sin(azimuth)};
}

bool LocateByAzimuth(Session& s) {
  std::optional<std::array<int, 2>> points = s.GroupPoints({1, 2});
  if (!points) return false;
  auto [from, target] = *points;
  double distance = ParseDistance(s, s.GroupField(3));
  double azimuth = ParseAngle(s, s.GroupField(4));
  return SetPoints(s, {Polar(target, StoredPlace(s, from), distance, azimuth)});
}

bool LocateByAngle(Session& s) {
  std::optional<std::array<int, 3>> points = s.GroupPoints({1, 2, 3});
  if (!points) return false;
  auto [occupied, backsight, target] = *points;
  double distance = ParseDistance(s, s.GroupField(4));
  // A "D" as the very first character (the field is not trimmed) makes the
  // angle a deflection, turned from the prolongation of backsight -> occupied.
  std::string_view angleText = s.GroupField(5);
  double toward = 1;
  if (!angleText.empty() && (angleText[0] == 'D' || angleText[0] == 'd')) {
    angleText.remove_prefix(1);
    toward = -1;
  }
  double turned = ParseAngle(s, angleText);
  double reference = AzimuthOf(toward * (s.PointEast[backsight] - s.PointEast[occupied]),
                               toward * (s.PointNorth[backsight] - s.PointNorth[occupied]));
  return SetPoints(s, {Polar(target, StoredPlace(s, occupied), distance, reference + turned)});
}

bool LocateOnLine(Session& s) {
  std::optional<std::array<int, 3>> points = s.GroupPoints({1, 2, 3});
  if (!points) return false;
  auto [first, second, target] = *points;
  double distance = ParseDistance(s, s.GroupField(4));
  double length = PointDistance(s, first, second);
  if (length == 0) {
    s.InfoBox("Points " + std::to_string(first) + " and " + std::to_string(second) + " coincide: no line to locate on");
    return false;
  }
  double ratio = distance / length;
  return SetPoints(s, {{target, s.PointNorth[first] + ratio * (s.PointNorth[second] - s.PointNorth[first]),
                        s.PointEast[first] + ratio * (s.PointEast[second] - s.PointEast[first])}});
}

bool OffsetLine(Session& s) {
  std::optional<std::array<int, 4>> points = s.GroupPoints({1, 2, 4, 5});
  if (!points) return false;
  auto [first, second, firstEnd, secondEnd] = *points;
  double offset = ParseDistance(s, s.GroupField(3));
  // Square to the right of first -> second; a negative offset goes left.
  double right = HALF_PI + AzimuthOf(s.PointEast[second] - s.PointEast[first],
                                     s.PointNorth[second] - s.PointNorth[first]);
  NewPoint atFirst = Polar(firstEnd, StoredPlace(s, first), offset, right);
  // The first end is stored before the second is computed: when it replaces
  // the second point, the second end is offset from that new place.
  Place secondPlace = firstEnd == second ? Place{atFirst.north, atFirst.east} : StoredPlace(s, second);
  NewPoint atSecond = Polar(secondEnd, secondPlace, offset, right);
  return SetPoints(s, {atFirst, atSecond});
}

}  // namespace

Outcome LocateByAzimuthCommand(Session& s) { return s.ForEachGroup(4, LocateByAzimuth); }

Outcome LocateByAngleCommand(Session& s) { return s.ForEachGroup(5, LocateByAngle); }

Outcome LocateOnLineCommand(Session& s) { return s.ForEachGroup(4, LocateOnLine); }

Outcome ParallelLineCommand(Session& s) { return s.ForEachGroup(5, OffsetLine); }

}  // namespace vantrel
