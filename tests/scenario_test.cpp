// Scenario files: NAME.cmd is an input pane, NAME.out the exact transcript of
// the run — report lines as written, "Info Only: ..." for messages,
// "Warning: ... -> Yes|No" for questions (the answer given), "Prompt: ..."
// for file-name prompts ("Prompt: ... -> NAME" types NAME). Optional NAME.opt
// sets window options, one per line: "--project NAME", "--no-io-default",
// "--no-display", "--spool NAME". Files in a folder NAME.dir are copied into
// the program folder before the run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "command/session.h"
#include "scripted_user.h"
#include "temp_folder.h"
#include "text_files.h"

namespace fs = std::filesystem;

namespace vantrel {
namespace {

std::string AfterArrow(const std::string& line) {
  size_t arrow = line.rfind(" -> ");
  return arrow == std::string::npos ? std::string() : line.substr(arrow + 4);
}

std::vector<std::string> ScenarioNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(VANTREL_SCENARIO_DIR))
    if (entry.path().extension() == ".cmd") names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

class Scenario : public ::testing::TestWithParam<std::string> {};

TEST_P(Scenario, TranscriptMatches) {
  fs::path base = fs::path(VANTREL_SCENARIO_DIR) / GetParam();
  std::vector<std::string> expected = Lines(ReadFile(base.string() + ".out"));

  ScriptedUser user;
  for (size_t i = 0; i < expected.size(); ++i) {
    // A question with line breaks spans several lines; its answer follows
    // the arrow on its last line.
    if (expected[i].rfind("Warning: ", 0) == 0) {
      size_t last = i;
      while (last + 1 < expected.size() && expected[last].find(" -> ") == std::string::npos) ++last;
      user.answers.push_back(AfterArrow(expected[last]) != "No");
    }
    if (expected[i].rfind("Prompt: ", 0) == 0) user.promptAnswers.push_back(AfterArrow(expected[i]));
  }

  TempFolder temp("vantrel-scenario-" + GetParam());
  const fs::path& folder = temp.path();
  if (fs::is_directory(base.string() + ".dir"))
    fs::copy(base.string() + ".dir", folder, fs::copy_options::recursive);

  Session session(user);
  session.files.ProgramFolder = folder.string();
  for (const std::string& option : Lines(ReadFile(base.string() + ".opt"))) {
    std::string value = option.find(' ') == std::string::npos ? "" : option.substr(option.find(' ') + 1);
    if (option.rfind("--project", 0) == 0) session.files.ProjectName = value;
    if (option == "--no-io-default") session.files.IODefault = false;
    if (option == "--no-display") session.Display = false;
    if (option.rfind("--spool", 0) == 0) {
      session.files.SpoolOn = true;
      session.files.SpoolFileText = value;
    }
  }
  ASSERT_EQ(LoadCommandReference(VANTREL_REFERENCE_FILE, session.reference), "");

  session.RunBatch(ReadFile(base.string() + ".cmd"));

  // A message with line breaks takes one line of the file per line.
  std::vector<std::string> transcript;
  for (const std::string& entry : user.transcript) {
    size_t start = 0;
    for (size_t end; (end = entry.find('\n', start)) != std::string::npos; start = end + 1)
      transcript.push_back(entry.substr(start, end - start));
    transcript.push_back(entry.substr(start));
  }

  std::ostringstream diff;
  size_t count = std::max(expected.size(), transcript.size());
  for (size_t i = 0; i < count; ++i) {
    std::string want = i < expected.size() ? expected[i] : "<nothing>";
    std::string got = i < transcript.size() ? transcript[i] : "<nothing>";
    if (want != got) diff << "line " << i + 1 << "\n  expected [" << want << "]\n  got      [" << got << "]\n";
  }
  EXPECT_TRUE(diff.str().empty()) << GetParam() << ":\n" << diff.str();
}

INSTANTIATE_TEST_SUITE_P(Files, Scenario, ::testing::ValuesIn(ScenarioNames()),
                         [](const auto& info) {
                           std::string name = info.param;
                           for (char& c : name)
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

}  // namespace
}  // namespace vantrel
