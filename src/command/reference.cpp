#include "command/reference.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

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
  for (int k = 1; k <= ReferenceCount; ++k)
    if (rows[k].Code == code) return k;
  return 0;
}

std::string ReadCommandReference(std::string_view text, CommandReference& table) {
  table = CommandReference{};
  int count = 0;
  int ignoredRows = 0;
  size_t position = 0;
  while (position < text.size()) {
    size_t end = text.find('\n', position);
    std::string_view line = text.substr(position, end == std::string_view::npos ? end : end - position);
    position = end == std::string_view::npos ? text.size() : end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

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

std::string CommandReferencePath(const std::string& workingFolder, const std::string& programFolder) {
  namespace fs = std::filesystem;
  const fs::path candidates[] = {fs::path(workingFolder) / "Vantrel.txt", fs::path(programFolder) / "Vantrel.txt",
                                 fs::path(programFolder) / ".." / "share" / "vantrel" / "Vantrel.txt"};
  std::error_code ignored;
  for (const fs::path& path : candidates)
    if (fs::is_regular_file(path, ignored)) return path.string();
  return candidates[1].string();
}

std::string LoadCommandReference(const std::string& path, CommandReference& table) {
  table = CommandReference{};
  std::ifstream file(path, std::ios::binary);
  if (!file) return "Cannot read the command reference " + path + ": " + std::strerror(errno);
  std::ostringstream content;
  content << file.rdbuf();
  return ReadCommandReference(content.str(), table);
}

}  // namespace vantrel
