// File names, the spool file, command files and the safety of saved point
// and register files, each checked on disk in a folder of its own.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "command/files.h"
#include "command/reference.h"
#include "session_fixture.h"
#include "temp_folder.h"

namespace fs = std::filesystem;

namespace vantrel {
namespace {

using Lines = std::vector<std::string>;

class FilesTest : public SessionTest {
 protected:
  TempFolder temp{"vantrel-files"};
  fs::path folder = temp.path();

  FilesTest() {
    session.files.ProgramFolder = folder.string();
  }

  std::string Path(const std::string& name) const { return (folder / name).string(); }

  std::string Content(const std::string& name) const {
    std::ifstream file(folder / name, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
  }

  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(folder / name, std::ios::binary) << text;
  }

  Lines FolderNames() const {
    Lines names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(FilesTest, FileNameRule) {
  struct Case {
    std::string project;
    bool ioDefault;
    std::string given, extension, answer;
    std::string expected, prompt;
  };
  const Case cases[] = {
      {"Lot 7", true, "", "cmd", "", "/prog/Lot 7.cmd", ""},
      {"  Lot 7 ", true, "", "pts", "", "/prog/Lot 7.pts", ""},
      {"   ", true, "", "pts", "", "", ""},  // blanks only: no name, no question
      {"", true, "", "cmd", "job", "/prog/job.cmd", "Enter File Name for Commands"},
      {"Lot 7", false, "", "cmd", "d:\\work\\job.old", "/prog/d:\\work\\job.old", "Enter File Name for Commands"},
      {"", false, "", "TXT", "x", "/prog/x.TXT", "Enter File Name for Spool"},
      {"", false, "", "pts", "", "", "Enter File Name for Option DCF"},
      {"", true, "jobs.2024/lot7", "pts", "", "/prog/jobs.2024/lot7", ""},
      {"", true, "/survey/lot7", "dis", "", "/survey/lot7.dis", ""},
      // A colon is part of a relative name, as any other character.
      {"", true, "c:\\out\\a.lst", "txt", "", "/prog/c:\\out\\a.lst", ""},
      {"", true, "lot:7", "pts", "", "/prog/lot:7.pts", ""},
  };
  session.files.ProgramFolder = "/prog";
  session.CurrentCommand = "dcf";
  for (const Case& c : cases) {
    user.transcript.clear();
    session.files.ProjectName = c.project;
    session.files.IODefault = c.ioDefault;
    user.promptAnswers = {c.answer};
    EXPECT_EQ(PromptFileName(session, c.given, c.extension, FileUse::Write), c.expected) << c.given << " / " << c.project;
    Lines prompt;
    if (!c.prompt.empty()) prompt.push_back("Prompt: " + c.prompt + (c.answer.empty() ? "" : " -> " + c.answer));
    EXPECT_EQ(user.transcript, prompt) << c.given << " / " << c.project;
  }
  // Dots in the program's own folder do not count as an extension.
  session.files.ProgramFolder = "/home/survey/vantrel-2.1/";
  EXPECT_EQ(PromptFileName(session, "lot", "pts", FileUse::Write), "/home/survey/vantrel-2.1/lot.pts");
}

TEST_F(FilesTest, SpoolOnOffRenameAndTruncate) {
  session.files.SpoolOn = true;
  session.files.SpoolFileText = "job1";
  session.Display = false;
  Run("COM\r\nfirst\r\nsecond");
  EXPECT_EQ(Content("job1.txt"), "first\r\nsecond\r\n");
  EXPECT_TRUE(user.transcript.empty());

  // Clearing Spool pauses the file; setting it again continues it.
  session.files.SpoolOn = false;
  Run("skipped");
  session.files.SpoolOn = true;
  Run("third");
  EXPECT_EQ(Content("job1.txt"), "first\r\nsecond\r\nthird\r\n");

  // The same name changes nothing; a new one starts a new file.
  ChangeSpoolName(session);
  Run("fourth");
  session.files.SpoolFileText = "job2";
  ChangeSpoolName(session);
  Run("other");
  EXPECT_EQ(Content("job1.txt"), "first\r\nsecond\r\nthird\r\nfourth\r\n");
  EXPECT_EQ(Content("job2.txt"), "other\r\n");

  // Back to the first name: that file is truncated on its first line.
  session.files.SpoolFileText = "job1";
  ChangeSpoolName(session);
  Run("again");
  EXPECT_EQ(Content("job1.txt"), "again\r\n");
  EXPECT_EQ(session.spool.SpoolFileName, Path("job1.txt"));
}

TEST_F(FilesTest, UnusableSpoolFileIsReportedOnceAndWaitsForANewName) {
  session.files.SpoolOn = true;
  session.files.SpoolFileText = Path("missing/job");
  Run("COM\r\none\r\ntwo");
  EXPECT_EQ(user.transcript,
            (Lines{"one",
                   "Info Only: " + Path("missing/job.txt") +
                       ": No such file or directory (report lines are not spooled until a new spool file name is "
                       "entered)",
                   "two"}));
  session.files.SpoolFileText = "job";
  ChangeSpoolName(session);
  Run("three");
  EXPECT_EQ(Content("job.txt"), "three\r\n");
}

TEST_F(FilesTest, ExportAndImportRoundTrip) {
  session.files.ProjectName = "Lot 7";
  // An empty line inside, and a last line without its break and with
  // trailing blanks.
  ExportCommandFile(session, "KWN\r\n1,100,200\r\n\r\nCOM\r\nlast line   ");
  EXPECT_EQ(Content("Lot 7.cmd"), "KWN\r\n1,100,200\r\n\r\nCOM\r\nlast line\r\n");
  EXPECT_EQ(user.transcript, (Lines{"Info Only: Saved in file " + Path("Lot 7.cmd")}));

  std::string pane = "DSC\r\n";
  ImportCommandFile(session, pane);
  EXPECT_EQ(pane, "DSC\r\nKWN\r\n1,100,200\r\n\r\nCOM\r\nlast line\r\n");

  // A file with LF breaks and no break after its last line.
  Write("Lot 7.cmd", "COM\nend");
  pane.clear();
  ImportCommandFile(session, pane);
  EXPECT_EQ(pane, "COM\r\nend\r\n");
}

TEST_F(FilesTest, CommandFilesGoBackInTheEncodingTheyCameIn) {
  session.files.ProjectName = "job";
  struct Case {
    const char* what;
    std::string file;       // as another editor wrote it
    std::string paneLine;   // its first line in the pane (UTF-8)
  };
  const Case cases[] = {
      {"Windows-1252", "COM\r\nAngle 45\xb0 found \x80\x81\r\n", "COM"},
      {"UTF-8", "COM\r\nAngle 45\xc2\xb0 found\r\n", "COM"},
      {"plain ASCII", "KWN\r\n1,100,200\r\n", "KWN"},
  };
  for (const Case& c : cases) {
    Write("job.cmd", c.file);
    std::string pane;
    ImportCommandFile(session, pane);
    EXPECT_TRUE(IsValidUtf8(pane)) << c.what;
    EXPECT_EQ(pane.substr(0, pane.find('\r')), c.paneLine) << c.what;
    ExportCommandFile(session, pane);  // asks before replacing it: Yes
    EXPECT_EQ(Content("job.cmd"), c.file) << c.what;
  }
  EXPECT_EQ(Windows1252ToUtf8("45\xb0 \x80"), "45\xc2\xb0 \xe2\x82\xac");
  // A character the code page lacks is kept by writing UTF-8.
  Write("job.cmd", "COM\r\n\xb0\r\n");
  std::string pane;
  ImportCommandFile(session, pane);
  ExportCommandFile(session, pane + "\xe2\x88\xa0 angle");
  EXPECT_EQ(Content("job.cmd"), "COM\r\n\xc2\xb0\r\n\xe2\x88\xa0 angle\r\n");
}

TEST_F(FilesTest, EveryByteOfTheCodePageComesBack) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  std::string text = Windows1252ToUtf8(all);
  EXPECT_TRUE(IsValidUtf8(text));
  EXPECT_EQ(Utf8ToWindows1252(text), all);
  const char* notUtf8[] = {"\xb0", "\xc0\xaf", "\xed\xa0\x80", "\xe2\x82", "\xf5\x80\x80\x80", "a\xff" "b"};
  for (const char* bytes : notUtf8) EXPECT_FALSE(IsValidUtf8(bytes)) << bytes;
  EXPECT_TRUE(IsValidUtf8("\xf0\x9f\x93\x90 \xc2\xb0"));
  EXPECT_EQ(Utf8ToWindows1252("\xf0\x9f\x93\x90"), std::nullopt);
}

TEST_F(FilesTest, ImportStartsOnALineOfItsOwnAndExportAsksBeforeReplacing) {
  session.files.ProjectName = "job";
  Write("job.cmd", "KWN\r\n");
  std::string pane = "1,100,200";
  ImportCommandFile(session, pane);
  EXPECT_EQ(pane, "1,100,200\r\nKWN\r\n");

  user.answers = {false};
  ExportCommandFile(session, "COM\r\nnew");
  EXPECT_EQ(Content("job.cmd"), "KWN\r\n");
  EXPECT_EQ(user.transcript, (Lines{"Warning: " + Path("job.cmd") + " already exists. Replace it? -> No"}));
}

TEST_F(FilesTest, CommandFilesThatCannotBeOpened) {
  session.files.IODefault = false;
  user.promptAnswers = {"absent", ""};
  std::string pane = "KWN\r\n";
  ImportCommandFile(session, pane);
  ExportCommandFile(session, pane);
  EXPECT_EQ(pane, "KWN\r\n");
  EXPECT_EQ(user.transcript, (Lines{"Prompt: Enter File Name for Commands -> absent",
                                    "Info Only: " + Path("absent.cmd") + ": No such file or directory",
                                    "Prompt: Enter File Name for Commands", "Info Only: No file name was given"}));
}

TEST_F(FilesTest, PointFileRoundTripIsExact) {
  const double values[] = {0.1, 1.0 / 3, -1e-300, 1.7976931348623157e308, 5e-324, -0.0, 123456789.123456789,
                           -2.5e-7};
  int k = 1;
  for (double v : values) {
    session.points.Store(k, v, -v / 3);
    k += 7;
  }
  session.registers.angle[99] = 1.0 / 7;
  session.registers.angle[1] = 0.1;
  PointStore saved = session.points;
  auto savedAngles = session.registers.angle;

  Run("DCF\r\nlot\r\nDAF\r\nlot\r\nCLR\r\n\r\nRTH\r\nA1=0\r\nA99=0\r\nRCF\r\nlot\r\nRAF\r\nlot");
  EXPECT_TRUE(user.transcript.empty());
  ASSERT_EQ(session.points.UsedCount(), saved.UsedCount());
  for (int n : saved.Numbers()) {
    EXPECT_EQ(std::memcmp(&saved[n].north, &session.points[n].north, sizeof(double)), 0) << n;
    EXPECT_EQ(std::memcmp(&saved[n].east, &session.points[n].east, sizeof(double)), 0) << n;
  }
  EXPECT_EQ(std::memcmp(&savedAngles, &session.registers.angle, sizeof savedAngles), 0);
  EXPECT_FALSE(session.points.IsDefined(2));  // undefined when saved, undefined after the read
}

TEST_F(FilesTest, FileCommandsConsumeTheirLines) {
  session.registers.distance.fill(UndefinedCoord);
  session.registers.distance[0] = 5;  // register 0 is never saved
  Run("DDF\r\nregs\r\nregs2,extra");
  EXPECT_EQ(session.args.FieldsLeft(), 0);
  EXPECT_EQ(Content("regs.dis"), "");
  EXPECT_EQ(Content("regs2.dis"), "");
  EXPECT_EQ(FolderNames(), (Lines{"regs.dis", "regs2.dis"}));
}

TEST_F(FilesTest, FailedSaveKeepsTheOldFile) {
  session.points.Store(1, 10, 10);

  Write("kept.pts", "1,5,5\r\n");
  fs::permissions(folder / "kept.pts", fs::perms::owner_read | fs::perms::group_read);
  Run("DCF\r\nkept\r\nmissing/lot");
  EXPECT_EQ(user.transcript, (Lines{"Info Only: " + Path("kept.pts") + ": Permission denied",
                                    "Info Only: " + Path("missing/lot.pts") + ": No such file or directory"}));
  EXPECT_EQ(Content("kept.pts"), "1,5,5\r\n");
  EXPECT_EQ(FolderNames(), (Lines{"kept.pts"}));  // no temporary file left behind
  EXPECT_NE(session.PreviousCommand, "DCF");

  // A writable file is replaced whole and keeps its permissions.
  fs::permissions(folder / "kept.pts", fs::perms::owner_read | fs::perms::owner_write);
  Run("kept");
  EXPECT_EQ(Content("kept.pts"), "1,10,10\r\n");
  EXPECT_EQ(fs::status(folder / "kept.pts").permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(FolderNames(), (Lines{"kept.pts"}));
}

// The working folder's reference wins, then the one beside the program; an
// installation's share/vantrel copy is read only when neither has one.
TEST_F(FilesTest, CommandReferenceLookup) {
  fs::create_directories(folder / "prefix" / "bin");
  fs::create_directories(folder / "prefix" / "share" / "vantrel");
  fs::create_directories(folder / "work");
  const std::string bin = Path("prefix/bin");
  const std::string installed = Path("prefix/share/vantrel/Vantrel.txt");
  EXPECT_EQ(InstalledReferenceFile(bin), installed);
  EXPECT_EQ(InstalledReferenceFile(bin + "/"), installed);
  EXPECT_EQ(InstalledReferenceFile("/usr/bin"), "/usr/share/vantrel/Vantrel.txt");

  struct Case {
    const char* what;
    std::vector<std::string> present;  // files and (ending in /) folders made before the lookup
    std::string programFolder;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"none anywhere: the program folder's, for the message", {}, "work", "work/Vantrel.txt"},
      {"installed only", {"prefix/share/vantrel/Vantrel.txt"}, "work", "prefix/share/vantrel/Vantrel.txt"},
      {"both: the program folder's", {"work/Vantrel.txt", "prefix/share/vantrel/Vantrel.txt"}, "work",
       "work/Vantrel.txt"},
      {"a folder named Vantrel.txt is no reference",
       {"work/Vantrel.txt/", "prefix/share/vantrel/Vantrel.txt"}, "work", "prefix/share/vantrel/Vantrel.txt"},
      {"program folder is the bin folder", {"prefix/share/vantrel/Vantrel.txt"}, "prefix/bin",
       "prefix/share/vantrel/Vantrel.txt"},
  };
  for (const Case& c : cases) {
    fs::remove_all(folder / "work");
    fs::remove_all(folder / "prefix" / "share");
    fs::create_directories(folder / "work");
    fs::create_directories(folder / "prefix" / "share" / "vantrel");
    for (const std::string& name : c.present) {
      if (name.back() == '/') fs::create_directories(folder / name);
      else Write(name, "DAB  Dist & Azimuth\r\n");
    }
    EXPECT_EQ(ChooseReferenceFile(Path(c.programFolder), bin), Path(c.expected)) << c.what;
  }
  // A working folder without one: the reference beside the executable comes
  // before the installed one.
  Write("prefix/bin/Vantrel.txt", "DAB  Dist & Azimuth\r\n");
  EXPECT_EQ(ChooseReferenceFile(Path("work"), bin), Path("prefix/bin/Vantrel.txt"));
  Write("work/Vantrel.txt", "DAB  Dist & Azimuth\r\n");
  EXPECT_EQ(ChooseReferenceFile(Path("work"), bin), Path("work/Vantrel.txt"));
}

}  // namespace
}  // namespace vantrel
