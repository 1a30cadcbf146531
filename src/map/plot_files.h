// The plot written to files without a window: the plot window's picture as
// SVG or PNG, and the printer's pages as PDF. Each returns the file's bytes.
#pragma once

#include <string>
#include <vector>

#include "map/plot_surface.h"

namespace vantrel {

// Scalable drawing in drawing units, shown at 96 pixels per inch.
std::string PlotSvg(const PlotPicture& picture);

// Picture at 96 pixels per inch, 24-bit colour.
std::string PlotPng(const PlotPicture& picture);

// One PDF page per printer page (US Letter, the drawing inside its
// half-inch margins).
std::string PlotPdf(const std::vector<PlotPicture>& pages);

}  // namespace vantrel
