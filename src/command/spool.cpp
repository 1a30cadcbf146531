// The spool file: a copy of every report line, without the pane's
// indentation, while "Spool" is set.
#include "command/files.h"
#include "command/session.h"
#include "command/text_file.h"

namespace vantrel {
namespace {

constexpr const char* kSpoolingWaits = " (report lines are not spooled until a new spool file name is entered)";

// Reported once: later lines are not spooled until a new name is entered.
void SpoolingFails(Session& s, const std::string& message) {
  SpoolState& spool = s.spool;
  spool.file.Close();
  spool.SpoolOpen = false;
  spool.SpoolFailed = true;
  s.InfoBox(message + kSpoolingWaits);
}

// Resolves the name on first use and opens the file, truncating it.
bool OpenSpoolFile(Session& s) {
  SpoolState& spool = s.spool;
  if (spool.SpoolFileName.empty()) spool.SpoolFileName = PromptFileName(s, s.files.SpoolFileText, "txt", FileUse::Write);
  if (spool.SpoolFileName.empty()) {
    SpoolingFails(s, "No spool file name was given");
    return false;
  }
  if (std::optional<std::string> reason = spool.file.Start(spool.SpoolFileName)) {
    SpoolingFails(s, FileErrorText(spool.SpoolFileName, *reason));
    return false;
  }
  spool.SpoolOpen = true;
  return true;
}

}  // namespace

void SpoolLine(Session& s, const std::string& line) {
  SpoolState& spool = s.spool;
  if (!s.files.SpoolOn || spool.SpoolFailed) return;
  if (!spool.SpoolOpen && !OpenSpoolFile(s)) return;
  // Written per line, so the file is complete whenever the surveyor looks.
  if (std::optional<std::string> reason = spool.file.Append(line + "\r\n"))
    SpoolingFails(s, FileErrorText(spool.SpoolFileName, *reason));
}

void ChangeSpoolName(Session& s) {
  if (s.files.SpoolFileText.empty()) return;
  SpoolState& spool = s.spool;
  std::string resolved = PromptFileName(s, s.files.SpoolFileText, "txt", FileUse::Write);
  spool.SpoolFailed = false;
  if (resolved == spool.SpoolFileName) return;
  spool.file.Close();
  spool.SpoolOpen = false;
  spool.SpoolFileName = resolved;
}

}  // namespace vantrel
