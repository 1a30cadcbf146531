#include "notation/format.h"

#include <algorithm>
#include <cmath>

#include "command/session.h"
#include "notation/numbers.h"

namespace vantrel {

void AppendPadded(std::string& row, std::string_view text, int width) {
  constexpr int kMostBlanks = 57;
  int length = static_cast<int>(text.size());
  if (width > length) row.append(static_cast<size_t>(std::min(width - length, kMostBlanks)), ' ');
  row += text;
}

std::string PadLeft(std::string_view text, int width) {
  std::string result;
  result.reserve(static_cast<size_t>(std::max(width, static_cast<int>(text.size()))));
  AppendPadded(result, text, width);
  return result;
}

std::string FormatPoint(const Session& s, int n) {
  std::string number = std::to_string(n);
  double north = s.PointNorth[n], east = s.PointEast[n];
  std::string result;
  result.reserve(40);  // "Pt " and the two columns of an ordinary point
  result += "Pt ";
  result += number;
  AppendPadded(result, FormatMask(std::fabs(north), "########0.000"), 13 - static_cast<int>(number.size()));
  result += north < 0 ? " S" : " N";
  AppendPadded(result, FormatMask(std::fabs(east), "########0.000"), 11);
  result += east < 0 ? " W" : " E";
  return result;
}

}  // namespace vantrel
