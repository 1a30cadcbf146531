// The courses of a map as a plat shows them: every line labelled with its
// bearing and distance, every arc with its curve number, and the curve
// table of radius, central angle, arc length, chord bearing and chord.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "map/map_drawing.h"
#include "map/plot_state.h"

namespace vantrel {

class PlotSurface;

// A line's bearing and distance as TPR works them (quadrant bearing to the
// whole second, feet to three decimals), written as a plat writes them:
// N 66°45'01" E  91.625'
std::string CourseText(double azimuth, double distance);

// One arc of the drawing with its curve number (its place among the arcs,
// from 1), worked from its center and the two points it runs between.
struct CurveData {
  int number;
  double radius;
  double delta;         // central angle, radians
  double length;        // along the arc
  double chordAzimuth;  // from the point the figure leaves the arc at, clockwise from north
  double chord;
  double midEast, midNorth;  // the middle of the arc
  double outward;            // direction from the center to the middle, radians from east
};
std::vector<CurveData> Curves(const MapDrawing& drawing);

// The curve table's heading and one row per curve, in columns of text.
std::vector<std::string> CurveTableHeading();
std::vector<std::string> CurveTableRow(const CurveData& curve);

// Azimuth and length of a line of the drawing, as TPR works them from the
// points' coordinates.
double LineAzimuth(const MapDrawing::Line& line);
double LineLength(const MapDrawing::Line& line);

// Labels the lines from `firstLine` and the arcs from `firstArc` of the
// drawing on a surface fitted with `t`: bearing and distance along each
// line, upright and clear of it; the curve number outside each arc's middle.
void DrawCourseLabels(PlotSurface& surface, const PlotTransform& t, const MapDrawing& drawing, size_t firstLine,
                      size_t firstArc);

}  // namespace vantrel
