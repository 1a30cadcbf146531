// The user's guide shows real runs: every "vantrel" block of docs/guide.md
// followed by a "report" block is run in a fresh session and must give that
// report exactly; the walk-through's "job" and "job-report" blocks must be
// unbroken pieces of the example job and of its pinned report. A walk-through
// of another example job names it: "job NAME", "job-report NAME" and
// "job-file NAME FILE" blocks are unbroken pieces of examples/NAME.cmd, of
// its report and of the file FILE as the job leaves it, the job run here in
// a folder holding the examples' data files. After a deliberate change of a
// report, scripts/update-guide refreshes the "report" blocks.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "command/session.h"
#include "scripted_user.h"
#include "temp_folder.h"
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

struct ExampleRun {
  std::vector<std::string> transcript;
  std::map<std::string, std::vector<std::string>> files;  // the folder's files after the run, by name
};

// Runs a pane as the examples are run: questions answered as the report
// shows them (Yes when it shows none), file names typed as its prompts show
// them, files kept in a folder of its own that holds `dataFiles` at the
// start.
ExampleRun RunInFolder(const std::vector<std::string>& pane, const std::vector<std::string>& report,
                const std::vector<fs::path>& dataFiles = {}) {
  ScriptedUser user;
  for (const std::string& line : report) {
    size_t arrow = line.rfind(" -> ");
    if (arrow == std::string::npos) continue;
    std::string answer = line.substr(arrow + 4);
    if (line.rfind("Prompt: ", 0) == 0) user.promptAnswers.push_back(answer);
    else user.answers.push_back(answer != "No");
  }
  TempFolder temp("vantrel-guide-example");
  const fs::path& folder = temp.path();
  for (const fs::path& file : dataFiles) fs::copy_file(file, folder / file.filename());
  Session session(user);
  session.files.ProgramFolder = folder.string();
  EXPECT_EQ(LoadCommandReference(VANTREL_REFERENCE_FILE, session.reference), "");
  std::string text;
  for (const std::string& line : pane) text += line + "\r\n";
  session.RunBatch(text);

  ExampleRun run;
  for (const auto& entry : fs::directory_iterator(folder))
    run.files[entry.path().filename().string()] = Lines(ReadFile(entry.path()));
  for (const std::string& entry : user.transcript)
    for (const std::string& line : Lines(entry + "\n")) run.transcript.push_back(line);
  return run;
}

// The example jobs' data files: every file of examples/ but the jobs.
std::vector<fs::path> ExampleDataFiles() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(kSourceFolder / "examples"))
    if (entry.is_regular_file() && entry.path().extension() != ".cmd") files.push_back(entry.path());
  return files;
}

// An example of the guide runs beside the examples' data files, as the
// reader who runs it from examples/ would.
std::vector<std::string> RunExample(const std::vector<std::string>& pane, const std::vector<std::string>& report) {
  return RunInFolder(pane, report, ExampleDataFiles()).transcript;
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

TEST_F(GuideTest, WalkThroughsOfOtherJobsQuoteTheirRun) {
  std::map<std::string, std::vector<std::string>> jobs;
  std::map<std::string, ExampleRun> runs;
  int pieces = 0;
  for (const Block& block : blocks) {
    std::istringstream words(block.kind);
    std::string kind, name, file;
    words >> kind >> name >> file;
    if ((kind != "job" && kind != "job-report" && kind != "job-file") || name.empty()) continue;
    ++pieces;
    if (!jobs.count(name)) {
      jobs[name] = Lines(ReadFile(kSourceFolder / "examples" / (name + ".cmd")));
      ASSERT_FALSE(jobs[name].empty()) << "examples/" << name << ".cmd";
      runs[name] = RunInFolder(jobs[name], {}, ExampleDataFiles());
    }
    const std::vector<std::string>& whole = kind == "job"          ? jobs[name]
                                            : kind == "job-report" ? runs[name].transcript
                                                                   : runs[name].files[file];
    EXPECT_TRUE(IsPieceOf(block.lines, whole)) << "the " << block.kind << " block at line " << block.line
                                               << " of docs/guide.md";
  }
  // The chapter "Exchanging data": the collector's file, the job in four
  // steps, three reports and the two files written that it quotes.
  EXPECT_GE(pieces, 10);
}

}  // namespace
}  // namespace vantrel
