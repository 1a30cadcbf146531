#include "deeds/record_calls.h"

#include <cmath>
#include <numbers>

#include "notation/numbers.h"

namespace vantrel {
namespace {

// A whole turn, exactly: an arc of that much or more goes round its circle.
constexpr double kWholeTurn = 2 * std::numbers::pi;
// A curve turning within this of a half circle (radians, far below a
// second of arc) has no tangent length to speak of.
constexpr double kHalfTurnSlack = 1e-9;

// The problem of a call, checked before it is traversed.
CallProblem ProblemOf(const RecordCall& call, bool courseBefore) {
  if (call.kind == CallKind::Line) return call.length < 0 ? CallProblem::NegativeLength : CallProblem::None;
  if (call.kind == CallKind::Tangent && !courseBefore) return CallProblem::NoCourseBefore;
  if (!(call.radius > 0)) return CallProblem::ZeroRadius;
  if (call.kind != CallKind::NonTangent && call.length < 0) return CallProblem::NegativeLength;
  if (call.kind == CallKind::Chord && call.length > 2 * call.radius) return CallProblem::ChordTooLong;
  if (call.kind == CallKind::Tangent && call.length / call.radius >= kWholeTurn) return CallProblem::ArcTooLong;
  if (call.kind == CallKind::NonTangent && !(call.delta >= 0 && call.delta < kWholeTurn)) return CallProblem::AngleOutOfRange;
  return CallProblem::None;
}

// A curve from `start` entering in the direction `entry`, turning through
// `delta` to the right or left.
CallCourse Curve(PlanePoint start, double entry, double radius, double delta, bool right) {
  const double turn = right ? 1 : -1;
  CallCourse c;
  c.chordAzimuth = entry + turn * delta / 2;
  c.chord = 2 * radius * std::sin(delta / 2);
  c.arcLength = radius * delta;
  c.arc = BoundaryArc{PointToward(start, entry + turn * HALF_PI, radius), radius, turn * delta};
  if (delta < std::numbers::pi - kHalfTurnSlack) c.tangent = radius * std::tan(delta / 2);
  c.exitAzimuth = entry + turn * delta;
  c.end = PointToward(start, c.chordAzimuth, c.chord);
  return c;
}

}  // namespace

CallTraverse TraverseCalls(PlanePoint start, std::span<const RecordCall> calls) {
  CallTraverse result;
  PlanePoint at = start;
  for (size_t i = 0; i < calls.size(); ++i) {
    const RecordCall& call = calls[i];
    if (CallProblem problem = ProblemOf(call, i > 0); problem != CallProblem::None) {
      result.refusedCall = i;
      result.problem = problem;
      return result;
    }
    const double turn = call.right ? 1 : -1;
    CallCourse c;
    switch (call.kind) {
      case CallKind::Line:
        c.chordAzimuth = c.exitAzimuth = call.direction;
        c.chord = c.arcLength = call.length;
        c.end = PointToward(at, call.direction, call.length);
        break;
      case CallKind::Chord: {
        double delta = 2 * std::asin(call.length / (2 * call.radius));
        c = Curve(at, call.direction - turn * delta / 2, call.radius, delta, call.right);
        // The chord is the call's own, not one worked back from the angle.
        c.chordAzimuth = call.direction;
        c.chord = call.length;
        c.end = PointToward(at, call.direction, call.length);
        break;
      }
      case CallKind::Tangent:
        c = Curve(at, result.courses.back().exitAzimuth, call.radius, call.length / call.radius, call.right);
        c.arcLength = call.length;
        break;
      case CallKind::NonTangent:
        // Travel runs a quarter turn from the radial: to its left on a
        // curve to the right, whose centre lies on the right.
        c = Curve(at, call.direction - turn * HALF_PI, call.radius, call.delta, call.right);
        break;
    }
    result.courses.push_back(c);
    at = c.end;
  }
  return result;
}

Boundary CallBoundary(PlanePoint start, const std::vector<CallCourse>& courses) {
  Boundary boundary;
  PlanePoint at = start;
  for (const CallCourse& c : courses) {
    boundary.push_back({at, c.arc});
    at = c.end;
  }
  return boundary;
}

CallClosure CloseCalls(PlanePoint start, const std::vector<CallCourse>& courses) {
  CallClosure closure;
  for (const CallCourse& c : courses) closure.perimeter += c.arcLength;
  PlanePoint end = courses.empty() ? start : courses.back().end;
  closure.errorNorth = end.north - start.north;
  closure.errorEast = end.east - start.east;
  closure.error = std::hypot(closure.errorNorth, closure.errorEast);
  closure.area = std::fabs(BoundaryArea(CallBoundary(start, courses)));
  return closure;
}

}  // namespace vantrel
