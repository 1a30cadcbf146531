// The plot window's view and the printed pages, against a session whose
// user side draws on a real plot window (no modal dialog ever opens): the
// map refitted on resize, zoom about the cursor, panning, fit all, the
// cursor's north and east, export, the printed map sheet and the printed
// report.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QPrinterInfo>
#include <QProcess>
#include <QStatusBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "command/reference.h"
#include "command/session.h"
#include "map/plot_map.h"
#include "scripted_user.h"
#include "ui/plot_window.h"
#include "ui/printing.h"

namespace vantrel::ui {
namespace {

class PlotWindowUser : public ScriptedUser {
 public:
  MapPlotWindow* window = nullptr;
  PlotSurface* PlotWindow() override { return window; }
};

// The text of a PDF as pdftotext reads it, or a null string without it.
QString PdfText(const QString& path) {
  if (QStandardPaths::findExecutable("pdftotext").isEmpty()) return {};
  QProcess reader;
  reader.start("pdftotext", {"-layout", path, "-"});
  reader.waitForFinished(30000);
  return QString::fromUtf8(reader.readAllStandardOutput());
}

}  // namespace

class PlotWindowTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir folder_;
  PlotWindowUser user_;
  std::unique_ptr<Session> session_;
  std::unique_ptr<QWidget> main_;  // stands for the main window the plot opens beside
  MapPlotWindow* plot_ = nullptr;

  // Where the picture's point at drawing position (x, y) shows on the map area.
  QPointF PixelOf(int x, int y) const { return plot_->Origin() + QPointF(x, y) * plot_->PixelsPerTwip(); }
  QPointF DotPixel(int nth) const {
    int seen = 0;
    for (const PlotPrimitive& p : plot_->Primitives())
      if (p.kind == PlotPrimitive::Kind::Dot && seen++ == nth) return PixelOf(p.x, p.y);
    qFatal("no dot %d", nth);
  }
  void Run(const char* pane) { session_->RunBatch(pane); }

 private slots:
  void init() {
    main_ = std::make_unique<QWidget>();
    main_->setGeometry(0, 0, 150, 300);
    main_->show();
    plot_ = new MapPlotWindow(main_.get());
    plot_->SetDocumentSource(
        [this] { return MapPlotWindow::Document{folder_.path(), "Lot 7", &session_->plot.drawing}; });
    user_ = PlotWindowUser();
    user_.window = plot_;
    session_ = std::make_unique<Session>(user_);
    QCOMPARE(LoadCommandReference(VANTREL_REFERENCE_FILE, session_->reference), "");
    Run("KWN\n1,0,0,2,1000,2000,3,0,2000\nMAP\n1,2,3\n");
    QVERIFY(plot_->isVisible());
  }
  void cleanup() {
    session_.reset();
    main_.reset();  // takes the plot window with it
  }

  void opensBesideTheMainWindow() {
    QVERIFY(plot_->frameGeometry().left() >= main_->frameGeometry().right());
    QCOMPARE(plot_->windowTitle(), "Map Plot");
  }

  // The whole picture (the map area when it was drawn) fits the map area
  // after every resize, centred, and every dot stays inside it.
  void mapIsRefittedWhenTheWindowIsResized() {
    for (QSize size : {QSize(900, 500), QSize(400, 700), QSize(1200, 900)}) {
      plot_->resize(size);
      QTest::qWait(20);
      QWidget* area = plot_->MapArea();
      QRectF picture(plot_->Origin(), QSizeF(plot_->Width(), plot_->Height()) * plot_->PixelsPerTwip());
      QVERIFY2(qAbs(picture.width() - area->width()) < 1 || qAbs(picture.height() - area->height()) < 1,
               qPrintable(QString("%1x%2").arg(size.width()).arg(size.height())));
      QVERIFY(qAbs(picture.center().x() - area->width() / 2.0) < 1);
      QVERIFY(qAbs(picture.center().y() - area->height() / 2.0) < 1);
      for (int dot = 0; dot < 3; ++dot) QVERIFY(area->rect().contains(DotPixel(dot).toPoint()));
    }
    // A new map takes the new size of the area.
    Run("COM\n-\nMAP\n1,2\n");
    QCOMPARE(plot_->Width(), qRound(plot_->MapArea()->width() / (plot_->logicalDpiX() / 1440.0)));
  }

  void wheelZoomsAboutTheCursorDragPansHomeAndDoubleClickFitAll() {
    QWidget* area = plot_->MapArea();
    QPointF fittedOrigin = plot_->Origin();
    double fitted = plot_->PixelsPerTwip();

    QPointF under = DotPixel(1);
    QWheelEvent notch(under, area->mapToGlobal(under), QPoint(), QPoint(0, 240), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(area, &notch);
    QVERIFY(qAbs(plot_->PixelsPerTwip() - fitted * 1.5625) < 1e-9);  // two notches of 1.25
    QVERIFY((DotPixel(1) - under).manhattanLength() < 0.01);        // the point stays under the cursor

    QPointF before = plot_->Origin();
    QTest::mousePress(area, Qt::LeftButton, {}, QPoint(100, 100));
    QMouseEvent move(QEvent::MouseMove, QPointF(130, 80), area->mapToGlobal(QPointF(130, 80)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(area, &move);
    QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(130, 80));
    QCOMPARE(plot_->Origin(), before + QPointF(30, -20));

    area->setFocus();
    QTest::keyClick(area, Qt::Key_Home);
    QCOMPARE(plot_->Origin(), fittedOrigin);
    QCOMPARE(plot_->PixelsPerTwip(), fitted);

    plot_->ZoomAbout(QPointF(10, 10), 4);
    QTest::mouseDClick(area, Qt::LeftButton, {}, QPoint(50, 50));
    QCOMPARE(plot_->Origin(), fittedOrigin);

    // Far out and far in the zoom stops, and the numbers stay finite.
    for (int k = 0; k < 200; ++k) plot_->ZoomAbout(QPointF(10, 10), 1e3);
    QVERIFY(plot_->PixelsPerTwip() <= fitted * 10000 * (1 + 1e-12));
    for (int k = 0; k < 200; ++k) plot_->ZoomAbout(QPointF(10, 10), 1e-3);
    QVERIFY(plot_->PixelsPerTwip() >= fitted * 0.05 * (1 - 1e-12));
  }

  void statusBarShowsTheNorthAndEastUnderTheCursor() {
    plot_->ZoomAbout(DotPixel(1), 8);
    // Ten pixels east of point 2 (N 1000, E 2000), clear of its dot: on the
    // dot the status bar names the point instead.
    double feetPerPixel = 1 / (plot_->PixelsPerTwip() * plot_->Transform().scale);
    QPointF at = DotPixel(1) + QPointF(10, 0);
    QMouseEvent move(QEvent::MouseMove, at, plot_->MapArea()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(plot_->MapArea(), &move);
    std::optional<QPointF> ground = plot_->GroundAt(at);
    QVERIFY(ground.has_value());
    QVERIFY(qAbs(ground->x() - 2000 - 10 * feetPerPixel) < 0.2 && qAbs(ground->y() - 1000) < 0.2);  // dots lie on whole twips
    auto* label = plot_->statusBar()->findChild<QLabel*>();
    QVERIFY(label != nullptr);
    QRegularExpressionMatch shown = QRegularExpression("^N (\\d+\\.\\d\\d)   E (\\d+\\.\\d\\d)$").match(label->text());
    QVERIFY2(shown.hasMatch(), qPrintable("[" + label->text() + "]"));
    // Within the half pixel the cursor rounds to.
    QVERIFY(qAbs(shown.captured(1).toDouble() - 1000) <= feetPerPixel);
    QVERIFY(qAbs(shown.captured(2).toDouble() - 2000 - 10 * feetPerPixel) <= feetPerPixel);

    // No map fitted (a single point): no coordinates.
    Run("COM\n-\nMAP\n1\n");
    QVERIFY(!plot_->GroundAt(at).has_value());
  }

  void exportWritesTheWritersFilesAndRefusesOthers() {
    struct Case {
      const char* name;
      QByteArray magic;
    };
    for (Case c : {Case{"map.svg", "<?xml"}, Case{"map.PNG", "\x89PNG"}, Case{"map.pdf", "%PDF"}}) {
      QString path = QDir(folder_.path()).filePath(c.name);
      QCOMPARE(plot_->ExportTo(path), QString());
      QFile file(path);
      QVERIFY(file.open(QIODevice::ReadOnly));
      QVERIFY2(file.readAll().startsWith(c.magic), c.name);
    }
    QString other = QDir(folder_.path()).filePath("map.jpg");
    QVERIFY(plot_->ExportTo(other).contains(".svg, .png, .pdf or .dxf"));
    QVERIFY(!QFile::exists(other));
    QString missing = QDir(folder_.path()).filePath("no such folder/map.svg");
    QVERIFY(!plot_->ExportTo(missing).isEmpty());
    QVERIFY(!QFile::exists(missing));
  }

  // Map > Export as DXF writes the session's drawing, the one the DXF
  // command writes, by the same writer: the figure of the MAP line in feet.
  void exportAsDxfWritesTheSessionsDrawing() {
    Run("DES\n1,IRON PIN\nMAP\n1,2,3\n");
    QString path = QDir(folder_.path()).filePath("lot 7.DXF");
    QCOMPARE(plot_->ExportTo(path), QString());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("  0\r\nSECTION\r\n  2\r\nHEADER\r\n  9\r\n$ACADVER\r\n  1\r\nAC1009\r\n"));
    // The entities: every group code 0 between ENTITIES and its ENDSEC.
    QStringList lines = QString::fromUtf8(bytes).split("\r\n");
    QMap<QString, int> entities;
    bool inside = false;
    for (int i = 0; i + 1 < lines.size(); i += 2) {
      if (lines[i].trimmed() != "0" && lines[i].trimmed() != "2") continue;
      if (lines[i].trimmed() == "2" && lines[i + 1] == "ENTITIES") inside = true;
      else if (lines[i].trimmed() == "0" && lines[i + 1] == "ENDSEC") inside = false;
      else if (inside && lines[i].trimmed() == "0") ++entities[lines[i + 1]];
    }
    // Three points, each with its number, one description, two lines.
    QCOMPARE(entities.value("POINT"), 3);
    QCOMPARE(entities.value("TEXT"), 4);
    QCOMPARE(entities.value("LINE"), 2);
    QCOMPARE(entities.size(), 3);
    // Byte for byte what the DXF command writes for the same figure.
    session_->files.ProgramFolder = folder_.path().toStdString();
    Run("DXF\ncommand,1,2,3\n");
    QFile written(QDir(folder_.path()).filePath("command.dxf"));
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), bytes);

    // Without the session's drawing, or with nothing drawn, no file.
    plot_->SetDocumentSource([this] { return MapPlotWindow::Document{folder_.path(), "Lot 7"}; });
    QString none = QDir(folder_.path()).filePath("none.dxf");
    QVERIFY(plot_->ExportTo(none).contains("no point"));
    QVERIFY(!QFile::exists(none));
  }

  void printedMapWithoutPrinterIsAPlatAtAStandardScale() {
    if (!QPrinterInfo::availablePrinters().isEmpty()) QSKIP("a printer is installed: the print dialog would open");
    PlatOptions options;
    options.title.project = "Lot 7";
    options.courses = true;
    QString sentence = PrintMap(plot_, session_->plot.drawing, options, folder_.path());
    QString path = QDir(folder_.path()).filePath("Lot 7-1.pdf");
    QCOMPARE(sentence, "Map saved as " + QDir::toNativeSeparators(path));
    QString text = PdfText(path);
    if (text.isNull()) QSKIP("pdftotext (poppler-utils) is not installed");
    // 2000 ft across: 1" = 300' on letter paper, 200' on A4 turned sideways
    // (the paper of the locale).
    QVERIFY2(text.contains("Lot 7") && text.contains(QRegularExpression("Scale 1\" = [23]00'")), qPrintable(text));
    QVERIFY(text.contains(QLocale::c().toString(QDate::currentDate(), "MMMM d, yyyy")));
    QVERIFY2(text.contains("Bearings and distances in feet"), qPrintable(text));  // the legend
  }

  // PNG export: the plat at the chosen resolution, compressed; SVG carries
  // the course labels turned along their lines.
  void exportIsThePlatAtAChosenResolution() {
    session_->plot.ShowCourses = true;
    plot_->SetDocumentSource([this] {
      PlatOptions plat;
      plat.courses = true;
      return MapPlotWindow::Document{folder_.path(), "Lot 7", &session_->plot.drawing, plat};
    });
    QString png = QDir(folder_.path()).filePath("lot.png");
    QCOMPARE(plot_->ExportTo(png, 100), QString());
    QImage image(png);
    QVERIFY(!image.isNull());
    // A sheet of letter or A4 paper inside half-inch margins, at 100 dpi.
    QVERIFY2(qMax(image.width(), image.height()) == 1000 || qMax(image.width(), image.height()) == 1069,
             qPrintable(QString("%1 x %2").arg(image.width()).arg(image.height())));
    QVERIFY(QFileInfo(png).size() < 200000);  // compressed: the bare pixels would take 2.3 MB
    QString svg = QDir(folder_.path()).filePath("lot.svg");
    QCOMPARE(plot_->ExportTo(svg), QString());
    QFile file(svg);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(file.readAll());
    QVERIFY(text.contains(QString::fromUtf8("N 63\u00B026&apos;06&quot; E  2236.068&apos;")));
    QVERIFY(text.contains("transform=\"rotate("));
    QVERIFY(text.contains(QRegularExpression("Scale 1&quot; = [23]00&apos;")));
  }

  // The scale bar and the north arrow stand in a strip under the map, so
  // they never cover a point number; they follow the zoom.
  void scaleBarAndArrowStandUnderTheMap() {
    auto* strip = plot_->findChild<QWidget*>("scaleStrip");
    QVERIFY(strip != nullptr && strip->isVisible());
    QRect map(plot_->MapArea()->mapTo(plot_, QPoint(0, 0)), plot_->MapArea()->size());
    QRect under(strip->mapTo(plot_, QPoint(0, 0)), strip->size());
    QVERIFY(!map.intersects(under));
    QVERIFY(under.top() >= map.bottom());
    QImage drawn = strip->grab().toImage();
    int dark = 0;
    for (int y = 0; y < drawn.height(); ++y)
      for (int x = 0; x < drawn.width(); ++x) dark += qGray(drawn.pixel(x, y)) < 128;
    QVERIFY(dark > 0);
  }

  // Keys zoom about the middle; the status bar names the point under the
  // cursor; a click on a line tells its bearing and distance.
  void keysZoomHoverNamesThePointAndAClickTellsTheCourse() {
    plot_->MapArea()->setFocus();
    double before = plot_->PixelsPerTwip();
    QTest::keyClick(plot_->MapArea(), Qt::Key_Plus);
    QVERIFY(qAbs(plot_->PixelsPerTwip() / before - 1.25) < 1e-9);
    QTest::keyClick(plot_->MapArea(), Qt::Key_Minus);
    QVERIFY(qAbs(plot_->PixelsPerTwip() / before - 1) < 1e-9);

    QPointF two = DotPixel(1);  // point 2, N 1000 E 2000
    QMouseEvent move(QEvent::MouseMove, two, plot_->MapArea()->mapToGlobal(two), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(plot_->MapArea(), &move);
    QLabel* position = plot_->statusBar()->findChild<QLabel*>();
    QCOMPARE(position->text(), QString("Pt 2   N 1000.000   E 2000.000"));
    QVERIFY(plot_->PointAt(two + QPointF(20, 20)).isEmpty());

    QPointF middle = (DotPixel(0) + DotPixel(1)) / 2;  // on the line from 1 to 2
    QCOMPARE(plot_->CourseAt(middle), QString::fromUtf8("N 63\u00B026'06\" E  2236.068'"));
    QTest::mouseClick(plot_->MapArea(), Qt::LeftButton, {}, middle.toPoint());
    QCOMPARE(plot_->statusBar()->currentMessage(), QString::fromUtf8("N 63\u00B026'06\" E  2236.068'"));
  }

  void printedReportHasHeaderPageNumbersAndEveryLine() {
    QString report;
    for (int k = 1; k <= 150; ++k) report += QString("      %1    5000.000N    2000.000E\n").arg(k, 4);
    report += QString("x").repeated(300) + "END\n";  // wider than any page: continued, not cut
    SavedPdf pdf = SaveReportPdf(report, "Lot 7", folder_.path());
    QVERIFY2(pdf.saved, qPrintable(pdf.pathOrReason));
    QCOMPARE(QFileInfo(pdf.pathOrReason).fileName(), "Lot 7 report-1.pdf");
    QString text = PdfText(pdf.pathOrReason);
    if (text.isNull()) QSKIP("pdftotext (poppler-utils) is not installed");
    QStringList pages = text.split('\f', Qt::SkipEmptyParts);
    QVERIFY(pages.size() >= 2);
    for (int n = 0; n < pages.size(); ++n) {
      QString first = pages[n].split('\n').first();
      QVERIFY2(first.contains("Lot 7") && first.contains(QString("Page %1 of %2").arg(n + 1).arg(pages.size())),
               qPrintable(first));
    }
    for (int k : {1, 75, 150})
      QVERIFY(text.contains(QRegularExpression(QString("^\\s*%1\\s+5000\\.000N").arg(k),
                                               QRegularExpression::MultilineOption)));
    QVERIFY(text.remove(QRegularExpression("\\s")).contains(QString("x").repeated(300) + "END"));

    // Into a folder that is not there: the reason, and no file.
    SavedPdf refused = SaveReportPdf(report, "Lot 7", QDir(folder_.path()).filePath("gone"));
    QVERIFY(!refused.saved);
    QVERIFY(refused.pathOrReason.contains("could not be saved"));
  }

  void printReportWithoutPrinterTellsTheStatusBar() {
    if (!QPrinterInfo::availablePrinters().isEmpty()) QSKIP("a printer is installed: the print dialog would open");
    QMainWindow window;
    PrintReport(&window, "   a report line", "", folder_.path());
    QString path = QDir(folder_.path()).filePath("report-1.pdf");
    QVERIFY(QFile::exists(path));
    QCOMPARE(window.statusBar()->currentMessage(), "No printer: report saved as " + QDir::toNativeSeparators(path));
  }

  void reportPagesContinueLongLinesAndDropTrailingBlankLines() {
    struct Case {
      QString text;
      int linesPerPage, columns;
      std::vector<QStringList> pages;
    };
    const Case cases[] = {
        {"a\nb\nc\n", 2, 10, {{"a", "b"}, {"c"}}},
        {"abcdefg", 5, 3, {{"abc", "def", "g"}}},
        {"\r\nx\r\n\n  \n", 10, 80, {{"", "x"}}},  // the empty line before stays, the blank ones after go
        {"", 10, 80, {}},
        {"ab", 0, 0, {{"a"}, {"b"}}},  // at least one line of one column
    };
    for (const Case& c : cases) QCOMPARE(ReportPages(c.text, c.linesPerPage, c.columns), c.pages);
  }
};

}  // namespace vantrel::ui

QTEST_MAIN(vantrel::ui::PlotWindowTest)
#include "plot_window_test.moc"
