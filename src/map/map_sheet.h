// The printed map sheet: a drawn map laid out on paper with a title block
// (project, date, scale, north arrow), the lines under the point dots and
// every point number set beside its dot where no line or arc crosses it.
#pragma once

#include <string>

#include "map/plot_surface.h"

namespace vantrel {

struct SheetTitle {
  std::string project;
  std::string date;
};

// Height of the title block at the foot of the sheet, in drawing units.
inline constexpr int kTitleBlockHeight = 1080;  // 0.75 in

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
