#include "adjust/placement.h"

#include <cmath>
#include <complex>
#include <functional>
#include <optional>
#include <queue>
#include <span>

#include "notation/geometry.h"
#include "notation/numbers.h"

namespace vantrel {
namespace {

// Two directions closer than this (radians, about 3.4 minutes) to parallel
// or opposite give no usable intersection.
constexpr double kFlatCrossing = 1e-3;

// A resection whose two circles have centres closer than this share of
// their size stands on the danger circle: every point of it fits.
constexpr double kDangerCircle = 1e-3;

// Lists of observation indices by key (a point, a direction set), held as
// one array with the start of each key's run.
class IndexLists {
 public:
  IndexLists(size_t keys, const std::vector<std::pair<int, int>>& pairs) : start_(keys + 1, 0) {
    for (const auto& [key, index] : pairs) ++start_[static_cast<size_t>(key) + 1];
    for (size_t k = 1; k < start_.size(); ++k) start_[k] += start_[k - 1];
    entries_.resize(pairs.size());
    std::vector<int> next(start_.begin(), start_.end() - 1);
    for (const auto& [key, index] : pairs) entries_[static_cast<size_t>(next[static_cast<size_t>(key)]++)] = index;
  }
  std::span<const int> Of(int key) const {
    return {entries_.data() + start_[static_cast<size_t>(key)],
            static_cast<size_t>(start_[static_cast<size_t>(key) + 1] - start_[static_cast<size_t>(key)])};
  }

 private:
  std::vector<int> start_, entries_;
};
using Readings = IndexLists;

// What the observations say about a point from one placed point: it lies on
// a ray from it (a direction) or on a circle about it (a distance).
struct Ray {
  Position from;
  double azimuth;
};
struct Circle {
  Position center;
  double radius;
};

struct Clues {
  std::vector<Ray> rays;
  std::vector<Circle> circles;
  std::vector<int> rayOrigin, circleCenter;
};

double Azimuth(const Position& a, const Position& b) { return AzimuthOf(b.east - a.east, b.north - a.north); }

Position Along(const Position& from, double azimuth, double length) {
  return {from.north + std::cos(azimuth) * length, from.east + std::sin(azimuth) * length};
}

// The orientation of a direction set from its readings to placed points
// other than `point`, when its station is placed and it has one.
std::optional<double> SetOrientation(const Network& net, const Readings& readings, int set, int point,
                                     const std::vector<Position>& at, const std::vector<char>& placed) {
  for (int index : readings.Of(set)) {
    const Observation& r = net.observations[static_cast<size_t>(index)];
    if (r.points[1] != point && placed[r.points[1]]) return Azimuth(at[r.points[0]], at[r.points[1]]) - r.value;
  }
  return std::nullopt;
}

Clues Gather(const Network& net, const Readings& readings, std::span<const int> naming, int point,
             const std::vector<Position>& at, const std::vector<char>& placed) {
  Clues clues;
  auto ray = [&](int origin, double azimuth) {
    clues.rays.push_back({at[origin], azimuth});
    clues.rayOrigin.push_back(origin);
  };
  for (int index : naming) {
    const Observation& o = net.observations[static_cast<size_t>(index)];
    const auto& p = o.points;
    switch (o.kind) {
      case ObservationKind::Distance:
        for (int k = 0; k < 2; ++k)
          if (p[k] == point && placed[p[1 - k]]) {
            clues.circles.push_back({at[p[1 - k]], o.value});
            clues.circleCenter.push_back(p[1 - k]);
          }
        break;
      case ObservationKind::Direction:
        if (p[1] == point && placed[p[0]]) ray(p[0], o.value);
        if (p[0] == point && placed[p[1]]) ray(p[1], o.value + PI);
        break;
      case ObservationKind::Angle:
        if (!placed[p[0]]) break;
        if (p[2] == point && placed[p[1]]) ray(p[0], Azimuth(at[p[0]], at[p[1]]) + o.value);
        if (p[1] == point && placed[p[2]]) ray(p[0], Azimuth(at[p[0]], at[p[2]]) - o.value);
        break;
      case ObservationKind::Reading:
        if (p[1] != point || !placed[p[0]]) break;
        if (auto orientation = SetOrientation(net, readings, o.set, point, at, placed)) ray(p[0], *orientation + o.value);
        break;
    }
  }
  return clues;
}

std::optional<Position> CrossRays(const Ray& a, const Ray& b) {
  double sa = std::sin(a.azimuth), ca = std::cos(a.azimuth), sb = std::sin(b.azimuth), cb = std::cos(b.azimuth);
  double cross = sa * cb - ca * sb;
  if (std::fabs(cross) < kFlatCrossing) return std::nullopt;
  double dN = b.from.north - a.from.north, dE = b.from.east - a.from.east;
  double t = (dE * cb - dN * sb) / cross;
  return Along(a.from, a.azimuth, t);
}

// How far a candidate position is from agreeing with a ray or circle.
double Disagreement(const Position& candidate, const Clues& clues, size_t skipCircleA, size_t skipCircleB) {
  double worst = 0;
  for (size_t k = 0; k < clues.circles.size(); ++k) {
    if (k == skipCircleA || k == skipCircleB) continue;
    const Circle& c = clues.circles[k];
    worst = std::max(worst, std::fabs(std::hypot(candidate.north - c.center.north, candidate.east - c.center.east) -
                                      c.radius));
  }
  for (const Ray& r : clues.rays) {
    double dN = candidate.north - r.from.north, dE = candidate.east - r.from.east;
    // Offset from the ray's line, and the whole distance when behind it.
    double along = dN * std::cos(r.azimuth) + dE * std::sin(r.azimuth);
    double across = std::fabs(dE * std::cos(r.azimuth) - dN * std::sin(r.azimuth));
    worst = std::max(worst, along < 0 ? std::hypot(dN, dE) : across);
  }
  return worst;
}

// Two crossings of two circles; a third clue must pick one clearly.
std::optional<Position> CrossCircles(const Clues& clues, size_t i, size_t j) {
  const Circle &a = clues.circles[i], &b = clues.circles[j];
  double dN = b.center.north - a.center.north, dE = b.center.east - a.center.east;
  double d = std::hypot(dN, dE);
  if (d == 0) return std::nullopt;
  double x = (a.radius * a.radius - b.radius * b.radius + d * d) / (2 * d);
  double h2 = a.radius * a.radius - x * x;
  if (!(h2 > 0) || clues.circles.size() + clues.rays.size() < 3) return std::nullopt;
  double h = std::sqrt(h2);
  Position base{a.center.north + dN * x / d, a.center.east + dE * x / d};
  Position left{base.north + dE * h / d, base.east - dN * h / d};
  Position right{base.north - dE * h / d, base.east + dN * h / d};
  double l = Disagreement(left, clues, i, j), r = Disagreement(right, clues, i, j);
  if (std::fabs(l - r) < h / 2) return std::nullopt;  // the third clue does not tell them apart
  return l < r ? left : right;
}

std::optional<Position> Place(const Clues& clues) {
  // Direction and distance from the same point.
  for (size_t r = 0; r < clues.rays.size(); ++r)
    for (size_t c = 0; c < clues.circles.size(); ++c)
      if (clues.rayOrigin[r] == clues.circleCenter[c]) return Along(clues.rays[r].from, clues.rays[r].azimuth, clues.circles[c].radius);
  // Two directions from different points.
  for (size_t a = 0; a < clues.rays.size(); ++a)
    for (size_t b = a + 1; b < clues.rays.size(); ++b)
      if (clues.rayOrigin[a] != clues.rayOrigin[b])
        if (auto crossing = CrossRays(clues.rays[a], clues.rays[b])) return crossing;
  // Two distances, each the first about its centre: repeated distances
  // would only repeat the same crossings.
  std::vector<size_t> firstAbout;
  for (size_t a = 0; a < clues.circles.size(); ++a)
    if (std::find(clues.circleCenter.begin(), clues.circleCenter.begin() + static_cast<std::ptrdiff_t>(a),
                  clues.circleCenter[a]) == clues.circleCenter.begin() + static_cast<std::ptrdiff_t>(a))
      firstAbout.push_back(a);
  for (size_t a = 0; a < firstAbout.size(); ++a)
    for (size_t b = a + 1; b < firstAbout.size(); ++b)
      if (auto crossing = CrossCircles(clues, firstAbout[a], firstAbout[b])) return crossing;
  return std::nullopt;
}

// Directions measured at one station in one frame (a direction set, or
// angles chained through the points they share): the targets and their
// directions, up to one unknown orientation.
using Frame = std::vector<std::pair<int, double>>;

std::optional<double> DirectionIn(const Frame& frame, int target) {
  for (const auto& [point, direction] : frame)
    if (point == target) return direction;
  return std::nullopt;
}

// The frames at `station` over placed targets: its direction sets, and its
// angles between placed points merged into each other and into the sets
// wherever they share a target.
std::vector<Frame> FramesAt(const Network& net, const Readings& readings, std::span<const int> naming, int station,
                            const std::vector<char>& placed) {
  std::vector<Frame> frames;
  std::vector<int> setsSeen;
  for (int index : naming) {
    const Observation& o = net.observations[static_cast<size_t>(index)];
    if (o.points[0] != station) continue;
    if (o.kind == ObservationKind::Reading && std::find(setsSeen.begin(), setsSeen.end(), o.set) == setsSeen.end()) {
      setsSeen.push_back(o.set);
      Frame frame;
      for (int r : readings.Of(o.set)) {
        const Observation& reading = net.observations[static_cast<size_t>(r)];
        if (placed[reading.points[1]] && !DirectionIn(frame, reading.points[1])) frame.emplace_back(reading.points[1], reading.value);
      }
      frames.push_back(frame);
    }
    if (o.kind == ObservationKind::Angle && placed[o.points[1]] && placed[o.points[2]])
      frames.push_back({{o.points[1], 0}, {o.points[2], o.value}});
  }
  // Merge frames that share a target, turning the second into the first.
  for (size_t a = 0; a < frames.size(); ++a)
    for (size_t b = a + 1; b < frames.size();) {
      std::optional<double> shift;
      for (const auto& [point, direction] : frames[b])
        if (auto there = DirectionIn(frames[a], point); there && !shift) shift = *there - direction;
      if (!shift) {
        ++b;
        continue;
      }
      for (const auto& [point, direction] : frames[b])
        if (!DirectionIn(frames[a], point)) frames[a].emplace_back(point, direction + *shift);
      frames.erase(frames.begin() + static_cast<std::ptrdiff_t>(b));
      b = a + 1;
    }
  return frames;
}

// The centre of the circle through a and b from which the clockwise angle
// from a to b is `angle` (in the plane of east and north, where clockwise
// turns the other way: the central angle from a to b is -2 angle).
std::optional<std::complex<double>> CentreSeeing(std::complex<double> a, std::complex<double> b, double angle) {
  std::complex<double> turn = std::polar(1.0, -2 * angle);
  if (std::abs(turn - 1.0) < kFlatCrossing) return std::nullopt;  // a, b and the station in line
  return (a * turn - b) / (turn - 1.0);
}

// The station that sees a, b and c in the given directions: the second
// crossing of the two circles through b, which is b reflected in the line
// of their centres.
std::optional<Position> Resect(const std::array<Position, 3>& targets, const std::array<double, 3>& directions) {
  auto plane = [](const Position& p) { return std::complex<double>(p.east, p.north); };
  std::complex<double> a = plane(targets[0]), b = plane(targets[1]), c = plane(targets[2]);
  auto first = CentreSeeing(a, b, directions[1] - directions[0]);
  auto second = CentreSeeing(b, c, directions[2] - directions[1]);
  if (!first || !second) return std::nullopt;
  std::complex<double> line = *second - *first;
  double size = std::max(std::abs(b - *first), std::abs(b - *second));
  if (std::abs(line) < kDangerCircle * size) return std::nullopt;
  std::complex<double> station = *first + line * std::conj((b - *first) / line);
  if (std::abs(station - b) < kDangerCircle * size) return std::nullopt;
  return Position{station.imag(), station.real()};
}

// A station placed by resection from the first three targets of one of its
// frames that give a crossing clear of the danger circle.
std::optional<Position> PlaceByResection(const std::vector<Frame>& frames, const std::vector<Position>& at) {
  // A few triples are tried: a frame whose first ones fail is rare.
  constexpr size_t kMostTargetsTried = 6;
  for (const Frame& frame : frames) {
    const size_t n = std::min(frame.size(), kMostTargetsTried);
    for (size_t i = 0; i < n; ++i)
      for (size_t j = i + 1; j < n; ++j)
        for (size_t k = j + 1; k < n; ++k) {
          const auto &a = frame[i], &b = frame[j], &c = frame[k];
          if (auto station = Resect({at[a.first], at[b.first], at[c.first]}, {a.second, b.second, c.second}))
            return station;
        }
  }
  return std::nullopt;
}

}  // namespace

int PlacePoints(const Network& net, const std::vector<int>& unknowns, std::vector<Position>& at,
                std::vector<char>& placed) {
  // The observations that name each point, and the readings of each set.
  std::vector<std::pair<int, int>> byPoint, bySet;
  for (size_t k = 0; k < net.observations.size(); ++k) {
    const Observation& o = net.observations[k];
    for (int i = 0; i < PointCount(o); ++i)
      if (i == 0 || o.points[i] != o.points[i - 1]) byPoint.emplace_back(o.points[i], static_cast<int>(k));
    if (o.kind == ObservationKind::Reading) bySet.emplace_back(o.set, static_cast<int>(k));
  }
  const IndexLists naming(at.size(), byPoint);
  const Readings readings(static_cast<size_t>(net.sets), bySet);
  std::vector<int> order(at.size(), -1);
  for (size_t k = 0; k < unknowns.size(); ++k) order[static_cast<size_t>(unknowns[k])] = static_cast<int>(k);

  // Passes over the unknown points in their order, each placing what it
  // can from the points placed before it; a point is looked at again only
  // when a point it shares an observation (or a direction set) with has
  // been placed since: in this pass when that point comes before it,
  // otherwise in the next.
  std::priority_queue<int, std::vector<int>, std::greater<int>> pass;
  std::vector<int> nextPass;
  std::vector<char> queued(unknowns.size(), 1), resectionDue(unknowns.size(), 1);
  for (size_t k = 0; k < unknowns.size(); ++k) pass.push(static_cast<int>(k));
  auto wake = [&](int point, int after) {
    auto look = [&](int neighbour) {
      int k = order[static_cast<size_t>(neighbour)];
      if (k < 0 || placed[neighbour]) return;
      resectionDue[static_cast<size_t>(k)] = 1;
      if (queued[static_cast<size_t>(k)]) return;
      queued[static_cast<size_t>(k)] = 1;
      if (k > after) pass.push(k);
      else nextPass.push_back(k);
    };
    for (int index : naming.Of(point)) {
      const Observation& o = net.observations[static_cast<size_t>(index)];
      for (int i = 0; i < PointCount(o); ++i) look(o.points[i]);
      if (o.kind == ObservationKind::Reading)
        for (int r : readings.Of(o.set)) look(net.observations[static_cast<size_t>(r)].points[1]);
    }
  };
  auto settle = [&](int point, const Position& position) {
    at[point] = position;
    placed[point] = 1;
  };
  for (;;) {
    while (!pass.empty()) {
      int k = pass.top();
      pass.pop();
      queued[static_cast<size_t>(k)] = 0;
      int point = unknowns[static_cast<size_t>(k)];
      if (placed[point]) continue;
      std::optional<Position> position = Place(Gather(net, readings, naming.Of(point), point, at, placed));
      if (!position) continue;
      settle(point, *position);
      wake(point, k);
    }
    if (!nextPass.empty()) {
      for (int k : nextPass) pass.push(k);
      nextPass.clear();
      continue;
    }
    // Nothing more by directions and distances: a station that sees three
    // placed points is placed by resection, and the passes go on from it.
    bool resected = false;
    for (size_t k = 0; k < unknowns.size() && !resected; ++k) {
      int point = unknowns[k];
      if (placed[point] || !resectionDue[k]) continue;
      resectionDue[k] = 0;
      if (auto position = PlaceByResection(FramesAt(net, readings, naming.Of(point), point, placed), at)) {
        settle(point, *position);
        wake(point, -1);
        resected = true;
      }
    }
    if (!resected) break;
  }
  for (int point : unknowns)
    if (!placed[point]) return point;
  return 0;
}

}  // namespace vantrel
