#include "command/text_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "command/session.h"

namespace vantrel {
namespace fs = std::filesystem;
namespace {

// The existing target must be one the user may write: a write-protected
// file is refused even where the folder would let it be replaced.
std::optional<std::string> RefusesWriting(const std::string& path, const fs::file_status& status) {
  if (fs::is_directory(status)) return SystemErrorText(EISDIR);
  constexpr fs::perms kWriteBits = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  if ((status.permissions() & kWriteBits) == fs::perms::none) return SystemErrorText(EACCES);
  errno = 0;
  std::ofstream probe(path, std::ios::binary | std::ios::app);
  if (!probe) return SystemErrorText(errno);
  return std::nullopt;
}

// A name for the temporary file beside the target, unlikely to meet
// another program's.
std::string TemporaryName(const std::string& path) {
  static std::mt19937 generator{std::random_device{}()};
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(generator()));
  return path + ".saving-" + suffix;
}

}  // namespace

std::string SystemErrorText(int error) { return error != 0 ? std::strerror(error) : "the file cannot be used"; }

std::string FileErrorText(const std::string& path, const std::string& reason) {
  if (path.empty()) return "No file name was given";
  return path + ": " + reason;
}

bool SaveTextFile(Session& s, const std::string& path, std::string_view text) {
  auto refuse = [&](const std::string& reason) {
    s.InfoBox(FileErrorText(path, reason));
    return false;
  };
  if (path.empty()) return refuse("");

  std::error_code ignored;
  fs::file_status target = fs::status(path, ignored);
  bool replacing = fs::exists(target);
  if (replacing)
    if (std::optional<std::string> reason = RefusesWriting(path, target)) return refuse(*reason);

  std::string temporary = TemporaryName(path);
  errno = 0;
  std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
  if (!out) return refuse(SystemErrorText(errno));
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  if (!out) {
    std::string reason = SystemErrorText(errno);
    fs::remove(temporary, ignored);
    return refuse(reason);
  }
  if (replacing) fs::permissions(temporary, target.permissions(), ignored);
  std::error_code renameError;
  fs::rename(temporary, path, renameError);
  if (renameError) {
    fs::remove(temporary, ignored);
    return refuse(renameError.message());
  }
  return true;
}

std::optional<std::string> ReadTextFile(Session& s, const std::string& path) {
  auto refuse = [&](const std::string& reason) {
    s.InfoBox(FileErrorText(path, reason));
    return std::nullopt;
  };
  if (path.empty()) return refuse("");
  std::error_code ignored;
  if (fs::is_directory(path, ignored)) return refuse(SystemErrorText(EISDIR));
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) return refuse(SystemErrorText(errno));
  std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return refuse(SystemErrorText(errno));
  return content;
}

std::vector<std::string_view> TextLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t feed = text.find('\n', start);
    size_t end = feed == std::string_view::npos ? text.size() : feed;
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (feed == std::string_view::npos) break;
    start = feed + 1;
  }
  return lines;
}

}  // namespace vantrel
