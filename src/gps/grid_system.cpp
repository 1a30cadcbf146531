// Conversions through the coordinate system: grid positions from PROJ,
// scaled to ground and turned about the reference point, and the
// degrees-minutes-seconds texts they are written in.
#include "gps/grid_system.h"

#include <cmath>
#include <cstdint>

#include "command/session.h"
#include "notation/angles.h"
#include "notation/numbers.h"

namespace vantrel {
namespace {

// Seconds are written to five decimals: 1e-5" is 0.3 mm on the ground.
constexpr int64_t kTicksPerSecond = 100000;

// The reference point's frame: its grid position, its stored coordinates
// and the turn from grid to ground north.
struct ReferenceFrame {
  GridPosition grid;
  GridPosition stored;
  double cosTurn = 1, sinTurn = 0;
};

GeographicPosition ReferencePosition(const Session& s) {
  return {GpsTextToDegrees(s.gps.ReferenceLatitude), GpsTextToDegrees(s.gps.ReferenceLongitude)};
}

std::optional<ReferenceFrame> Frame(const Session& s, std::string& reason) {
  ReferenceFrame frame;
  frame.stored = {s.points.North(s.gps.ReferencePoint), s.points.East(s.gps.ReferencePoint)};
  GeographicPosition reference = ReferencePosition(s);
  std::optional<GridPosition> grid = s.grid.projection.ToGrid(reference, reason);
  if (!grid) return std::nullopt;
  frame.grid = *grid;
  if (s.grid.TrueNorth) {
    std::optional<GridFactors> factors = s.grid.projection.FactorsAt(reference, reason);
    if (!factors) return std::nullopt;
    frame.cosTurn = std::cos(factors->convergence);
    frame.sinTurn = std::sin(factors->convergence);
  }
  return frame;
}

bool IsFinite(GridPosition p) { return std::isfinite(p.north) && std::isfinite(p.east); }

}  // namespace

std::optional<GridPosition> StoredFromGeographic(Session& s, GeographicPosition position) {
  std::string reason;
  std::optional<GridPosition> stored = s.grid.projection.ToGrid(position, reason);
  if (stored && s.gps.HasReference()) {
    // Ground offset from the reference: grid offset over the combined
    // factor, turned clockwise by the convergence to true north.
    std::optional<ReferenceFrame> frame = Frame(s, reason);
    if (frame) {
      double k = s.grid.CombinedFactor;
      double dNorth = (stored->north - frame->grid.north) / k, dEast = (stored->east - frame->grid.east) / k;
      stored = GridPosition{frame->stored.north + dNorth * frame->cosTurn - dEast * frame->sinTurn,
                            frame->stored.east + dEast * frame->cosTurn + dNorth * frame->sinTurn};
    } else {
      stored.reset();
    }
  }
  if (stored && !IsFinite(*stored)) {
    reason = "the coordinates are beyond any number";
    stored.reset();
  }
  if (!stored) {
    s.InfoBox("Position cannot be converted: " + reason);
    return std::nullopt;
  }
  NoteAreaOfUse(s, position, "Position " + SecondsText(position.latitude, 'N', 'S') + " " +
                                 SecondsText(position.longitude, 'E', 'W'));
  return stored;
}

std::optional<GeographicPosition> GeographicOfPoint(Session& s, int point, std::string& reason) {
  GridPosition grid{s.points.North(point), s.points.East(point)};
  if (s.gps.HasReference()) {
    // Back from ground to grid: turned counter-clockwise, times the factor.
    std::optional<ReferenceFrame> frame = Frame(s, reason);
    if (!frame) return std::nullopt;
    double dNorth = grid.north - frame->stored.north, dEast = grid.east - frame->stored.east;
    double k = s.grid.CombinedFactor;
    grid = {frame->grid.north + (dNorth * frame->cosTurn + dEast * frame->sinTurn) * k,
            frame->grid.east + (dEast * frame->cosTurn - dNorth * frame->sinTurn) * k};
  }
  if (!IsFinite(grid)) {
    reason = "the coordinates are beyond any number";
    return std::nullopt;
  }
  return s.grid.projection.ToGeographic(grid, reason);
}

void NoteAreaOfUse(Session& s, GeographicPosition position, const std::string& what) {
  if (s.grid.AreaNoteRun == s.CommandRun || s.grid.projection.InAreaOfUse(position)) return;
  s.grid.AreaNoteRun = s.CommandRun;
  s.InfoBox(what + " is outside the area of use of " + s.grid.projection.Name());
}

std::string SecondsText(double degrees, char positive, char negative) {
  int64_t ticks = std::llround(std::fabs(degrees) * 3600 * kTicksPerSecond);
  char letter = degrees < 0 && ticks != 0 ? negative : positive;
  int64_t ticksPerMinute = 60 * kTicksPerSecond, ticksPerDegree = 60 * ticksPerMinute;
  int64_t secondTicks = ticks % ticksPerMinute;
  return letter + std::to_string(ticks / ticksPerDegree) + " " +
         std::to_string(ticks % ticksPerDegree / ticksPerMinute) + " " +
         FormatMask(static_cast<double>(secondTicks) / kTicksPerSecond, "0.00000");
}

bool WriteReferenceFactors(Session& s, GeographicPosition position) {
  std::string reason;
  std::optional<GridFactors> factors = s.grid.projection.FactorsAt(position, reason);
  if (!factors) {
    s.InfoBox("Position cannot be converted: " + reason);
    return false;
  }
  NoteAreaOfUse(s, position, "The reference position");
  // The sign only for a convergence that shows a second: -0.3" reads 0 0 0.
  std::string convergence(TrimBlanks(FormatAngle(std::fabs(factors->convergence), "z")));
  bool negative = factors->convergence < 0 && convergence != TrimBlanks(FormatAngle(0, "z"));
  s.WriteOutput("");
  // An equal-area system (Albers) scales a line by its direction: both
  // factors are given, and that neither holds for every line.
  std::string scale = FormatMask(factors->scale, "0.00000000");
  if (!factors->Conformal())
    scale += " north-south, " + FormatMask(factors->parallelScale, "0.00000000") + " east-west (by direction)";
  s.WriteOutput("Grid scale factor " + scale + "   Convergence " +
                (negative ? "-" : "") + convergence + "   Combined factor " +
                FormatMask(s.grid.CombinedFactor, "0.00000000"));
  return true;
}

}  // namespace vantrel
