// Figure lists as ARE, TPR, MAP, DXF and LXW read them: the points of a
// figure in order, "C" (either case) before the centre of an arc between its
// neighbours ("1,7,C8,9,3,4,1"); a negative number names a centre too. An
// entry that names no point of the store ("0", "1001" in a store of 1000,
// "C-5", "C") is reported as "<typed> is invalid point number" and is never
// taken for another point.
//
//   std::vector<FigureEntry> entries = FigureEntries(s, 1);  // lenient (MAP, DXF): every entry, usable or not
//   std::optional<Figure> figure = ReadFigure(s, 1);          // strict (ARE, TPR, LXW): all or nothing
//
// A figure may run over several lines: a line that ends with a comma says
// more of it follows, and its fields wait (FigureWaits).
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace vantrel {

class Session;

struct FigureEntry {
  int point = 0;        // the point named
  bool center = false;  // the centre of the arc between its neighbours
  bool valid = true;    // a number of the store
  bool operator==(const FigureEntry&) const = default;
};
using Figure = std::vector<FigureEntry>;

// The entry one typed field names, in a store of `capacity` points.
FigureEntry ParseFigureEntry(std::string_view typed, int capacity);

// The current group's fields from field `first` on, as entries; nothing is
// reported.
Figure FigureEntries(const Session& session, int first);

// The same entries as a figure that can be computed: every entry valid, no
// centre first or last, no two centres together, every point defined. The
// first fault is reported ("<typed> is invalid point number", "First and
// last points cannot be center points", "Two center points cannot follow
// each other", "Point n is not defined") and gives no figure.
std::optional<Figure> ReadFigure(Session& session, int first);

// True when the line ended with a comma: the figure goes on on the next
// line, and the fields so far wait for it.
bool FigureWaits(const Session& session);

}  // namespace vantrel
