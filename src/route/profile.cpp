#include "route/profile.h"

#include <algorithm>

#include "notation/numbers.h"

namespace vantrel {
namespace {

// Curves may touch; they overlap when one passes the next by more than this.
constexpr double kStationTolerance = 0.001;

}  // namespace

// The first parabola runs from the PVC with grade g1 and bends by
// e (x / L1)^2; the second back from the PVT with grade g2 and the same
// bend e (x' / L2)^2. Both reach the PVI's elevation plus e under the PVI.
double VerticalCurve::ElevationAt(double station) const {
  if (station <= pvcStation + lengthBack) {
    double x = station - pvcStation;
    return pvcElevation + gradeIn * x + middleOrdinate * x * x / (lengthBack * lengthBack);
  }
  double x = ptStation - station;
  return ptElevation - gradeOut * x + middleOrdinate * x * x / (lengthAhead * lengthAhead);
}

double VerticalCurve::GradeAt(double station) const {
  if (station <= pvcStation + lengthBack)
    return gradeIn + 2 * middleOrdinate * (station - pvcStation) / (lengthBack * lengthBack);
  return gradeOut - 2 * middleOrdinate * (ptStation - station) / (lengthAhead * lengthAhead);
}

double Profile::Grade(size_t k) const {
  return (pvis_[k + 1].elevation - pvis_[k].elevation) / (pvis_[k + 1].station - pvis_[k].station);
}

VerticalCurve Profile::Curve(size_t k) const {
  const Pvi& p = pvis_[k];
  VerticalCurve c;
  c.gradeIn = Grade(k - 1);
  c.gradeOut = Grade(k);
  c.lengthBack = p.lengthBack;
  c.lengthAhead = p.lengthAhead;
  c.pvcStation = p.station - p.lengthBack;
  c.pvcElevation = p.elevation - c.gradeIn * p.lengthBack;
  c.ptStation = p.station + p.lengthAhead;
  c.ptElevation = p.elevation + c.gradeOut * p.lengthAhead;
  c.middleOrdinate = (c.gradeOut - c.gradeIn) * p.lengthBack * p.lengthAhead / (2 * (p.lengthBack + p.lengthAhead));
  // Level where g1 + 2 e x / L1^2 = 0 on the first parabola, or where
  // g2 - 2 e x' / L2^2 = 0 on the second (x' back from the PVT); the
  // grade changes monotonically, so at most one of them lies on the curve.
  if (c.middleOrdinate != 0) {
    double x = -c.gradeIn * p.lengthBack * p.lengthBack / (2 * c.middleOrdinate);
    double xBack = c.gradeOut * p.lengthAhead * p.lengthAhead / (2 * c.middleOrdinate);
    if (x >= 0 && x <= p.lengthBack) c.turningStation = c.pvcStation + x;
    else if (xBack >= 0 && xBack <= p.lengthAhead) c.turningStation = c.ptStation - xBack;
  }
  return c;
}

size_t Profile::PviBefore(double station) const {
  auto after = std::upper_bound(pvis_.begin() + 1, pvis_.end() - 1, station,
                                [](double s, const Pvi& p) { return s < p.station; });
  return static_cast<size_t>(after - pvis_.begin()) - 1;
}

std::optional<size_t> Profile::CurveHolding(double station, size_t before) const {
  if (pvis_[before].HasCurve() && station <= pvis_[before].station + pvis_[before].lengthAhead) return before;
  const Pvi& next = pvis_[before + 1];
  if (next.HasCurve() && station >= next.station - next.lengthBack) return before + 1;
  return std::nullopt;
}

double Profile::ElevationAt(double station) const {
  size_t k = PviBefore(station);
  std::optional<size_t> curve = CurveHolding(station, k);
  return curve ? Curve(*curve).ElevationAt(station) : pvis_[k].elevation + Grade(k) * (station - pvis_[k].station);
}

double Profile::GradeAt(double station) const {
  size_t k = PviBefore(station);
  std::optional<size_t> curve = CurveHolding(station, k);
  return curve ? Curve(*curve).GradeAt(station) : Grade(k);
}

std::optional<std::string> ProfileProblem(const std::vector<Pvi>& pvis) {
  if (pvis.size() < 2) return "A profile needs at least two PVIs";
  auto name = [](size_t k) { return "PVI " + std::to_string(k + 1); };
  for (size_t k = 0; k < pvis.size(); ++k) {
    const Pvi& p = pvis[k];
    if (p.lengthBack < 0 || p.lengthAhead < 0) return name(k) + ": a curve length cannot be negative";
    if ((k == 0 || k + 1 == pvis.size()) && p.HasCurve())
      return name(k) + ": the first and the last PVI take no vertical curve";
    if (k == 0) continue;
    const Pvi& before = pvis[k - 1];
    if (!(p.station > before.station))
      return name(k) + " at station " + FormatMask(p.station, "0.000") + " does not lie ahead of " + name(k - 1);
    double gap = (p.station - p.lengthBack) - (before.station + before.lengthAhead);
    if (gap < -kStationTolerance)
      return "Vertical curves overlap between " + name(k - 1) + " and " + name(k) + " by " +
             FormatMask(-gap, "0.000") + " ft";
  }
  return std::nullopt;
}

}  // namespace vantrel
