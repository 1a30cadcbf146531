// A figure as ARE reads it (corners, C before a centre) turned into the
// boundary of plane coordinates the deed commands work on, with the point
// numbers its courses came from.
#pragma once

#include <string>
#include <vector>

#include "area/figure.h"
#include "deeds/boundary.h"

namespace vantrel {

class Session;

struct FigureBoundary {
  Boundary boundary;
  std::vector<int> corner;  // the point each course starts at
  std::vector<int> centre;  // the centre of each arc course; 0 for a straight one
};

// The courses of a figure read and checked as ARE checks it (every point
// defined). An arc takes ARE's mean radius and its central angle of at most
// a half turn; the figure closes back to its first corner, so a first
// corner repeated at the end adds no course.
FigureBoundary BoundaryOfFigure(const Session& session, const Figure& figure);

// "Pt 3 to Pt 4", as messages name course k.
std::string CourseName(const FigureBoundary& figure, size_t course);

}  // namespace vantrel
