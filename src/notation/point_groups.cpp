#include "notation/point_groups.h"

#include <cmath>
#include <string>

#include "notation/format.h"

namespace vantrel {

GroupEnd NoSolution(Session& s) {
  s.InfoBox("No Solution");
  return GroupEnd::Held;
}

bool SamePlace(const Session& s, int i, int j) {
  return s.points.North(i) == s.points.North(j) && s.points.East(i) == s.points.East(j);
}

void ReportNotComputable(Session& s, const std::string& what) {
  s.InfoBox(what + " cannot be computed: coordinates out of range");
}

NewPoint PointAt(int number, double north, double east, double distance, double azimuth) {
  return {number, north + distance * std::cos(azimuth), east + distance * std::sin(azimuth)};
}

bool StoreNewPoints(Session& s, std::span<const NewPoint> points) {
  for (const NewPoint& p : points) {
    if (std::isfinite(p.north) && std::isfinite(p.east)) continue;
    s.InfoBox("Point " + std::to_string(p.number) + " not stored: coordinates out of range");
    return false;
  }
  for (const NewPoint& p : points) {
    s.points.Store(p.number, p.north, p.east);
    WritePointLine(s, p.number);
  }
  return true;
}

bool RadiiAgree(Session& s, double firstRadius, double secondRadius, int point) {
  if (std::fabs(firstRadius - secondRadius) <= kRadiusTolerance) return true;
  return s.AskYesNo("Radius Discrepancy at Pt " + std::to_string(point) + "\nO.K. to go on");
}

}  // namespace vantrel
