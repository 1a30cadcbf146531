// The plain C++ program the batch run is measured against: reads a job of
// KWN and DAB lines with std::getline, splits at commas, converts with
// strtod/atoi, computes distance and azimuth with hypot/atan2 and prints
// each DAB row with snprintf in the report's columns. It knows nothing else
// of the command language (no carry-over, comments or registers).
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int kPoints = 1000;
double north[kPoints + 1], east[kPoints + 1];

// " DDD MM SS " as degrees, minutes and seconds; quadrant letters for a bearing.
void AngleText(double azimuth, bool bearing, char* text, size_t size) {
  const double pi = 3.14159265358979;
  while (azimuth < 0) azimuth += 2 * pi;
  while (azimuth >= 2 * pi) azimuth -= 2 * pi;
  char q1 = ' ', q2 = ' ';
  if (bearing) {
    if (azimuth > 1.5 * pi) q1 = 'N', q2 = 'W', azimuth = 2 * pi - azimuth;
    else if (azimuth > pi) q1 = 'S', q2 = 'W', azimuth -= pi;
    else if (azimuth > pi / 2) q1 = 'S', q2 = 'E', azimuth = pi - azimuth;
    else if (azimuth > 0) q1 = 'N', q2 = 'E';
  }
  long seconds = std::lround(azimuth * 180 / pi * 3600);
  std::snprintf(text, size, "%c%3ld%3ld%3ld%c", q1, seconds / 3600, seconds / 60 % 60, seconds % 60, q2);
}

}  // namespace

int main() {
  std::ios::sync_with_stdio(false);
  std::string line, code;
  bool headed = false;
  std::vector<std::string> fields;
  char row[128], azimuth[32], bearing[32];
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() == 3 && std::isalpha(static_cast<unsigned char>(line[0]))) {
      code = line;
      headed = false;
      continue;
    }
    fields.clear();
    for (size_t start = 0;;) {
      size_t comma = line.find(',', start);
      fields.push_back(line.substr(start, comma - start));
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
    if (code == "KWN") {
      for (size_t k = 0; k + 2 < fields.size(); k += 3) {
        int n = std::atoi(fields[k].c_str());
        if (n < 1 || n > kPoints) continue;
        north[n] = std::strtod(fields[k + 1].c_str(), nullptr);
        east[n] = std::strtod(fields[k + 2].c_str(), nullptr);
      }
    } else if (code == "DAB") {
      if (!headed) {
        std::fputs("\nFrom   To       Ft.    Azimuth         Bearing\n", stdout);
        headed = true;
      }
      for (size_t k = 0; k + 1 < fields.size(); k += 2) {
        int i = std::atoi(fields[k].c_str()), j = std::atoi(fields[k + 1].c_str());
        if (i < 1 || i > kPoints || j < 1 || j > kPoints) continue;
        double dN = north[j] - north[i], dE = east[j] - east[i];
        double direction = std::atan2(dE, dN);
        AngleText(direction, false, azimuth, sizeof azimuth);
        AngleText(direction, true, bearing, sizeof bearing);
        int n = std::snprintf(row, sizeof row, "%4d%5d%10.2f%13s%16s\n", i, j, std::hypot(dE, dN), azimuth, bearing);
        std::fwrite(row, 1, static_cast<size_t>(n), stdout);
      }
    }
  }
}
