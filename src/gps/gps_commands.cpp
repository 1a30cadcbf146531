// GRF, GPS, GDS: declaring the geographic reference point, placing points
// from their latitude and longitude, and listing points with theirs.
#include <cmath>

#include "command/commands.h"
#include "command/session.h"
#include "gps/gps_reference.h"
#include "notation/angles.h"
#include "notation/format.h"
#include "notation/numbers.h"

namespace vantrel {
namespace {

// Feet per minute of arc: of latitude everywhere, of longitude at the
// equator (shrinking with the cosine of the latitude).
constexpr float kFeetPerMinuteOfLatitude = 6067;
constexpr double kFeetPerMinuteOfLongitudeAtEquator = 6087;

// The latitude and longitude of the current group (its fields 2 and 3),
// completed against the reference. Texts that cannot be completed are
// reported; the group then stays pending.
bool GroupCoordinates(Session& s, std::string& latitude, std::string& longitude) {
  latitude = s.GroupField(2);
  longitude = s.GroupField(3);
  if (CompleteGpsCoordinates(s.gps, latitude, longitude)) return true;
  s.InfoBox("Invalid GPS Coordinates");
  return false;
}

}  // namespace

// One group per line; an incomplete group waits for the next line.
Outcome GpsReferenceCommand(Session& s) {
  s.GroupSize = 3;
  if (s.FieldsLeft() < s.GroupSize) return Outcome::Completed;
  const std::string& pointField = s.GroupField(1);
  int p = IntegerField(pointField);
  // Numbers above the store pass the group over, as in KWN.
  if (p > kMaxPoint) {
    s.ArgUsed += s.GroupSize;
    return Outcome::Completed;
  }
  if (p < 1) {
    s.InfoBox(pointField + " is invalid point number");
    s.ArgUsed += s.GroupSize;
    return Outcome::Stopped;
  }
  std::string latitude, longitude;
  if (!GroupCoordinates(s, latitude, longitude)) return Outcome::Stopped;

  GpsReference& g = s.gps;
  g.ReferenceLatitude = latitude;
  g.ReferenceLongitude = longitude;
  if (s.PointNorth[p] == UndefinedCoord) s.StorePoint(p, 0, 0);
  g.ReferencePoint = p;
  g.NorthScale = kFeetPerMinuteOfLatitude;
  // The latitude's degrees and minutes, read as an angle.
  double latitudeAngle = ParseAngle(s, std::string_view(latitude).substr(1));
  g.EastScale = static_cast<float>(kFeetPerMinuteOfLongitudeAtEquator * std::cos(latitudeAngle));
  s.ArgUsed += s.GroupSize;
  return Outcome::Completed;
}

Outcome GpsToGridCommand(Session& s) {
  s.GroupSize = 3;
  while (s.FieldsLeft() >= s.GroupSize) {
    std::string latitude, longitude;
    if (!GroupCoordinates(s, latitude, longitude)) return Outcome::Stopped;
    // A reference point cleared or made undefined since GRF places nothing.
    if (s.gps.HasReference() && !s.DefinedOrReported(s.gps.ReferencePoint)) {
      s.ArgUsed += s.GroupSize;
      return Outcome::Stopped;
    }
    // The result is held in single precision; a reference point far beyond
    // that range gives no position.
    float east = LongitudeToEast(s, longitude);
    float north = LatitudeToNorth(s, latitude);
    if (!std::isfinite(east) || !std::isfinite(north)) {
      s.InfoBox("Invalid GPS Coordinates");
      return Outcome::Stopped;
    }
    std::optional<int> p = s.PointNumber(s.GroupField(1));
    s.ArgUsed += s.GroupSize;
    if (!p) return Outcome::Stopped;
    s.StorePoint(*p, north, east);
  }
  return Outcome::Completed;
}

Outcome ListGpsCoordinatesCommand(Session& s) {
  s.GroupSize = 2;
  while (s.FieldsLeft() >= s.GroupSize) {
    const std::string& firstField = s.GroupField(1);
    const std::string& lastField = s.GroupField(2);
    s.ArgUsed += s.GroupSize;
    std::optional<int> first = s.PointNumber(firstField);
    if (!first) return Outcome::Stopped;
    std::optional<int> last = s.PointNumber(lastField);
    if (!last) return Outcome::Stopped;
    s.WriteOutput("");
    for (int k = *first; k <= *last; ++k)
      if (s.IsDefined(k))
        s.WriteOutput(PadLeft(PlainNumber(k), 4) + PadLeft(LatitudeText(s, k), 12) + PadLeft(LongitudeText(s, k), 12));
  }
  return Outcome::Completed;
}

}  // namespace vantrel
