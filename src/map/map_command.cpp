// MAP: moves the listed points by the line's shifts and shows the listed
// figure in the plot window.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "command/commands.h"
#include "command/fields.h"
#include "command/figure_list.h"
#include "command/session.h"
#include "map/map_figure.h"
#include "map/plot_map.h"
#include "notation/numbers.h"

namespace vantrel {

Outcome MapPointsCommand(Session& s) {
  // Center marks; every point named is reported once when it cannot be
  // drawn, and only points that can are moved (a shifted undefined point
  // would lose its undefined mark).
  std::vector<int> listed;  // a line holds at most 50 fields
  Figure entries = FigureEntries(s, 1);
  for (size_t j = 0; j < entries.size(); ++j) {
    const std::string& typed = s.args.GroupField(static_cast<int>(j) + 1);
    if (NamesAlignment(s, typed)) continue;
    int point = entries[j].point;
    if (!entries[j].valid) {
      ReportInvalidPointNumber(s, typed);
      continue;
    }
    if (std::find(listed.begin(), listed.end(), point) != listed.end()) continue;
    listed.push_back(point);
    if (!s.points.IsDefined(point)) {
      s.InfoBox(typed + " is not a defined point");
      continue;
    }
    // A point listed twice, or once plain and once as a center, moves once.
    double north = s.points.North(point), east = s.points.East(point);
    if (s.EastShift != 0) east += s.EastShift;
    if (s.NorthShift != 0) north += s.NorthShift;
    s.points.Move(point, north, east);
  }

  PlotMap(s);
  s.args.ConsumeAll();
  return Outcome::Completed;
}

}  // namespace vantrel
