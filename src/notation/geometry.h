// Distance notation and the geometry primitives every command shares:
// distance and azimuth between stored points, and line intersection.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace vantrel {

class Session;

// A distance field in feet: a number ("125.5", "1D3" = 1000) or a distance
// register code ("D4", "-D4"). An undefined or missing register is reported
// ("<text> is invalid distance code") and gives 0; so is a number beyond the
// range of the program's numbers (see OutOfRange).
double ParseDistance(Session& session, std::string_view text);

// A typed number that overflows ("1E400", or degrees beyond single
// precision): reported as "<text> is out of range" and read as 0, like the
// other field errors, so that no field brings an infinity into a point or a
// register. Returns that 0.
double OutOfRange(Session& session, std::string_view text);

// Distance between two stored points (valid point numbers).
double PointDistance(const Session& session, int i, int j);

// Azimuth from stored point i to stored point j (valid point numbers), as
// AzimuthOf gives it.
double PointAzimuth(const Session& session, int i, int j);

// Azimuth of the direction (dE, dN), clockwise from north, not normalised:
// -PI/2 < result <= 3*PI/2; a zero-length direction gives 3*PI/2.
double AzimuthOf(double dE, double dN);

// Where the straight line through (north, east) running in the direction
// `azimuth` cuts the circle about (centreNorth, centreEast) of `radius`: the
// azimuths of the two crossings as seen from the centre (equal for a tangent
// line). Nothing when the line misses the circle or the radius is 0.
std::optional<std::array<double, 2>> LineCircleCrossings(double north, double east, double azimuth,
                                                         double centreNorth, double centreEast, double radius);

// Stores in point `target` the intersection of the line through point a with
// slope m1 and the line through point b with slope m2 (slope = east change per
// north change). Parallel lines, or slopes whose intersection cannot be
// represented, are reported ("Lines do not intersect"), leave the new point
// undefined and return false.
bool IntersectLines(Session& session, int target, int a, int b, double m1, double m2);

}  // namespace vantrel
