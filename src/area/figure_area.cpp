// TPR and ARE: the area of a figure bounded by straight courses and circular
// arcs, in square feet and acres; TPR also lists every course between the
// point lines of its ends. One routine walks the figure for both.
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "area/figure.h"
#include "command/commands.h"
#include "command/fields.h"
#include "command/point_groups.h"
#include "command/session.h"
#include "notation/angles.h"
#include "notation/format.h"
#include "notation/geometry.h"

namespace vantrel {
namespace {

constexpr NumberMask kLengthMask = "######0.000";

struct Arc {
  double length;
  // Area between the chord and the arc, positive when the arc runs
  // clockwise about its center.
  double segment;
};

// TPR's first data line after its code line starts with the angle option.
// A refused option discards the whole line, so that neither the option nor a
// figure typed behind it is carried into the next line's figure.
bool ReadAngleOption(Session& s) {
  s.args.SetStage(2);
  std::string& option = s.area.AreaAngleOption;
  option = UpperCase(s.args.GroupField(1));
  if (option == "Z" || option == "B") {
    s.args.Consume(1);
    return true;
  }
  s.InfoBox("Invalid Angle Option");
  s.args.ConsumeAll();
  return false;
}

// The arc from pc to pt about center, with the mean of the two radii. When
// they differ by more than the tolerance the surveyor decides; nothing when
// the answer is No.
std::optional<Arc> ReadArc(Session& s, int pc, int center, int pt) {
  double toPc = PointDistance(s.points, pc, center);
  double toPt = PointDistance(s.points, pt, center);
  if (!Computable(s, {toPc, toPt}, [&] { return "Arc about " + std::to_string(center); })) return std::nullopt;
  if (UnequalRadii(toPc, toPt) &&
      !s.AskYesNo("Pt. " + std::to_string(center) + "has unequal radii\n" + FormatMask(toPc, "#####0.000") +
                  " and " + FormatMask(toPt, "#####0.000") + "\nO.K. to go on"))
    return std::nullopt;
  double radius = (toPc + toPt) / 2;
  double delta = ArcDelta(s.points, pc, center, pt);
  double half = delta / 2;
  double segment = radius * radius * (std::fabs(half) - std::fabs(std::sin(half) * std::cos(half)));
  return Arc{std::fabs(radius * delta), delta < 0 ? -segment : segment};
}

// Signed area of the triangle a, b, c: positive when they run clockwise.
double TriangleArea(const Session& s, int a, int b, int c) {
  const Point &pa = s.points[a], &pb = s.points[b], &pc = s.points[c];
  return ((pb.east - pc.east) * pa.north + (pc.east - pa.east) * pb.north + (pa.east - pb.east) * pc.north) / 2;
}

// The column heading names what the rows show: FormatAngle writes bearings
// for "B" only and azimuths for anything else.
void WriteCourseHeading(Session& s, const std::string& option) {
  s.WriteOutput(PadLeft(option == "B" ? "Bearing" : "Azimuth", 42) + PadLeft("Distance", 12) + PadLeft("Arc", 9));
}

// One course row (the arc length only after an arc) and the point line of
// the course's end; false, reported, for a course too long to compute.
bool WriteCourse(Session& s, int from, int to, double arcLength, const std::string& option) {
  double direction = PointAzimuth(s.points, from, to);
  double distance = PointDistance(s.points, to, from);
  if (!Computable(s, {distance, arcLength}, [&] { return "Course " + std::to_string(from) + " " + std::to_string(to); }))
    return false;
  std::string& row = s.NewRow();
  AppendAngle(row, direction, option, 44);
  AppendMask(row, distance, kLengthMask, 10);
  if (arcLength > 0) AppendMask(row, arcLength, kLengthMask, 9);
  s.WriteOutput(row);
  WritePointLine(s, to);
  return true;
}

// Walks the figure course by course, closed back to its first point, and
// gives its area; TPR lists the courses on the way. Each arc adds its
// segment with its own sign, so the figure may be listed either way round.
// Nothing when the surveyor stops at an arc with unequal radii, or when the
// coordinates are too large for an area.
std::optional<double> WalkFigure(Session& s, const Figure& figure, bool listing) {
  const std::string& option = s.area.AreaAngleOption;
  if (listing) WriteCourseHeading(s, option);
  const int origin = figure.front().point;
  double area = 0;
  double arcLength = 0;
  for (size_t k = 1; k < figure.size(); ++k) {
    if (figure[k].center) {
      std::optional<Arc> arc = ReadArc(s, figure[k - 1].point, figure[k].point, figure[k + 1].point);
      if (!arc) return std::nullopt;
      area += arc->segment;
      arcLength = arc->length;
      continue;
    }
    // After an arc the course is its chord, from the PC.
    int from = figure[k - 1].center ? figure[k - 2].point : figure[k - 1].point;
    int to = figure[k].point;
    area += TriangleArea(s, origin, from, to);
    if (listing) {
      if (k <= 2 && from == origin) WritePointLine(s, origin);
      if (!WriteCourse(s, from, to, arcLength, option)) return std::nullopt;
    }
    arcLength = 0;
  }
  if (!std::isfinite(area)) {
    s.InfoBox("Area of the figure cannot be computed");
    return std::nullopt;
  }
  return std::fabs(area);
}

}  // namespace

std::optional<double> FigureArea(Session& s, const Figure& figure) { return WalkFigure(s, figure, false); }

std::string AreaLine(double area) {
  return "Area = " + FormatMask(area, "#########0.000") + " Sq. Ft.  or " +
         FormatMask(area / kSquareFeetPerAcre, "####0.000") + " Acres";
}

std::optional<FigureWithArea> ReadFigureWithArea(Session& s) {
  std::optional<Figure> figure = ReadFigure(s, 1);
  std::optional<double> area = figure ? WalkFigure(s, *figure, false) : std::nullopt;
  if (!area) return std::nullopt;
  return FigureWithArea{*figure, *area};
}

Outcome FigureAreaCommand(Session& s) {
  const bool listing = s.CurrentCommand == "TPR";
  if (s.LineFieldCount == 0) return Outcome::Stopped;
  if (listing && s.args.Stage() == 1 && !ReadAngleOption(s)) return Outcome::Stopped;
  // The figure follows on the next line, or goes on there.
  if (s.args.FieldsLeft() == 0 || FigureWaits(s)) return Outcome::Stopped;

  // A figure that is refused or stopped is discarded whole, so that it is
  // not joined to the figure of the next line.
  std::optional<Figure> figure = ReadFigure(s, 1);
  std::optional<double> area = figure ? WalkFigure(s, *figure, listing) : std::nullopt;
  s.args.ConsumeAll();
  if (!area) return Outcome::Stopped;

  s.WriteOutput("");
  s.WriteOutput(AreaLine(*area));
  return Outcome::Completed;
}

}  // namespace vantrel
