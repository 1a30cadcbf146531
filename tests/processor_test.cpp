// The command processor: code lines, fields and their carry-over, comment
// blocks, the field limits, the usage text on Enter and the reference file.
#include <gtest/gtest.h>

#include "command/dispatch.h"
#include "session_fixture.h"

namespace vantrel {
namespace {

using Lines = std::vector<std::string>;

class ProcessorTest : public SessionTest {
 protected:
  std::vector<std::string> Held() const {
    std::vector<std::string> held;
    for (int k = 1; k <= session.args.FieldsLeft(); ++k) held.push_back(session.args.GroupField(k));
    return held;
  }
};

TEST_F(ProcessorTest, CodeLinesSelectCommands) {
  Run("kwn ' known points");
  EXPECT_EQ(session.CurrentCommand, "KWN");
  EXPECT_EQ(user.printerDocumentsEnded, 2);  // the code line and the end of the run

  // Not three characters: a data line of the selected command.
  Run("KWN 1,2,3");
  EXPECT_EQ(session.CurrentCommand, "KWN");
  EXPECT_EQ(session.LineFieldCount, 3);
  EXPECT_EQ(session.LineField[1], "KWN 1");
  EXPECT_EQ(user.transcript.back(), "Info Only: KWN 1 is invalid point number");
  user.transcript.clear();
  Run("DAB");  // a code line brings no fields of its own
  EXPECT_EQ(session.LineFieldCount, 0);
  Run("KWN");

  // A three-character line that is no listed code is data too.
  Run("COM\r\nXYZ\r\nA12");
  EXPECT_EQ(user.transcript, (Lines{"XYZ", "A12"}));
  EXPECT_EQ(session.PreviousCommand, "COM");
}

TEST_F(ProcessorTest, FieldsAndTrailingCommas) {
  std::array<std::string_view, kMaxFields + 1> fields;
  EXPECT_EQ(SplitFields("", fields), 0);
  EXPECT_EQ(SplitFields(",,", fields), 3);
  EXPECT_EQ(SplitFields("1, 2", fields), 2);
  EXPECT_EQ(fields[2], " 2");

  Run("COM\r\n5,");
  EXPECT_TRUE(session.LineContinued);
  EXPECT_EQ(session.LineFieldCount, 1);
  Run(",");
  EXPECT_TRUE(session.LineContinued);
  EXPECT_EQ(session.LineFieldCount, 1);
  EXPECT_EQ(session.LineField[1], "");
  Run("\r\n");
  EXPECT_FALSE(session.LineContinued);
  EXPECT_EQ(session.LineFieldCount, 0);
}

TEST_F(ProcessorTest, IncompleteGroupsWaitForTheNextLine) {
  // No group is complete: the branch ends normally with its fields pending.
  Run("KWN\r\n1,100,200,2,300");
  EXPECT_EQ(Held(), (Lines{"2", "300"}));
  Run("400");
  EXPECT_EQ(session.points.North(2), 300);
  EXPECT_EQ(session.points.East(2), 400);
  EXPECT_TRUE(Held().empty());
}

TEST_F(ProcessorTest, ShiftFieldsAreTakenOutOfEveryLine) {
  session.registers.distance[4] = 7.25;
  Run("COM\r\n1,>12.5,^-3,7");
  EXPECT_EQ(session.LineFieldCount, 2);
  EXPECT_EQ(session.LineField[2], "7");
  EXPECT_EQ(session.EastShift, 12.5f);
  EXPECT_EQ(session.NorthShift, -3.0f);
  Run(">1,>D4, >x");  // the last of each kind wins; a blank before ">" keeps the field
  EXPECT_EQ(session.EastShift, 7.25f);
  EXPECT_EQ(session.LineFieldCount, 1);
  EXPECT_EQ(session.LineField[1], " >x");
  Run(">0.1");  // single precision, and reset on every line
  EXPECT_EQ(session.EastShift, 0.1f);
  EXPECT_EQ(session.NorthShift, 0.0f);
}

TEST_F(ProcessorTest, CommentBlocksAreSkipped) {
  Lines report = Run(
      "KWN\r\n1,100,200\r\n(2,300,400\r\n3,500,600)\r\n4,700,800\r\n[skip]\r\n"
      "COM\r\n (not a block\r\n{\r\nhidden\r\n]\r\nlast line without a break");
  EXPECT_TRUE(session.points.IsDefined(1));
  EXPECT_FALSE(session.points.IsDefined(2));
  EXPECT_FALSE(session.points.IsDefined(3));
  EXPECT_TRUE(session.points.IsDefined(4));
  EXPECT_EQ(report, (Lines{"(not a block", "last line without a break"}));

  // An unclosed block reaches to the end of the pane but not into the next run.
  Run("COM\r\n<open\r\nnever");
  EXPECT_EQ(Run("shown"), (Lines{"shown"}));
}

// A job read as a stream runs exactly as the same text in one piece, wherever
// the pieces break it: inside a line, between the CR and LF of a break,
// inside a comment block or before the last line's end.
TEST(BatchRun, PiecesRunAsTheWholeText) {
  const std::string pane =
      "KWN\r\n1,100,200\r2,300,400\n\n(3,500,600\r\n)\r\n4,700,\r\n800\r\r\nDAB\n1,2,2,4\r\n"
      "COM\r\nlast line without a break";
  auto run = [](const std::vector<std::string>& pieces) {
    ScriptedUser user;
    Session session(user);
    EXPECT_EQ(LoadCommandReference(VANTREL_REFERENCE_FILE, session.reference), "");
    BatchRun batch(session, 0);
    for (const std::string& piece : pieces) batch.Feed(piece);
    batch.Finish();
    EXPECT_EQ(user.printerDocumentsEnded, 4);  // three code lines and the end of the run
    return user.transcript;
  };
  Lines whole = run({pane});
  ASSERT_EQ(whole.size(), 5u);  // the DAB heading, its two rows and the COM line
  EXPECT_EQ(whole.back(), "last line without a break");
  for (size_t cut = 0; cut <= pane.size(); ++cut)
    EXPECT_EQ(run({pane.substr(0, cut), "", pane.substr(cut)}), whole) << "cut after " << cut;
  std::vector<std::string> characters;
  for (char c : pane) characters.emplace_back(1, c);
  EXPECT_EQ(run(characters), whole);
}

// A run whose input broke off drops the unfinished line instead of running
// what is left of it.
TEST(BatchRun, AbandonedRunDropsTheUnfinishedLine) {
  ScriptedUser user;
  Session session(user);
  ASSERT_EQ(LoadCommandReference(VANTREL_REFERENCE_FILE, session.reference), "");
  BatchRun batch(session, 0);
  batch.Feed("COM\nfirst\nsec");
  batch.Abandon();
  EXPECT_EQ(user.transcript, (Lines{"first"}));
  EXPECT_EQ(user.printerDocumentsEnded, 2);
}

TEST_F(ProcessorTest, PendingFieldsSurviveRunsButNotCodeLines) {
  Run("KWN\r\n1,100");
  Run("200");  // the next run completes the group
  EXPECT_TRUE(session.points.IsDefined(1));
  Run("KWN\r\n2,100\r\nDSC\r\n2,2");
  EXPECT_FALSE(session.points.IsDefined(2));
}

TEST_F(ProcessorTest, StoppedBranchesLeavePreviousCommand) {
  Run("COM\r\nnote\r\nTAX\r\n5");  // point 5 is undefined: TAX stops
  EXPECT_EQ(session.PreviousCommand, "COM");
  EXPECT_EQ(user.transcript.back(), "Info Only: Point 5 is not defined");
}

TEST_F(ProcessorTest, CodesWithoutABranchAreSelectableAndComputeNothing) {
  std::string code;
  for (int k = 1; k <= session.reference.ReferenceCount; ++k) {
    const CommandBranch* branch = FindBranch(session.reference.rows[k].Code);
    ASSERT_NE(branch, nullptr) << session.reference.rows[k].Code << " has no place in the dispatch table";
  }
  EXPECT_EQ(session.reference.ReferenceCount, 63);
  // No command selected yet: the first data line is named once, and none of
  // them is held (26 lines of two fields would pass the 50-field store).
  Lines early = {"", "' a comment", "1,2,3"};
  early.insert(early.end(), 26, "4,5");
  early.insert(early.end(), {"KWN", "7,10,20"});
  std::string pane;
  for (const std::string& line : early) pane.append(line).append("\r\n");
  EXPECT_EQ(Run(pane), (Lines{"Info Only: Lines before the first command code compute nothing; the first of them: \"1,2,3\""}));
  EXPECT_EQ(session.points.East(7), 20);
}

TEST_F(ProcessorTest, LinesBeyondTheFieldLimitsAreRefusedWhole) {
  std::string fiftyOne = "1";
  for (int k = 2; k <= 51; ++k) fiftyOne += "," + std::to_string(k);
  Run("KWN\r\n7,100");
  Lines report = Run(fiftyOne);
  ASSERT_EQ(report.size(), 1u);
  EXPECT_EQ(report[0].rfind("Info Only: A line may hold at most 50 fields; this line holds 51", 0), 0u) << report[0];
  EXPECT_EQ(Held(), (Lines{"7", "100"}));  // the fields already held stay as they were

  // 2 held + 49 new would be 51 held.
  std::string fortyNine = "1";
  for (int k = 2; k <= 49; ++k) fortyNine += ",1";
  report = Run(fortyNine);
  ASSERT_EQ(report.size(), 1u);
  EXPECT_EQ(report[0].rfind("Info Only: At most 50 fields can be held; 2 are waiting and this line brings 49", 0), 0u)
      << report[0];
  EXPECT_EQ(Held(), (Lines{"7", "100"}));
  Run("200");
  EXPECT_EQ(session.points.East(7), 200);
}

TEST_F(ProcessorTest, CommentLinesDoNotFillTheFieldStore) {
  std::string pane = "COM\r\n";
  for (int k = 0; k < 60; ++k) pane += "a,b,c\r\n";
  Lines report = Run(pane);
  EXPECT_EQ(report.size(), 60u);
  EXPECT_EQ(report.back(), "a,b,c");
}

TEST_F(ProcessorTest, DisplayOffDiscardsReportLines) {
  session.Display = false;
  EXPECT_TRUE(Run("COM\r\nnot shown").empty());
}

TEST_F(ProcessorTest, EnterShowsTheUsageOfTheCodeOnTheCaretLine) {
  std::string pane = "kwn\r\ndis";
  std::optional<std::string> usage = session.UsageForEnter(pane, pane.size());
  ASSERT_TRUE(usage.has_value());
  EXPECT_EQ(session.CurrentCommand, "DIS");
  const std::string& reference = session.reference.rows[session.reference.Find("DIS")].Usage;
  std::string expected = reference;
  for (size_t at; (at = expected.find('>')) != std::string::npos;) expected.replace(at, 1, "\r\n");
  EXPECT_EQ(*usage, expected);

  // A line break in the usage text shows as two lines.
  usage = session.UsageForEnter("dsa", 3);
  ASSERT_TRUE(usage.has_value());
  EXPECT_NE(usage->find("\r\n"), std::string::npos);

  EXPECT_FALSE(session.UsageForEnter("1,2,3", 5));
  EXPECT_EQ(session.CurrentCommand, "1,2,3");
  EXPECT_FALSE(session.UsageForEnter("123", 3));  // numeric
  session.CurrentCommand = "KWN";
  EXPECT_FALSE(session.UsageForEnter("ds", 2));  // caret at position 2 or less: nothing
  EXPECT_EQ(session.CurrentCommand, "KWN");

  // The caret's line is a code line by the processor's rule, or shows nothing.
  const std::pair<std::string, bool> lines[] = {
      {"kwn\n  dis", true},      {"dis  ' distance to a register", true}, {"\tDIS", false},
      {"kwn\ndis,1,2", false},   {"DISX", false},                         {"' dis", false},
      {"kwn\n1,2,3\nxyz", false}, {"dis\r\n1,2", false},
  };
  for (const auto& [pane, isCode] : lines) {
    EXPECT_EQ(session.UsageForEnter(pane, pane.size()).has_value(), isCode) << pane;
    if (isCode) {
      EXPECT_EQ(session.CurrentCommand, "DIS") << pane;
    }
  }
}

TEST(Reference, FixedColumnsAndContinuationLines) {
  std::string dis = "DIS  DistanceToReg distance reg, from pt,>to pt";
  dis += std::string(76 - dis.size(), ' ') + "Distance between points   ";
  std::string text =
      "   orphan continuation goes to row 0\r\n" + dis + "\r\n" +
      "                    (repeat)\n"  // the blank in column 20 joins the pieces
      "\n"                              // an empty line is a row with an empty code
      "  X\tY\n";                       // fewer than three blanks: a row line; tabs are ordinary
  CommandReference table;
  EXPECT_EQ(ReadCommandReference(text, table), "");
  ASSERT_EQ(table.ReferenceCount, 3);
  EXPECT_EQ(table.rows[1].Code, "DIS");
  EXPECT_EQ(table.rows[1].FunctionName, "DistanceToReg");
  EXPECT_EQ(table.rows[1].Usage, "distance reg, from pt,>to pt (repeat)");
  EXPECT_EQ(table.rows[1].Description, "Distance between points");
  EXPECT_EQ(table.rows[2].Code, "");
  EXPECT_EQ(table.rows[3].Code, "  X\t");
  EXPECT_EQ(table.rows[3].FunctionName, "");
  EXPECT_EQ(table.Find("DIS"), 1);
  EXPECT_EQ(table.Find("X"), 0);

  // Codes sharing a first letter, looked up in turns, and one listed twice:
  // each finds its own row (a twice-listed code its first), again and
  // again; a table read anew finds only its own rows.
  ASSERT_EQ(ReadCommandReference("DAB\nDAF\nDIS\nDAB\n", table), "");
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(table.Find("DAF"), 2);
    EXPECT_EQ(table.Find("DAB"), 1);
    EXPECT_EQ(table.Find("DIS"), 3);
    EXPECT_EQ(table.Find("DAX"), 0);
    EXPECT_EQ(table.Find(""), 0);
  }
  ASSERT_EQ(ReadCommandReference("DIS\n", table), "");
  EXPECT_EQ(table.Find("DIS"), 1);
  EXPECT_EQ(table.Find("DAB"), 0);

  std::string many;
  for (int k = 0; k < 102; ++k) many += "C" + std::to_string(k % 10) + std::to_string(k / 10) + "\n";
  EXPECT_EQ(ReadCommandReference(many, table),
            "The command reference holds more than 100 commands; 2 further row(s) were ignored");
  EXPECT_EQ(table.ReferenceCount, 100);

  EXPECT_NE(LoadCommandReference("/nonexistent/Vantrel.txt", table).find("No such file or directory"),
            std::string::npos);
  EXPECT_EQ(table.ReferenceCount, 0);
}

}  // namespace
}  // namespace vantrel
