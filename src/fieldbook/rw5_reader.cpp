// Carlson/TDS RW5: one record a line, its type before the first comma, then
// fields of a two-character header and a value ("OP104", "N 5000.000"),
// looked up by header; a note runs from ",--" to the end of the line,
// commas and all. The file is a log in time order: MO sets the units for
// the records after it, OC starts a setup, LS changes the heights, BK
// orients the circle, and SS/TR and the set readings BD/BR/FD/FR observe.
// A line starting with "--" is a comment and is never executed; a
// commented MO gives the units when the file has no live one, and a
// commented GS the grid coordinates of the GPS record before it.
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "fieldbook/raw_readers.h"
#include "notation/numbers.h"
#include "store/record_files.h"

namespace vantrel {
namespace {

// Curvature and refraction of EC1: the usual coefficient of refraction.
constexpr double kRefractionCoefficient = 0.13;

constexpr double kInchesPerFoot = 12;

// Records kept as the collector's own business: jobs, feature codes,
// stake-out reports, adjusted points and the GPS and coordinate-system
// records. They place no point of a traverse and are passed over quietly.
constexpr std::string_view kQuietRecords[] = {
    "JB", "FC", "AT", "SK", "DE", "CF", "SL", "SR", "OE", "SD", "AP", "GR", "AH", "BL", "BP", "CG", "CS", "CT",
    "CV", "DG", "DT", "EE", "EP", "EQ", "ES", "GK", "GO", "GP", "HA", "PE", "PJ", "RP", "RX", "ST", "VA"};

// Records the reduction does not make use of, each skipped with a reason.
struct NotReduced {
  std::string_view types[4];
  const char* reason;
};
constexpr NotReduced kNotReduced[] = {
    {{"RS"}, "a resection reading (no resection is computed)"},
    {{"OF"}, "an offset shot (not reduced)"},
    {{"RB", "RF", "RD", "MD"}, "a repeated reading record (not reduced)"},
    {{"AA", "BB", "BS", "BT"}, "a legacy record (not reduced)"},
    {{"BG", "HC", "LE", "LG"}, "a legacy record (not reduced)"},
    {{"LM", "LH", "LV", "VC"}, "a legacy record (not reduced)"},
};

std::string_view Trim(std::string_view text) {
  size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) return {};
  return text.substr(start, text.find_last_not_of(" \t") - start + 1);
}

// One record cut into its type, its fields and its note.
struct Rw5Record {
  std::string_view type;
  std::vector<std::pair<std::string_view, std::string_view>> fields;  // header, value
  std::string_view note;

  void Cut(std::string_view line) {
    fields.clear();
    note = {};
    size_t comma = line.find(',');
    type = Trim(line.substr(0, comma));
    if (comma == std::string_view::npos) return;
    std::string_view rest = line.substr(comma + 1);
    // The GPS base line record keeps fields after its description.
    if (type != "BL") {
      size_t noteStart = rest.starts_with("--") ? 0 : rest.find(",--");
      if (noteStart != std::string_view::npos) {
        note = Trim(rest.substr(noteStart + (noteStart == 0 ? 2 : 3)));
        rest = rest.substr(0, noteStart);
      }
    }
    while (!rest.empty()) {
      size_t end = rest.find(',');
      std::string_view field = Trim(rest.substr(0, end));
      if (field.size() >= 2) fields.emplace_back(field.substr(0, 2), Trim(field.substr(2)));
      if (end == std::string_view::npos) break;
      rest.remove_prefix(end + 1);
    }
  }

  // The value under a header; nothing when the record has no such field,
  // and an empty value means "not given" as well.
  std::optional<std::string_view> Field(std::string_view header) const {
    for (const auto& [h, value] : fields)
      if (h == header) return value.empty() ? std::nullopt : std::optional<std::string_view>(value);
    return std::nullopt;
  }
};

class Rw5Reader : public RawLineReader {
 public:
  Rw5Reader(Reduction& reduction, FootKind foot) : reduction_(reduction), foot_(foot) {}

  void Line(std::string_view line) override {
    line = Trim(line);
    // The GPS record before is reduced now, or counted when no grid
    // coordinates followed it.
    bool gridFollows = line.starts_with("--GS,") || line.starts_with("GS,");
    if (gps_ && !gridFollows) PendingGpsSkipped();
    if (line.starts_with("--")) return Comment(line.substr(2));
    record_.Cut(line);
    const std::string_view type = record_.type;
    if (type == "MO") return Mode(false);
    if (type == "SP") return StorePoint(FieldSource::Given);
    if (type == "GS") return StorePoint(FieldSource::Gnss);
    if (type == "OC") return Occupy();
    if (type == "LS") return LineOfSight();
    if (type == "BK") return BackSight();
    if (type == "SS") return Shot(SightRole::Shot, Face::Unknown);
    if (type == "TR") return Shot(SightRole::Traverse, Face::Unknown);
    if (type == "BD") return Shot(SightRole::SetBacksight, Face::Direct);
    if (type == "BR") return Shot(SightRole::SetBacksight, Face::Reverse);
    if (type == "FD") return Shot(SightRole::SetForesight, Face::Direct);
    if (type == "FR") return Shot(SightRole::SetForesight, Face::Reverse);
    if (type == "GPS") return GpsPosition();
    if (type == "DP") {
      if (std::optional<std::string_view> id = record_.Field("PN")) return reduction_.Delete(std::string(*id));
      return reduction_.Skip("a DP record without a point (PN)");
    }
    for (std::string_view quiet : kQuietRecords)
      if (type == quiet) return;
    for (const NotReduced& kind : kNotReduced)
      for (std::string_view code : kind.types)
        if (type == code) return reduction_.Skip(kind.reason);
    reduction_.Skip("an unknown record type " + std::string(type.substr(0, 8)));
  }

  void Finish() override {
    if (gps_) PendingGpsSkipped();
  }

 private:
  void Comment(std::string_view text) {
    // A commented record executes nothing, but for two: a commented MO
    // while no live one has come, and the grid coordinates of a GPS record.
    if (text.starts_with("MO,") && !liveMode_) {
      record_.Cut(text);
      Mode(true);
    } else if (text.starts_with("GS,") && gps_) {
      record_.Cut(text);
      StorePoint(FieldSource::Gnss);
    }
  }

  void Mode(bool commented) {
    liveMode_ = liveMode_ || !commented;
    if (std::optional<std::string_view> un = record_.Field("UN")) {
      static const LengthUnit kUnits[] = {LengthUnit::InternationalFoot, LengthUnit::Metre, LengthUnit::UsSurveyFoot};
      std::optional<int> code = TableNumber(*un, 0, 2);
      if (!code) return reduction_.Fail("an MO record with an unknown distance unit UN" + std::string(*un));
      LengthUnit unit = kUnits[*code];
      if (lengthsRead_ && !SameLengthKind(unit, unit_))
        return reduction_.Fail("distances in " + std::string(LengthUnitName(unit)) + " after " +
                               std::string(LengthUnitName(unit_)) + " earlier in the file: mixed units are not reduced");
      SetUnit(unit, commented);
    }
    if (std::optional<std::string_view> au = record_.Field("AU")) {
      std::optional<int> code = TableNumber(*au, 0, 1);
      if (!code) return reduction_.Fail("an MO record with an unknown angle unit AU" + std::string(*au));
      gon_ = *code == 1;
      reduction_.Setting(gon_ ? "Angles in gon" : "Angles in degrees, minutes and seconds (DDD.MMSS)");
    }
    if (std::optional<std::string_view> ad = record_.Field("AD")) southAzimuths_ = *ad == "1";
    if (std::optional<std::string_view> sf = record_.Field("SF")) {
      std::optional<double> factor = PlainDecimal(*sf);
      if (!factor || *factor <= 0) return reduction_.Fail("an MO record with a scale factor that is not above 0");
      reduction_.ScaleFactor(*factor);
    }
    if (std::optional<std::string_view> ec = record_.Field("EC"))
      reduction_.CurvatureRefraction(*ec == "1" ? std::optional<double>(kRefractionCoefficient) : std::nullopt);
    if (std::optional<std::string_view> eo = record_.Field("EO")) {
      std::optional<double> inches = PlainDecimal(*eo);
      if (!inches) return reduction_.Fail("an MO record with an EDM offset that is not a number");
      edmOffset_ = *inches / kInchesPerFoot;
      if (*inches != 0)
        reduction_.Setting("EDM offset " + PlainNumber(*inches) + " in added to slope distances");
    }
  }

  void SetUnit(LengthUnit unit, bool commented) {
    unit_ = unit;
    unitKnown_ = true;
    toFeet_ = FeetPerUnit(unit, foot_);
    std::string text = "Distances in " + std::string(LengthUnitName(unit));
    if (unit == LengthUnit::Metre)
      text += foot_ == FootKind::UsSurvey ? ", converted to US survey feet" : ", converted to international feet";
    if (commented) text += " (from a commented-out MO record)";
    reduction_.Setting(text);
  }

  // A length field in feet; `problem` is set when the value is no number.
  std::optional<double> Length(std::string_view header, bool& problem) {
    std::optional<std::string_view> text = record_.Field(header);
    if (!text) return std::nullopt;
    std::optional<double> value = PlainDecimal(*text);
    if (!value) {
      problem = true;
      reduction_.Skip(std::string(record_.type) + " with " + std::string(header) + " that is not a number");
      return std::nullopt;
    }
    if (!unitKnown_) {
      reduction_.Setting("No MO record gives the units: distances taken as feet");
      unitKnown_ = true;
    }
    lengthsRead_ = true;
    return *value * toFeet_;
  }

  std::optional<double> Angle(std::string_view text) const {
    if (!gon_) return PackedDegreesText(text);
    std::optional<double> gon = PlainDecimal(text);
    return gon ? std::optional<double>(GonToRadians(*gon)) : std::nullopt;
  }

  // An angle field; `problem` is set when the value is no angle.
  std::optional<double> AngleField(std::string_view header, bool& problem) {
    std::optional<std::string_view> text = record_.Field(header);
    if (!text) return std::nullopt;
    std::optional<double> angle = header == "BR" ? Bearing(*text) : Angle(*text);
    if (!angle) {
      problem = true;
      reduction_.Skip(std::string(record_.type) + " with " + std::string(header) + " that is not an angle");
    }
    return angle;
  }

  // A bearing field: quadrant letter, angle, quadrant letter (N12.3000E).
  std::optional<double> Bearing(std::string_view text) const {
    if (text.size() < 3) return std::nullopt;
    char ns = static_cast<char>(std::toupper(static_cast<unsigned char>(text.front())));
    char ew = static_cast<char>(std::toupper(static_cast<unsigned char>(text.back())));
    std::optional<double> angle = Angle(text.substr(1, text.size() - 2));
    if (!angle || (ns != 'N' && ns != 'S') || (ew != 'E' && ew != 'W') || *angle < 0 || *angle > HALF_PI)
      return std::nullopt;
    if (ns == 'N') return ew == 'E' ? *angle : TWO_PI - *angle;
    return ew == 'E' ? PI - *angle : PI + *angle;
  }

  std::string Note() const { return std::string(record_.note); }

  void StorePoint(FieldSource source) {
    std::optional<std::string_view> id = record_.Field("PN");
    if (source == FieldSource::Gnss) gps_.reset();
    if (!id) return reduction_.Skip(std::string(record_.type) + " without a point (PN)");
    bool problem = false;
    std::optional<double> north = Length("N ", problem), east = Length("E ", problem),
                          elevation = Length("EL", problem);
    if (problem) return;
    if (!north || !east) return reduction_.Skip(std::string(record_.type) + " without north and east");
    reduction_.Given(std::string(*id), {*north, *east, elevation}, Note(), source);
  }

  void Occupy() {
    std::optional<std::string_view> id = record_.Field("OP");
    if (!id) return reduction_.Skip("OC without a station (OP)");
    bool problem = false;
    std::optional<double> north = Length("N ", problem), east = Length("E ", problem),
                          elevation = Length("EL", problem);
    if (problem) return;
    if (north.has_value() != east.has_value()) return reduction_.Skip("OC with north or east alone");
    std::optional<FieldPosition> at;
    if (north) at = FieldPosition{*north, *east, elevation};
    station_ = PointKey(*id);
    reduction_.Occupy(std::string(*id), at, std::nullopt, Note(), false);
  }

  void LineOfSight() {
    bool problem = false;
    std::optional<double> instrument = Length("HI", problem), target = Length("HR", problem);
    if (problem) return;
    if (instrument && *instrument == 0) reduction_.Note("instrument height 0");
    reduction_.Heights(instrument, target);
  }

  // The record's OP is the station of the setup in force.
  bool OnStation() {
    std::optional<std::string_view> op = record_.Field("OP");
    if (!op || station_.empty() || PointKey(*op) == station_) return true;
    reduction_.Skip(std::string(record_.type) + " from station " + std::string(*op) + " while the setup is on " +
                    station_);
    return false;
  }

  void BackSight() {
    if (!OnStation()) return;
    bool problem = false;
    Backsight backsight;
    if (std::optional<std::string_view> point = record_.Field("BP")) backsight.point = std::string(*point);
    backsight.azimuth = AngleField("BS", problem);
    if (backsight.azimuth && southAzimuths_) backsight.azimuth = NormalizedAzimuth(*backsight.azimuth + PI);
    backsight.circleDirect = backsight.circleReverse = AngleField("BC", problem).value_or(0);
    if (problem) return;
    reduction_.Sight(backsight);
  }

  void Shot(SightRole role, Face face) {
    if (!OnStation()) return;
    std::optional<std::string_view> target = record_.Field("FP");
    if (!target) return reduction_.Skip(std::string(record_.type) + " without a target (FP)");
    Reading reading;
    reading.target = std::string(*target);
    reading.role = role;
    reading.face = face;
    reading.note = Note();
    bool problem = false;
    static constexpr std::pair<std::string_view, Horizontal> kHorizontal[] = {
        {"AR", Horizontal::Circle},         {"AL", Horizontal::AngleLeft}, {"DR", Horizontal::DeflectionRight},
        {"DL", Horizontal::DeflectionLeft}, {"AZ", Horizontal::Azimuth},   {"BR", Horizontal::Azimuth}};
    bool horizontal = false;
    for (const auto& [header, kind] : kHorizontal) {
      std::optional<double> value = AngleField(header, problem);
      if (problem) return;
      if (!value) continue;
      reading.horizontalKind = kind;
      reading.horizontal = header == "AZ" && southAzimuths_ ? *value + PI : *value;
      horizontal = true;
      break;
    }
    if (!horizontal) return reduction_.Skip(std::string(record_.type) + " without a horizontal angle");
    reading.zenith = AngleField("ZE", problem);
    if (std::optional<double> vertical = AngleField("VA", problem); vertical && !reading.zenith)
      reading.zenith = HALF_PI - *vertical;
    reading.heightDifference = Length("CE", problem);
    reading.slopeDistance = Length("SD", problem);
    reading.horizontalDistance = Length("HD", problem);
    if (problem) return;
    if (reading.slopeDistance && *reading.slopeDistance > 0) *reading.slopeDistance += edmOffset_;
    reduction_.Observe(std::move(reading));
  }

  void GpsPosition() {
    std::optional<std::string_view> id = record_.Field("PN");
    if (!id) return reduction_.Skip("GPS without a point (PN)");
    gps_ = PendingGps{std::string(*id), reduction_.CurrentRecord()};
  }

  void PendingGpsSkipped() {
    reduction_.SkipAt(gps_->record, "GPS position " + gps_->id + " without grid coordinates (no GS record follows)");
    gps_.reset();
  }

  struct PendingGps {
    std::string id;
    RecordNumber record;
  };

  Reduction& reduction_;
  FootKind foot_;
  Rw5Record record_;
  std::string station_;
  LengthUnit unit_ = LengthUnit::Foot;
  bool unitKnown_ = false, liveMode_ = false, lengthsRead_ = false;
  double toFeet_ = 1;
  bool gon_ = false, southAzimuths_ = false;
  double edmOffset_ = 0;  // feet
  std::optional<PendingGps> gps_;
};

}  // namespace

std::unique_ptr<RawLineReader> MakeRw5Reader(Reduction& reduction, FootKind foot) {
  return std::make_unique<Rw5Reader>(reduction, foot);
}

}  // namespace vantrel
