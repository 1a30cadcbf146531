// TAA and TAB: a traverse read over several lines (method, header, then
// stations), its angular closure and optional angle adjustment (TAA), its
// course azimuths, and the hand-over to the linear closure and adjustment.
#include <cmath>
#include <string>

#include "command/commands.h"
#include "command/fields.h"
#include "command/session.h"
#include "notation/angles.h"
#include "notation/format.h"
#include "notation/geometry.h"
#include "notation/numbers.h"
#include "traverse/adjustment.h"

namespace vantrel {
namespace {

constexpr int kStationFields = 3;  // point, angle or direction, distance

// The header group: start and closing point, for TAA also the start and
// closing azimuths.
int HeaderFields(bool byAngles) { return byAngles ? 4 : 2; }

// An angular misclosure below this many radians (0.0002 seconds) is the
// rounding of the angle arithmetic, not an observation error: it counts as
// none, so a closing traverse is not reported as missing by 360 degrees.
constexpr double kAngleRounding = 1e-9;

// Beyond this many radians (about 16 turns) an angle is first reduced by
// remainder, so no typed angle keeps the loop below going for long.
constexpr double kManyTurns = 100;

// Brings an angle into 0..2pi by whole turns of the program's 2pi. A station
// usually needs one turn taken off; angles near 360 degrees from the back
// course can need two, which a single subtraction would leave out of range.
double IntoOneTurn(double angle) {
  if (std::fabs(angle) > kManyTurns) angle = std::fmod(angle, TWO_PI);
  while (angle > TWO_PI) angle -= TWO_PI;
  while (angle < 0) angle += TWO_PI;
  return angle;
}

// The turn added at each station: an angle measured from the back course
// turns from the reversed previous course, a deflection from its line.
double BackCourseTurn(const TraverseRecord& t) { return t.AngleKind == 'D' ? 0 : PI; }

Outcome RefuseLine(Session& s, const std::string& message) {
  s.InfoBox(message);
  s.args.ConsumeAll();
  return Outcome::Stopped;
}

void ReadHeader(Session& s, bool byAngles) {
  TraverseRecord& t = s.traverse;
  t.StartPoint = IntegerField(s.args.GroupField(1));
  t.ClosingPoint = IntegerField(s.args.GroupField(2));
  if (byAngles) {
    std::optional<double> start = ReadAngle(s, s.args.GroupField(3));
    std::optional<double> closing = start ? ReadAngle(s, s.args.GroupField(4)) : std::nullopt;
    if (!start || !closing) {
      s.InfoBox("The traverse's azimuth was refused, so this traverse will not be computed");
      t.Refused = true;
    }
    t.StartAzimuth = start.value_or(0);
    t.ClosingAzimuth = closing.value_or(0);
  }
  s.args.Consume(HeaderFields(byAngles));
  s.args.SetStage(3);
}

// A leading D marks a deflection angle and is taken off the field. Every
// station sets the kind, so the last station read decides it for all.
void TakeAngleKind(TraverseRecord& t, std::string& field) {
  std::string_view angle = TrimBlanks(field);
  t.AngleKind = !angle.empty() && (angle[0] == 'D' || angle[0] == 'd') ? 'D' : 'A';
  if (t.AngleKind == 'D') field = UpperCase(angle.substr(1));
}

// Stations beyond the record's capacity are refused once, with the reason;
// the rest of the traverse is read past so its lines are not taken for
// something else.
void ReadStations(Session& s, bool byAngles) {
  TraverseRecord& t = s.traverse;
  for (; s.args.FieldsLeft() >= kStationFields; s.args.Consume(kStationFields)) {
    if (t.StationCount == kMaxStations) {
      if (!t.Refused)
        s.InfoBox("Station " + PlainNumber(kMaxStations + 1) + " refused: a traverse holds at most " +
                  PlainNumber(kMaxStations) + " stations, so this traverse will not be computed");
      t.Refused = true;
      continue;
    }
    int k = ++t.StationCount;
    t.StationPoint[k] = IntegerField(s.args.GroupField(1));
    std::string& angle = s.args.GroupField(2);
    if (byAngles) TakeAngleKind(t, angle);
    std::optional<double> turned = ReadAngle(s, angle);
    std::optional<double> distance = turned ? ReadDistance(s, s.args.GroupField(3)) : std::nullopt;
    if (!turned || !distance) {
      // A station computed from a field read as 0 would put every later
      // point in a wrong place.
      if (!t.Refused)
        s.InfoBox("Station " + PlainNumber(k) + " refused, so this traverse will not be computed");
      t.Refused = true;
      continue;
    }
    t.StationAngle[k] = t.ObservedAngle[k] = *turned;
    t.StationDistance[k] = *distance;
  }
}

// TAA: the azimuth carried through every station against the closing
// azimuth, reported, and on request spread evenly over the angles.
void CloseAngles(Session& s) {
  TraverseRecord& t = s.traverse;
  const int n = t.StationCount;
  const double turn = BackCourseTurn(t);
  double error = t.StartAzimuth - t.ClosingAzimuth;
  for (int k = 1; k <= n; ++k) error = IntoOneTurn(error + t.StationAngle[k] + turn);
  if (error > PI) error -= TWO_PI;
  if (error < -PI) error += TWO_PI;
  if (std::fabs(error) < kAngleRounding) error = 0;

  s.WriteOutput("Error of Closure = " + FormatAngle(error, "z"));
  s.WriteOutput("Total Number of Angles = " + PlainNumber(n));
  s.WriteOutput("Correction per Angle = " + FormatMask(-error * 180 / PI * 3600 / n, "####0.00") + " seconds");
  if (!s.AskYesNo("OK to Adjust Angles?")) return;

  s.WriteOutput("");
  s.WriteOutput("New Angles are as follows:");
  for (int k = 1; k <= n; ++k) {
    t.StationAngle[k] -= error / n;
    std::string& row = s.NewRow();
    AppendPadded(row, PlainNumber(t.StationPoint[k]), 4);
    AppendAngle(row, t.StationAngle[k], "Z", 10);
    s.WriteOutput(row);
  }
  s.WriteOutput("");
}

// TAA: each course azimuth is the previous one turned by the station angle.
void TurnAnglesIntoAzimuths(TraverseRecord& t) {
  const double turn = BackCourseTurn(t);
  double azimuth = t.StartAzimuth;
  for (int k = 1; k <= t.StationCount; ++k) {
    azimuth = IntoOneTurn(azimuth + t.StationAngle[k] + turn);
    t.StationAngle[k] = azimuth;
  }
}

Outcome ComputeTraverse(Session& s, bool byAngles) {
  if (!CheckTraverse(s)) return Outcome::Stopped;
  if (byAngles) {
    CloseAngles(s);
    TurnAnglesIntoAzimuths(s.traverse);
  }
  return CloseTraverse(s);
}

}  // namespace

Outcome EnterTraverseCommand(Session& s) {
  TraverseRecord& t = s.traverse;
  const bool byAngles = s.CurrentCommand == "TAA";

  // Stage 1: a new traverse; its method is the first field after the code.
  if (s.args.Stage() == 1) {
    t.StationCount = 0;
    t.Finished = t.Refused = false;
    t.ByAngles = byAngles;
    if (s.args.FieldsLeft() > 0) {
      t.Method = UpperCase(s.args.GroupField(1));
      s.args.Consume(1);
      s.args.SetStage(2);
    }
  }

  // Stage 2: start and closing point (and for TAA the two azimuths).
  if (s.args.Stage() == 2) {
    if (s.args.FieldsLeft() >= HeaderFields(byAngles)) ReadHeader(s, byAngles);
    if (s.args.FieldsLeft() == 0) return Outcome::Stopped;  // the stations follow on the next line
  }
  if (s.args.Stage() != 3) return Outcome::Completed;  // a part of the header waits for the next line

  // Stage 3: stations, until a line ends without a trailing comma.
  if (t.Finished)
    return RefuseLine(s, "Traverse finished: type " + s.CurrentCommand + " on a line of its own to start a new one");
  ReadStations(s, byAngles);
  // A trailing comma says more follows, also when it splits a station.
  if (s.LineContinued) return Outcome::Stopped;

  t.Finished = true;
  if (t.Refused) {  // already reported when the station was refused
    s.args.ConsumeAll();
    return Outcome::Stopped;
  }
  if (s.args.FieldsLeft() > 0)
    return RefuseLine(s, "Station " + PlainNumber(t.StationCount + 1) +
                             " is incomplete (point, direction, distance); the traverse was not computed");
  return ComputeTraverse(s, byAngles);
}

}  // namespace vantrel
