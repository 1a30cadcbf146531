// PAJ: adjusts a traverse whose points are already stored — the start point,
// the traverse points in order and the known closing point — by the compass
// or the length rule, without a report and without asking.
#include <optional>
#include <string>

#include "command/commands.h"
#include "command/fields.h"
#include "command/session.h"
#include "notation/geometry.h"
#include "notation/numbers.h"
#include "traverse/adjustment.h"

namespace vantrel {
namespace {

// Fewest points of a list: start, one traverse point, closing point.
constexpr int kShortestList = 3;

// Reads the point list into the record (start, stations with their course
// lengths, closing point); false after a message.
bool ReadPointList(Session& s, int count) {
  if (count < kShortestList) {
    s.InfoBox("A traverse to adjust needs a start point, one or more traverse points and a closing point");
    return false;
  }
  std::array<int, kMaxFields> points;
  for (int i = 0; i < count; ++i) {
    std::optional<int> point = ReadStoredPoint(s, s.args.GroupField(i + 1));
    if (!point) return false;
    points[i] = *point;
  }
  TraverseRecord& t = s.traverse;
  t.StartPoint = points[0];
  t.ClosingPoint = points[count - 1];
  t.StationCount = count - 2;
  for (int k = 1; k <= t.StationCount; ++k) {
    t.StationPoint[k] = points[k];
    t.StationDistance[k] = PointDistance(s.points, points[k], points[k - 1]);
  }
  return true;
}

// The courses between consecutive stored points, from the last one back.
Closure CoursesOfStoredPoints(const Session& s) {
  const TraverseRecord& t = s.traverse;
  Closure closure(s);
  for (int k = t.StationCount; k >= 1; --k) {
    int to = t.StationPoint[k], from = k == 1 ? t.StartPoint : t.StationPoint[k - 1];
    closure.AddCourse(k, s.points.East(to) - s.points.East(from), s.points.North(to) - s.points.North(from),
                      t.StationDistance[k]);
  }
  return closure;
}

}  // namespace

Outcome AdjustPointsCommand(Session& s) {
  TraverseRecord& t = s.traverse;

  // Stage 1: the method, first field after the code line.
  if (s.args.Stage() == 1) {
    t.StationCount = 0;
    if (s.args.FieldsLeft() == 0) return Outcome::Completed;
    t.Method = UpperCase(s.args.GroupField(1));
    s.args.Consume(1);
    s.args.SetStage(2);
    if (s.args.FieldsLeft() == 0) return Outcome::Stopped;  // the list follows on the next line
  }

  // Stage 2: every line is one point list; a trailing comma continues it,
  // a line without fields (a blank or comment line) brings none.
  if (s.LineContinued) return Outcome::Stopped;
  int count = s.args.FieldsLeft();
  if (count == 0) return Outcome::Completed;
  bool read = ReadPointList(s, count);
  // The list is consumed, so the next line is a new list, not this one again.
  s.args.ConsumeAll();
  if (!read || !CheckTraverse(s)) return Outcome::Stopped;
  Closure closure = CoursesOfStoredPoints(s);
  return StoreTraverse(s, closure, true) ? Outcome::Completed : Outcome::Stopped;
}

}  // namespace vantrel
