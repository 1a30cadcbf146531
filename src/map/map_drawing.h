// The map's drawing in the program's own coordinates (feet, east and north),
// kept beside the plot window's picture; DXF files are written from it.
#pragma once

#include <string>
#include <vector>

namespace vantrel {

class Session;
struct MapEntry;

// A drawing in feet, east and north: points with their number and
// description (centers marked), lines, and arcs running counterclockwise
// from their start angle to their end angle (radians from east).
struct MapDrawing {
  struct Point {
    int number;
    double east, north;
    std::string description;
    bool center;
  };
  struct Line {
    double east1, north1, east2, north2;
  };
  struct Arc {
    double east, north, radius, startAngle, endAngle;
  };
  std::vector<Point> points;
  std::vector<Line> lines;
  std::vector<Arc> arcs;
  // What the drawing shows otherwise than the figure has it, one message
  // each: an arc too large to draw, an arc drawn with the mean of unequal
  // radii.
  std::vector<std::string> notes;

  bool Empty() const { return points.empty(); }
  void Clear() { *this = MapDrawing{}; }
  // The figure of a map list, added as the points stand now.
  void AddFigure(const Session& session, const std::vector<MapEntry>& entries);
  // Every defined point (the overview).
  void AddAllPoints(const Session& session);
};

}  // namespace vantrel
