// The surveyor's answers: modal message boxes ("Info Only", "Warning"), the
// close question and the file-name dialog. The main window asks through a
// UserSide so tests can answer in their place.
#pragma once

#include <QString>
#include <functional>

#include "command/user_side.h"

namespace vantrel::ui {

class ModalDialogs : public UserSide {
 public:
  // The folder the file-name dialog's Browse... button opens in.
  std::function<QString()> browseFolder;

  void ShowReportLine(const std::string&) override {}
  void InfoBox(const std::string& message) override;
  bool AskYesNo(const std::string& message) override;
  SaveChoice AskSaveDiscardCancel(const std::string& message) override;
  std::string PromptText(const std::string& prompt) override;
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
