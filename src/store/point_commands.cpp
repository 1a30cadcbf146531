// The commands that manage the point store as a whole: KWN, CLR, DSC, ROT,
// TAX.
#include <cmath>

#include "command/commands.h"
#include "command/session.h"
#include "notation/angles.h"
#include "notation/format.h"
#include "notation/geometry.h"

namespace vantrel {
namespace {

// CLR and DSC take ranges of points; an empty line means all of them.
void DefaultToWholeStore(Session& s) {
  if (s.LineFieldCount != 0) return;
  s.ArgField[1] = std::to_string(1);
  s.ArgField[2] = std::to_string(kMaxPoint);
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
  std::optional<int> first = s.PointNumber(firstField);
  if (!first) return std::nullopt;
  std::optional<int> last = s.PointNumber(lastField);
  if (!last) return std::nullopt;
  return Range{*first, *last};
}

}  // namespace

Outcome ClearPointsCommand(Session& s) {
  s.GroupSize = 2;
  DefaultToWholeStore(s);
  while (s.FieldsLeft() >= s.GroupSize) {
    std::optional<Range> range = NextRange(s);
    if (!range) return Outcome::Stopped;
    for (int k = range->first; k <= range->last; ++k) s.ClearPoint(k);
  }
  s.gps.Clear();
  return Outcome::Completed;
}

Outcome KnownPointsCommand(Session& s) {
  s.GroupSize = 3;
  while (s.FieldsLeft() >= s.GroupSize) {
    // Numbers above the store are passed over silently, as surveyors use
    // them to skip a group; numbers below it are reported.
    int p = IntegerField(s.GroupField(1));
    if (p < 1) {
      s.InfoBox(s.GroupField(1) + " is invalid point number");
      s.ArgUsed += 3;
      return Outcome::Stopped;
    }
    if (p <= kMaxPoint) {
      s.PointNorth[p] = ParseDistance(s, s.GroupField(2));
      s.PointEast[p] = ParseDistance(s, s.GroupField(3));
    }
    s.ArgUsed += 3;
  }
  return Outcome::Completed;
}

Outcome DisplayPointsCommand(Session& s) {
  s.GroupSize = 2;
  DefaultToWholeStore(s);
  while (s.FieldsLeft() >= s.GroupSize) {
    std::optional<Range> range = NextRange(s);
    if (!range) return Outcome::Stopped;
    s.WriteOutput("");
    for (int k = range->first; k <= range->last; ++k)
      if (s.IsDefined(k)) s.WriteOutput(FormatPoint(s, k));
  }
  return Outcome::Completed;
}

Outcome RotatePointsCommand(Session& s) {
  if (s.ArgCount == 0) return Outcome::Completed;
  double theta = ParseAngle(s, s.ArgField[1]);
  double c = std::cos(theta), sn = std::sin(theta);
  for (int k = 1; k <= kMaxPoint; ++k) {
    if (!s.IsDefined(k)) continue;
    double east = s.PointEast[k], north = s.PointNorth[k];
    s.PointEast[k] = east * c + north * sn;
    s.PointNorth[k] = north * c - east * sn;
  }
  s.ArgUsed = s.ArgCount;
  return Outcome::Completed;
}

Outcome TranslateAxesCommand(Session& s) {
  if (s.ArgCount == 0) return Outcome::Completed;
  s.ArgUsed = s.ArgCount;
  std::optional<int> origin = s.PointNumber(s.ArgField[1]);
  if (!origin) return Outcome::Stopped;
  if (!s.IsDefined(*origin)) {
    s.InfoBox("Point " + std::to_string(*origin) + " is not defined");
    return Outcome::Stopped;
  }
  double east0 = s.PointEast[*origin], north0 = s.PointNorth[*origin];
  for (int k = 1; k <= kMaxPoint; ++k) {
    if (!s.IsDefined(k)) continue;
    s.PointEast[k] -= east0;
    s.PointNorth[k] -= north0;
  }
  return Outcome::Completed;
}

}  // namespace vantrel
