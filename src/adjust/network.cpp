#include "adjust/network.h"

#include <cmath>

#include "notation/geometry.h"
#include "notation/numbers.h"

namespace vantrel {
namespace {

double Azimuth(const std::vector<Position>& at, int from, int to) {
  return AzimuthOf(at[to].east - at[from].east, at[to].north - at[from].north);
}

double IntoOneTurn(double angle) {
  angle = std::fmod(angle, TWO_PI);
  return angle < 0 ? angle + TWO_PI : angle;
}

}  // namespace

int PointCount(const Observation& o) { return o.kind == ObservationKind::Angle ? 3 : 2; }

double ComputedValue(const Observation& o, const std::vector<Position>& at) {
  const auto& p = o.points;
  switch (o.kind) {
    case ObservationKind::Distance:
      return std::hypot(at[p[1]].east - at[p[0]].east, at[p[1]].north - at[p[0]].north);
    case ObservationKind::Angle:
      return IntoOneTurn(Azimuth(at, p[0], p[2]) - Azimuth(at, p[0], p[1]));
    case ObservationKind::Direction:
      return IntoOneTurn(Azimuth(at, p[0], p[1]));
  }
  return 0;
}

double Misclosure(const Observation& o, const std::vector<Position>& at) {
  double w = o.value - ComputedValue(o, at);
  if (o.kind == ObservationKind::Distance) return w;
  w = IntoOneTurn(w);
  return w > PI ? w - TWO_PI : w;
}

}  // namespace vantrel
