// GRF, GPS, GDS: declaring the geographic reference point, placing points
// from their latitude and longitude, and listing points with theirs; GCS:
// the coordinate system they convert through.
#include <cmath>
#include <optional>
#include <vector>

#include "command/commands.h"
#include "command/fields.h"
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

// A GRF or GPS group: point, latitude, longitude.
constexpr int kGpsGroup = 3;

// The latitude and longitude of the current group (its fields 2 and 3),
// completed against the reference. Texts that cannot be completed are
// reported; the group then stays pending.
// Under a coordinate system the texts may carry seconds.
bool GroupCoordinates(Session& s, std::string& latitude, std::string& longitude) {
  latitude = s.args.GroupField(2);
  longitude = s.args.GroupField(3);
  if (CompleteGpsCoordinates(s.gps, latitude, longitude, s.grid.IsSet())) return true;
  s.InfoBox("Invalid GPS Coordinates");
  return false;
}

GeographicPosition PositionOf(const std::string& latitude, const std::string& longitude) {
  return {GpsTextToDegrees(latitude), GpsTextToDegrees(longitude)};
}

// The stored position of a group's completed texts: through the coordinate
// system when one is set, otherwise on the flat model in single precision.
// Nothing, after the message, when it cannot be had.
std::optional<GridPosition> StoredPosition(Session& s, const std::string& latitude, const std::string& longitude) {
  if (s.grid.IsSet()) return StoredFromGeographic(s, PositionOf(latitude, longitude));
  // The flat result is held in single precision; a reference point far
  // beyond that range gives no position.
  float east = LongitudeToEast(s, longitude);
  float north = LatitudeToNorth(s, latitude);
  if (!std::isfinite(east) || !std::isfinite(north)) {
    s.InfoBox("Invalid GPS Coordinates");
    return std::nullopt;
  }
  return GridPosition{north, east};
}

// A GDS row under the coordinate system: the texts to seconds, or why the
// point has none.
std::string GridListingRow(Session& s, int point) {
  std::string reason;
  std::optional<GeographicPosition> position = GeographicOfPoint(s, point, reason);
  std::string number = PadLeft(PlainNumber(point), 4);
  if (!position) return number + "  Position cannot be converted: " + reason;
  NoteAreaOfUse(s, *position, "Point " + PlainNumber(point));
  return number + PadLeft(SecondsText(position->latitude, 'N', 'S'), 17) +
         PadLeft(SecondsText(position->longitude, 'E', 'W'), 18);
}

// GCS's line as typed: the system, the combined factor, true north, US
// survey feet.
struct TypedGridSetting {
  std::string definition;
  double factor = 1;
  bool trueNorth = false;
  bool usSurveyFeet = false;
};

// Smallest and largest combined factor: grid and ground differ by less
// than a tenth anywhere a surveyor works.
constexpr double kSmallestCombinedFactor = 0.9;
constexpr double kLargestCombinedFactor = 1.1;

// Reads GCS's line. The system runs to the last field that holds '=', ']'
// or '}' (PROJ strings and WKT have commas of their own), then come the
// combined factor and the words T and USFT, in either order. Refusals are
// reported.
std::optional<TypedGridSetting> ReadGridSetting(Session& s) {
  const std::string& line = s.CurrentLine;
  std::vector<size_t> starts{0};
  for (size_t comma = line.find(','); comma != std::string::npos; comma = line.find(',', comma + 1))
    starts.push_back(comma + 1);
  auto field = [&](size_t k) {
    size_t end = k + 1 < starts.size() ? starts[k + 1] - 1 : line.size();
    return std::string(TrimBlanks(std::string_view(line).substr(starts[k], end - starts[k])));
  };
  size_t definitionFields = 1;
  for (size_t k = 0; k < starts.size(); ++k)
    if (field(k).find_first_of("=]}") != std::string::npos) definitionFields = k + 1;

  TypedGridSetting setting;
  size_t definitionEnd = definitionFields < starts.size() ? starts[definitionFields] - 1 : line.size();
  setting.definition = TrimBlanks(std::string_view(line).substr(0, definitionEnd));
  if (starts.size() > definitionFields + 3) {
    s.InfoBox("GCS takes the coordinate system, the combined factor, T and USFT; this line has more: " + line);
    return std::nullopt;
  }
  std::string factor = definitionFields < starts.size() ? field(definitionFields) : "";
  if (!factor.empty()) {
    setting.factor = LeadingNumber(factor);
    if (!IsNumericText(factor) || !(setting.factor >= kSmallestCombinedFactor && setting.factor <= kLargestCombinedFactor)) {
      s.InfoBox("Combined scale factor " + factor + " is not a number from 0.9 to 1.1");
      return std::nullopt;
    }
  }
  for (size_t k = definitionFields + 1; k < starts.size(); ++k) {
    std::string word = UpperCase(field(k));
    if (word.empty()) continue;
    if (word != "T" && word != "USFT") {
      s.InfoBox(word + " is not T (turn grid north to true north) or USFT (a metric system in US survey feet); "
                       "leave the field empty for grid north");
      return std::nullopt;
    }
    bool& named = word == "T" ? setting.trueNorth : setting.usSurveyFeet;
    if (named) {
      s.InfoBox(word + " is given twice: " + line);
      return std::nullopt;
    }
    named = true;
  }
  return setting;
}

// The report rows of the setting in use.
void WriteGridSetting(Session& s) {
  s.WriteOutput("");
  if (!s.grid.IsSet()) {
    s.WriteOutput("Coordinate system NONE: flat local model");
    return;
  }
  s.WriteOutput("Coordinate system " + s.grid.projection.Name() + ", " + s.grid.projection.UnitDescription());
  s.WriteOutput("Combined factor " + FormatMask(s.grid.CombinedFactor, "0.00000000") + " (grid / ground), north: " +
                (s.grid.TrueNorth ? "true at the reference point" : "grid"));
}

}  // namespace

// One group per line; an incomplete group waits for the next line.
Outcome GpsReferenceCommand(Session& s) {
  if (s.args.FieldsLeft() < kGpsGroup) return Outcome::Completed;
  const std::string& pointField = s.args.GroupField(1);
  int p = IntegerField(pointField);
  // Numbers above the store pass the group over, as in KWN.
  if (p > s.points.Capacity()) {
    s.args.Consume(kGpsGroup);
    return Outcome::Completed;
  }
  if (p < 1) {
    ReportInvalidPointNumber(s, pointField);
    s.args.Consume(kGpsGroup);
    return Outcome::Stopped;
  }
  std::string latitude, longitude;
  if (!GroupCoordinates(s, latitude, longitude)) return Outcome::Stopped;
  // Under a coordinate system the reference must convert; its factors are
  // written.
  if (s.grid.IsSet() && !WriteReferenceFactors(s, PositionOf(latitude, longitude))) {
    s.args.Consume(kGpsGroup);
    return Outcome::Stopped;
  }

  GpsReference& g = s.gps;
  g.ReferenceLatitude = latitude;
  g.ReferenceLongitude = longitude;
  if (s.points.North(p) == UndefinedCoord) s.points.Store(p, 0, 0);
  g.ReferencePoint = p;
  g.NorthScale = kFeetPerMinuteOfLatitude;
  // The latitude's degrees and minutes, read as an angle.
  double latitudeAngle = ParseAngle(s, std::string_view(latitude).substr(1));
  g.EastScale = static_cast<float>(kFeetPerMinuteOfLongitudeAtEquator * std::cos(latitudeAngle));
  s.args.Consume(kGpsGroup);
  return Outcome::Completed;
}

Outcome GpsToGridCommand(Session& s) {
  while (s.args.FieldsLeft() >= kGpsGroup) {
    std::string latitude, longitude;
    if (!GroupCoordinates(s, latitude, longitude)) return Outcome::Stopped;
    // A reference point cleared or made undefined since GRF places nothing.
    if (s.gps.HasReference() && !DefinedOrReported(s, s.gps.ReferencePoint)) {
      s.args.Consume(kGpsGroup);
      return Outcome::Stopped;
    }
    std::optional<GridPosition> position = StoredPosition(s, latitude, longitude);
    // A flat position out of range waits, as a text that cannot be read; a
    // position the coordinate system refuses is passed over.
    if (!position && !s.grid.IsSet()) return Outcome::Stopped;
    std::optional<int> p = ReadPointNumber(s, s.args.GroupField(1));
    s.args.Consume(kGpsGroup);
    if (!position || !p) return Outcome::Stopped;
    s.points.Store(*p, position->north, position->east);
  }
  return Outcome::Completed;
}

Outcome ListGpsCoordinatesCommand(Session& s) {
  while (s.args.FieldsLeft() >= 2) {
    const std::string& firstField = s.args.GroupField(1);
    const std::string& lastField = s.args.GroupField(2);
    s.args.Consume(2);
    std::optional<int> first = ReadPointNumber(s, firstField);
    if (!first) return Outcome::Stopped;
    std::optional<int> last = ReadPointNumber(s, lastField);
    if (!last) return Outcome::Stopped;
    // Positions are found from the reference point: one cleared or made
    // undefined since GRF would give every point a wrong latitude.
    if (s.gps.HasReference() && !DefinedOrReported(s, s.gps.ReferencePoint)) return Outcome::Stopped;
    s.WriteOutput("");
    for (int k = *first; k <= *last; ++k) {
      if (!s.points.IsDefined(k)) continue;
      if (s.grid.IsSet()) s.WriteOutput(GridListingRow(s, k));
      else s.WriteOutput(PadLeft(PlainNumber(k), 4) + PadLeft(LatitudeText(s, k), 12) + PadLeft(LongitudeText(s, k), 12));
    }
  }
  return Outcome::Completed;
}

// One line each time: a system PROJ resolves (or NONE), the combined factor,
// T. An empty line changes nothing.
Outcome CoordinateSystemCommand(Session& s) {
  s.args.ConsumeAll();
  if (s.CurrentLine.empty()) return Outcome::Completed;
  std::optional<TypedGridSetting> typed = ReadGridSetting(s);
  if (!typed) return Outcome::Stopped;
  GridSystem& g = s.grid;
  if (UpperCase(typed->definition) == "NONE") {
    g.projection.Unselect();
    g.Definition.clear();
    g.CombinedFactor = 1;
    g.TrueNorth = false;
    g.UsSurveyFeet = false;
  } else {
    std::string refusal = g.projection.Select(typed->definition, typed->usSurveyFeet);
    if (!refusal.empty()) {
      s.InfoBox("Coordinate system " + QuoteStart(typed->definition) + " refused: " + refusal);
      return Outcome::Stopped;
    }
    g.Definition = typed->definition;
    g.CombinedFactor = typed->factor;
    g.TrueNorth = typed->trueNorth;
    g.UsSurveyFeet = typed->usSurveyFeet;
  }
  WriteGridSetting(s);
  return Outcome::Completed;
}

}  // namespace vantrel
