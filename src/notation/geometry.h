// Distance notation and the geometry primitive every command shares: the
// azimuth of a direction.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "notation/numbers.h"

namespace vantrel {

// A place in the plane: north and east in feet.
struct PlanePoint {
  double north = 0;
  double east = 0;
};

// A distance field in feet: a number ("125.5", "1D3" = 1000) or a distance
// register code ("D4", "-D4") read from `distanceRegisters`. An undefined or
// missing register is an InvalidDistanceCode, a number beyond the range of
// the program's numbers OutOfRange. A register letter out of place reads as 0.
FieldValue DecodeDistance(std::string_view text, std::span<const double> distanceRegisters);

// Azimuth of the direction (dE, dN), clockwise from north, not normalised:
// -PI/2 < result <= 3*PI/2; a zero-length direction gives 3*PI/2.
double AzimuthOf(double dE, double dN);

// Where the straight line through (north, east) running in the direction
// `azimuth` cuts the circle about (centreNorth, centreEast) of `radius`: the
// azimuths of the two crossings as seen from the centre (equal for a tangent
// line). Nothing when the line misses the circle or the radius is 0.
std::optional<std::array<double, 2>> LineCircleCrossings(double north, double east, double azimuth,
                                                         double centreNorth, double centreEast, double radius);

}  // namespace vantrel
