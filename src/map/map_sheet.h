// The printed map sheet: a drawn map laid out on paper with a title block
// (project, date, scale, north arrow), the lines under the point dots and
// every point number set beside its dot where no line or arc crosses it.
// The plat is such a sheet drawn from the map's drawing in feet at a
// standard engineering scale, with course labels and a curve table.
#pragma once

#include <string>

#include "map/map_drawing.h"
#include "map/plot_surface.h"

namespace vantrel {

struct SheetTitle {
  std::string project;
  std::string date;
};

// Height of the title block at the foot of the sheet, in drawing units.
inline constexpr int kTitleBlockHeight = 1080;  // 0.75 in

// Paper in drawing units, and the margin kept free on every side.
struct Paper {
  int width, height;
};
inline constexpr Paper kLetterPaper{12240, 15840};  // 8.5 x 11 in
inline constexpr Paper kA4Paper{11906, 16838};      // 210 x 297 mm
inline constexpr int kSheetMargin = 720;            // 0.5 in

// The engineer's scales in feet to the inch, largest drawing first.
inline constexpr double kStandardScales[] = {10, 20, 30, 40, 50, 60, 100, 200, 300, 400, 500, 1000};

// What the plat shows, and at what scale (feet to the inch; 0: the largest
// drawing that fits at a standard scale).
struct PlatOptions {
  SheetTitle title;
  bool points = true, numbers = true, centers = false, courses = false;
  double feetPerInch = 0;
};

// The first standard scale at which `eastExtent` by `northExtent` feet fit
// in `width` by `height` drawing units: one of kStandardScales, then 2000,
// 3000, 4000, 5000, 10000 and on; 0 when nothing fits.
double StandardScale(double eastExtent, double northExtent, int width, int height);

// "1" = 40'" for 40 feet to the inch; empty for no scale.
std::string StandardScaleText(double feetPerInch);

// The plat of `drawing` on `paper` inside its margins, turned for the larger
// drawing: the figure centred in the room above the curve table (with
// courses shown) and the title block, with the project, date, scale, scale
// bar, legend and north arrow. The sheet is fitted with the figure's
// transform, for the coordinates under a place on it.
PlotPicture PlatSheet(const MapDrawing& drawing, const PlatOptions& options, const Paper& paper);

// The sheet of `width` x `height` drawing units (pens in printer dots) that
// carries `drawing`, scaled to fill the room above the title block; the
// title block states the scale as printed.
PlotPicture MapSheet(const PlotPicture& drawing, const SheetTitle& title, int width, int height);

// A north arrow: the letter N at `top` over an arrow pointing up the
// surface, `length` drawing units tall in all.
void DrawNorthArrow(PlotSurface& surface, int x, int top, int length);

// The longest round length (1, 2 or 5 times a power of ten feet) that
// stays within `longest` drawing units; 0 when the scale is not known.
double ScaleBarFeet(double unitsPerFoot, int longest);

// A scale bar of ScaleBarFeet from (x, y) to the right, labelled in feet.
void DrawScaleBar(PlotSurface& surface, int x, int y, double unitsPerFoot, int longest);

// "1" = N ft" for a drawing of `unitsPerFoot` drawing units per foot, or
// an empty text when the scale is not known.
std::string ScaleText(double unitsPerFoot);

}  // namespace vantrel
