// The traverse being read by TAA/TAB (and the list adjusted by PAJ): method,
// header and stations, kept between the lines that bring them.
#pragma once

#include <array>
#include <string>

namespace vantrel {

// Most stations one traverse may hold.
inline constexpr int kMaxStations = 200;

struct TraverseRecord {
  char AngleKind = 'A';  // 'A' angles from the back course, 'D' deflections (TAA)
  std::string Method;           // "L" length rule, anything else compass rule
  int StartPoint = 0;
  int ClosingPoint = 0;
  double StartAzimuth = 0;    // TAA: azimuth of the course arriving at the start point
  double ClosingAzimuth = 0;  // TAA: known azimuth of the last course
  int StationCount = 0;
  // Station k ends course k (entries 1..StationCount). StationAngle holds the
  // observed angle (TAA) or the course azimuth (TAB) as read, and the course
  // azimuth once the traverse is computed.
  std::array<int, kMaxStations + 1> StationPoint{};
  std::array<double, kMaxStations + 1> StationAngle{};
  std::array<double, kMaxStations + 1> StationDistance{};
  // The angles or directions as read (after the D mark is taken off), kept
  // for a least-squares adjustment of the same traverse (LSQ's T), and
  // whether they are TAA angles.
  std::array<double, kMaxStations + 1> ObservedAngle{};
  bool ByAngles = false;

  // The traverse has been computed or refused: further data lines are not
  // added to it, a new TAA/TAB code line starts the next one.
  bool Finished = false;
  // A station beyond kMaxStations, or an azimuth, angle or distance that
  // gives no value, was refused: this traverse is kept as read but will not
  // be computed.
  bool Refused = false;
};

}  // namespace vantrel
