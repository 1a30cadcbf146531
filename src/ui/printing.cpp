#include "ui/printing.h"

#include <QBuffer>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSettings>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLocale>
#include <QMainWindow>
#include <QMessageBox>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStatusBar>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "command/text_file.h"
#include "map/map_sheet.h"
#include "map/plot_surface.h"
#include "ui/plot_painter.h"

namespace vantrel::ui {
namespace {

const QString kPaperKey = QStringLiteral("map/paper");
const QString kScaleKey = QStringLiteral("map/scale");
constexpr double kMarginInches = PrinterPages::kPaperMargin / static_cast<double>(kTwipsPerInch);
constexpr int kPdfResolution = 600;
constexpr int kReportFontPoints = 9;
constexpr int kSmallestReportFontPoints = 7;  // a wide report shrinks to this before lines continue
constexpr double kHeaderGapLines = 1.5;        // the header line and the rule under it

// Draws the pages of a document on a printer or PDF writer whose layout is
// set; false when the device would not start.
using PaintPages = std::function<bool(QPagedPaintDevice& device)>;

QString NextFreePdf(const QString& folder, const QString& base) {
  QDir dir(folder);
  for (int n = 1;; ++n) {
    QString path = dir.filePath(QStringLiteral("%1-%2.pdf").arg(base).arg(n));
    if (!QFileInfo::exists(path)) return path;
  }
}

QString BaseName(const QString& projectName, const QString& fallback, const QString& suffix = {}) {
  QString project = projectName.trimmed();
  return project.isEmpty() ? fallback : project + suffix;
}

QString Today() { return QLocale::c().toString(QDate::currentDate(), QStringLiteral("MMMM d, yyyy")); }

QPageLayout PaperLayout(const Paper& paper, bool landscape) {
  QPageSize size(QSizeF(paper.width / double(kTwipsPerInch), paper.height / double(kTwipsPerInch)), QPageSize::Inch,
                 QString(), QPageSize::FuzzyMatch);
  return QPageLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                     QMarginsF(kMarginInches, kMarginInches, kMarginInches, kMarginInches), QPageLayout::Inch);
}

QPageLayout LetterLayout(bool landscape) { return PaperLayout(kLetterPaper, landscape); }

// The paper of a printer's page, upright.
Paper PrinterPaper(const QPrinter& printer) {
  QSizeF inches = printer.pageLayout().pageSize().size(QPageSize::Inch);
  int a = static_cast<int>(std::lround(inches.width() * kTwipsPerInch));
  int b = static_cast<int>(std::lround(inches.height() * kTwipsPerInch));
  return {std::min(a, b), std::max(a, b)};
}

// Writes the document as a PDF through the program's file replacement (a
// temporary file renamed into place once complete); an empty text, or the
// reason it failed.
QString SavePdf(const QString& path, const QString& title, const QPageLayout& firstLayout, const PaintPages& paint) {
  QBuffer bytes;
  bytes.open(QIODevice::WriteOnly);
  bool painted = false;
  {
    QPdfWriter writer(&bytes);
    writer.setResolution(kPdfResolution);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Vantrel"));
    writer.setPageLayout(firstLayout);
    painted = paint(writer);
  }
  if (!painted) return QStringLiteral("the pages could not be drawn");
  const QByteArray& pdf = bytes.data();
  if (std::optional<std::string> reason =
          ReplaceFile(path.toStdString(), std::string_view(pdf.constData(), static_cast<size_t>(pdf.size()))))
    return QString::fromStdString(*reason);
  return {};
}

// A printer chosen in the system print dialog, or none when there is no
// printer at all (a PDF is written instead) or the dialog was cancelled.
enum class PrinterChoice { Chosen, NoPrinter, Cancelled };

PrinterChoice ChoosePrinter(QWidget* parent, QPrinter& printer, const QString& caption) {
  if (QPrinterInfo::availablePrinters().isEmpty()) return PrinterChoice::NoPrinter;
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle(caption);
  return dialog.exec() == QDialog::Accepted ? PrinterChoice::Chosen : PrinterChoice::Cancelled;
}

bool PaintOnPrinter(QPrinter& printer, const QPageLayout& firstLayout, const PaintPages& paint) {
  printer.setPageLayout(firstLayout);
  return paint(printer);
}

// ---- Map sheets -------------------------------------------------------------

PlotPicture SheetFor(const PlotPicture& drawing, const QString& projectName, bool landscape) {
  SheetTitle title{projectName.trimmed().toStdString(), Today().toStdString()};
  int paperWidth = landscape ? PrinterPages::kPaperHeight : PrinterPages::kPaperWidth;
  int paperHeight = landscape ? PrinterPages::kPaperWidth : PrinterPages::kPaperHeight;
  return MapSheet(drawing, title, paperWidth - 2 * PrinterPages::kPaperMargin,
                  paperHeight - 2 * PrinterPages::kPaperMargin);
}

bool Landscape(const PlotPicture& page) { return page.Width() > page.Height(); }

PaintPages SheetPainter(const std::vector<PlotPicture>& sheets, const Paper& paper = kLetterPaper) {
  return [&sheets, paper](QPagedPaintDevice& device) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    for (size_t i = 0; i < sheets.size(); ++i) {
      if (i > 0) {
        device.setPageLayout(PaperLayout(paper, Landscape(sheets[i])));
        device.newPage();
      }
      PaintPicture(painter, sheets[i], device.logicalDpiX() / static_cast<double>(kTwipsPerInch));
    }
    return painter.end();
  };
}

// Where a map went, for the status bar.
QString MapSaved(const SavedPdf& pdf) {
  return pdf.saved ? QStringLiteral("Map saved as %1").arg(QDir::toNativeSeparators(pdf.pathOrReason))
                   : pdf.pathOrReason;
}

// ---- Reports ----------------------------------------------------------------

QFont ReportFont(int points) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setStyleHint(QFont::Monospace);
  font.setPointSize(points);
  return font;
}

int LongestLine(const QStringList& lines) {
  qsizetype longest = 0;
  for (const QString& line : lines) longest = std::max(longest, line.size());
  return static_cast<int>(longest);
}

PaintPages ReportPainter(const QString& text, const QString& projectName) {
  return [text, projectName](QPagedPaintDevice& device) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    QRectF page(QPointF(0, 0), device.pageLayout().paintRectPixels(device.logicalDpiX()).size());

    // The largest font from 9 down to 7 points that holds the widest line.
    int widest = LongestLine(text.split('\n'));
    int points = kReportFontPoints;
    while (points > kSmallestReportFontPoints &&
           QFontMetricsF(ReportFont(points), &device).horizontalAdvance('0') * widest > page.width())
      --points;
    QFont font = ReportFont(points);
    QFontMetricsF metrics(font, &device);
    int columns = std::max(1, static_cast<int>(page.width() / metrics.horizontalAdvance('0')));
    double lineHeight = metrics.lineSpacing();
    double top = lineHeight * kHeaderGapLines;
    int linesPerPage = std::max(1, static_cast<int>((page.height() - top) / lineHeight));
    std::vector<QStringList> pages = ReportPages(text, linesPerPage, columns);

    painter.setFont(font);
    QString title = BaseName(projectName, QStringLiteral("Vantrel report"));
    QString date = Today();
    for (size_t n = 0; n < pages.size(); ++n) {
      if (n > 0) device.newPage();
      QString number = QStringLiteral("Page %1 of %2").arg(n + 1).arg(pages.size());
      QRectF header(page.left(), page.top(), page.width(), lineHeight);
      painter.drawText(header, Qt::AlignLeft | Qt::AlignTop, title);
      painter.drawText(header, Qt::AlignHCenter | Qt::AlignTop, date);
      painter.drawText(header, Qt::AlignRight | Qt::AlignTop, number);
      painter.drawLine(QPointF(page.left(), lineHeight * 1.2), QPointF(page.right(), lineHeight * 1.2));
      double y = top;
      for (const QString& line : pages[n]) {
        painter.drawText(QPointF(page.left(), y + metrics.ascent()), line);
        y += lineHeight;
      }
    }
    return painter.end();
  };
}

void TellWindow(QWidget* parent, const QString& sentence) {
  auto* window = parent == nullptr ? nullptr : qobject_cast<QMainWindow*>(parent->window());
  if (window != nullptr) window->statusBar()->showMessage(sentence);
}

}  // namespace

std::vector<QStringList> ReportPages(const QString& text, int linesPerPage, int columns) {
  linesPerPage = std::max(1, linesPerPage);
  columns = std::max(1, columns);
  QStringList lines;
  for (const QString& line : QString(text).remove('\r').split('\n')) {
    if (line.isEmpty()) lines << line;
    for (qsizetype at = 0; at < line.size(); at += columns) lines << line.mid(at, columns);
  }
  while (!lines.isEmpty() && lines.last().trimmed().isEmpty()) lines.removeLast();
  std::vector<QStringList> pages;
  for (qsizetype at = 0; at < lines.size(); at += linesPerPage) pages.push_back(lines.mid(at, linesPerPage));
  return pages;
}

QString PrintPages(const std::vector<PlotPicture>& pages, const QString& folder, const QString& projectName,
                   bool usePrinter) {
  if (pages.empty()) return {};
  QPrinterInfo system = usePrinter ? QPrinterInfo::defaultPrinter() : QPrinterInfo();
  if (system.isNull()) return MapSaved(SaveMapPdf(pages, projectName, folder));
  std::vector<PlotPicture> sheets;
  for (const PlotPicture& page : pages) sheets.push_back(SheetFor(page, projectName, Landscape(page)));
  QPrinter printer(QPrinter::HighResolution);
  printer.setPrinterName(system.printerName());
  printer.setDocName(BaseName(projectName, QStringLiteral("Vantrel map")));
  if (!PaintOnPrinter(printer, LetterLayout(Landscape(sheets.front())), SheetPainter(sheets)))
    return QStringLiteral("The map could not be printed: the printer did not start");
  return QStringLiteral("Map printed on %1").arg(system.printerName());
}

QString PrintMap(QWidget* parent, const MapDrawing& drawing, const PlatOptions& options, const QString& folder) {
  QString projectName = QString::fromStdString(options.title.project);
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(BaseName(projectName, QStringLiteral("Vantrel map")));
  PaperChoice choice = ChosenPaper();
  if (choice != PaperChoice::PrinterOrLocale) printer.setPageLayout(PaperLayout(PaperFor(choice, nullptr), false));
  switch (ChoosePrinter(parent, printer, QStringLiteral("Print Map"))) {
    case PrinterChoice::NoPrinter:
      return MapSaved(SavePlatPdf(drawing, options, PaperFor(choice, nullptr), folder));
    case PrinterChoice::Cancelled:
      return {};
    case PrinterChoice::Chosen:
      break;
  }
  Paper paper = PaperFor(choice, &printer);
  std::vector<PlotPicture> sheets{PlatFor(drawing, options, paper)};
  if (!PaintOnPrinter(printer, PaperLayout(paper, Landscape(sheets.front())), SheetPainter(sheets, paper)))
    return QStringLiteral("The map could not be printed: the printer did not start");
  return QStringLiteral("Map printed on %1").arg(printer.printerName());
}

// Sheets saved into "<name>-<n>.pdf" in `folder`.
SavedPdf SaveSheetsPdf(const std::vector<PlotPicture>& sheets, const Paper& paper, const QString& projectName,
                       const QString& folder) {
  if (sheets.empty()) return {false, QStringLiteral("There is no map to save.")};
  QString path = NextFreePdf(folder, BaseName(projectName, QStringLiteral("map")));
  QString failure = SavePdf(path, BaseName(projectName, QStringLiteral("Vantrel map")),
                            PaperLayout(paper, Landscape(sheets.front())), SheetPainter(sheets, paper));
  if (!failure.isEmpty())
    return {false, QStringLiteral("The map could not be saved as %1: %2").arg(QDir::toNativeSeparators(path), failure)};
  return {true, path};
}

SavedPdf SaveMapPdf(const std::vector<PlotPicture>& pages, const QString& projectName, const QString& folder) {
  std::vector<PlotPicture> sheets;
  for (const PlotPicture& page : pages) sheets.push_back(SheetFor(page, projectName, Landscape(page)));
  return SaveSheetsPdf(sheets, kLetterPaper, projectName, folder);
}

SavedPdf SavePlatPdf(const MapDrawing& drawing, const PlatOptions& options, const Paper& paper, const QString& folder) {
  return SaveSheetsPdf({PlatFor(drawing, options, paper)}, paper, QString::fromStdString(options.title.project),
                       folder);
}

PaperChoice ChosenPaper() {
  QString paper = QSettings().value(kPaperKey).toString();
  return paper == "letter" ? PaperChoice::Letter : paper == "a4" ? PaperChoice::A4 : PaperChoice::PrinterOrLocale;
}

double ChosenScale() {
  double feetPerInch = QSettings().value(kScaleKey, 0).toDouble();
  return std::find(std::begin(kStandardScales), std::end(kStandardScales), feetPerInch) != std::end(kStandardScales)
             ? feetPerInch
             : 0;
}

Paper PaperFor(PaperChoice choice, const QPrinter* printer) {
  switch (choice) {
    case PaperChoice::Letter:
      return kLetterPaper;
    case PaperChoice::A4:
      return kA4Paper;
    case PaperChoice::PrinterOrLocale:
      break;
  }
  if (printer != nullptr) return PrinterPaper(*printer);
  return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? kLetterPaper : kA4Paper;
}

PlotPicture PlatFor(const MapDrawing& drawing, PlatOptions options, const Paper& paper) {
  options.title.date = Today().toStdString();
  if (options.title.project.empty()) options.title.project = "Vantrel map";
  return PlatSheet(drawing, options, paper);
}

void PrintSetup(QWidget* parent) {
  QDialog dialog(parent);
  dialog.setObjectName("dlgPrintSetup");
  dialog.setWindowTitle(QStringLiteral("Print Setup"));
  auto* paper = new QComboBox(&dialog);
  paper->setObjectName("cboPaper");
  paper->addItem(QStringLiteral("As the printer has it (%1 without one)")
                     .arg(QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? "Letter" : "A4"),
                 QString());
  paper->addItem(QStringLiteral("Letter, 8.5 x 11 in"), QStringLiteral("letter"));
  paper->addItem(QStringLiteral("A4, 210 x 297 mm"), QStringLiteral("a4"));
  paper->setCurrentIndex(static_cast<int>(ChosenPaper()));
  auto* scale = new QComboBox(&dialog);
  scale->setObjectName("cboScale");
  scale->addItem(QStringLiteral("The largest that fits"), 0.0);
  for (double feetPerInch : kStandardScales)
    scale->addItem(QString::fromStdString(StandardScaleText(feetPerInch)), feetPerInch);
  scale->setCurrentIndex(std::max(0, scale->findData(ChosenScale())));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* form = new QFormLayout(&dialog);
  form->addRow(QStringLiteral("&Paper:"), paper);
  form->addRow(QStringLiteral("Map &scale:"), scale);
  form->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted) return;
  QSettings settings;
  settings.setValue(kPaperKey, paper->currentData());
  settings.setValue(kScaleKey, scale->currentData());
}

SavedPdf SaveReportPdf(const QString& text, const QString& projectName, const QString& folder) {
  QString path = NextFreePdf(folder, BaseName(projectName, QStringLiteral("report"), QStringLiteral(" report")));
  QString failure = SavePdf(path, BaseName(projectName, QStringLiteral("Vantrel report")), LetterLayout(false),
                            ReportPainter(text, projectName));
  if (!failure.isEmpty())
    return {false, QStringLiteral("The report could not be saved as %1: %2").arg(QDir::toNativeSeparators(path),
                                                                               failure)};
  return {true, path};
}

void PrintReport(QWidget* parent, const QString& text, const QString& projectName, const QString& workingFolder) {
  if (text.trimmed().isEmpty()) {
    QMessageBox::information(parent, QStringLiteral("Print Report"), QStringLiteral("There is no report to print."));
    return;
  }
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(BaseName(projectName, QStringLiteral("Vantrel report")));
  switch (ChoosePrinter(parent, printer, QStringLiteral("Print Report"))) {
    case PrinterChoice::Cancelled:
      return;
    case PrinterChoice::NoPrinter: {
      SavedPdf pdf = SaveReportPdf(text, projectName, workingFolder);
      if (!pdf.saved) {
        QMessageBox::warning(parent, QStringLiteral("Print Report"), pdf.pathOrReason);
        return;
      }
      TellWindow(parent, QStringLiteral("No printer: report saved as %1").arg(QDir::toNativeSeparators(pdf.pathOrReason)));
      return;
    }
    case PrinterChoice::Chosen:
      break;
  }
  if (!PaintOnPrinter(printer, LetterLayout(false), ReportPainter(text, projectName))) {
    QMessageBox::warning(parent, QStringLiteral("Print Report"),
                         QStringLiteral("The report could not be printed: the printer did not start."));
    return;
  }
  TellWindow(parent, QStringLiteral("Report printed on %1").arg(printer.printerName()));
}

}  // namespace vantrel::ui
