#include "store/session_document.h"

#include <filesystem>

#include "command/files.h"
#include "command/session.h"
#include "command/text_file.h"
#include "store/session_file.h"

namespace vantrel {

SessionDocument::SessionDocument(Session& session) : session_(session) { MarkSaved({}); }

std::string SessionDocument::DisplayName() const {
  if (!fileName_.empty()) return std::filesystem::path(fileName_).stem().string();
  return std::string(TrimBlanks(session_.files.ProjectName));
}

bool SessionDocument::HasUnsavedWork(std::string_view pane) const {
  return pane != savedPane_ || !(session_.points == savedPoints_) || !(session_.registers == savedRegisters_);
}

void SessionDocument::MarkSaved(std::string_view pane) {
  savedPoints_ = session_.points;
  savedRegisters_ = session_.registers;
  savedPane_ = pane;
}

bool SessionDocument::Save(std::string_view pane, bool askName) {
  std::string name = fileName_;
  if (name.empty() || askName) name = PromptFileName(session_, "", kSessionExtension, FileUse::Write);
  return !name.empty() && SaveTo(name, pane);
}

bool SessionDocument::SaveTo(const std::string& name, std::string_view pane) {
  if (!SaveTextFile(session_, name, SessionFileText(session_, pane))) return false;
  fileName_ = name;
  MarkSaved(pane);
  return true;
}

std::optional<std::string> SessionDocument::Open(const std::string& name) {
  std::optional<std::string> text = ReadTextFile(session_, name);
  if (!text) return std::nullopt;
  std::optional<std::string> pane = ReadInto(*text, name);
  if (!pane) return std::nullopt;
  fileName_ = name;
  MarkSaved(*pane);
  return pane;
}

bool SessionDocument::MaySetAside(std::string_view pane, SetAside reason) {
  if (!HasUnsavedWork(pane)) return true;
  bool closing = reason == SetAside::Closing;
  switch (session_.user.AskSaveDiscardCancel(
      closing ? "Close Vantrel" : "Open Session",
      closing ? "Save the session before closing?" : "Save the session before opening another?")) {
    case UserSide::SaveChoice::Save:
      return Save(pane, false);
    case UserSide::SaveChoice::Discard:
      return true;
    case UserSide::SaveChoice::Cancel:
      break;
  }
  return false;
}

std::string SessionDocument::RecoveryText(std::string_view pane) const { return SessionFileText(session_, pane); }

std::optional<std::string> SessionDocument::Restore(std::string_view text, const std::string& copyName) {
  return ReadInto(text, copyName);
}

std::optional<std::string> SessionDocument::ReadInto(std::string_view text, const std::string& name) {
  std::string pane;
  std::string problem = ReadSessionFile(text, session_, pane);
  if (!problem.empty()) {
    session_.InfoBox(FileErrorText(name, problem));
    return std::nullopt;
  }
  return pane;
}

}  // namespace vantrel
