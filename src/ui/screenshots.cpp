#include "ui/screenshots.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <climits>
#include <cstdio>
#include <utility>
#include <vector>

#include "ui/main_window.h"
#include "ui/plot_window.h"
#include "ui/printing.h"
#include "ui/report_pane.h"

namespace vantrel::ui {
namespace {

constexpr int kSettleMs = 300;  // lets a popup menu paint before the screen is grabbed

void Settle() {
  QEventLoop wait;
  QTimer::singleShot(kSettleMs, &wait, &QEventLoop::quit);
  wait.exec();
}

bool Report(bool saved, const QString& path) {
  std::fprintf(stderr, "%s %s\n", saved ? "saved" : "could not save", qPrintable(path));
  return saved;
}

// The main window with its first menu pulled down, grabbed from the screen
// (a menu is a window of its own).
bool SaveWithMenu(MainWindow& window, const QString& path) {
  QList<QAction*> menus = window.menuBar()->actions();
  QMenu* first = menus.isEmpty() ? nullptr : menus.first()->menu();
  QRect area = window.frameGeometry();
  if (first != nullptr) {
    window.menuBar()->setActiveAction(menus.first());
    Settle();
    area = area.united(first->frameGeometry());
  }
  QPixmap shot = window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
  if (first != nullptr) first->close();
  return Report(shot.save(path), path);
}

// The map three times the fitted size about its south-westmost dot.
bool SaveZoomedMap(MapPlotWindow& plot, const QString& path) {
  QPointF corner;
  int best = INT_MIN;
  for (const PlotPrimitive& p : plot.Primitives()) {
    if (p.kind != PlotPrimitive::Kind::Dot || p.y - p.x <= best) continue;
    best = p.y - p.x;
    corner = plot.Origin() + QPointF(p.x, p.y) * plot.PixelsPerTwip();
  }
  plot.ZoomAbout(corner, 3);
  Settle();
  bool saved = Report(plot.grab().save(path), path);
  plot.FitAll();
  return saved;
}

// A saved PDF moved to its fixed name in the folder.
bool MovePdf(const QString& from, const QString& to) {
  QFile::remove(to);
  return Report(QFile::rename(from, to), to);
}

}  // namespace

bool SaveGuidePictures(MainWindow& window, const QString& folder) {
  QDir out(folder);
  bool saved = SaveWithMenu(window, out.filePath("menus.png"));
  MapPlotWindow* plot = window.plotWindow();
  if (plot == nullptr) return Report(false, out.filePath("plot-zoomed.png"));
  saved = SaveZoomedMap(*plot, out.filePath("plot-zoomed.png")) && saved;

  QString project = window.findChild<QLineEdit*>("txtProject")->text();
  QString report = window.findChild<ReportPane*>("txtOutput")->Text();
  for (auto [pdf, name] : {std::pair{SaveReportPdf(report, project, folder), "report.pdf"},
                           std::pair{SaveMapPdf({static_cast<const PlotPicture&>(*plot)}, project, folder), "map.pdf"}})
    saved = (pdf.saved ? MovePdf(pdf.pathOrReason, out.filePath(name)) : Report(false, pdf.pathOrReason)) && saved;
  return saved;
}

}  // namespace vantrel::ui
