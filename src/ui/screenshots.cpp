#include "ui/screenshots.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTextCursor>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <climits>
#include <cstdio>
#include <utility>
#include <vector>

#include "ui/guide_window.h"
#include "ui/help_window.h"
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

// A mouse button pressed and let go over a widget, twice for a double-click,
// as the window system delivers it.
void ClickAt(QWidget* widget, QPoint at, bool twice) {
  auto send = [&](QEvent::Type type) {
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
  };
  send(QEvent::MouseButtonPress);
  send(QEvent::MouseButtonRelease);
  if (!twice) return;
  send(QEvent::MouseButtonDblClick);
  send(QEvent::MouseButtonRelease);
}

// The main window as it first opens: the input pane empty, with its hint.
bool SaveFirstStart(MainWindow& window, const QString& path) {
  auto* pane = window.findChild<QPlainTextEdit*>("txtInfo");
  QString text = pane->toPlainText();
  pane->clear();
  Settle();
  bool saved = Report(window.grab().save(path), path);
  pane->setPlainText(text);
  return saved;
}

// The command table after a double-click on DAB's Usage cell, beside the
// input pane that took the code.
bool SaveTableDoubleClick(MainWindow& window, const QString& path) {
  QWidget* help = window.helpWindow();
  auto* grid = help == nullptr ? nullptr : help->findChild<QTableWidget*>("Grid1");
  if (grid == nullptr) return Report(false, path);
  auto* pane = window.findChild<QPlainTextEdit*>("txtInfo");
  QTextCursor end = pane->textCursor();
  end.movePosition(QTextCursor::End);
  pane->setTextCursor(end);
  for (int row = 0; row < grid->rowCount(); ++row) {
    if (grid->item(row, 0) == nullptr || grid->item(row, 0)->text().trimmed() != "DAB") continue;
    int usage = grid->columnCount() - 1;
    grid->scrollToItem(grid->item(row, usage));
    QRect cell = grid->visualItemRect(grid->item(row, usage));
    ClickAt(grid->viewport(), cell.center(), true);
    break;
  }
  Settle();
  QRect area = window.frameGeometry().united(help->frameGeometry());
  QPixmap shot = window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
  return Report(shot.save(path), path);
}

// Help > User's Guide: the guide inside the program.
bool SaveGuide(MainWindow& window, const QString& path) {
  for (QAction* menu : window.menuBar()->actions()) {
    if (menu->menu() == nullptr) continue;
    for (QAction* entry : menu->menu()->actions())
      if (entry->text() == "&User's Guide") entry->trigger();
  }
  Settle();
  QWidget* guide = window.guideWindow();
  return guide != nullptr ? Report(guide->grab().save(path), path) : Report(false, path);
}

// A saved PDF moved to its fixed name in the folder.
bool MovePdf(const QString& from, const QString& to) {
  QFile::remove(to);
  return Report(QFile::rename(from, to), to);
}

}  // namespace

bool SaveFirstStartPicture(MainWindow& window, const QString& folder) {
  return SaveFirstStart(window, QDir(folder).filePath("first-start.png"));
}

bool SaveGuidePictures(MainWindow& window, const QString& folder) {
  QDir out(folder);
  bool saved = SaveWithMenu(window, out.filePath("menus.png"));
  saved = SaveTableDoubleClick(window, out.filePath("table-double-click.png")) && saved;
  saved = SaveGuide(window, out.filePath("guide.png")) && saved;
  MapPlotWindow* plot = window.plotWindow();
  if (plot == nullptr) return Report(false, out.filePath("plot-zoomed.png"));
  saved = SaveZoomedMap(*plot, out.filePath("plot-zoomed.png")) && saved;

  QString project = window.findChild<QLineEdit*>("txtProject")->text();
  QString report = window.findChild<ReportPane*>("txtOutput")->Text();
  // The printed map as a plat with its courses labelled.
  PlatOptions plat = window.MapSheetOptions();
  plat.courses = true;
  for (auto [pdf, name] : {std::pair{SaveReportPdf(report, project, folder), "report.pdf"},
                           std::pair{SavePlatPdf(window.session().plot.drawing, plat, kLetterPaper, folder), "map.pdf"}})
    saved = (pdf.saved ? MovePdf(pdf.pathOrReason, out.filePath(name)) : Report(false, pdf.pathOrReason)) && saved;
  return saved;
}

}  // namespace vantrel::ui
