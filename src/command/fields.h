// Field readers: each reads one typed field of a data line and, when the
// field gives no usable value, tells the surveyor (the message quotes the
// field as typed) and gives nothing, so a handler is a straight line of early
// returns:
//
//   std::optional<int> p = ReadPointNumber(s, field);  // "<field> is invalid point number"
//   if (!p) return GroupEnd::Refused;
//   std::optional<double> a = ReadAngle(s, field);     // "<field> Invalid angle" / "<field> is out of range"
//   double d = ParseDistance(s, field);                // reported, then read as 0: the command goes on
//   auto radii = GroupDistances(s, {3, 5});            // the group's distance fields, all or none
//   auto points = GroupPoints(s, {1, 2, Target(3)});   // the group's point fields, all or none
//
// The decoding itself, without messages, is DecodeAngle and DecodeDistance
// (notation/angles.h, notation/geometry.h).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "command/session.h"

namespace vantrel {

// Angle and distance fields (see DecodeAngle, DecodeDistance) read with the
// session's registers. A problem is reported ("<text> Invalid angle",
// "<text> is invalid distance code", "<text> is out of range") and gives no
// value; the Parse forms read such a field as 0 and the command goes on.
std::optional<double> ReadAngle(Session& session, std::string_view text);
std::optional<double> ReadDistance(Session& session, std::string_view text);
double ParseAngle(Session& session, std::string_view text);
double ParseDistance(Session& session, std::string_view text);

// A typed number that overflows ("1E400", or degrees beyond single
// precision): reported as "<text> is out of range" and read as 0, like the
// other field errors, so that no field brings an infinity into a point or a
// register. Returns that 0.
double OutOfRange(Session& session, std::string_view text);

// "<typed> is invalid point number" and "<typed> is invalid register number":
// the refusal of a number that no table holds, as a text (for a message that
// names its subject first) and reported.
std::string InvalidPointNumber(std::string_view typed);
void ReportInvalidPointNumber(Session& session, std::string_view typed);
void ReportInvalidRegisterNumber(Session& session, std::string_view typed);

// A point number field: a number outside the store is reported and gives no
// point.
std::optional<int> ReadPointNumber(Session& session, std::string_view field);

// A point number field naming a stored point the command reads: besides the
// range, an undefined point is reported ("Point n is not defined") and gives
// no point, so nothing is computed from the undefined marker.
std::optional<int> ReadStoredPoint(Session& session, std::string_view field);

// True for a defined point; an undefined one is reported.
bool DefinedOrReported(Session& session, int n);

// A register number field of 0..99; any other is reported.
std::optional<int> ReadRegisterNumber(Session& session, std::string_view field);

// Distance fields of the current group (field 1 is the group's first), in
// that order: the first that gives no value is reported and refuses them
// all, so that no point is stored from a field read as 0.
template <size_t N>
std::optional<std::array<double, N>> GroupDistances(Session& s, const int (&fields)[N]) {
  std::array<double, N> values;
  for (size_t k = 0; k < N; ++k) {
    std::optional<double> value = ReadDistance(s, s.args.GroupField(fields[k]));
    if (!value) return std::nullopt;
    values[k] = *value;
  }
  return values;
}

// A point number field of a group: a stored point the group reads, or the
// number a result is stored under (marked with Target).
struct PointField {
  PointField(int groupField) : field(groupField) {}
  int field;
  bool reads = true;
};

inline PointField Target(int groupField) {
  PointField target(groupField);
  target.reads = false;
  return target;
}

// Point numbers from the given fields of the current group (field 1 is the
// group's first), in that order; the first outside the store is reported and
// refuses them all. Then the stored points the group reads (every field not
// marked as a Target) must be defined: the first undefined one is reported
// and refuses them all.
template <size_t N>
std::optional<std::array<int, N>> GroupPoints(Session& s, const PointField (&fields)[N]) {
  std::array<int, N> points;
  for (size_t k = 0; k < N; ++k) {
    std::optional<int> n = ReadPointNumber(s, s.args.GroupField(fields[k].field));
    if (!n) return std::nullopt;
    points[k] = *n;
  }
  for (size_t k = 0; k < N; ++k)
    if (fields[k].reads && !DefinedOrReported(s, points[k])) return std::nullopt;
  return points;
}

}  // namespace vantrel
