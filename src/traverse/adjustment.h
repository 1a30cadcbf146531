// Linear closure of a traverse and its adjustment by the compass (Bowditch)
// rule or the length (Crandall) rule, shared by TAA/TAB, whose courses come
// from azimuths and lengths, and PAJ, whose courses come from stored points.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "traverse/traverse_record.h"

namespace vantrel {

class Session;
enum class Outcome;

// The course components and sums of one closure computation. The components
// are worked here, not in the point store, so a refused adjustment leaves
// every stored point as it was.
struct Closure {
  explicit Closure(const Session& s);  // misclosure starts as start minus closing point

  // Adds course k (the course that ends at station k).
  void AddCourse(int k, double dE, double dN, double length);

  double misclosureEast;   // computed end minus closing point, once every course is in
  double misclosureNorth;
  double totalLength = 0;
  double sumEN = 0;  // sum of dE*dN/L
  double sumEE = 0;  // sum of dE^2/L
  double sumNN = 0;  // sum of dN^2/L
  std::array<double, kMaxStations + 1> east{};
  std::array<double, kMaxStations + 1> north{};
};

// A misclosure below a millionth of a foot is the rounding of the
// arithmetic (coordinates of a million feet carry about 1e-10 ft), not a
// measured one: it is reported as a perfect closure, in the direction of a
// zero misclosure, instead of a ratio and a bearing of rounding noise.
inline constexpr double kClosureRounding = 1e-6;

// The closure lines of a traverse or a map check: "Error of Closure",
// "Error Bearing" (from the computed end back to where it should be, then
// `bearingNote`) and "Linear Precision" over `length`. The misclosure is the
// computed end minus that point; `error` its length.
void WriteClosure(Session& s, double misclosureNorth, double misclosureEast, double error, double length,
                  std::string_view bearingNote);

// "Station k (point p)", as messages name a station.
std::string StationName(const TraverseRecord& t, int k);

// Checks the traverse in the record before anything is written: at least one
// station, start and closing points valid and defined, station points valid
// and distinct from both and from each other, course lengths in range. Says
// what is wrong and returns false otherwise.
bool CheckTraverse(Session& s);

// TAA/TAB, once the record holds course azimuths: the closure report, "OK to
// Adjust?", and the station coordinates stored adjusted or as computed.
Outcome CloseTraverse(Session& s);

// Adjusts the courses when asked, then accumulates them from the start point
// into the station points. Returns false, with a message and no point
// changed, when the adjustment or the coordinates cannot be computed.
bool StoreTraverse(Session& s, Closure& closure, bool adjust);

}  // namespace vantrel
