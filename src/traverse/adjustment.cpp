#include "traverse/adjustment.h"

#include <cmath>
#include <string>
#include <unordered_map>

#include "command/fields.h"
#include "command/session.h"
#include "notation/angles.h"
#include "notation/geometry.h"
#include "notation/numbers.h"

namespace vantrel {
namespace {

// Longest course accepted, in feet: far beyond any survey, and small enough
// that squares and sums of courses never overflow.
constexpr double kLongestCourse = 1e9;

// The length rule needs courses in more than one direction. With the trace
// S_EE + S_NN (the total length), 4D / trace^2 is the squared sine of the
// angle between two equal courses; below this (about 0.2 seconds of arc)
// the courses count as parallel.
constexpr double kParallelCourses = 1e-12;

bool Refuse(Session& s, const std::string& message) {
  s.InfoBox(message);
  return false;
}

bool CheckKnownPoint(Session& s, int point, const std::string& role) {
  if (!s.points.IsNumber(point)) return Refuse(s, role + ": " + InvalidPointNumber(PlainNumber(point)));
  if (!s.points.IsDefined(point)) return Refuse(s, role + " " + PlainNumber(point) + " is not defined");
  return true;
}

// Compass rule: each course takes a share of the misclosure in proportion to
// its length.
void AdjustByCompassRule(const TraverseRecord& t, Closure& c) {
  for (int k = 1; k <= t.StationCount; ++k) {
    double length = t.StationDistance[k];
    c.east[k] -= c.misclosureEast * length / c.totalLength;
    c.north[k] -= c.misclosureNorth * length / c.totalLength;
  }
}

// Length rule: every course keeps its direction; only the lengths change, in
// least squares with weights inversely proportional to the lengths.
bool AdjustByLengthRule(Session& s, Closure& c) {
  const TraverseRecord& t = s.traverse;
  double determinant = c.sumEE * c.sumNN - c.sumEN * c.sumEN;
  double trace = c.sumEE + c.sumNN;
  if (4 * determinant <= kParallelCourses * trace * trace)
    return Refuse(s, "The length rule cannot adjust courses that all run in one direction; nothing stored");
  double a = (c.misclosureEast * c.sumEN - c.misclosureNorth * c.sumEE) / determinant;
  double b = (c.misclosureNorth * c.sumEN - c.misclosureEast * c.sumNN) / determinant;
  for (int k = 1; k <= t.StationCount; ++k) {
    double factor = (a * c.north[k] + b * c.east[k]) / t.StationDistance[k];
    c.east[k] = factor * c.east[k] + c.east[k];
    c.north[k] = factor * c.north[k] + c.north[k];
  }
  return true;
}

void ReportClosure(Session& s, const Closure& c, double error) {
  WriteClosure(s, c.misclosureNorth, c.misclosureEast, error, c.totalLength, "");
  s.WriteOutput("Total Traverse Length = " + FormatMask(c.totalLength, "######0.000") + " feet");
}

}  // namespace

void WriteClosure(Session& s, double misclosureNorth, double misclosureEast, double error, double length,
                  std::string_view bearingNote) {
  const bool perfect = error < kClosureRounding;
  // Direction from the computed end to the closing point.
  double towardEast = perfect ? 0 : -misclosureEast, towardNorth = perfect ? 0 : -misclosureNorth;
  s.WriteOutput("Error of Closure = " + FormatMask(error, "####0.000"));
  s.WriteOutput("Error Bearing = " + FormatAngle(AzimuthOf(towardEast, towardNorth), "B") + std::string(bearingNote));
  s.WriteOutput(perfect ? "Linear Precision = Perfect closure"
                        : "Linear Precision = 1:" + FormatMask(length / error, "######0"));
}

std::string StationName(const TraverseRecord& t, int k) {
  return "Station " + PlainNumber(k) + " (point " + PlainNumber(t.StationPoint[k]) + ")";
}

Closure::Closure(const Session& s)
    : misclosureEast(s.points.East(s.traverse.StartPoint) - s.points.East(s.traverse.ClosingPoint)),
      misclosureNorth(s.points.North(s.traverse.StartPoint) - s.points.North(s.traverse.ClosingPoint)) {}

void Closure::AddCourse(int k, double dE, double dN, double length) {
  east[k] = dE;
  north[k] = dN;
  totalLength += length;
  misclosureEast += dE;
  misclosureNorth += dN;
  sumEN += dE * dN / length;
  sumEE += dE * dE / length;
  sumNN += dN * dN / length;
}

bool CheckTraverse(Session& s) {
  const TraverseRecord& t = s.traverse;
  if (t.StationCount == 0) return Refuse(s, "The traverse has no stations");
  if (!CheckKnownPoint(s, t.StartPoint, "Start point") || !CheckKnownPoint(s, t.ClosingPoint, "Closing point"))
    return false;
  // Station that each point number ends, so a repeat names the earlier one.
  std::unordered_map<int, int> stationAt;
  for (int k = 1; k <= t.StationCount; ++k) {
    int point = t.StationPoint[k];
    if (!s.points.IsNumber(point))
      return Refuse(s, "Station " + PlainNumber(k) + ": " + InvalidPointNumber(PlainNumber(point)));
    if (point == t.StartPoint) return Refuse(s, StationName(t, k) + " repeats the start point");
    if (point == t.ClosingPoint) return Refuse(s, StationName(t, k) + " repeats the closing point");
    if (auto earlier = stationAt.find(point); earlier != stationAt.end())
      return Refuse(s, StationName(t, k) + " repeats station " + PlainNumber(earlier->second));
    stationAt[point] = k;
    double length = t.StationDistance[k];
    if (!(length > 0 && length < kLongestCourse))
      return Refuse(s, StationName(t, k) + ": the course length must be more than 0 and less than " +
                           PlainNumber(kLongestCourse) + " feet");
  }
  return true;
}

Outcome CloseTraverse(Session& s) {
  const TraverseRecord& t = s.traverse;
  Closure closure(s);
  for (int k = 1; k <= t.StationCount; ++k) {
    double length = t.StationDistance[k], azimuth = t.StationAngle[k];
    closure.AddCourse(k, std::sin(azimuth) * length, std::cos(azimuth) * length, length);
  }
  double error = std::hypot(closure.misclosureEast, closure.misclosureNorth);
  if (!std::isfinite(error)) {
    s.InfoBox("Coordinates out of range; the traverse cannot be closed");
    return Outcome::Stopped;
  }
  ReportClosure(s, closure, error);
  bool adjust = s.AskYesNo("OK to Adjust?");
  return StoreTraverse(s, closure, adjust) ? Outcome::Completed : Outcome::Stopped;
}

bool StoreTraverse(Session& s, Closure& closure, bool adjust) {
  const TraverseRecord& t = s.traverse;
  if (adjust) {
    if (t.Method != "L") AdjustByCompassRule(t, closure);
    else if (!AdjustByLengthRule(s, closure)) return false;
  }
  // Station coordinates: the courses accumulated from the start point.
  std::array<double, kMaxStations + 1> east, north;
  double e = s.points.East(t.StartPoint), n = s.points.North(t.StartPoint);
  for (int k = 1; k <= t.StationCount; ++k) {
    e += closure.east[k];
    n += closure.north[k];
    if (!std::isfinite(e) || !std::isfinite(n))
      return Refuse(s, "Station coordinates out of range; nothing stored");
    east[k] = e;
    north[k] = n;
  }
  if (adjust) s.InfoBox("Traverse Adjusted");
  for (int k = 1; k <= t.StationCount; ++k) {
    s.points.Move(t.StationPoint[k], north[k], east[k]);
  }
  return true;
}

}  // namespace vantrel
