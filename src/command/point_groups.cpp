#include "command/point_groups.h"

#include <cmath>
#include <string>

#include "notation/format.h"

namespace vantrel {

GroupEnd NoSolution(Session& s) {
  s.InfoBox("No Solution");
  return GroupEnd::Held;
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

void WritePointLine(Session& s, int n) {
  std::string& row = s.NewRow();
  AppendPoint(row, n, s.points.North(n), s.points.East(n));
  s.WriteOutput(row);
}

bool IntersectLines(Session& s, int target, int a, int b, double m1, double m2) {
  double north = (s.points.North(a) * m1 - s.points.East(a) - s.points.North(b) * m2 + s.points.East(b)) / (m1 - m2);
  // The east coordinate comes from the flatter line, through the stored north
  // (so a new point that replaces point a uses a's updated north).
  double east = std::fabs(m2) > std::fabs(m1)
                    ? (north - (target == a ? north : s.points.North(a))) * m1 + s.points.East(a)
                    : (north - (target == b ? north : s.points.North(b))) * m2 + s.points.East(b);
  if (m1 == m2 || !std::isfinite(north) || !std::isfinite(east)) {
    s.InfoBox("Lines do not intersect");
    s.points.Clear(target);
    return false;
  }
  s.points.Store(target, north, east);
  return true;
}

bool RadiiAgree(Session& s, double firstRadius, double secondRadius, int point) {
  if (std::fabs(firstRadius - secondRadius) <= kRadiusTolerance) return true;
  return s.AskYesNo("Radius Discrepancy at Pt " + std::to_string(point) + "\nO.K. to go on");
}

}  // namespace vantrel
