// Paints a recorded plot picture with Qt, on the plot window or a printer
// page.
#pragma once

class QPainter;

namespace vantrel {
class PlotPicture;
}

namespace vantrel::ui {

// Paints every primitive of `picture`; `pixelsPerTwip` is the resolution of
// the painter's device, whose origin is the picture's top-left corner.
void PaintPicture(QPainter& painter, const PlotPicture& picture, double pixelsPerTwip);

}  // namespace vantrel::ui
