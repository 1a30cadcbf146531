// The surveyor's answers: modal message boxes ("Info Only", "Warning"), the
// question before work is set aside, the file-name dialog and the system's
// file dialog. The main window asks through a UserSide so tests can answer
// in their place.
#pragma once

#include <QString>

#include "command/user_side.h"

namespace vantrel::ui {

// The file dialog's types for a file of `extension` ("cmd"): its own type
// first, then all files.
QString FileTypes(const std::string& extension);

class ModalDialogs : public UserSide {
 public:
  void ShowReportLine(const std::string&) override {}
  void InfoBox(const std::string& message) override;
  bool AskYesNo(const std::string& message) override;
  SaveChoice AskSaveDiscardCancel(const std::string& title, const std::string& message) override;
  std::string PromptText(const std::string& prompt) override;
  // The name typed in a box, or chosen with Browse… in the system's dialog
  // (Open for a file to read, Save for one to write); the focus comes back
  // to OK.
  std::string AskFileName(const FileQuestion& question) override;
  std::string ChooseFile(const FileQuestion& question) override;
};

// Answers for a run nobody watches: messages are written to standard error
// and every question is answered Yes.
class UnattendedDialogs : public UserSide {
 public:
  void ShowReportLine(const std::string&) override {}
  void InfoBox(const std::string& message) override;
  bool AskYesNo(const std::string& message) override;
  std::string PromptText(const std::string& prompt) override;
};

}  // namespace vantrel::ui
