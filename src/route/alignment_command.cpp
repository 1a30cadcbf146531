// ALN: an alignment of tangents, circular curves and clothoid spirals. The
// first line gives its number and the station of its start; the elements
// follow, each a letter and its fields: L,from,to (a tangent between two
// points), C,PC,centre,PT (a curve, travelled from the PC to the PT) and
// S,length,radius,R|L (a spiral from the element before into a curve of
// that radius turning right or left, or out of one). A line ending in a
// comma says that more elements follow.
#include <array>
#include <cmath>
#include <optional>
#include <string>

#include "command/commands.h"
#include "command/session.h"
#include "notation/angles.h"
#include "notation/format.h"
#include "notation/geometry.h"
#include "command/fields.h"
#include "command/point_groups.h"
#include "route/route_entry.h"
#include "route/route_state.h"

namespace vantrel {
namespace {

// An alignment holds at most this many elements: far more than a road's,
// and a bound on what a typing slip can fill the store with.
constexpr size_t kMostElements = 5000;

PlanePoint PlaceOf(const Session& s, int point) { return {s.points.North(point), s.points.East(point)}; }

std::string Subject(const Session& s) {
  int n = s.route.entry.number;
  return n > 0 ? "Alignment " + std::to_string(n) : std::string("The alignment");
}

bool FirstLine(Session& s) {
  RouteState::Entry& entry = s.route.entry;
  std::optional<int> number = AlignmentNumber(s, s.args.GroupField(1), false);
  if (!number) return false;
  entry.number = *number;
  s.args.Consume(1);
  if (s.args.FieldsLeft() > 0) {
    entry.startStation = StationField(s, s.args.GroupField(1));
    s.args.Consume(1);
  }
  return true;
}

std::optional<double> Incoming(const RouteState::Entry& entry) {
  if (entry.elements.empty()) return std::nullopt;
  return entry.elements.back().End().azimuth;
}

bool Tangent(Session& s) {
  std::optional<std::array<int, 2>> points = GroupPoints(s, {2, 3});
  if (!points) return false;
  auto [from, to] = *points;
  if (SamePlace(s.points, from, to)) {
    s.InfoBox("Pt " + std::to_string(from) + " and Pt " + std::to_string(to) + " lie at one place: no tangent");
    return false;
  }
  RouteState::Entry& entry = s.route.entry;
  entry.elements.push_back(LineBetween(PlaceOf(s, from), PlaceOf(s, to)));
  entry.givenEnds.push_back(std::nullopt);
  return true;
}

// The curve turns the way that continues the element before; the PT need
// only lie on the PC's radius (checked with the joins).
bool Curve(Session& s) {
  std::optional<std::array<int, 3>> points = GroupPoints(s, {2, 3, 4});
  if (!points) return false;
  auto [pc, centre, pt] = *points;
  RouteState::Entry& entry = s.route.entry;
  std::optional<Element> arc = ArcContinuing(PlaceOf(s, pc), PlaceOf(s, centre), PlaceOf(s, pt), Incoming(entry));
  if (!arc) {
    s.InfoBox("Curve " + std::to_string(pc) + " " + std::to_string(centre) + " " + std::to_string(pt) +
              " has no radius or no length");
    return false;
  }
  entry.elements.push_back(*arc);
  entry.givenEnds.push_back(PlaceOf(s, pt));
  return true;
}

// Into a curve after a tangent (or a spiral that ends straight), out of the
// curve after one.
bool Spiral(Session& s) {
  RouteState::Entry& entry = s.route.entry;
  size_t number = entry.elements.size() + 1;
  if (entry.elements.empty()) {
    s.InfoBox("A spiral starts from the element before it; element 1 cannot be one");
    return false;
  }
  double length = ParseDistance(s, s.args.GroupField(2)), radius = ParseDistance(s, s.args.GroupField(3));
  std::string side = UpperCase(TrimBlanks(s.args.GroupField(4)));
  if (side != "R" && side != "L") {
    s.InfoBox(s.args.GroupField(4) + " is no side: a spiral turns R (right) or L (left)");
    return false;
  }
  if (!(length > 0) || !(radius > 0)) {
    s.InfoBox("The spiral of element " + std::to_string(number) + " needs a length and a radius above zero");
    return false;
  }
  double curvature = (side == "R" ? 1 : -1) / radius;
  Pose start = entry.elements.back().End();
  bool entering = entry.elements.back().endCurvature == 0;
  Element spiral = SpiralFrom(start, length, entering ? 0 : curvature, entering ? curvature : 0);
  if (std::optional<std::string> problem = SpiralProblem(spiral, number)) {
    s.InfoBox(*problem);
    return false;
  }
  entry.elements.push_back(spiral);
  entry.givenEnds.push_back(std::nullopt);
  return true;
}

// Elements one after another; an element whose fields have not all arrived
// waits for the next line.
bool Elements(Session& s) {
  RouteState::Entry& entry = s.route.entry;
  while (s.args.FieldsLeft() > 0) {
    std::string kind = UpperCase(TrimBlanks(s.args.GroupField(1)));
    int size = kind == "L" ? 3 : kind == "C" || kind == "S" ? 4 : 0;
    if (size == 0) {
      s.InfoBox(s.args.GroupField(1) + " is no element: L (tangent), C (curve) or S (spiral)");
      return false;
    }
    if (s.args.FieldsLeft() < size) return true;
    if (entry.elements.size() == kMostElements) {
      s.InfoBox("An alignment holds at most " + std::to_string(kMostElements) + " elements");
      return false;
    }
    bool read = kind == "L" ? Tangent(s) : kind == "C" ? Curve(s) : Spiral(s);
    if (!read) return false;
    s.args.Consume(size);
  }
  return true;
}

const char* KindName(const Element& e) {
  switch (e.kind) {
    case ElementKind::Line: return "Tangent";
    case ElementKind::Arc: return "Curve";
    case ElementKind::Spiral: return e.startCurvature == 0 ? "Spiral In" : "Spiral Out";
  }
  return "";
}

// A tangent's bearing; a curve's or a spiral's radius, side and the angle
// it turns through.
std::string ElementData(const Element& e) {
  if (e.kind == ElementKind::Line) return std::string(TrimBlanks(FormatAngle(e.azimuth, "b")));
  std::string data = "R " + PadLeft(FormatMask(e.Radius(), kRouteFeet), 10) + (e.TurnsRight() ? " Right" : " Left ");
  data += e.kind == ElementKind::Arc ? "  Delta " : "  Theta ";
  std::string angle = FormatAngle(std::fabs(e.Turned()), "z");
  return data + angle.substr(0, angle.find_last_not_of(' ') + 1);
}

void WriteAlignment(Session& s, int number, const Alignment& a, const std::vector<JoinMismatch>& accepted) {
  s.WriteOutput("");
  s.WriteOutput("Alignment No. " + std::to_string(number));
  s.WriteOutput("---------------");
  s.WriteOutput("Elem  Type          Start Sta     End Sta      Length   Direction or Curve");
  for (size_t k = 0; k < a.Elements().size(); ++k) {
    const Element& e = a.Elements()[k];
    std::string& row = s.NewRow();
    AppendPadded(row, std::to_string(k + 1), 4);
    row.append("  ").append(KindName(e)).append(10 - std::string(KindName(e)).size(), ' ');
    AppendMask(row, a.ElementStation(k), kRouteFeet, 13);
    AppendMask(row, a.ElementStation(k + 1), kRouteFeet, 12);
    AppendMask(row, e.length, kRouteFeet, 12);
    row.append("   ").append(ElementData(e));
    s.WriteOutput(row);
  }
  s.WriteOutput("Total Length = " + FormatMask(a.Length(), kRouteFeet));
  for (const JoinMismatch& m : accepted) s.WriteOutput("Accepted: " + MismatchText(m));
}

bool Finish(Session& s) {
  RouteState::Entry& entry = s.route.entry;
  if (s.args.FieldsLeft() > 0) {
    s.InfoBox("The last element of " + Subject(s) + " lacks some of its fields");
    return false;
  }
  if (entry.elements.empty()) {
    s.InfoBox(Subject(s) + " has no element");
    return false;
  }
  std::vector<JoinMismatch> mismatches = JoinMismatches(entry.elements, entry.givenEnds);
  if (!JoinsAccepted(s, Subject(s), mismatches)) return false;
  Alignment alignment(entry.startStation, std::move(entry.elements));
  if (!Computable(s, {alignment.EndStation()}, [&] { return Subject(s); })) return false;
  WriteAlignment(s, entry.number, alignment, mismatches);
  s.route.alignments[entry.number] = StoredAlignment{std::move(alignment), std::string()};
  return true;
}

}  // namespace

Outcome AlignmentCommand(Session& s) { return EnterLines(s, {FirstLine, Elements, Finish, Subject}); }

}  // namespace vantrel
