// DCF and RCF: the point store saved to a point file and read back.
#include "command/commands.h"
#include "command/session.h"
#include "store/record_files.h"

namespace vantrel {
namespace {

constexpr const char* kPointFileExtension = "pts";

}  // namespace

// One record "point,north,east" per defined point, in point order.
Outcome SavePointFileCommand(Session& s) {
  return SaveRecordFile(s, kPointFileExtension, [&s](std::string& text) {
    for (int k : s.points.Numbers())
      if (s.points.IsDefined(k)) AppendRecord(text, k, {s.points.North(k), s.points.East(k)});
  });
}

// Points in the file are overwritten; the others keep their coordinates.
Outcome ReadPointFileCommand(Session& s) {
  RecordLayout pointRecord{2, 1, s.points.Capacity(), "point number"};
  return ReadRecordFile(s, kPointFileExtension, pointRecord,
                        [&s](int k, const double* coordinates) { s.points.Store(k, coordinates[0], coordinates[1]); });
}

}  // namespace vantrel
