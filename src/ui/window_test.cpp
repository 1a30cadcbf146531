// The window against a scripted user side (no modal dialog ever opens):
// processing the input pane, the usage text on Enter, clearing the output,
// "Show Points", the help table's sorting, the printed map's PDF and which
// user's guide Help opens.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "command/reference.h"
#include "map/plot_surface.h"
#include "scripted_user.h"
#include "ui/help_window.h"
#include "ui/main_window.h"
#include "ui/plot_window.h"
#include "ui/user_guide.h"

namespace vantrel::ui {

class WindowTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir folder_;
  ScriptedUser dialogs_;
  std::unique_ptr<MainWindow> window_;

  template <typename T>
  T* Control(const char* name) {
    T* control = window_->findChild<T*>(name);
    if (control == nullptr) qFatal("no control %s", name);
    return control;
  }
  QString Output() { return Control<QPlainTextEdit>("txtOutput")->toPlainText(); }
  void Process(const QString& pane) {
    Control<QPlainTextEdit>("txtInfo")->setPlainText(pane);
    QTest::mouseClick(Control<QPushButton>("cmdProcess"), Qt::LeftButton);
  }
  QStringList Column(QTableWidget* grid, int column) {
    QStringList cells;
    for (int row = 0; row < grid->rowCount(); ++row) cells << grid->item(row, column)->text();
    return cells;
  }

 private slots:
  void init() {
    dialogs_ = ScriptedUser();
    MainWindow::Settings settings{folder_.path(), VANTREL_REFERENCE_FILE, false};
    window_ = std::make_unique<MainWindow>(dialogs_, settings);
    window_->show();
  }
  void cleanup() { window_.reset(); }

  void processWritesTheReportIndented() {
    Process("KWN\n1,0,0,2,100,100\nDAB\n1,2\n");
    QCOMPARE(Output(),
             "   \n   From   To       Ft.    Azimuth         Bearing\n      1    2    141.42    45  0  0      N 45  0  0E");
    QVERIFY(Control<QPushButton>("cmdProcess")->isEnabled());
  }

  void controlBehindEnterAndCtrlReturn() {
    auto* pane = Control<QPlainTextEdit>("txtInfo");
    auto* info = Control<QLabel>("lblInfo");
    pane->setPlainText("dis");
    pane->moveCursor(QTextCursor::End);
    QTest::keyClick(pane, Qt::Key_Return);
    const CommandReference& reference = window_->session().reference;
    QCOMPARE(info->text(), QString::fromStdString(reference.rows[reference.Find("DIS")].Usage));
    QCOMPARE(pane->toPlainText(), "dis\n");  // the key still breaks the line

    // ">" in a usage text is a line break; a data line leaves the label.
    pane->setPlainText("KWN\nclr");
    pane->moveCursor(QTextCursor::End);
    QTest::keyClick(pane, Qt::Key_Return);
    QVERIFY(info->text().contains("(repeat)\nempty line"));
    QTest::keyClicks(pane, "1,2,3");
    QTest::keyClick(pane, Qt::Key_Return);
    QVERIFY(info->text().contains("(repeat)\nempty line"));
    QCOMPARE(window_->session().CurrentCommand, "1,2,3");

    pane->setPlainText("COM\nfrom the keyboard");
    QTest::keyClick(pane, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(Output(), "   from the keyboard");
  }

  void clearedOutputContinuesAListingWithoutItsHeading() {
    Process("KWN\n1,0,0,2,100,100\nDAB\n1,2\n");
    QTest::mouseClick(Control<QPushButton>("cmdClearOut"), Qt::LeftButton);
    QCOMPARE(Output(), "");
    Process("2,1\n");
    QCOMPARE(Output(), "      2    1    141.42   225  0  0      S 45  0  0W");
  }

  void messagesGoThroughTheUserSide() {
    Control<QCheckBox>("chkIODefault")->setChecked(false);
    dialogs_.promptAnswers.push_back("job");
    Control<QPlainTextEdit>("txtInfo")->setPlainText("COM\nexported");
    QTest::mouseClick(Control<QPushButton>("cmdExport"), Qt::LeftButton);
    QString saved = QDir(folder_.path()).filePath("job.cmd");
    QVERIFY(QFile::exists(saved));
    QCOMPARE(dialogs_.transcript.back(), "Info Only: Saved in file " + QDir::toNativeSeparators(saved).toStdString());

    QTest::mouseClick(Control<QPushButton>("cmdClear"), Qt::LeftButton);
    dialogs_.promptAnswers.push_back("job");
    QTest::mouseClick(Control<QPushButton>("cmdImport"), Qt::LeftButton);
    QCOMPARE(Control<QPlainTextEdit>("txtInfo")->toPlainText(), "COM\nexported\n");
  }

  void showPointsDrawsEveryDefinedPoint() {
    Process("KWN\n1,0,0,2,100,100,3,0,100\n");
    QVERIFY(window_->plotWindow() == nullptr);
    QTest::mouseClick(Control<QPushButton>("cmdShow"), Qt::LeftButton);
    MapPlotWindow* plot = window_->plotWindow();
    QVERIFY(plot != nullptr && plot->isVisible());
    QCOMPARE(plot->windowTitle(), "Map Plot");
    int dots = 0;
    for (const PlotPrimitive& p : plot->Primitives()) dots += p.kind == PlotPrimitive::Kind::Dot;
    QCOMPARE(dots, 3);
    QCOMPARE(window_->session().CurrentCommand, "");
    QVERIFY(!plot->grab().toImage().isNull());
  }

  void helpTableSortsByTheClickedColumn() {
    QTest::mouseClick(Control<QPushButton>("cmdHelp"), Qt::LeftButton);
    HelpTableWindow* help = window_->helpWindow();
    QVERIFY(help != nullptr && help->isVisible());
    auto* grid = help->findChild<QTableWidget*>("Grid1");
    const CommandReference& reference = window_->session().reference;
    QCOMPARE(grid->rowCount(), reference.ReferenceCount);
    QStringList names = Column(grid, 1);
    QVERIFY(std::is_sorted(names.begin(), names.end()));

    auto clickCell = [grid](int column) {
      QRect cell = grid->visualRect(grid->model()->index(0, column));
      QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    };
    clickCell(0);
    QStringList codes = Column(grid, 0);
    QVERIFY(std::is_sorted(codes.begin(), codes.end()));
    clickCell(2);
    QCOMPARE(Column(grid, 0).first(), QString::fromStdString(reference.rows[1].Code));
    QCOMPARE(Column(grid, 0).last(), QString::fromStdString(reference.rows[reference.ReferenceCount].Code));
  }

  void helpTableOrderIsStableAndOrdinal() {
    CommandReference reference;
    const char* rows[][2] = {{"ZZZ", "same"}, {"AAA", "Beta"}, {"aaa", "same"}, {"MMM", "Alpha"}, {"BBB", "same"}};
    for (auto& row : rows) {
      ReferenceRow& r = reference.rows[static_cast<size_t>(++reference.ReferenceCount)];
      r.Code = row[0];
      r.FunctionName = row[1];
    }
    QCOMPARE(HelpTableOrder(reference, 0), (std::vector<int>{2, 5, 4, 1, 3}));  // upper case before lower
    QCOMPARE(HelpTableOrder(reference, 1), (std::vector<int>{4, 2, 1, 3, 5}));  // equal names in file order
    QCOMPARE(HelpTableOrder(reference, 2), (std::vector<int>{1, 2, 3, 4, 5}));
    QCOMPARE(HelpTableOrder(CommandReference{}, 1), std::vector<int>{});
  }

  void printedMapBecomesANumberedPdf() {
    Control<QLineEdit>("txtProject")->setText("Lot 7");
    Control<QCheckBox>("chkSpool")->setChecked(true);
    Process("KWN\n1,0,0,2,100,200\nMAP\n1,2\n");
    QString first = QDir(folder_.path()).filePath("Lot 7-1.pdf");
    QVERIFY(QFile::exists(first));
    QVERIFY(window_->statusBar()->currentMessage().contains("Lot 7-1.pdf"));
    QFile pdf(first);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.readAll().startsWith("%PDF"));

    Process("MAP\n1,2\n");
    QVERIFY(QFile::exists(QDir(folder_.path()).filePath("Lot 7-2.pdf")));
    // Nothing drawn on the printer, nothing printed.
    Control<QCheckBox>("chkSpool")->setChecked(false);
    Process("MAP\n1,2\n");
    QVERIFY(!QFile::exists(QDir(folder_.path()).filePath("Lot 7-3.pdf")));
  }

  // The installed guide wins over the source tree's; with neither, no path.
  void userGuideInstalledOrFromTheSourceTree() {
    QTemporaryDir root;
    QDir dir(root.path());
    const QString bin = dir.filePath("prefix/bin");
    const QString installed = dir.filePath("prefix/share/doc/vantrel/guide.md");
    const QString source = dir.filePath("source/docs/guide.md");
    struct Case {
      const char* what;
      QStringList present;
      QString expected;
    };
    const Case cases[] = {
        {"neither", {}, QString()},
        {"source tree only (run from the build folder)", {source}, source},
        {"installed only", {installed}, installed},
        {"both: the installed one", {installed, source}, installed},
    };
    for (const Case& c : cases) {
      QFile::remove(installed);
      QFile::remove(source);
      dir.mkpath("prefix/bin");
      dir.mkpath("prefix/share/doc/vantrel");
      dir.mkpath("source/docs");
      for (const QString& file : c.present) {
        QFile guide(file);
        QVERIFY(guide.open(QIODevice::WriteOnly));
      }
      QVERIFY2(UserGuidePath(bin, dir.filePath("source")) == c.expected, c.what);
    }
    // This test program runs from the build folder: the source tree's guide.
    QVERIFY(UserGuidePath().endsWith("/docs/guide.md"));
    QVERIFY(QFileInfo(UserGuidePath()).isFile());
  }
};

}  // namespace vantrel::ui

QTEST_MAIN(vantrel::ui::WindowTest)
#include "window_test.moc"
