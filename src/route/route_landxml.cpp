#include "route/route_landxml.h"

#include <array>
#include <cmath>
#include <sstream>

#include "command/session.h"
#include "exchange/xml.h"
#include "notation/format.h"
#include "notation/numbers.h"
#include "route/route_entry.h"
#include "route/route_state.h"
#include "store/record_files.h"

namespace vantrel {
namespace {

// --- Writing -----------------------------------------------------------------

// "north east", as LandXML orders a point.
std::string PointText(PlanePoint p) { return RoundTripNumber(p.north) + " " + RoundTripNumber(p.east); }

std::string PointTag(const char* tag, PlanePoint p) {
  return std::string("<") + tag + ">" + PointText(p) + "</" + tag + ">";
}

std::string Attribute(const char* name, double value) {
  return std::string(" ") + name + "=\"" + RoundTripNumber(value) + "\"";
}

// A radius of LandXML: "INF" where the element runs straight.
std::string Radius(double curvature) {
  return curvature == 0 ? std::string("INF") : RoundTripNumber(1 / std::fabs(curvature));
}

// The PI of a spiral: where its start and end tangents meet, on the start
// tangent; halfway along the chord when they run parallel.
PlanePoint SpiralPi(const Element& e) {
  LocalOffset end = ClothoidOffset(e.startCurvature, (e.endCurvature - e.startCurvature) / e.length, e.length);
  double turned = e.Turned();
  double tanLong = std::fabs(std::sin(turned)) > 1e-12 ? end.along - end.right / std::tan(turned) : end.along / 2;
  return {e.start.north + tanLong * std::cos(e.azimuth), e.start.east + tanLong * std::sin(e.azimuth)};
}

std::string ElementXml(const Element& e, double station) {
  const char* rot = e.TurnsRight() ? "cw" : "ccw";
  PlanePoint end = e.End().at;
  switch (e.kind) {
    case ElementKind::Line:
      return "<Line" + Attribute("staStart", station) + Attribute("length", e.length) + ">" +
             PointTag("Start", e.start) + PointTag("End", end) + "</Line>";
    case ElementKind::Arc:
      return std::string("<Curve rot=\"") + rot + "\"" + Attribute("radius", e.Radius()) +
             Attribute("length", e.length) + Attribute("staStart", station) + ">" + PointTag("Start", e.start) +
             PointTag("Center", e.centre) + PointTag("End", end) + "</Curve>";
    case ElementKind::Spiral:
      return "<Spiral" + Attribute("length", e.length) + " radiusStart=\"" + Radius(e.startCurvature) +
             "\" radiusEnd=\"" + Radius(e.endCurvature) + "\" rot=\"" + rot + "\" spiType=\"clothoid\"" +
             Attribute("staStart", station) + ">" + PointTag("Start", e.start) + PointTag("PI", SpiralPi(e)) +
             PointTag("End", end) + "</Spiral>";
  }
  return "";
}

std::string ProfileXml(const Profile& profile, int number) {
  std::string name = std::to_string(number);
  std::string xml = "      <Profile name=\"" + name + "\">\n        <ProfAlign name=\"" + name + "\">\n";
  for (const Pvi& p : profile.Pvis()) {
    std::string at = RoundTripNumber(p.station) + " " + RoundTripNumber(p.elevation);
    if (!p.HasCurve())
      xml += "          <PVI>" + at + "</PVI>\n";
    else if (p.symmetric)
      xml += "          <ParaCurve" + Attribute("length", p.lengthBack + p.lengthAhead) + ">" + at + "</ParaCurve>\n";
    else
      xml += "          <UnsymParaCurve" + Attribute("lengthIn", p.lengthBack) + Attribute("lengthOut", p.lengthAhead) +
             ">" + at + "</UnsymParaCurve>\n";
  }
  return xml + "        </ProfAlign>\n      </Profile>\n";
}

// --- Reading -----------------------------------------------------------------

const XmlElement* Child(const XmlElement& e, const std::string& name) {
  for (const auto& child : e.children)
    if (child->name == name) return child.get();
  return nullptr;
}

std::optional<double> NumberAttribute(const XmlElement& e, const char* name) {
  const std::string* text = e.Attribute(name);
  return text ? PlainDecimal(TrimField(*text)) : std::nullopt;
}

// The curvature of a LandXML radius, positive where the element turns
// right: INF (and 0, which some packages write for it) is straight.
std::optional<double> Curvature(const XmlElement& e, const char* name, double sense) {
  const std::string* text = e.Attribute(name);
  if (!text) return std::nullopt;
  std::string radius = UpperCase(TrimField(*text));
  if (radius == "INF" || radius == "INFINITY") return 0.0;
  std::optional<double> value = PlainDecimal(radius);
  if (!value) return std::nullopt;
  return *value == 0 ? 0 : sense / std::fabs(*value);
}

// A Curve's or Spiral's rot: "cw" turns right; nothing when absent.
std::optional<bool> Clockwise(const XmlElement& e) {
  const std::string* rot = e.Attribute("rot");
  if (!rot) return std::nullopt;
  std::string sense = UpperCase(TrimField(*rot));
  if (sense == "CW") return true;
  if (sense == "CCW") return false;
  return std::nullopt;
}

class AlignmentReader {
 public:
  AlignmentReader(const XmlElement& alignment, const PointOfElement& pointOf) : a_(alignment), pointOf_(pointOf) {}

  AlignmentRead Read() {
    const std::string* name = a_.Attribute("name");
    read_.name = name ? *name : std::string();
    const std::string* desc = a_.Attribute("desc");
    read_.description = desc ? *desc : std::string();
    const XmlElement* geometry = Child(a_, "CoordGeom");
    if (!geometry) return Refused("it has no CoordGeom");
    std::optional<double> start = NumberAttribute(a_, "staStart");
    for (const auto& child : geometry->children) {
      if (child->name == "Feature") continue;
      if (!start) start = NumberAttribute(*child, "staStart");
      if (!Element(*child)) return read_;
    }
    if (read_.elements.empty()) return Refused("its CoordGeom holds no element");
    read_.startStation = start.value_or(0);
    if (!std::isfinite(read_.startStation + length_)) return Refused("its stations leave the range of numbers");
    ReadProfile();
    return read_;
  }

 private:
  AlignmentRead Refused(const std::string& why) {
    read_.problem = why;
    return read_;
  }
  bool Problem(const std::string& why) {
    read_.problem = "element " + std::to_string(read_.elements.size() + 1) + " " + why;
    return false;
  }
  std::optional<PlanePoint> Point(const XmlElement& e, const char* tag) {
    const XmlElement* p = Child(e, tag);
    return p ? pointOf_(*p) : std::nullopt;
  }
  // An element whose figures leave the range of numbers (coordinates of
  // 1E300) is no element.
  bool Add(const vantrel::Element& e, std::optional<PlanePoint> givenEnd) {
    PlanePoint end = e.End().at;
    if (!std::isfinite(length_ + e.length) || !std::isfinite(end.north) || !std::isfinite(end.east))
      return Problem("(" + std::string(e.kind == ElementKind::Line ? "Line" : e.kind == ElementKind::Arc ? "Curve" : "Spiral") +
                     ") cannot be computed: coordinates out of range");
    length_ += e.length;
    read_.elements.push_back(e);
    read_.givenEnds.push_back(givenEnd);
    return true;
  }

  bool Element(const XmlElement& e) {
    if (e.name != "Line" && e.name != "Curve" && e.name != "Spiral") return Problem("(" + e.name + ") is not read");
    std::optional<PlanePoint> start = Point(e, "Start"), end = Point(e, "End");
    if (!start || !end) return Problem("(" + e.name + ") lacks the coordinates of its Start or End");
    if (e.name == "Line") {
      if (PlaneDistance(*start, *end) == 0) return Problem("(Line) has no length");
      return Add(LineBetween(*start, *end), std::nullopt);
    }
    if (e.name == "Curve") return Curve(e, *start, *end);
    return Spiral(e, *start, *end);
  }

  // The sense from rot; without one, the arc that continues the element
  // before, as ALN takes it.
  bool Curve(const XmlElement& e, PlanePoint start, PlanePoint end) {
    std::optional<PlanePoint> centre = Point(e, "Center");
    if (!centre) return Problem("(Curve) lacks the coordinates of its Center");
    std::optional<bool> clockwise = Clockwise(e);
    std::optional<double> incoming;
    if (!read_.elements.empty()) incoming = read_.elements.back().End().azimuth;
    std::optional<vantrel::Element> arc =
        clockwise ? ArcAbout(start, *centre, end, *clockwise) : ArcContinuing(start, *centre, end, incoming);
    if (!arc) return Problem("(Curve) has no radius or no length");
    return Add(*arc, end);
  }

  // By length and radii from the Start; its direction there is the chord's
  // less the angle the chord of such a spiral makes with its start tangent.
  bool Spiral(const XmlElement& e, PlanePoint start, PlanePoint end) {
    std::optional<bool> clockwise = Clockwise(e);
    std::optional<double> length = NumberAttribute(e, "length");
    if (!clockwise || !length || !(*length > 0)) return Problem("(Spiral) lacks its rot or its length");
    const std::string* type = e.Attribute("spiType");
    if (type && UpperCase(TrimField(*type)) != "CLOTHOID") return Problem("(Spiral) is a " + *type + ", not a clothoid");
    double sense = *clockwise ? 1 : -1;
    std::optional<double> k0 = Curvature(e, "radiusStart", sense), k1 = Curvature(e, "radiusEnd", sense);
    if (!k0 || !k1) return Problem("(Spiral) lacks its radiusStart or radiusEnd");
    if (PlaneDistance(start, end) == 0) return Problem("(Spiral) has no length");
    LocalOffset chord = ClothoidOffset(*k0, (*k1 - *k0) / *length, *length);
    double azimuth = PlaneAzimuth(start, end) - std::atan2(chord.right, chord.along);
    vantrel::Element spiral = SpiralFrom({start, azimuth}, *length, *k0, *k1);
    if (std::optional<std::string> problem = SpiralProblem(spiral, read_.elements.size() + 1)) {
      read_.problem = *problem;
      return false;
    }
    return Add(spiral, end);
  }

  // The first ProfAlign of the first Profile: PVIs, with symmetric and
  // unsymmetric parabolas about them.
  void ReadProfile() {
    const XmlElement* profile = Child(a_, "Profile");
    const XmlElement* design = profile ? Child(*profile, "ProfAlign") : nullptr;
    if (!design) return;
    std::vector<Pvi> pvis;
    for (const auto& child : design->children) {
      const XmlElement& c = *child;
      if (c.name == "Feature") continue;
      std::istringstream words(c.text);
      std::string stationText, elevationText, more;
      words >> stationText >> elevationText;
      std::optional<double> station = PlainDecimal(stationText), elevation = PlainDecimal(elevationText);
      if (!station || !elevation || (words >> more)) {
        read_.profileProblem = "a " + c.name + " without a station and an elevation";
        return;
      }
      Pvi pvi{*station, *elevation, 0, 0, true};
      if (c.name == "ParaCurve") {
        std::optional<double> length = NumberAttribute(c, "length");
        if (!length) return ProfileRefused("a ParaCurve without its length");
        pvi.lengthBack = pvi.lengthAhead = *length / 2;
      } else if (c.name == "UnsymParaCurve") {
        std::optional<double> in = NumberAttribute(c, "lengthIn"), out = NumberAttribute(c, "lengthOut");
        if (!in || !out) return ProfileRefused("an UnsymParaCurve without its lengthIn or lengthOut");
        pvi = {*station, *elevation, *in, *out, false};
      } else if (c.name != "PVI") {
        return ProfileRefused("a " + c.name + ", which is not read");
      }
      pvis.push_back(pvi);
    }
    if (std::optional<std::string> problem = ProfileProblem(pvis)) return ProfileRefused(*problem);
    read_.profile = Profile(pvis);
  }
  void ProfileRefused(const std::string& why) { read_.profileProblem = why; }

  const XmlElement& a_;
  const PointOfElement& pointOf_;
  AlignmentRead read_;
  double length_ = 0;
};

}  // namespace

std::string AlignmentsXml(const RouteState& route) {
  std::string xml;
  for (int n = 1; n <= kMaxAlignment; ++n) {
    const std::optional<StoredAlignment>& stored = route.alignments[n];
    if (!stored) continue;
    const Alignment& a = stored->geometry;
    xml += "    <Alignment name=\"" + std::to_string(n) + "\"" + Attribute("length", a.Length()) +
           Attribute("staStart", a.StartStation());
    if (!stored->name.empty()) xml += " desc=\"" + XmlEscape(stored->name) + "\"";
    xml += ">\n      <CoordGeom>\n";
    for (size_t k = 0; k < a.Elements().size(); ++k)
      xml += "        " + ElementXml(a.Elements()[k], a.ElementStation(k)) + "\n";
    xml += "      </CoordGeom>\n";
    if (route.profiles[n]) xml += ProfileXml(*route.profiles[n], n);
    xml += "    </Alignment>\n";
  }
  return xml.empty() ? xml : "  <Alignments>\n" + xml + "  </Alignments>\n";
}

std::vector<AlignmentRead> ReadAlignments(const XmlElement& root, const PointOfElement& pointOf) {
  std::vector<const XmlElement*> found;
  root.Collect("Alignment", found);
  std::vector<AlignmentRead> reads;
  for (const XmlElement* a : found) reads.push_back(AlignmentReader(*a, pointOf).Read());
  return reads;
}

void StoreReadAlignments(Session& s, const std::string& file, const std::vector<AlignmentRead>& reads) {
  RouteState& route = s.route;
  std::vector<std::string> notes;
  auto subject = [&](const AlignmentRead& r) { return "Alignment " + QuoteStart(r.name) + " of " + file; };

  // The alignments to take: those that could be read, with their joins
  // accepted.
  std::vector<const AlignmentRead*> taking;
  for (const AlignmentRead& r : reads) {
    if (!r.problem.empty()) notes.push_back(subject(r) + " was not read: " + r.problem);
    else if (!JoinsAccepted(s, subject(r), JoinMismatches(r.elements, r.givenEnds)))
      notes.push_back(subject(r) + " was not read: its joins were refused");
    else
      taking.push_back(&r);
  }

  // Their numbers: a name that is one claims it, the others take the lowest
  // number neither defined nor claimed.
  std::vector<int> numbers(taking.size(), 0);
  std::array<bool, kMaxAlignment + 1> claimed{};
  for (size_t k = 0; k < taking.size(); ++k) {
    std::optional<int> n = TableNumber(TrimField(taking[k]->name), 1, kMaxAlignment);
    if (n && !claimed[*n]) claimed[numbers[k] = *n] = true;
  }
  for (size_t k = 0; k < taking.size(); ++k) {
    for (int n = 1; n <= kMaxAlignment && numbers[k] == 0; ++n)
      if (!claimed[n] && !route.alignments[n]) claimed[numbers[k] = n] = true;
    if (numbers[k] == 0) notes.push_back(subject(*taking[k]) + " was not read: no alignment number is free");
  }

  std::string defined;
  int definedCount = 0;
  for (int n : numbers) {
    if (n == 0 || !route.alignments[n]) continue;
    defined += (definedCount++ == 0 ? "" : ", ") + std::to_string(n);
  }
  bool replace = definedCount == 0 ||
                 s.AskYesNo((definedCount == 1 ? "Alignment " + defined + " is" : "Alignments " + defined + " are") +
                            " already defined\nReplace " + (definedCount == 1 ? "it" : "them") + " with those of " +
                            file + "?");

  // Each alignment read comes with its own profile, or none.
  std::string list;
  int stored = 0;
  for (size_t k = 0; k < taking.size(); ++k) {
    int n = numbers[k];
    const AlignmentRead& r = *taking[k];
    if (n == 0 || (!replace && route.alignments[n])) continue;
    // This program's own files name an alignment by its number and keep its
    // name in desc.
    std::string name = TrimField(r.name) == std::to_string(n) ? r.description : r.name;
    route.alignments[n] = StoredAlignment{Alignment(r.startStation, r.elements), name};
    route.profiles[n] = r.profile;
    if (!r.profileProblem.empty()) notes.push_back("The profile of " + subject(r) + " was not read: " + r.profileProblem);
    list += (stored++ == 0 ? ": " : ", ") + std::to_string(n) + (name.empty() ? "" : " " + QuoteStart(name)) +
            (r.profile ? " with its profile" : "");
  }
  std::string message = std::to_string(stored) + (stored == 1 ? " alignment" : " alignments") + " read from " + file + list;
  if (!replace) message += "; " + std::to_string(definedCount) + " defined " + (definedCount == 1 ? "was" : "were") + " kept";
  for (const std::string& note : notes) message += "\n" + note;
  s.InfoBox(message);
}

}  // namespace vantrel
