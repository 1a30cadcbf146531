// A user's side for tests: records report lines and messages as one
// transcript, answers questions and file-name prompts from queues.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "command/user_side.h"

namespace vantrel {

class ScriptedUser : public UserSide {
 public:
  std::vector<std::string> transcript;  // report lines and messages, in order
  std::deque<bool> answers;             // AskYesNo answers; Yes when empty
  std::deque<std::string> promptAnswers;  // PromptText answers; empty when none
  int printerDocumentsEnded = 0;

  void ShowReportLine(const std::string& line) override { transcript.push_back(line); }
  void InfoBox(const std::string& message) override { transcript.push_back("Info Only: " + message); }
  bool AskYesNo(const std::string& message) override {
    bool yes = answers.empty() || answers.front();
    if (!answers.empty()) answers.pop_front();
    transcript.push_back("Warning: " + message + (yes ? " -> Yes" : " -> No"));
    return yes;
  }
  std::string PromptText(const std::string& prompt) override {
    std::string answer;
    if (!promptAnswers.empty()) {
      answer = promptAnswers.front();
      promptAnswers.pop_front();
    }
    transcript.push_back("Prompt: " + prompt + (answer.empty() ? "" : " -> " + answer));
    return answer;
  }
  void EndPrintDocument() override { ++printerDocumentsEnded; }
};

}  // namespace vantrel
