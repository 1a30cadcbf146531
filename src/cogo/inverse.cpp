// The inverses: distance, azimuth and angle between stored points, written
// as small tables and kept in registers for later fields (DAB, AZM, DIS, ANG).
#include <array>
#include <cmath>
#include <optional>
#include <string>

#include "command/commands.h"
#include "command/fields.h"
#include "command/point_groups.h"
#include "command/session.h"
#include "notation/angles.h"
#include "notation/format.h"
#include "notation/geometry.h"

namespace vantrel {
namespace {

// A point or register number right-justified in its column of the row.
void AppendNumber(std::string& row, int n, int width) { AppendPadded(row, std::to_string(n), width); }

// The start of an AZM or DIS row: from point, to point, register.
std::string& StartRegisterRow(Session& s, int i, int j, int r) {
  std::string& row = s.NewRow();
  AppendNumber(row, i, 4);
  AppendNumber(row, j, 5);
  AppendNumber(row, r, 8);
  return row;
}

constexpr NumberMask kDistance = "#######0.00";

// The register named by the group's first field. A number above 99 is
// accepted (the row shows it, nothing is stored); a negative one is reported.
std::optional<int> ResultRegister(Session& s) {
  const std::string& field = s.args.GroupField(1);
  int r = IntegerField(field);
  if (r >= 0) return r;
  ReportInvalidRegisterNumber(s, field);
  return std::nullopt;
}

// Keeps a result in register r of a bank (nothing above 99). A result beyond
// the range of numbers, from points at absurd coordinates, is reported and
// never stored.
bool KeepResult(Session& s, std::array<double, kRegisterCount>& bank, int r, double value) {
  if (!std::isfinite(value)) {
    s.InfoBox("Register " + std::to_string(r) + " not set: result out of range");
    return false;
  }
  if (RegisterBanks::IsNumber(r)) bank[r] = value;
  return true;
}

GroupEnd WriteBearingRow(Session& s) {
  std::optional<std::array<int, 2>> points = GroupPoints(s, {1, 2});
  if (!points) return GroupEnd::Refused;
  auto [i, j] = *points;
  double azimuth = PointAzimuth(s.points, i, j);
  double distance = PointDistance(s.points, i, j);
  // The label is built only when refused; the points are copied into it
  // because clang 14 cannot capture a structured binding.
  auto label = [i = i, j = j] { return "Distance from " + std::to_string(i) + " to " + std::to_string(j); };
  if (!Computable(s, {distance}, label)) return GroupEnd::Refused;
  std::string& row = s.NewRow();
  AppendNumber(row, i, 4);
  AppendNumber(row, j, 5);
  AppendMask(row, distance, kDistance, 10);
  AppendAngle(row, azimuth, "z", 13);
  AppendAngle(row, azimuth, "b", 16);
  s.WriteOutput(row);
  return GroupEnd::Done;
}

GroupEnd WriteAzimuthRow(Session& s) {
  std::optional<int> r = ResultRegister(s);
  if (!r) return GroupEnd::Refused;
  std::optional<std::array<int, 2>> points = GroupPoints(s, {2, 3});
  if (!points) return GroupEnd::Refused;
  auto [i, j] = *points;
  // Kept exactly as computed, not reduced to one turn.
  double azimuth = PointAzimuth(s.points, i, j);
  if (!KeepResult(s, s.registers.angle, *r, azimuth)) return GroupEnd::Refused;
  std::string& row = StartRegisterRow(s, i, j, *r);
  AppendAngle(row, azimuth, "z", 14);
  s.WriteOutput(row);
  return GroupEnd::Done;
}

GroupEnd WriteDistanceRow(Session& s) {
  std::optional<int> r = ResultRegister(s);
  if (!r) return GroupEnd::Refused;
  std::optional<std::array<int, 2>> points = GroupPoints(s, {2, 3});
  if (!points) return GroupEnd::Refused;
  auto [i, j] = *points;
  double distance = PointDistance(s.points, i, j);
  if (!KeepResult(s, s.registers.distance, *r, distance)) return GroupEnd::Refused;
  std::string& row = StartRegisterRow(s, i, j, *r);
  AppendMask(row, distance, kDistance, 13);
  s.WriteOutput(row);
  return GroupEnd::Done;
}

GroupEnd WriteAngleRow(Session& s) {
  std::optional<int> r = ResultRegister(s);
  if (!r) return GroupEnd::Refused;
  std::optional<std::array<int, 3>> points = GroupPoints(s, {2, 3, 4});
  if (!points) return GroupEnd::Refused;
  auto [center, first, second] = *points;
  // The plain difference of the two azimuths: negative when the second
  // direction lies counter-clockwise of the first, as the register keeps it.
  double angle = PointAzimuth(s.points, center, second) - PointAzimuth(s.points, center, first);
  if (!KeepResult(s, s.registers.angle, *r, angle)) return GroupEnd::Refused;
  std::string& row = s.NewRow();
  AppendNumber(row, center, 4);
  AppendNumber(row, first, 4);
  row += " -" + PadLeft(std::to_string(second), 3);  // the dash joins the two directions
  AppendNumber(row, *r, 6);
  AppendAngle(row, angle, "z", 14);
  s.WriteOutput(row);
  return GroupEnd::Done;
}

// The heading starts the table as soon as the command's first line arrives,
// even before it completes a group.
Outcome WriteInverseTable(Session& s, int groupSize, const std::string& heading, GroupEnd (*writeRow)(Session&)) {
  s.HeadingOnce(heading);
  return RepeatGroups(s, groupSize, writeRow);
}

}  // namespace

Outcome InverseBearingCommand(Session& s) {
  static const std::string heading = "From   To       Ft." + PadLeft("Azimuth", 11) + PadLeft("Bearing", 16);
  return WriteInverseTable(s, 2, heading, WriteBearingRow);
}

Outcome InverseAzimuthCommand(Session& s) {
  static const std::string heading = "From   To     Ang#     Angle    ";
  return WriteInverseTable(s, 3, heading, WriteAzimuthRow);
}

Outcome InverseDistanceCommand(Session& s) {
  static const std::string heading = "From   To     Dis#    Distance";
  return WriteInverseTable(s, 3, heading, WriteDistanceRow);
}

Outcome InverseAngleCommand(Session& s) {
  static const std::string heading = " Ctr    Arc     Ang#     Angle    ";
  return WriteInverseTable(s, 4, heading, WriteAngleRow);
}

}  // namespace vantrel
