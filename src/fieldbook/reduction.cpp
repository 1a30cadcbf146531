#include "fieldbook/reduction.h"

#include <algorithm>
#include <cmath>

#include "notation/numbers.h"

namespace vantrel {
namespace {

// Earth's mean radius in feet, for the curvature and refraction of long
// sights: 6 371 000 m.
constexpr double kEarthRadiusFeet = 6371000 / 0.3048006096;

// A reading's own result beside the collector's: closer than 1 mm agrees.
constexpr double kInstrumentAgreementFeet = 0.001 / 0.3048;

// A recorded position of a point (a setup's coordinates, a point given
// again) within this of the known one is the same point: 0.0005 ft.
constexpr double kSamePositionFeet = 0.0005;

// A given back azimuth beside the one from coordinates: closer than this
// agrees (a back azimuth is typed to the second).
constexpr double kBackAzimuthAgreementSeconds = 1;

double CircularMean(const std::vector<double>& angles) {
  double sum = 0;
  for (double a : angles) sum += SignedAngle(a - angles.front());
  return NormalizedAzimuth(angles.front() + sum / static_cast<double>(angles.size()));
}

double Mean(const std::vector<double>& values) {
  double sum = 0;
  for (double v : values) sum += v;
  return sum / static_cast<double>(values.size());
}

bool IsReverse(const Reading& reading) {
  if (reading.face != Face::Unknown) return reading.face == Face::Reverse;
  return reading.zenith && *reading.zenith > PI;
}

}  // namespace

std::string PointKey(std::string_view id) {
  size_t start = id.find_first_not_of(' ');
  if (start == std::string_view::npos) return {};
  id = id.substr(start, id.find_last_not_of(' ') - start + 1);
  if (id.find_first_not_of("0123456789") != std::string_view::npos) return std::string(id);
  size_t digit = id.find_first_not_of('0');
  return digit == std::string_view::npos ? std::string("0") : std::string(id.substr(digit));
}

Reduction::Reduction(const ReductionOptions& options, StorePositions store)
    : options_(options), store_(std::move(store)) {}

void Reduction::Setting(const std::string& text) {
  if (std::find(result_.settings.begin(), result_.settings.end(), text) == result_.settings.end())
    result_.settings.push_back(text);
}

void Reduction::ScaleFactor(double factor) {
  FlushGroup();
  FlushSet();
  scaleFactor_ = factor;
  if (factor != 1) Setting("Scale factor " + FormatMask(factor, "0.00000000") + " applied to horizontal distances");
}

void Reduction::CurvatureRefraction(std::optional<double> coefficient) {
  FlushGroup();
  FlushSet();
  refraction_ = coefficient;
  if (coefficient)
    Setting("Curvature and refraction applied to height differences (k = " + FormatMask(*coefficient, "0.00") + ")");
}

void Reduction::InstrumentErrors(double angleSeconds, double distanceFeet, double ppm) {
  result_.angleError = angleSeconds;
  result_.distanceError = distanceFeet;
  result_.distancePpm = ppm;
}

void Reduction::SkipAt(RecordNumber record, const std::string& reason) {
  ++result_.skippedCount;
  if (result_.skipped.size() < kMaxListedSkips) result_.skipped.push_back({record, reason});
}

void Reduction::Skip(const std::string& reason) { SkipAt(record_, reason); }

void Reduction::Note(const std::string& text) { result_.rows.push_back(NoteRow{record_, text}); }

void Reduction::Fail(const std::string& message) {
  if (!failure_) failure_ = record_ > 0 ? "record " + std::to_string(record_) + ": " + message : message;
}

std::optional<FieldPosition> Reduction::Position(const std::string& id) {
  if (auto found = pointIndex_.find(id); found != pointIndex_.end()) return result_.points[found->second].at;
  if (auto found = fromStore_.find(id); found != fromStore_.end()) return found->second;
  std::optional<FieldPosition> stored = store_ ? store_(id) : std::nullopt;
  if (stored) {
    fromStore_.emplace(id, *stored);
    result_.storeKnown.push_back(id);
  }
  return stored;
}

// The first position of a point stays; a later one is reported by its
// difference from it.
void Reduction::Keep(const std::string& id, const FieldPosition& at, const std::string& note, FieldSource source) {
  auto [found, added] = pointIndex_.emplace(id, result_.points.size());
  if (added) result_.points.push_back({id, at, note, record_, source});
  else Again(id, at, result_.points[found->second].at, source);
}

// A point met again: a recorded position that repeats the known one is
// passed over, an observed one is always reported (it checks the point).
void Reduction::Again(const std::string& id, const FieldPosition& at, const FieldPosition& first, FieldSource source) {
  std::optional<double> dElevation;
  if (first.elevation && at.elevation) dElevation = *at.elevation - *first.elevation;
  bool same = std::abs(at.north - first.north) < kSamePositionFeet && std::abs(at.east - first.east) < kSamePositionFeet &&
              std::abs(dElevation.value_or(0)) < kSamePositionFeet;
  if (same && source != FieldSource::Observed) return;
  result_.rows.push_back(AgainRow{record_, id, source, at.north - first.north, at.east - first.east, dElevation});
}

void Reduction::Given(const std::string& id, const FieldPosition& at, const std::string& note, FieldSource source) {
  FlushGroup();
  FlushSet();
  std::string key = PointKey(id);
  if (key.empty()) return Skip("a point without an id");
  Keep(key, at, note, source);
}

void Reduction::Delete(const std::string& id) {
  FlushGroup();
  FlushSet();
  std::string key = PointKey(id);
  auto found = pointIndex_.find(key);
  if (found == pointIndex_.end()) return Note("point " + key + " deleted, but not stored before");
  result_.points[found->second].id.clear();  // dropped by Finish
  pointIndex_.erase(found);
  Note("point " + key + " deleted by the file");
}

void Reduction::Occupy(const std::string& id, const std::optional<FieldPosition>& at,
                       std::optional<double> instrumentHeight, const std::string& note, bool freeStation) {
  FlushGroup();
  FlushSet();
  orientation_.reset();
  ++setNumber_;
  std::string key = PointKey(id);
  if (key.empty()) {
    station_.reset();
    return Skip("a setup without a station id");
  }
  if (at) Keep(key, *at, note, FieldSource::Occupied);
  station_ = Station{key, at ? at : Position(key), record_};
  if (instrumentHeight) instrumentHeight_ = instrumentHeight;
  setupRow_ = result_.rows.size();
  setupObserved_ = false;
  result_.rows.push_back(SetupRow{record_, key, instrumentHeight_, freeStation});
  if (instrumentHeight && *instrumentHeight == 0) Note("instrument height 0 on station " + key);
}

void Reduction::Heights(std::optional<double> instrument, std::optional<double> target) {
  if (instrument) instrumentHeight_ = instrument;
  // A height given before the setup's first reading is the setup's own.
  if (instrument && setupRow_ && !setupObserved_)
    std::get<SetupRow>(result_.rows[*setupRow_]).instrumentHeight = instrument;
  if (target) targetHeight_ = target;
}

void Reduction::Sight(const Backsight& backsight) {
  FlushGroup();
  FlushSet();
  if (!station_) return Skip("a backsight before any setup");
  ++setNumber_;
  Orientation orientation{backsight, backsight.oriented ? std::optional<double>(0) : backsight.azimuth};
  std::optional<std::string> point;
  if (backsight.point) point = PointKey(*backsight.point);
  orientation.given.point = point;
  std::optional<double> givenAzimuth;
  if (point && *point != station_->id) {
    std::optional<FieldPosition> back = Position(*point);
    if (back && station_->at) {
      double fromCoordinates =
          NormalizedAzimuth(std::atan2(back->east - station_->at->east, back->north - station_->at->north));
      if (backsight.azimuth &&
          std::abs(RadiansToSeconds(SignedAngle(fromCoordinates - *backsight.azimuth))) > kBackAzimuthAgreementSeconds)
        givenAzimuth = backsight.azimuth;
      orientation.azimuth = fromCoordinates;
    }
  }
  orientation_ = orientation;
  result_.rows.push_back(BacksightRow{record_, backsight.oriented, point, orientation.azimuth, givenAzimuth});
}

void Reduction::Observe(Reading reading) {
  std::string key = PointKey(reading.target);
  if (key.empty()) return Skip("a reading without a target id");
  reading.target = key;
  if (!station_) {
    bool measured = reading.slopeDistance.value_or(0) > 0 || reading.horizontalDistance.value_or(0) > 0;
    if (reading.instrumentResult && measured) {
      Keep(key, *reading.instrumentResult, reading.note, FieldSource::Instrument);
      return;
    }
    return Skip("a reading before any setup");
  }
  if (!station_->at) return Skip("station " + station_->id + " has no coordinates");
  setupObserved_ = true;
  PendingReading pending{std::move(reading), record_, instrumentHeight_, targetHeight_};
  if (pending.reading.targetHeight) pending.targetHeight = pending.reading.targetHeight;
  if (pending.reading.role == SightRole::SetBacksight || pending.reading.role == SightRole::SetForesight) {
    FlushGroup();
    set_.push_back(std::move(pending));
    return;
  }
  FlushSet();
  if (!group_.empty() && group_.back().reading.target != pending.reading.target) FlushGroup();
  group_.push_back(std::move(pending));
}

std::optional<double> Reduction::ReadingAzimuth(const Reading& reading, bool reverse) {
  double azimuth = reading.horizontal;
  if (reading.horizontalKind == Horizontal::Azimuth) {
    azimuth = reading.horizontal;
  } else {
    if (!orientation_ || !orientation_->azimuth) return std::nullopt;
    double back = *orientation_->azimuth;
    double h = reading.horizontal;
    switch (reading.horizontalKind) {
      case Horizontal::Circle:
        azimuth = back + h - (reverse ? orientation_->given.circleReverse : orientation_->given.circleDirect);
        break;
      case Horizontal::AngleRight: azimuth = back + h; break;
      case Horizontal::AngleLeft: azimuth = back - h; break;
      case Horizontal::DeflectionRight: azimuth = back + PI + h; break;
      case Horizontal::DeflectionLeft: azimuth = back + PI - h; break;
      case Horizontal::Azimuth: azimuth = h; break;
    }
  }
  return NormalizedAzimuth(reverse ? azimuth - PI : azimuth);
}

// A reading checked and brought to face I: its azimuth, and the distances
// and vertical angle it holds (a zero distance holds none).
std::optional<Reduction::Sighting> Reduction::Read(const PendingReading& pending) {
  const Reading& r = pending.reading;
  auto skip = [&](const std::string& reason) -> std::optional<Sighting> {
    SkipAt(pending.record, reason);
    return std::nullopt;
  };
  if (r.zenith && (*r.zenith < 0 || *r.zenith > TWO_PI)) return skip("a zenith angle outside 0 to 360 degrees");
  for (const std::optional<double>& distance : {r.slopeDistance, r.horizontalDistance})
    if (distance && *distance < 0) return skip("a negative distance");
  bool reverse = IsReverse(r);
  std::optional<double> azimuth = ReadingAzimuth(r, reverse);
  if (!azimuth) return skip("a reading with no backsight to orient it");
  Sighting s;
  s.target = r.target;
  s.record = pending.record;
  s.role = r.role;
  s.note = r.note;
  s.azimuth = *azimuth;
  s.directionSet = r.horizontalKind != Horizontal::Azimuth;
  if (r.zenith) s.zenith = reverse ? TWO_PI - *r.zenith : *r.zenith;
  if (r.slopeDistance > 0.0) s.slope = r.slopeDistance;
  if (r.horizontalDistance > 0.0) s.horizontal = r.horizontalDistance;
  s.lineOfSight = r.heightDifference;
  s.instrumentHeight = pending.instrumentHeight;
  s.targetHeight = pending.targetHeight;
  return s;
}

// Where a sighting puts its target, or why it puts it nowhere.
std::optional<Reduction::Located> Reduction::Locate(const Sighting& s, std::string& problem) const {
  double hd;
  std::optional<double> vertical;
  if (s.slope && s.zenith) {
    hd = *s.slope * std::sin(*s.zenith);
    vertical = *s.slope * std::cos(*s.zenith);
  } else if (s.slope && s.lineOfSight) {
    if (std::abs(*s.lineOfSight) >= *s.slope) {
      problem = "a height difference as long as the slope distance";
      return std::nullopt;
    }
    hd = std::sqrt(*s.slope * *s.slope - *s.lineOfSight * *s.lineOfSight);
    vertical = s.lineOfSight;
  } else if (s.horizontal) {
    hd = *s.horizontal;
    if (s.zenith && std::sin(*s.zenith) > 0) vertical = hd * std::cos(*s.zenith) / std::sin(*s.zenith);
    else if (s.lineOfSight) vertical = s.lineOfSight;
  } else {
    problem = s.slope ? "a slope distance without a vertical angle" : "no distance (an angle only)";
    return std::nullopt;
  }
  if (!(hd > 0)) {
    problem = "a vertical sight (no horizontal distance)";
    return std::nullopt;
  }
  hd *= scaleFactor_;
  if (vertical && refraction_) *vertical += (1 - *refraction_) * hd * hd / (2 * kEarthRadiusFeet);
  Located located{hd, std::nullopt, {}};
  if (vertical && s.instrumentHeight && s.targetHeight)
    located.heightChange = *vertical + *s.instrumentHeight - *s.targetHeight;
  const FieldPosition& station = *station_->at;
  located.at.north = station.north + hd * std::cos(s.azimuth);
  located.at.east = station.east + hd * std::sin(s.azimuth);
  if (station.elevation && located.heightChange) located.at.elevation = *station.elevation + *located.heightChange;
  located.heightsMissing = vertical && station.elevation && !located.heightChange;
  return located;
}

void Reduction::CompareWithInstrument(const PendingReading& pending, const Sighting& s) {
  const std::optional<FieldPosition>& theirs = pending.reading.instrumentResult;
  if (!theirs) return;
  std::string problem;
  std::optional<Located> ours = Locate(s, problem);
  if (!ours) return;
  double dNorth = theirs->north - ours->at.north, dEast = theirs->east - ours->at.east;
  std::optional<double> dElevation;
  if (theirs->elevation && ours->at.elevation) dElevation = *theirs->elevation - *ours->at.elevation;
  if (std::hypot(dNorth, dEast) <= kInstrumentAgreementFeet && std::abs(dElevation.value_or(0)) <= kInstrumentAgreementFeet)
    return;
  result_.rows.push_back(InstrumentRow{pending.record, s.target, dNorth, dEast, dElevation});
}

void Reduction::Place(const Sighting& s) {
  std::string problem;
  std::optional<Located> located = Locate(s, problem);
  if (!located) return SkipAt(s.record, problem);
  RecordNumber here = record_;
  record_ = s.record;
  const FieldPosition& station = *station_->at;

  std::optional<FieldPosition> known = Position(s.target);
  bool backsightCheck = false;
  if (known && orientation_ && !orientation_->checked) {
    const Backsight& given = orientation_->given;
    backsightCheck = given.point ? *given.point == s.target : given.oriented;
  }
  if (backsightCheck) {
    orientation_->checked = true;
    CheckRow check{s.record, s.target, std::hypot(known->north - station.north, known->east - station.east),
                   located->hd, known->elevation, located->at.elevation, 0};
    check.angleError =
        SignedAngle(s.azimuth - std::atan2(known->east - station.east, known->north - station.north));
    result_.rows.push_back(check);
  } else if (known && !pointIndex_.contains(s.target)) {
    Again(s.target, located->at, *known, FieldSource::Observed);  // a point of the store: it stays as it is
  } else if (known) {
    Keep(s.target, located->at, s.note, FieldSource::Observed);
  } else {
    Keep(s.target, located->at, s.note, FieldSource::Observed);
    if (located->heightsMissing) result_.noElevation.push_back(s.target);
  }

  if (s.role == SightRole::Traverse || s.role == SightRole::SetForesight) {
    TraverseRow leg{s.record, station_->id, s.target, std::nullopt, std::nullopt, s.azimuth, located->hd};
    if (orientation_ && orientation_->given.point && orientation_->azimuth) {
      leg.backsight = orientation_->given.point;
      leg.angleRight = NormalizedAzimuth(s.azimuth - *orientation_->azimuth);
    }
    result_.rows.push_back(leg);
  }
  if (options_.collectObservations) {
    Observation(s.directionSet ? FieldObservation::Direction : FieldObservation::Azimuth, s.target, s.azimuth, nullptr);
    Observation(FieldObservation::Distance, s.target, located->hd, nullptr);
    if (located->heightChange) Observation(FieldObservation::Height, s.target, *located->heightChange, &s);
  }
  record_ = here;
}

void Reduction::Observation(FieldObservation::Kind kind, const std::string& to, double value, const Sighting* s) {
  std::vector<FieldObservation>& list = result_.observations;
  if (kind == FieldObservation::Direction && orientation_ && orientation_->given.point && orientation_->azimuth &&
      *orientation_->given.point != to) {
    // The backsight belongs to the set: the circle read on it, oriented.
    bool present = false;
    for (auto it = list.rbegin(); it != list.rend() && it->setNumber == setNumber_; ++it)
      present = present || (it->kind == FieldObservation::Direction && it->to == *orientation_->given.point);
    if (!present)
      list.push_back({FieldObservation::Direction, setNumber_, station_->id, *orientation_->given.point,
                       *orientation_->azimuth});
  }
  FieldObservation observation{kind, setNumber_, station_->id, to, value};
  if (s && s->slope && s->zenith) {
    observation.slopeDistance = *s->slope;
    observation.zenith = *s->zenith;
  }
  list.push_back(observation);
}

void Reduction::FlushGroup() {
  if (group_.empty()) return;
  bool direct = false, reverse = false;
  for (const PendingReading& p : group_) (IsReverse(p.reading) ? reverse : direct) = true;
  if (direct && reverse) {
    ReduceFaces(group_, false);
  } else {
    for (const PendingReading& p : group_) {
      std::optional<Sighting> s = Read(p);
      if (!s) continue;
      CompareWithInstrument(p, *s);
      Place(*s);
    }
  }
  group_.clear();
}

void Reduction::FlushSet() {
  if (set_.empty()) return;
  // A lone direct reading to the backsight is the backsight check, not a set.
  if (set_.size() == 1 && set_.front().reading.role == SightRole::SetBacksight) {
    set_.front().reading.role = SightRole::Shot;
    group_.swap(set_);
    FlushGroup();
  } else {
    ReduceFaces(set_, true);
  }
  set_.clear();
}

// Readings of one or more targets on both faces, in rounds: each round's
// direction to a target is the mean of its faces; with a reference (the
// rounds' backsight readings) each round is turned onto the backsight
// azimuth by its own backsight mean. The rounds' means give one sighting
// per target, their spread, collimation and index error one set row.
void Reduction::ReduceFaces(std::vector<PendingReading>& readings, bool withReference) {
  struct Entry {
    Sighting s;
    int round;
    bool reverse;
  };
  std::vector<Entry> entries;
  std::vector<std::string> targets;  // in the order first read
  int round = 0;
  std::vector<std::pair<std::string, bool>> facesInRound;
  for (const PendingReading& p : readings) {
    std::optional<Sighting> s = Read(p);
    if (!s) continue;
    CompareWithInstrument(p, *s);
    bool reverse = IsReverse(p.reading);
    if (!withReference) {
      std::pair<std::string, bool> face{s->target, reverse};
      if (std::find(facesInRound.begin(), facesInRound.end(), face) != facesInRound.end()) {
        ++round;
        facesInRound.clear();
      }
      facesInRound.push_back(face);
    }
    if (std::find(targets.begin(), targets.end(), s->target) == targets.end()) targets.push_back(s->target);
    entries.push_back({std::move(*s), round, reverse});
    // A reverse reading to the backsight closes a round of a set.
    if (withReference && reverse && p.reading.role == SightRole::SetBacksight) ++round;
  }
  if (entries.empty()) return;
  int rounds = entries.back().round + 1;

  // Each round's face mean of every target.
  auto roundMean = [&](const std::string& target, int r, std::optional<bool> reverseOnly) -> std::optional<double> {
    std::vector<double> azimuths;
    for (const Entry& e : entries)
      if (e.s.target == target && e.round == r && (!reverseOnly || e.reverse == *reverseOnly))
        azimuths.push_back(e.s.azimuth);
    if (azimuths.empty()) return std::nullopt;
    return CircularMean(azimuths);
  };
  std::optional<std::string> reference;
  if (withReference)
    for (const Entry& e : entries)
      if (e.s.role == SightRole::SetBacksight) reference = e.s.target;

  for (const std::string& target : targets) {
    const Entry* first = nullptr;
    std::vector<double> directions, zeniths, slopes, horizontals, lines, targetHeights, collimations, indexes;
    bool heightsKnown = true;
    for (int r = 0; r < rounds; ++r) {
      std::optional<double> mean = roundMean(target, r, std::nullopt);
      if (!mean) continue;
      double direction = *mean;
      bool isReference = reference && target == *reference;
      if (reference && !isReference && orientation_ && orientation_->azimuth)
        if (std::optional<double> back = roundMean(*reference, r, std::nullopt))
          direction -= *back - *orientation_->azimuth;
      if (!isReference || directions.empty()) directions.push_back(NormalizedAzimuth(direction));
      std::optional<double> d = roundMean(target, r, false), rv = roundMean(target, r, true);
      if (d && rv) collimations.push_back(SignedAngle(*rv - *d) / 2);
      std::vector<double> roundZenith, directZenith, reverseZenith;
      for (const Entry& e : entries) {
        if (e.s.target != target || e.round != r) continue;
        if (!first) first = &e;
        if (e.s.zenith) {
          roundZenith.push_back(*e.s.zenith);
          (e.reverse ? reverseZenith : directZenith).push_back(*e.s.zenith);
        }
        if (e.s.slope) slopes.push_back(*e.s.slope);
        if (e.s.horizontal) horizontals.push_back(*e.s.horizontal);
        if (e.s.lineOfSight) lines.push_back(*e.s.lineOfSight);
        if (e.s.targetHeight) targetHeights.push_back(*e.s.targetHeight);
        else heightsKnown = false;
      }
      if (!roundZenith.empty()) zeniths.push_back(Mean(roundZenith));
      if (!directZenith.empty() && !reverseZenith.empty())
        indexes.push_back((Mean(directZenith) - Mean(reverseZenith)) / 2);
    }
    Sighting mean = first->s;
    mean.azimuth = CircularMean(directions);
    mean.zenith = zeniths.empty() ? std::nullopt : std::optional<double>(Mean(zeniths));
    mean.slope = slopes.empty() ? std::nullopt : std::optional<double>(Mean(slopes));
    mean.horizontal = horizontals.empty() ? std::nullopt : std::optional<double>(Mean(horizontals));
    mean.lineOfSight = lines.empty() ? std::nullopt : std::optional<double>(Mean(lines));
    mean.targetHeight = heightsKnown ? std::optional<double>(Mean(targetHeights)) : std::nullopt;

    if (!(reference && target == *reference)) {
      double low = 0, high = 0;
      for (double d : directions) {
        low = std::min(low, SignedAngle(d - mean.azimuth));
        high = std::max(high, SignedAngle(d - mean.azimuth));
      }
      double spread = high - low;
      SetRow row{first->s.record, station_->id, target, std::nullopt, static_cast<int>(directions.size()),
                 mean.azimuth, spread, std::nullopt, std::nullopt, mean.slope, std::nullopt,
                 spread > options_.setTolerance};
      if (orientation_ && orientation_->given.point && orientation_->azimuth) {
        row.backsight = orientation_->given.point;
        row.direction = NormalizedAzimuth(mean.azimuth - *orientation_->azimuth);
      }
      if (!collimations.empty()) row.collimation = Mean(collimations);
      if (!indexes.empty()) row.indexError = Mean(indexes);
      if (slopes.size() > 1) row.distanceSpread = *std::max_element(slopes.begin(), slopes.end()) -
                                                  *std::min_element(slopes.begin(), slopes.end());
      result_.rows.push_back(row);
    }
    Place(mean);
  }
}

ReductionResult Reduction::Finish() {
  FlushGroup();
  FlushSet();
  std::erase_if(result_.points, [](const FieldPoint& p) { return p.id.empty(); });
  // Readings waiting for their other face are skipped after later records.
  std::stable_sort(result_.skipped.begin(), result_.skipped.end(),
                   [](const SkippedRecord& a, const SkippedRecord& b) { return a.record < b.record; });
  return std::move(result_);
}

}  // namespace vantrel
