// The figure a map list describes: its points, the lines between
// consecutive points and the arcs about the entries marked as centers.
#pragma once

#include <cstdlib>
#include <optional>
#include <string_view>
#include <string>
#include <vector>

#include "command/session.h"
#include "map/map_drawing.h"

namespace vantrel {

// One entry of the map list (see command/figure_list.h) and whether its
// point can be drawn at all: a valid number of a defined point.
struct MapEntry {
  int point;
  bool center;
  bool drawable;
};

// An entry "A3" (either case) names alignment 3, drawn with its stations;
// nothing for any other entry. In the figure it names no point, so no line
// runs through it.
std::optional<int> AlignmentEntry(std::string_view field);

// True for an alignment entry; one that names no defined alignment is
// reported ("A5 is not a defined alignment").
bool NamesAlignment(Session& session, const std::string& field);

// The current group's fields from `first` on as map entries.
std::vector<MapEntry> ReadMapList(const Session& session, int first = 1);

// Walks a map list in order and tells `figure` what it holds:
// figure.Point(point, isCenter) for every drawable entry, then
// figure.Line(from, to) for a line ending there or figure.Arc(from, center,
// to) for an arc about it. No line runs into or out of an entry that cannot
// be drawn; an arc needs plain drawable points on both sides of its center.
template <typename Figure>
void WalkFigure(const std::vector<MapEntry>& entries, Figure& figure) {
  int previous = 0;  // the point a line would start from; 0: none
  for (size_t i = 0; i < entries.size(); ++i) {
    const MapEntry& entry = entries[i];
    if (!entry.drawable) {
      previous = 0;
      continue;
    }
    bool center = entry.center;
    figure.Point(entry.point, center);
    if (i == 0) {
      previous = entry.point;
    } else if (!center) {
      if (!entries[i - 1].center && previous != 0) figure.Line(previous, entry.point);
      previous = entry.point;
    } else if (i + 1 < entries.size() && !entries[i - 1].center && !entries[i + 1].center) {
      if (entries[i - 1].drawable && entries[i + 1].drawable)
        figure.Arc(entries[i - 1].point, entry.point, entries[i + 1].point);
      previous = 0;  // the point after the arc starts afresh
    }
  }
}

}  // namespace vantrel
