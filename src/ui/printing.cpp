#include "ui/printing.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "map/plot_surface.h"
#include "ui/plot_painter.h"

namespace vantrel::ui {
namespace {

constexpr double kMarginInches = PrinterPages::kPaperMargin / static_cast<double>(kTwipsPerInch);

QString NextFreePdf(const QString& folder, const QString& projectName) {
  QString base = projectName.trimmed().isEmpty() ? QStringLiteral("map") : projectName.trimmed();
  QDir dir(folder);
  for (int n = 1;; ++n) {
    QString path = dir.filePath(QStringLiteral("%1-%2.pdf").arg(base).arg(n));
    if (!QFileInfo::exists(path)) return path;
  }
}

QPageLayout LayoutFor(const PlotPicture& page) {
  return QPageLayout(QPageSize(QPageSize::Letter),
                     page.Width() > page.Height() ? QPageLayout::Landscape : QPageLayout::Portrait,
                     QMarginsF(kMarginInches, kMarginInches, kMarginInches, kMarginInches), QPageLayout::Inch);
}

}  // namespace

QString PrintPages(const std::vector<PlotPicture>& pages, const QString& folder, const QString& projectName,
                   bool usePrinter) {
  QPrinter printer(QPrinter::HighResolution);
  QPrinterInfo system = usePrinter ? QPrinterInfo::defaultPrinter() : QPrinterInfo();
  QString target;
  if (!system.isNull()) {
    printer.setPrinterName(system.printerName());
    target = QStringLiteral("Map printed on %1").arg(system.printerName());
  } else {
    QString path = NextFreePdf(folder, projectName);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    target = QStringLiteral("Map saved as %1").arg(QDir::toNativeSeparators(path));
  }
  printer.setDocName(projectName.trimmed().isEmpty() ? QStringLiteral("Vantrel map") : projectName.trimmed());
  printer.setPageLayout(LayoutFor(pages.front()));

  QPainter painter;
  if (!painter.begin(&printer)) return QStringLiteral("The map could not be printed: the printer did not start");
  for (size_t i = 0; i < pages.size(); ++i) {
    if (i > 0) {
      printer.setPageLayout(LayoutFor(pages[i]));
      printer.newPage();
    }
    PaintPicture(painter, pages[i], printer.resolution() / static_cast<double>(kTwipsPerInch));
  }
  painter.end();
  return target;
}

}  // namespace vantrel::ui
