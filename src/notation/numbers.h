// Runtime number handling shared by every command: the leading-number
// conversion of typed fields, integer fields, single-precision steps and the
// number masks of the report columns.
#pragma once

#include <string>
#include <string_view>

namespace vantrel {

// The program's decimal value of pi, used wherever an angle is converted or
// normalised, and its multiples as the program writes them.
inline constexpr double PI = 3.1415926536;
inline constexpr double TWO_PI = 6.2831853072;
inline constexpr double HALF_PI = 1.5707963268;
inline constexpr double THREE_HALF_PI = 4.7123889804;

// Marker of a point coordinate (or register) that holds no value.
inline constexpr double UndefinedCoord = -1e10;

// Why a typed field gives no value. The notation only names the problem; the
// command that read the field tells the surveyor (see command/fields.h).
enum class FieldProblem {
  None,
  InvalidAngle,         // an undefined or missing angle register, a bearing without its quadrant
  InvalidDistanceCode,  // an undefined or missing distance register
  OutOfRange,           // a number beyond the range of the program's numbers
};

// A decoded field: its value, or 0 and the problem.
struct FieldValue {
  double value = 0;
  FieldProblem problem = FieldProblem::None;
};

// Reads the longest numeric prefix of a field: blanks, tabs and line feeds
// are ignored anywhere; sign, digits with one decimal point, an exponent
// introduced by E or D; "&H"/"&O" integers. A text without a number gives 0.
double LeadingNumber(std::string_view text);

// True when the whole text (blanks ignored) is one number of that syntax.
bool IsNumericText(std::string_view text);

// Rounds to the nearest integer, ties to even (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double value);

// A point number, register number or count typed in a field: the leading
// number rounded half to even. A value beyond the 16-bit range is never
// wrapped back into it (it is only bounded to +-1e9), so no table accepts it.
int IntegerField(std::string_view text);

// A value as the program stores it in a single-precision variable.
inline double Single(double value) { return static_cast<double>(static_cast<float>(value)); }

// A number mask such as "######0.000", "##0" or ".000": "0" is a digit
// always written, "#" a digit written only when significant; the digits
// after the point are the decimals. Read once where a column names it, not
// again for every value the column writes.
struct NumberMask {
  constexpr NumberMask(std::string_view mask) {
    size_t point = mask.find('.');
    decimals = point == std::string_view::npos ? 0 : static_cast<int>(mask.size() - point - 1);
    for (char c : mask.substr(0, point)) minIntegerDigits += c == '0';
  }
  constexpr NumberMask(const char* mask) : NumberMask(std::string_view(mask)) {}

  int decimals = 0;
  int minIntegerDigits = 0;
};

// Writes a value through a number mask. The value is rounded from its exact
// binary value, an exact tie away from zero; a value that rounds to zero is
// written without a minus sign.
std::string FormatMask(double value, NumberMask mask);

// Appends the same text to a report row, right-justified in `width`
// characters as AppendPadded does (0: as it is).
void AppendMask(std::string& row, double value, NumberMask mask, int width = 0);

// A value in plain digits: the general numeric text, no leading blank
// (integers as integers, others with up to 15 significant digits).
std::string PlainNumber(double value);

// Shortest text that reads back as exactly the same double (point and
// register files).
std::string RoundTripNumber(double value);

// Upper-case copy (ASCII) and trimming of blanks at both ends.
std::string UpperCase(std::string_view text);
std::string_view TrimBlanks(std::string_view text);

}  // namespace vantrel
