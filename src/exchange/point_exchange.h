// Points that come from another program's file (CSV, LandXML): gathered
// first, then stored together with one question before defined points are
// replaced and one message saying what was read and what was skipped.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "store/record_files.h"

namespace vantrel {

class Session;
enum class Outcome;

struct ReadPoint {
  int number;
  double north, east;
  std::optional<double> elevation;
  std::string description;
};

// Why a point of such a file was not read; the reasons every format shares
// come first, in this order, in every reader's SkippedRecords.
enum SharedSkipReason : size_t { kOutsideStore, kNotNumeric, kUnusableCoordinate, kSharedReasonCount };
SkippedRecords PointFileSkips(int capacity, std::initializer_list<std::string> ownReasons);

// True when a point read from a file can be stored; otherwise counts why not
// in `skipped`: no number of the store, or a coordinate equal to the store's
// own marker of an undefined one.
bool StorablePoint(std::optional<int> number, double north, double east, SkippedRecords& skipped);

// Stores the points (a point listed twice: the later one). When some are
// defined already, asks once whether to replace them; No keeps those and
// stores the others. Then one message: how many points were read from the
// file, how many descriptions were shortened, how many records skipped and
// why.
Outcome StoreReadPoints(Session& session, const std::string& path, const std::vector<ReadPoint>& points,
                        const SkippedRecords& skipped, int shortenedDescriptions);

}  // namespace vantrel
