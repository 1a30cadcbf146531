#include "command/reference.h"

#include <filesystem>
#include <fstream>

#include "command/text_file.h"

#include "command/installation.h"

namespace vantrel {
namespace {

// Characters `first`..`last` (1-based, inclusive) of a line, trailing blanks
// removed; characters beyond the end of a short line are empty.
std::string Columns(std::string_view line, size_t first, size_t last = std::string_view::npos) {
  if (line.size() < first) return {};
  std::string_view piece = line.substr(first - 1, last == std::string_view::npos ? last : last - first + 1);
  size_t end = piece.find_last_not_of(' ');
  return std::string(end == std::string_view::npos ? std::string_view{} : piece.substr(0, end + 1));
}

}  // namespace

int CommandReference::Find(std::string_view code) const {
  // Fast path: the row found last for a code with this first character,
  // when it still holds the code.
  int& last = lastFound_[code.empty() ? 0 : static_cast<unsigned char>(code[0])];
  if (last > 0 && last <= ReferenceCount && rows[last].Code == code) return last;
  // General path: the first letter is compared inline before the whole
  // code, so most rows cost one comparison.
  for (int k = 1; k <= ReferenceCount; ++k) {
    const std::string& listed = rows[k].Code;
    if (!listed.empty() && !code.empty() && listed[0] != code[0]) continue;
    if (listed == code) return last = k;
  }
  return 0;
}

std::string ReadCommandReference(std::string_view text, CommandReference& table) {
  table = CommandReference{};
  int count = 0;
  int ignoredRows = 0;
  for (std::string_view line : TextLines(text)) {
    if (line.substr(0, 3) == "   ") {
      if (ignoredRows == 0) table.rows[count].Usage += Columns(line, 20, 76);
      continue;
    }
    if (count == kMaxReferenceRows) {
      ++ignoredRows;
      continue;
    }
    ReferenceRow& row = table.rows[++count];
    row.Code = Columns(line, 1, 4);
    row.FunctionName = Columns(line, 6, 19);
    row.Usage = Columns(line, 20, 76);
    row.Description = Columns(line, 77);
  }
  table.ReferenceCount = count;
  if (ignoredRows > 0)
    return "The command reference holds more than " + std::to_string(kMaxReferenceRows) +
           " commands; " + std::to_string(ignoredRows) + " further row(s) were ignored";
  return {};
}

std::optional<std::string> ReadReferenceFile(const std::string& path, std::string& reason) {
  std::optional<std::string> text = ReadWholeFile(path, reason);
  if (text && TextLines(*text).empty()) {
    reason = "the file is empty";
    return std::nullopt;
  }
  return text;
}

std::string LoadCommandReference(const std::string& path, CommandReference& table) {
  table = CommandReference{};
  std::string reason;
  std::optional<std::string> text = ReadReferenceFile(path, reason);
  if (!text) return "Cannot read the command reference " + path + ": " + reason;
  return ReadCommandReference(*text, table);
}

std::string InstalledReferenceFile(const std::string& executableFolder) {
  return InstalledShareFile(executableFolder, "vantrel/Vantrel.txt");
}

std::string ChooseReferenceFile(const std::string& workingFolder, const std::string& executableFolder) {
  std::string working = (std::filesystem::path(workingFolder) / "Vantrel.txt").string();
  std::string beside = (std::filesystem::path(executableFolder) / "Vantrel.txt").string();
  for (const std::string& candidate : {working, beside, InstalledReferenceFile(executableFolder)}) {
    std::error_code error;
    if (std::filesystem::is_regular_file(candidate, error) && std::ifstream(candidate, std::ios::binary))
      return candidate;
  }
  return working;
}

}  // namespace vantrel
