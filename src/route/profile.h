// The vertical profile of a route: points of vertical intersection (PVI)
// joined by straight grades, with a parabolic vertical curve about a PVI
// where a curve length is given. A curve is symmetric (half its length
// either side of the PVI) or unsymmetric (its own length back and ahead):
// two parabolas that meet with a common grade under the PVI. Stations and
// elevations in feet, grades in feet per foot.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vantrel {

struct Pvi {
  double station = 0, elevation = 0;
  double lengthBack = 0, lengthAhead = 0;  // of the curve about it; 0: none
  bool symmetric = true;                   // given as one length
  bool HasCurve() const { return lengthBack + lengthAhead > 0; }
};

// The vertical curve about one PVI.
struct VerticalCurve {
  double gradeIn = 0, gradeOut = 0;
  double pvcStation = 0, pvcElevation = 0;
  double ptStation = 0, ptElevation = 0;
  double lengthBack = 0, lengthAhead = 0;
  // The curve's elevation under (or over) the PVI less the PVI's:
  // (g2 - g1) L1 L2 / (2 (L1 + L2)), negative on a crest.
  double middleOrdinate = 0;
  // The station where the grade is level, when it lies on the curve: the
  // high point of a crest, the low point of a sag.
  std::optional<double> turningStation;

  bool Crest() const { return gradeOut < gradeIn; }
  double ElevationAt(double station) const;
  double GradeAt(double station) const;
};

class Profile {
 public:
  Profile() = default;
  // PVIs in station order, as ProfileProblem accepts them.
  explicit Profile(std::vector<Pvi> pvis) : pvis_(std::move(pvis)) {}

  const std::vector<Pvi>& Pvis() const { return pvis_; }
  double StartStation() const { return pvis_.front().station; }
  double EndStation() const { return pvis_.back().station; }
  bool Holds(double station) const { return station >= StartStation() && station <= EndStation(); }

  // The grade from PVI k to PVI k+1.
  double Grade(size_t k) const;
  // The curve about PVI k (0 < k < last, with a length).
  VerticalCurve Curve(size_t k) const;
  // The design elevation and grade at a station the profile holds.
  double ElevationAt(double station) const;
  double GradeAt(double station) const;

 private:
  // The PVI at or before a station, by bisection.
  size_t PviBefore(double station) const;
  // The PVI whose curve holds a station between PVI `before` and the next.
  std::optional<size_t> CurveHolding(double station, size_t before) const;

  std::vector<Pvi> pvis_;
};

// Why PVIs make no profile, or nothing: fewer than two, stations not
// rising, a curve at the first or last PVI, curves that overlap.
std::optional<std::string> ProfileProblem(const std::vector<Pvi>& pvis);

}  // namespace vantrel
