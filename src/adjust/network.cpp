#include "adjust/network.h"

#include <cmath>

#include "notation/geometry.h"
#include "notation/numbers.h"

namespace vantrel {
namespace {

double Azimuth(const std::vector<Position>& at, int from, int to) {
  return AzimuthOf(at[to].east - at[from].east, at[to].north - at[from].north);
}

double SquaredLength(const std::vector<Position>& at, int a, int b) {
  double dN = at[b].north - at[a].north, dE = at[b].east - at[a].east;
  return dN * dN + dE * dE;
}

}  // namespace

double IntoOneTurn(double angle) {
  angle = std::fmod(angle, TWO_PI);
  return angle < 0 ? angle + TWO_PI : angle;
}

double IntoHalfTurns(double angle) {
  angle = IntoOneTurn(angle);
  return angle > PI ? angle - TWO_PI : angle;
}

int PointCount(const Observation& o) { return o.kind == ObservationKind::Angle ? 3 : 2; }

double ComputedValue(const Observation& o, const std::vector<Position>& at, double orientation) {
  const auto& p = o.points;
  switch (o.kind) {
    case ObservationKind::Distance:
      return std::hypot(at[p[1]].east - at[p[0]].east, at[p[1]].north - at[p[0]].north);
    case ObservationKind::Angle:
      return IntoOneTurn(Azimuth(at, p[0], p[2]) - Azimuth(at, p[0], p[1]));
    case ObservationKind::Direction:
      return IntoOneTurn(Azimuth(at, p[0], p[1]));
    case ObservationKind::Reading:
      return IntoOneTurn(Azimuth(at, p[0], p[1]) - orientation);
  }
  return 0;
}

double Misclosure(const Observation& o, const std::vector<Position>& at, double orientation) {
  double w = o.value - ComputedValue(o, at, orientation);
  return o.kind == ObservationKind::Distance ? w : IntoHalfTurns(w);
}

double Variance(const Observation& o, const std::vector<Position>& at) {
  const double instrument = o.centering.instrument * o.centering.instrument;
  const double target = o.centering.target * o.centering.target;
  double variance = o.sigma * o.sigma;
  if (o.held || (instrument == 0 && target == 0)) return variance;
  const auto& p = o.points;
  switch (o.kind) {
    case ObservationKind::Distance:
      return variance + instrument + target;
    case ObservationKind::Direction:
    case ObservationKind::Reading:
      return variance + (instrument + target) / SquaredLength(at, p[0], p[1]);
    case ObservationKind::Angle: {
      double back = SquaredLength(at, p[0], p[1]), fore = SquaredLength(at, p[0], p[2]);
      return variance + target / back + target / fore + instrument * SquaredLength(at, p[1], p[2]) / (back * fore);
    }
  }
  return variance;
}

}  // namespace vantrel
