// DCF and RCF: the point store saved to a point file and read back.
#include "command/commands.h"
#include "command/session.h"
#include "store/record_files.h"

namespace vantrel {
namespace {

constexpr const char* kPointFileExtension = "pts";
constexpr RecordLayout kPointRecord{2, 1, kMaxPoint, "point number"};

}  // namespace

// One record "point,north,east" per defined point, in point order.
Outcome SavePointFileCommand(Session& s) {
  return SaveRecordFile(s, kPointFileExtension, [&s](std::string& text) {
    for (int k = 1; k <= kMaxPoint; ++k)
      if (s.IsDefined(k)) AppendRecord(text, k, {s.PointNorth[k], s.PointEast[k]});
  });
}

// Points in the file are overwritten; the others keep their coordinates.
Outcome ReadPointFileCommand(Session& s) {
  return ReadRecordFile(s, kPointFileExtension, kPointRecord, [&s](int k, const double* coordinates) {
    s.StorePoint(k, coordinates[0], coordinates[1]);
  });
}

}  // namespace vantrel
