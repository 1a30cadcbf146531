// The session as a document of the window: the file it was last saved to or
// opened from, whether the points, registers or input pane changed since,
// saving and opening through the file-name rule and the program's one write
// path, the question before work is set aside, and the text of the recovery
// copy. Nothing here needs the window: the window only wires it to its menus.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "store/point_store.h"

namespace vantrel {

class Session;

inline constexpr std::string_view kSessionExtension = "vsn";

class SessionDocument {
 public:
  explicit SessionDocument(Session& session);

  // The file Save writes to without asking; empty until the session is
  // saved or opened.
  const std::string& FileName() const { return fileName_; }
  // The name the window's title shows: the session file's name without its
  // folder and extension, else the project name, else nothing.
  std::string DisplayName() const;

  // Points, registers or the input pane changed since the session was last
  // saved, opened or started (the pane also counts as saved when exported,
  // or imported into an empty pane).
  bool HasUnsavedWork(std::string_view pane) const;
  void MarkSaved(std::string_view pane);
  void MarkPaneSaved(std::string_view pane) { savedPane_ = pane; }

  // Saves to the session's file, or to the file the file-name rule gives
  // when it has none yet (or `askName`: Save Session As). False when no name
  // was given or the file could not be written (told).
  bool Save(std::string_view pane, bool askName);
  // Saves to `name`, a complete path. False when it could not be written
  // (told).
  bool SaveTo(const std::string& name, std::string_view pane);
  // Reads the session file `name` into the session: the input pane's text,
  // or nothing when it cannot be read or is no session file of a version
  // this program reads (told; the session is untouched).
  std::optional<std::string> Open(const std::string& name);

  // Why the work may be set aside: the window closes, or another session
  // replaces this one.
  enum class SetAside { Closing, Opening };
  // Asks "Save the session before …?" when there is unsaved work: true when
  // it was saved or may be discarded, false when the surveyor cancelled or
  // the save failed.
  bool MaySetAside(std::string_view pane, SetAside reason);

  // The recovery copy: due when the pane differs from the last copy's (a
  // run always writes one); the text to write, and the copy written.
  bool RecoveryDue(std::string_view pane) const { return pane != recoveredPane_; }
  std::string RecoveryText(std::string_view pane) const;
  void RecoveryWritten(std::string_view pane) { recoveredPane_ = pane; }
  // A recovery copy's text read back into the session: the pane's text, or
  // nothing after telling why (`copyName` names the copy in the message).
  std::optional<std::string> Restore(std::string_view text, const std::string& copyName);

 private:
  std::optional<std::string> ReadInto(std::string_view text, const std::string& name);

  Session& session_;
  std::string fileName_;
  // The point store, the registers and the pane as last saved, opened or
  // started.
  PointStore savedPoints_;
  RegisterBanks savedRegisters_;
  std::string savedPane_;
  std::string recoveredPane_;  // the pane of the last recovery copy
};

}  // namespace vantrel
