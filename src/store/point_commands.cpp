// The commands that manage the point store as a whole: KWN, CLR, DSC, DSE,
// ROT, TAX.
#include <cmath>
#include <string>
#include <vector>

#include "command/commands.h"
#include "command/fields.h"
#include "command/point_groups.h"
#include "command/session.h"
#include "notation/angles.h"
#include "notation/format.h"
#include "notation/geometry.h"
#include "notation/numbers.h"
#include "store/descriptions.h"

namespace vantrel {
namespace {

// CLR and DSC take ranges of points; an empty line means all of them.
void DefaultToWholeStore(Session& s) {
  if (s.LineFieldCount != 0) return;
  s.ArgField[1] = std::to_string(1);
  s.ArgField[2] = std::to_string(s.points.Capacity());
  s.ArgCount = 2;
  s.ArgUsed = 0;
}

struct Range {
  int first, last;
};

// The next "first, last" pair of the argument store, consumed; a number
// outside the store refuses the pair with a message.
std::optional<Range> NextRange(Session& s) {
  const std::string& firstField = s.GroupField(1);
  const std::string& lastField = s.GroupField(2);
  s.ArgUsed += 2;
  std::optional<int> first = ReadPointNumber(s, firstField);
  if (!first) return std::nullopt;
  std::optional<int> last = ReadPointNumber(s, lastField);
  if (!last) return std::nullopt;
  return Range{*first, *last};
}

// Moves every defined point at once (`move` turns its east and north into
// the new ones), or none: when a moved coordinate would leave the range of
// numbers (points at absurd coordinates), that point is reported and the
// store stays as it was.
template <typename Move>
Outcome MoveEveryPoint(Session& s, Move move) {
  struct Moved {
    int number;
    double north, east;
  };
  std::vector<Moved> moved;
  for (int k : s.points.Numbers()) {
    if (!s.points.IsDefined(k)) continue;
    Moved& m = moved.emplace_back(Moved{k, s.points.North(k), s.points.East(k)});
    move(m.east, m.north);
    if (std::isfinite(m.east) && std::isfinite(m.north)) continue;
    s.InfoBox("Point " + std::to_string(k) + " cannot be moved: coordinates out of range; no point was moved");
    return Outcome::Stopped;
  }
  for (const Moved& m : moved) s.points.Move(m.number, m.north, m.east);
  return Outcome::Completed;
}

}  // namespace

Outcome ClearPointsCommand(Session& s) {
  s.GroupSize = 2;
  DefaultToWholeStore(s);
  Outcome outcome = Outcome::Completed;
  while (s.FieldsLeft() >= s.GroupSize) {
    std::optional<Range> range = NextRange(s);
    if (!range) {
      outcome = Outcome::Stopped;
      break;
    }
    for (int k : s.points.Numbers(range->first, range->last)) s.points.Clear(k);
  }
  // Every CLR drops the geographic reference, also one stopped by a refused
  // range: the ranges cleared before it may hold the reference point.
  s.gps.Clear();
  return outcome;
}

Outcome KnownPointsCommand(Session& s) {
  s.GroupSize = 3;
  while (s.FieldsLeft() >= s.GroupSize) {
    // Numbers above the store are passed over silently, as surveyors use
    // them to skip a group; numbers below it are reported.
    int p = IntegerField(s.GroupField(1));
    if (p < 1) {
      ReportInvalidPointNumber(s, s.GroupField(1));
      s.ArgUsed += 3;
      return Outcome::Stopped;
    }
    if (p <= s.points.Capacity()) {
      double north = ParseDistance(s, s.GroupField(2));
      s.points.Store(p, north, ParseDistance(s, s.GroupField(3)));
    }
    s.ArgUsed += 3;
  }
  return Outcome::Completed;
}

namespace {

// DSC and DSE: ranges of points (an empty line lists them all), an empty
// line before each range, then one row for every defined point, written by
// `writeRow`.
template <typename WriteRow>
Outcome ListPoints(Session& s, WriteRow writeRow) {
  s.GroupSize = 2;
  DefaultToWholeStore(s);
  while (s.FieldsLeft() >= s.GroupSize) {
    std::optional<Range> range = NextRange(s);
    if (!range) return Outcome::Stopped;
    s.WriteOutput("");
    for (int k : s.points.Numbers(range->first, range->last))
      if (s.points.IsDefined(k)) writeRow(k);
  }
  return Outcome::Completed;
}

}  // namespace

Outcome DisplayPointsCommand(Session& s) {
  return ListPoints(s, [&s](int k) { WritePointLine(s, k); });
}

// The DSC row, then the elevation in a column of its own (blank when the
// point has none) and the description.
Outcome DisplayPointsWithDescriptionsCommand(Session& s) {
  return ListPoints(s, [&s](int k) {
    const Point& p = s.points[k];
    std::string& row = s.NewRow();
    AppendDescribedPoint(row, k, p.north, p.east, p.elevation, p.description);
    s.WriteOutput(row);
  });
}

Outcome RotatePointsCommand(Session& s) {
  if (s.ArgCount == 0) return Outcome::Completed;
  s.ArgUsed = s.ArgCount;
  double theta = ParseAngle(s, s.ArgField[1]);
  double c = std::cos(theta), sn = std::sin(theta);
  return MoveEveryPoint(s, [c, sn](double& east, double& north) {
    double e = east, n = north;
    east = e * c + n * sn;
    north = n * c - e * sn;
  });
}

Outcome TranslateAxesCommand(Session& s) {
  if (s.ArgCount == 0) return Outcome::Completed;
  s.ArgUsed = s.ArgCount;
  std::optional<int> origin = ReadStoredPoint(s, s.ArgField[1]);
  if (!origin) return Outcome::Stopped;
  double east0 = s.points.East(*origin), north0 = s.points.North(*origin);
  return MoveEveryPoint(s, [east0, north0](double& east, double& north) {
    east -= east0;
    north -= north0;
  });
}

}  // namespace vantrel
