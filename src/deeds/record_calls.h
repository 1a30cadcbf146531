// Record calls of a deed or plat, traversed as written: straight courses
// and curves given by their chord, tangent to the course before, or by
// their radial bearing. Pure geometry for MCK: the corner each call reaches,
// the figure's closure and the area the calls enclose.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "deeds/boundary.h"

namespace vantrel {

enum class CallKind {
  Line,        // L: bearing, distance
  Chord,       // C: chord bearing, chord, radius, right or left
  Tangent,     // T: radius, arc length, right or left; tangent to the course before
  NonTangent,  // N: radial bearing from the curve's start to its centre, radius, central angle, right or left
};

struct RecordCall {
  CallKind kind = CallKind::Line;
  double direction = 0;  // azimuth: the course (L), the chord (C), the radial to the centre (N)
  double length = 0;     // feet: the distance (L), the chord (C), the arc (T)
  double radius = 0;
  double delta = 0;      // the central angle of an N call, radians
  bool right = false;    // the curve turns right: clockwise about its centre
};

// What one call does. For a curve: its radius, central angle (never
// negative), arc length and tangent length (none from a half circle on);
// for a straight course the chord is the course and the arc its length.
struct CallCourse {
  PlanePoint end;
  double chordAzimuth = 0, chord = 0;
  double arcLength = 0;
  std::optional<BoundaryArc> arc;  // the curve, delta signed as the boundary takes it
  std::optional<double> tangent;
  double exitAzimuth = 0;  // direction of travel at the end, for a T call after it
};

enum class CallProblem {
  None,
  NegativeLength,   // a distance, chord or arc below zero
  ZeroRadius,       // a radius of 0 (or below)
  ChordTooLong,     // a chord longer than the diameter
  ArcTooLong,       // an arc of a whole circle or more
  AngleOutOfRange,  // a central angle outside 0..360 degrees
  NoCourseBefore,   // a T call with no course before it to be tangent to
};

struct CallTraverse {
  std::vector<CallCourse> courses;
  size_t refusedCall = 0;  // the call that cannot exist, counted from 0
  CallProblem problem = CallProblem::None;
};

// Runs the calls from `start`; stops at the first call that cannot exist.
CallTraverse TraverseCalls(PlanePoint start, std::span<const RecordCall> calls);

struct CallClosure {
  double perimeter = 0;   // feet, arcs by their length
  double errorNorth = 0;  // the end minus the start
  double errorEast = 0;
  double error = 0;
  double area = 0;  // square feet, the figure closed by the error line
};

CallClosure CloseCalls(PlanePoint start, const std::vector<CallCourse>& courses);

// The boundary the calls enclose, closed by the error line.
Boundary CallBoundary(PlanePoint start, const std::vector<CallCourse>& courses);

}  // namespace vantrel
