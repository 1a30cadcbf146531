// The plot window's options and the transforms it keeps between map lines.
#pragma once

#include "map/map_drawing.h"

namespace vantrel {

// Where a coordinate lands on a drawing surface: x grows east from the
// surface's left edge, y grows downward from its top edge.
struct PlotTransform {
  bool usable = false;  // false until a plot has fitted a figure with some extent
  int xOffset = 0;      // drawing x of the westmost coordinate
  int yOffset = 0;      // distance of the southmost coordinate from the bottom edge
  float scale = 0;      // drawing units per foot
  float minEast = 0;    // west edge of the bounding box
  float minNorth = 0;   // south edge of the bounding box
};

struct PlotState {
  // The main window's plot options: "Show Points", "Show Pt. Nos.",
  // "Show Centers".
  bool ShowPoints = true;
  bool ShowPointNumbers = true;
  bool ShowCenters = false;
  // "Show Courses": every line of a map labelled with its bearing and
  // distance, every arc with its curve number, and a curve table.
  bool ShowCourses = false;
  // "Station Ticks": feet between the station ticks of an alignment.
  double StationTicks = 100;

  // The plot window holds the overview of all points: a map never draws
  // over it, whatever the previous command was.
  bool OverviewShown = false;

  // One transform for the plot window, one for the printer page.
  PlotTransform screen;
  PlotTransform printer;

  // The plot window's picture in feet: what it shows, for DXF.
  MapDrawing drawing;
};

}  // namespace vantrel
