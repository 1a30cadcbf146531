// MCK: the map check of a deed's or plat's record calls. The calls are
// traversed as written, curves included, from a stored point; the report
// lists every call with the running coordinates, then the perimeter, the
// error of closure and the area the calls enclose.
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "area/figure.h"
#include "command/commands.h"
#include "command/fields.h"
#include "command/point_groups.h"
#include "command/session.h"
#include "deeds/record_calls.h"
#include "notation/angles.h"
#include "notation/format.h"
#include "traverse/adjustment.h"

namespace vantrel {
namespace {

constexpr NumberMask kLengthMask = "######0.000";
constexpr NumberMask kCoordinateMask = "#######0.000";

// Fields of each call, its letter included.
int CallSize(char letter) {
  switch (letter) {
    case 'L': return 3;
    case 'T': return 4;
    case 'C': case 'N': return 5;
    default: return 0;
  }
}

// "Call 3 (C,S 45 0 0 E,60,25,R)", as messages name a call.
std::string CallName(const MapCheckRecord& r, size_t k) {
  return "Call " + std::to_string(k + 1) + " (" + r.callTexts[k] + ")";
}

std::string ProblemText(CallProblem problem) {
  switch (problem) {
    case CallProblem::NegativeLength: return "a length cannot be negative";
    case CallProblem::ZeroRadius: return "a curve needs a radius greater than 0";
    case CallProblem::ChordTooLong: return "the chord is longer than the diameter";
    case CallProblem::ArcTooLong: return "the arc is a whole circle or more";
    case CallProblem::AngleOutOfRange: return "the central angle is not between 0 and 360 degrees";
    case CallProblem::NoCourseBefore: return "a tangent curve needs a course before it";
    case CallProblem::None: break;
  }
  return {};
}

// Reads the call whose fields start at the argument store's next field;
// false, reported, when it is not one.
bool ReadCall(Session& s, MapCheckRecord& r, int size) {
  char letter = UpperCase(TrimBlanks(s.args.GroupField(1)))[0];
  RecordCall call;
  call.kind = letter == 'L' ? CallKind::Line : letter == 'C' ? CallKind::Chord
              : letter == 'T' ? CallKind::Tangent : CallKind::NonTangent;
  std::string text = std::string(TrimBlanks(s.args.GroupField(1)));
  for (int k = 2; k <= size; ++k) {
    text += ',';
    text += TrimBlanks(s.args.GroupField(k));
  }
  r.callTexts.push_back(text);
  if (call.kind != CallKind::Line) {
    std::string side = UpperCase(TrimBlanks(s.args.GroupField(size)));
    if (side != "R" && side != "L") {
      s.InfoBox(CallName(r, r.calls.size()) + ": " + s.args.GroupField(size) + " is not R or L; nothing stored");
      return false;
    }
    call.right = side == "R";
  }
  // Each value from its field; a field that gives none (reported by its
  // reader) refuses the call.
  auto angle = [&](int k, double& value) {
    std::optional<double> read = ReadAngle(s, s.args.GroupField(k));
    value = read.value_or(0);
    return read.has_value();
  };
  auto distance = [&](int k, double& value) {
    std::optional<double> read = ReadDistance(s, s.args.GroupField(k));
    value = read.value_or(0);
    return read.has_value();
  };
  bool read = false;
  switch (call.kind) {
    case CallKind::Line: read = angle(2, call.direction) && distance(3, call.length); break;
    case CallKind::Chord:
      read = angle(2, call.direction) && distance(3, call.length) && distance(4, call.radius);
      break;
    case CallKind::Tangent: read = distance(2, call.radius) && distance(3, call.length); break;
    case CallKind::NonTangent:
      read = angle(2, call.direction) && distance(3, call.radius) && angle(4, call.delta);
      break;
  }
  if (!read) {
    s.InfoBox(CallName(r, r.calls.size()) + " was not read; nothing stored");
    return false;
  }
  r.calls.push_back(call);
  return true;
}

// The first data line: the starting point, then perhaps the first number
// for the corners.
bool ReadStart(Session& s, MapCheckRecord& r) {
  r = {};
  std::optional<int> start = ReadStoredPoint(s, s.args.GroupField(1));
  if (!start) return false;
  r.startPoint = *start;
  s.args.Consume(1);
  if (s.args.FieldsLeft() > 0 && IsNumericText(s.args.GroupField(1))) {
    std::optional<int> first = ReadPointNumber(s, s.args.GroupField(1));
    if (!first) return false;
    r.firstStored = first;
    s.args.Consume(1);
  }
  return true;
}

void WriteCallRow(Session& s, size_t k, char letter, const CallCourse& c) {
  std::string& row = s.NewRow();
  AppendMask(row, static_cast<double>(k + 1), "##0", 4);
  row += ' ';
  row += letter;
  AppendAngle(row, c.chordAzimuth, "B", 13);
  AppendMask(row, c.chord, kLengthMask, 12);
  AppendMask(row, c.end.north, kCoordinateMask, 15);
  AppendMask(row, c.end.east, kCoordinateMask, 15);
  s.WriteOutput(row);
  if (!c.arc) return;
  std::string& curveRow = s.NewRow();
  curveRow += "       Radius";
  AppendMask(curveRow, c.arc->radius, kLengthMask, 16);
  curveRow += "   Delta";
  AppendAngle(curveRow, std::fabs(c.arc->delta), "z", 13);
  curveRow += c.arc->delta >= 0 ? "   Right" : "   Left";
  s.WriteOutput(curveRow);
  std::string& arcRow = s.NewRow();
  arcRow += "       Arc";
  AppendMask(arcRow, c.arcLength, kLengthMask, 19);
  if (c.tangent) {
    arcRow += "   Tangent";
    AppendMask(arcRow, *c.tangent, kLengthMask, 11);
  }
  s.WriteOutput(arcRow);
}

// Every value the report and the store take must be a number.
bool AllFinite(const CallTraverse& traverse, const CallClosure& closure) {
  for (const CallCourse& c : traverse.courses)
    if (!std::isfinite(c.end.north) || !std::isfinite(c.end.east) || !std::isfinite(c.arcLength)) return false;
  return std::isfinite(closure.error) && std::isfinite(closure.area) &&
         std::isfinite(closure.perimeter / std::max(closure.error, kClosureRounding));
}

Outcome CheckCalls(Session& s, const MapCheckRecord& r) {
  const PlanePoint start{s.points.North(r.startPoint), s.points.East(r.startPoint)};
  CallTraverse traverse = TraverseCalls(start, r.calls);
  if (traverse.problem != CallProblem::None) {
    s.InfoBox(CallName(r, traverse.refusedCall) + " cannot exist: " + ProblemText(traverse.problem) +
              "; nothing stored");
    return Outcome::Stopped;
  }
  CallClosure closure = CloseCalls(start, traverse.courses);
  if (!AllFinite(traverse, closure)) {
    ReportNotComputable(s, "The map check");
    return Outcome::Stopped;
  }
  const int count = static_cast<int>(r.calls.size());
  if (r.firstStored && !s.points.IsNumber(*r.firstStored + count - 1)) {
    s.InfoBox("The " + std::to_string(count) + " corners from point " + std::to_string(*r.firstStored) +
              " on do not fit in points 1.." + std::to_string(s.points.Capacity()) + "; nothing stored");
    return Outcome::Stopped;
  }
  if (r.firstStored && r.startPoint >= *r.firstStored && r.startPoint < *r.firstStored + count) {
    s.InfoBox("The corners from point " + std::to_string(*r.firstStored) + " on would replace the starting point " +
              std::to_string(r.startPoint) + "; nothing stored");
    return Outcome::Stopped;
  }

  s.WriteOutput("");
  s.WriteOutput("Map Check of Record Calls from " + FormatPoint(r.startPoint, start.north, start.east));
  s.WriteOutput("Call" + PadLeft("Bearing", 15) + PadLeft("Distance", 12) + PadLeft("North", 15) + PadLeft("East", 15));
  for (size_t k = 0; k < traverse.courses.size(); ++k)
    WriteCallRow(s, k, UpperCase(TrimBlanks(r.callTexts[k]))[0], traverse.courses[k]);
  s.WriteOutput("");
  s.WriteOutput("Perimeter = " + FormatMask(closure.perimeter, kLengthMask) + " feet");
  s.WriteOutput("Error North = " + FormatMask(closure.errorNorth, "####0.000") +
                "  Error East = " + FormatMask(closure.errorEast, "####0.000") + "  (end minus start)");
  WriteClosure(s, closure.errorNorth, closure.errorEast, closure.error, closure.perimeter,
               "  (from the end back to the start)");
  s.WriteOutput(AreaLine(closure.area));

  if (r.firstStored) {
    for (int k = 0; k < count; ++k)
      s.points.Store(*r.firstStored + k, traverse.courses[static_cast<size_t>(k)].end.north,
                   traverse.courses[static_cast<size_t>(k)].end.east);
    s.WriteOutput("Corners stored as points " + std::to_string(*r.firstStored) + " to " +
                  std::to_string(*r.firstStored + count - 1));
  }
  return Outcome::Completed;
}

}  // namespace

// First line: the starting point, optionally the first number for the
// corners; then the calls, one group each, a line ending in a comma while
// more follow. The line that ends without one runs the check, and the next
// line starts a new figure.
Outcome MapCheckCommand(Session& s) {
  MapCheckRecord& r = s.deeds.check;
  if (s.LineFieldCount == 0) return Outcome::Stopped;
  if (s.args.Stage() == 1) {
    if (!ReadStart(s, r)) {
      s.args.ConsumeAll();
      return Outcome::Stopped;
    }
    s.args.SetStage(2);
  }
  while (!r.refused && s.args.FieldsLeft() > 0) {
    std::string letter = UpperCase(TrimBlanks(s.args.GroupField(1)));
    int size = letter.size() == 1 ? CallSize(letter[0]) : 0;
    if (size == 0) {
      s.InfoBox(s.args.GroupField(1) + " is not a call: L, C, T or N expected; nothing stored");
      r.refused = true;
    } else if (s.args.FieldsLeft() < size) {
      break;  // the rest of the call is on the next line
    } else {
      r.refused = !ReadCall(s, r, size);
      s.args.Consume(size);
    }
  }
  if (r.refused) s.args.ConsumeAll();
  if (s.LineContinued || (r.calls.empty() && !r.refused && s.args.FieldsLeft() == 0)) return Outcome::Completed;

  // The figure ends here.
  s.args.SetStage(1);
  if (r.refused) return Outcome::Stopped;
  if (s.args.FieldsLeft() > 0) {
    std::string rest;
    for (int k = 1; k <= s.args.FieldsLeft(); ++k) {
      if (!rest.empty()) rest += ',';
      rest += s.args.GroupField(k);
    }
    s.args.ConsumeAll();
    s.InfoBox("The last call is incomplete: " + rest + "; nothing stored");
    return Outcome::Stopped;
  }
  return CheckCalls(s, r);
}

}  // namespace vantrel
