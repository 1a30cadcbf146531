#include "adjust/placement.h"

#include <cmath>
#include <optional>

#include "notation/geometry.h"
#include "notation/numbers.h"

namespace vantrel {
namespace {

// Two directions closer than this (radians, about 3.4 minutes) to parallel
// or opposite give no usable intersection.
constexpr double kFlatCrossing = 1e-3;

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

Clues Gather(const Network& net, const std::vector<int>& naming, int point, const std::vector<Position>& at,
             const std::vector<char>& placed) {
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
  // Two distances.
  for (size_t a = 0; a < clues.circles.size(); ++a)
    for (size_t b = a + 1; b < clues.circles.size(); ++b)
      if (clues.circleCenter[a] != clues.circleCenter[b])
        if (auto crossing = CrossCircles(clues, a, b)) return crossing;
  return std::nullopt;
}

}  // namespace

int PlacePoints(const Network& net, const std::vector<int>& unknowns, std::vector<Position>& at,
                std::vector<char>& placed) {
  // The observations that name each point, so a pass looks at each once.
  std::vector<std::vector<int>> naming(at.size());
  for (size_t k = 0; k < net.observations.size(); ++k) {
    const Observation& o = net.observations[k];
    for (int i = 0; i < PointCount(o); ++i)
      if (i == 0 || o.points[i] != o.points[i - 1]) naming[o.points[i]].push_back(static_cast<int>(k));
  }
  for (bool progress = true; progress;) {
    progress = false;
    for (int point : unknowns) {
      if (placed[point]) continue;
      std::optional<Position> position = Place(Gather(net, naming[point], point, at, placed));
      if (!position) continue;
      at[point] = *position;
      placed[point] = 1;
      progress = true;
    }
  }
  for (int point : unknowns)
    if (!placed[point]) return point;
  return 0;
}

}  // namespace vantrel
