// Figures of lines and arcs as ARE reads them, for the commands that pass
// them on to other programs.
#pragma once

#include <optional>

#include "command/figure_list.h"

namespace vantrel {

class Session;

struct FigureWithArea {
  Figure figure;
  double area;  // square feet, as ARE reports it
};

// The figure held in the argument store's remaining fields, checked as ARE
// checks it (questions and messages included), with its area; nothing when
// it is refused.
std::optional<FigureWithArea> ReadFigureWithArea(Session& session);

}  // namespace vantrel
