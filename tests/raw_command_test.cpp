// RAW in a session: files that are not regular files, a huge file of no
// text, a run stopped half-way (nothing stored in each case), and the
// observations it writes for least squares, checked against the readings
// by plain trigonometry.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "session_fixture.h"
#include "temp_folder.h"
#include "text_files.h"

namespace fs = std::filesystem;

namespace vantrel {
namespace {

class RawCommandTest : public SessionTest {
 protected:
  TempFolder temp{"vantrel-raw"};
  fs::path folder = temp.path();

  RawCommandTest() { session.files.ProgramFolder = folder.string(); }

  void Write(const std::string& name, const std::string& text) {
    std::ofstream(folder / name, std::ios::binary) << text;
  }
  std::string Example(const std::string& name) {
    return ReadFile(fs::path(VANTREL_SCENARIO_DIR) / "raw_examples.dir" / name);
  }
  std::string Transcript(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& line : lines) all += line + "\n";
    return all;
  }
};

TEST_F(RawCommandTest, WhatIsNoRegularFileIsRefusedWithoutWaiting) {
  ASSERT_EQ(mkfifo((folder / "pipe.rw5").c_str(), 0600), 0);
  fs::create_directory(folder / "folder.rw5");
  // A file of a gigabyte holding nothing but zero bytes, sparse on disk.
  { std::ofstream(folder / "huge.rw5", std::ios::binary); }
  fs::resize_file(folder / "huge.rw5", size_t{1} << 30);
  auto start = std::chrono::steady_clock::now();
  std::string transcript = Transcript(Run("RAW\npipe\nfolder\nhuge\n"));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  EXPECT_NE(transcript.find("pipe.rw5: not a regular file"), std::string::npos) << transcript;
  EXPECT_NE(transcript.find("folder.rw5: Is a directory"), std::string::npos) << transcript;
  // Zero bytes are no raw file: the start tells it.
  EXPECT_NE(transcript.find("huge.rw5 is no raw data file RAW can tell"), std::string::npos) << transcript;
  Run("RAW\nhuge,RW5\n");
  EXPECT_NE(user.transcript.back().find("huge.rw5, record 1: binary data"), std::string::npos) << user.transcript.back();
  EXPECT_EQ(session.points.UsedCount(), 0);
}

// Stops when the window's progress call asks the run to stop.
class StoppingUser : public ScriptedUser {
 public:
  Session* session = nullptr;
  void BatchProgress(size_t done, size_t) override {
    // The pane's few lines pass; the file's first megabyte stops the run.
    if (done > 100000 && session) session->StopRequested = true;
  }
};

TEST(RawStopTest, AStoppedRunStoresNothing) {
  TempFolder temp("vantrel-raw-stop");
  std::string text = "OC,OP1,N 1000.0,E 1000.0,EL100.0\nLS,HI5.0,HR5.0\nBK,OP1,BS0.0000,BC0.0000\n";
  for (int k = 2; k < 60000; ++k)
    text += "SS,OP1,FP" + std::to_string(k % 900 + 2) + ",AR" + std::to_string(k % 360) + ".0000,ZE90.0000,SD50.0\n";
  std::ofstream(temp.path() / "long.rw5", std::ios::binary) << text;
  StoppingUser user;
  Session session(user);
  user.session = &session;
  ASSERT_EQ(LoadCommandReference(VANTREL_REFERENCE_FILE, session.reference), "");
  session.files.ProgramFolder = temp.path().string();
  session.RunBatch("RAW\nlong\n");
  EXPECT_EQ(session.points.UsedCount(), 0);
  ASSERT_FALSE(user.transcript.empty());
  EXPECT_TRUE(user.transcript.back().starts_with("Info Only: long.rw5, record ")) << user.transcript.back();
  EXPECT_TRUE(user.transcript.back().ends_with(": stopped\nNothing was stored")) << user.transcript.back();
}

// The second RW5 worked example written for LSQ: the set's directions from 10 (11 and 12),
// the distance and height to each target, 12's lone direction as an
// azimuth; 10 and 11 given, so held fixed.
TEST_F(RawCommandTest, ObservationsAreWrittenBesideTheRawFile) {
  Write("job.rw5", Example("rw5_example2.rw5"));
  Run("RAW\njob,L\n");
  std::vector<std::string> lines = Lines(ReadFile(folder / "job-lsq.cmd"));
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines[0], "COM");
  EXPECT_EQ(lines[2], "LSQ");
  EXPECT_EQ(lines[3], "5.0,0.010,5.0");
  EXPECT_EQ(lines[4], "F,10,11,");
  const double degree = 3.14159265358979323846 / 180, z = (89 + 59 / 60.0 + 55 / 3600.0) * degree;
  double hd = 200.001 * std::sin(z), dh = 200.001 * std::cos(z) + 5 - 6;
  // The backsight check's own direction (the face mean on 11) and the set's.
  for (const char* group : {"R,10,11,90 00 02.00,", "R,10,12,180 00 14.00,"})
    EXPECT_NE(std::find(lines.begin(), lines.end(), group), lines.end()) << group;
  auto starting = [&](const std::string& start) {
    return std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.starts_with(start); });
  };
  auto distance = starting("D,10,12,"), height = starting("H,10,12,");
  ASSERT_NE(distance, lines.end());
  ASSERT_NE(height, lines.end());
  EXPECT_NEAR(std::stod(distance->substr(8)), hd, 5e-5);
  EXPECT_NEAR(std::stod(height->substr(8)), dh, 5e-5);
  // Its standard error from 0.01 ft + 5 ppm and 5 seconds: the distance's
  // share, as the sight is level.
  std::string last = height->substr(0, height->size() - 1);  // without the comma that continues
  double sigma = std::stod(last.substr(last.rfind(',') + 1));
  EXPECT_NEAR(sigma, std::hypot(std::cos(z) * std::hypot(0.01, 5e-6 * 200.001), 200.001 * std::sin(z) * 5 / 206264.8),
              5e-5);
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Z,10,13,45 00 00.00,"), lines.end());
  EXPECT_FALSE(lines.back().ends_with(","));
  EXPECT_NE(Transcript(user.transcript).find("Observations for least squares written to job-lsq.cmd"),
            std::string::npos);
}

}  // namespace
}  // namespace vantrel
