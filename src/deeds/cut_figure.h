// CUT's work on a figure already read and measured as ARE measures it: the
// checks, the cut, the new points stored and the report. The command's
// handler and the benchmark both come here.
#pragma once

#include "area/figure.h"
#include "deeds/deed_state.h"

namespace vantrel {

class Session;
enum class Outcome;

Outcome CutFigure(Session& session, const CutRecord& record, const FigureWithArea& figure);

}  // namespace vantrel
