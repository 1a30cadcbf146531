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

// A standardized residual above this marks a likely blunder; with data
// snooping, Baarda's critical value (a test at 0.1% with a power of 80%).
constexpr double kBlunderLimit = 3;
constexpr double kSnoopingLimit = 3.29;

// An observation whose residual carries less than this share of its
// variance is not checked by the others: it has no standardized residual.
constexpr double kUncheckedRedundancy = 1e-4;

// A misclosure below a millionth of a foot is rounding, as for a traverse.
constexpr double kClosureRounding = 1e-6;

Outcome Refuse(Session& s, const std::string& message) {
  s.InfoBox(message + "; nothing stored");
  return Outcome::Stopped;
}

std::string ObservationPoints(const Observation& o) {
  std::string text = PlainNumber(o.points[0]);
  for (int k = 1; k < PointCount(o); ++k) {
    text += '-';
    text += PlainNumber(o.points[k]);
  }
  return text;
}

std::string KindOf(const Observation& o) {
  switch (o.kind) {
    case ObservationKind::Distance:
      return "Dist";
    case ObservationKind::Angle:
      return "Angle";
    case ObservationKind::Direction:
      return "Dir";
    case ObservationKind::Reading:
      return "Read";
  }
  return "";
}

const char* const kHeightKind = "Hgt";

std::string HeightPoints(const HeightDifference& h) { return PlainNumber(h.from) + "-" + PlainNumber(h.to); }

// At least as many observations as unknowns, or the refusal that says not.
bool Enough(Session& s, size_t observations, size_t unknowns, const std::string& observed,
            const std::string& unknown) {
  if (observations >= unknowns) return true;
  Refuse(s, "The network has " + PlainNumber(static_cast<double>(observations)) + " " + observed + " for " +
                PlainNumber(static_cast<double>(unknowns)) + " " + unknown + "; it needs at least as many " +
                observed.substr(observed.rfind(' ') + 1) + " as unknowns");
  return false;
}

// The checks before any arithmetic: observations, datum and redundancy.
bool CheckNetwork(Session& s, const std::vector<int>& unknowns) {
  const Network& net = s.network.network;
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
  return Enough(s, net.observations.size(), 2 * unknowns.size() + static_cast<size_t>(net.sets), "observations",
                "unknowns");
}

// The heights: held ones (FH, and points of F with an elevation), enough
// differences, and every point of them with a position to store it at.
bool CheckHeights(Session& s, const std::vector<int>& unknownPoints) {
  Network& net = s.network.network;
  for (int p : s.points.Numbers())
    if (net.fixed[p] && s.points[p].elevation) net.heightFixed[p] = 1;
  bool held = false;
  std::vector<char> placed(net.fixed.size(), 0);
  for (int p : unknownPoints) placed[p] = 1;
  for (const HeightDifference& h : net.heights)
    for (int p : {h.from, h.to}) {
      held = held || net.heightFixed[p];
      if (!placed[p] && !s.points.IsDefined(p))
        return Refuse(s, "Point " + PlainNumber(p) +
                             " of a height difference has no coordinates: give it coordinates with KWN"),
               false;
    }
  if (!held)
    return Refuse(s, "The heights need a fixed height: a point of F with an elevation, or FH"), false;
  return Enough(s, net.heights.size(), UnknownHeights(net).size(), "height differences", "unknown heights");
}

// Approximate positions: stored coordinates where defined, the rest placed
// from the observations.
bool Approximate(Session& s, const std::vector<int>& unknowns, std::vector<Position>& at) {
  std::vector<char> placed(at.size(), 0);
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

std::string WeightRefusal(const std::string& observation) {
  return "The weights are out of range: the standard error of " + observation + " is too small or too large to weigh";
}

bool Refused(Session& s, const AdjustmentResult& result) {
  const Network& net = s.network.network;
  switch (result.status) {
    case AdjustmentResult::Status::Adjusted:
      return false;
    case AdjustmentResult::Status::Singular:
      if (result.failingSet >= 0) {
        int station = 0;
        for (const Observation& o : net.observations)
          if (o.set == result.failingSet) station = o.points[0];
        Refuse(s, "The network does not fix the orientation of a direction set at point " + PlainNumber(station) +
                      " (its normal equations are singular)");
        return true;
      }
      Refuse(s, "The network does not fix point " + PlainNumber(result.failingPoint) +
                    " (its normal equations are singular)");
      return true;
    case AdjustmentResult::Status::NotConverged:
      Refuse(s, "The adjustment did not converge in " + PlainNumber(kMostIterations) + " iterations (last correction " +
                    FormatMask(result.lastCorrection, "#########0.0000") + " ft)");
      return true;
    case AdjustmentResult::Status::WeightOutOfRange: {
      const Observation& o = net.observations[static_cast<size_t>(result.failingObservation)];
      Refuse(s, WeightRefusal(KindOf(o) + " " + ObservationPoints(o)));
      return true;
    }
    case AdjustmentResult::Status::OutOfRange:
      break;
  }
  Refuse(s, "The adjustment ran out of range");
  return true;
}

bool HeightsRefused(Session& s, const HeightResult& result) {
  switch (result.status) {
    case HeightResult::Status::Adjusted:
      return false;
    case HeightResult::Status::Singular:
      Refuse(s, "The heights do not fix point " + PlainNumber(result.failingPoint) +
                    " (no height difference ties it to a fixed height)");
      return true;
    case HeightResult::Status::WeightOutOfRange:
      break;
  }
  Refuse(s, WeightRefusal(std::string(kHeightKind) + " " +
                          HeightPoints(s.network.network.heights[static_cast<size_t>(result.failingObservation)])));
  return true;
}

bool Finite(double v) { return std::isfinite(v); }

bool AllFinite(const std::vector<AdjustedObservation>& observations, double weightedSquares) {
  for (const AdjustedObservation& o : observations)
    if (!Finite(o.adjusted) || !Finite(o.residual)) return false;
  return Finite(weightedSquares);
}

// Every figure the report and the store take is a finite number.
bool AllFinite(const AdjustmentResult& result, const std::vector<Position>& at) {
  for (const AdjustedPoint& p : result.points)
    if (!Finite(at[p.point].north) || !Finite(at[p.point].east) || !Finite(p.qNorth) || !Finite(p.qEast) ||
        !Finite(p.qNorthEast))
      return false;
  for (const AdjustedOrientation& o : result.orientations)
    if (!Finite(o.value) || !Finite(o.cofactor)) return false;
  return AllFinite(result.observations, result.weightedSquares);
}

bool AllFinite(const HeightResult& result, const std::vector<double>& elevation) {
  for (const AdjustedHeight& h : result.points)
    if (!Finite(elevation[h.point]) || !Finite(h.cofactor)) return false;
  return AllFinite(result.observations, result.weightedSquares);
}

std::string Ft(double value, int width) { return PadLeft(FormatMask(value, "######0.000"), width); }

std::string Seconds(double radians, int width) {
  return PadLeft(FormatMask(radians * kSecondsPerRadian, "####0.00"), width);
}

std::string ErrorsText(const ErrorModel& e) {
  std::string text = "Angle " + PlainNumber(e.AngleSeconds) + " sec, Distance " +
                     FormatMask(e.DistanceConstant, "##0.000") + " ft + " + PlainNumber(e.DistancePpm) + " ppm";
  if (e.centering.instrument > 0 || e.centering.target > 0)
    text += ", Centering " + FormatMask(e.centering.instrument, "##0.000") + " ft instrument, " +
            FormatMask(e.centering.target, "##0.000") + " ft target";
  return text;
}

void ReportHeading(Session& s) {
  const NetworkRecord& r = s.network;
  s.WriteOutput("");
  s.WriteOutput("Least Squares Adjustment");
  s.WriteOutput("Standard Errors: " + ErrorsText(r.FirstErrors));
  for (const auto& [first, errors] : r.ErrorChanges)
    s.WriteOutput("From observation " + PlainNumber(static_cast<double>(first + 1)) + ": " + ErrorsText(errors));
}

// Standard errors from sigma0, ellipses scaled to the confidence.
void ReportPoints(Session& s, const AdjustmentResult& result, const std::vector<Position>& at, double sigma0,
                  double factor) {
  s.WriteOutput("");
  s.WriteOutput("Adjusted Coordinates, Standard Errors and " + RoundTripNumber(s.network.ConfidencePercent) +
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

void ReportOrientations(Session& s, const AdjustmentResult& result, double sigma0) {
  const Network& net = s.network.network;
  if (net.sets == 0) return;
  std::vector<int> station(static_cast<size_t>(net.sets), 0);
  for (const Observation& o : net.observations)
    if (o.set >= 0) station[static_cast<size_t>(o.set)] = o.points[0];
  s.WriteOutput("");
  s.WriteOutput("Direction Sets (orientation = azimuth of the circle's zero)");
  s.WriteOutput("Set    At          Orientation     Sigma");
  for (size_t k = 0; k < result.orientations.size(); ++k) {
    const AdjustedOrientation& o = result.orientations[k];
    std::string line = PadLeft(PlainNumber(static_cast<double>(k + 1)), 3);
    line += "    " + PlainNumber(station[k]);
    line.resize(std::max<size_t>(line.size() + 1, 19), ' ');
    line += PadLeft(FormatAngle(o.value, "z"), 12) + Seconds(sigma0 * std::sqrt(o.cofactor), 10) + " s";
    s.WriteOutput(line);
  }
}

// The observation tables of both adjustments; the largest standardized
// residual comes back with its row's kind and points.
struct Largest {
  double value = -1;
  std::string observation;
};

struct Row {
  std::string kind, points;
  bool length;  // feet, otherwise an angle
  double observed;
  bool held;
};

void WriteTableHeading(Session& s, const std::string& title) {
  s.WriteOutput("");
  s.WriteOutput(title + (s.network.Snooping
                             ? " (residual = adjusted - observed; * standardized residual above 3.29, data snooping)"
                             : " (residual = adjusted - observed; * standardized residual above 3)"));
  s.WriteOutput("Kind   Points          " + PadLeft("Observed", 12) + PadLeft("Adjusted", 12) +
                PadLeft("Residual", 10) + "   " + PadLeft("Std Res", 10));
}

void WriteRow(Session& s, const Row& row, const AdjustedObservation& a, Largest& largest) {
  auto value = [&](double v) { return row.length ? Ft(v, 12) : PadLeft(FormatAngle(v, "z"), 12); };
  std::string line = row.kind;
  line.resize(7, ' ');
  line += row.points;
  line.resize(std::max<size_t>(line.size() + 1, 23), ' ');
  line += value(row.observed) + value(a.adjusted);
  line += row.length ? PadLeft(FormatMask(a.residual, "####0.000"), 10) + " ft" : Seconds(a.residual, 10) + " s ";
  if (row.held) line += PadLeft("held", 10);
  else if (a.redundancy >= kUncheckedRedundancy) {
    double standardized = std::fabs(a.residual) / (a.sigma * std::sqrt(a.redundancy));
    line += PadLeft(FormatMask(standardized, "####0.00"), 10);
    if (standardized > (s.network.Snooping ? kSnoopingLimit : kBlunderLimit)) line += " *";
    if (standardized > largest.value) largest = {standardized, row.kind + " " + row.points};
  }
  while (line.back() == ' ') line.pop_back();
  s.WriteOutput(line);
}

Largest ReportObservations(Session& s, const AdjustmentResult& result) {
  const Network& net = s.network.network;
  WriteTableHeading(s, "Observations");
  Largest largest;
  for (size_t k = 0; k < net.observations.size(); ++k) {
    const Observation& o = net.observations[k];
    WriteRow(s, {KindOf(o), ObservationPoints(o), o.kind == ObservationKind::Distance, o.value, o.held},
             result.observations[k], largest);
  }
  return largest;
}

// The reference variance and its test, and with data snooping the largest
// standardized residual.
void ReportStatistics(Session& s, double weightedSquares, int dof, const Largest& largest) {
  const NetworkRecord& r = s.network;
  s.WriteOutput("");
  if (dof == 0) {
    s.WriteOutput("No degrees of freedom: no reference variance or chi-square test;");
    s.WriteOutput("the standard errors and ellipses come from the a-priori errors");
  } else {
    double variance = weightedSquares / dof;
    double alpha = 1 - r.ConfidencePercent / 100;
    double lower = ChiSquareQuantile(alpha / 2, dof), upper = ChiSquareQuantile(1 - alpha / 2, dof);
    bool passed = weightedSquares >= lower && weightedSquares <= upper;
    s.WriteOutput("Reference Variance = " + FormatMask(variance, "#######0.000"));
    s.WriteOutput("Standard Deviation of Unit Weight = " + FormatMask(std::sqrt(variance), "#######0.000"));
    s.WriteOutput("Chi-Square Test at " + RoundTripNumber(r.ConfidencePercent) + "%: " +
                  FormatMask(lower, "#######0.000") + " <= " + FormatMask(weightedSquares, "#########0.000") +
                  " <= " + FormatMask(upper, "#######0.000") + (passed ? " Passed" : " Failed"));
  }
  if (r.Snooping && largest.value >= 0)
    s.WriteOutput("Largest Standardized Residual = " + FormatMask(largest.value, "####0.00") + " (" +
                  largest.observation + ")" +
                  (largest.value > kSnoopingLimit ? ": above 3.29, likely a blunder" : ": none above 3.29"));
}

void ReportTraverse(Session& s) {
  const NetworkRecord& r = s.network;
  if (!r.HasTraverse) return;
  bool perfect = r.TraverseMisclosure < kClosureRounding;
  s.WriteOutput("Traverse Misclosure = " + FormatMask(r.TraverseMisclosure, "#######0.000") + " ft, " +
                (perfect ? std::string("Perfect closure")
                         : "Relative Precision = 1:" + FormatMask(r.TraverseLength / r.TraverseMisclosure,
                                                                  "##########0")));
}

void ReportHeights(Session& s, const HeightResult& result, const std::vector<double>& elevation) {
  const Network& net = s.network.network;
  const int dof = static_cast<int>(net.heights.size()) - result.unknowns;
  const double sigma0 = dof > 0 ? std::sqrt(result.weightedSquares / dof) : 1;
  s.WriteOutput("");
  s.WriteOutput("Height Adjustment");
  s.WriteOutput("Height Differences = " + PlainNumber(static_cast<double>(net.heights.size())) +
                ", Unknowns = " + PlainNumber(result.unknowns) + ", Degrees of Freedom = " + PlainNumber(dof));
  s.WriteOutput("");
  s.WriteOutput("Adjusted Elevations and Standard Errors");
  s.WriteOutput("Point      Elevation    Sigma");
  for (const AdjustedHeight& h : result.points) {
    std::string line = "Pt " + PlainNumber(h.point);
    line.resize(std::max<size_t>(line.size() + 1, 8), ' ');
    s.WriteOutput(line + Ft(elevation[h.point], 12) + Ft(sigma0 * std::sqrt(h.cofactor), 9));
  }
  WriteTableHeading(s, "Height Differences");
  Largest largest;
  for (size_t k = 0; k < net.heights.size(); ++k)
    WriteRow(s, {kHeightKind, HeightPoints(net.heights[k]), true, net.heights[k].value, false},
             result.observations[k], largest);
  ReportStatistics(s, result.weightedSquares, dof, largest);
}

// The adjustment moves points: their descriptions stay, and their
// elevations unless the heights were adjusted.
void Store(Session& s, const AdjustmentResult& result, const std::vector<Position>& at,
           const HeightResult& heights, const std::vector<double>& elevation) {
  for (const AdjustedPoint& p : result.points) s.points.Move(p.point, at[p.point].north, at[p.point].east);
  for (auto [station, closing] : s.network.ClosingStations)
    s.points.Move(station, s.points.North(closing), s.points.East(closing));
  for (const AdjustedHeight& h : heights.points) s.points.SetElevation(h.point, elevation[h.point]);
}

}  // namespace

Outcome AdjustAndReport(Session& s) {
  const Network& net = s.network.network;
  const bool horizontal = !net.observations.empty(), levelled = !net.heights.empty();
  if (!horizontal && !levelled) return Refuse(s, "The network has no observations");
  const std::vector<int> unknowns = UnknownPoints(net);
  if (horizontal && !CheckNetwork(s, unknowns)) return Outcome::Stopped;
  if (levelled && !CheckHeights(s, unknowns)) return Outcome::Stopped;

  const size_t slots = static_cast<size_t>(s.points.Capacity()) + 1;
  std::vector<Position> at(slots);
  AdjustmentResult result;
  if (horizontal) {
    if (!Approximate(s, unknowns, at)) return Outcome::Stopped;
    result = AdjustNetwork(net, at);
    if (Refused(s, result)) return Outcome::Stopped;
    if (!AllFinite(result, at)) return Refuse(s, "The adjustment ran out of range");
  }
  std::vector<double> elevation(slots, 0);
  HeightResult heights;
  if (levelled) {
    for (int p : s.points.Numbers())
      if (net.heightFixed[p]) elevation[p] = *s.points[p].elevation;
    heights = AdjustHeights(net, elevation);
    if (HeightsRefused(s, heights)) return Outcome::Stopped;
    if (!AllFinite(heights, elevation)) return Refuse(s, "The adjustment ran out of range");
  }

  // The store takes the adjusted positions only when the surveyor agrees.
  ReportHeading(s);
  if (horizontal) {
    const int dof = static_cast<int>(net.observations.size()) - result.unknowns;
    const double sigma0 = dof > 0 ? std::sqrt(result.weightedSquares / dof) : 1;
    const double factor = EllipseFactor(s.network.ConfidencePercent / 100, dof);
    s.WriteOutput("Observations = " + PlainNumber(static_cast<double>(net.observations.size())) +
                  ", Unknowns = " + PlainNumber(result.unknowns) + ", Degrees of Freedom = " + PlainNumber(dof) +
                  ", Iterations = " + PlainNumber(result.iterations));
    ReportPoints(s, result, at, sigma0, factor);
    ReportOrientations(s, result, sigma0);
    Largest largest = ReportObservations(s, result);
    ReportStatistics(s, result.weightedSquares, dof, largest);
    ReportTraverse(s);
  }
  if (levelled) ReportHeights(s, heights, elevation);
  const char* question = !levelled    ? "OK to store adjusted coordinates?"
                         : horizontal ? "OK to store adjusted coordinates and elevations?"
                                      : "OK to store adjusted elevations?";
  if (!s.AskYesNo(question)) return Outcome::Completed;
  Store(s, result, at, heights, elevation);
  return Outcome::Completed;
}

}  // namespace vantrel
