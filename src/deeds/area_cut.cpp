#include "deeds/area_cut.h"

#include <algorithm>
#include <cmath>

#include "notation/geometry.h"
#include "notation/numbers.h"

namespace vantrel {
namespace {

// Crossings closer than this (feet) that undo each other are the line
// touching a corner, not passing through the figure.
constexpr double kTouchTolerance = 1e-6;
// Steps of the root finder before it settles for the best value it has.
constexpr int kMaxRootSteps = 200;

// The position x in [a, b] where the growing `area(x)` equals `target`,
// given area(a) <= target <= area(b): regula falsi with the Illinois
// correction (the end kept twice has its value halved), bisecting when a
// step would leave the bracket. Stops within the area tolerance, or when
// the bracket can no longer shrink, with the nearer end.
template <typename Area>
double SolveBracketed(Area area, double a, double areaA, double b, double areaB, double target) {
  double ga = areaA - target, gb = areaB - target;
  int kept = 0;  // -1: a was replaced last, +1: b was
  for (int step = 0; step < kMaxRootSteps; ++step) {
    if (std::fabs(ga) <= kCutAreaTolerance) return a;
    if (std::fabs(gb) <= kCutAreaTolerance) return b;
    double x = gb != ga ? (a * gb - b * ga) / (gb - ga) : (a + b) / 2;
    if (!(x > a && x < b)) x = (a + b) / 2;
    if (!(x > a && x < b)) break;  // no number left between the ends
    double gx = area(x) - target;
    if (gx <= 0) {
      a = x, ga = gx;
      if (kept == -1) gb /= 2;
      kept = -1;
    } else {
      b = x, gb = gx;
      if (kept == 1) ga /= 2;
      kept = 1;
    }
  }
  return std::fabs(ga) <= std::fabs(gb) ? a : b;
}

// Crossings of the cut line that undo each other at one place (the line
// through a corner it only touches) are dropped; what remains are the
// places where the line passes into or out of the figure.
std::vector<Crossing> PassingCrossings(std::vector<Crossing> crossings) {
  bool dropped = true;
  while (dropped && crossings.size() >= 2) {
    dropped = false;
    for (size_t k = 0; k < crossings.size(); ++k) {
      size_t next = (k + 1) % crossings.size();
      const Crossing &a = crossings[k], &b = crossings[next];
      if (a.entering == b.entering ||
          std::hypot(a.at.north - b.at.north, a.at.east - b.at.east) > kTouchTolerance)
        continue;
      crossings.erase(crossings.begin() + static_cast<long>(std::max(k, next)));
      crossings.erase(crossings.begin() + static_cast<long>(std::min(k, next)));
      dropped = true;
      break;
    }
  }
  return crossings;
}

// A place on the boundary with the position past a course's end counted
// as the next course's start.
CutEnd EndAt(const Boundary& b, size_t course, double along, PlanePoint at) {
  if (along >= 1) return {(course + 1) % b.size(), 0, at};
  return {course, std::max(along, 0.0), at};
}

bool Before(const CutEnd& a, const CutEnd& b) { return a.course != b.course ? a.course < b.course : a.along < b.along; }

// The figure of the boundary from `from` to `to` in its direction, as ARE
// lists it: the entries standing for the two places first and last, the
// corners between, and an arc's centre before each stretch of arc.
std::vector<PartEntry> PartBetween(const Boundary& b, const CutEnd& from, PartEntry fromEntry, const CutEnd& to,
                                   PartEntry toEntry) {
  const size_t n = b.size();
  std::vector<PartEntry> entries{fromEntry};
  size_t k = from.course;
  double position = from.along;
  for (size_t step = 0; step <= n; ++step) {
    if (b[k].arc) entries.push_back({PartEntry::Centre, k});
    if (to.course == k && to.along > position) break;
    k = (k + 1) % n;
    position = 0;
    if (to.course == k && to.along == 0) break;
    entries.push_back({PartEntry::Corner, k});
  }
  entries.push_back(toEntry);
  return entries;
}

// The offset at which the part left of the sweep's line holds `target`,
// between `low` and `high`; nothing when the area there does not reach
// across the target.
std::optional<double> SolveSweep(const Boundary& b, const Sweep& sweep, double target, double low, double high) {
  auto area = [&](double offset) { return PartLeftOf(b, sweep, offset).area; };
  double areaLow = area(low), areaHigh = area(high);
  if (!(areaLow <= target && target <= areaHigh)) return std::nullopt;

  // Between the offsets of consecutive corners and arc ends the area is a
  // smooth function of the offset; the stretch that holds the target is
  // found by halving the list of those offsets.
  std::vector<double> at{low, high};
  auto keep = [&](double offset) {
    if (offset > low && offset < high) at.push_back(offset);
  };
  const double cosA = std::cos(sweep.azimuth), sinA = std::sin(sweep.azimuth);
  std::vector<std::pair<double, double>> arcRanges;
  for (size_t k = 0; k < b.size(); ++k) {
    keep((b[k].start.east - sweep.through.east) * cosA - (b[k].start.north - sweep.through.north) * sinA);
    if (std::optional<std::pair<double, double>> range = ArcOffsetRange(b, k, sweep)) {
      keep(range->first);
      keep(range->second);
      arcRanges.push_back(*range);
    }
  }
  std::sort(at.begin(), at.end());
  at.erase(std::unique(at.begin(), at.end()), at.end());
  size_t lo = 0, hi = at.size() - 1;
  while (hi - lo > 1) {
    size_t mid = (lo + hi) / 2;
    double areaMid = area(at[mid]);
    (areaMid < target ? lo : hi) = mid;
    (areaMid < target ? areaLow : areaHigh) = areaMid;
  }
  const double a = at[lo], c = at[hi];

  // Across straight courses only, the part's width changes linearly with
  // the offset and its area is a quadratic, fixed by its values at both
  // ends and in the middle.
  bool straight = std::none_of(arcRanges.begin(), arcRanges.end(),
                               [&](const std::pair<double, double>& r) { return r.first < c && r.second > a; });
  if (straight) {
    double areaMid = area((a + c) / 2);
    double square = 2 * (areaHigh - 2 * areaMid + areaLow);
    double linear = areaHigh - areaLow - square;
    double constant = areaLow - target;
    double s;
    if (std::fabs(square) <= 1e-12 * (std::fabs(linear) + std::fabs(constant))) {
      s = linear != 0 ? -constant / linear : 0;
    } else {
      double root = std::sqrt(std::max(0.0, linear * linear - 4 * square * constant));
      double q = -(linear + (linear < 0 ? -root : root)) / 2;
      double s1 = q / square, s2 = q != 0 ? constant / q : s1;
      s = std::fabs(s1 - 0.5) <= std::fabs(s2 - 0.5) ? s1 : s2;
    }
    double offset = a + std::clamp(s, 0.0, 1.0) * (c - a);
    if (std::fabs(area(offset) - target) <= kCutAreaTolerance) return offset;
  }
  return SolveBracketed(area, a, areaLow, c, areaHigh, target);
}

// The cut of a sweep at `offset`: the part left of the line, when the line
// passes into and out of the figure once.
CutResult SweepCut(const Boundary& b, const Sweep& sweep, double offset, double total) {
  LinePart line = PartLeftOf(b, sweep, offset);
  std::vector<Crossing> crossings = PassingCrossings(line.crossings);
  if (crossings.size() != 2) return {std::nullopt, CutRefusal::SplitsFigure};
  const Crossing& entry = crossings[0].entering ? crossings[0] : crossings[1];
  const Crossing& exit = crossings[0].entering ? crossings[1] : crossings[0];
  CutEnd in = EndAt(b, entry.course, entry.along, entry.at), out = EndAt(b, exit.course, exit.along, exit.at);
  bool inFirst = Before(in, out);
  AreaCut cut;
  cut.newPoints = inFirst ? std::vector{in, out} : std::vector{out, in};
  cut.lineStart = cut.newPoints[0].at;
  cut.lineEnd = cut.newPoints[1].at;
  cut.partArea = line.area;
  cut.remainderArea = total - line.area;
  PartEntry inEntry{PartEntry::NewPoint, inFirst ? 0u : 1u}, outEntry{PartEntry::NewPoint, inFirst ? 1u : 0u};
  cut.part = PartBetween(b, in, inEntry, out, outEntry);
  cut.remainder = PartBetween(b, out, outEntry, in, inEntry);
  return {cut, CutRefusal::None};
}

}  // namespace

CutResult CutParallel(const Boundary& b, size_t side, double target) {
  double signedTotal = BoundaryArea(b), total = std::fabs(signedTotal);
  if (!(target < total)) return {std::nullopt, CutRefusal::NotSmaller};
  // The figure lies to the right of a side run in the direction of a
  // clockwise boundary; the line sweeps from the side into it.
  PlanePoint from = b[side].start, to = CourseEnd(b, side);
  double azimuth = AzimuthOf(to.east - from.east, to.north - from.north) + (signedTotal < 0 ? PI : 0);
  Sweep sweep{from, azimuth};
  std::optional<double> offset = SolveSweep(b, sweep, target, 0, OffsetRange(b, sweep).second);
  if (!offset) return {std::nullopt, CutRefusal::NoLine};
  return SweepCut(b, sweep, *offset, total);
}

CutResult CutInDirection(const Boundary& b, double azimuth, double target) {
  double total = std::fabs(BoundaryArea(b));
  if (!(target < total)) return {std::nullopt, CutRefusal::NotSmaller};
  // The line may sweep from the first corner to either side of it; the
  // part holding the corner is left of the line either way.
  CutResult best{std::nullopt, CutRefusal::NoLine};
  double bestOffset = INFINITY;
  for (double direction : {azimuth, azimuth + PI}) {
    Sweep sweep{b.front().start, direction};
    std::optional<double> offset = SolveSweep(b, sweep, target, 0, OffsetRange(b, sweep).second);
    if (!offset) continue;
    CutResult result = SweepCut(b, sweep, *offset, total);
    if (result.cut ? *offset < bestOffset : !best.cut) best = result;
    if (result.cut) bestOffset = std::min(bestOffset, *offset);
  }
  return best;
}

CutResult CutFromHinge(const Boundary& b, size_t hinge, double target) {
  const double signedTotal = BoundaryArea(b), total = std::fabs(signedTotal);
  if (!(target < total)) return {std::nullopt, CutRefusal::NotSmaller};
  const double sign = signedTotal < 0 ? -1 : 1;
  const PlanePoint origin = b[hinge].start;
  // The part from the hinge to a point on the boundary is the fan of its
  // courses about the hinge: the area grows course by course, linearly
  // along a straight course.
  auto chordArea = [&](PlanePoint p, PlanePoint q) {
    return sign * ((q.east - origin.east) * (p.north - origin.north) - (p.east - origin.east) * (q.north - origin.north)) / 2;
  };
  double before = 0;
  for (size_t step = 0; step < b.size(); ++step) {
    size_t k = (hinge + step) % b.size();
    PlanePoint p = b[k].start, q = CourseEnd(b, k);
    const std::optional<BoundaryArc>& arc = b[k].arc;
    double after = before + chordArea(p, q) + (arc ? sign * SegmentArea(arc->radius, arc->delta) : 0);
    if (after < target) {
      before = after;
      continue;
    }
    double along;
    PlanePoint at;
    if (!arc) {
      along = (target - before) / (after - before);
      at = {p.north + along * (q.north - p.north), p.east + along * (q.east - p.east)};
    } else {
      double first = AzimuthOf(p.east - arc->centre.east, p.north - arc->centre.north);
      auto pointAt = [&](double fraction) { return fraction == 0 ? p : ArcPointAt(*arc, first + fraction * arc->delta); };
      auto area = [&](double fraction) {
        return before + chordArea(p, pointAt(fraction)) + sign * SegmentArea(arc->radius, fraction * arc->delta);
      };
      along = SolveBracketed(area, 0, before, 1, after, target);
      at = pointAt(along);
    }
    if (LineMeetsBoundary(b, origin, at)) return {std::nullopt, CutRefusal::LeavesFigure};
    AreaCut cut;
    CutEnd start{hinge, 0, origin}, end = EndAt(b, k, along, at);
    cut.newPoints = {end};
    cut.lineStart = origin;
    cut.lineEnd = at;
    cut.partArea = target;
    cut.remainderArea = total - target;
    PartEntry hingeEntry{PartEntry::Corner, hinge}, newEntry{PartEntry::NewPoint, 0};
    cut.part = PartBetween(b, start, hingeEntry, end, newEntry);
    cut.remainder = PartBetween(b, end, newEntry, start, hingeEntry);
    return {cut, CutRefusal::None};
  }
  return {std::nullopt, CutRefusal::NoLine};
}

}  // namespace vantrel
