#include "notation/angles.h"

#include <algorithm>
#include <cmath>

#include "notation/format.h"
#include "notation/geometry.h"
#include "notation/numbers.h"

namespace vantrel {
namespace {

// A quadrant bearing turns at most 90 degrees from north or south; the slack
// only absorbs the rounding of 90 degrees itself into radians.
constexpr double kRightAngleSlack = 1e-12;

}  // namespace

double DegreesMinutesSeconds(std::string_view text) {
  double sign = 1;
  if (!text.empty() && text[0] == '-') {
    text.remove_prefix(1);
    sign = -1;
  }
  // Degrees, minutes and seconds are each held in single precision before
  // they are combined.
  double degrees, minutes = 0, seconds = 0;
  size_t p1 = text.find(' ');
  if (p1 == std::string_view::npos) {
    degrees = Single(LeadingNumber(text));
  } else {
    degrees = Single(LeadingNumber(text.substr(0, p1)));
    size_t p2 = text.find(' ', p1 + 1);
    if (p2 == std::string_view::npos) {
      minutes = Single(LeadingNumber(text.substr(p1 + 1)));
    } else {
      minutes = Single(LeadingNumber(text.substr(p1 + 1, p2 - p1 - 1)));
      seconds = Single(LeadingNumber(text.substr(p2 + 1)));
    }
  }
  return (minutes / 60 + degrees + seconds / 3600) * sign * PI / 180;
}

FieldValue DecodeAngle(std::string_view text, std::span<const double> registers) {
  // The letters are compared in either case on the trimmed field in place,
  // not on an upper-case copy: every station of a traverse comes here. The
  // numbers read the same in either case.
  auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  std::string_view t = TrimBlanks(text);
  size_t a = std::find_if(t.begin(), t.end(), [&](char c) { return upper(c) == 'A'; }) - t.begin();
  bool hasRegister = a < t.size();
  if (hasRegister && a >= 2) return {};  // a register letter out of place

  double sign = 1;
  if (hasRegister && t[0] == '-') {
    t.remove_prefix(1);
    sign = -1;
  }
  constexpr FieldValue invalid{0, FieldProblem::InvalidAngle};
  constexpr FieldValue outOfRange{0, FieldProblem::OutOfRange};
  if (t.empty()) return {};

  const char first = upper(t[0]);
  if (first == 'A') {
    // Register number from the two characters after "A", then an optional
    // digit that turns the angle by eighths of a circle.
    int n = static_cast<int>(RoundHalfEven(LeadingNumber(t.substr(1, 2))));
    double eighths = t.size() > 3 ? LeadingNumber(t.substr(3, 1)) : 0;
    if (n < 0 || static_cast<size_t>(n) >= registers.size() || registers[n] == UndefinedCoord) return invalid;
    return {(eighths * PI / 4 + registers[n]) * sign};
  }

  if (first == 'N' || first == 'S') {
    char last = upper(t.back());
    if (t.size() < 2 || (last != 'E' && last != 'W')) return invalid;
    double b = DegreesMinutesSeconds(TrimBlanks(t.substr(1, t.size() - 2)));
    if (!std::isfinite(b)) return outOfRange;
    if (b > HALF_PI + kRightAngleSlack) return invalid;  // "N 91 0 0 E" names no quadrant bearing
    if (first == 'N') return {last == 'E' ? b : TWO_PI - b};
    return {last == 'E' ? PI - b : PI + b};
  }

  double angle = DegreesMinutesSeconds(t);
  return std::isfinite(angle) ? FieldValue{angle} : outOfRange;
}

namespace {

// Beyond this many radians the single-precision normalisation can no longer
// bring an angle into one turn in reasonable time (and its seconds would be
// meaningless): such an angle is written as a marker of the column's width.
constexpr double kLargestFormattedAngle = 1e5;
constexpr const char* kAngleMarker = "***********";

// Appends degrees, minutes or seconds right-justified in three columns.
// They are whole numbers below 1000 once the angle is within one turn, and
// the mask then writes just their digits: those are written straight into
// the row, as this column is on nearly every line of a report. Anything else
// goes through the mask.
void AppendAngleColumn(std::string& row, double value, NumberMask mask) {
  constexpr int kWidth = 3;
  if (value >= 0 && value < 1000 && value == std::trunc(value)) {
    int n = static_cast<int>(value);
    char column[kWidth] = {' ', ' ', static_cast<char>('0' + n % 10)};
    if (n >= 10) column[1] = static_cast<char>('0' + n / 10 % 10);
    if (n >= 100) column[0] = static_cast<char>('0' + n / 100);
    row.append(column, kWidth);
    return;
  }
  AppendMask(row, value, mask, kWidth);
}

}  // namespace

std::string FormatAngle(double angle, std::string_view mode) {
  std::string text;
  AppendAngle(text, angle, mode);
  return text;
}

std::optional<AngleParts> SplitAngle(double angle, std::string_view mode) {
  if (!std::isfinite(angle) || std::fabs(angle) > kLargestFormattedAngle) return std::nullopt;
  // The angle is worked in single precision, as the stored value would be.
  float a = static_cast<float>(angle);
  const float twoPi = static_cast<float>(TWO_PI);
  while (a >= twoPi) a = static_cast<float>(a - TWO_PI);
  while (a < 0) a = static_cast<float>(a + TWO_PI);

  AngleParts parts;
  if (mode == "b" || mode == "B") {
    if (a > static_cast<float>(THREE_HALF_PI)) {
      parts.from = 'N', parts.toward = 'W', a = static_cast<float>(TWO_PI - a);
    } else if (a > static_cast<float>(PI)) {
      parts.from = 'S', parts.toward = 'W', a = static_cast<float>(a - PI);
    } else if (a > static_cast<float>(HALF_PI)) {
      parts.from = 'S', parts.toward = 'E', a = static_cast<float>(PI - a);
    } else if (a > 0) {
      parts.from = 'N', parts.toward = 'E';
    }
  }

  float x = static_cast<float>(static_cast<double>(a) * 180 / PI);  // one rounding to single
  parts.degrees = std::trunc(x);
  x = static_cast<float>((x - parts.degrees) * 60);
  parts.minutes = std::trunc(x);
  parts.seconds = RoundHalfEven((x - parts.minutes) * 60);
  if (parts.seconds > 59.5) {
    parts.seconds = 0;
    if (++parts.minutes == 60) {
      parts.minutes = 0;
      ++parts.degrees;
    }
  }
  return parts;
}

void AppendAngle(std::string& row, double angle, std::string_view mode, int width) {
  std::optional<AngleParts> parts = SplitAngle(angle, mode);
  if (!parts) return AppendPadded(row, kAngleMarker, width);
  // Built apart (short enough to need no allocation) and then padded.
  std::string text(1, parts->from);
  AppendAngleColumn(text, parts->degrees, "##0");
  AppendAngleColumn(text, parts->minutes, "#0");
  AppendAngleColumn(text, parts->seconds, "#0");
  text += parts->toward;
  AppendPadded(row, text, width);
}

}  // namespace vantrel
