// DXF: a figure written as a DXF drawing for CAD, without the plot window.
#include <filesystem>
#include <string>

#include "command/commands.h"
#include "command/fields.h"
#include "command/figure_list.h"
#include "command/session.h"
#include "command/text_file.h"
#include "map/map_figure.h"
#include "map/plot_files.h"
#include "store/record_files.h"

namespace vantrel {
namespace {

constexpr const char* kDxfExtension = "dxf";

// The list's entries that name no drawable point, reported once each (an
// alignment entry, when it names no defined alignment).
void ReportUndrawable(Session& s, int first) {
  Figure entries = FigureEntries(s, first);
  for (size_t j = 0; j < entries.size(); ++j) {
    const std::string& typed = s.args.GroupField(first + static_cast<int>(j));
    if (NamesAlignment(s, typed)) continue;
    if (!entries[j].valid) ReportInvalidPointNumber(s, typed);
    else if (!s.points.IsDefined(entries[j].point)) s.InfoBox(typed + " is not a defined point");
  }
}

}  // namespace

// Data line: file name, then the figure as MAP lists it (C before a center);
// no list writes every defined point. A line ending in a comma continues the
// list on the next line. Shift fields move no point here.
Outcome WriteDxfCommand(Session& s) {
  if (FigureWaits(s)) return Outcome::Stopped;
  if (s.EastShift != 0 || s.NorthShift != 0) s.InfoBox("DXF moves no points: the shift fields were not used");
  constexpr int kFirstEntry = 2;
  ReportUndrawable(s, kFirstEntry);
  MapDrawing drawing;
  if (s.args.FieldsLeft() >= kFirstEntry) {
    drawing.AddFigure(s, ReadMapList(s, kFirstEntry));
    drawing.AddListedAlignments(s, kFirstEntry);
  } else {
    drawing.AddAllPoints(s);
  }
  std::string path = DataLineFileName(s, kDxfExtension);
  if (path.empty()) return Outcome::Completed;
  if (drawing.Empty()) {
    s.InfoBox("No defined point to draw; " + std::filesystem::path(path).filename().string() + " was not written");
    return Outcome::Stopped;
  }
  if (!SaveTextFile(s, path, PlotDxf(drawing))) return Outcome::Stopped;
  for (const std::string& note : drawing.notes) s.InfoBox(note);
  if (std::string note = DxfReplacedNote(drawing); !note.empty()) s.InfoBox(note);
  return Outcome::Completed;
}

}  // namespace vantrel
