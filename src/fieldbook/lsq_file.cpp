#include "fieldbook/lsq_file.h"

#include <cmath>

#include "notation/numbers.h"

namespace vantrel {
namespace {

constexpr long long kHundredthsPerCircle = 360LL * 3600 * 100;

// Degrees, minutes and seconds to the hundredth, as LSQ reads an angle:
// "180 00 14.25".
std::string Dms(double radians) {
  long long hundredths = std::llround(RadiansToSeconds(NormalizedAzimuth(radians)) * 100) % kHundredthsPerCircle;
  auto two = [](long long value) { return (value < 10 ? "0" : "") + std::to_string(value); };
  long long seconds = hundredths % 6000;
  return std::to_string(hundredths / 360000) + " " + two(hundredths / 6000 % 60) + " " + two(seconds / 100) + "." +
         two(seconds % 100);
}

}  // namespace

std::string LsqCommandText(const ReductionResult& result, const std::string& rawFileName,
                           const std::function<std::string(const std::string& id)>& number,
                           const std::vector<std::string>& fixed) {
  const std::vector<FieldObservation>& observations = result.observations;
  if (observations.empty()) return {};
  double angleError = result.angleError.value_or(kDefaultAngleError);
  double distanceError = result.distanceError.value_or(kDefaultDistanceError);
  double ppm = result.distancePpm.value_or(kDefaultDistancePpm);

  std::vector<std::string> groups;
  if (!fixed.empty()) {
    std::string held = "F";
    for (const std::string& id : fixed) held += "," + number(id);
    groups.push_back(held);
  }
  auto pair = [&](const FieldObservation& o) { return number(o.from) + "," + number(o.to); };
  // Each set's directions together, then its distances and heights; a set
  // of one direction has nothing to orient it but the azimuth it was
  // reduced to.
  for (size_t first = 0; first < observations.size();) {
    size_t end = first;
    int directions = 0;
    while (end < observations.size() && observations[end].setNumber == observations[first].setNumber)
      directions += observations[end++].kind == FieldObservation::Direction;
    for (size_t k = first; k < end; ++k) {
      const FieldObservation& o = observations[k];
      if (o.kind == FieldObservation::Direction)
        groups.push_back((directions > 1 ? "R," : "Z,") + pair(o) + "," + Dms(o.value));
    }
    for (size_t k = first; k < end; ++k) {
      const FieldObservation& o = observations[k];
      if (o.kind == FieldObservation::Azimuth) groups.push_back("Z," + pair(o) + "," + Dms(o.value));
      if (o.kind == FieldObservation::Distance) groups.push_back("D," + pair(o) + "," + FormatMask(o.value, "0.0000"));
      if (o.kind != FieldObservation::Height) continue;
      std::string height = "H," + pair(o) + "," + FormatMask(o.value, "0.0000");
      if (o.slopeDistance > 0) {
        // The height's standard error from the distance's and the zenith's.
        double sigmaDistance = std::hypot(distanceError, ppm * 1e-6 * o.slopeDistance);
        double sigmaZenith = SecondsToRadians(angleError);
        double sigma = std::hypot(std::cos(o.zenith) * sigmaDistance, o.slopeDistance * std::sin(o.zenith) * sigmaZenith);
        height += "," + FormatMask(sigma, "0.0000");
      }
      groups.push_back(height);
    }
    first = end;
  }

  std::string text = "COM\r\nLeast squares of the observations in " + rawFileName + "\r\nLSQ\r\n" +
                     FormatMask(angleError, "0.0") + "," + FormatMask(distanceError, "0.000") + "," +
                     FormatMask(ppm, "0.0") + "\r\n";
  for (size_t k = 0; k < groups.size(); ++k) text += groups[k] + (k + 1 < groups.size() ? ",\r\n" : "\r\n");
  return text;
}

}  // namespace vantrel
