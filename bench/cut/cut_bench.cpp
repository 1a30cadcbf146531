// CUT on a figure of 1,000 corners, 100 of its courses arcs, against ARE's
// area of the same figure: the figure's corners lie on a circle of radius
// 1000 ft, every tenth course an arc about the circle's centre. Each method
// cuts 37 % of the area; each time is the median of 21 runs in one process,
// and each is given as a ratio to ARE's, so that the load of a shared machine
// falls out.
//   vantrel-cut-bench
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

#include "command/session.h"
#include "command/user_side.h"
#include "deeds/cut_figure.h"

namespace {

using namespace vantrel;

constexpr int kCorners = 1000;
constexpr int kCentre = kCorners + 1;
constexpr int kRuns = 21;

class QuietUser : public UserSide {
 public:
  void ShowReportLine(const std::string&) override {}
  void InfoBox(const std::string& message) override { std::fprintf(stderr, "%s\n", message.c_str()); }
  bool AskYesNo(const std::string&) override { return true; }
  std::string PromptText(const std::string&) override { return {}; }
};

double MedianMilliseconds(const std::function<void()>& run) {
  std::vector<double> times;
  for (int k = 0; k < kRuns; ++k) {
    auto start = std::chrono::steady_clock::now();
    run();
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::nth_element(times.begin(), times.begin() + kRuns / 2, times.end());
  return times[kRuns / 2];
}

}  // namespace

int main() {
  QuietUser user;
  Session session(user);
  session.points = PointStore(2000);
  Figure figure;
  for (int k = 1; k <= kCorners; ++k) {
    double azimuth = 2 * M_PI * (k - 1) / kCorners;
    session.points.Store(k, 5000 + 1000 * std::cos(azimuth), 5000 + 1000 * std::sin(azimuth));
    figure.push_back({k, false});
    if (k % 10 == 0) figure.push_back({kCentre, true});
  }
  session.points.Store(kCentre, 5000, 5000);
  figure.push_back({1, false});

  double area = 0;
  double areTime = MedianMilliseconds([&] { area = *FigureArea(session, figure); });
  std::printf("ARE on %d corners, %d arcs: %.3f ms\n", kCorners, kCorners / 10, areTime);
  struct Method {
    const char* name;
    CutRecord record;
  } methods[] = {
      {"CUT P (parallel to a side)", {'P', 0.37 * area, 0, 5, 6, {1101, 1102}}},
      {"CUT D (in a direction)", {'D', 0.37 * area, 2.0, 0, 0, {1103, 1104}}},
      {"CUT H (from a hinge)", {'H', 0.37 * area, 0, 5, 5, {1105}}},
  };
  for (const Method& m : methods) {
    double time = MedianMilliseconds([&] { CutFigure(session, m.record, {figure, area}); });
    std::printf("%-28s %.3f ms, %.1f times ARE on the same figure\n", m.name, time, time / areTime);
  }
  return 0;
}
