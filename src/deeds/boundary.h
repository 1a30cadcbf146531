// Closed boundaries of straight courses and circular arcs in plane
// coordinates, as the deed commands work them: their area (arc segments
// with their own sign, as ARE adds them), the part of a boundary on one side
// of a straight line, and whether a boundary crosses itself.
#pragma once

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "notation/geometry.h"

namespace vantrel {

struct BoundaryArc {
  PlanePoint centre;
  double radius = 0;
  double delta = 0;  // central angle, radians; positive when the arc runs clockwise about its centre
};

// One course: from its start to the start of the next course (the last
// course back to the first's start), straight or along an arc.
struct Course {
  PlanePoint start;
  std::optional<BoundaryArc> arc;
};
using Boundary = std::vector<Course>;

PlanePoint CourseEnd(const Boundary& boundary, size_t course);

// The point `distance` from `from` in the direction `azimuth`.
PlanePoint PointToward(PlanePoint from, double azimuth, double distance);

// The arc's point at `azimuth` seen from its centre.
PlanePoint ArcPointAt(const BoundaryArc& arc, double azimuth);

// Area between an arc and its chord, radius²/2·(|delta| − sin|delta|),
// with the sign of delta: ARE's segment for arcs up to a half circle, and
// right beyond it.
double SegmentArea(double radius, double delta);

// Signed area of the boundary, positive when its courses run clockwise:
// the straight figure through the course ends (worked from the first
// corner, so large grid coordinates lose nothing) plus each arc's segment.
double BoundaryArea(const Boundary& boundary);

// Where a line crosses the boundary, in the boundary's order.
struct Crossing {
  size_t course;
  double along;  // 0..1: the part of the course (of its length or its central angle) before the crossing
  PlanePoint at;
  bool entering;  // the boundary passes here into the part the line bounds
};

// A family of parallel lines running in the direction `azimuth`, each
// placed by its offset to the right of `through` (feet).
struct Sweep {
  PlanePoint through;
  double azimuth;
};

// The part of the boundary's figure to the left of the sweep's line at
// `offset`: its area (never negative, for a boundary listed either way
// round) and the crossings of the line. The area grows with the offset. An
// arc is cut where the line meets its circle, found as ALI finds it.
struct LinePart {
  double area;
  std::vector<Crossing> crossings;
};
LinePart PartLeftOf(const Boundary& boundary, const Sweep& sweep, double offset);

// The smallest and largest offsets of the boundary's points, arcs included.
std::pair<double, double> OffsetRange(const Boundary& boundary, const Sweep& sweep);

// The offsets between which the line cuts an arc course; none for a
// straight one.
std::optional<std::pair<double, double>> ArcOffsetRange(const Boundary& boundary, size_t course,
                                                        const Sweep& sweep);

// The first two courses found to cross or touch each other anywhere but at
// the corner they share; nothing for a simple boundary. Nearly linear: the
// courses are compared only with those whose extents overlap theirs.
std::optional<std::pair<size_t, size_t>> SelfCrossing(const Boundary& boundary);

// True when the straight line from `a` to `b` crosses or touches a course
// of the boundary anywhere other than at a and b themselves.
bool LineMeetsBoundary(const Boundary& boundary, PlanePoint a, PlanePoint b);

// Course ends closer than this (feet) are one corner; it is the largest
// difference of the two radii of an arc that ARE takes without asking.
inline constexpr double kCornerTolerance = 0.001;

}  // namespace vantrel
