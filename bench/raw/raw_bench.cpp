// RAW on a raw file of 100,000 records against PNR on a CSV file of the
// same points: the RW5 file holds setups on known stations, each oriented
// by an azimuth and followed by 96 sideshots; the CSV file lists the
// stations and the sideshots as the reduction places them. Each command
// runs in a fresh session with a store of 200,000 points; the times are
// medians of 5 runs, the two commands alternating, and RAW's is given as a
// ratio to PNR's, so that the load of a shared machine falls out.
//   vantrel-raw-bench [RECORDS]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "command/reference.h"
#include "command/session.h"
#include "command/user_side.h"
#include "store/point_store.h"

namespace {

using namespace vantrel;

constexpr int kShotsPerSetup = 96;
constexpr int kCapacity = 200000;
constexpr int kRuns = 5;

class QuietUser : public UserSide {
 public:
  void ShowReportLine(const std::string&) override {}
  void InfoBox(const std::string& message) override { last = message; }
  bool AskYesNo(const std::string&) override { return true; }
  std::string PromptText(const std::string&) override { return {}; }
  std::string last;
};

// The raw file and the CSV file of the points it gives; returns the count
// of points.
int WriteJob(const std::filesystem::path& folder, int records) {
  std::ofstream rw5(folder / "bench.rw5", std::ios::binary), csv(folder / "bench.csv", std::ios::binary);
  rw5 << "JB,NMBENCH,DT01-01-2025,TM08:00:00\r\nMO,AD0,UN2,SF1.00000000,EC0,EO0.0,AU0\r\n";
  int written = 2, point = 0;
  char line[160];
  for (int setup = 0; written < records; ++setup) {
    double north = 10000 + 500 * (setup / 100), east = 10000 + 500 * (setup % 100);
    int station = ++point;
    std::snprintf(line, sizeof line, "OC,OP%d,N %.4f,E %.4f,EL100.000,--STA\r\nLS,HI5.000,HR5.000\r\n"
                  "BK,OP%d,BS0.0000,BC0.0000\r\n", station, north, east, station);
    rw5 << line;
    std::snprintf(line, sizeof line, "%d,%.4f,%.4f,100,STA\r\n", station, north, east);
    csv << line;
    written += 3;
    for (int k = 0; k < kShotsPerSetup && written < records; ++k, ++written) {
      int degrees = (k * 37) % 360, minutes = (k * 7) % 60;
      double distance = 20 + k * 2.5;
      double azimuth = (degrees + minutes / 60.0) * M_PI / 180;
      std::snprintf(line, sizeof line, "SS,OP%d,FP%d,AR%d.%02d00,ZE90.0000,SD%.3f,--SHOT\r\n", station, ++point,
                    degrees, minutes, distance);
      rw5 << line;
      std::snprintf(line, sizeof line, "%d,%.4f,%.4f,100,SHOT\r\n", point, north + distance * std::cos(azimuth),
                    east + distance * std::sin(azimuth));
      csv << line;
    }
  }
  return point;
}

// One command on a fresh store; its time in milliseconds.
double RunOnce(const std::filesystem::path& folder, const std::string& job, QuietUser& user) {
  Session session(user);
  session.points = PointStore(kCapacity);
  session.files.ProgramFolder = folder.string();
  LoadCommandReference(VANTREL_BENCH_REFERENCE, session.reference);
  auto start = std::chrono::steady_clock::now();
  session.RunBatch(job);
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> times) {
  std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  int records = argc > 1 ? std::atoi(argv[1]) : 100000;
  std::filesystem::path folder = std::filesystem::temp_directory_path() / "vantrel-raw-bench";
  std::filesystem::create_directories(folder);
  int points = WriteJob(folder, std::max(records, 10));
  QuietUser user;
  std::vector<double> raw, pnr;
  for (int k = 0; k < kRuns; ++k) {
    raw.push_back(RunOnce(folder, "RAW\r\nbench\r\n", user));
    std::string rawMessage = user.last;
    pnr.push_back(RunOnce(folder, "PNR\r\nbench.csv\r\n", user));
    if (k == 0) std::printf("%s\n%s\n", rawMessage.c_str(), user.last.c_str());
  }
  std::filesystem::remove_all(folder);
  double rawTime = Median(raw), pnrTime = Median(pnr);
  std::printf("RAW, %d records (%d points): %.1f ms; PNR, the same points as CSV: %.1f ms; RAW/PNR %.2f\n", records,
              points, rawTime, pnrTime, rawTime / pnrTime);
  return 0;
}
