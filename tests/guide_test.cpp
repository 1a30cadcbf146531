// The user's guide shows real runs: every "vantrel" block of docs/guide.md
// followed by a "report" block is run in a fresh session and must give that
// report exactly; the walk-through's "job" and "job-report" blocks must be
// unbroken pieces of the example job and of its pinned report. After a
// deliberate change of a report, scripts/update-guide refreshes them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "command/session.h"
#include "scripted_user.h"
#include "text_files.h"

namespace fs = std::filesystem;

namespace vantrel {
namespace {

const fs::path kSourceFolder = fs::path(VANTREL_SCENARIO_DIR).parent_path().parent_path();

struct Block {
  std::string kind;  // the word after the opening fence
  std::vector<std::string> lines;
  size_t line;  // where it starts in the guide, for the failure message
};

std::vector<Block> FencedBlocks(const std::vector<std::string>& guide) {
  std::vector<Block> blocks;
  for (size_t i = 0; i < guide.size(); ++i) {
    if (guide[i].rfind("```", 0) != 0) continue;
    Block block{guide[i].substr(3), {}, i + 1};
    for (++i; i < guide.size() && guide[i] != "```"; ++i) block.lines.push_back(guide[i]);
    blocks.push_back(block);
  }
  return blocks;
}

// Runs a pane as the examples are run: questions answered as the report
// shows them, file names typed as its prompts show them, files kept in a
// folder of its own.
std::vector<std::string> RunExample(const std::vector<std::string>& pane, const std::vector<std::string>& report) {
  ScriptedUser user;
  for (const std::string& line : report) {
    size_t arrow = line.rfind(" -> ");
    if (arrow == std::string::npos) continue;
    std::string answer = line.substr(arrow + 4);
    if (line.rfind("Prompt: ", 0) == 0) user.promptAnswers.push_back(answer);
    else user.answers.push_back(answer != "No");
  }
  fs::path folder = fs::temp_directory_path() / "vantrel-guide-example";
  fs::remove_all(folder);
  fs::create_directories(folder);
  Session session(user);
  session.files.ProgramFolder = folder.string();
  EXPECT_EQ(LoadCommandReference(VANTREL_REFERENCE_FILE, session.reference), "");
  std::string text;
  for (const std::string& line : pane) text += line + "\r\n";
  session.RunBatch(text);
  fs::remove_all(folder);

  std::vector<std::string> transcript;
  for (const std::string& entry : user.transcript)
    for (const std::string& line : Lines(entry + "\n")) transcript.push_back(line);
  return transcript;
}

bool IsPieceOf(const std::vector<std::string>& piece, const std::vector<std::string>& whole) {
  return std::search(whole.begin(), whole.end(), piece.begin(), piece.end()) != whole.end();
}

class GuideTest : public ::testing::Test {
 protected:
  std::vector<Block> blocks = FencedBlocks(Lines(ReadFile(kSourceFolder / "docs" / "guide.md")));
};

TEST_F(GuideTest, EveryExampleGivesTheReportShown) {
  int examples = 0;
  for (size_t i = 0; i + 1 < blocks.size(); ++i) {
    if (blocks[i].kind != "vantrel" || blocks[i + 1].kind != "report") continue;
    ++examples;
    EXPECT_EQ(RunExample(blocks[i].lines, blocks[i + 1].lines), blocks[i + 1].lines)
        << "the example at line " << blocks[i].line << " of docs/guide.md";
  }
  // Every command has at least one example.
  EXPECT_GE(examples, 38);
}

TEST_F(GuideTest, WalkThroughQuotesTheExampleJob) {
  std::vector<std::string> job = Lines(ReadFile(kSourceFolder / "examples" / "subdivision.cmd"));
  fs::path pinned = fs::path(VANTREL_SCENARIO_DIR) / "example_subdivision";
  EXPECT_EQ(job, Lines(ReadFile(pinned.string() + ".cmd"))) << "the scenario is a copy of examples/subdivision.cmd";
  std::vector<std::string> report = Lines(ReadFile(pinned.string() + ".out"));
  int pieces = 0;
  for (const Block& block : blocks) {
    if (block.kind != "job" && block.kind != "job-report") continue;
    ++pieces;
    EXPECT_TRUE(IsPieceOf(block.lines, block.kind == "job" ? job : report))
        << "the " << block.kind << " block at line " << block.line << " of docs/guide.md";
  }
  EXPECT_GE(pieces, 10);
}

}  // namespace
}  // namespace vantrel
