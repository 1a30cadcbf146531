// vantrel-window-timer: how long the main window takes to process a job with
// Display on, from the click on Process until the report stands painted in
// the output pane. The job is imported into the input pane first, as
// "vantrel JOB.cmd" does; the recovery copy is kept as in a real session.
// Prints the seconds on standard output, then the report lines the pane
// holds and how many times it was appended to.
//   vantrel-window-timer FOLDER REFERENCE JOB.cmd
// Runs on any platform; bench/window uses the offscreen one.
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>

#include "ui/dialogs.h"
#include "ui/main_window.h"
#include "ui/report_pane.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 4) {
    std::fputs("usage: vantrel-window-timer FOLDER REFERENCE JOB.cmd\n", stderr);
    return 2;
  }
  // The surveyor's remembered settings stay untouched.
  QStandardPaths::setTestModeEnabled(true);
  vantrel::ui::MainWindow::Settings settings;
  settings.workingFolder = argv[1];
  settings.referenceFile = argv[2];
  QTemporaryDir recoveryFolder;  // no copy of an earlier session is offered
  settings.dataFolder = recoveryFolder.path();
  settings.usePrinters = false;
  vantrel::ui::UnattendedDialogs dialogs;
  vantrel::ui::MainWindow window(dialogs, settings);
  window.ImportAtStart(argv[3]);
  window.show();
  window.OfferRecovery();
  QCoreApplication::processEvents();

  auto* output = window.findChild<vantrel::ui::ReportPane*>("txtOutput");
  int appends = 0;
  QObject::connect(output, &vantrel::ui::ReportPane::LinesAppended, [&appends] { ++appends; });
  QElapsedTimer clock;
  clock.start();
  window.findChild<QPushButton*>("cmdProcess")->click();
  QCoreApplication::processEvents();  // the last block laid out and painted
  double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
  std::printf("%.4f %d %d\n", seconds, output->LineCount(), appends);
  return 0;
}
