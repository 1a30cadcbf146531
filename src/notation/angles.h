// Angle and bearing notation: reading angle fields (degrees-minutes-seconds,
// quadrant bearings, angle-register codes) and writing azimuths and bearings
// in the report's 11-character column.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "notation/numbers.h"

namespace vantrel {

// An angle field in radians, clockwise from north: degrees-minutes-seconds,
// a quadrant bearing ("N 45 30 E") or an angle register code ("A12", "-A12",
// "A123" turning register 12 by three eighths of a circle) read from
// `angleRegisters`. An undefined or missing register and a bearing without
// its E/W letter or beyond 90 degrees are an InvalidAngle; a number too large
// for the single-precision degrees, minutes and seconds is OutOfRange. A
// register letter out of place and an empty field read as 0.
FieldValue DecodeAngle(std::string_view text, std::span<const double> angleRegisters);

// Degrees-minutes-seconds text ("45 30 15", "-45 30", "45.5") in radians.
double DegreesMinutesSeconds(std::string_view text);

// An angle as FormatAngle writes it: the quadrant letters of a bearing
// (blanks for an azimuth, and for a bearing of exactly north), then
// degrees, minutes and whole seconds, worked in single precision as the
// stored value would be. Nothing for an angle that is no finite number or
// too large to bring into one turn (FormatAngle writes a marker).
struct AngleParts {
  char from = ' ', toward = ' ';
  double degrees = 0, minutes = 0, seconds = 0;
};
std::optional<AngleParts> SplitAngle(double angle, std::string_view mode);

// An angle as degrees, minutes and whole seconds: azimuth for mode "z",
// quadrant bearing for "b"/"B". 11 characters for angles below 1000 degrees.
std::string FormatAngle(double angle, std::string_view mode);

// Appends the same text to a report row, right-justified in `width`
// characters as AppendPadded does (0: as it is).
void AppendAngle(std::string& row, double angle, std::string_view mode, int width = 0);

}  // namespace vantrel
