// LDW: the legal (metes-and-bounds) description of a figure, written into
// the report and, when the options line names a file, into a text file.
#include <optional>
#include <string>

#include "area/figure.h"
#include "command/figure_list.h"
#include "command/commands.h"
#include "command/files.h"
#include "command/session.h"
#include "command/text_file.h"
#include "deeds/description.h"
#include "deeds/figure_boundary.h"
#include "notation/format.h"

namespace vantrel {
namespace {

// Report lines of a description: narrow enough for the report's page.
constexpr size_t kReportWidth = 72;
constexpr const char* kTextExtension = "txt";

// An options line: the words for the point of beginning, S (angles in
// symbols) or W (in words), the file name; any of them may be left empty.
// Words and style hold for the figures after it; a file named starts
// afresh, and without one the descriptions go on into the file named last.
bool ReadOptions(Session& s, DescriptionRecord& r) {
  std::string style = s.args.FieldsLeft() >= 2 ? UpperCase(TrimBlanks(s.args.GroupField(2))) : std::string();
  if (style != "" && style != "S" && style != "W") {
    s.InfoBox(s.args.GroupField(2) + " is not S (degrees, minutes and seconds as symbols) or W (in words)");
    return false;
  }
  std::string file = s.args.FieldsLeft() >= 3 ? std::string(TrimBlanks(s.args.GroupField(3))) : std::string();
  std::string path = file.empty() ? r.path : PromptFileName(s, file, kTextExtension, FileUse::Write);
  if (path.empty() && !file.empty()) return false;
  r.beginning = std::string(TrimBlanks(s.args.GroupField(1)));
  r.spelledAngles = style == "W";
  if (path != r.path) r.fileText.clear();
  r.path = path;
  return true;
}

// True when the field opens a figure: a point number, or a centre (which
// the figure's reader then refuses as its first entry).
bool OpensFigure(std::string_view field) {
  std::string_view text = TrimBlanks(field);
  if (!text.empty() && (text[0] == 'C' || text[0] == 'c')) text.remove_prefix(1);
  return IsNumericText(text);
}

// Without words of the surveyor's, the point of beginning is named by its
// number and coordinates.
std::string BeginningWords(const Session& s, const DescriptionRecord& r, int point) {
  if (!r.beginning.empty()) return r.beginning;
  return "point " + std::to_string(point) + " (N " + FormatMask(s.points.North(point), "0.00") + ", E " +
         FormatMask(s.points.East(point), "0.00") + ")";
}

}  // namespace

// One figure a line as ARE takes it, starting at the point of beginning, a
// line ending in a comma while it goes on; a line whose first field is no
// point number is an options line for the figures after it.
Outcome LegalDescriptionCommand(Session& s) {
  DescriptionRecord& r = s.deeds.description;
  if (s.LineFieldCount == 0) return Outcome::Stopped;
  if (s.args.Stage() == 1) r = {};  // a new LDW: default words, no file
  s.args.SetStage(2);
  if (!OpensFigure(s.args.GroupField(1))) {
    bool read = ReadOptions(s, r);
    s.args.ConsumeAll();
    return read ? Outcome::Completed : Outcome::Stopped;
  }
  if (FigureWaits(s)) return Outcome::Stopped;  // the figure goes on on the next line

  std::optional<FigureWithArea> figure = ReadFigureWithArea(s);
  s.args.ConsumeAll();
  if (!figure) return Outcome::Stopped;
  FigureBoundary f = BoundaryOfFigure(s, figure->figure);
  if (DescribedCourses(f.boundary) < 2 || !(figure->area > 0)) {
    s.InfoBox("The figure encloses no area; no description written");
    return Outcome::Stopped;
  }
  DescriptionStyle style{BeginningWords(s, r, f.corner.front()), r.spelledAngles};
  std::string text = LegalDescription(f.boundary, figure->area, style);
  s.WriteOutput("");
  for (const std::string& line : WrapText(text, kReportWidth)) s.WriteOutput(line);
  if (r.path.empty()) return Outcome::Completed;
  r.fileText += (r.fileText.empty() ? "" : "\r\n") + text + "\r\n";
  return SaveTextFile(s, r.path, r.fileText) ? Outcome::Completed : Outcome::Stopped;
}

}  // namespace vantrel
