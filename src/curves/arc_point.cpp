// Points on arcs and arc lengths: CPA stores the point at an arc distance
// from a known point of an arc, ARC measures the arc between two points about
// a centre and may keep the length in a distance register.
#include <cmath>
#include <optional>
#include <string>

#include "command/commands.h"
#include "command/point_groups.h"
#include "command/session.h"
#include "notation/geometry.h"
#include "notation/numbers.h"

namespace vantrel {
namespace {

GroupEnd PointOnArc(Session& s) {
  std::optional<std::array<int, 3>> points = GroupPoints(s, {1, 2, Target(3)});
  if (!points) return GroupEnd::Refused;
  auto [centre, onArc, target] = *points;
  std::optional<double> length = ReadDistance(s, s.args.GroupField(4));
  if (!length) return GroupEnd::Refused;
  double radius = PointDistance(s.points, centre, onArc);
  if (radius == 0) return NoSolution(s);  // a point on the centre lies on no arc

  // A positive length walks clockwise about the centre.
  double azimuth = PointAzimuth(s.points, centre, onArc) + *length / radius;
  NewPoint point = PointAt(target, s.points.North(centre), s.points.East(centre), radius, azimuth);
  return StoreNewPoints(s, {&point, 1}) ? GroupEnd::Done : GroupEnd::Refused;
}

// One ARC group; the length is also kept in distance register
// `lengthRegister` (0: none).
GroupEnd MeasureArc(Session& s, int lengthRegister) {
  std::optional<std::array<int, 3>> points = GroupPoints(s, {1, 2, 3});
  if (!points) return GroupEnd::Refused;
  auto [centre, start, end] = *points;
  double radius = PointDistance(s.points, centre, start);
  if (!RadiiAgree(s, radius, PointDistance(s.points, centre, end), start)) return GroupEnd::Held;

  // The arc measured is the one that does not pass due west of the centre
  // (where azimuths change range), so either end may be given first.
  double length = std::fabs(PointAzimuth(s.points, centre, end) - PointAzimuth(s.points, centre, start)) * radius;
  // Register 0 means none; numbers above the table keep nothing. A length
  // beyond the range of numbers (points at absurd coordinates) is refused.
  if (lengthRegister > 0 && RegisterBanks::IsNumber(lengthRegister)) {
    if (!std::isfinite(length)) {
      s.InfoBox("Register " + std::to_string(lengthRegister) + " not set: result out of range");
      return GroupEnd::Refused;
    }
    s.registers.distance[lengthRegister] = length;
  }
  std::string arc = "Arc " + std::to_string(start) + " " + std::to_string(end);
  if (!Computable(s, {length}, [&] { return arc; })) return GroupEnd::Refused;
  s.WriteOutput(arc + "   Length = " + FormatMask(length, "######0.000") + " ft.");
  return GroupEnd::Done;
}

}  // namespace

Outcome PointOnArcCommand(Session& s) { return RepeatGroups(s, 4, PointOnArc); }

Outcome ArcLengthCommand(Session& s) {
  if (s.CurrentCommand != s.PreviousCommand) s.WriteOutput("");
  // A data line of exactly four fields names the register for the length.
  return RepeatGroups(s, 3, [](Session& session) {
    if (session.args.Count() != 4) return MeasureArc(session, 0);
    return MeasureArc(session, IntegerField(session.args.GroupField(4))).Taking(4);
  });
}

}  // namespace vantrel
