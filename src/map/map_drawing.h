// The map's drawing in the program's own coordinates (feet, east and north),
// kept beside the plot window's picture; DXF files are written from it.
#pragma once

#include <string>
#include <vector>

namespace vantrel {

class Alignment;
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
    // The points the figure leaves the arc at and reaches it at (its chord).
    double fromEast, fromNorth, toEast, toNorth;
  };
  std::vector<Point> points;
  std::vector<Line> lines;
  std::vector<Arc> arcs;
  // Alignments: tangents and the pieces of spirals as lines, curves as
  // arcs, a tick square to the alignment at every full station with the
  // station beside it.
  struct Label {
    double east, north;
    std::string text;
  };
  std::vector<Line> alignmentLines;
  std::vector<Arc> alignmentArcs;
  std::vector<Label> stationLabels;
  // What the drawing shows otherwise than the figure has it, one message
  // each: an arc too large to draw, an arc drawn with the mean of unequal
  // radii.
  std::vector<std::string> notes;

  bool Empty() const { return points.empty() && alignmentLines.empty() && alignmentArcs.empty(); }
  void Clear() { *this = MapDrawing{}; }
  // The figure of a map list, added as the points stand now.
  void AddFigure(const Session& session, const std::vector<MapEntry>& entries);
  // Every defined point (the overview).
  void AddAllPoints(const Session& session);
  // An alignment with a tick at every multiple of `tickInterval` (none for
  // an interval that is not positive or would give too many).
  void AddAlignment(const Alignment& alignment, double tickInterval);
  // The defined alignments the argument store's "A" entries name from field
  // `first` on, ticked at the plot option's interval.
  void AddListedAlignments(const Session& session, int first = 1);
};

}  // namespace vantrel
