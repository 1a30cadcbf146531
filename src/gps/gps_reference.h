// The geographic reference point that ties the grid to latitude/longitude,
// and the conversions between GPS texts ("N40 12.345", "W111 5.250") and
// grid coordinates on a flat local model.
#pragma once

#include <string>
#include <string_view>

namespace vantrel {

class Session;

struct GpsReference {
  int ReferencePoint = 0;          // 0: no reference declared
  std::string ReferenceLatitude;   // completed texts of the reference point
  std::string ReferenceLongitude;
  float NorthScale = 0;            // feet per minute of latitude
  float EastScale = 0;             // feet per minute of longitude

  bool HasReference() const { return ReferencePoint > 0; }
  void Clear() { *this = GpsReference{}; }
};

// Signed decimal degrees of a latitude or longitude text: the first
// character is the hemisphere letter, the degrees run up to the first blank,
// the minutes follow it, and the seconds a second blank when there is one.
// Negative for S and W.
double GpsTextToDegrees(std::string_view text);

// Completes both texts in place against the reference: upper-cased, trimmed,
// inner blanks after the first removed, and abbreviations (".750" = decimals
// of the last unit, "48.5" = minutes, "40 12.5" = no hemisphere letter)
// filled in from the reference texts. Returns false when a text needs a
// reference that is not there, or does not come out as letter, degrees,
// blank, minutes. With `withSeconds` a second blank is kept and whole
// minutes may be followed by seconds ("N40 12 30.5").
bool CompleteGpsCoordinates(const GpsReference& reference, std::string& latitude, std::string& longitude,
                            bool withSeconds = false);

// Grid north/east of a completed latitude/longitude, in single precision;
// 0 when there is no reference.
float LatitudeToNorth(const Session& session, std::string_view latitude);
float LongitudeToEast(const Session& session, std::string_view longitude);

// "N40 12.500" / "W111 49.000" of a stored point; empty when the coordinate
// is undefined or there is no reference.
std::string LatitudeText(const Session& session, int point);
std::string LongitudeText(const Session& session, int point);

}  // namespace vantrel
