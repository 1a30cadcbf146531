#include "fieldbook/field_units.h"

#include <charconv>
#include <cmath>
#include <string>

#include "notation/numbers.h"

namespace vantrel {
namespace {

// Metres in one foot of each kind.
constexpr double kMetresPerInternationalFoot = 0.3048;
constexpr double kMetresPerUsSurveyFoot = 1200.0 / 3937.0;

constexpr double kSecondsPerRadian = 648000 / PI;

// A run of decimal digits as a whole number; nothing for an empty run or
// one of more digits than an angle's degrees ever need.
std::optional<long long> Digits(std::string_view digits) {
  if (digits.empty() || digits.size() > 12) return std::nullopt;
  long long value = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

}  // namespace

double FeetPerUnit(LengthUnit unit, FootKind foot) {
  if (unit != LengthUnit::Metre) return 1;
  return 1 / (foot == FootKind::UsSurvey ? kMetresPerUsSurveyFoot : kMetresPerInternationalFoot);
}

std::string_view LengthUnitName(LengthUnit unit) {
  switch (unit) {
    case LengthUnit::Metre: return "metres";
    case LengthUnit::InternationalFoot: return "international feet";
    case LengthUnit::UsSurveyFoot: return "US survey feet";
    case LengthUnit::Foot: return "feet";
  }
  return "feet";
}

bool SameLengthKind(LengthUnit a, LengthUnit b) { return (a == LengthUnit::Metre) == (b == LengthUnit::Metre); }

std::optional<double> PackedDegreesText(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  double sign = 1;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    sign = text.front() == '-' ? -1 : 1;
    text.remove_prefix(1);
  }
  size_t point = text.find('.');
  if (text.find_first_of("0123456789") == std::string_view::npos) return std::nullopt;
  std::string_view whole = text.substr(0, point);
  std::string fraction(point == std::string_view::npos ? std::string_view() : text.substr(point + 1));
  if (fraction.size() < 4) fraction.resize(4, '0');
  std::optional<long long> degrees = whole.empty() && point != std::string_view::npos ? 0 : Digits(whole);
  std::optional<long long> minutes = Digits(std::string_view(fraction).substr(0, 2));
  // Seconds with their decimal fraction: "SS" then ".s…".
  std::string secondsText = fraction.substr(2, 2) + "." + fraction.substr(4) + "0";
  double seconds;
  auto [end, error] = std::from_chars(secondsText.data(), secondsText.data() + secondsText.size(), seconds);
  bool secondsRead = error == std::errc() && end == secondsText.data() + secondsText.size() &&
                     secondsText.find_first_not_of("0123456789.") == std::string::npos;
  if (!degrees || !minutes || !secondsRead || *minutes >= 60 || seconds >= 60) return std::nullopt;
  return sign * DegreesToRadians(static_cast<double>(*degrees) + static_cast<double>(*minutes) / 60 + seconds / 3600);
}

double DegreesToRadians(double degrees) { return degrees * PI / 180; }
double GonToRadians(double gon) { return gon * PI / 200; }
double MilToRadians(double mil) { return mil * PI / 3200; }

double RadiansToSeconds(double radians) { return radians * kSecondsPerRadian; }
double SecondsToRadians(double seconds) { return seconds / kSecondsPerRadian; }

double NormalizedAzimuth(double radians) {
  double turned = std::fmod(radians, TWO_PI);
  if (turned < 0) turned += TWO_PI;
  return turned >= TWO_PI ? 0 : turned;
}

double SignedAngle(double radians) {
  double turned = NormalizedAzimuth(radians);
  return turned > PI ? turned - TWO_PI : turned;
}

}  // namespace vantrel
