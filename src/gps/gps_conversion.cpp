// Latitude/longitude texts and their conversion to and from the grid: the
// differences in minutes of arc from the reference point, scaled to feet.
#include <algorithm>
#include <cmath>

#include "command/session.h"
#include "gps/gps_reference.h"
#include "notation/numbers.h"

namespace vantrel {
namespace {

// A text beyond one full turn of arc is a typing error (or an exponent such
// as "1E9"), never a position on the earth.
constexpr double kLargestGpsDegrees = 360;

// The two hemisphere letters of one axis and the reference text they are
// completed against.
struct Axis {
  char positive;  // N or E
  char negative;  // S or W
  const std::string& referenceText;
};

// Upper case, trimmed, and every blank after the first removed, so that
// "n40 12 .5" reads as "N40 12.5"; with seconds, runs of blanks become one.
void NormaliseGpsText(std::string& text, bool withSeconds) {
  text = UpperCase(TrimBlanks(text));
  size_t blank = text.find(' ');
  if (blank == std::string::npos) return;
  auto from = text.begin() + static_cast<long>(blank) + 1;
  if (withSeconds) {
    text.erase(std::unique(from - 1, text.end(), [](char a, char b) { return a == ' ' && b == ' '; }), text.end());
  } else {
    text.erase(std::remove(from, text.end(), ' '), text.end());
  }
}

// Whole minutes and seconds, each below 60: "12 30.5".
bool IsMinutesAndSeconds(std::string_view text) {
  size_t blank = text.find(' ');
  if (blank == std::string_view::npos) return false;
  std::string_view minutes = text.substr(0, blank), seconds = text.substr(blank + 1);
  if (minutes.find_first_not_of("0123456789") != std::string_view::npos || !IsNumericText(seconds)) return false;
  double s = LeadingNumber(seconds);
  return LeadingNumber(minutes) < 60 && s >= 0 && s < 60;
}

// Letter, numeric degrees, one blank, numeric minutes (or with seconds,
// whole minutes and seconds), within one turn.
bool IsCompleteGpsText(const std::string& text, const Axis& axis, bool withSeconds) {
  if (text.empty() || (text[0] != axis.positive && text[0] != axis.negative)) return false;
  size_t blank = text.find(' ');
  if (blank == std::string::npos) return false;
  std::string_view view(text);
  std::string_view rest = view.substr(blank + 1);
  bool minutesRead = rest.find(' ') == std::string_view::npos ? IsNumericText(rest)
                                                              : withSeconds && IsMinutesAndSeconds(rest);
  if (!IsNumericText(view.substr(1, blank - 1)) || !minutesRead) return false;
  return std::fabs(GpsTextToDegrees(text)) <= kLargestGpsDegrees;
}

// Fills in an abbreviated text from the reference text of its axis.
bool CompleteGpsText(std::string& text, const Axis& axis, bool hasReference, bool withSeconds) {
  const std::string& reference = axis.referenceText;
  if (!text.empty() && text[0] == '.') {
    // Only the decimals of the minutes: the reference up to its decimal point.
    size_t point = reference.find('.');
    if (!hasReference || point == std::string::npos) return false;
    text.insert(0, reference, 0, point);
  } else if (text.find(' ') == std::string::npos) {
    // Only the minutes: the reference's letter and degrees.
    if (!hasReference) return false;
    text.insert(0, reference, 0, reference.find(' ') + 1);
  } else if (text.find(axis.positive) == std::string::npos && text.find(axis.negative) == std::string::npos) {
    // Degrees and minutes without the hemisphere letter.
    if (!hasReference) return false;
    text.insert(0, 1, reference[0]);
  }
  return IsCompleteGpsText(text, axis, withSeconds);
}

// Grid coordinate of a latitude or longitude: its difference from the
// reference in minutes, times feet per minute, from the reference point.
float DegreesToGrid(double degrees, const std::string& referenceText, float feetPerMinute, double referenceCoord) {
  return static_cast<float>((degrees - GpsTextToDegrees(referenceText)) * 60 * feetPerMinute + referenceCoord);
}

// The latitude or longitude text of a grid coordinate. Minutes keep the
// ".000" mask: below 1 they have no leading zero, and 59.9995 or more is
// written 60.000 without carrying into the degrees.
std::string GridToGpsText(double coord, double referenceCoord, float feetPerMinute, const Axis& axis) {
  double degrees = (coord - referenceCoord) / feetPerMinute / 60 + GpsTextToDegrees(axis.referenceText);
  char letter = degrees >= 0 ? axis.positive : axis.negative;
  double magnitude = std::fabs(degrees);
  double whole = std::trunc(magnitude);
  return letter + PlainNumber(whole) + " " + FormatMask((magnitude - whole) * 60, ".000");
}

}  // namespace

double GpsTextToDegrees(std::string_view text) {
  if (text.empty()) return 0;
  // Degrees, minutes and seconds end at blanks (the number reader itself
  // would read through a blank).
  double parts[3] = {0, 0, 0};
  size_t start = 1;
  for (double& part : parts) {
    size_t blank = text.find(' ', start);
    part = LeadingNumber(text.substr(start, blank == std::string_view::npos ? blank : blank - start));
    if (blank == std::string_view::npos) break;
    start = blank + 1;
  }
  double value = parts[0] + parts[1] / 60 + parts[2] / 3600;
  return text[0] == 'S' || text[0] == 'W' ? -value : value;
}

bool CompleteGpsCoordinates(const GpsReference& reference, std::string& latitude, std::string& longitude,
                            bool withSeconds) {
  NormaliseGpsText(latitude, withSeconds);
  NormaliseGpsText(longitude, withSeconds);
  bool hasReference = reference.HasReference();
  return CompleteGpsText(latitude, {'N', 'S', reference.ReferenceLatitude}, hasReference, withSeconds) &&
         CompleteGpsText(longitude, {'E', 'W', reference.ReferenceLongitude}, hasReference, withSeconds);
}

float LatitudeToNorth(const Session& s, std::string_view latitude) {
  const GpsReference& g = s.gps;
  if (!g.HasReference()) return 0;
  return DegreesToGrid(GpsTextToDegrees(latitude), g.ReferenceLatitude, g.NorthScale, s.points.North(g.ReferencePoint));
}

float LongitudeToEast(const Session& s, std::string_view longitude) {
  const GpsReference& g = s.gps;
  if (!g.HasReference()) return 0;
  return DegreesToGrid(GpsTextToDegrees(longitude), g.ReferenceLongitude, g.EastScale, s.points.East(g.ReferencePoint));
}

std::string LatitudeText(const Session& s, int point) {
  const GpsReference& g = s.gps;
  if (s.points.North(point) == UndefinedCoord || !g.HasReference()) return {};
  return GridToGpsText(s.points.North(point), s.points.North(g.ReferencePoint), g.NorthScale,
                       {'N', 'S', g.ReferenceLatitude});
}

std::string LongitudeText(const Session& s, int point) {
  const GpsReference& g = s.gps;
  if (s.points.East(point) == UndefinedCoord || !g.HasReference()) return {};
  return GridToGpsText(s.points.East(point), s.points.East(g.ReferencePoint), g.EastScale,
                       {'E', 'W', g.ReferenceLongitude});
}

}  // namespace vantrel
