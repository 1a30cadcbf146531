// Whole text files for the file commands and buttons: saving so that a
// failed save never destroys the previous file, reading with CR LF, LF or CR
// line ends, and the message the surveyor sees when either fails.
#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "command/code_page.h"

namespace vantrel {

class Session;

// The system's text for an error number (errno) of a failed file operation.
std::string SystemErrorText(int error);

// "<path>: <reason>"; a file without a name says so.
std::string FileErrorText(const std::string& path, const std::string& reason);

// Every file the program writes goes through here. The file is replaced by
// `bytes`: written to a temporary file in the target's folder, flushed to
// disk, closed and renamed over the target, with every step checked. A
// symbolic link is saved through: its final target is replaced and the link
// stays. A new file gets mode 0644 less the umask, a replaced one keeps its
// mode. Gives the reason when the file cannot be replaced (a missing folder,
// a write-protected file, a full disk, a device); the old file then stays as
// it was and no temporary file is left.
std::optional<std::string> ReplaceFile(const std::string& path, std::string_view bytes);

// ReplaceFile for the commands and buttons: a failure is reported as
// "<path>: <reason>".
bool SaveTextFile(Session& session, const std::string& path, std::string_view text);

// The largest file the program reads whole (point, register, command and
// reference files hold far less).
inline constexpr size_t kMaxReadBytes = size_t{64} << 20;

// Every file the program reads goes through here: the whole file, or the
// reason it cannot be read: a folder, anything else that is not a regular
// file (a FIFO, a device: "not a regular file", found without waiting for a
// writer), a file that passes `limit` bytes.
std::optional<std::string> ReadWholeFile(const std::string& path, std::string& reason,
                                         size_t limit = kMaxReadBytes);

// A whole text file as UTF-8, or nothing after reporting why it cannot be
// read: UTF-8 as it is, UTF-16 and UTF-32 decoded, any other text as
// Windows-1252 (see DetectEncoding). A broken wide file is reported as
// "<path>: this file is UTF-16 and holds a broken character". `encoding`,
// when given, receives how the file was written.
std::optional<std::string> ReadTextFile(Session& session, const std::string& path,
                                        TextEncoding* encoding = nullptr);

// A file read a piece at a time, the one way every file is opened for
// reading: without waiting, so that a FIFO with no writer does not hold the
// program, and refused when it is a folder or anything else that is not a
// regular file ("not a regular file"). Files the program streams rather
// than holds are read through it directly, of any size.
class PieceReader {
 public:
  PieceReader() = default;
  PieceReader(const PieceReader&) = delete;
  PieceReader& operator=(const PieceReader&) = delete;
  ~PieceReader() { Close(); }

  // Gives the reason when the file cannot be read.
  std::optional<std::string> Open(const std::string& path);
  // The next piece of the file into `piece`, empty at its end; the reason
  // when the read fails.
  std::optional<std::string> Next(std::string& piece);
  // The file's size when it was opened.
  size_t Size() const { return size_; }
  void Close();

 private:
  int descriptor_ = -1;
  size_t size_ = 0;
};

// The lines of a text, each without its CR LF, LF or CR; a last line without
// a break counts, and a final break adds no empty line. A UTF-8 byte-order
// mark at the start of the text is skipped.
std::vector<std::string_view> TextLines(std::string_view text);

// The UTF-8 byte-order mark some editors put at the start of a text file.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// A file that grows by whole lines, each added with one write so that two
// programs appending to the same file never mix within a line.
class AppendFile {
 public:
  AppendFile() = default;
  AppendFile(const AppendFile&) = delete;
  AppendFile& operator=(const AppendFile&) = delete;
  ~AppendFile() { Close(); }

  // Starts the file empty and opens it for appending; the target is found
  // and checked as ReplaceFile does.
  std::optional<std::string> Start(const std::string& path);
  std::optional<std::string> Append(std::string_view bytes);
  bool IsOpen() const { return descriptor_ >= 0; }
  void Close();

 private:
  int descriptor_ = -1;
};

}  // namespace vantrel

namespace vantrel {

// Cuts a text fed in pieces into lines: a line ends at CR LF, a lone LF or
// a lone CR, a CR LF split between two pieces being one end. A line longer
// than `limit` keeps only its first `limit` characters and is marked
// overlong, so that a file without line ends cannot fill the memory.
class LineCutter {
 public:
  explicit LineCutter(size_t limit = std::string::npos) : limit_(limit) {}

  // Calls `take(line, overlong, next)` for each line the piece completes,
  // `next` being where the piece goes on after the line's end; `take`
  // returns false to stop, and the rest of the piece is not cut.
  template <class Take>
  void Feed(std::string_view piece, Take&& take) {
    size_t position = afterReturn_ && !piece.empty() && piece[0] == '\n' ? 1 : 0;
    if (!piece.empty()) afterReturn_ = false;
    // Each of the two breaks is searched for only once the lines have
    // passed the last one found, so the piece is read once for each.
    size_t nextFeed = piece.find('\n', position), nextReturn = piece.find('\r', position);
    while (position < piece.size()) {
      if (nextFeed < position) nextFeed = piece.find('\n', position);
      if (nextReturn < position) nextReturn = piece.find('\r', position);
      size_t end = std::min({nextFeed, nextReturn, piece.size()});
      if (end == piece.size()) {
        Keep(piece.substr(position));
        return;
      }
      size_t next = end + 1;
      if (piece[end] == '\r') {
        if (next < piece.size() && piece[next] == '\n') ++next;
        else if (next == piece.size()) afterReturn_ = true;
      }
      std::string_view line = piece.substr(position, end - position);
      bool overlong = line.size() > limit_;
      position = next;
      bool going;
      if (partial_.empty() && !overlong_) {
        going = take(overlong ? line.substr(0, limit_) : line, overlong, next);
      } else {
        Keep(line);
        going = take(std::string_view(partial_), overlong_, next);
        partial_.clear();
        overlong_ = false;
      }
      if (!going) return;
    }
  }

  // The last line when no line end closed it (empty when there is none).
  template <class Take>
  void Finish(Take&& take) {
    if (!partial_.empty() || overlong_) take(std::string_view(partial_), overlong_, size_t{0});
    Drop();
  }

  // Forgets the line no line end closed.
  void Drop() {
    partial_.clear();
    overlong_ = false;
  }

 private:
  void Keep(std::string_view text) {
    size_t room = partial_.size() < limit_ ? limit_ - partial_.size() : 0;
    if (text.size() > room) overlong_ = true;
    partial_.append(text.substr(0, room));
  }

  size_t limit_;
  std::string partial_;
  bool overlong_ = false;
  bool afterReturn_ = false;
};

}  // namespace vantrel
