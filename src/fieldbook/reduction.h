// The reduction of a total station's field book to plane coordinates, the
// same for every raw format: a reader hands it the file's records in their
// order (points given, setups, heights, backsights, readings), converted to
// feet and radians, and it replays them the way the crew worked. It keeps
// the station, heights and orientation in force, averages direct and
// reverse readings and rounds of a set, checks each backsight, computes
// every target from its station, keeps the first position of a point and
// reports any later one by its difference. Nothing reaches the store from
// here: Finish hands the result to the command, which stores it whole.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

#include "fieldbook/field_units.h"

namespace vantrel {

struct FieldPosition {
  double north = 0, east = 0;
  std::optional<double> elevation;  // feet
};

// Where a position of the result came from.
enum class FieldSource {
  Given,       // coordinates the file gives (a stored or keyed point)
  Gnss,        // grid coordinates of a GNSS position
  Occupied,    // coordinates recorded with a setup
  Observed,    // reduced from this file's observations
  Instrument,  // as the instrument computed it (no station in the file)
};

enum class Face { Unknown, Direct, Reverse };  // Unknown: reverse when the zenith passes 180°

// How a reading's horizontal value becomes an azimuth (A = back azimuth).
enum class Horizontal {
  Circle,           // circle reading: A + (value − back circle)
  AngleRight,       // angle turned from the backsight: A + value
  AngleLeft,        // A − value
  DeflectionRight,  // from the prolongation of the back line: A + 180° + value
  DeflectionLeft,   // A + 180° − value
  Azimuth,          // the azimuth itself (an oriented circle)
};

enum class SightRole {
  Shot,           // a sideshot
  Traverse,       // a shot to the next station of a traverse
  SetBacksight,   // a round's reading to the backsight (direct opens a round, reverse closes it)
  SetForesight,   // a round's reading to a foresight
};

struct Reading {
  std::string target;
  SightRole role = SightRole::Shot;
  Face face = Face::Unknown;
  Horizontal horizontalKind = Horizontal::Circle;
  double horizontal = 0;                   // radians
  std::optional<double> zenith;            // radians, 0 straight up
  std::optional<double> heightDifference;  // line of sight, feet, given instead of a zenith
  std::optional<double> slopeDistance;     // feet
  std::optional<double> horizontalDistance;
  std::optional<double> targetHeight;      // the reading's own target height
  std::optional<FieldPosition> instrumentResult;  // the collector's own result for this reading
  std::string note;
};

struct Backsight {
  std::optional<std::string> point;
  std::optional<double> azimuth;  // the back azimuth the file gives, radians
  // The circle read on the backsight on each face; face II less 180°.
  double circleDirect = 0, circleReverse = 0;
  // The circle was oriented in the field, so that it reads azimuths: the
  // first reading to a point of known coordinates checks the orientation.
  bool oriented = false;
};

struct ReductionOptions {
  double setTolerance;       // radians: a set whose rounds spread wider is flagged
  bool collectObservations;  // keep the observations for least squares
};

// Records are numbered as the reader counts them (lines, or a format's
// own records); every message and row names the record.
using RecordNumber = int64_t;

// --- The result -------------------------------------------------------------

struct FieldPoint {
  std::string id;
  FieldPosition at;
  std::string note;
  RecordNumber record;
  FieldSource source;
};

struct SetupRow {
  RecordNumber record;
  std::string station;
  std::optional<double> instrumentHeight;
  bool freeStation;  // coordinates from the instrument's resection
};

struct BacksightRow {
  RecordNumber record;
  bool oriented;  // the circle reads azimuths
  std::optional<std::string> point;
  std::optional<double> azimuth;       // the back azimuth in use
  std::optional<double> givenAzimuth;  // the file's, when it differs from the coordinates'
};

struct CheckRow {
  RecordNumber record;
  std::string target;
  double computedDistance, measuredDistance;
  std::optional<double> computedElevation, measuredElevation;
  double angleError;  // measured direction less computed, radians
};

struct SetRow {
  RecordNumber record;
  std::string station, target;
  std::optional<std::string> backsight;  // the rounds' reference
  int rounds;
  double direction;  // angle right from the reference, or the azimuth without one
  double spread;     // of the rounds' directions
  std::optional<double> collimation, indexError;
  std::optional<double> slopeDistance, distanceSpread;
  bool flagged;  // spread beyond the tolerance
};

struct TraverseRow {
  RecordNumber record;
  std::string station, target;
  std::optional<std::string> backsight;
  std::optional<double> angleRight;  // from the backsight point
  double azimuth;
  double horizontalDistance;
};

// A point met again: occupied, observed or given once more.
struct AgainRow {
  RecordNumber record;
  std::string id;
  FieldSource source;
  double dNorth, dEast;
  std::optional<double> dElevation;
};

// The collector's own result of a reading beside ours.
struct InstrumentRow {
  RecordNumber record;
  std::string id;
  double dNorth, dEast;
  std::optional<double> dElevation;
};

struct NoteRow {
  RecordNumber record;
  std::string text;
};

using ReductionRow = std::variant<SetupRow, BacksightRow, CheckRow, SetRow, TraverseRow, AgainRow, InstrumentRow, NoteRow>;

struct SkippedRecord {
  RecordNumber record;
  std::string reason;
};

// An observation for least squares between two points of the result.
struct FieldObservation {
  enum Kind : uint8_t { Direction, Azimuth, Distance, Height } kind;
  int setNumber;  // directions of one set share it
  std::string from, to;
  double value;   // radians or feet
  double slopeDistance = 0, zenith = 0;  // what a height difference was reduced from
};

struct ReductionResult {
  std::vector<std::string> settings;  // units and corrections, one line each
  std::vector<ReductionRow> rows;     // setups, checks, sets and remarks in file order
  std::vector<FieldPoint> points;     // every point of the file, in the order first met
  std::vector<std::string> storeKnown;  // ids whose coordinates came from the store
  std::vector<std::string> noElevation;  // points whose heights the file leaves unknown
  std::vector<SkippedRecord> skipped;   // the first kMaxListedSkips, in file order
  int64_t skippedCount = 0;
  std::vector<FieldObservation> observations;
  // The a-priori errors the file's instrument records, if any.
  std::optional<double> angleError, distanceError, distancePpm;
};

// Skipped records listed one by one in the report; the rest are counted.
inline constexpr size_t kMaxListedSkips = 50;

// The coordinates the store holds for a point id, if any.
using StorePositions = std::function<std::optional<FieldPosition>(const std::string& id)>;

class Reduction {
 public:
  Reduction(const ReductionOptions& options, StorePositions store);

  // The record the calls that follow come from.
  void Record(RecordNumber number) { record_ = number; }
  RecordNumber CurrentRecord() const { return record_; }

  // --- What a reader hands on -------------------------------------------
  // A line of the report's heading: units, notations, corrections.
  void Setting(const std::string& text);
  void ScaleFactor(double factor);
  // Curvature and refraction added to height differences from here on,
  // with this coefficient of refraction; nothing turns them off.
  void CurvatureRefraction(std::optional<double> coefficient);
  void InstrumentErrors(double angleSeconds, double distanceFeet, double ppm);

  void Given(const std::string& id, const FieldPosition& at, const std::string& note, FieldSource source);
  void Occupy(const std::string& id, const std::optional<FieldPosition>& at, std::optional<double> instrumentHeight,
              const std::string& note, bool freeStation);
  void Heights(std::optional<double> instrument, std::optional<double> target);
  void Sight(const Backsight& backsight);
  void Observe(Reading reading);
  // A point the file deletes again.
  void Delete(const std::string& id);
  void Skip(const std::string& reason);
  void SkipAt(RecordNumber record, const std::string& reason);
  void Note(const std::string& text);
  // The file cannot be reduced: nothing of it may be stored.
  void Fail(const std::string& message);

  bool Failed() const { return failure_.has_value(); }
  const std::optional<std::string>& Failure() const { return failure_; }

  ReductionResult Finish();

 private:
  struct Station {
    std::string id;
    std::optional<FieldPosition> at;
    RecordNumber record;
  };
  struct Orientation {
    Backsight given;
    std::optional<double> azimuth;  // the back azimuth in use
    bool checked = false;
  };
  // A reading on face I: its azimuth and what it measured.
  struct Sighting {
    std::string target;
    RecordNumber record = 0;
    SightRole role = SightRole::Shot;
    std::string note;
    double azimuth = 0;
    bool directionSet = true;  // one of the setup's directions (not an azimuth of its own)
    std::optional<double> zenith, slope, horizontal, lineOfSight;
    std::optional<double> instrumentHeight, targetHeight;
  };
  // Where a sighting puts its target.
  struct Located {
    double hd;                           // grid, the scale factor applied
    std::optional<double> heightChange;  // ground to ground
    FieldPosition at;
    bool heightsMissing = false;  // the sighting had a height but HI or HR was unknown
  };
  struct PendingReading {
    Reading reading;
    RecordNumber record;
    std::optional<double> instrumentHeight, targetHeight;
  };

  std::optional<FieldPosition> Position(const std::string& id);
  std::optional<double> ReadingAzimuth(const Reading& reading, bool reverse);
  std::optional<Sighting> Read(const PendingReading& pending);
  std::optional<Located> Locate(const Sighting& sighting, std::string& problem) const;
  void Place(const Sighting& sighting);
  void Keep(const std::string& id, const FieldPosition& at, const std::string& note, FieldSource source);
  void Again(const std::string& id, const FieldPosition& at, const FieldPosition& first, FieldSource source);
  void CompareWithInstrument(const PendingReading& pending, const Sighting& sighting);
  void FlushGroup();
  void FlushSet();
  void ReduceFaces(std::vector<PendingReading>& readings, bool roundsWithReference);
  void Observation(FieldObservation::Kind kind, const std::string& to, double value, const Sighting* sighting);

  ReductionOptions options_;
  StorePositions store_;
  RecordNumber record_ = 0;
  std::optional<std::string> failure_;
  ReductionResult result_;

  std::unordered_map<std::string, size_t> pointIndex_;  // id -> result_.points
  std::unordered_map<std::string, FieldPosition> fromStore_;
  std::optional<Station> station_;
  std::optional<size_t> setupRow_;  // the row of the setup in force
  bool setupObserved_ = false;      // a reading of the setup has come
  std::optional<double> instrumentHeight_, targetHeight_;
  std::optional<Orientation> orientation_;
  double scaleFactor_ = 1;
  std::optional<double> refraction_;
  int setNumber_ = 0;

  // Consecutive readings of one target, waiting to be paired by face, and
  // the readings of an open angle set (rounds of backsight and foresights).
  std::vector<PendingReading> group_;
  std::vector<PendingReading> set_;
};

// Point ids compare as the surveyor reads them: an id of digits alone
// without its leading zeros ("00100" is 100), any other as it is.
std::string PointKey(std::string_view id);

}  // namespace vantrel
