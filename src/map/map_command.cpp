// MAP: moves the listed points by the line's shifts and shows the listed
// figure in the plot window.
#include <bitset>
#include <cstdlib>
#include <string>

#include "command/commands.h"
#include "command/session.h"
#include "map/map_figure.h"
#include "map/plot_map.h"
#include "notation/numbers.h"

namespace vantrel {

Outcome MapPointsCommand(Session& s) {
  // Center marks; every point named is reported once when it cannot be
  // drawn, and only points that can are moved (a shifted undefined point
  // would lose its undefined mark).
  std::bitset<kMaxPoint + 1> listed;
  for (int j = 1; j <= s.ArgCount; ++j) {
    std::string typed = s.ArgField[j];
    int point = MarkCenter(s.ArgField[j]);
    if (!Session::IsPointNumber(point)) {
      s.InfoBox(typed + " is invalid point number");
      continue;
    }
    if (listed[point]) continue;
    listed[point] = true;
    if (!s.IsDefined(point)) {
      s.InfoBox(typed + " is not a defined point");
      continue;
    }
    // A point listed twice, or once plain and once as a center, moves once.
    if (s.EastShift != 0) s.PointEast[point] += s.EastShift;
    if (s.NorthShift != 0) s.PointNorth[point] += s.NorthShift;
  }

  PlotMap(s);
  s.ArgUsed = s.ArgCount;
  return Outcome::Completed;
}

}  // namespace vantrel
