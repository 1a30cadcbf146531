// The session file: everything a surveyor's day builds up in the window —
// the point store with descriptions and elevations, both register banks, the input pane, the option boxes,
// the project and spool names and the geographic reference — as one
// readable text file. The first line names the format and its version, so a
// later version can add entries and still read the files of this one.
#pragma once

#include <string>
#include <string_view>

namespace vantrel {

class Session;

inline constexpr int kSessionFileVersion = 3;  // 2: the coordinate system (GCS), 3: its US survey feet

// The file's text for the session and the input pane's text. Numbers are
// written so that they read back to the same bits.
std::string SessionFileText(const Session& session, std::string_view inputPane);

// Reads a session file's text into the session and `inputPane`. Returns an
// empty string, or the message that says why the text is no session file of
// a version this program reads; then the session and the pane are
// untouched. Points and registers the file does not list are cleared.
std::string ReadSessionFile(std::string_view text, Session& session, std::string& inputPane);

}  // namespace vantrel
