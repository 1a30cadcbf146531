// Trimble JobXML: the FieldBook holds every record in the order it was
// written (stations, backsight bearings, targets, atmospheres, points and
// observations), each with an ID the others refer to; Reductions holds the
// job's current position of every point. Values are always metres and
// decimal degrees, whatever the display units say. A station's coordinates
// are the job's reduced ones; a raw EDM distance gets its target's prism
// constant and its station's atmospheric ppm; the circle is oriented per
// face by the backsight bearing.
#include <cmath>
#include <map>
#include <string>

#include "command/code_page.h"
#include "exchange/xml.h"
#include "fieldbook/raw_readers.h"
#include "notation/numbers.h"
#include "store/record_files.h"

namespace vantrel {
namespace {

// Keyed and reduced positions of a control point closer than 1 mm agree.
constexpr double kAgreementMetres = 0.001;

const XmlElement* Child(const XmlElement& parent, std::string_view name) {
  for (const auto& child : parent.children)
    if (child->name == name) return child.get();
  return nullptr;
}

std::string Text(const XmlElement& parent, std::string_view name) {
  const XmlElement* child = Child(parent, name);
  return child ? std::string(TrimField(child->text)) : std::string();
}

// A child's number; an empty element is no value.
std::optional<double> Number(const XmlElement* parent, std::string_view name) {
  if (parent == nullptr) return std::nullopt;
  const XmlElement* child = Child(*parent, name);
  return child ? PlainDecimal(child->text) : std::nullopt;
}

struct Target {
  double prismConstant = 0;      // metres
  std::optional<double> height;  // metres
};

struct Atmosphere {
  double ppm = 0;
  std::optional<double> refraction;  // curvature and refraction on, with this coefficient
};

class JobXmlReader {
 public:
  JobXmlReader(Reduction& reduction, FootKind foot)
      : reduction_(reduction), toFeet_(FeetPerUnit(LengthUnit::Metre, foot)) {}

  void Read(const XmlElement& root) {
    if (root.name != "JOBFile") return reduction_.Fail("not a JobXML document (its root is <" + root.name + ">)");
    const XmlElement* book = Child(root, "FieldBook");
    if (book == nullptr) return reduction_.Fail("a JobXML document without a FieldBook");
    reduction_.Setting(std::string("Distances in metres, converted to ") +
                       (toFeet_ == FeetPerUnit(LengthUnit::Metre, FootKind::UsSurvey) ? "US survey feet"
                                                                                       : "international feet"));
    reduction_.Setting("Angles in decimal degrees");
    if (const XmlElement* reductions = Child(root, "Reductions"))
      for (const auto& point : reductions->children)
        if (std::optional<FieldPosition> at = Grid(Child(*point, "Grid"))) reduced_[Text(*point, "Name")] = *at;
    // The records others refer to, by ID, before the book is replayed.
    for (const auto& record : book->children) {
      const std::string* id = record->Attribute("ID");
      if (id == nullptr) continue;
      if (record->name == "TargetRecord") {
        targets_[*id] = {Number(record.get(), "PrismConstant").value_or(0), Number(record.get(), "TargetHeight")};
      } else if (record->name == "AtmosphereRecord") {
        Atmosphere atmosphere{Number(record.get(), "PPM").value_or(0), std::nullopt};
        if (Text(*record, "ApplyEarthCurvatureCorrection") == "true" || Text(*record, "ApplyRefractionCorrection") == "true")
          atmosphere.refraction = Number(record.get(), "RefractionCoefficient").value_or(0);
        atmospheres_[*id] = atmosphere;
      }
    }
    RecordNumber number = 0;
    for (const auto& record : book->children) {
      reduction_.Record(++number);
      const std::string& name = record->name;
      if (name == "StationRecord") Station(*record);
      else if (name == "BackBearingRecord") BackBearing(*record);
      else if (name == "PointRecord") Point(*record);
      else if (name == "InstrumentRecord") Instrument(*record);
      else if (!name.ends_with("Record")) reduction_.Skip("an unknown record <" + name.substr(0, 40) + ">");
      if (reduction_.Failed()) return;
    }
  }

 private:
  std::optional<FieldPosition> Grid(const XmlElement* grid) const {
    std::optional<double> north = Number(grid, "North"), east = Number(grid, "East");
    if (!north || !east) return std::nullopt;
    std::optional<double> elevation = Number(grid, "Elevation");
    if (elevation) *elevation *= toFeet_;
    return FieldPosition{*north * toFeet_, *east * toFeet_, elevation};
  }

  const std::string* Reference(const XmlElement& record, std::string_view name) const {
    const XmlElement* child = Child(record, name);
    return child ? &child->text : nullptr;
  }

  void Station(const XmlElement& record) {
    std::string name = Text(record, "StationName");
    const std::string* id = record.Attribute("ID");
    station_ = id ? *id : std::string();
    std::optional<double> height = Number(&record, "TheodoliteHeight");
    if (height) *height *= toFeet_;
    else reduction_.Note("station " + name + " without an instrument height");
    std::optional<FieldPosition> at;
    if (auto found = reduced_.find(name); found != reduced_.end()) at = found->second;
    std::string type = Text(record, "StationType");
    reduction_.Occupy(name, at, height, "", !type.empty() && type != "StationSetup");
    reduction_.ScaleFactor(Number(&record, "ScaleFactor").value_or(1));
    const std::string* atmosphereId = Reference(record, "AtmosphereID");
    auto atmosphere = atmosphereId ? atmospheres_.find(*atmosphereId) : atmospheres_.end();
    ppm_ = atmosphere != atmospheres_.end() ? atmosphere->second.ppm : 0;
    reduction_.CurvatureRefraction(atmosphere != atmospheres_.end() ? atmosphere->second.refraction : std::nullopt);
  }

  void BackBearing(const XmlElement& record) {
    const std::string* station = Reference(record, "StationRecordID");
    if (station && *station != station_) return reduction_.Skip("a backsight bearing of another setup");
    std::optional<double> face1 = Number(&record, "Face1HorizontalCircle"),
                          face2 = Number(&record, "Face2HorizontalCircle"),
                          correction = Number(&record, "OrientationCorrection");
    Backsight backsight;
    std::string point = Text(record, "BackSight");
    if (!point.empty()) backsight.point = point;
    // The circle on the backsight, face II brought to face I.
    std::optional<double> direct = face1 ? std::optional<double>(DegreesToRadians(*face1)) : std::nullopt;
    std::optional<double> reverse = face2 ? std::optional<double>(DegreesToRadians(*face2) - PI) : std::nullopt;
    backsight.circleDirect = direct.value_or(reverse.value_or(0));
    backsight.circleReverse = reverse.value_or(direct.value_or(0));
    double mean = backsight.circleDirect + SignedAngle(backsight.circleReverse - backsight.circleDirect) / 2;
    if (correction && (direct || reverse)) backsight.azimuth = NormalizedAzimuth(mean + DegreesToRadians(*correction));
    reduction_.Sight(backsight);
  }

  void Point(const XmlElement& record) {
    std::string name = Text(record, "Name");
    if (Text(record, "Deleted") == "true") return reduction_.Skip("point " + name + " deleted in the field");
    std::string code = Text(record, "Code");
    if (Child(record, "MTA") != nullptr || Text(record, "Classification") == "MTA") {
      reduction_.Setting("Mean turned angles (MTA) passed over: the readings they average are reduced");
      return;
    }
    if (const XmlElement* circle = Child(record, "Circle")) return Observation(record, *circle, name, code);
    std::optional<FieldPosition> computed = Grid(Child(record, "ComputedGrid"));
    if (Child(record, "ECEF") != nullptr) {
      if (computed) return reduction_.Given(name, *computed, code, FieldSource::Gnss);
      return reduction_.Skip("GNSS position " + name + " without grid coordinates");
    }
    if (std::optional<FieldPosition> keyed = Grid(Child(record, "Grid"))) {
      FieldPosition at = *keyed;
      if (auto found = reduced_.find(name); found != reduced_.end()) {
        const FieldPosition& job = found->second;
        double moved = std::hypot(job.north - keyed->north, job.east - keyed->east) / toFeet_;
        if (moved > kAgreementMetres)
          reduction_.Note("point " + name + ": the job's reduced position is " + FormatMask(moved * 1000, "0") +
                          " mm from the keyed one and is used");
        at = job;
      }
      return reduction_.Given(name, at, code, FieldSource::Given);
    }
    if (Text(record, "Method") == "AzimuthOnly") return;  // a backsight by azimuth alone
    reduction_.Skip("point record " + name + " with neither coordinates nor an observation");
  }

  void Observation(const XmlElement& record, const XmlElement& circle, const std::string& name,
                   const std::string& code) {
    const std::string* station = Reference(record, "StationID");
    if (station && *station != station_) return reduction_.Skip("an observation of " + name + " outside its setup");
    std::optional<double> horizontal = Number(&circle, "HorizontalCircle");
    if (!horizontal) return reduction_.Skip("an observation of " + name + " without a horizontal circle");
    Reading reading;
    reading.target = name;
    reading.note = code;
    reading.horizontalKind = Horizontal::Circle;
    reading.horizontal = DegreesToRadians(*horizontal);
    if (std::optional<double> vertical = Number(&circle, "VerticalCircle")) reading.zenith = DegreesToRadians(*vertical);
    std::string face = Text(circle, "Face");
    reading.face = face == "Face1" ? Face::Direct : face == "Face2" ? Face::Reverse : Face::Unknown;
    Target target;
    if (const std::string* targetId = Reference(record, "TargetID"))
      if (auto found = targets_.find(*targetId); found != targets_.end()) target = found->second;
    // A target without a height leaves the heights of its point unknown.
    if (target.height) reading.targetHeight = *target.height * toFeet_;
    // The raw EDM distance corrected: prism constant, then the ppm.
    if (std::optional<double> edm = Number(&circle, "EDMDistance"); edm && *edm > 0)
      reading.slopeDistance = (*edm + target.prismConstant) * (1 + ppm_ * 1e-6) * toFeet_;
    reading.instrumentResult = Grid(Child(record, "ComputedGrid"));
    reduction_.Observe(std::move(reading));
  }

  void Instrument(const XmlElement& record) {
    std::optional<double> angle = Number(&record, "HorizontalAnglePrecision"), edm = Number(&record, "EDMPrecision"),
                          ppm = Number(&record, "EDMppm");
    if (angle && edm) reduction_.InstrumentErrors(*angle * 3600, *edm * toFeet_, ppm.value_or(0));
  }

  Reduction& reduction_;
  double toFeet_;
  std::map<std::string, FieldPosition> reduced_;
  std::map<std::string, Target> targets_;
  std::map<std::string, Atmosphere> atmospheres_;
  std::string station_;  // the ID of the setup in force
  double ppm_ = 0;
};

}  // namespace

void ReadJobXml(std::string_view text, Reduction& reduction, FootKind foot) {
  std::string decoded;
  if (!IsValidUtf8(text)) {
    decoded = Windows1252ToUtf8(text);
    text = decoded;
  }
  std::string error;
  std::unique_ptr<XmlElement> root = ParseXml(text, error);
  if (!root) return reduction.Fail("not well-formed XML (" + error + ")");
  JobXmlReader(reduction, foot).Read(*root);
}

}  // namespace vantrel
