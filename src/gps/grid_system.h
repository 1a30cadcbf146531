// The coordinate system set by GCS, through which GRF, GPS and GDS convert
// instead of the flat local model: a projected system, the combined scale
// factor from ground to grid, and whether the ground system is turned to
// true north at the reference point.
#pragma once

#include <optional>
#include <string>

#include "gps/projected_system.h"

namespace vantrel {

class Session;

struct GridSystem {
  ProjectedSystem projection;
  std::string Definition;      // the system as typed (EPSG:3566, a WKT, ...)
  double CombinedFactor = 1;   // grid distance / ground distance
  bool TrueNorth = false;      // ground turned by the convergence at the reference
  bool UsSurveyFeet = false;   // a metric system stored in US survey feet (USFT)
  int AreaNoteRun = 0;         // the command run that had its area-of-use note

  bool IsSet() const { return projection.IsSelected(); }
};

// Stored north/east of a geographic position: the grid position, or with a
// reference point its ground offset from the reference. Gives nothing after
// "Position cannot be converted: <reason>" has been said; a position outside
// the system's area of use is noted once per command.
std::optional<GridPosition> StoredFromGeographic(Session& session, GeographicPosition position);

// The geographic position of a stored point; nothing (and the reason) when
// it cannot be converted.
std::optional<GeographicPosition> GeographicOfPoint(Session& session, int point, std::string& reason);

// Once per command: "<what> is outside the area of use of <system>".
void NoteAreaOfUse(Session& session, GeographicPosition position, const std::string& what);

// "N40 12 30.00000": hemisphere letter, degrees, minutes and seconds to five
// decimals, rounded once so that 59.999996 seconds carry into the minutes.
std::string SecondsText(double degrees, char positive, char negative);

// GRF's row under a coordinate system: grid scale factor, convergence and
// combined factor at the new reference position. False (after the message)
// when the position cannot be converted.
bool WriteReferenceFactors(Session& session, GeographicPosition position);

}  // namespace vantrel
