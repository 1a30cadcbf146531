// vantrel: the program's main window. "vantrel [options] [FILE.cmd]" opens
// it with FILE.cmd in the input pane, with the options of vantrel-cli that
// make sense for a window; "--screenshots DIR" also runs the pane, opens the
// map and the help table, saves pictures of the three windows into DIR and
// ends.
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <optional>
#include <variant>

#include "ui/dialogs.h"
#include "ui/help_window.h"
#include "ui/main_window.h"
#include "ui/plot_window.h"
#include "ui/screenshots.h"

namespace {

constexpr const char* kUsage =
    "usage: vantrel [options] [FILE.cmd ...]\n"
    "  --folder DIR        the working folder: relative file names resolve against\n"
    "                      it (default: the last one, at first Documents/Vantrel)\n"
    "  --reference FILE    read the command reference from FILE (default:\n"
    "                      Vantrel.txt in the working folder, else beside vantrel)\n"
    "  --project NAME      the project name\n"
    "  --no-io-default     clear I/O Default\n"
    "  --spool NAME        set Spool, with NAME as the spool file name\n"
    "  --no-display        clear Display\n"
    "  --screenshots DIR   run the input pane, save pictures of the main, map and\n"
    "                      help windows into DIR as PNG files, and end\n";

bool SavePicture(QWidget* window, const QString& folder, const QString& name) {
  if (window == nullptr) return false;
  QString path = QDir(folder).filePath(name);
  bool saved = window->grab().save(path);
  std::fprintf(stderr, "%s %s\n", saved ? "saved" : "could not save", qPrintable(path));
  return saved;
}

// Enter just after the MAP code of the pane shows its usage; the line break
// the key adds is taken back.
void ShowMapUsage(vantrel::ui::MainWindow& window) {
  auto* pane = window.findChild<QPlainTextEdit*>("txtInfo");
  QTextCursor mapLine = pane->document()->find(QRegularExpression("^MAP\\b"));
  if (mapLine.isNull()) return;
  pane->setTextCursor(mapLine);
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
  QApplication::sendEvent(pane, &enter);
  pane->undo();
}

void TakeScreenshots(vantrel::ui::MainWindow& window, const QString& folder) {
  QDir().mkpath(folder);
  ShowMapUsage(window);
  window.findChild<QPushButton*>("cmdProcess")->click();
  window.findChild<QPushButton*>("cmdHelp")->click();
  // Let the windows lay themselves out and paint before they are grabbed.
  QTimer::singleShot(500, &window, [&window, folder] {
    bool saved = SavePicture(&window, folder, "main.png");
    saved = SavePicture(window.plotWindow(), folder, "plot.png") && saved;
    saved = SavePicture(window.helpWindow(), folder, "help.png") && saved;
    saved = SaveGuidePictures(window, folder) && saved;
    QCoreApplication::exit(saved ? 0 : 1);
  });
}

// The command line, read before Qt starts: --help needs no display.
struct CommandLine {
  vantrel::ui::MainWindow::Settings settings;
  QString screenshots;
  QStringList files;
};

// The parsed command line, or the exit code after usage or a mistake.
std::variant<CommandLine, int> ReadCommandLine(int argc, char** argv) {
  CommandLine line;
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    QString arg = arguments[i];
    std::optional<QString> value;
    if (arg.startsWith("--") && arg.contains('=')) {
      value = arg.section('=', 1);
      arg = arg.section('=', 0, 0);
    }
    static const QStringList kWithValue = {"--folder", "--reference", "--project", "--spool", "--screenshots"};
    if (kWithValue.contains(arg) && !value) {
      if (i + 1 >= arguments.size()) {
        std::fprintf(stderr, "vantrel: %s needs a value\n%s", qPrintable(arg), kUsage);
        return 2;
      }
      value = arguments[++i];
    }
    // Qt's own options are Qt's to read.
    static const QStringList kQtWithValue = {"-platform", "-display", "-style", "-stylesheet", "-geometry",
                                             "-qwindowgeometry", "-qwindowtitle", "-qwindowicon"};
    if (kQtWithValue.contains(arg)) {
      ++i;
      continue;
    }
    if (arg == "-reverse") continue;
    vantrel::ui::MainWindow::Settings& settings = line.settings;
    if (arg == "--folder") settings.workingFolder = *value;
    else if (arg == "--reference") settings.referenceFile = *value;
    else if (arg == "--project") settings.project = *value;
    else if (arg == "--spool") settings.spoolName = *value;
    else if (arg == "--screenshots") line.screenshots = *value;
    else if (arg == "--no-io-default") settings.ioDefault = false;
    else if (arg == "--no-display") settings.display = false;
    else if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg.startsWith("-")) {
      std::fprintf(stderr, "vantrel: unknown option %s\n%s", qPrintable(arg), kUsage);
      return 2;
    } else line.files << arg;
  }
  return line;
}

}  // namespace

int main(int argc, char** argv) {
  std::variant<CommandLine, int> parsed = ReadCommandLine(argc, argv);
  if (const int* exitCode = std::get_if<int>(&parsed)) return *exitCode;
  CommandLine& line = std::get<CommandLine>(parsed);
  vantrel::ui::MainWindow::Settings& settings = line.settings;
  const QString& screenshots = line.screenshots;

  QApplication app(argc, argv);
  QCoreApplication::setOrganizationName("Vantrel");
  QCoreApplication::setApplicationName("Vantrel");
  // The window belongs to the menu entry vantrel.desktop (its name and icon).
  QGuiApplication::setDesktopFileName("vantrel");

  vantrel::ui::ModalDialogs modal;
  vantrel::ui::UnattendedDialogs unattended;
  if (!screenshots.isEmpty()) settings.usePrinters = false;
  vantrel::ui::MainWindow window(screenshots.isEmpty() ? static_cast<vantrel::UserSide&>(modal) : unattended,
                                 settings);
  for (const QString& file : line.files) window.ImportAtStart(file);
  window.show();
  if (screenshots.isEmpty()) {
    QTimer::singleShot(0, &window, [&window] { window.OfferRecovery(); });
  } else {
    QTimer::singleShot(300, &window, [&window, screenshots] { TakeScreenshots(window, screenshots); });
  }
  return app.exec();
}
