// What the route commands share: the alignment number field, the lines of
// an alignment or a profile that arrive one after another, the question
// about joins that miss, and the checks of a spiral.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "notation/numbers.h"
#include "route/alignment.h"

namespace vantrel {

class Session;
enum class Outcome;

// Stations, offsets and lengths in the report, to the thousandth as HA2
// writes its stations.
inline constexpr NumberMask kRouteFeet = "######0.000";

// An alignment number field, 1..20; others are reported ("<field> is
// invalid alignment number"). With `defined`, an alignment not defined is
// reported too ("Alignment 3 is not defined").
std::optional<int> AlignmentNumber(Session& session, const std::string& field, bool defined);

// A station (or a station interval) field: its leading number, as HA2
// reads its starting station; one beyond the range of numbers is reported
// ("<field> is out of range") and read as 0.
double StationField(Session& session, const std::string& field);

// ALN and VCV take an alignment or a profile over several lines: a first
// line, then lines of elements or PVIs, the last one ending without a
// trailing comma. `first` reads the first line's fields, `body` the fields
// that follow (leaving an incomplete group for the next line), `finish`
// computes what was entered. Each returns false after it has reported a
// refusal: the entry is dropped ("<subject> was not defined", with
// `subject` naming it) and its remaining lines pass over unread. After the
// last line the next data line is a first line again.
struct EntrySteps {
  bool (*first)(Session&);
  bool (*body)(Session&);
  bool (*finish)(Session&);
  std::string (*subject)(const Session&);
};
Outcome EnterLines(Session& session, const EntrySteps& steps);

// True when nothing misses, or when the surveyor answers Yes to taking
// `subject` ("Alignment 1") with the mismatches listed one a line.
bool JoinsAccepted(Session& session, const std::string& subject, const std::vector<JoinMismatch>& mismatches);

// Why a spiral cannot be taken (element number `element`, from 1), or
// nothing: no length, or a turn beyond a quarter turn.
std::optional<std::string> SpiralProblem(const Element& spiral, size_t element);

}  // namespace vantrel
