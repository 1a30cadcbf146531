// SOF and LSO: a point's station and offset on an alignment, and the point
// at a station and offset (stakeout). The first line names the alignment;
// SOF then takes point numbers, LSO groups of new point, station, offset.
// Offsets are positive to the right of the direction of travel.
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "command/commands.h"
#include "command/session.h"
#include "notation/format.h"
#include "notation/geometry.h"
#include "command/fields.h"
#include "command/point_groups.h"
#include "route/route_entry.h"
#include "route/route_state.h"

namespace vantrel {
namespace {

// Half the thousandth of a foot to which stations are reported.
constexpr double kStationRounding = 0.0005;

// The first line: the alignment, then the report's heading. True when the
// line holds more fields.
bool ReadAlignmentLine(Session& s, const char* heading) {
  if (s.args.Stage() != 1) return true;
  std::optional<int> n = AlignmentNumber(s, s.args.GroupField(1), true);
  if (!n) {
    s.args.ConsumeAll();
    return false;
  }
  s.route.current = *n;
  s.args.SetStage(2);
  s.args.Consume(1);
  s.WriteOutput("");
  s.WriteOutput("Alignment No. " + std::to_string(*n));
  s.WriteOutput(heading);
  return s.args.FieldsLeft() > 0;
}

const StoredAlignment& Current(const Session& s) { return *s.route.alignments[s.route.current]; }

const char* FootNote(const StationOffset& found) {
  switch (found.foot) {
    case Foot::OnElement: return "";
    case Foot::BeforeStart: return "  before the start";
    case Foot::AfterEnd: return "  beyond the end";
    case Foot::AtJoin: return "  no perpendicular: at the join";
  }
  return "";
}

GroupEnd StationOffsetRow(Session& s) {
  std::optional<int> point = ReadStoredPoint(s, s.args.GroupField(1));
  if (!point) return GroupEnd::Refused;
  StationOffset found = Current(s).geometry.Project({s.points.North(*point), s.points.East(*point)});
  auto label = [point = *point] { return "Station of Pt " + std::to_string(point); };
  if (!Computable(s, {found.station, found.offset, found.projection.north, found.projection.east}, label))
    return GroupEnd::Refused;
  std::string& row = s.NewRow();
  AppendPadded(row, std::to_string(*point), 5);
  AppendMask(row, found.station, kRouteFeet, 14);
  AppendMask(row, found.offset, kRouteFeet, 12);
  if (found.foot == Foot::OnElement || found.foot == Foot::AtJoin) AppendPadded(row, std::to_string(found.element + 1), 6);
  else row.append(5, ' ').append("-");
  AppendMask(row, found.projection.north, kRouteFeet, 13);
  AppendMask(row, found.projection.east, kRouteFeet, 13);
  row.append(FootNote(found));
  if (found.equallyNear) {
    row.append("  as near at Sta ");
    AppendMask(row, *found.equallyNear, kRouteFeet);
  }
  s.WriteOutput(row);
  return GroupEnd::Done;
}

GroupEnd StakeoutPoint(Session& s) {
  std::optional<int> point = ReadPointNumber(s, s.args.GroupField(1));
  if (!point) return GroupEnd::Refused;
  double station = StationField(s, s.args.GroupField(2));
  double offset = ParseDistance(s, s.args.GroupField(3));
  const Alignment& a = Current(s).geometry;
  // A station typed as the report writes the ends (to the thousandth) is
  // taken as the end.
  if (station >= a.StartStation() - kStationRounding && station <= a.EndStation() + kStationRounding)
    station = std::clamp(station, a.StartStation(), a.EndStation());
  if (station < a.StartStation() || station > a.EndStation()) {
    s.InfoBox("Sta " + std::string(TrimBlanks(FormatMask(station, kRouteFeet))) + " is off alignment " +
              std::to_string(s.route.current) + " (" + FormatMask(a.StartStation(), "0.000") + " to " +
              FormatMask(a.EndStation(), "0.000") + ")");
    return GroupEnd::Refused;
  }
  Pose placed = a.Locate(station, offset);
  const std::optional<Profile>& profile = s.route.profiles[s.route.current];
  std::optional<double> elevation;
  if (profile && profile->Holds(station)) elevation = profile->ElevationAt(station);
  NewPoint p{*point, placed.at.north, placed.at.east};
  if (!Computable(s, {p.north, p.east, elevation.value_or(0)}, [&] { return "Pt " + std::to_string(*point); }))
    return GroupEnd::Refused;
  s.points.Store(p.number, p.north, p.east);
  s.points.SetElevation(p.number, elevation);

  std::string& row = s.NewRow();
  AppendPadded(row, std::to_string(p.number), 5);
  AppendMask(row, station, kRouteFeet, 14);
  AppendMask(row, offset, kRouteFeet, 12);
  AppendMask(row, p.north, kRouteFeet, 13);
  AppendMask(row, p.east, kRouteFeet, 13);
  if (elevation) AppendMask(row, *elevation, kRouteFeet, 12);
  s.WriteOutput(row);
  return GroupEnd::Done;
}

}  // namespace

Outcome StationOffsetCommand(Session& s) {
  if (s.LineFieldCount == 0) return Outcome::Stopped;
  if (!ReadAlignmentLine(s, "Point       Station      Offset  Elem        North         East")) {
    return s.args.Stage() == 1 ? Outcome::Stopped : Outcome::Completed;
  }
  return RepeatGroups(s, 1, StationOffsetRow);
}

Outcome StakeoutCommand(Session& s) {
  if (s.LineFieldCount == 0) return Outcome::Stopped;
  if (!ReadAlignmentLine(s, "Point       Station      Offset        North         East   Elevation")) {
    return s.args.Stage() == 1 ? Outcome::Stopped : Outcome::Completed;
  }
  return RepeatGroups(s, 3, StakeoutPoint);
}

}  // namespace vantrel
