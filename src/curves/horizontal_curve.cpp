// HA1, HA2 and HA3: simple circular curves between two tangents. HA1 and
// HA2 take the tangents from stored points and store the PC, the PT and the
// center; HA3 works from a typed deflection angle. HA2 and HA3 report the
// stationing and the field table, carrying the station from curve to curve.
#include <array>
#include <cmath>
#include <initializer_list>
#include <optional>
#include <string>

#include "command/commands.h"
#include "command/point_groups.h"
#include "command/session.h"
#include "curves/curve_report.h"
#include "notation/angles.h"
#include "notation/geometry.h"

namespace vantrel {
namespace {

constexpr int kPointCurveGroup = 9;      // HA1
constexpr int kStationedCurveGroup = 10;  // HA2
constexpr int kDeflectionCurveGroup = 6;  // HA3

struct CurvePoints {
  int back, pi, ahead;   // the tangents: B towards V, V towards A
  int pc, pt, center;    // where the results are stored
};

// The first data line after the code line: HA2 and HA3 take its first field
// as the station of the starting point. True when the line holds groups.
bool ReadFirstLine(Session& s, bool takesStartingStation) {
  if (s.args.Stage() != 1) return true;
  s.args.SetStage(2);
  if (!takesStartingStation) return true;
  s.args.Consume(1);
  double station = LeadingNumber(s.args.Field(1));
  s.curves.RunningStation = std::isfinite(station) ? station : OutOfRange(s, s.args.Field(1));
  return s.args.FieldsLeft() > 0;
}

// The six point numbers of an HA1/HA2 group; the first outside the store,
// or an undefined tangent point, is reported and refuses the group before
// anything is read or stored.
std::optional<CurvePoints> ReadCurvePoints(Session& s) {
  std::optional<std::array<int, 6>> points = GroupPoints(s, {2, 3, 4, Target(7), Target(8), Target(9)});
  if (!points) return std::nullopt;
  auto [back, pi, ahead, pc, pt, center] = *points;
  return CurvePoints{back, pi, ahead, pc, pt, center};
}

// A curve whose figures overflow (from absurdly large fields) is refused
// rather than reported or stored as numbers that are no numbers.
bool ComputableCurve(Session& s, const SimpleCurve& curve, std::initializer_list<double> values) {
  for (double value : values) {
    if (!std::isfinite(value)) {
      s.InfoBox("Curve No. " + std::to_string(curve.number) + " cannot be computed");
      return false;
    }
  }
  return true;
}

// The station interval of a field table, in single precision; a table needs
// it positive.
float ReadInterval(Session& s, int field) {
  float interval = static_cast<float>(LeadingNumber(s.args.GroupField(field)));
  if (!std::isfinite(interval)) interval = static_cast<float>(OutOfRange(s, s.args.GroupField(field)));
  if (!(interval > 0)) s.InfoBox("Distance between stations should be greater than zero");
  return interval;
}

// Completes the tangent and the radius from the deflection: a given tangent
// governs, and the radius always follows from it. The signs of typed values
// are ignored, as that of the deflection is. False, reported, when there is
// no curve to compute.
bool SolveCurve(Session& s, SimpleCurve& curve) {
  double slope = std::tan(curve.deflection / 2);
  if (slope == 0) {
    s.InfoBox("Deflection angle of curve " + std::to_string(curve.number) + " is zero");
    return false;
  }
  if (curve.tangent == 0) curve.tangent = curve.radius * slope;
  curve.tangent = std::fabs(curve.tangent);
  curve.radius = std::fabs(curve.tangent / slope);
  double ptStation = s.curves.RunningStation + curve.distanceToPI - curve.tangent + curve.ArcLength();
  return ComputableCurve(s, curve, {ptStation, curve.LongChord(), curve.ExternalOrdinate(), curve.DegreeOfCurvature()});
}

// Both tangent and radius missing: the group waits, unconsumed.
bool TangentOrRadiusGiven(Session& s, double tangent, double radius) {
  if (tangent != 0 || radius != 0) return true;
  s.InfoBox("Radius or tangent must be defined in Option " + s.CurrentCommand);
  return false;
}

struct Place {
  double north, east;
};

// The point one tangent length from the PI towards `end`.
Place AlongTangent(const Session& s, int pi, int end, double tangent) {
  double share = tangent / PointDistance(s.points, pi, end);
  return {s.points.North(pi) + share * (s.points.North(end) - s.points.North(pi)),
          s.points.East(pi) + share * (s.points.East(end) - s.points.East(pi))};
}

void StorePlace(Session& s, int point, Place place) { s.points.Store(point, place.north, place.east); }

// One HA1/HA2 group: the curve between the tangents B-V and V-A.
GroupEnd CurveFromPoints(Session& s, bool stationed) {
  std::optional<CurvePoints> p = ReadCurvePoints(s);
  if (!p) return GroupEnd::Refused;
  std::optional<std::array<double, 2>> tangentAndRadius = GroupDistances(s, {5, 6});
  if (!tangentAndRadius) return GroupEnd::Refused;
  SimpleCurve curve{IntegerField(s.args.GroupField(1)), 0, (*tangentAndRadius)[0], (*tangentAndRadius)[1], 0};
  float interval = stationed ? ReadInterval(s, 10) : 0;
  if (!TangentOrRadiusGiven(s, curve.tangent, curve.radius)) return GroupEnd::Held;
  for (int end : {p->back, p->ahead}) {
    if (SamePlace(s.points, end, p->pi)) {
      s.InfoBox("Pt " + std::to_string(end) + " lies on the PI");
      return GroupEnd::Refused;
    }
  }

  // Deflection from the back tangent to the ahead tangent, within half a
  // turn either way; positive is a curve to the right.
  double backAzimuth = PointAzimuth(s.points, p->back, p->pi);
  curve.deflection = PointAzimuth(s.points, p->pi, p->ahead) - backAzimuth;
  if (curve.deflection < -PI) curve.deflection += TWO_PI;
  if (curve.deflection > PI) curve.deflection -= TWO_PI;
  curve.distanceToPI = PointDistance(s.points, p->pi, p->back);
  if (!SolveCurve(s, curve)) return GroupEnd::Refused;

  // The center lies one radius from the PC, square to the back tangent on
  // the side the curve turns to.
  Place pc = AlongTangent(s, p->pi, p->back, curve.tangent);
  Place pt = AlongTangent(s, p->pi, p->ahead, curve.tangent);
  double toCenter = curve.deflection > 0 ? backAzimuth + HALF_PI : backAzimuth - HALF_PI;
  Place center{pc.north + curve.radius * std::cos(toCenter), pc.east + curve.radius * std::sin(toCenter)};
  if (!ComputableCurve(s, curve, {pc.north, pc.east, pt.north, pt.east, center.north, center.east}))
    return GroupEnd::Refused;
  StorePlace(s, p->pc, pc);
  StorePlace(s, p->pt, pt);
  StorePlace(s, p->center, center);

  s.WriteOutput("");
  WriteCurveElements(s, curve);
  s.WriteOutput("");
  if (stationed) {
    WriteStationing(s, curve, interval);
  } else {
    WriteCurvePoints(s, p->pc, p->pt, p->center);
  }
  return GroupEnd::Done;
}

// One HA3 group: the curve from its deflection angle.
GroupEnd CurveFromDeflection(Session& s) {
  SimpleCurve curve{IntegerField(s.args.GroupField(1)), ParseAngle(s, s.args.GroupField(2)),
                    ParseDistance(s, s.args.GroupField(3)), ParseDistance(s, s.args.GroupField(4)), 0};
  float interval = ReadInterval(s, 5);
  curve.distanceToPI = ParseDistance(s, s.args.GroupField(6));
  if (!TangentOrRadiusGiven(s, curve.tangent, curve.radius)) return GroupEnd::Held;
  if (!SolveCurve(s, curve)) return GroupEnd::Refused;
  s.WriteOutput("");
  WriteCurveElements(s, curve);
  WriteStationing(s, curve, interval);
  return GroupEnd::Done;
}

// The first-line rule, then the groups, for every curve command.
template <typename OneGroup>
Outcome RunCurveGroups(Session& s, bool takesStartingStation, int groupSize, OneGroup oneGroup) {
  if (s.LineFieldCount == 0) return Outcome::Stopped;
  if (!ReadFirstLine(s, takesStartingStation)) return Outcome::Stopped;
  return RepeatGroups(s, groupSize, oneGroup);
}

}  // namespace

Outcome CurveFromPointsCommand(Session& s) {
  const bool stationed = s.CurrentCommand == "HA2";
  return RunCurveGroups(s, stationed, stationed ? kStationedCurveGroup : kPointCurveGroup,
                        [stationed](Session& session) { return CurveFromPoints(session, stationed); });
}

Outcome CurveFromDeflectionCommand(Session& s) {
  return RunCurveGroups(s, true, kDeflectionCurveGroup, CurveFromDeflection);
}

}  // namespace vantrel
