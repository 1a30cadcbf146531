// LSQ: a network read over several lines — the a-priori errors, then
// observation groups introduced by a letter until a line ends without a
// trailing comma — and handed to the adjustment.
#include <cmath>
#include <string>

#include "adjust/network_record.h"
#include "adjust/network_report.h"
#include "command/commands.h"
#include "command/fields.h"
#include "command/session.h"
#include "notation/angles.h"
#include "notation/geometry.h"
#include "notation/numbers.h"
#include "traverse/adjustment.h"

namespace vantrel {
namespace {

// Longest distance accepted, in feet, as for a traverse course.
constexpr double kLongestDistance = 1e9;

// A known direction (the closing azimuth of a TAA traverse) is weighted as
// an observation with this share of the angle's standard error: held for
// all practical purposes, while the normal equations stay well conditioned.
constexpr double kHeldShare = 0.01;

const char* const kErrorsUsage =
    "The first line after LSQ holds the standard errors: angle (seconds), distance constant (feet), "
    "parts per million, and optionally the confidence in percent";

// Marks the network as not to be adjusted and says why.
void Spoil(Session& s, const std::string& message) {
  s.network.Spoiled = true;
  s.InfoBox(message);
}

std::optional<double> NumberField(const std::string& field) {
  if (!IsNumericText(field)) return std::nullopt;
  double value = LeadingNumber(field);
  return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

void ReadErrors(Session& s) {
  NetworkRecord& r = s.network;
  int count = s.FieldsLeft();
  std::optional<double> angle = NumberField(s.GroupField(1)), constant = NumberField(s.GroupField(2)),
                        ppm = NumberField(s.GroupField(3));
  std::optional<double> confidence = count == 4 ? NumberField(s.GroupField(4)) : std::optional<double>(95);
  if (count < 3 || count > 4 || !angle || !constant || !ppm || !confidence)
    return Spoil(s, std::string(kErrorsUsage));
  if (!(*angle > 0) || *constant < 0 || *ppm < 0 || !(*constant > 0 || *ppm > 0))
    return Spoil(s, "The angle error and one of the distance errors must be more than 0");
  if (!(*confidence >= 50 && *confidence < 100))
    return Spoil(s, "The confidence must be at least 50 and less than 100 percent");
  r.AngleSeconds = *angle;
  r.AngleError = *angle / kSecondsPerRadian;
  r.DistanceConstant = *constant;
  r.DistancePpm = *ppm;
  r.ConfidencePercent = *confidence;
}

bool Add(Session& s, Observation o) {
  NetworkRecord& r = s.network;
  if (static_cast<int>(r.network.observations.size()) == kMaxObservations) {
    s.InfoBox("A network holds at most " + PlainNumber(kMaxObservations) + " observations");
    return false;
  }
  if (o.kind == ObservationKind::Distance) o.sigma = std::hypot(r.DistanceConstant, r.DistancePpm * o.value / 1e6);
  else o.sigma = o.held ? r.AngleError * kHeldShare : r.AngleError;
  r.network.observations.push_back(o);
  return true;
}

// The points of one group (fields after its letter), all valid and
// different from each other; they need not be defined yet.
template <size_t N>
std::optional<std::array<int, N>> DistinctPoints(Session& s, const PointField (&fields)[N], const std::string& name) {
  std::optional<std::array<int, N>> points = GroupPoints(s, fields);
  if (!points) return std::nullopt;
  for (size_t i = 0; i < N; ++i)
    for (size_t j = i + 1; j < N; ++j)
      if ((*points)[i] == (*points)[j]) {
        s.InfoBox(name + " names point " + PlainNumber((*points)[i]) + " twice");
        return std::nullopt;
      }
  return points;
}

bool ReadDistance(Session& s) {
  auto points = DistinctPoints(s, {Target(2), Target(3)}, "A distance");
  if (!points) return false;
  double d = ParseDistance(s, s.GroupField(4));
  if (!(d > 0 && d < kLongestDistance)) {
    s.InfoBox("Distance " + PlainNumber((*points)[0]) + "-" + PlainNumber((*points)[1]) +
              ": it must be more than 0 and less than " + PlainNumber(kLongestDistance) + " feet");
    return false;
  }
  return Add(s, {ObservationKind::Distance, {(*points)[0], (*points)[1], 0}, d});
}

bool ReadAngle(Session& s) {
  auto points = DistinctPoints(s, {Target(2), Target(3), Target(4)}, "An angle");
  if (!points) return false;
  return Add(s, {ObservationKind::Angle, *points, ParseAngle(s, s.GroupField(5))});
}

bool ReadDirection(Session& s) {
  auto points = DistinctPoints(s, {Target(2), Target(3)}, "A direction");
  if (!points) return false;
  return Add(s, {ObservationKind::Direction, {(*points)[0], (*points)[1], 0}, ParseAngle(s, s.GroupField(4))});
}

// F: the numeric fields that follow are fixed points.
bool ReadFixed(Session& s, int& size) {
  size = 1;
  while (size < s.FieldsLeft() && IsNumericText(s.GroupField(size + 1))) ++size;
  if (size == 1) {
    s.InfoBox("F needs one or more point numbers");
    return false;
  }
  for (int k = 2; k <= size; ++k) {
    std::optional<int> point = ReadPointNumber(s, s.GroupField(k));
    if (!point) return false;
    if (!s.points.IsDefined(*point)) {
      s.InfoBox("Fixed point " + PlainNumber(*point) + " is not defined");
      return false;
    }
    s.network.network.fixed[*point] = 1;
  }
  return true;
}

// T: the courses of the last traverse read by TAA or TAB, with its start and
// closing point fixed. The last station stands on the closing point.
bool ReadTraverse(Session& s) {
  const TraverseRecord& t = s.traverse;
  NetworkRecord& r = s.network;
  if (t.StationCount == 0 || !t.Finished || t.Overflowed) {
    s.InfoBox("T takes a traverse read to its end by TAA or TAB; there is none");
    return false;
  }
  if (!CheckTraverse(s)) return false;
  const int n = t.StationCount;
  auto point = [&](int k) { return k == 0 ? t.StartPoint : k == n ? t.ClosingPoint : t.StationPoint[k]; };
  const double turn = t.AngleKind == 'D' ? 0 : PI;
  double azimuth = t.StartAzimuth, east = s.points.East(t.StartPoint), north = s.points.North(t.StartPoint);
  for (int k = 1; k <= n; ++k) {
    const double observed = t.ObservedAngle[k];
    azimuth = t.ByAngles ? azimuth + observed + turn : observed;
    bool added = t.ByAngles && k > 1
                     ? Add(s, {ObservationKind::Angle, {point(k - 1), point(k - 2), point(k)}, observed + turn - PI})
                     : Add(s, {ObservationKind::Direction, {point(k - 1), point(k), 0}, azimuth});
    if (!added || !Add(s, {ObservationKind::Distance, {point(k - 1), point(k), 0}, t.StationDistance[k]})) return false;
    east += std::sin(azimuth) * t.StationDistance[k];
    north += std::cos(azimuth) * t.StationDistance[k];
    r.TraverseLength += t.StationDistance[k];
  }
  if (t.ByAngles && !Add(s, {ObservationKind::Direction, {point(n - 1), point(n), 0}, t.ClosingAzimuth, 0, true}))
    return false;
  r.network.fixed[t.StartPoint] = r.network.fixed[t.ClosingPoint] = 1;
  r.ClosingStations.emplace_back(t.StationPoint[n], t.ClosingPoint);
  r.HasTraverse = true;
  r.TraverseMisclosure = std::hypot(east - s.points.East(t.ClosingPoint), north - s.points.North(t.ClosingPoint));
  return true;
}

// One group starting at the next field: its letter and its fields. Returns
// false, with the reason given, when the group is refused.
bool ReadGroup(Session& s) {
  std::string letter = UpperCase(TrimBlanks(s.GroupField(1)));
  int size = letter == "D" || letter == "Z" ? 4 : letter == "A" ? 5 : 1;
  if (letter != "D" && letter != "A" && letter != "Z" && letter != "F" && letter != "T") {
    s.InfoBox("\"" + s.GroupField(1) + "\" starts no observation: D, A, Z, F or T");
    return false;
  }
  if (s.FieldsLeft() < size) {
    s.InfoBox(letter == "A" ? "A needs the point at, backsight point, foresight point and angle"
                            : letter + " needs the from point, to point and " + (letter == "D" ? "distance" : "direction"));
    return false;
  }
  bool read = letter == "D"   ? ReadDistance(s)
              : letter == "A" ? ReadAngle(s)
              : letter == "Z" ? ReadDirection(s)
              : letter == "F" ? ReadFixed(s, size)
                              : ReadTraverse(s);
  s.ArgUsed += size;
  return read;
}

void ReadObservations(Session& s) {
  while (!s.network.Spoiled && s.FieldsLeft() > 0)
    if (!ReadGroup(s)) s.network.Spoiled = true;
  s.ArgUsed = s.ArgCount;
}

}  // namespace

Outcome LeastSquaresCommand(Session& s) {
  NetworkRecord& r = s.network;

  // Stage 1: a new network; its first line holds the a-priori errors.
  if (s.CommandStage == 1) {
    r = NetworkRecord{};
    r.network.fixed.assign(static_cast<size_t>(s.points.Capacity()) + 1, 0);
    if (s.FieldsLeft() == 0) return Outcome::Completed;
    ReadErrors(s);
    s.ArgUsed = s.ArgCount;
    s.CommandStage = 2;
    return Outcome::Stopped;
  }

  // Stage 2: observation lines, until one ends without a trailing comma.
  if (r.Finished) {
    s.InfoBox("Network finished: type LSQ on a line of its own to start a new one");
    s.ArgUsed = s.ArgCount;
    return Outcome::Stopped;
  }
  ReadObservations(s);
  if (s.LineContinued) return Outcome::Stopped;
  r.Finished = true;
  if (r.Spoiled) {
    s.InfoBox("The network was not adjusted: a line of it was refused");
    return Outcome::Stopped;
  }
  return AdjustAndReport(s);
}

}  // namespace vantrel
