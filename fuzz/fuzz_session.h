// What every fuzz target shares: a user's side that shows nothing and
// answers every prompt with an empty name, the filter that keeps file
// commands inside the fuzzer's working folder, the session's preparation and
// the check that no point or register was left non-finite.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>

#include "command/session.h"
#include "scripted_user.h"

namespace vantrel::fuzz {

// Shows nothing, but every report line, message and question is checked:
// no NUL byte, and no "inf" or "nan" (any case: a number that is no number,
// formatted) unless the fuzzer typed those letters itself, as a message
// quoting a typed field may show them.
class QuietUser : public ScriptedUser {
 public:
  explicit QuietUser(std::string_view typed) : typed_(Lower(typed)) {}
  void ShowReportLine(const std::string& line) override { RequireSoundText(line); }
  void InfoBox(const std::string& message) override { RequireSoundText(message); }
  bool AskYesNo(const std::string& message) override {
    RequireSoundText(message);
    return true;
  }
  std::string PromptText(const std::string& prompt) override {
    RequireSoundText(prompt);
    return {};
  }

 protected:
  void RequireSoundText(std::string_view text) const {
    if (text.find('\0') != std::string_view::npos) std::abort();
    // A control character shown as "^N" must not join the letters after it.
    std::string lower = Lower(text);
    for (size_t caret = lower.find('^'); caret != std::string::npos; caret = lower.find('^', caret + 1))
      if (caret + 1 < lower.size()) lower[caret + 1] = ' ';
    for (const char* word : {"inf", "nan"})
      if (lower.find(word) != std::string::npos && typed_.find(word) == std::string::npos) std::abort();
  }

 private:
  static std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
  }

  std::string typed_;
};

// File names come only from the lines under the point and register file
// commands, and only a '/' can lead such a name out of the working folder
// (an absolute name, ".."). An input with a '/' anywhere after one of their
// codes is skipped; slashes elsewhere (divisions, comments) are fuzzed.
inline bool StaysInWorkingFolder(std::string_view input) {
  std::string upper = UpperCase(input);
  size_t firstFileCode = std::string::npos;
  for (const char* code : {"DCF", "RCF", "DDF", "DAF", "RDF", "RAF", "PNW", "PNR", "DXF", "LXW", "LXR", "RAW"})
    firstFileCode = std::min(firstFileCode, upper.find(code));
  return firstFileCode == std::string::npos || upper.find('/', firstFileCode) == std::string::npos;
}

// Relative file names resolve against the working folder, no project name
// is put in front of them, and the listed command codes are recognised.
inline void PrepareSession(Session& session, std::string_view codes) {
  session.files.ProgramFolder = ".";
  session.files.IODefault = false;
  ReadCommandReference(codes, session.reference);
}

// No command may leave NaN or infinity in a point or a register.
inline void RequireFiniteStores(const Session& session) {
  for (int n : session.points.Numbers()) {
    const Point& p = session.points[n];
    if (!std::isfinite(p.north) || !std::isfinite(p.east) || (p.elevation && !std::isfinite(*p.elevation)))
      std::abort();
  }

  for (const auto* table : {&session.registers.distance, &session.registers.angle})
    for (double v : *table)
      if (!std::isfinite(v)) std::abort();
}

}  // namespace vantrel::fuzz
