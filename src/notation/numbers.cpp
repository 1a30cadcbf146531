#include "notation/numbers.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cmath>
#include <locale.h>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <system_error>

#include "notation/format.h"

namespace vantrel {
namespace {

// The C library's number conversions follow LC_NUMERIC, which a window
// toolkit sets from the user's locale (a decimal comma in de_DE). Numbers
// here are written with std::to_chars and read with strtod_l in the C
// locale, which keep the same rules whatever the process locale is.

// Fixed, exponent and general notation as the C locale writes them, with a
// capital E.
std::string CFixed(double value, int decimals) {
  char buffer[512];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  return error == std::errc() ? std::string(buffer, end) : "*";
}
std::string CUpperExponent(double value, int precision, std::chars_format format) {
  char buffer[64];
  char* end = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision).ptr;
  std::string text(buffer, end);
  for (char& c : text)
    if (c == 'e') c = 'E';
  return text;
}

// strtod of the C locale (the only reader that also gives strtod's results
// for a number out of range).
double CReadNumber(const char* text) {
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
  return strtod_l(text, nullptr, cLocale);
}

bool IsIgnoredBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// The text with the ignored blanks removed, so the scanner below sees one
// compact text. A field without blanks (the usual case) is used in place.
struct CompactText {
  std::string stripped;
  std::string_view text;

  explicit CompactText(std::string_view field) : text(field) {
    if (std::none_of(field.begin(), field.end(), IsIgnoredBlank)) return;
    stripped.reserve(field.size());
    for (char c : field)
      if (!IsIgnoredBlank(c)) stripped.push_back(c);
    text = stripped;
  }
};

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

// "&H1F" / "&O17": an integer in base 16 or 8 (the runtime reads such texts as
// 16-bit integers when they fit, so &HFFFF is -1).
double RadixInteger(const char* p, size_t n, size_t& used) {
  int base = (p[1] == 'H' || p[1] == 'h') ? 16 : 8;
  double value = 0;
  size_t i = 2;
  for (; i < n && DigitValue(p[i]) < base; ++i) value = value * base + DigitValue(p[i]);
  used = i;
  if (i == 2) return 0;
  if (value <= 0xFFFF && value >= 0x8000) value -= 0x10000;
  return value;
}

// Decimal mantissas of up to 15 digits, and the powers of ten up to 10^22,
// are exact in a double.
constexpr size_t kExactDigits = 15;
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Scans the numeric prefix of a compact text, of any length; `used`
// receives its length.
double ScanNumber(std::string_view p, size_t& used) {
  used = 0;
  size_t n = p.size();
  if (n >= 2 && p[0] == '&' && (p[1] == 'H' || p[1] == 'h' || p[1] == 'O' || p[1] == 'o'))
    return RadixInteger(p.data(), n, used);
  size_t i = 0;
  if (i < n && (p[i] == '+' || p[i] == '-')) ++i;
  // The digits are gathered into an integer mantissa as they are scanned.
  size_t digits = 0;
  unsigned long long mantissa = 0;
  auto skipDigits = [&] {
    for (; i < n && p[i] >= '0' && p[i] <= '9'; ++i, ++digits)
      if (digits < kExactDigits) mantissa = mantissa * 10 + static_cast<unsigned>(p[i] - '0');
  };
  skipDigits();
  size_t decimals = 0;
  if (i < n && p[i] == '.') {
    ++i;
    size_t before = digits;
    skipDigits();
    decimals = digits - before;
  }
  if (digits == 0) return 0;
  size_t mantissaEnd = i;
  char marker = i < n ? p[i] : '\0';
  bool exponent = marker == 'E' || marker == 'e' || marker == 'D' || marker == 'd';
  if (exponent) {
    ++i;
    if (i < n && (p[i] == '+' || p[i] == '-')) ++i;
    while (i < n && p[i] >= '0' && p[i] <= '9') ++i;
  }
  used = i;

  // Fastest path, the usual field ("5000.125"): at most 15 digits and no
  // exponent. The mantissa and the power of ten are then exact doubles, so
  // the one division is correctly rounded: the same double strtod gives.
  if (!exponent && digits <= kExactDigits && decimals < std::size(kExactPowersOfTen)) {
    double value = static_cast<double>(mantissa) / kExactPowersOfTen[decimals];
    return p[0] == '-' ? -value : value;
  }
  // Fast path: std::from_chars reads the usual field (no "+", an E exponent
  // or none) exactly as strtod would, without its locale or multi-precision
  // set-up. It stops by itself before an exponent marker without digits.
  size_t begin = p[0] == '+' ? 1 : 0;
  double value = 0;
  if (marker != 'D' && marker != 'd') {
    auto [end, error] = std::from_chars(p.data() + begin, p.data() + used, value);
    if (error == std::errc() && (end == p.data() + used || end == p.data() + mantissaEnd)) return value;
  }
  // General path: a D exponent, or a value beyond the range of doubles that
  // strtod turns into an infinity or a zero as the program always has.
  std::string text(p.substr(0, mantissaEnd));
  if (exponent) {
    std::string_view power = p.substr(mantissaEnd + 1, used - mantissaEnd - 1);
    text += 'e';
    text += power.empty() || (power.size() == 1 && (power[0] == '+' || power[0] == '-')) ? std::string(power) + "0"
                                                                                           : std::string(power);
  }
  return CReadNumber(text.c_str());
}

}  // namespace

double LeadingNumber(std::string_view text) {
  size_t used;
  return ScanNumber(CompactText(text).text, used);
}

bool IsNumericText(std::string_view text) {
  CompactText compact(text);
  if (compact.text.empty()) return false;
  size_t used;
  ScanNumber(compact.text, used);
  return used == compact.text.size();
}

double RoundHalfEven(double value) { return std::nearbyint(value); }

int IntegerField(std::string_view text) {
  constexpr double kBound = 1e9;
  double value = RoundHalfEven(LeadingNumber(text));
  if (value != value) return 0;
  return static_cast<int>(std::clamp(value, -kBound, kBound));
}

namespace {

// Adds one unit in the last place of a string of decimal digits (with an
// optional '.'), carrying leftwards; a carry out of the top adds a digit.
void IncrementDigits(std::string& digits) {
  for (size_t i = digits.size(); i-- > 0;) {
    if (digits[i] == '.') continue;
    if (digits[i] == '9') {
      digits[i] = '0';
    } else {
      ++digits[i];
      return;
    }
  }
  digits.insert(digits.begin(), '1');
}

constexpr double kPowersOfTen[] = {1, 10, 100, 1000, 10000, 100000, 1000000};

// The report's usual numbers: a magnitude times 10^decimals (decimals 0..6)
// rounded to an integer here when it stays far below 2^53; nothing for the
// others. The product's own rounding error, recovered exactly by a fused
// multiply-add, decides the ties, so the result is the same as rounding the
// exact binary value, an exact tie going away from zero. Only a product
// that lands on a half needs it, so the others skip the library call.
std::optional<unsigned long long> RoundedScaled(double magnitude, int decimals) {
  constexpr double kLargestFastScaled = 1e15;
  if (decimals < 0 || decimals >= static_cast<int>(std::size(kPowersOfTen))) return std::nullopt;
  double scale = kPowersOfTen[decimals];
  double product = magnitude * scale;
  if (!(product < kLargestFastScaled)) return std::nullopt;
  double whole = std::floor(product);
  double fraction = product - whole;
  bool up = fraction > 0.5 || (fraction == 0.5 && std::fma(magnitude, scale, -product) >= 0);
  return static_cast<unsigned long long>(whole) + up;
}

// |value| with `decimals` decimals, rounded from the exact binary value with
// an exact tie going away from zero, for the magnitudes RoundedScaled leaves.
std::string FixedDigits(double magnitude, int decimals) {
  // An exact tie at this many decimals means magnitude * 2^(decimals+1) is an
  // odd integer; the C library would round such a tie to even.
  double scaled = std::ldexp(magnitude, decimals + 1);
  if (scaled < 9007199254740992.0 && scaled == std::floor(scaled) &&
      std::fmod(scaled, 2.0) == 1.0) {
    std::string text = CFixed(magnitude, decimals + 1);
    text.pop_back();  // the exact trailing 5
    if (decimals == 0) text.pop_back();  // the decimal point
    IncrementDigits(text);
    return text;
  }
  return CFixed(magnitude, decimals);
}

}  // namespace

std::string FormatMask(double value, NumberMask mask) {
  std::string text;
  AppendMask(text, value, mask);
  return text;
}

void AppendMask(std::string& row, double value, NumberMask mask, int width) {
  if (!std::isfinite(value)) return AppendPadded(row, value != value ? "NaN" : (value < 0 ? "-Inf" : "Inf"), width);

  // Fast path, nearly every number of every report: the rounded integer
  // (below 10^15) split into the integer part, written by to_chars, and the
  // decimals; a zero integer part only when the mask asks for it, the sign
  // only on a nonzero result.
  if (std::optional<unsigned long long> rounded = RoundedScaled(std::fabs(value), mask.decimals)) {
    unsigned long long unit = static_cast<unsigned long long>(kPowersOfTen[mask.decimals]);
    unsigned long long whole = *rounded / unit, decimalDigits = *rounded % unit;
    char text[32];
    char* end = text;
    if (value < 0 && *rounded != 0) *end++ = '-';
    if (whole > 0 || mask.minIntegerDigits > 0) end = std::to_chars(end, text + sizeof text, whole).ptr;
    if (mask.decimals > 0) {
      *end++ = '.';
      for (int i = mask.decimals; i-- > 0; decimalDigits /= 10) end[i] = static_cast<char>('0' + decimalDigits % 10);
      end += mask.decimals;
    }
    return AppendPadded(row, std::string_view(text, end), width);
  }

  // General path: the digits are trimmed and signed in place.
  std::string digits = FixedDigits(std::fabs(value), mask.decimals);
  // Drop leading zeros of the integer part down to the digits the mask keeps.
  size_t integerLength = std::find(digits.begin(), digits.end(), '.') - digits.begin();
  size_t drop = 0;
  while (integerLength - drop > static_cast<size_t>(mask.minIntegerDigits) && digits[drop] == '0') ++drop;
  bool allZero = std::all_of(digits.begin() + drop, digits.end(), [](char c) { return c == '0' || c == '.'; });
  if (value < 0 && !allZero) digits.insert(digits.begin() + static_cast<std::ptrdiff_t>(drop), '-');
  AppendPadded(row, std::string_view(digits).substr(drop), width);
}

std::string PlainNumber(double value) {
  if (value == 0) return "0";
  if (!std::isfinite(value)) return value != value ? "NaN" : (value < 0 ? "-Inf" : "Inf");
  // Integers (station and point numbers, counts): below 10^15 a long long
  // holds them exactly and writes the same digits as the fixed notation.
  if (std::fabs(value) < 1e15 && value == std::floor(value)) return std::to_string(static_cast<long long>(value));
  double magnitude = std::fabs(value);
  if (magnitude >= 1e15 || magnitude < 1e-4) {
    // Exponent form, with a signed two-digit exponent: 1.5E+20, 1E-05.
    std::string text = CUpperExponent(value, 14, std::chars_format::scientific);
    size_t e = text.find('E');
    std::string mantissa = text.substr(0, e), exponent = text.substr(e + 1);
    while (mantissa.back() == '0') mantissa.pop_back();
    if (mantissa.back() == '.') mantissa.pop_back();
    char sign = exponent[0];
    std::string expDigits = exponent.substr(1);
    while (expDigits.size() > 2 && expDigits[0] == '0') expDigits.erase(0, 1);
    return mantissa + "E" + sign + expDigits;
  }
  std::string text = CUpperExponent(value, 15, std::chars_format::general);
  if (text.find('.') != std::string::npos) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  return text;
}

std::string RoundTripNumber(double value) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper;
}

std::string_view TrimBlanks(std::string_view text) {
  size_t begin = text.find_first_not_of(' ');
  if (begin == std::string_view::npos) return {};
  size_t end = text.find_last_not_of(' ');
  return text.substr(begin, end - begin + 1);
}

}  // namespace vantrel
