// The one routine every saved file goes through, the append-only spool file
// and whole-file reading, checked on disk in a folder of their own.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "command/text_file.h"
#include "temp_folder.h"
#include "text_files.h"

namespace fs = std::filesystem;

namespace vantrel {
namespace {

class TextFileTest : public ::testing::Test {
 protected:
  TempFolder temp{"vantrel-text"};
  fs::path folder = temp.path();

  std::string Path(const std::string& name) const { return (folder / name).string(); }
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(folder / name, std::ios::binary) << text;
  }
  size_t EntryCount() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
  }
};

mode_t ModeOf(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

TEST_F(TextFileTest, ReplacedFilesAndTheirLinks) {
  // A new file: mode 0644 less the umask, no temporary left behind.
  mode_t mask = umask(022);
  umask(mask);
  EXPECT_EQ(ReplaceFile(Path("new.pts"), "1,2,3\r\n"), std::nullopt);
  EXPECT_EQ(ReadFile(Path("new.pts")), "1,2,3\r\n");
  EXPECT_EQ(ModeOf(Path("new.pts")), 0644 & ~mask);

  // A replaced file keeps its own mode.
  Write("private.pts", "old");
  fs::permissions(Path("private.pts"), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(ReplaceFile(Path("private.pts"), "new"), std::nullopt);
  EXPECT_EQ(ReadFile(Path("private.pts")), "new");
  EXPECT_EQ(ModeOf(Path("private.pts")), 0600u);

  // Through a chain of links, relative and absolute: the final target is
  // replaced and the links stay links.
  fs::create_directory(folder / "data");
  Write("data/lot.pts", "old");
  fs::create_symlink("data/lot.pts", folder / "near");
  fs::create_symlink(folder / "near", folder / "far");
  EXPECT_EQ(ReplaceFile(Path("far"), "through"), std::nullopt);
  EXPECT_TRUE(fs::is_symlink(folder / "far"));
  EXPECT_TRUE(fs::is_symlink(folder / "near"));
  EXPECT_EQ(ReadFile(Path("data/lot.pts")), "through");
  EXPECT_EQ(static_cast<size_t>(std::distance(fs::directory_iterator(folder / "data"), fs::directory_iterator())), 1u);

  // A link whose target does not exist yet creates it.
  fs::create_symlink("data/fresh.pts", folder / "dangling");
  EXPECT_EQ(ReplaceFile(Path("dangling"), "made"), std::nullopt);
  EXPECT_EQ(ReadFile(Path("data/fresh.pts")), "made");
  EXPECT_TRUE(fs::is_symlink(folder / "dangling"));
  EXPECT_EQ(EntryCount(), 6u);
}

TEST_F(TextFileTest, RefusedSavesLeaveEverythingAsItWas) {
  Write("kept.pts", "old");
  fs::create_symlink("/dev/full", folder / "device");
  fs::create_symlink("/dev/null", folder / "nothing");
  fs::create_directory(folder / "sub");
  fs::create_symlink("loop", folder / "loop");
  Write("locked.pts", "old");
  fs::permissions(Path("locked.pts"), fs::perms::owner_read);
  struct Case {
    std::string path, reason;
  };
  const Case cases[] = {
      {"", "no file name was given"},
      {Path("device"), "not a regular file"},
      {Path("nothing"), "not a regular file"},
      {Path("sub"), "Is a directory"},
      {Path("loop"), "Too many levels of symbolic links"},
      {Path("locked.pts"), "Permission denied"},
      {Path("missing/a.pts"), "No such file or directory"},
  };
  for (const Case& c : cases) EXPECT_EQ(ReplaceFile(c.path, "new"), c.reason) << c.path;
  EXPECT_EQ(ReadFile(Path("locked.pts")), "old");
  struct stat device;
  ASSERT_EQ(stat("/dev/full", &device), 0);
  EXPECT_TRUE(S_ISCHR(device.st_mode));
  EXPECT_EQ(EntryCount(), 6u);
}

// A full disk, simulated by a file size limit: the write fails part way and
// the old file stays whole.
TEST_F(TextFileTest, FullDiskKeepsTheOldFile) {
  Write("job.pts", "old content");
  struct rlimit saved;
  getrlimit(RLIMIT_FSIZE, &saved);
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 4096;
  setrlimit(RLIMIT_FSIZE, &small);
  std::optional<std::string> reason = ReplaceFile(Path("job.pts"), std::string(10000, 'x'));
  AppendFile spool;
  std::optional<std::string> started = spool.Start(Path("spool.txt"));
  std::optional<std::string> appended = spool.Append(std::string(5000, 'y'));
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);

  EXPECT_EQ(reason, "File too large");
  EXPECT_EQ(ReadFile(Path("job.pts")), "old content");
  EXPECT_EQ(started, std::nullopt);
  EXPECT_EQ(appended, "File too large");
  EXPECT_EQ(EntryCount(), 2u);
}

TEST_F(TextFileTest, SpoolLinesAppendWholeFromTwoWriters) {
  Write("spool.txt", "from an earlier run\r\n");
  AppendFile first, second;
  ASSERT_EQ(first.Start(Path("spool.txt")), std::nullopt);
  ASSERT_EQ(second.Start(Path("spool.txt")), std::nullopt);
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(first.Append("first " + std::to_string(k) + "\r\n"), std::nullopt);
    EXPECT_EQ(second.Append("second " + std::to_string(k) + "\r\n"), std::nullopt);
  }
  EXPECT_EQ(ReadFile(Path("spool.txt")),
            "first 0\r\nsecond 0\r\nfirst 1\r\nsecond 1\r\nfirst 2\r\nsecond 2\r\n");
  fs::create_symlink("/dev/full", folder / "device");
  EXPECT_EQ(first.Start(Path("device")), "not a regular file");
  EXPECT_FALSE(first.IsOpen());
}

TEST_F(TextFileTest, WholeFilesUpToTheLimit) {
  Write("small.pts", "1,2,3\r\n");
  Write("large.pts", std::string(2 << 20, '1'));
  fs::create_directory(folder / "sub");
  ASSERT_EQ(mkfifo(Path("pipe.csv").c_str(), 0600), 0);
  struct Case {
    std::string path;
    size_t limit;
    std::optional<std::string> content;
    std::string reason;
  };
  const Case cases[] = {
      {Path("small.pts"), kMaxReadBytes, "1,2,3\r\n", ""},
      {Path("large.pts"), size_t{1} << 20, std::nullopt, "larger than 1 MiB, more than the program reads"},
      {"/dev/zero", size_t{1} << 20, std::nullopt, "not a regular file"},
      {Path("pipe.csv"), kMaxReadBytes, std::nullopt, "not a regular file"},  // no writer: no wait
      {Path("sub"), kMaxReadBytes, std::nullopt, "Is a directory"},
      {Path("none"), kMaxReadBytes, std::nullopt, "No such file or directory"},
  };
  for (const Case& c : cases) {
    std::string reason;
    EXPECT_EQ(ReadWholeFile(c.path, reason, c.limit), c.content) << c.path;
    EXPECT_EQ(reason, c.reason) << c.path;
  }
}

TEST(TextLines, LineEndsAndByteOrderMark) {
  using Lines = std::vector<std::string_view>;
  struct Case {
    std::string text;
    Lines lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\r\rb", {"a", "", "b"}},
      {"a\n\r\nb", {"a", "", "b"}},
      {"\xEF\xBB\xBF" "1,2,3\r\n", {"1,2,3"}},
      {"\xEF\xBB\xBF", {}},
      {"x\xEF\xBB\xBF", {"x\xEF\xBB\xBF"}},  // only at the very start
  };
  for (const Case& c : cases) EXPECT_EQ(TextLines(c.text), c.lines) << c.text;
}


// Files from Windows tools come in UTF-16 ("Unicode" in Notepad and Excel),
// sometimes UTF-32, with or without a byte-order mark; older editors write
// Windows-1252. All are read as UTF-8 text, or refused when broken.
TEST(TextEncodings, FilesAreDecodedToUtf8OrRefused) {
  using std::string_literals::operator""s;
  struct Case {
    std::string bytes;
    TextEncoding encoding;
    std::optional<std::string> text;
  };
  const Case cases[] = {
      {"1,2,3\r\n", TextEncoding::Utf8, "1,2,3\r\n"},
      {"\xEF\xBB\xBF" "CAF\xC3\x89", TextEncoding::Utf8, "\xEF\xBB\xBF" "CAF\xC3\x89"},
      {"CAF\xC9 \xB0\x80", TextEncoding::Windows1252, "CAF\xC3\x89 \xC2\xB0\xE2\x82\xAC"},
      {"\xFF\xFE" "1\0,\0\xC9\0"s, TextEncoding::Utf16LE, "1,\xC3\x89"},
      {"1\0,\0"s, TextEncoding::Utf16LE, "1,"},  // no mark: the NULs tell
      {"\xFE\xFF\0<\xD8\x3D\xDE\x42"s, TextEncoding::Utf16BE, "<\xF0\x9F\x99\x82"},
      {"\0<\0a"s, TextEncoding::Utf16BE, "<a"},
      {"\xFF\xFE\0\0" "1\0\0\0"s, TextEncoding::Utf32LE, "1"},
      {"\0\0\0<"s, TextEncoding::Utf32BE, "<"},
      {"\xFF\xFE\x3D\xD8" "1\0"s, TextEncoding::Utf16LE, std::nullopt},  // a high surrogate alone
      {"\xFF\xFE" "1\0,"s, TextEncoding::Utf16LE, std::nullopt},          // the last character cut short
      {"\0\0\0<\0\x11\0\0"s, TextEncoding::Utf32BE, std::nullopt},        // beyond U+10FFFF
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DetectEncoding(c.bytes), c.encoding) << c.bytes;
    EXPECT_EQ(DecodeText(c.bytes, c.encoding), c.text) << c.bytes;
  }
}

}  // namespace
}  // namespace vantrel
