#include "notation/format.h"

#include <cmath>

#include "command/session.h"
#include "notation/numbers.h"

namespace vantrel {

std::string PadLeft(std::string_view text, int width) {
  constexpr int kMostBlanks = 57;
  int length = static_cast<int>(text.size());
  if (width <= length) return std::string(text);
  int blanks = std::min(width - length, kMostBlanks);
  std::string result(static_cast<size_t>(blanks), ' ');
  result += text;
  return result;
}

namespace {

constexpr char kDelete = 0x7F;

bool IsControl(char c) {
  return (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == kDelete;
}

}  // namespace

bool HoldsControlCharacter(std::string_view text) {
  for (char c : text)
    if (IsControl(c)) return true;
  return false;
}

std::string VisibleText(std::string_view text) {
  std::string shown;
  shown.reserve(text.size() + 2);
  for (char c : text) {
    if (!IsControl(c)) {
      shown += c;
      continue;
    }
    shown += '^';
    shown += c == kDelete ? '?' : static_cast<char>(c + '@');
  }
  return shown;
}

std::string FormatPoint(const Session& s, int n) { return FormatPoint(n, s.PointNorth[n], s.PointEast[n]); }

std::string FormatPoint(int n, double north, double east) {
  std::string number = std::to_string(n);
  std::string result = "Pt " + number;
  result += PadLeft(FormatMask(std::fabs(north), "########0.000"), 13 - static_cast<int>(number.size()));
  result += north < 0 ? " S" : " N";
  result += PadLeft(FormatMask(std::fabs(east), "########0.000"), 11);
  result += east < 0 ? " W" : " E";
  return result;
}

}  // namespace vantrel
