#include "command/figure_list.h"

#include <cstdlib>

#include "command/fields.h"
#include "command/session.h"
#include "notation/numbers.h"

namespace vantrel {

FigureEntry ParseFigureEntry(std::string_view typed, int capacity) {
  std::string_view text = TrimBlanks(typed);
  bool marked = !text.empty() && (text[0] == 'C' || text[0] == 'c');
  int value = marked ? IntegerField(text.substr(1)) : IntegerField(typed);
  // "C-5" names no centre; it must not turn into the corner 5.
  bool valid = marked ? value >= 1 : value != 0;
  int point = std::abs(value);
  return {point, marked || value < 0, valid && point <= capacity};
}

Figure FigureEntries(const Session& s, int first) {
  Figure entries;
  entries.reserve(static_cast<size_t>(std::max(s.args.FieldsLeft() - first + 1, 0)));
  for (int k = first; k <= s.args.FieldsLeft(); ++k)
    entries.push_back(ParseFigureEntry(s.args.GroupField(k), s.points.Capacity()));
  return entries;
}

std::optional<Figure> ReadFigure(Session& s, int first) {
  Figure figure = FigureEntries(s, first);
  for (size_t k = 0; k < figure.size(); ++k) {
    if (figure[k].valid) continue;
    ReportInvalidPointNumber(s, s.args.GroupField(first + static_cast<int>(k)));
    return std::nullopt;
  }
  if (figure.front().center || figure.back().center) {
    s.InfoBox("First and last points cannot be center points");
    return std::nullopt;
  }
  for (size_t k = 1; k + 1 < figure.size(); ++k) {
    if (figure[k].center && figure[k + 1].center) {
      s.InfoBox("Two center points cannot follow each other");
      return std::nullopt;
    }
  }
  for (const FigureEntry& entry : figure)
    if (!DefinedOrReported(s, entry.point)) return std::nullopt;
  return figure;
}

bool FigureWaits(const Session& s) { return s.LineContinued; }

}  // namespace vantrel
