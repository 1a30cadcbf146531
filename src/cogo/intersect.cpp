// New points where lines and circles meet: ZBI (two directions), PTS (two
// lines through point pairs), TOF (foot of a perpendicular), ARR (two
// circles) and TAN (common tangent of two circles).
#include <cctype>
#include <cmath>
#include <optional>
#include <string>

#include "command/commands.h"
#include "command/point_groups.h"
#include "command/session.h"
#include "notation/angles.h"
#include "notation/format.h"
#include "notation/geometry.h"

namespace vantrel {
namespace {

// Added to every slope's denominator so that an east-west line gets a huge
// but finite slope instead of a division by zero.
constexpr double kSlopeGuard = 1e-30;

// East change per unit north change of a line of the given azimuth.
double DirectionSlope(double azimuth) { return std::sin(azimuth) / (std::cos(azimuth) + kSlopeGuard); }

// Slope of the line from stored point `from` to stored point `to`.
double LineSlope(const Session& s, int from, int to) {
  return (s.points.East(to) - s.points.East(from)) / (s.points.North(to) - s.points.North(from) + kSlopeGuard);
}

// The point line is written even when the lines do not meet: the new point
// then shows as undefined.
GroupEnd StoreIntersection(Session& s, int target, int first, int second, double firstSlope,
                           double secondSlope) {
  IntersectLines(s, target, first, second, firstSlope, secondSlope);
  WritePointLine(s, target);
  return GroupEnd::Done;
}

GroupEnd IntersectDirections(Session& s) {
  std::optional<std::array<int, 3>> points = GroupPoints(s, {Target(1), 2, 4});
  if (!points) return GroupEnd::Refused;
  auto [target, first, second] = *points;
  std::optional<double> firstDirection = ReadAngle(s, s.args.GroupField(3));
  if (!firstDirection) return GroupEnd::Refused;
  std::optional<double> secondDirection = ReadAngle(s, s.args.GroupField(5));
  if (!secondDirection) return GroupEnd::Refused;
  return StoreIntersection(s, target, first, second, DirectionSlope(*firstDirection), DirectionSlope(*secondDirection));
}

GroupEnd IntersectPointLines(Session& s) {
  std::optional<std::array<int, 5>> points = GroupPoints(s, {Target(1), 2, 3, 4, 5});
  if (!points) return GroupEnd::Refused;
  auto [target, a1, a2, b1, b2] = *points;
  if (SamePlace(s.points, a1, a2) || SamePlace(s.points, b1, b2)) return NoSolution(s);
  return StoreIntersection(s, target, a1, b1, LineSlope(s, a1, a2), LineSlope(s, b1, b2));
}

GroupEnd DropPerpendicular(Session& s) {
  std::optional<std::array<int, 4>> points = GroupPoints(s, {Target(1), 2, 3, 4});
  if (!points) return GroupEnd::Refused;
  auto [foot, off, a, b] = *points;
  if (SamePlace(s.points, a, b)) return NoSolution(s);
  double along = LineSlope(s, a, b);
  double square = -1 / (along + kSlopeGuard);
  return StoreIntersection(s, foot, off, b, square, along);
}

// Side letters: -1 for the left of the line from the first centre to the
// second, +1 for the right.
constexpr double kLeft = -1, kRight = 1;

GroupEnd IntersectCircles(Session& s) {
  std::optional<std::array<int, 3>> points = GroupPoints(s, {Target(1), 2, 4});
  if (!points) return GroupEnd::Refused;
  auto [target, c1, c2] = *points;
  std::optional<std::array<double, 2>> radii = GroupDistances(s, {3, 5});
  if (!radii) return GroupEnd::Refused;
  auto [r1, r2] = *radii;
  // Only the first letter counts: "L" and "Left" both take the left point.
  const std::string& sideText = s.args.GroupField(6);
  double side = !sideText.empty() && std::toupper(static_cast<unsigned char>(sideText[0])) == 'L' ? kLeft : kRight;

  // Cosines of the triangle's angles at the two centres. Circles that do not
  // meet put one beyond 1; a zero radius or coincident centres give no
  // number at all, which the test refuses as well.
  double between = PointDistance(s.points, c1, c2);
  double cosAtFirst = (r1 * r1 + between * between - r2 * r2) / (2 * r1 * between);
  double cosAtSecond = (r2 * r2 + between * between - r1 * r1) / (2 * r2 * between);
  if (!(std::fabs(cosAtFirst) <= 1 && std::fabs(cosAtSecond) <= 1)) return NoSolution(s);

  // The point lies r1 from the first centre, turned from the line of centres
  // by the triangle's angle there. Taking it along that ray (rather than
  // where the rays from both centres cross) keeps circles that touch exact:
  // their two rays coincide and have no single crossing.
  double angleAtFirst = AzimuthOf(std::sqrt(1 - cosAtFirst * cosAtFirst), cosAtFirst);
  double ray = PointAzimuth(s.points, c1, c2) + side * angleAtFirst;
  NewPoint point = PointAt(target, s.points.North(c1), s.points.East(c1), r1, ray);
  return StoreNewPoints(s, {&point, 1}) ? GroupEnd::Done : GroupEnd::Refused;
}

GroupEnd TangentToCircles(Session& s) {
  std::optional<std::array<int, 4>> points = GroupPoints(s, {Target(1), 2, Target(4), 5});
  if (!points) return GroupEnd::Refused;
  auto [firstTouch, c1, secondTouch, c2] = *points;
  std::optional<std::array<double, 2>> radii = GroupDistances(s, {3, 6});
  if (!radii) return GroupEnd::Refused;
  auto [r1, r2] = *radii;
  // Here the whole field is compared: "Left" is not "L", " I" is not "I".
  double side = UpperCase(s.args.GroupField(7)) == "L" ? kLeft : kRight;
  double kind = UpperCase(s.args.GroupField(8)) == "I" ? -1 : 1;  // inner : outer

  // Sine of the tangent's angle to the line of centres; beyond 1 the tangent
  // does not exist, and coincident centres give no number at all.
  double ratio = (r1 - kind * r2) / PointDistance(s.points, c1, c2);
  if (!(std::fabs(ratio) <= 1)) return NoSolution(s);
  double tangent = PointAzimuth(s.points, c1, c2) - side * AzimuthOf(ratio, std::sqrt(1 - ratio * ratio));

  // Each point of contact lies square to the tangent from its centre; an
  // inner tangent touches the second circle on the opposite side.
  double square = tangent + HALF_PI;
  NewPoint touches[] = {PointAt(firstTouch, s.points.North(c1), s.points.East(c1), side * r1, square),
                        PointAt(secondTouch, s.points.North(c2), s.points.East(c2), side * r2 * kind, square)};
  return StoreNewPoints(s, touches) ? GroupEnd::Done : GroupEnd::Refused;
}

}  // namespace

Outcome IntersectDirectionsCommand(Session& s) { return RepeatGroups(s, 5, IntersectDirections); }

Outcome IntersectPointLinesCommand(Session& s) { return RepeatGroups(s, 5, IntersectPointLines); }

Outcome FootOfPerpendicularCommand(Session& s) { return RepeatGroups(s, 4, DropPerpendicular); }

Outcome IntersectCirclesCommand(Session& s) { return RepeatGroups(s, 6, IntersectCircles); }

Outcome TangentToCirclesCommand(Session& s) { return RepeatGroups(s, 8, TangentToCircles); }

}  // namespace vantrel
