#include <algorithm>

#include "command/code_page.h"
#include "command/text_file.h"
#include "fieldbook/raw_readers.h"

namespace vantrel {
namespace {

constexpr const char* kBinaryData = "binary data (a NUL byte): not a raw data file";

}  // namespace

bool RawLines::Take(std::string_view line, bool overlong) {
  reduction_.Record(++lineNumber_);
  if (overlong) {
    reduction_.Skip("a line longer than " + std::to_string(kMaxRawLine) + " characters");
    return true;
  }
  if (lineNumber_ == 1 && line.starts_with(kByteOrderMark)) line.remove_prefix(kByteOrderMark.size());
  if (line.find_first_not_of(" \t") == std::string_view::npos) return true;
  bool ascii = std::all_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (ascii || IsValidUtf8(line)) {
    reader_.Line(line);
  } else {
    decoded_ = Windows1252ToUtf8(line);
    reader_.Line(decoded_);
  }
  return !reduction_.Failed();
}

bool RawLines::Feed(std::string_view piece) {
  if (reduction_.Failed()) return false;
  // A NUL byte ends the file's text there, without a search for the end of
  // a line that may never come.
  size_t nul = piece.find('\0');
  cutter_.Feed(piece.substr(0, nul), [this](std::string_view line, bool overlong, size_t) { return Take(line, overlong); });
  if (nul != std::string_view::npos && !reduction_.Failed()) {
    reduction_.Record(lineNumber_ + 1);
    reduction_.Fail(kBinaryData);
  }
  return !reduction_.Failed();
}

void RawLines::Finish() {
  if (reduction_.Failed()) return;
  cutter_.Finish([this](std::string_view line, bool overlong, size_t) { return Take(line, overlong); });
  if (!reduction_.Failed()) reader_.Finish();
}

}  // namespace vantrel

namespace vantrel {

std::string_view RawFormatCode(RawFormat format) {
  switch (format) {
    case RawFormat::Rw5: return "RW5";
    case RawFormat::Gsi: return "GSI";
    case RawFormat::JobXml: return "JXL";
  }
  return "RW5";
}

std::optional<RawFormat> RawFormatFromCode(std::string_view code) {
  for (RawFormat format : {RawFormat::Rw5, RawFormat::Gsi, RawFormat::JobXml}) {
    std::string_view name = RawFormatCode(format);
    if (code.size() == name.size() &&
        std::equal(code.begin(), code.end(), name.begin(), [](char a, char b) { return std::toupper(a) == b; }))
      return format;
  }
  return std::nullopt;
}

std::optional<RawFormat> RecogniseRawFormat(std::string_view start) {
  if (start.starts_with(kByteOrderMark)) start.remove_prefix(kByteOrderMark.size());
  size_t first = start.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return std::nullopt;
  std::string_view line = start.substr(first, start.find_first_of("\r\n", first) - first);
  if (line.front() == '<') return RawFormat::JobXml;
  // GSI: a word index of two digits, four places of flags or block number,
  // then the sign.
  std::string_view word = line.front() == '*' ? line.substr(1) : line;
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  if (word.size() >= 8 && digit(word[0]) && digit(word[1]) && (word[6] == '+' || word[6] == '-') &&
      std::all_of(word.begin() + 2, word.begin() + 6, [&](char c) { return digit(c) || c == '.'; }))
    return RawFormat::Gsi;
  // RW5: a record type of two or three capitals before a comma, or a note.
  if (line.starts_with("--")) return RawFormat::Rw5;
  size_t comma = line.find(',');
  if ((comma == 2 || comma == 3) &&
      std::all_of(line.begin(), line.begin() + static_cast<long>(comma), [](char c) { return c >= 'A' && c <= 'Z'; }))
    return RawFormat::Rw5;
  return std::nullopt;
}

}  // namespace vantrel
