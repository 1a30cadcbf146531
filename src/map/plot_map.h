// The plot window's drawing: the overview of every stored point and the map
// of a listed figure, to scale, on the plot window and the printer page.
#pragma once

namespace vantrel {

class Session;

// Draws on the user side's plot window (and, for a map with "Spool" set, on
// its printer page). A map when the current command is MAP: the list held in
// the argument store as a figure of points, lines and arcs about the entries
// marked as centers (negative). Otherwise the overview of all defined points.
// A new picture (cleared, fitted to the surface) starts when the command
// differs from the previous one; later map lines of the same command draw
// over it at the same scale.
void PlotMap(Session& session);

// "Show Points": the overview of all defined points in a fresh picture.
void ShowAllPoints(Session& session);

}  // namespace vantrel
