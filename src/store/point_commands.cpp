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

struct Range {
  int first, last;
};

// CLR, DSC and DSE: "first, last" pairs of point numbers, each handed to
// `each` as it is read; an empty line means the whole store. A number
// outside the store is reported and stops the line (its pair consumed).
template <typename Each>
Outcome ForEachRange(Session& s, Each each) {
  if (s.LineFieldCount == 0) {
    s.args.ConsumeAll();
    each(Range{1, s.points.Capacity()});
    return Outcome::Completed;
  }
  while (s.args.FieldsLeft() >= 2) {
    std::optional<int> first = ReadPointNumber(s, s.args.GroupField(1));
    std::optional<int> last = first ? ReadPointNumber(s, s.args.GroupField(2)) : std::nullopt;
    s.args.Consume(2);
    if (!last) return Outcome::Stopped;
    each(Range{*first, *last});
  }
  return Outcome::Completed;
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
  Outcome outcome = ForEachRange(s, [&s](Range range) {
    for (int k : s.points.Numbers(range.first, range.last)) s.points.Clear(k);
  });
  // Every CLR drops the geographic reference, also one stopped by a refused
  // range: the ranges cleared before it may hold the reference point.
  s.gps.Clear();
  return outcome;
}

Outcome KnownPointsCommand(Session& s) {
  return RepeatGroups(s, 3, [](Session& session) -> GroupEnd {
    // Numbers above the store are passed over silently, as surveyors use
    // them to skip a group; numbers below it are reported.
    const ArgumentStore& args = session.args;
    int p = IntegerField(args.GroupField(1));
    if (p < 1) {
      ReportInvalidPointNumber(session, args.GroupField(1));
      return GroupEnd::Refused;
    }
    if (p > session.points.Capacity()) return GroupEnd::Done;
    std::optional<std::array<double, 2>> place = GroupDistances(session, {2, 3});
    if (!place) return GroupEnd::Refused;
    session.points.Store(p, (*place)[0], (*place)[1]);
    return GroupEnd::Done;
  });
}

namespace {

// DSC and DSE: ranges of points (an empty line lists them all), an empty
// line before each range, then one row for every defined point, written by
// `writeRow`.
template <typename WriteRow>
Outcome ListPoints(Session& s, WriteRow writeRow) {
  return ForEachRange(s, [&](Range range) {
    s.WriteOutput("");
    for (int k : s.points.Numbers(range.first, range.last))
      if (s.points.IsDefined(k)) writeRow(k);
  });
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
  if (s.args.Count() == 0) return Outcome::Completed;
  s.args.ConsumeAll();
  std::optional<double> turn = ReadAngle(s, s.args.Field(1));
  if (!turn) return Outcome::Stopped;
  double theta = *turn;
  double c = std::cos(theta), sn = std::sin(theta);
  return MoveEveryPoint(s, [c, sn](double& east, double& north) {
    double e = east, n = north;
    east = e * c + n * sn;
    north = n * c - e * sn;
  });
}

Outcome TranslateAxesCommand(Session& s) {
  if (s.args.Count() == 0) return Outcome::Completed;
  s.args.ConsumeAll();
  std::optional<int> origin = ReadStoredPoint(s, s.args.Field(1));
  if (!origin) return Outcome::Stopped;
  double east0 = s.points.East(*origin), north0 = s.points.North(*origin);
  return MoveEveryPoint(s, [east0, north0](double& east, double& north) {
    east -= east0;
    north -= north0;
  });
}

}  // namespace vantrel
