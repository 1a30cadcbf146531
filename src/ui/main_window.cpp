#include "ui/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFontDatabase>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStatusBar>
#include <QTextCursor>
#include <QTimer>
#include <algorithm>
#include <new>
#include <optional>

#include "command/files.h"
#include "command/reference.h"
#include "command/text_file.h"
#include "map/plot_map.h"
#include "ui/help_window.h"
#include "ui/plot_window.h"
#include "ui/printing.h"
#include "ui/twips.h"

namespace vantrel::ui {
namespace {

// Form geometry in twips. The input frame, the input pane and the output
// pane grow with the window; below these sizes the form scrolls.
constexpr int kMargin = 120;
constexpr int kInputFrameHeight = 9135;
constexpr int kInputPaneTop = 2040;
constexpr int kInputPaneBottomGap = 195;  // below the pane, inside its frame
constexpr int kOutputLeft = 7080;
constexpr int kOutputTop = 2160;
constexpr int kOutputMinWidth = 3000;
constexpr int kFormMinWidth = kOutputLeft + kOutputMinWidth + kMargin;
constexpr int kFormMinHeight = 9255 + kMargin;  // the bottom of the I/O Options frame
// Start-up: the window leaves this much of the screen free.
constexpr int kScreenSpareWidth = 400;
constexpr int kScreenSpareHeight = 1300;
constexpr int kWindowLeft = 200;
constexpr int kWindowTop = 500;

constexpr int kProgressIntervalMs = 100;  // status bar and painting during a run
constexpr int kOutputPaneLines = 200000;  // older report lines leave the pane

QString FromCrLf(const std::string& text) {
  return QString::fromStdString(text).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

}  // namespace

MainWindow::MainWindow(UserSide& dialogs, const Settings& settings, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs), settings_(settings), session_(*this), form_(TwipScale::Form(*this)) {
  setObjectName("frmVantrel");
  setWindowTitle("Vantrel");
  if (settings_.programFolder.isEmpty()) settings_.programFolder = QCoreApplication::applicationDirPath();
  session_.files.ProgramFolder = QDir::toNativeSeparators(settings_.programFolder).toStdString();

  CreateControls();
  ConnectControls();
  FitToScreen();

  std::string reference = settings_.referenceFile.isEmpty()
                              ? ChooseReferenceFile(settings_.programFolder.toStdString(),
                                                    QCoreApplication::applicationDirPath().toStdString())
                              : settings_.referenceFile.toStdString();
  std::string problem = LoadCommandReference(reference, session_.reference);
  // Told once the window is on the screen; the rows read so far stay usable.
  if (!problem.empty()) QTimer::singleShot(0, this, [this, problem] { InfoBox(problem); });
  txtInfo_->setFocus();
}

MainWindow::~MainWindow() = default;

void MainWindow::CreateControls() {
  auto* scroll = new QScrollArea(this);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidgetResizable(true);
  board_ = new QWidget;
  board_->setMinimumSize(form_.Pixels(kFormMinWidth), form_.Pixels(kFormMinHeight));
  scroll->setWidget(board_);
  setCentralWidget(scroll);
  board_->installEventFilter(this);

  auto place = [this](QWidget* w, const char* name, int left, int top, int width, int height) {
    w->setObjectName(name);
    w->setGeometry(form_.Rect(left, top, width, height));
  };
  auto frame = [&](const char* name, const char* caption, int left, int top, int width, int height) {
    auto* box = new QGroupBox(caption, board_);
    place(box, name, left, top, width, height);
    return box;
  };
  auto label = [&](QWidget* parent, const char* name, const char* caption, int left, int top, int width, int height) {
    auto* l = new QLabel(caption, parent);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(l, name, left, top, width, height);
    return l;
  };

  fraInput_ = frame("fraInput", "Input", kMargin, kMargin, 5055, kInputFrameHeight);
  lblInfo_ = label(fraInput_, "lblInfo", "", 240, 600, 4695, 975);
  lblInfo_->setWordWrap(true);
  txtInfo_ = new QPlainTextEdit(fraInput_);
  place(txtInfo_, "txtInfo", 240, kInputPaneTop, 4800, 6900);
  txtInfo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  txtInfo_->installEventFilter(this);

  QGroupBox* fraTitle = frame("fraTitle", "Title", 5280, kMargin, 4095, 1455);
  label(fraTitle, "Label4", "Project Name", 360, 550, 3135, 375);
  txtProject_ = new QLineEdit(fraTitle);
  place(txtProject_, "txtProject", 360, 840, 3135, 375);

  QGroupBox* fraActions = frame("fraActions", "Actions", 5280, 1800, 1695, 3855);
  auto button = [&](const char* name, const char* caption, int top) {
    auto* b = new QPushButton(caption, fraActions);
    place(b, name, 240, top, 1095, 375);
    // A caption wider than the button in this font widens it, up to the frame.
    int widest = fraActions->width() - b->x() - form_.Pixels(kMargin / 2);
    b->resize(std::min(std::max(b->width(), b->sizeHint().width()), widest), b->height());
    return b;
  };
  cmdClear_ = button("cmdClear", "Clear Input", 360);
  cmdClearOut_ = button("cmdClearOut", "Clear Output", 840);
  cmdImport_ = button("cmdImport", "Import", 1360);
  cmdExport_ = button("cmdExport", "Export", 1860);
  cmdHelp_ = button("cmdHelp", "Help", 2360);
  cmdShow_ = button("cmdShow", "Show Points", 2860);
  cmdProcess_ = button("cmdProcess", "Process", 3360);
  cmdProcess_->setToolTip("Run the input pane (Ctrl+Return)");
  QFont bold = cmdProcess_->font();
  bold.setBold(true);
  cmdProcess_->setFont(bold);

  QGroupBox* fraOutput = frame("fraOutput", "I/O Options", 5280, 5880, 1695, 3375);
  auto check = [&](const char* name, const char* caption, int top, bool checked) {
    auto* c = new QCheckBox(caption, fraOutput);
    place(c, name, kMargin, top, 1695 - 2 * kMargin, 255);
    c->setChecked(checked);
    return c;
  };
  chkShowCenters_ = check("chkShowCenters", "Show Centers", 360, session_.plot.ShowCenters);
  chkShowPtNos_ = check("chkShowPtNos", "Show Pt. Nos.", 690, session_.plot.ShowPointNumbers);
  chkShowPts_ = check("chkShowPts", "Show Points", 1020, session_.plot.ShowPoints);
  chkIODefault_ = check("chkIODefault", "I/O Default", 1350, session_.files.IODefault);
  chkDisplay_ = check("chkDisplay", "Display", 1710, session_.Display);
  chkSpool_ = check("chkSpool", "Spool", 2400, session_.files.SpoolOn);
  label(fraOutput, "Label1", "Spool File Name", kMargin, 2680, 1695 - 2 * kMargin, 375);
  txtSpoolFile_ = new QLineEdit(fraOutput);
  place(txtSpoolFile_, "txtSpoolFile", kMargin, 2900, 1695 - 2 * kMargin, 285);

  label(board_, "Label9", "Output", 7200, 1800, 1095, 255);
  txtOutput_ = new QPlainTextEdit(board_);
  place(txtOutput_, "txtOutput", kOutputLeft, kOutputTop, 11000, 7095);
  txtOutput_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  txtOutput_->setLineWrapMode(QPlainTextEdit::NoWrap);
  txtOutput_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  txtOutput_->setMaximumBlockCount(kOutputPaneLines);

  statusBar()->showMessage("Ready");
}

void MainWindow::ConnectControls() {
  connect(cmdClear_, &QPushButton::clicked, this, [this] {
    txtInfo_->clear();
    txtInfo_->setFocus();
  });
  connect(cmdClearOut_, &QPushButton::clicked, this, [this] {
    pendingReport_.clear();
    txtOutput_->clear();
    txtInfo_->setFocus();
  });
  connect(cmdImport_, &QPushButton::clicked, this, &MainWindow::Import);
  connect(cmdExport_, &QPushButton::clicked, this, &MainWindow::Export);
  connect(cmdHelp_, &QPushButton::clicked, this, &MainWindow::ShowHelp);
  connect(cmdShow_, &QPushButton::clicked, this, &MainWindow::ShowPoints);
  connect(cmdProcess_, &QPushButton::clicked, this, &MainWindow::Process);
  auto* processKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return), this);
  connect(processKey, &QShortcut::activated, this, &MainWindow::Process);

  // Every option box shows a setting of the session.
  auto follow = [this](QCheckBox* box, bool& setting) {
    connect(box, &QCheckBox::toggled, this, [&setting](bool on) { setting = on; });
  };
  follow(chkShowCenters_, session_.plot.ShowCenters);
  follow(chkShowPtNos_, session_.plot.ShowPointNumbers);
  follow(chkShowPts_, session_.plot.ShowPoints);
  follow(chkIODefault_, session_.files.IODefault);
  follow(chkDisplay_, session_.Display);
  follow(chkSpool_, session_.files.SpoolOn);
  connect(txtProject_, &QLineEdit::textChanged, this,
          [this](const QString& text) { session_.files.ProjectName = text.toStdString(); });
  connect(txtSpoolFile_, &QLineEdit::textChanged, this,
          [this](const QString& text) { session_.files.SpoolFileText = text.toStdString(); });
  connect(txtSpoolFile_, &QLineEdit::editingFinished, this, [this] { ChangeSpoolName(session_); });
}

void MainWindow::LayOutPanes() {
  int formHeight = form_.Twips(board_->height());
  int formWidth = form_.Twips(board_->width());
  int inputHeight = std::max(kInputFrameHeight, formHeight - 2 * kMargin);
  fraInput_->resize(fraInput_->width(), form_.Pixels(inputHeight));
  txtInfo_->resize(txtInfo_->width(), form_.Pixels(inputHeight - kInputPaneTop - kInputPaneBottomGap));
  txtOutput_->setGeometry(form_.Rect(kOutputLeft, kOutputTop, formWidth - kOutputLeft - kMargin,
                                    kMargin + inputHeight - kOutputTop));
}

void MainWindow::FitToScreen() {
  QRect screen = this->screen()->availableGeometry();
  TwipScale twips = TwipScale::Drawing(*this);
  resize(screen.width() - twips.Pixels(kScreenSpareWidth), screen.height() - twips.Pixels(kScreenSpareHeight));
  move(screen.left() + twips.Pixels(kWindowLeft), screen.top() + twips.Pixels(kWindowTop));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == board_ && event->type() == QEvent::Resize) LayOutPanes();
  if (watched == txtInfo_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (enter && key->modifiers() == Qt::ControlModifier) {
      Process();
      return true;
    }
    // Enter shows the usage of the code before the caret; the pane still
    // takes the line break.
    if (enter && key->modifiers() == Qt::NoModifier) ShowUsage();
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (plot_ != nullptr) plot_->close();
  if (help_ != nullptr) help_->close();
  event->accept();
}

std::string MainWindow::PaneText() const { return txtInfo_->toPlainText().toStdString(); }

void MainWindow::AppendToPane(const std::string& text) {
  if (text.empty()) return;
  QTextCursor end(txtInfo_->document());
  end.movePosition(QTextCursor::End);
  end.insertText(FromCrLf(text));
}

void MainWindow::ImportAtStart(const QString& path) {
  std::optional<std::string> content = ReadTextFile(session_, path.toStdString());
  if (!content) return;
  std::string lines;
  for (std::string_view line : TextLines(*content)) lines.append(line).append("\n");
  AppendToPane(lines);
}

void MainWindow::Process() {
  if (running_) return;
  running_ = true;
  cmdProcess_->setEnabled(false);
  printMessage_.clear();
  statusBar()->showMessage("Processing...");
  progressClock_.start();
  try {
    session_.RunBatch(PaneText());
  } catch (const std::bad_alloc&) {
    // Memory ran out part way: the run stops, the window and what the lines
    // before computed stay.
    InfoBox("Out of memory: the run was stopped; the points and registers computed so far are kept");
  }
  FlushReport();
  statusBar()->showMessage(printMessage_.isEmpty() ? QStringLiteral("Ready") : printMessage_);
  cmdProcess_->setEnabled(true);
  running_ = false;
}

void MainWindow::ShowPoints() { ShowAllPoints(session_); }

void MainWindow::ShowHelp() {
  if (help_ == nullptr) help_ = new HelpTableWindow(session_.reference, this);
  help_->show();
  help_->raise();
  help_->activateWindow();
}

void MainWindow::Import() {
  std::string pane = PaneText();
  size_t before = pane.size();
  ImportCommandFile(session_, pane);
  AppendToPane(pane.substr(before));
}

void MainWindow::Export() { ExportCommandFile(session_, PaneText()); }

void MainWindow::ShowUsage() {
  QString text = txtInfo_->toPlainText();
  // The session counts the pane's characters as bytes of its UTF-8 text.
  size_t caret = text.left(txtInfo_->textCursor().position()).toStdString().size();
  std::optional<std::string> usage = session_.UsageForEnter(text.toStdString(), caret);
  if (usage) lblInfo_->setText(FromCrLf(*usage));
}

void MainWindow::ShowReportLine(const std::string& line) {
  pendingReport_.append("   ").append(line).append("\n");
}

void MainWindow::FlushReport() {
  if (pendingReport_.empty()) return;
  pendingReport_.pop_back();  // the pane adds the last line's break itself
  txtOutput_->appendPlainText(QString::fromStdString(pendingReport_));
  pendingReport_.clear();
}

void MainWindow::InfoBox(const std::string& message) {
  FlushReport();
  dialogs_.InfoBox(message);
}

bool MainWindow::AskYesNo(const std::string& message) {
  FlushReport();
  return dialogs_.AskYesNo(message);
}

std::string MainWindow::PromptText(const std::string& prompt) {
  FlushReport();
  return dialogs_.PromptText(prompt);
}

void MainWindow::EndPrintDocument() {
  if (!printer_.HasDrawing()) return;
  printMessage_ = PrintPages(printer_.TakeDocument(), settings_.programFolder, txtProject_->text(),
                             settings_.usePrinters);
  statusBar()->showMessage(printMessage_);
}

PlotSurface* MainWindow::PlotWindow() {
  if (plot_ == nullptr) {
    plot_ = new MapPlotWindow(this);
    plot_->SetDocumentSource([this] { return MapPlotWindow::Document{settings_.programFolder, txtProject_->text()}; });
  }
  return plot_;
}

void MainWindow::BatchProgress(size_t done, size_t total) {
  if (progressClock_.elapsed() < kProgressIntervalMs) return;
  progressClock_.restart();
  FlushReport();
  statusBar()->showMessage(QStringLiteral("Processing... %1 %").arg(total == 0 ? 100 : done * 100 / total));
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace vantrel::ui
