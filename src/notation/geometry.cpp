#include "notation/geometry.h"

#include <algorithm>
#include <cmath>

namespace vantrel {

FieldValue DecodeDistance(std::string_view text, std::span<const double> registers) {
  // The register letter is looked for in place: the field is not copied.
  std::string_view t = TrimBlanks(text);
  auto isRegisterLetter = [](char c) { return c == 'D' || c == 'd'; };
  size_t d = std::find_if(t.begin(), t.end(), isRegisterLetter) - t.begin();
  bool hasLetter = d < t.size();
  if (hasLetter && d >= 2) return {};  // a register letter out of place

  double sign = 1;
  if (hasLetter && t[0] == '-') {
    t.remove_prefix(1);
    sign = -1;
  }
  if (t.empty() || !isRegisterLetter(t[0])) {  // a number; in "1D3" the D is an exponent marker
    double number = LeadingNumber(text);
    return std::isfinite(number) ? FieldValue{number} : FieldValue{0, FieldProblem::OutOfRange};
  }
  double number = RoundHalfEven(LeadingNumber(t.substr(1)));
  if (!(number >= 0 && number < static_cast<double>(registers.size())) ||
      registers[static_cast<size_t>(number)] == UndefinedCoord)
    return {0, FieldProblem::InvalidDistanceCode};
  return {sign * registers[static_cast<size_t>(number)]};
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

}  // namespace vantrel
