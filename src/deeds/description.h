// The metes-and-bounds description of a closed boundary, as a deed states
// it: the point of beginning, each course by its quadrant bearing and
// distance (a curve by its radius, central angle, arc length and chord),
// and the area. Pure text for LDW.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "deeds/boundary.h"

namespace vantrel {

struct DescriptionStyle {
  std::string beginning;  // the words for the point of beginning
  bool spelledAngles = false;  // "89 degrees 59 minutes 30 seconds" rather than 89°59'30"
};

// "Beginning at …; thence North 89°59'30" East, 150.00 feet; thence along a
// curve to the right having a radius of …; … to the point of beginning,
// containing 27,000 square feet (0.620 acres), more or less." Distances in
// feet to two decimals; courses that round to no length are left out.
std::string LegalDescription(const Boundary& boundary, double area, const DescriptionStyle& style);

// The courses the description writes: those of the boundary that round to
// some length.
size_t DescribedCourses(const Boundary& boundary);

// The text broken at blanks into lines of at most `width` characters (a
// longer word stands on its own line).
std::vector<std::string> WrapText(std::string_view text, size_t width);

}  // namespace vantrel
