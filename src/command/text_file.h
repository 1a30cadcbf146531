// Whole text files for the file commands and buttons: saving so that a
// failed save never destroys the previous file, reading with CR LF or LF
// line ends, and the message the surveyor sees when either fails.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

class Session;

// The system's text for an error number (errno) of a failed file operation.
std::string SystemErrorText(int error);

// "<path>: <reason>"; a file without a name says so.
std::string FileErrorText(const std::string& path, const std::string& reason);

// Replaces the file with `text`: written to a temporary file beside it and
// renamed over it once complete. A file that cannot be created or replaced
// (a missing folder, a write-protected file) is reported with the system's
// reason, and the old file stays as it was.
bool SaveTextFile(Session& session, const std::string& path, std::string_view text);

// The whole file, or nothing after reporting why it cannot be read.
std::optional<std::string> ReadTextFile(Session& session, const std::string& path);

// The lines of a text, each without its CR LF or LF; a last line without a
// break counts, and a final break adds no empty line.
std::vector<std::string_view> TextLines(std::string_view text);

}  // namespace vantrel
