// The plot written to files without a window: the plot window's picture as
// SVG or PNG, the printer's pages as PDF, and the drawing in feet as DXF.
// Each returns the file's bytes.
#pragma once

#include <string>
#include <vector>

#include "map/map_drawing.h"
#include "map/plot_surface.h"

namespace vantrel {

// Scalable drawing in drawing units, shown at 96 pixels per inch.
std::string PlotSvg(const PlotPicture& picture);

// Picture at 96 pixels per inch, 24-bit colour.
std::string PlotPng(const PlotPicture& picture);

// One PDF page per printer page (US Letter, the drawing inside its
// half-inch margins).
std::string PlotPdf(const std::vector<PlotPicture>& pages);

// AutoCAD R12 (AC1009) ASCII drawing in feet, east as X and north as Y:
// lines, true arcs, points with their numbers and descriptions beside them,
// center marks, each kind on a layer of its own (V-LINES, V-ARCS, V-POINTS,
// V-NUMBERS, V-DESCRIPTIONS, V-CENTERS). With `courses`, every line's
// bearing and distance and every arc's curve number on V-COURSES and the
// curve table below the drawing on V-TABLE.
std::string PlotDxf(const MapDrawing& drawing, bool courses = false);

// The note that says how many characters of the drawing's descriptions an
// R12 file cannot hold (beyond U+FFFF, control characters) and PlotDxf
// writes as "?"; empty when there are none.
std::string DxfReplacedNote(const MapDrawing& drawing);

}  // namespace vantrel
