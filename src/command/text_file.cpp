#include "command/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#include "command/session.h"

namespace vantrel {
namespace {

// The mode of a new file, less the umask (applied by open).
constexpr mode_t kNewFileMode = 0644;

// Links followed before a save gives up, as the system's own limit.
constexpr int kMaxLinkHops = 40;

std::string Folder(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {};
  return path.substr(0, slash + 1);
}

// The file a save replaces: `path` itself, or the final target of the
// symbolic links it names (which need not exist yet).
std::optional<std::string> FinalTarget(std::string path, std::string& reason) {
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat status;
    if (lstat(path.c_str(), &status) != 0) {
      if (errno == ENOENT) return path;
      reason = SystemErrorText(errno);
      return std::nullopt;
    }
    if (!S_ISLNK(status.st_mode)) return path;
    std::string link(static_cast<size_t>(status.st_size > 0 ? status.st_size : 4096) + 1, '\0');
    ssize_t length = readlink(path.c_str(), link.data(), link.size());
    if (length < 0) {
      reason = SystemErrorText(errno);
      return std::nullopt;
    }
    link.resize(static_cast<size_t>(length));
    path = !link.empty() && link.front() == '/' ? link : Folder(path) + link;
  }
  reason = SystemErrorText(ELOOP);
  return std::nullopt;
}

// An existing target must be a regular file the user may write: a
// write-protected file is refused even where the folder would let it be
// replaced, and a device or folder is never replaced by a file.
std::optional<std::string> RefusesReplacing(const std::string& path, const struct stat& status) {
  if (S_ISDIR(status.st_mode)) return SystemErrorText(EISDIR);
  if (!S_ISREG(status.st_mode)) return std::string("not a regular file");
  if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return SystemErrorText(EACCES);
  if (access(path.c_str(), W_OK) != 0) return SystemErrorText(errno);
  return std::nullopt;
}

// A name for the temporary file beside the target, unlikely to meet
// another program's.
std::string TemporaryName(const std::string& path) {
  thread_local std::mt19937 generator{std::random_device{}()};
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(generator()));
  return path + ".saving-" + suffix;
}

// Writes all of `bytes`, going on after a partial write or a signal.
bool WriteAll(int descriptor, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = write(descriptor, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      if (written == 0) errno = ENOSPC;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

// The temporary file with the new content, complete on disk and closed.
std::optional<std::string> WriteTemporary(const std::string& temporary, std::string_view bytes,
                                          const struct stat* replaced) {
  int descriptor = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
  if (descriptor < 0) return SystemErrorText(errno);
  bool written = (replaced == nullptr || fchmod(descriptor, replaced->st_mode & 07777) == 0) &&
                 WriteAll(descriptor, bytes) && fsync(descriptor) == 0;
  int error = errno;
  if (close(descriptor) != 0 && written) {
    written = false;
    error = errno;
  }
  if (written) return std::nullopt;
  unlink(temporary.c_str());
  return SystemErrorText(error);
}

// A name the system can be given: not empty, and without a NUL, which the
// system would take as its end (so "x\0y" would save as "x").
std::optional<std::string> UnusableName(const std::string& path) {
  if (path.empty()) return std::string("no file name was given");
  if (path.find('\0') != std::string::npos) return std::string("a file name cannot hold control characters");
  return std::nullopt;
}

// The file a save writes (see FinalTarget), refused when it exists and
// cannot be replaced; `existing` holds its status, or a zero mode when the
// file is new.
std::optional<std::string> WritableTarget(const std::string& path, struct stat& existing, std::string& reason) {
  existing = {};
  if (std::optional<std::string> unusable = UnusableName(path)) {
    reason = *unusable;
    return std::nullopt;
  }
  std::optional<std::string> target = FinalTarget(path, reason);
  if (!target) return std::nullopt;
  if (stat(target->c_str(), &existing) != 0) {
    existing = {};
    return target;
  }
  if (std::optional<std::string> refused = RefusesReplacing(*target, existing)) {
    reason = *refused;
    return std::nullopt;
  }
  return target;
}

}  // namespace

std::string SystemErrorText(int error) { return error != 0 ? std::strerror(error) : "the file cannot be used"; }

std::string FileErrorText(const std::string& path, const std::string& reason) {
  if (path.empty()) return "No file name was given";
  return path + ": " + reason;
}

std::optional<std::string> ReplaceFile(const std::string& path, std::string_view bytes) {
  std::string reason;
  struct stat existing;
  std::optional<std::string> target = WritableTarget(path, existing, reason);
  if (!target) return reason;
  bool replacing = existing.st_mode != 0;

  std::string temporary = TemporaryName(*target);
  if (std::optional<std::string> failed = WriteTemporary(temporary, bytes, replacing ? &existing : nullptr))
    return failed;
  if (rename(temporary.c_str(), target->c_str()) != 0) {
    int error = errno;
    unlink(temporary.c_str());
    return SystemErrorText(error);
  }
  return std::nullopt;
}

bool SaveTextFile(Session& s, const std::string& path, std::string_view text) {
  std::optional<std::string> reason = ReplaceFile(path, text);
  if (reason) s.InfoBox(FileErrorText(path, *reason));
  return !reason;
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::string& reason, size_t limit) {
  PieceReader file;
  std::optional<std::string> refused = file.Open(path);
  std::string tooLarge = "larger than " + std::to_string(limit >> 20) + " MiB, more than the program reads";
  if (!refused && file.Size() > limit) refused = tooLarge;
  // A file that grows while it is read still stops at the limit.
  std::string content, piece;
  while (!refused) {
    refused = file.Next(piece);
    if (refused || piece.empty()) break;
    if (content.size() + piece.size() > limit) refused = tooLarge;
    else content += piece;
  }
  if (!refused) return content;
  reason = *refused;
  return std::nullopt;
}

std::optional<std::string> ReadTextFile(Session& s, const std::string& path, TextEncoding* encoding) {
  std::string reason;
  std::optional<std::string> content = ReadWholeFile(path, reason);
  if (!content) {
    s.InfoBox(FileErrorText(path, reason));
    return content;
  }
  TextEncoding found = DetectEncoding(*content);
  if (encoding != nullptr) *encoding = found;
  std::optional<std::string> text = DecodeText(*content, found);
  if (!text)
    s.InfoBox(FileErrorText(path, "this file is " + std::string(WideEncodingName(found)) +
                                      " and holds a broken character"));
  return text;
}

std::optional<std::string> PieceReader::Open(const std::string& path) {
  Close();
  if (std::optional<std::string> unusable = UnusableName(path)) return unusable;
  // Opened without waiting, so that a FIFO with no writer does not hold the
  // program; anything but a regular file is then refused before a read.
  descriptor_ = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  struct stat status;
  if (descriptor_ < 0 || fstat(descriptor_, &status) != 0) {
    std::string reason = SystemErrorText(errno);
    Close();
    return reason;
  }
  std::optional<std::string> refused;
  if (S_ISDIR(status.st_mode)) refused = SystemErrorText(EISDIR);
  else if (!S_ISREG(status.st_mode)) refused = "not a regular file";
  if (refused) Close();
  size_ = static_cast<size_t>(status.st_size);
  return refused;
}

std::optional<std::string> PieceReader::Next(std::string& piece) {
  constexpr size_t kPieceBytes = size_t{1} << 16;
  piece.resize(kPieceBytes);
  for (;;) {
    ssize_t n = read(descriptor_, piece.data(), piece.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      piece.clear();
      return SystemErrorText(errno);
    }
    piece.resize(static_cast<size_t>(n));
    return std::nullopt;
  }
}

void PieceReader::Close() {
  if (descriptor_ >= 0) close(descriptor_);
  descriptor_ = -1;
}

std::vector<std::string_view> TextLines(std::string_view text) {
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) text.remove_prefix(kByteOrderMark.size());
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

// The file is emptied in place rather than replaced, so that runs sharing
// one spool file keep each other's lines.
std::optional<std::string> AppendFile::Start(const std::string& path) {
  Close();
  std::string reason;
  struct stat existing;
  std::optional<std::string> target = WritableTarget(path, existing, reason);
  if (!target) return reason;
  descriptor_ = open(target->c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, kNewFileMode);
  if (descriptor_ < 0 || ftruncate(descriptor_, 0) != 0) {
    reason = SystemErrorText(errno);
    Close();
    return reason;
  }
  return std::nullopt;
}

// One write for the whole line; only a disk that fills mid-line splits it.
std::optional<std::string> AppendFile::Append(std::string_view bytes) {
  if (WriteAll(descriptor_, bytes)) return std::nullopt;
  return SystemErrorText(errno);
}

void AppendFile::Close() {
  if (descriptor_ >= 0) close(descriptor_);
  descriptor_ = -1;
}

}  // namespace vantrel
