// Figures of lines and arcs as ARE reads them, for the commands that pass
// them on to other programs.
#pragma once

#include <optional>
#include <string>

#include "command/figure_list.h"

namespace vantrel {

class Session;

inline constexpr double kSquareFeetPerAcre = 43560;

struct FigureWithArea {
  Figure figure;
  double area;  // square feet, as ARE reports it
};

// The figure held in the argument store's remaining fields, checked as ARE
// checks it (questions and messages included), with its area; nothing when
// it is refused.
std::optional<FigureWithArea> ReadFigureWithArea(Session& session);

// The area ARE gives for a figure already read (its points defined), the
// question on unequal radii included; nothing when the surveyor stops.
std::optional<double> FigureArea(Session& session, const Figure& figure);

// "Area = … Sq. Ft.  or … Acres", ARE's area line.
std::string AreaLine(double squareFeet);

}  // namespace vantrel
