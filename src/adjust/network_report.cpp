#include "adjust/network_report.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "adjust/least_squares.h"
#include "adjust/network_record.h"
#include "adjust/placement.h"
#include "adjust/statistics.h"
#include "command/session.h"
#include "notation/angles.h"
#include "notation/format.h"
#include "notation/numbers.h"

namespace vantrel {
namespace {

// A standardized residual above this marks a likely blunder.
constexpr double kBlunderLimit = 3;

// An observation whose residual carries less than this share of its
// variance is not checked by the others: it has no standardized residual.
constexpr double kUncheckedRedundancy = 1e-4;

// A misclosure below a millionth of a foot is rounding, as for a traverse.
constexpr double kClosureRounding = 1e-6;

Outcome Refuse(Session& s, const std::string& message) {
  s.InfoBox(message + "; nothing stored");
  return Outcome::Stopped;
}

// The checks before any arithmetic: observations, datum and redundancy.
bool CheckNetwork(Session& s, const std::vector<int>& unknowns) {
  const Network& net = s.network.network;
  if (net.observations.empty()) return Refuse(s, "The network has no observations"), false;
  int fixedNamed = 0;
  bool direction = false;
  std::vector<char> counted(net.fixed.size(), 0);
  for (const Observation& o : net.observations) {
    direction = direction || o.kind == ObservationKind::Direction;
    for (int k = 0; k < PointCount(o); ++k)
      if (net.fixed[o.points[k]] && !counted[o.points[k]]) counted[o.points[k]] = 1, ++fixedNamed;
  }
  if (fixedNamed < 2 && !(fixedNamed == 1 && direction))
    return Refuse(s, "The network needs two fixed points, or one fixed point and a direction (Z)"), false;
  size_t unknownCount = 2 * unknowns.size();
  if (net.observations.size() < unknownCount)
    return Refuse(s, "The network has " + PlainNumber(static_cast<double>(net.observations.size())) +
                         " observations for " + PlainNumber(static_cast<double>(unknownCount)) +
                         " unknowns; it needs at least as many observations as unknowns"),
           false;
  return true;
}

// Approximate positions: stored coordinates where defined, the rest placed
// from the observations.
bool Approximate(Session& s, const std::vector<int>& unknowns, std::vector<Position>& at) {
  std::vector<char> placed(static_cast<size_t>(s.points.Capacity()) + 1, 0);
  for (int p : s.points.Numbers())
    if (s.points.IsDefined(p)) {
      at[p] = {s.points.North(p), s.points.East(p)};
      placed[p] = 1;
    }
  int lost = PlacePoints(s.network.network, unknowns, at, placed);
  if (lost == 0) return true;
  Refuse(s, "Point " + PlainNumber(lost) +
                " cannot be placed from the observations: give it approximate coordinates with KWN");
  return false;
}

bool Refused(Session& s, const AdjustmentResult& result) {
  switch (result.status) {
    case AdjustmentResult::Status::Adjusted:
      return false;
    case AdjustmentResult::Status::Singular:
      Refuse(s, "The network does not fix point " + PlainNumber(result.failingPoint) +
                    " (its normal equations are singular)");
      return true;
    case AdjustmentResult::Status::NotConverged:
      Refuse(s, "The adjustment did not converge in " + PlainNumber(kMostIterations) + " iterations (last correction " +
                    FormatMask(result.lastCorrection, "#########0.0000") + " ft)");
      return true;
    case AdjustmentResult::Status::OutOfRange:
      break;
  }
  Refuse(s, "The adjustment ran out of range");
  return true;
}

// Every figure the report and the store take is a finite number.
bool AllFinite(const AdjustmentResult& result, const std::vector<Position>& at) {
  auto finite = [](double v) { return std::isfinite(v); };
  for (const AdjustedPoint& p : result.points)
    if (!finite(at[p.point].north) || !finite(at[p.point].east) || !finite(p.qNorth) || !finite(p.qEast) ||
        !finite(p.qNorthEast))
      return false;
  for (const AdjustedObservation& o : result.observations)
    if (!finite(o.adjusted) || !finite(o.residual)) return false;
  return finite(result.weightedSquares);
}

std::string Ft(double value, int width) { return PadLeft(FormatMask(value, "######0.000"), width); }

void ReportHeading(Session& s, const AdjustmentResult& result, int dof) {
  const NetworkRecord& r = s.network;
  s.WriteOutput("");
  s.WriteOutput("Least Squares Adjustment");
  s.WriteOutput("Standard Errors: Angle " + PlainNumber(r.AngleSeconds) + " sec, Distance " +
                FormatMask(r.DistanceConstant, "##0.000") + " ft + " + PlainNumber(r.DistancePpm) + " ppm");
  s.WriteOutput("Observations = " + PlainNumber(static_cast<double>(r.network.observations.size())) +
                ", Unknowns = " + PlainNumber(result.unknowns) + ", Degrees of Freedom = " + PlainNumber(dof) +
                ", Iterations = " + PlainNumber(result.iterations));
}

// Standard errors from sigma0, ellipses scaled to the confidence.
void ReportPoints(Session& s, const AdjustmentResult& result, const std::vector<Position>& at, double sigma0,
                  double factor) {
  s.WriteOutput("");
  s.WriteOutput("Adjusted Coordinates, Standard Errors and " + PlainNumber(s.network.ConfidencePercent) +
                "% Error Ellipses");
  s.WriteOutput("Point" + PadLeft("North", 11) + PadLeft("East", 13) + "    " + PadLeft("Sigma N", 9) +
                PadLeft("Sigma E", 9) + PadLeft("Semi-Maj", 9) + PadLeft("Semi-Min", 9) + PadLeft("Azimuth", 11));
  for (const AdjustedPoint& p : result.points) {
    ErrorEllipse ellipse = EllipseOf(p, sigma0 * factor);
    s.WriteOutput(FormatPoint(p.point, at[p.point].north, at[p.point].east) + "  " + Ft(sigma0 * std::sqrt(p.qNorth), 9) +
                  Ft(sigma0 * std::sqrt(p.qEast), 9) + Ft(ellipse.semiMajor, 9) + Ft(ellipse.semiMinor, 9) +
                  PadLeft(FormatAngle(ellipse.azimuth, "z"), 12));
  }
}

std::string ObservationPoints(const Observation& o) {
  std::string text = PlainNumber(o.points[0]);
  for (int k = 1; k < PointCount(o); ++k) {
    text += '-';
    text += PlainNumber(o.points[k]);
  }
  return text;
}

std::string Value(const Observation& o, double value) {
  return o.kind == ObservationKind::Distance ? Ft(value, 12) : PadLeft(FormatAngle(value, "z"), 12);
}

void ReportObservations(Session& s, const AdjustmentResult& result) {
  const Network& net = s.network.network;
  s.WriteOutput("");
  s.WriteOutput("Observations (residual = adjusted - observed; * standardized residual above 3)");
  s.WriteOutput("Kind   Points          " + PadLeft("Observed", 12) + PadLeft("Adjusted", 12) +
                PadLeft("Residual", 10) + "   " + PadLeft("Std Res", 10));
  for (size_t k = 0; k < net.observations.size(); ++k) {
    const Observation& o = net.observations[k];
    const AdjustedObservation& a = result.observations[k];
    bool distance = o.kind == ObservationKind::Distance;
    std::string kind = distance ? "Dist" : o.kind == ObservationKind::Angle ? "Angle" : "Dir";
    std::string line = kind;
    line.resize(7, ' ');
    line += ObservationPoints(o);
    line.resize(std::max<size_t>(line.size() + 1, 23), ' ');
    line += Value(o, o.value) + Value(o, a.adjusted);
    line += distance ? PadLeft(FormatMask(a.residual, "####0.000"), 10) + " ft"
                     : PadLeft(FormatMask(a.residual * kSecondsPerRadian, "####0.00"), 10) + " s ";
    if (o.held) line += PadLeft("held", 10);
    else if (a.redundancy >= kUncheckedRedundancy) {
      double standardized = std::fabs(a.residual) / (o.sigma * std::sqrt(a.redundancy));
      line += PadLeft(FormatMask(standardized, "####0.00"), 10);
      if (standardized > kBlunderLimit) line += " *";
    }
    while (line.back() == ' ') line.pop_back();
    s.WriteOutput(line);
  }
}

void ReportStatistics(Session& s, const AdjustmentResult& result, int dof) {
  const NetworkRecord& r = s.network;
  s.WriteOutput("");
  if (dof == 0) {
    s.WriteOutput("No degrees of freedom: no reference variance or chi-square test;");
    s.WriteOutput("the standard errors and ellipses come from the a-priori errors");
  } else {
    double variance = result.weightedSquares / dof;
    double alpha = 1 - r.ConfidencePercent / 100;
    double lower = ChiSquareQuantile(alpha / 2, dof), upper = ChiSquareQuantile(1 - alpha / 2, dof);
    bool passed = result.weightedSquares >= lower && result.weightedSquares <= upper;
    s.WriteOutput("Reference Variance = " + FormatMask(variance, "#######0.000"));
    s.WriteOutput("Standard Deviation of Unit Weight = " + FormatMask(std::sqrt(variance), "#######0.000"));
    s.WriteOutput("Chi-Square Test at " + PlainNumber(r.ConfidencePercent) + "%: " +
                  FormatMask(lower, "#######0.000") + " <= " + FormatMask(result.weightedSquares, "#########0.000") +
                  " <= " + FormatMask(upper, "#######0.000") + (passed ? " Passed" : " Failed"));
  }
  if (r.HasTraverse) {
    bool perfect = r.TraverseMisclosure < kClosureRounding;
    s.WriteOutput("Traverse Misclosure = " + FormatMask(r.TraverseMisclosure, "#######0.000") + " ft, " +
                  (perfect ? std::string("Perfect closure")
                           : "Relative Precision = 1:" + FormatMask(r.TraverseLength / r.TraverseMisclosure,
                                                                    "##########0")));
  }
}

// The adjustment moves points: their descriptions and elevations stay.
void Store(Session& s, const AdjustmentResult& result, const std::vector<Position>& at) {
  for (const AdjustedPoint& p : result.points) s.points.Move(p.point, at[p.point].north, at[p.point].east);
  for (auto [station, closing] : s.network.ClosingStations)
    s.points.Move(station, s.points.North(closing), s.points.East(closing));
}

}  // namespace

Outcome AdjustAndReport(Session& s) {
  const Network& net = s.network.network;
  const std::vector<int> unknowns = UnknownPoints(net);
  if (!CheckNetwork(s, unknowns)) return Outcome::Stopped;
  std::vector<Position> at(static_cast<size_t>(s.points.Capacity()) + 1);
  if (!Approximate(s, unknowns, at)) return Outcome::Stopped;
  AdjustmentResult result = AdjustNetwork(net, at);
  if (Refused(s, result)) return Outcome::Stopped;
  if (!AllFinite(result, at)) return Refuse(s, "The adjustment ran out of range");

  // The store takes the adjusted positions only when the surveyor agrees.
  const int dof = static_cast<int>(net.observations.size()) - result.unknowns;
  const double sigma0 = dof > 0 ? std::sqrt(result.weightedSquares / dof) : 1;
  const double factor = EllipseFactor(s.network.ConfidencePercent / 100, dof);
  ReportHeading(s, result, dof);
  ReportPoints(s, result, at, sigma0, factor);
  ReportObservations(s, result);
  ReportStatistics(s, result, dof);
  if (!s.AskYesNo("OK to store adjusted coordinates?")) return Outcome::Completed;
  Store(s, result, at);
  return Outcome::Completed;
}

}  // namespace vantrel
