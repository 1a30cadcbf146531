// LSQ: a network read over several lines — the a-priori errors, then
// observation groups introduced by a letter until a line ends without a
// trailing comma — and handed to the adjustment.
#include <algorithm>
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

// Height differences without a standard error of their own take this
// (feet): a fair one for a trigonometric height over a few hundred feet.
constexpr double kDefaultHeightError = 0.01;

// Standard errors give weights the normal equations carry from these up:
// below them (1e-300 sec) the weights overflow; above them the weights
// vanish.
constexpr double kSmallestError = 0.000001;
constexpr double kLargestAngleError = 1296000;  // seconds: a full turn
constexpr double kLargestLengthError = 1000000;  // feet, and parts per million

const char* const kErrorsUsage =
    "The first line after LSQ holds the standard errors: angle (seconds), distance constant (feet), "
    "parts per million, and optionally the confidence in percent, the instrument and target centering (feet) "
    "and B for Baarda's data snooping";

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

// The number of numeric fields from field `first` of the group on.
int NumericFieldsFrom(const Session& s, int first) {
  int count = 0;
  while (first + count <= s.args.FieldsLeft() && IsNumericText(s.args.GroupField(first + count))) ++count;
  return count;
}

bool WithinWeights(double error, double largest) { return error >= kSmallestError && error <= largest; }

// The errors of the first line or of an E group: angle, distance constant,
// ppm from field `first` on; then, from field `centeringFrom` on, as many
// centering errors (instrument, target) as `centeringFields` says, the
// others 0; none keeps the centering in `errors`. Returns the reason they
// are refused, or nothing.
std::optional<std::string> ReadErrorModel(Session& s, int first, int centeringFrom, int centeringFields,
                                          ErrorModel& errors) {
  std::optional<double> angle = NumberField(s.args.GroupField(first)),
                        constant = NumberField(s.args.GroupField(first + 1)),
                        ppm = NumberField(s.args.GroupField(first + 2));
  if (!(*angle > 0) || *constant < 0 || *ppm < 0 || !(*constant > 0 || *ppm > 0))
    return "The angle error and one of the distance errors must be more than 0";
  if (!WithinWeights(*angle, kLargestAngleError))
    return "The angle error is out of range for weights: give 0.000001 to 1296000 seconds";
  if ((*constant > 0 && !WithinWeights(*constant, kLargestLengthError)) ||
      (*ppm > 0 && !WithinWeights(*ppm, kLargestLengthError)))
    return "The distance errors are out of range for weights: give 0 or 0.000001 to 1000000 feet and ppm";
  errors.AngleSeconds = *angle;
  errors.AngleError = *angle / kSecondsPerRadian;
  errors.DistanceConstant = *constant;
  errors.DistancePpm = *ppm;
  if (centeringFields == 0) return std::nullopt;
  for (int k = 0; k < 2; ++k) {
    double value = k < centeringFields ? *NumberField(s.args.GroupField(centeringFrom + k)) : 0;
    if (value != 0 && !WithinWeights(value, kLargestLengthError))
      return "The centering errors must be 0 or from 0.000001 to 1000000 feet";
    (k == 0 ? errors.centering.instrument : errors.centering.target) = value;
  }
  return std::nullopt;
}

// The first line: angle, distance constant, ppm, then optionally the
// confidence, the instrument and target centering, and B.
void ReadErrors(Session& s) {
  NetworkRecord& r = s.network;
  int count = s.args.FieldsLeft();
  r.Snooping = count > 0 && UpperCase(TrimBlanks(s.args.GroupField(count))) == "B";
  if (r.Snooping) --count;
  if (count < 3 || count > 6 || NumericFieldsFrom(s, 1) < count) return Spoil(s, std::string(kErrorsUsage));
  if (auto refused = ReadErrorModel(s, 1, 5, std::max(count - 4, 0), r.Errors)) return Spoil(s, *refused);
  double confidence = count >= 4 ? *NumberField(s.args.GroupField(4)) : 95;
  if (!(confidence >= 50 && confidence < 100))
    return Spoil(s, "The confidence must be at least 50 and less than 100 percent");
  r.FirstErrors = r.Errors;
  r.ConfidencePercent = confidence;
}

// E: the errors of the groups that follow; without centering fields the
// centering in force stays.
bool ReadGroupErrors(Session& s, int& size) {
  NetworkRecord& r = s.network;
  int numbers = NumericFieldsFrom(s, 2);
  if (numbers != 3 && numbers != 5) {
    s.InfoBox("E needs the angle error (seconds), distance constant (feet) and parts per million, "
              "and optionally the instrument and target centering (feet)");
    return false;
  }
  size = 1 + numbers;
  ErrorModel errors = r.Errors;
  if (auto refused = ReadErrorModel(s, 2, 5, numbers - 3, errors)) {
    s.InfoBox(*refused);
    return false;
  }
  r.Errors = errors;
  r.ErrorChanges.emplace_back(r.network.observations.size() + r.network.heights.size(), errors);
  return true;
}

int ObservationLimit(const Session& s) { return kObservationsPerPoint * s.points.Capacity(); }

bool RoomForOne(Session& s) {
  const Network& net = s.network.network;
  if (static_cast<int>(net.observations.size() + net.heights.size()) < ObservationLimit(s)) return true;
  s.InfoBox("A network holds at most " + PlainNumber(ObservationLimit(s)) + " observations");
  return false;
}

bool Add(Session& s, Observation o) {
  NetworkRecord& r = s.network;
  if (!RoomForOne(s)) return false;
  const ErrorModel& e = r.Errors;
  switch (o.kind) {
    case ObservationKind::Distance:
      o.sigma = std::hypot(e.DistanceConstant, e.DistancePpm * o.value / 1e6);
      break;
    case ObservationKind::Reading:
      o.sigma = e.AngleError / std::sqrt(2.0);  // a direction is half an angle
      break;
    default:
      o.sigma = o.held ? e.AngleError * kHeldShare : e.AngleError;
  }
  o.centering = e.centering;
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
  double d = ParseDistance(s, s.args.GroupField(4));
  if (!(d > 0 && d < kLongestDistance)) {
    s.InfoBox("Distance " + PlainNumber((*points)[0]) + "-" + PlainNumber((*points)[1]) +
              ": it must be more than 0 and less than " + PlainNumber(kLongestDistance) + " feet");
    return false;
  }
  return Add(s, {ObservationKind::Distance, {(*points)[0], (*points)[1], 0}, d});
}

// An angle field of the group; one that gives no angle is reported and
// refuses its group, so no observation is adjusted as a zero.
std::optional<double> AngleField(Session& s, int k) { return vantrel::ReadAngle(s, s.args.GroupField(k)); }

bool ReadAngle(Session& s) {
  auto points = DistinctPoints(s, {Target(2), Target(3), Target(4)}, "An angle");
  if (!points) return false;
  std::optional<double> angle = AngleField(s, 5);
  return angle && Add(s, {ObservationKind::Angle, *points, *angle});
}

bool ReadDirection(Session& s) {
  auto points = DistinctPoints(s, {Target(2), Target(3)}, "A direction");
  if (!points) return false;
  std::optional<double> direction = AngleField(s, 4);
  return direction && Add(s, {ObservationKind::Direction, {(*points)[0], (*points)[1], 0}, *direction});
}

// R: a circle reading; consecutive readings at one station form a set.
bool ReadReading(Session& s) {
  NetworkRecord& r = s.network;
  auto points = DistinctPoints(s, {Target(2), Target(3)}, "A reading");
  if (!points) return false;
  std::optional<double> value = AngleField(s, 4);
  if (!value) return false;
  const int station = (*points)[0];
  if (r.OpenSetStation != station) r.network.sets++;
  Observation reading{ObservationKind::Reading, {station, (*points)[1], 0}, *value};
  reading.set = r.network.sets - 1;
  if (!Add(s, reading)) return false;
  r.OpenSetStation = station;
  return true;
}

// H: a height difference, with its standard error in feet or the default.
bool ReadHeight(Session& s, int& size) {
  auto points = DistinctPoints(s, {Target(2), Target(3)}, "A height difference");
  if (!points) return false;
  const std::string pair = PlainNumber((*points)[0]) + "-" + PlainNumber((*points)[1]);
  std::optional<double> difference = NumberField(s.args.GroupField(4));
  if (!difference || std::fabs(*difference) >= kLongestDistance) {
    s.InfoBox("Height difference " + pair + ": it must be a number of feet below " + PlainNumber(kLongestDistance));
    return false;
  }
  double sigma = kDefaultHeightError;
  if (s.args.FieldsLeft() >= 5 && IsNumericText(s.args.GroupField(5))) {
    size = 5;
    sigma = NumberField(s.args.GroupField(5)).value_or(0);
    if (!WithinWeights(sigma, kLargestLengthError)) {
      s.InfoBox("Height difference " + pair + ": its standard error must be from 0.000001 to 1000000 feet");
      return false;
    }
  }
  if (!RoomForOne(s)) return false;
  s.network.network.heights.push_back({(*points)[0], (*points)[1], *difference, sigma});
  return true;
}

// F and FH: the numeric fields that follow are points held fixed, at their
// stored coordinates or (FH) at their elevations.
bool ReadFixed(Session& s, int& size, bool heights) {
  size = 1 + NumericFieldsFrom(s, 2);
  if (size == 1) {
    s.InfoBox(heights ? "FH needs one or more point numbers" : "F needs one or more point numbers");
    return false;
  }
  for (int k = 2; k <= size; ++k) {
    std::optional<int> point = ReadPointNumber(s, s.args.GroupField(k));
    if (!point) return false;
    if (!s.points.IsDefined(*point)) {
      s.InfoBox("Fixed point " + PlainNumber(*point) + " is not defined");
      return false;
    }
    if (heights && !s.points[*point].elevation) {
      s.InfoBox("Fixed height point " + PlainNumber(*point) + " has no elevation");
      return false;
    }
    (heights ? s.network.network.heightFixed : s.network.network.fixed)[*point] = 1;
  }
  return true;
}

// T: the courses of the last traverse read by TAA or TAB, with its start and
// closing point fixed. The last station stands on the closing point.
bool ReadTraverse(Session& s) {
  const TraverseRecord& t = s.traverse;
  NetworkRecord& r = s.network;
  if (t.StationCount == 0 || !t.Finished || t.Refused) {
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
  std::string letter = UpperCase(TrimBlanks(s.args.GroupField(1)));
  int size = letter == "D" || letter == "Z" || letter == "R" || letter == "H" ? 4 : letter == "A" ? 5 : 1;
  if (letter != "D" && letter != "A" && letter != "Z" && letter != "R" && letter != "H" && letter != "E" &&
      letter != "F" && letter != "FH" && letter != "T") {
    s.InfoBox("\"" + s.args.GroupField(1) + "\" starts no observation: D, A, Z, R, H, E, F, FH or T");
    return false;
  }
  if (s.args.FieldsLeft() < size) {
    s.InfoBox(letter == "A"   ? "A needs the point at, backsight point, foresight point and angle"
              : letter == "R" ? "R needs the station, the point sighted and the reading"
              : letter == "H" ? "H needs the from point, to point and height difference"
                              : letter + " needs the from point, to point and " +
                                    (letter == "D" ? "distance" : "direction"));
    return false;
  }
  // A direction set ends at any group but a reading at its station.
  if (letter != "R") s.network.OpenSetStation = 0;
  bool read = letter == "D"    ? ReadDistance(s)
              : letter == "A"  ? ReadAngle(s)
              : letter == "Z"  ? ReadDirection(s)
              : letter == "R"  ? ReadReading(s)
              : letter == "H"  ? ReadHeight(s, size)
              : letter == "E"  ? ReadGroupErrors(s, size)
              : letter == "F"  ? ReadFixed(s, size, false)
              : letter == "FH" ? ReadFixed(s, size, true)
                               : ReadTraverse(s);
  s.args.Consume(size);
  return read;
}

void ReadObservations(Session& s) {
  while (!s.network.Spoiled && s.args.FieldsLeft() > 0)
    if (!ReadGroup(s)) s.network.Spoiled = true;
  s.args.ConsumeAll();
}

}  // namespace

Outcome LeastSquaresCommand(Session& s) {
  NetworkRecord& r = s.network;

  // Stage 1: a new network; its first line holds the a-priori errors.
  if (s.args.Stage() == 1) {
    r = NetworkRecord{};
    r.network.fixed.assign(static_cast<size_t>(s.points.Capacity()) + 1, 0);
    r.network.heightFixed.assign(r.network.fixed.size(), 0);
    if (s.args.FieldsLeft() == 0) return Outcome::Completed;
    ReadErrors(s);
    s.args.ConsumeAll();
    s.args.SetStage(2);
    return Outcome::Stopped;
  }

  // Stage 2: observation lines, until one ends without a trailing comma.
  if (r.Finished) {
    s.InfoBox("Network finished: type LSQ on a line of its own to start a new one");
    s.args.ConsumeAll();
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
