// Units and number notation of raw total-station files: the length unit a
// file records its distances in and how it becomes the store's feet, and
// the angle notations the collectors write (DDD.MMSS text, gon, mil,
// decimal degrees, the packed DMS of GSI words).
#pragma once

#include <optional>
#include <string_view>

namespace vantrel {

// The length unit of a file's distances, coordinates and heights. The two
// feet differ by 2 ppm; a file in either is taken as it is (the store's
// feet are the job's feet), and only metres are converted.
enum class LengthUnit { Metre, InternationalFoot, UsSurveyFoot, Foot };

// Which foot metres become: the US survey foot (1200/3937 m) unless the
// surveyor asks for the international foot (0.3048 m).
enum class FootKind { UsSurvey, International };

// Feet of the chosen kind in one unit of the file.
double FeetPerUnit(LengthUnit unit, FootKind foot);

// The unit as the report names it ("metres", "US survey feet").
std::string_view LengthUnitName(LengthUnit unit);

// True when both units are feet (of any kind) or both metres.
bool SameLengthKind(LengthUnit a, LengthUnit b);

// Degrees written DDD.MMSSs (the integer part degrees, two digits of
// minutes, two of seconds, any further digits tenths and beyond of a
// second), read as text so that 89.2236 is 89°22'36" exactly; a leading
// minus applies to the whole angle. Radians, or nothing when the text is no
// such angle (minutes or seconds of 60 and above included).
std::optional<double> PackedDegreesText(std::string_view text);

// Radians from decimal degrees, gon (400 to the circle) and mil (6400).
double DegreesToRadians(double degrees);
double GonToRadians(double gon);
double MilToRadians(double mil);

// Angles in seconds of arc.
double RadiansToSeconds(double radians);
double SecondsToRadians(double seconds);

// An angle brought into [0, 2π) and into (−π, π].
double NormalizedAzimuth(double radians);
double SignedAngle(double radians);

}  // namespace vantrel
