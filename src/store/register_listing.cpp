// Register listings: DSA lists the angle registers, DSD the distance
// registers, skipping those that hold 0.
#include <optional>
#include <string>

#include "command/commands.h"
#include "command/fields.h"
#include "command/session.h"
#include "notation/angles.h"
#include "notation/format.h"

namespace vantrel {
namespace {

struct RegisterBank {
  const std::array<double, kRegisterCount>& values;
  const std::string& heading;
  std::string (*valueText)(double);
};

std::string AngleText(double angle) { return FormatAngle(angle, "z"); }
std::string DistanceText(double distance) { return FormatMask(distance, "#######0.00"); }

// The whole line is one request: no field lists registers 1 to 99 (register 0
// only when asked for), one field that register, two or more the range from
// the first to the second.
Outcome ListRegisters(Session& s, const RegisterBank& bank) {
  s.HeadingOnce(bank.heading);
  int fields = s.args.Count();
  s.args.ConsumeAll();
  int first = 1, last = kRegisterCount - 1;
  if (fields >= 1) {
    std::optional<int> from = ReadRegisterNumber(s, s.args.Field(1));
    if (!from) return Outcome::Stopped;
    std::optional<int> to = fields == 1 ? from : ReadRegisterNumber(s, s.args.Field(2));
    if (!to) return Outcome::Stopped;
    first = *from;
    last = *to;
  }
  for (int k = first; k <= last; ++k) {
    if (bank.values[k] == 0) continue;
    std::string& row = s.NewRow();
    AppendPadded(row, std::to_string(k), 4);
    AppendPadded(row, bank.valueText(bank.values[k]), 14);
    s.WriteOutput(row);
  }
  return Outcome::Completed;
}

}  // namespace

Outcome ListAngleRegistersCommand(Session& s) {
  static const std::string heading = " Ang#      Angle";
  return ListRegisters(s, {s.registers.angle, heading, AngleText});
}

Outcome ListDistanceRegistersCommand(Session& s) {
  static const std::string heading = " Dis#     Distance";
  return ListRegisters(s, {s.registers.distance, heading, DistanceText});
}

}  // namespace vantrel
