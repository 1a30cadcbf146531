#include "deeds/figure_boundary.h"

#include <cmath>

#include "command/session.h"
#include "store/point_store.h"
#include "notation/geometry.h"
#include "notation/numbers.h"

namespace vantrel {

FigureBoundary BoundaryOfFigure(const Session& s, const Figure& figure) {
  auto at = [&](int n) { return PlanePoint{s.points.North(n), s.points.East(n)}; };
  Figure entries = figure;
  if (entries.size() > 2 && entries.back().point == entries.front().point) entries.pop_back();
  FigureBoundary result;
  for (size_t k = 0; k < entries.size(); ++k) {
    if (entries[k].center) continue;
    result.boundary.push_back({at(entries[k].point), std::nullopt});
    result.corner.push_back(entries[k].point);
    result.centre.push_back(0);
    if (k + 1 >= entries.size() || !entries[k + 1].center) continue;
    // The arc runs to the corner after its centre: the first corner when
    // that was the repeated one.
    int centre = entries[k + 1].point;
    int end = k + 2 < entries.size() ? entries[k + 2].point : entries.front().point;
    double toStart = PointDistance(s.points, entries[k].point, centre), toEnd = PointDistance(s.points, end, centre);
    double delta = PointAzimuth(s.points, centre, end) - PointAzimuth(s.points, centre, entries[k].point);
    if (delta < -PI) delta += TWO_PI;
    if (delta > PI) delta -= TWO_PI;
    result.boundary.back().arc = BoundaryArc{at(centre), (toStart + toEnd) / 2, delta};
    result.centre.back() = centre;
  }
  return result;
}

std::string CourseName(const FigureBoundary& f, size_t course) {
  size_t next = course + 1 == f.corner.size() ? 0 : course + 1;
  return "Pt " + std::to_string(f.corner[course]) + " to Pt " + std::to_string(f.corner[next]);
}

}  // namespace vantrel
