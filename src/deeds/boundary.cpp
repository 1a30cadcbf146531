#include "deeds/boundary.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "notation/geometry.h"
#include "notation/numbers.h"

namespace vantrel {
namespace {

// The clockwise area term of the straight course a→b, worked from `origin`.
double ChordArea(PlanePoint origin, PlanePoint a, PlanePoint b) {
  return ((b.east - origin.east) * (a.north - origin.north) - (a.east - origin.east) * (b.north - origin.north)) / 2;
}

double AzimuthFrom(PlanePoint from, PlanePoint to) { return AzimuthOf(to.east - from.east, to.north - from.north); }

double Distance(PlanePoint a, PlanePoint b) { return std::hypot(b.east - a.east, b.north - a.north); }

// An angle brought into 0..2π.
double FullTurn(double angle) {
  double a = std::fmod(angle, TWO_PI);
  return a < 0 ? a + TWO_PI : a;
}

// A course as the crossing tests see it: a straight piece, or an arc as
// the clockwise sweep `span` from the azimuth `first` about its centre.
struct Shape {
  PlanePoint p, q;
  bool isArc = false;
  PlanePoint centre;
  double radius = 0, first = 0, span = 0;
};

Shape ShapeOf(const Boundary& b, size_t k) {
  Shape shape;
  shape.p = b[k].start;
  shape.q = CourseEnd(b, k);
  if (const std::optional<BoundaryArc>& arc = b[k].arc) {
    shape.isArc = true;
    shape.centre = arc->centre;
    shape.radius = arc->radius;
    double fromStart = AzimuthFrom(arc->centre, shape.p);
    shape.first = FullTurn(arc->delta >= 0 ? fromStart : fromStart + arc->delta);
    shape.span = std::fabs(arc->delta);
  }
  return shape;
}

// True when the azimuth (from the centre) lies on the arc, `slack` feet
// beyond its ends included.
bool OnArc(const Shape& arc, double azimuth, double slack) {
  double position = FullTurn(azimuth - arc.first);
  double angularSlack = slack / arc.radius;
  return position <= arc.span + angularSlack || position >= TWO_PI - angularSlack;
}

bool OnStraight(const Shape& line, PlanePoint x, double slack) {
  double dE = line.q.east - line.p.east, dN = line.q.north - line.p.north;
  double length2 = dE * dE + dN * dN;
  double f = ((x.east - line.p.east) * dE + (x.north - line.p.north) * dN) / length2;
  double fSlack = slack / std::sqrt(length2);
  return f >= -fSlack && f <= 1 + fSlack;
}

// Where two courses meet: up to two points, or `overlap` when they run
// along each other for more than the tolerance.
struct Meeting {
  int count = 0;
  std::array<PlanePoint, 2> at;
  bool overlap = false;
  void Add(PlanePoint x) { at[static_cast<size_t>(count++)] = x; }
};

Meeting StraightsMeet(const Shape& a, const Shape& b) {
  Meeting m;
  double rE = a.q.east - a.p.east, rN = a.q.north - a.p.north;
  double sE = b.q.east - b.p.east, sN = b.q.north - b.p.north;
  double wE = b.p.east - a.p.east, wN = b.p.north - a.p.north;
  double lengthA = std::hypot(rE, rN), lengthB = std::hypot(sE, sN);
  double denominator = rE * sN - rN * sE;
  if (std::fabs(denominator) <= 1e-12 * lengthA * lengthB) {
    // Parallel: they meet only when they lie on one line and overlap.
    if (std::fabs(wE * rN - wN * rE) / lengthA > kCornerTolerance) return m;
    double from = (wE * rE + wN * rN) / lengthA;
    double to = from + (sE * rE + sN * rN) / lengthA;
    double overlap = std::min(lengthA, std::max(from, to)) - std::max(0.0, std::min(from, to));
    if (overlap > kCornerTolerance) m.overlap = true;
    else if (overlap > -kCornerTolerance) m.Add(from >= -kCornerTolerance && from <= lengthA + kCornerTolerance ? b.p : b.q);
    return m;
  }
  double u = (wE * sN - wN * sE) / denominator;
  double v = (wE * rN - wN * rE) / denominator;
  double uSlack = kCornerTolerance / lengthA, vSlack = kCornerTolerance / lengthB;
  if (u >= -uSlack && u <= 1 + uSlack && v >= -vSlack && v <= 1 + vSlack)
    m.Add({a.p.north + u * rN, a.p.east + u * rE});
  return m;
}

Meeting StraightMeetsArc(const Shape& line, const Shape& arc) {
  Meeting m;
  std::optional<std::array<double, 2>> crossings = LineCircleCrossings(
      line.p.north, line.p.east, AzimuthFrom(line.p, line.q), arc.centre.north, arc.centre.east, arc.radius);
  if (!crossings) return m;
  for (size_t k = 0; k < 2; ++k) {
    if (k == 1 && (*crossings)[1] == (*crossings)[0]) break;  // a tangent line touches once
    PlanePoint x = PointToward(arc.centre, (*crossings)[k], arc.radius);
    if (OnArc(arc, (*crossings)[k], kCornerTolerance) && OnStraight(line, x, kCornerTolerance)) m.Add(x);
  }
  return m;
}

Meeting ArcsMeet(const Shape& a, const Shape& b) {
  Meeting m;
  double d = Distance(a.centre, b.centre);
  if (d <= kCornerTolerance && std::fabs(a.radius - b.radius) <= kCornerTolerance) {
    // One circle: the arcs overlap when one starts (or, starting together,
    // has its middle) strictly inside the other.
    double inner = kCornerTolerance / a.radius;
    auto inside = [&](const Shape& arc, double azimuth) {
      double position = FullTurn(azimuth - arc.first);
      return position > inner && position < arc.span - inner;
    };
    m.overlap = inside(a, b.first) || inside(b, a.first) || inside(a, b.first + b.span / 2) ||
                inside(b, a.first + a.span / 2);
    if (!m.overlap) {
      for (PlanePoint x : {b.p, b.q})
        if (OnArc(a, AzimuthFrom(a.centre, x), kCornerTolerance)) m.Add(x);
    }
    return m;
  }
  if (d > a.radius + b.radius + kCornerTolerance || d < std::fabs(a.radius - b.radius) - kCornerTolerance) return m;
  double along = (a.radius * a.radius - b.radius * b.radius + d * d) / (2 * d);
  double across = std::sqrt(std::max(0.0, a.radius * a.radius - along * along));
  double toB = AzimuthFrom(a.centre, b.centre);
  double half = std::atan2(across, along);
  for (double azimuth : {toB - half, toB + half}) {
    PlanePoint x = PointToward(a.centre, azimuth, a.radius);
    if (OnArc(a, azimuth, kCornerTolerance) && OnArc(b, AzimuthFrom(b.centre, x), kCornerTolerance)) m.Add(x);
    if (across == 0) break;
  }
  return m;
}

Meeting ShapesMeet(const Shape& a, const Shape& b) {
  if (!a.isArc && !b.isArc) return StraightsMeet(a, b);
  if (a.isArc && b.isArc) return ArcsMeet(a, b);
  return a.isArc ? StraightMeetsArc(b, a) : StraightMeetsArc(a, b);
}

bool SamePlace(PlanePoint a, PlanePoint b) { return Distance(a, b) <= kCornerTolerance; }

// True when the shapes meet anywhere but at the points in `shared`.
bool MeetElsewhere(const Shape& a, const Shape& b, std::initializer_list<PlanePoint> shared) {
  Meeting m = ShapesMeet(a, b);
  if (m.overlap) return true;
  for (int k = 0; k < m.count; ++k) {
    bool atShared = std::any_of(shared.begin(), shared.end(), [&](PlanePoint s) { return SamePlace(m.at[k], s); });
    if (!atShared) return true;
  }
  return false;
}

struct Extent {
  double minEast, maxEast, minNorth, maxNorth;
};

Extent ExtentOf(const Shape& shape) {
  Extent e{std::min(shape.p.east, shape.q.east), std::max(shape.p.east, shape.q.east),
           std::min(shape.p.north, shape.q.north), std::max(shape.p.north, shape.q.north)};
  if (shape.isArc) {
    // The circle's northmost, eastmost, southmost and westmost points, where the arc passes them.
    for (double azimuth : {0.0, HALF_PI, PI, THREE_HALF_PI}) {
      if (!OnArc(shape, azimuth, 0)) continue;
      PlanePoint x = PointToward(shape.centre, azimuth, shape.radius);
      e = {std::min(e.minEast, x.east), std::max(e.maxEast, x.east), std::min(e.minNorth, x.north),
           std::max(e.maxNorth, x.north)};
    }
  }
  return {e.minEast - kCornerTolerance, e.maxEast + kCornerTolerance, e.minNorth - kCornerTolerance,
          e.maxNorth + kCornerTolerance};
}

}  // namespace

PlanePoint CourseEnd(const Boundary& b, size_t course) { return b[course + 1 == b.size() ? 0 : course + 1].start; }

PlanePoint PointToward(PlanePoint from, double azimuth, double distance) {
  return {from.north + distance * std::cos(azimuth), from.east + distance * std::sin(azimuth)};
}

PlanePoint ArcPointAt(const BoundaryArc& arc, double azimuth) { return PointToward(arc.centre, azimuth, arc.radius); }

double SegmentArea(double radius, double delta) {
  double span = std::fabs(delta);
  double segment = radius * radius * (span - std::sin(span)) / 2;
  return delta < 0 ? -segment : segment;
}

double BoundaryArea(const Boundary& b) {
  if (b.empty()) return 0;
  const PlanePoint origin = b.front().start;
  double area = 0;
  for (size_t k = 0; k < b.size(); ++k) {
    area += ChordArea(origin, b[k].start, CourseEnd(b, k));
    if (b[k].arc) area += SegmentArea(b[k].arc->radius, b[k].arc->delta);
  }
  return area;
}

LinePart PartLeftOf(const Boundary& b, const Sweep& sweep, double offset) {
  const double cosA = std::cos(sweep.azimuth), sinA = std::sin(sweep.azimuth);
  const PlanePoint origin = sweep.through;
  // Offsets are measured to the right of the line through `through`, and
  // from the line at `offset`: a point at or left of the line is inside.
  auto beyond = [&](PlanePoint p) { return (p.east - origin.east) * cosA - (p.north - origin.north) * sinA - offset; };
  auto along = [&](PlanePoint p) { return (p.east - origin.east) * sinA + (p.north - origin.north) * cosA; };

  const PlanePoint lineAt = PointToward(origin, sweep.azimuth + HALF_PI, offset);
  LinePart part{0, {}};
  // The part's outline runs along the line from each exit to an entry;
  // those pieces add up to the line's area term over the sum of their
  // lengths, which needs only where the crossings lie along the line.
  double lineRun = 0;
  auto cross = [&](size_t k, double fraction, PlanePoint at, bool entering) {
    part.crossings.push_back({k, fraction, at, entering});
    lineRun += entering ? along(at) : -along(at);
  };

  for (size_t k = 0; k < b.size(); ++k) {
    const PlanePoint p = b[k].start, q = CourseEnd(b, k);
    const double beyondP = beyond(p), beyondQ = beyond(q);
    bool inside = beyondP <= 0;
    if (!b[k].arc) {
      bool insideQ = beyondQ <= 0;
      if (inside && insideQ) {
        part.area += ChordArea(origin, p, q);
      } else if (inside != insideQ) {
        double f = beyondP / (beyondP - beyondQ);
        PlanePoint x{p.north + f * (q.north - p.north), p.east + f * (q.east - p.east)};
        part.area += inside ? ChordArea(origin, p, x) : ChordArea(origin, x, q);
        cross(k, f, x, insideQ);
      }
      continue;
    }

    // An arc: split where the line meets its circle, each piece inside or
    // outside as its middle lies.
    const BoundaryArc& arc = *b[k].arc;
    const double first = AzimuthFrom(arc.centre, p), turn = arc.delta < 0 ? -1 : 1, span = std::fabs(arc.delta);
    std::array<double, 4> splits{0, span, span, span};
    size_t count = 1;
    if (std::optional<std::array<double, 2>> crossings =
            LineCircleCrossings(lineAt.north, lineAt.east, sweep.azimuth, arc.centre.north, arc.centre.east, arc.radius)) {
      for (double azimuth : *crossings) {
        double position = FullTurn((azimuth - first) * turn);
        if (position > 0 && position < span) splits[count++] = position;
      }
      if (count == 3 && splits[2] < splits[1]) std::swap(splits[1], splits[2]);
    }
    splits[count] = span;
    auto pointAt = [&](size_t j) {
      if (j == 0) return p;
      if (j == count) return q;
      return ArcPointAt(arc, first + turn * splits[j]);
    };
    for (size_t j = 0; j < count; ++j) {
      if (splits[j + 1] <= splits[j]) continue;
      bool pieceInside = beyond(ArcPointAt(arc, first + turn * (splits[j] + splits[j + 1]) / 2)) <= 0;
      if (pieceInside != inside) cross(k, splits[j] / span, pointAt(j), pieceInside);
      inside = pieceInside;
      if (inside)
        part.area += ChordArea(origin, pointAt(j), pointAt(j + 1)) + SegmentArea(arc.radius, turn * (splits[j + 1] - splits[j]));
    }
    if (bool insideQ = beyondQ <= 0; insideQ != inside) cross(k, 1, q, insideQ);
  }
  part.area += ChordArea(origin, lineAt, PointToward(lineAt, sweep.azimuth, lineRun));
  part.area = std::fabs(part.area);
  return part;
}

std::optional<std::pair<double, double>> ArcOffsetRange(const Boundary& b, size_t k, const Sweep& sweep) {
  if (!b[k].arc) return std::nullopt;
  Shape arc = ShapeOf(b, k);
  // The offset of the arc's point at azimuth φ is the centre's offset plus
  // R·sin(φ − azimuth): its extremes lie a quarter turn either side.
  double centre = (arc.centre.east - sweep.through.east) * std::cos(sweep.azimuth) -
                  (arc.centre.north - sweep.through.north) * std::sin(sweep.azimuth);
  auto at = [&](double azimuth) { return centre + arc.radius * std::sin(azimuth - sweep.azimuth); };
  double low = std::min(at(arc.first), at(arc.first + arc.span)), high = std::max(at(arc.first), at(arc.first + arc.span));
  if (OnArc(arc, sweep.azimuth + HALF_PI, 0)) high = centre + arc.radius;
  if (OnArc(arc, sweep.azimuth - HALF_PI, 0)) low = centre - arc.radius;
  return std::pair{low, high};
}

std::pair<double, double> OffsetRange(const Boundary& b, const Sweep& sweep) {
  const double cosA = std::cos(sweep.azimuth), sinA = std::sin(sweep.azimuth);
  double low = INFINITY, high = -INFINITY;
  for (size_t k = 0; k < b.size(); ++k) {
    double o = (b[k].start.east - sweep.through.east) * cosA - (b[k].start.north - sweep.through.north) * sinA;
    low = std::min(low, o);
    high = std::max(high, o);
    if (std::optional<std::pair<double, double>> arc = ArcOffsetRange(b, k, sweep)) {
      low = std::min(low, arc->first);
      high = std::max(high, arc->second);
    }
  }
  return {low, high};
}

std::optional<std::pair<size_t, size_t>> SelfCrossing(const Boundary& b) {
  // Courses of no length (a corner listed twice) take no part; the courses
  // either side of one are neighbours.
  std::vector<size_t> courses;
  for (size_t k = 0; k < b.size(); ++k)
    if (b[k].arc || !SamePlace(b[k].start, CourseEnd(b, k))) courses.push_back(k);
  const size_t n = courses.size();
  std::vector<Shape> shapes;
  std::vector<Extent> extents;
  for (size_t k : courses) {
    shapes.push_back(ShapeOf(b, k));
    extents.push_back(ExtentOf(shapes.back()));
  }
  // Sweep from west to east, comparing each course with those still open.
  std::vector<size_t> order(n);
  for (size_t k = 0; k < n; ++k) order[k] = k;
  std::sort(order.begin(), order.end(), [&](size_t i, size_t j) { return extents[i].minEast < extents[j].minEast; });
  std::vector<size_t> open;
  for (size_t i : order) {
    std::erase_if(open, [&](size_t j) { return extents[j].maxEast < extents[i].minEast; });
    for (size_t j : open) {
      if (extents[j].maxNorth < extents[i].minNorth || extents[i].maxNorth < extents[j].minNorth) continue;
      size_t first = std::min(i, j), second = std::max(i, j);
      bool follows = second == first + 1, closes = first == 0 && second == n - 1;
      const Shape &a = shapes[first], &c = shapes[second];
      bool meet = follows && closes ? MeetElsewhere(a, c, {a.p, a.q})
                  : follows         ? MeetElsewhere(a, c, {a.q})
                  : closes          ? MeetElsewhere(a, c, {a.p})
                                    : MeetElsewhere(a, c, {});
      if (meet) return std::pair{courses[first], courses[second]};
    }
    open.push_back(i);
  }
  return std::nullopt;
}

bool LineMeetsBoundary(const Boundary& b, PlanePoint a, PlanePoint c) {
  if (SamePlace(a, c)) return false;
  Shape line;
  line.p = a;
  line.q = c;
  for (size_t k = 0; k < b.size(); ++k) {
    Shape course = ShapeOf(b, k);
    if (!course.isArc && SamePlace(course.p, course.q)) continue;
    if (MeetElsewhere(line, course, {a, c})) return true;
  }
  return false;
}

}  // namespace vantrel
