// Cutting a given area off a closed boundary: by a line parallel to one of
// its sides, by a line in a given direction, or by a line from one of its
// corners. The area of the part grows steadily with the line's position, so
// the position is found by bracketing: exactly where the line crosses only
// straight courses (the area is then a quadratic of the offset, or linear
// along a course from a corner), and by a root finder to 0.0001 sq. ft.
// where it crosses an arc. Pure geometry: CUT reads the figure and stores
// what this finds.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "deeds/boundary.h"

namespace vantrel {

// How near (square feet) the part's area comes to the area asked for.
inline constexpr double kCutAreaTolerance = 0.0001;

// Where the cut line meets the boundary: on course `course`, `along` of the
// way from its start (0 <= along < 1; 0 is the course's start corner).
struct CutEnd {
  size_t course;
  double along;
  PlanePoint at;
};

// One entry of a part's figure, as ARE lists it: a corner of the boundary
// (the start of course `index`), the centre of the arc course `index`, or
// the cut line's new point `index` (0 or 1).
struct PartEntry {
  enum Kind { Corner, Centre, NewPoint } kind;
  size_t index;
  bool operator==(const PartEntry&) const = default;
};

struct AreaCut {
  // The new points in the boundary's order from its first corner; the cut
  // line runs from the first to the second, or from the hinge to the one.
  std::vector<CutEnd> newPoints;
  PlanePoint lineStart, lineEnd;
  double partArea, remainderArea;  // square feet
  // Both parts in the boundary's direction: the part cut off from where the
  // boundary enters it (or from the hinge), the remainder from where it
  // leaves it; each closes along the cut line.
  std::vector<PartEntry> part, remainder;
};

enum class CutRefusal {
  None,
  NotSmaller,    // the area asked for is not smaller than the figure's
  NoLine,        // no line of the kind asked for cuts that area
  SplitsFigure,  // the line that cuts it crosses the boundary more than twice
  LeavesFigure,  // the line from the hinge runs outside the figure
};

struct CutResult {
  std::optional<AreaCut> cut;
  CutRefusal refusal = CutRefusal::None;
};

// The part holding course `side` (a straight course), cut off by a line
// parallel to it.
CutResult CutParallel(const Boundary& boundary, size_t side, double target);

// The part holding the boundary's first corner, cut off by a line in the
// direction `azimuth`; when the figure reaches past that corner on both
// sides of the line, the cut nearer the corner.
CutResult CutInDirection(const Boundary& boundary, double azimuth, double target);

// The part from the corner `hinge` (the start of that course) onward in
// the boundary's order, cut off by a line from the hinge.
CutResult CutFromHinge(const Boundary& boundary, size_t hinge, double target);

}  // namespace vantrel
