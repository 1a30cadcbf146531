// Printing: the map pages drawn with Spool set, the plot window's map and
// the report of the Output pane go to a printer, or into a PDF file in the
// working folder when there is none. Maps are printed as sheets with a
// title block; reports in the fixed-pitch font, with a header line and page
// numbers. PDF files are written whole or not at all.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "map/map_sheet.h"

class QPrinter;
class QWidget;

namespace vantrel::ui {

// Prints `pages` (the printer document of a run). With `usePrinter` and a
// default printer they go there; otherwise into "<name>-<n>.pdf" in
// `folder`, with the project name (or "map" without one) and the next free
// number. Returns the sentence for the status bar that says where the pages
// went, or why they could not be printed.
QString PrintPages(const std::vector<PlotPicture>& pages, const QString& folder, const QString& projectName,
                   bool usePrinter);

// Map > Print: the plat of the map's drawing (the project in the options'
// title), through the system print dialog on the paper chosen in Print
// Setup or the printer's, or into "<name>-<n>.pdf" in `folder` without a
// printer. Returns the sentence for the status bar (empty when the dialog
// was cancelled).
QString PrintMap(QWidget* parent, const MapDrawing& drawing, const PlatOptions& options, const QString& folder);

// Print Setup: the paper of printed maps (as the printer has it, Letter or
// A4) and their scale (the largest standard one that fits, or one
// chosen), remembered between runs.
void PrintSetup(QWidget* parent);
enum class PaperChoice { PrinterOrLocale, Letter, A4 };
PaperChoice ChosenPaper();
double ChosenScale();  // feet to the inch; 0: the largest that fits

// The paper of a choice: the printer's (when there is one) or the locale's
// (Letter in the US, A4 elsewhere) unless Letter or A4 was chosen.
Paper PaperFor(PaperChoice choice, const QPrinter* printer);

// The plat dated today on `paper`.
PlotPicture PlatFor(const MapDrawing& drawing, PlatOptions options, const Paper& paper);

// File > Print Report: `text` (the Output pane or its selection) through
// the system print dialog, or into "<name> report-<n>.pdf" in
// `workingFolder` without a printer. Where it went shows in the status bar
// of the parent's window; a failure in a message box.
void PrintReport(QWidget* parent, const QString& text, const QString& projectName, const QString& workingFolder);

// A PDF saved in a folder: its path, or a sentence saying why it could not
// be saved.
struct SavedPdf {
  bool saved = false;
  QString pathOrReason;
};

// Map pages saved as sheets into "<name>-<n>.pdf" in `folder`.
SavedPdf SaveMapPdf(const std::vector<PlotPicture>& pages, const QString& projectName, const QString& folder);

// The plat saved into "<project>-<n>.pdf" in `folder`.
SavedPdf SavePlatPdf(const MapDrawing& drawing, const PlatOptions& options, const Paper& paper, const QString& folder);

// The report saved into "<name> report-<n>.pdf" in `folder`.
SavedPdf SaveReportPdf(const QString& text, const QString& projectName, const QString& folder);

// The report's lines split into pages of `linesPerPage`, every line longer
// than `columns` continued on the next line so no character is lost.
std::vector<QStringList> ReportPages(const QString& text, int linesPerPage, int columns);

}  // namespace vantrel::ui
