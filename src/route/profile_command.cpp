// VCV: the profile of an alignment. The first line gives the alignment
// number and the station interval of the table of grade elevations (none
// when it is 0 or left out); each following line is one PVI: station,
// elevation, and the length of a symmetric vertical curve about it, or the
// lengths back and ahead of an unsymmetric one. A line ending in a comma
// says that more PVIs follow. The report lists the grades, each curve with
// its PVC, PVT and high or low point, and the table.
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "command/commands.h"
#include "command/session.h"
#include "notation/format.h"
#include "notation/geometry.h"
#include "command/fields.h"
#include "command/point_groups.h"
#include "route/route_entry.h"
#include "route/route_state.h"

namespace vantrel {
namespace {

constexpr size_t kMostPvis = 5000;
// A table with more rows than this comes from a typing slip in the
// interval, as in HA2's field table.
constexpr double kMostTableRows = 100000;
// A full station this close to a PVC, PVT or high point is that row.
constexpr double kSameStation = 0.0005;
// Counts of intervals up to this are whole numbers a double still tells
// apart from the next one.
constexpr double kCountable = 1e15;

std::string Feet(double value) { return FormatMask(value, kRouteFeet); }
std::string Percent(double grade) { return FormatMask(100 * grade, "0.000"); }

std::string Subject(const Session& s) {
  int n = s.route.entry.number;
  return n > 0 ? "The profile of alignment " + std::to_string(n) : std::string("The profile");
}

bool FirstLine(Session& s) {
  RouteState::Entry& entry = s.route.entry;
  std::optional<int> number = AlignmentNumber(s, s.args.Field(1), false);
  if (!number) return false;
  entry.number = *number;
  if (s.args.Count() > 2) {
    s.InfoBox("VCV's first line holds the alignment number and the station interval; each PVI takes a line of its own");
    return false;
  }
  if (s.args.Count() == 2) entry.interval = StationField(s, s.args.Field(2));
  s.args.ConsumeAll();
  return true;
}

// One PVI: station, elevation and none, one or two curve lengths.
bool PviLine(Session& s) {
  RouteState::Entry& entry = s.route.entry;
  int fields = s.args.FieldsLeft();
  if (fields == 0) return true;
  if (fields < 2 || fields > 4) {
    s.InfoBox("A PVI line holds the station, the elevation and up to two curve lengths: " + QuoteStart(s.CurrentLine));
    return false;
  }
  if (entry.pvis.size() == kMostPvis) {
    s.InfoBox("A profile holds at most " + std::to_string(kMostPvis) + " PVIs");
    return false;
  }
  Pvi pvi;
  pvi.station = StationField(s, s.args.GroupField(1));
  pvi.elevation = ParseDistance(s, s.args.GroupField(2));
  if (fields == 3) pvi.lengthBack = pvi.lengthAhead = ParseDistance(s, s.args.GroupField(3)) / 2;
  if (fields == 4) {
    pvi.lengthBack = ParseDistance(s, s.args.GroupField(3));
    pvi.lengthAhead = ParseDistance(s, s.args.GroupField(4));
    pvi.symmetric = false;
  }
  entry.pvis.push_back(pvi);
  s.args.ConsumeAll();
  return true;
}

void WriteStationRow(Session& s, const char* label, double station, double elevation) {
  std::string& row = s.NewRow();
  row.append(label);
  AppendMask(row, station, kRouteFeet, 10);
  row.append("   Elev ");
  AppendMask(row, elevation, kRouteFeet, 10);
  s.WriteOutput(row);
}

void WritePvis(Session& s, const Profile& p) {
  s.WriteOutput(" PVI       Station   Elevation     Grade %       Curve");
  for (size_t k = 0; k < p.Pvis().size(); ++k) {
    const Pvi& pvi = p.Pvis()[k];
    std::string& row = s.NewRow();
    AppendPadded(row, std::to_string(k + 1), 4);
    AppendMask(row, pvi.station, kRouteFeet, 14);
    AppendMask(row, pvi.elevation, kRouteFeet, 12);
    if (k + 1 < p.Pvis().size()) AppendPadded(row, Percent(p.Grade(k)), 12);
    if (pvi.HasCurve()) AppendMask(row, pvi.lengthBack + pvi.lengthAhead, kRouteFeet, 12);
    s.WriteOutput(row);
  }
}

void WriteCurve(Session& s, const Profile& p, size_t k) {
  const Pvi& pvi = p.Pvis()[k];
  VerticalCurve c = p.Curve(k);
  s.WriteOutput("");
  s.WriteOutput("Vertical Curve at PVI " + std::to_string(k + 1) + (c.Crest() ? "  (Crest)" : "  (Sag)"));
  s.WriteOutput("---------------");
  std::string length = "Length = " + Feet(c.lengthBack + c.lengthAhead);
  if (!pvi.symmetric) length += " (" + Feet(c.lengthBack) + " back, " + Feet(c.lengthAhead) + " ahead)";
  s.WriteOutput(length);
  s.WriteOutput("Grade In = " + Percent(c.gradeIn) + " %");
  s.WriteOutput("Grade Out = " + Percent(c.gradeOut) + " %");
  s.WriteOutput("Middle Ordinate = " + Feet(c.middleOrdinate));
  WriteStationRow(s, "P.V.C. Sta   ", c.pvcStation, c.pvcElevation);
  WriteStationRow(s, "P.V.I. Sta   ", pvi.station, pvi.elevation);
  WriteStationRow(s, "P.V.T. Sta   ", c.ptStation, c.ptElevation);
  const char* turning = c.Crest() ? "High Pt. Sta " : "Low Pt. Sta  ";
  if (c.turningStation) WriteStationRow(s, turning, *c.turningStation, c.ElevationAt(*c.turningStation));
  else s.WriteOutput(c.Crest() ? "No high point on the curve" : "No low point on the curve");
}

struct KeyStation {
  double station;
  std::string label;
};

// The PVIs where the grade breaks without a curve (the first and last
// among them), and each curve's PVC, high or low point and PVT; two at one
// station (a PVT on the next PVC) are one row that names both.
std::vector<KeyStation> KeyStations(const Profile& p) {
  std::vector<KeyStation> keys;
  auto add = [&keys](double station, std::string label) {
    if (!keys.empty() && std::fabs(keys.back().station - station) <= kSameStation) keys.back().label += ", " + label;
    else keys.push_back({station, std::move(label)});
  };
  for (size_t k = 0; k < p.Pvis().size(); ++k) {
    std::string n = std::to_string(k + 1);
    if (!p.Pvis()[k].HasCurve()) {
      add(p.Pvis()[k].station, "P.V.I. " + n);
      continue;
    }
    VerticalCurve c = p.Curve(k);
    add(c.pvcStation, "P.V.C. " + n);
    if (c.turningStation) add(*c.turningStation, (c.Crest() ? "High Pt. " : "Low Pt. ") + n);
    add(c.ptStation, "P.V.T. " + n);
  }
  return keys;
}

// Rows at the key stations and at every full station between the first
// PVI and the last, in station order; a full station at a key station is
// its row.
void WriteElevationTable(Session& s, const Profile& p, double interval) {
  if (!(interval > 0)) return;
  if ((p.EndStation() - p.StartStation()) / interval > kMostTableRows) {
    s.InfoBox("Distance between stations is too small for a table of grade elevations");
    return;
  }
  s.WriteOutput("");
  s.WriteOutput("Grade Elevations        Station   Elevation     Grade %");
  std::vector<KeyStation> keys = KeyStations(p);
  // False, said, when a figure leaves the range of numbers.
  auto row = [&](const std::string& label, double station) {
    double elevation = p.ElevationAt(station), grade = p.GradeAt(station);
    if (!Computable(s, {elevation, 100 * grade}, [&] { return "The elevation at Sta " + Feet(station); })) return false;
    std::string& text = s.NewRow();
    text.append("   ").append(label).append(label.size() < 14 ? 14 - label.size() : 0, ' ');
    AppendMask(text, station, kRouteFeet, 14);
    AppendMask(text, elevation, kRouteFeet, 12);
    AppendPadded(text, Percent(grade), 12);
    s.WriteOutput(text);
    return true;
  };
  // Far beyond the interval's precision a count of intervals cannot move
  // on; the table then holds the key stations alone.
  bool counts = std::fabs(p.EndStation() / interval) < kCountable && std::fabs(p.StartStation() / interval) < kCountable;
  double full = counts ? std::floor(p.StartStation() / interval) + 1 : HUGE_VAL;
  for (const KeyStation& key : keys) {
    for (; full * interval < key.station - kSameStation; ++full)
      if (!row("", full * interval)) return;
    if (std::fabs(full * interval - key.station) <= kSameStation) ++full;
    if (!row(key.label, key.station)) return;
  }
}

bool Finish(Session& s) {
  RouteState::Entry& entry = s.route.entry;
  if (std::optional<std::string> problem = ProfileProblem(entry.pvis)) {
    s.InfoBox(*problem);
    return false;
  }
  Profile profile(std::move(entry.pvis));
  // Absurd figures (an elevation of 1E300) leave the range of numbers.
  for (size_t k = 0; k + 1 < profile.Pvis().size(); ++k) {
    double grade = profile.Grade(k), rise = grade * (profile.Pvis()[k + 1].station - profile.Pvis()[k].station);
    if (!Computable(s, {grade, rise, profile.Pvis()[k].elevation + rise}, [&] { return Subject(s); })) return false;
    if (k == 0 || !profile.Pvis()[k].HasCurve()) continue;
    VerticalCurve c = profile.Curve(k);
    double turning = c.turningStation ? c.ElevationAt(*c.turningStation) : 0;
    if (!Computable(s, {c.middleOrdinate, c.pvcElevation, c.ptElevation, turning}, [&] { return Subject(s); }))
      return false;
  }
  s.WriteOutput("");
  s.WriteOutput("Profile of Alignment " + std::to_string(entry.number));
  s.WriteOutput("---------------");
  WritePvis(s, profile);
  for (size_t k = 1; k + 1 < profile.Pvis().size(); ++k)
    if (profile.Pvis()[k].HasCurve()) WriteCurve(s, profile, k);
  WriteElevationTable(s, profile, entry.interval);
  s.route.profiles[entry.number] = std::move(profile);
  return true;
}

}  // namespace

Outcome VerticalCurveCommand(Session& s) { return EnterLines(s, {FirstLine, PviLine, Finish, Subject}); }

}  // namespace vantrel
