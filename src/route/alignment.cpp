#include "route/alignment.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "notation/angles.h"
#include "notation/numbers.h"

namespace vantrel {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2 * std::numbers::pi;

// Joins closer than this are one place, and turns smaller than one second
// one direction.
constexpr double kJoinGap = 0.001;
constexpr double kJoinKink = kPi / (180 * 3600);

// Two feet of one point whose offsets differ by less than this are equally
// near; so are feet whose stations differ by less than this one station.
constexpr double kEqualDistance = 0.001;

// A spiral is summed in pieces that each turn by at most this much at their
// sharpest (radians times feet over feet): the power series then converges
// in some thirty terms without cancellation.
constexpr double kPieceTurn = 2;
// The series stops once two terms in a row fall below this share of the
// piece's length, which is below the last bit of a double.
constexpr double kSeriesEnd = 1e-18;
constexpr int kMostSeriesTerms = 80;

// A point this share of an element's length beyond one of its ends still
// has its foot there: rounding must not leave a point at the very end of
// an alignment between the element and the tangent extended beyond it.
constexpr double kEndReach = 1e-9;

// Points a box samples along an element, besides its start.
constexpr int kBoxSamples = 16;

double Sq(double x) { return x * x; }

PlanePoint Moved(PlanePoint p, double azimuth, double distance) {
  return {p.north + distance * std::cos(azimuth), p.east + distance * std::sin(azimuth)};
}

// The part of `p` - `from` along the direction `azimuth`, and the part to
// its right.
LocalOffset Resolve(PlanePoint from, double azimuth, PlanePoint p) {
  double dN = p.north - from.north, dE = p.east - from.east;
  double c = std::cos(azimuth), s = std::sin(azimuth);
  return {dE * s + dN * c, dE * c - dN * s};
}

// The integral from 0 to h of (cos, sin) of k*t + rate*t^2/2. Writing the
// integrand as sum b_n (t/h)^n, the heading's derivative gives
// (n+1) b_{n+1} = i (k h b_n + rate h^2 b_{n-1}), b_0 = 1.
LocalOffset PieceOffset(double k, double rate, double h) {
  double kh = k * h, rh2 = rate * h * h;
  double reB = 1, imB = 0, rePrev = 0, imPrev = 0;  // b_n and b_{n-1}
  double reSum = 1, imSum = 0;
  for (int n = 0; n < kMostSeriesTerms; ++n) {
    // i * (kh b_n + rh2 b_{n-1}) / (n+1)
    double re = kh * reB + rh2 * rePrev, im = kh * imB + rh2 * imPrev;
    double reNext = -im / (n + 1), imNext = re / (n + 1);
    rePrev = reB;
    imPrev = imB;
    reB = reNext;
    imB = imNext;
    reSum += reB / (n + 2);
    imSum += imB / (n + 2);
    if (std::fabs(reB) + std::fabs(imB) + std::fabs(rePrev) + std::fabs(imPrev) < kSeriesEnd) break;
  }
  return {h * reSum, h * imSum};
}

}  // namespace

double PlaneAzimuth(PlanePoint from, PlanePoint to) {
  double a = std::atan2(to.east - from.east, to.north - from.north);
  return a < 0 ? a + kTwoPi : a;
}

double PlaneDistance(PlanePoint a, PlanePoint b) { return std::hypot(a.north - b.north, a.east - b.east); }

double WithinHalfTurn(double angle) { return std::remainder(angle, kTwoPi); }

LocalOffset ClothoidOffset(double k0, double rate, double s) {
  double sharpest = std::max(std::fabs(k0), std::fabs(k0 + rate * s));
  double turn = sharpest * std::fabs(s);
  int pieces = turn > kPieceTurn ? static_cast<int>(std::ceil(std::min(turn, 1e6) / kPieceTurn)) : 1;
  double h = s / pieces;
  LocalOffset total;
  for (int j = 0; j < pieces; ++j) {
    double t = j * h;
    double heading = k0 * t + rate * t * t / 2;
    LocalOffset piece = PieceOffset(k0 + rate * t, rate, h);
    double c = std::cos(heading), sn = std::sin(heading);
    total.along += piece.along * c - piece.right * sn;
    total.right += piece.along * sn + piece.right * c;
  }
  return total;
}

Pose Element::At(double s) const {
  switch (kind) {
    case ElementKind::Line:
      return {Moved(start, azimuth, s), azimuth};
    case ElementKind::Arc: {
      double k = startCurvature;
      double fromCentre = PlaneAzimuth(centre, start) + k * s;
      return {Moved(centre, fromCentre, 1 / std::fabs(k)), azimuth + k * s};
    }
    case ElementKind::Spiral: {
      double rate = (endCurvature - startCurvature) / length;
      LocalOffset local = ClothoidOffset(startCurvature, rate, s);
      PlanePoint at = Moved(Moved(start, azimuth, local.along), azimuth + kPi / 2, local.right);
      return {at, azimuth + startCurvature * s + rate * s * s / 2};
    }
  }
  return {start, azimuth};
}

double Element::Radius() const {
  double sharpest = std::max(std::fabs(startCurvature), std::fabs(endCurvature));
  return sharpest > 0 ? 1 / sharpest : std::numeric_limits<double>::infinity();
}

Element LineBetween(PlanePoint from, PlanePoint to) {
  Element e;
  e.kind = ElementKind::Line;
  e.start = from;
  e.azimuth = PlaneAzimuth(from, to);
  e.length = PlaneDistance(from, to);
  return e;
}

std::optional<Element> ArcAbout(PlanePoint pc, PlanePoint centre, PlanePoint pt, bool clockwise) {
  double radius = PlaneDistance(pc, centre);
  if (!(radius > 0) || PlaneDistance(pt, centre) == 0) return std::nullopt;
  double sense = clockwise ? 1 : -1;
  double toStart = PlaneAzimuth(centre, pc);
  double swept = std::fmod(sense * (PlaneAzimuth(centre, pt) - toStart) + 2 * kTwoPi, kTwoPi);
  if (!(swept > 0)) return std::nullopt;
  Element e;
  e.kind = ElementKind::Arc;
  e.start = pc;
  e.centre = centre;
  e.azimuth = std::fmod(toStart + sense * kPi / 2 + kTwoPi, kTwoPi);
  e.length = radius * swept;
  e.startCurvature = e.endCurvature = sense / radius;
  return e;
}

std::optional<Element> ArcContinuing(PlanePoint pc, PlanePoint centre, PlanePoint pt,
                                     std::optional<double> incoming) {
  std::optional<Element> right = ArcAbout(pc, centre, pt, true), left = ArcAbout(pc, centre, pt, false);
  if (!right || !left) return std::nullopt;
  if (incoming)
    return std::fabs(WithinHalfTurn(right->azimuth - *incoming)) <= std::fabs(WithinHalfTurn(left->azimuth - *incoming)) ? right : left;
  return right->length <= left->length ? right : left;
}

Element SpiralFrom(Pose start, double length, double startCurvature, double endCurvature) {
  Element e;
  e.kind = ElementKind::Spiral;
  e.start = start.at;
  e.azimuth = start.azimuth;
  e.length = length;
  e.startCurvature = startCurvature;
  e.endCurvature = endCurvature;
  return e;
}

std::vector<JoinMismatch> JoinMismatches(const std::vector<Element>& elements,
                                         const std::vector<std::optional<PlanePoint>>& givenEnds) {
  std::vector<JoinMismatch> mismatches;
  for (size_t k = 0; k < elements.size(); ++k) {
    Pose end = elements[k].End();
    if (k < givenEnds.size() && givenEnds[k]) {
      double off = PlaneDistance(end.at, *givenEnds[k]);
      if (off > kJoinGap) mismatches.push_back({k, off, 0, true});
    }
    if (k + 1 == elements.size()) break;
    double gap = PlaneDistance(end.at, elements[k + 1].start);
    double kink = WithinHalfTurn(elements[k + 1].azimuth - end.azimuth);
    if (gap > kJoinGap || std::fabs(kink) > kJoinKink) mismatches.push_back({k, gap, kink, false});
  }
  return mismatches;
}

std::string MismatchText(const JoinMismatch& m) {
  std::string gap = FormatMask(m.gap, "0.000") + " ft";
  if (m.ownEnd) return "Element " + std::to_string(m.element + 1) + " ends " + gap + " off its end point";
  std::string kink(TrimBlanks(FormatAngle(std::fabs(m.kink), "z")));
  return "Element " + std::to_string(m.element + 2) + " starts " + gap + " and " + kink + " off the end of element " +
         std::to_string(m.element + 1);
}

// --- Stationing and the search over station ----------------------------------

Alignment::Alignment(double startStation, std::vector<Element> elements)
    : startStation_(startStation), elements_(std::move(elements)) {
  stations_.reserve(elements_.size() + 1);
  stations_.push_back(startStation_);
  for (const Element& e : elements_) stations_.push_back(stations_.back() + e.length);
  BuildTree();
}

size_t Alignment::ElementAt(double station) const {
  auto after = std::upper_bound(stations_.begin() + 1, stations_.end() - 1, station);
  return static_cast<size_t>(after - stations_.begin()) - 1;
}

Pose Alignment::Locate(double station, double offset) const {
  size_t k = ElementAt(station);
  Pose pose = elements_[k].At(station - stations_[k]);
  pose.at = Moved(pose.at, pose.azimuth + kPi / 2, offset);
  return pose;
}

double Alignment::Box::DistanceTo(PlanePoint p) const {
  double dN = std::max({minNorth - p.north, 0.0, p.north - maxNorth});
  double dE = std::max({minEast - p.east, 0.0, p.east - maxEast});
  return std::hypot(dN, dE);
}

// Each leaf's box holds sample points of its element, widened by the most
// an element of that curvature strays from the chord between two samples
// (k h^2 / 8); each node's box holds its children's.
void Alignment::BuildTree() {
  leaves_ = elements_.size();
  boxes_.assign(4 * std::max<size_t>(leaves_, 1), Box{0, 0, 0, 0});
  auto leafBox = [this](const Element& e) {
    int samples = e.kind == ElementKind::Line ? 1 : kBoxSamples;
    Box b{e.start.north, e.start.east, e.start.north, e.start.east};
    for (int j = 1; j <= samples; ++j) {
      PlanePoint at = e.At(e.length * j / samples).at;
      b = {std::min(b.minNorth, at.north), std::min(b.minEast, at.east), std::max(b.maxNorth, at.north),
           std::max(b.maxEast, at.east)};
    }
    double stray = e.kind == ElementKind::Line ? 0 : Sq(e.length / samples) / (8 * e.Radius());
    return Box{b.minNorth - stray, b.minEast - stray, b.maxNorth + stray, b.maxEast + stray};
  };
  auto build = [&](auto& self, size_t node, size_t lo, size_t hi) -> Box {
    if (hi - lo == 1) return boxes_[node] = leafBox(elements_[lo]);
    size_t mid = (lo + hi) / 2;
    Box a = self(self, 2 * node, lo, mid), b = self(self, 2 * node + 1, mid, hi);
    return boxes_[node] = Box{std::min(a.minNorth, b.minNorth), std::min(a.minEast, b.minEast),
                              std::max(a.maxNorth, b.maxNorth), std::max(a.maxEast, b.maxEast)};
  };
  if (leaves_ > 0) build(build, 1, 0, leaves_);
}

namespace {

// The feet found so far: the nearest, and the nearest at another station.
struct FootSearch {
  PlanePoint point;
  StationOffset best;
  double bestDistance = std::numeric_limits<double>::infinity();
  std::optional<double> otherStation;
  double otherDistance = std::numeric_limits<double>::infinity();
  // The nearest element end, for a point that no perpendicular reaches.
  StationOffset nearestJoin;
  double joinDistance = std::numeric_limits<double>::infinity();

  void Foot(double station, double offset, size_t element, PlanePoint at, vantrel::Foot foot) {
    double distance = std::fabs(offset);
    if (distance < bestDistance) {
      if (std::fabs(station - best.station) > kEqualDistance) {
        otherStation = best.station;
        otherDistance = bestDistance;
      }
      best = {station, offset, static_cast<int>(element), foot, at, std::nullopt};
      bestDistance = distance;
    } else if (distance < otherDistance && std::fabs(station - best.station) > kEqualDistance) {
      otherStation = station;
      otherDistance = distance;
    }
  }
  void Join(double station, size_t element, Pose at) {
    double distance = PlaneDistance(point, at.at);
    if (distance >= joinDistance) return;
    double side = Resolve(at.at, at.azimuth, point).right < 0 ? -1 : 1;
    nearestJoin = {station, side * distance, static_cast<int>(element), vantrel::Foot::AtJoin, at.at, std::nullopt};
    joinDistance = distance;
  }
  double Reach() const { return std::min(bestDistance, joinDistance) + kEqualDistance; }
};

// The perpendicular feet of a point on one element, if any, handed to
// `found` as (distance along, offset, foot).
template <typename Found>
void ElementFeet(const Element& e, PlanePoint p, Found found) {
  const double reach = kEndReach * std::max(1.0, e.length);
  switch (e.kind) {
    case ElementKind::Line: {
      LocalOffset local = Resolve(e.start, e.azimuth, p);
      double s = std::clamp(local.along, 0.0, e.length);
      if (std::fabs(s - local.along) <= reach) found(s, local.right, Moved(e.start, e.azimuth, s));
      return;
    }
    case ElementKind::Arc: {
      double radius = 1 / std::fabs(e.startCurvature);
      double sense = e.startCurvature > 0 ? 1 : -1;
      double fromCentre = PlaneDistance(e.centre, p);
      if (fromCentre <= radius * 1e-12) {  // the centre: every station is as near
        found(0, sense * radius, e.start);
        found(e.length, sense * radius, e.End().at);
        return;
      }
      double toStart = PlaneAzimuth(e.centre, e.start), toPoint = PlaneAzimuth(e.centre, p);
      double along = std::fmod(sense * (toPoint - toStart) + 2 * kTwoPi, kTwoPi) * radius;
      if (along > e.length + reach && along >= kTwoPi * radius - reach) along = 0;  // a hair before the start
      if (along <= e.length + reach) {
        double s = std::min(along, e.length);
        found(s, sense * (radius - fromCentre), e.At(s).at);
      }
      return;
    }
    case ElementKind::Spiral: {
      // The distance along the tangent from the place at s to the point
      // falls as s grows (while the point is not beyond the centre of
      // curvature); its root is found by Newton's method kept inside the
      // bracket, bisecting where a step would leave it.
      auto along = [&](double s, Pose& pose, LocalOffset& local) {
        pose = e.At(s);
        local = Resolve(pose.at, pose.azimuth, p);
        return local.along;
      };
      Pose pose;
      LocalOffset local;
      double lo = 0, hi = e.length;
      double fLo = along(lo, pose, local), fHi = along(hi, pose, local);
      if (fLo < 0 && fLo >= -reach) fLo = 0;
      if (fHi > 0 && fHi <= reach) fHi = 0;
      if (fLo < 0 || fHi > 0) return;
      double s = fLo == fHi ? lo : lo + (hi - lo) * fLo / (fLo - fHi);
      for (int step = 0; step < 100; ++step) {
        double f = along(s, pose, local);
        if (f == 0) break;
        if (f > 0) lo = s;
        else hi = s;
        double slope = -1 + e.CurvatureAt(s) * local.right;
        double next = slope < 0 ? s - f / slope : (lo + hi) / 2;
        if (!(next > lo && next < hi)) next = (lo + hi) / 2;
        bool settled = std::fabs(next - s) <= 1e-13 * e.length;
        s = next;
        if (settled) break;
      }
      pose = e.At(s);
      found(s, Resolve(pose.at, pose.azimuth, p).right, pose.at);
      return;
    }
  }
}

}  // namespace

StationOffset Alignment::Project(PlanePoint p) const {
  FootSearch search;
  search.point = p;
  if (elements_.empty()) return {};

  // The tangents extended beyond the ends.
  LocalOffset before = Resolve(elements_.front().start, elements_.front().azimuth, p);
  if (before.along < -kEndReach * std::max(1.0, elements_.front().length))
    search.Foot(startStation_ + before.along, before.right, 0,
                Moved(elements_.front().start, elements_.front().azimuth, before.along), Foot::BeforeStart);
  Pose end = elements_.back().End();
  LocalOffset after = Resolve(end.at, end.azimuth, p);
  if (after.along > kEndReach * std::max(1.0, elements_.back().length))
    search.Foot(EndStation() + after.along, after.right, leaves_ - 1, Moved(end.at, end.azimuth, after.along),
                Foot::AfterEnd);

  // Down the tree, nearer stretch first, leaving out every stretch whose box
  // lies farther than the nearest foot found so far.
  struct Stretch {
    size_t node, lo, hi;
  };
  Stretch stack[128];
  int depth = 0;
  stack[depth++] = {1, 0, leaves_};
  while (depth > 0) {
    Stretch n = stack[--depth];
    if (boxes_[n.node].DistanceTo(p) > search.Reach()) continue;
    if (n.hi - n.lo == 1) {
      const Element& e = elements_[n.lo];
      ElementFeet(e, p, [&](double s, double offset, PlanePoint at) {
        search.Foot(stations_[n.lo] + s, offset, n.lo, at, Foot::OnElement);
      });
      search.Join(stations_[n.lo], n.lo, {e.start, e.azimuth});
      search.Join(stations_[n.lo + 1], n.lo, e.End());
      continue;
    }
    size_t mid = (n.lo + n.hi) / 2;
    Stretch left{2 * n.node, n.lo, mid}, right{2 * n.node + 1, mid, n.hi};
    if (boxes_[left.node].DistanceTo(p) < boxes_[right.node].DistanceTo(p)) std::swap(left, right);
    stack[depth++] = left;
    stack[depth++] = right;
  }

  if (search.joinDistance < search.bestDistance - kEqualDistance) return search.nearestJoin;
  StationOffset result = search.best;
  if (search.otherStation && search.otherDistance - search.bestDistance <= kEqualDistance)
    result.equallyNear = search.otherStation;
  return result;
}

}  // namespace vantrel
