#include "notation/geometry.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "command/session.h"
#include "notation/numbers.h"

namespace vantrel {

double OutOfRange(Session& s, std::string_view text) {
  s.InfoBox(std::string(text) + " is out of range");
  return 0;
}

double ParseDistance(Session& s, std::string_view text) {
  // The register letter is looked for in place: the field is not copied.
  std::string_view t = TrimBlanks(text);
  auto isRegisterLetter = [](char c) { return c == 'D' || c == 'd'; };
  size_t d = std::find_if(t.begin(), t.end(), isRegisterLetter) - t.begin();
  bool hasLetter = d < t.size();
  if (hasLetter && d >= 2) return 0;  // a register letter out of place

  double sign = 1;
  if (hasLetter && t[0] == '-') {
    t.remove_prefix(1);
    sign = -1;
  }
  if (t.empty() || !isRegisterLetter(t[0])) {  // a number; in "1D3" the D is an exponent marker
    double number = LeadingNumber(text);
    return std::isfinite(number) ? number : OutOfRange(s, text);
  }
  double number = RoundHalfEven(LeadingNumber(t.substr(1)));
  int n = number >= -1 && number < kRegisterCount ? static_cast<int>(number) : -1;
  if (!RegisterBanks::IsNumber(n) || s.registers.distance[n] == UndefinedCoord) {
    s.InfoBox(std::string(text) + " is invalid distance code");
    return 0;
  }
  return sign * s.registers.distance[n];
}

double PointDistance(const Session& s, int i, int j) {
  double dE = s.points.East(i) - s.points.East(j);
  double dN = s.points.North(i) - s.points.North(j);
  return std::hypot(dE, dN);
}

double PointAzimuth(const Session& s, int i, int j) {
  return AzimuthOf(s.points.East(j) - s.points.East(i), s.points.North(j) - s.points.North(i));
}

double AzimuthOf(double dE, double dN) {
  if (dN != 0) {
    double a = std::atan(dE / dN);
    return dN > 0 ? a : a + PI;
  }
  return dE > 0 ? HALF_PI : THREE_HALF_PI;
}

std::optional<std::array<double, 2>> LineCircleCrossings(double north, double east, double azimuth,
                                                         double centreNorth, double centreEast, double radius) {
  // The centre's offset from the line as a fraction of the radius: beyond 1
  // the line misses the circle; a zero radius gives no number at all.
  double toCentre = AzimuthOf(centreEast - east, centreNorth - north);
  double offset = std::sin(toCentre - azimuth) * std::hypot(east - centreEast, north - centreNorth) / radius;
  if (!(std::fabs(offset) <= 1)) return std::nullopt;
  double along = std::sqrt(1 - offset * offset);
  return std::array<double, 2>{azimuth - AzimuthOf(offset, along), azimuth - AzimuthOf(offset, -along)};
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

}  // namespace vantrel
