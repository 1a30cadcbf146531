#include "notation/format.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "notation/numbers.h"

namespace vantrel {

void AppendPadded(std::string& row, std::string_view text, int width) {
  constexpr int kMostBlanks = 57;
  int length = static_cast<int>(text.size());
  if (width > length) row.append(static_cast<size_t>(std::min(width - length, kMostBlanks)), ' ');
  else if (width > 0 && !row.empty() && row.back() != ' ' && !text.empty() && text.front() != ' ') row += ' ';
  row += text;
}

std::string PadLeft(std::string_view text, int width) {
  std::string result;
  result.reserve(static_cast<size_t>(std::max(width, static_cast<int>(text.size()))));
  AppendPadded(result, text, width);
  return result;
}

std::string QuoteStart(std::string_view text) {
  constexpr size_t kQuoted = 40;
  std::string quoted(1, '"');
  quoted += text.substr(0, kQuoted);
  quoted += text.size() > kQuoted ? "...\"" : "\"";
  return quoted;
}

namespace {

constexpr char kDelete = 0x7F;

bool IsControl(char c, LineBreaks breaks) {
  bool kept = c == '\t' || (breaks == LineBreaks::Kept && (c == '\n' || c == '\r'));
  return (static_cast<unsigned char>(c) < 0x20 && !kept) || c == kDelete;
}

}  // namespace

bool HoldsControlCharacter(std::string_view text, LineBreaks breaks) {
  // Every report line passes here. Fast path: one simple test for anything
  // below a blank or DEL, in a loop without an early exit (lines are short)
  // and without branches, which the compiler runs on many characters at
  // once. Only a line where it finds one (a tab, say) is looked at closely.
  unsigned char belowBlankOrDelete = 0;
  for (char c : text) belowBlankOrDelete |= (static_cast<unsigned char>(c) < 0x20) | (c == kDelete);
  return belowBlankOrDelete != 0 &&
         std::any_of(text.begin(), text.end(), [breaks](char c) { return IsControl(c, breaks); });
}

std::string VisibleText(std::string_view text, LineBreaks breaks) {
  std::string shown;
  shown.reserve(text.size() + 2);
  for (char c : text) {
    if (!IsControl(c, breaks)) {
      shown += c;
      continue;
    }
    shown += '^';
    shown += c == kDelete ? '?' : static_cast<char>(c + '@');
  }
  return shown;
}

std::string FormatPoint(int n, double north, double east) {
  std::string line;
  AppendPoint(line, n, north, east);
  return line;
}

void AppendPoint(std::string& row, int n, double north, double east) {
  char number[16];
  char* numberEnd = std::to_chars(number, number + sizeof number, n).ptr;
  row += "Pt ";
  row.append(number, numberEnd);
  constexpr NumberMask kCoordinate = "########0.000";
  AppendMask(row, std::fabs(north), kCoordinate, 13 - static_cast<int>(numberEnd - number));
  row += north < 0 ? " S" : " N";
  AppendMask(row, std::fabs(east), kCoordinate, 11);
  row += east < 0 ? " W" : " E";
}

}  // namespace vantrel
