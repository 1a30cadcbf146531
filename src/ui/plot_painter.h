// Paints a recorded plot picture with Qt, on the plot window or a printer
// page.
#pragma once

class QPainter;

namespace vantrel {
class PlotPicture;
}

namespace vantrel::ui {

// Paints every primitive of `picture`; `pixelsPerTwip` is the resolution of
// the painter's device, whose origin is the picture's top-left corner. Pen
// widths count units of `twipsPerPen` (0: the picture's own device pixels).
void PaintPicture(QPainter& painter, const PlotPicture& picture, double pixelsPerTwip, double twipsPerPen = 0);

}  // namespace vantrel::ui
