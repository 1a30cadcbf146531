// CUT: a given area cut off a figure by a line parallel to one of its sides,
// by a line in a given direction, or by a line from one of its corners. The
// new points are stored, the cut line and both parts reported, and the part
// cut off measured again as ARE measures it.
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "area/figure.h"
#include "command/figure_list.h"
#include "command/commands.h"
#include "command/fields.h"
#include "command/point_groups.h"
#include "command/session.h"
#include "deeds/area_cut.h"
#include "deeds/cut_figure.h"
#include "deeds/figure_boundary.h"
#include "notation/angles.h"
#include "notation/format.h"

namespace vantrel {
namespace {

// The target area: square feet, or acres when an A follows the number.
std::optional<double> ReadTargetArea(Session& s, const std::string& field) {
  std::string_view text = TrimBlanks(field);
  bool acres = !text.empty() && (text.back() == 'A' || text.back() == 'a');
  std::string_view number = TrimBlanks(acres ? text.substr(0, text.size() - 1) : text);
  double value = IsNumericText(number) ? LeadingNumber(number) * (acres ? kSquareFeetPerAcre : 1) : 0;
  if (!(value > 0 && std::isfinite(value))) {
    s.InfoBox(field + " is not an area to cut: square feet, or acres followed by A");
    return std::nullopt;
  }
  return value;
}

// Fields of each method's line, its letter and the area included.
int MethodSize(char method) { return method == 'P' ? 6 : method == 'D' ? 5 : method == 'H' ? 4 : 0; }

// The method line; false, reported, when it cannot be used.
bool ReadMethod(Session& s, CutRecord& r) {
  r = {};
  std::string letter = UpperCase(TrimBlanks(s.args.GroupField(1)));
  int size = letter.size() == 1 ? MethodSize(letter[0]) : 0;
  if (size == 0) {
    s.InfoBox(s.args.GroupField(1) + " is not a cut method: P (parallel), D (direction) or H (hinge)");
    return false;
  }
  if (s.args.FieldsLeft() < size) {
    s.InfoBox(letter == "P"   ? "CUT P needs the area, the side's from and to points and two new points"
              : letter == "D" ? "CUT D needs the area, the direction and two new points"
                              : "CUT H needs the area, the hinge point and a new point");
    return false;
  }
  std::optional<double> target = ReadTargetArea(s, s.args.GroupField(2));
  if (!target) return false;
  const char method = letter[0];
  if (method == 'D') {
    std::optional<double> azimuth = ReadAngle(s, s.args.GroupField(3));
    if (!azimuth) return false;
    r.azimuth = *azimuth;
  } else {
    std::optional<int> from = ReadStoredPoint(s, s.args.GroupField(3));
    if (!from) return false;
    std::optional<int> to = method == 'P' ? ReadStoredPoint(s, s.args.GroupField(4)) : from;
    if (!to) return false;
    r.from = *from;
    r.to = *to;
  }
  for (int k = method == 'P' ? 5 : 4; k <= size; ++k) {
    std::optional<int> n = ReadPointNumber(s, s.args.GroupField(k));
    if (!n) return false;
    r.newPoints.push_back(*n);
  }
  if (r.newPoints.size() == 2 && r.newPoints[0] == r.newPoints[1]) {
    s.InfoBox("The two new points must have different numbers");
    return false;
  }
  s.args.Consume(size);
  r.method = method;
  r.target = *target;
  return true;
}

std::string RefusalText(CutRefusal refusal, const CutRecord& r) {
  switch (refusal) {
    case CutRefusal::NotSmaller: return "The area to cut is not smaller than the figure";
    case CutRefusal::NoLine:
      return r.method == 'P'   ? "No line parallel to that side cuts off that area"
             : r.method == 'D' ? "No line in that direction cuts off that area with the figure's first point"
                               : "No line from the hinge cuts off that area";
    case CutRefusal::SplitsFigure: return "The line that cuts off that area crosses the figure more than twice";
    case CutRefusal::LeavesFigure: return "The line from the hinge that cuts off that area runs outside the figure";
    case CutRefusal::None: break;
  }
  return {};
}

// The course of the figure that is the side from–to, either way round;
// nothing, reported, when there is none or it is an arc.
std::optional<size_t> FindSide(Session& s, const FigureBoundary& f, int from, int to) {
  const size_t n = f.corner.size();
  for (size_t k = 0; k < n; ++k) {
    int a = f.corner[k], b = f.corner[(k + 1) % n];
    if (!((a == from && b == to) || (a == to && b == from))) continue;
    if (!f.boundary[k].arc) return k;
    s.InfoBox("Pt " + std::to_string(from) + " to Pt " + std::to_string(to) + " is an arc, not a straight side");
    return std::nullopt;
  }
  s.InfoBox("Pt " + std::to_string(from) + " to Pt " + std::to_string(to) + " is not a side of the figure");
  return std::nullopt;
}

std::optional<CutResult> Solve(Session& s, const CutRecord& r, const FigureBoundary& f) {
  switch (r.method) {
    case 'P':
      if (std::optional<size_t> side = FindSide(s, f, r.from, r.to)) return CutParallel(f.boundary, *side, r.target);
      return std::nullopt;
    case 'D': return CutInDirection(f.boundary, r.azimuth, r.target);
    default: {
      auto hinge = std::find(f.corner.begin(), f.corner.end(), r.from);
      if (hinge != f.corner.end()) return CutFromHinge(f.boundary, static_cast<size_t>(hinge - f.corner.begin()), r.target);
      s.InfoBox("Pt " + std::to_string(r.from) + " is not a corner of the figure");
      return std::nullopt;
    }
  }
}

// A part as ARE lists it, in numbers and as text.
Figure PartFigure(const FigureBoundary& f, const CutRecord& r, const std::vector<PartEntry>& part) {
  Figure figure;
  for (const PartEntry& e : part) {
    switch (e.kind) {
      case PartEntry::Corner: figure.push_back({f.corner[e.index], false}); break;
      case PartEntry::Centre: figure.push_back({f.centre[e.index], true}); break;
      case PartEntry::NewPoint: figure.push_back({r.newPoints[e.index], false}); break;
    }
  }
  return figure;
}

std::string FigureText(const Figure& figure) {
  std::string text;
  for (const FigureEntry& e : figure) {
    if (!text.empty()) text += ',';
    if (e.center) text += 'C';
    text += std::to_string(e.point);
  }
  return text;
}

std::string Heading(const CutRecord& r) {
  switch (r.method) {
    case 'P': return "Cut by a Line Parallel to Pt " + std::to_string(r.from) + " to Pt " + std::to_string(r.to);
    case 'D': return "Cut by a Line Running " + std::string(TrimBlanks(FormatAngle(r.azimuth, "B")));
    default: return "Cut by a Line from Pt " + std::to_string(r.from);
  }
}

}  // namespace

Outcome CutFigure(Session& s, const CutRecord& r, const FigureWithArea& figure) {
  FigureBoundary f = BoundaryOfFigure(s, figure.figure);
  if (std::optional<std::pair<size_t, size_t>> crossing = SelfCrossing(f.boundary)) {
    s.InfoBox("The figure crosses itself: the course " + CourseName(f, crossing->first) + " meets the course " +
              CourseName(f, crossing->second) + "; nothing stored");
    return Outcome::Stopped;
  }
  if (f.boundary.size() < 2 || !(figure.area > 0)) {
    s.InfoBox("The figure encloses no area; nothing stored");
    return Outcome::Stopped;
  }
  for (int n : r.newPoints) {
    bool inFigure = std::any_of(figure.figure.begin(), figure.figure.end(), [&](const FigureEntry& e) { return e.point == n; });
    if (inFigure) {
      s.InfoBox("New point " + std::to_string(n) + " is a point of the figure; nothing stored");
      return Outcome::Stopped;
    }
  }
  std::optional<CutResult> result = Solve(s, r, f);
  if (!result) return Outcome::Stopped;
  if (!result->cut) {
    s.InfoBox(RefusalText(result->refusal, r) + "; nothing stored");
    return Outcome::Stopped;
  }
  const AreaCut& cut = *result->cut;

  s.WriteOutput("");
  s.WriteOutput(Heading(r));
  std::vector<NewPoint> points;
  for (size_t k = 0; k < cut.newPoints.size(); ++k)
    points.push_back({r.newPoints[k], cut.newPoints[k].at.north, cut.newPoints[k].at.east});
  if (!StoreNewPoints(s, points)) return Outcome::Stopped;

  int lineStart = r.method == 'H' ? r.from : r.newPoints[0];
  int lineEnd = r.method == 'H' ? r.newPoints[0] : r.newPoints[1];
  std::string& row = s.NewRow();
  row += "Cut Line Pt " + std::to_string(lineStart) + " to Pt " + std::to_string(lineEnd);
  AppendAngle(row, PointAzimuth(s.points, lineStart, lineEnd), "B", 13);
  AppendMask(row, PointDistance(s.points, lineStart, lineEnd), "######0.000", 12);
  s.WriteOutput(row);

  Figure part = PartFigure(f, r, cut.part), remainder = PartFigure(f, r, cut.remainder);
  s.WriteOutput("Part Cut Off: " + FigureText(part));
  s.WriteOutput(AreaLine(cut.partArea));
  s.WriteOutput("Remainder: " + FigureText(remainder));
  s.WriteOutput(AreaLine(cut.remainderArea));
  std::optional<double> check = FigureArea(s, part);
  if (!check) return Outcome::Stopped;
  s.WriteOutput("Part Cut Off by ARE:");
  s.WriteOutput(AreaLine(*check));
  return Outcome::Completed;
}

// First line: the method, the area (square feet, or acres followed by A)
// and the method's points; then the figure as ARE takes it, a line ending in
// a comma while it goes on. The next line after the figure is a new method
// line.
Outcome AreaCutCommand(Session& s) {
  CutRecord& r = s.deeds.cut;
  if (s.LineFieldCount == 0) return Outcome::Stopped;
  if (s.args.Stage() == 1) {
    s.args.SetStage(2);
    if (!ReadMethod(s, r)) s.args.ConsumeAll();
    if (s.args.FieldsLeft() == 0) return r.method != 0 ? Outcome::Completed : Outcome::Stopped;
  }
  if (FigureWaits(s)) return Outcome::Stopped;  // the figure goes on on the next line

  // The figure: after a refused method line it is passed over.
  s.args.SetStage(1);
  if (r.method == 0) {
    s.args.ConsumeAll();
    return Outcome::Stopped;
  }
  std::optional<FigureWithArea> figure = ReadFigureWithArea(s);
  s.args.ConsumeAll();
  if (!figure) return Outcome::Stopped;
  return CutFigure(s, r, *figure);
}

}  // namespace vantrel
