// The repetition shared by the construction commands (intersections,
// tangents, arcs, division): how one group of fields ends, storing the new
// points a group computes and writing their point lines, and the equal-radii
// check of arcs.
#pragma once

#include <cmath>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>

#include "command/fields.h"
#include "command/session.h"

namespace vantrel {

// How the computation of one group ended, and how many fields the group
// took.
class GroupEnd {
 public:
  enum Kind {
    Done,        // computed; the group is consumed and the next one follows
    Refused,     // reported (a number outside its table); consumed, the line stops
    Held,        // "No Solution" or a refused question; the group stays pending
                 // and is tried again ahead of the next line's fields
    Incomplete,  // the group's length is known but its fields are not all here
  };
  GroupEnd(Kind kind) : kind_(kind) {}

  // The same end for a group whose content decides its length (a division's
  // count of parts): it took `fields` fields, not the length it started with.
  GroupEnd Taking(int fields) const {
    GroupEnd end = *this;
    end.length_ = fields;
    return end;
  }
  int Length(int started) const { return length_.value_or(started); }
  bool operator==(Kind kind) const { return kind_ == kind; }

 private:
  Kind kind_;
  std::optional<int> length_;
};

// Runs `group` on every group of the argument store while `size` fields are
// left; a group ended Done or Refused is consumed, with the length it says.
template <typename Group>
Outcome RepeatGroups(Session& s, int size, Group group) {
  while (s.args.FieldsLeft() >= size) {
    GroupEnd end = group(s);
    if (end == GroupEnd::Incomplete) break;
    if (end == GroupEnd::Held) return Outcome::Stopped;
    s.args.Consume(end.Length(size));
    if (end == GroupEnd::Refused) return Outcome::Stopped;
  }
  return Outcome::Completed;
}

// Geometry without an answer (circles that do not meet, a line that misses
// the arc, a zero radius, coincident points): reported, the group is held.
GroupEnd NoSolution(Session& s);

struct NewPoint {
  int number;
  double north, east;
};

// The point `distance` from (north, east) in the direction `azimuth`.
NewPoint PointAt(int number, double north, double east, double distance, double azimuth);

// Stores the new points of one group, writing each point line as its point is
// stored. A coordinate that is no finite number (from an absurdly large field)
// is reported and none of the group's points is stored.
bool StoreNewPoints(Session& s, std::span<const NewPoint> points);

// Writes the point line of stored point n as a report row.
void WritePointLine(Session& session, int n);

// Stores in point `target` the intersection of the line through point a with
// slope m1 and the line through point b with slope m2 (slope = east change per
// north change). Parallel lines, or slopes whose intersection cannot be
// represented, are reported ("Lines do not intersect"), leave the new point
// undefined and return false.
bool IntersectLines(Session& session, int target, int a, int b, double m1, double m2);

// Says "<what> cannot be computed: coordinates out of range".
void ReportNotComputable(Session& s, const std::string& what);

// The one rule for figures bound for the report: a value that is no finite
// number (points so far apart that their distance leaves the range of
// numbers) is never formatted. True when every value is finite; otherwise
// the refusal is said with `what()` as its subject, and the command writes
// and stores nothing of it. The subject is built only then, as the check
// runs on every row of a report.
template <typename Subject>
bool Computable(Session& s, std::initializer_list<double> values, Subject what) {
  for (double value : values) {
    if (!std::isfinite(value)) {
      ReportNotComputable(s, what());
      return false;
    }
  }
  return true;
}

// Largest difference of two radii of one arc that passes without a question.
inline constexpr double kRadiusTolerance = 0.01;

// True when the two radii agree within the tolerance, or when the surveyor
// answers Yes to going on with the discrepancy found at `point`.
bool RadiiAgree(Session& s, double firstRadius, double secondRadius, int point);

}  // namespace vantrel
