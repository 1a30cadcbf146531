#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <new>
#include <optional>

#include "command/files.h"
#include "command/reference.h"
#include "command/text_file.h"
#include "map/plot_map.h"
#include "store/session_file.h"
#include "ui/help_window.h"
#include "ui/plot_window.h"
#include "ui/printing.h"
#include "ui/report_pane.h"
#include "ui/user_guide.h"

namespace vantrel::ui {
namespace {

// Frame sizes in twips; the controls inside keep their places in them.
constexpr int kMargin = 120;
constexpr int kInputPaneWidth = 4800;
constexpr int kSideWidth = 4095;
constexpr int kTitleHeight = 1455;
constexpr int kActionsHeight = 4335;
constexpr int kOptionsHeight = 3375;
constexpr int kOutputMinWidth = 3000;
constexpr int kInputFrameMinHeight = 9135;
// Start-up: the window leaves this much of the screen free.
constexpr int kScreenSpareWidth = 400;
constexpr int kScreenSpareHeight = 1300;
constexpr int kWindowLeft = 200;
constexpr int kWindowTop = 500;
constexpr int kBesideGap = 8;  // pixels between the main window and one opened beside it
constexpr int kNarrowestBeside = 240;  // pixels: a narrower window beside it is of no use

constexpr int kProgressIntervalMs = 100;  // status bar and painting during a run
constexpr int kOutputPaneLines = 200000;  // older report lines leave the pane
constexpr int kRecoveryIntervalMs = 60 * 1000;
constexpr int kRecentFiles = 8;

constexpr const char* kSessionExtension = "vsn";

QString FromCrLf(const std::string& text) {
  return QString::fromStdString(text).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

}  // namespace

MainWindow::MainWindow(UserSide& dialogs, const Settings& settings, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs), settings_(settings), session_(*this), form_(TwipScale::Form(*this)) {
  setObjectName("frmVantrel");
  setWindowTitle("Vantrel");

  CreateControls();
  CreateActions();
  CreateMenus();
  ConnectControls();
  FitToScreen();
  RestoreSettings();
  ApplyCommandLine();
  LoadReference();
  MarkSaved(true);
  SetRunning(false);

  recoveryTimer_ = new QTimer(this);
  recoveryTimer_->setInterval(kRecoveryIntervalMs);
  connect(recoveryTimer_, &QTimer::timeout, this, [this] {
    if (PaneText() != recoveredPane_) SaveRecoveryCopy();
  });
  recoveryTimer_->start();
  txtInfo_->setFocus();
}

MainWindow::~MainWindow() = default;

// ---- Building the window ----------------------------------------------------

void MainWindow::CreateControls() {
  auto place = [this](QWidget* w, const char* name, int left, int top, int width, int height) {
    w->setObjectName(name);
    w->setGeometry(form_.Rect(left, top, width, height));
  };
  auto frame = [&](QWidget* parent, const char* name, const char* caption, int height) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    box->setFixedSize(form_.Pixels(kSideWidth), form_.Pixels(height));
    return box;
  };
  auto label = [&](QWidget* parent, const char* name, const char* caption, int left, int top, int width, int height) {
    auto* l = new QLabel(caption, parent);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(l, name, left, top, width, height);
    return l;
  };
  QFont fixedPitch = QFontDatabase::systemFont(QFontDatabase::FixedFont);

  // The input frame: the usage line over the input pane.
  fraInput_ = new QGroupBox("Input");
  fraInput_->setObjectName("fraInput");
  lblInfo_ = new QLabel(fraInput_);
  lblInfo_->setObjectName("lblInfo");
  lblInfo_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lblInfo_->setWordWrap(true);
  lblInfo_->setMinimumHeight(form_.Pixels(975));
  txtInfo_ = new QPlainTextEdit(fraInput_);
  txtInfo_->setObjectName("txtInfo");
  txtInfo_->setFont(fixedPitch);
  // A wrapped data line would look like two lines of the command language.
  txtInfo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  txtInfo_->setTabChangesFocus(true);
  txtInfo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  txtInfo_->setMinimumWidth(form_.Pixels(kInputPaneWidth) / 2);
  txtInfo_->installEventFilter(this);
  auto* inputLayout = new QVBoxLayout(fraInput_);
  inputLayout->addWidget(lblInfo_);
  inputLayout->addWidget(txtInfo_, 1);
  fraInput_->setMinimumHeight(form_.Pixels(kInputFrameMinHeight) / 2);

  // The middle column: title, actions, I/O options.
  auto* sideColumn = new QWidget;
  QGroupBox* fraTitle = frame(sideColumn, "fraTitle", "Title", kTitleHeight);
  label(fraTitle, "Label4", "Project Name", 360, 550, 3135, 375);
  txtProject_ = new QLineEdit(fraTitle);
  place(txtProject_, "txtProject", 360, 840, 3135, 375);

  QGroupBox* fraActions = frame(sideColumn, "fraActions", "Actions", kActionsHeight);
  auto button = [&](const char* name, const char* caption, int left, int top) {
    auto* b = new QPushButton(caption, fraActions);
    place(b, name, left, top, 1695, 375);
    return b;
  };
  cmdClear_ = button("cmdClear", "Clear Input", 240, 360);
  cmdClearOut_ = button("cmdClearOut", "Clear Output", 240, 840);
  cmdImport_ = button("cmdImport", "Import", 240, 1360);
  cmdExport_ = button("cmdExport", "Export", 240, 1860);
  cmdHelp_ = button("cmdHelp", "Help", 240, 2360);
  cmdShow_ = button("cmdShow", "Show Points", 240, 2860);
  cmdProcess_ = button("cmdProcess", "Process", 240, 3360);
  cmdProcess_->setToolTip("Run the input pane (Ctrl+Return)");
  QFont bold = cmdProcess_->font();
  bold.setBold(true);
  cmdProcess_->setFont(bold);
  cmdStop_ = button("cmdStop", "Stop", 2055, 3360);
  cmdStop_->setToolTip("Stop the run between two lines (Esc)");

  QGroupBox* fraOutput = frame(sideColumn, "fraOutput", "I/O Options", kOptionsHeight);
  auto check = [&](const char* name, const char* caption, int top, bool checked) {
    auto* c = new QCheckBox(caption, fraOutput);
    place(c, name, kMargin, top, kSideWidth - 2 * kMargin, 255);
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

  idleWidgets_ = {fraTitle, fraOutput, cmdClear_, cmdClearOut_, cmdImport_, cmdExport_, cmdHelp_, cmdShow_, cmdProcess_};

  auto* sideLayout = new QVBoxLayout(sideColumn);
  sideLayout->setContentsMargins(0, 0, 0, 0);
  for (QWidget* w : {static_cast<QWidget*>(fraTitle), static_cast<QWidget*>(fraActions),
                     static_cast<QWidget*>(fraOutput)})
    sideLayout->addWidget(w);
  sideLayout->addStretch(1);

  // The output pane, read-only: the report is selected and copied, never typed.
  auto* outputColumn = new QWidget;
  auto* outputLabel = new QLabel("Output", outputColumn);
  outputLabel->setObjectName("Label9");
  txtOutput_ = new ReportPane(kOutputPaneLines, outputColumn);
  txtOutput_->setObjectName("txtOutput");
  txtOutput_->setFont(fixedPitch);
  txtOutput_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  txtOutput_->setMinimumWidth(form_.Pixels(kOutputMinWidth));
  auto* outputLayout = new QVBoxLayout(outputColumn);
  outputLayout->setContentsMargins(0, 0, 0, 0);
  outputLayout->addWidget(outputLabel);
  outputLayout->addWidget(txtOutput_, 1);

  // Input on the left, output on the right, the frames between them; the
  // surveyor drags the splitter to share the width.
  auto* right = new QWidget;
  auto* rightLayout = new QHBoxLayout(right);
  rightLayout->setContentsMargins(0, 0, 0, 0);
  rightLayout->addWidget(sideColumn);
  rightLayout->addWidget(outputColumn, 1);
  splitter_ = new QSplitter(Qt::Horizontal, this);
  splitter_->setObjectName("splitter");
  splitter_->setChildrenCollapsible(false);
  splitter_->addWidget(fraInput_);
  splitter_->addWidget(right);
  splitter_->setStretchFactor(1, 1);
  splitter_->setContentsMargins(form_.Pixels(kMargin), form_.Pixels(kMargin), form_.Pixels(kMargin),
                                form_.Pixels(kMargin));
  setCentralWidget(splitter_);

  folderLabel_ = new QLabel;
  folderLabel_->setObjectName("workingFolder");
  statusBar()->addPermanentWidget(folderLabel_);
  statusBar()->showMessage("Ready");
}

void MainWindow::CreateActions() {
  auto action = [this](const QString& text, const QKeySequence& key, auto slot) {
    auto* a = new QAction(text, this);
    if (!key.isEmpty()) a->setShortcut(key);
    connect(a, &QAction::triggered, this, slot);
    addAction(a);
    return a;
  };
  processAction_ = action("&Process", QKeySequence(Qt::CTRL | Qt::Key_Return), [this] { Process(); });
  processAction_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
  stopAction_ = action("&Stop", QKeySequence(Qt::Key_Escape), [this] { Stop(); });
}

void MainWindow::CreateMenus() {
  // Every entry but Stop waits while a run is in progress.
  auto add = [this](QMenu* menu, const QString& text, const QKeySequence& key, auto slot) {
    QAction* a = menu->addAction(text, this, slot);
    if (!key.isEmpty()) a->setShortcut(key);
    idleActions_.push_back(a);
    return a;
  };
  QMenu* file = menuBar()->addMenu("&File");
  add(file, "&Open Session...", QKeySequence::Open, [this] { OpenSession(); });
  add(file, "&Save Session", QKeySequence::Save, [this] { SaveSession(); });
  file->addSeparator();
  add(file, "&Import...", {}, [this] { Import(); });
  add(file, "&Export...", {}, [this] { Export(); });
  add(file, "&Print Report...", QKeySequence::Print, [this] { PrintOutput(); });
  recentMenu_ = file->addMenu("Recent &Files");
  add(file, "&Working Folder...", {}, [this] { ChooseWorkingFolder(); });
  file->addSeparator();
  add(file, "&Quit", QKeySequence::Quit, [this] { close(); });

  QMenu* edit = menuBar()->addMenu("&Edit");
  // The editing entries act on the pane that has the focus, else on the
  // input pane; the report takes only Copy and Select All.
  auto reportFocused = [this] { return focusWidget() == txtOutput_; };
  auto edits = [this, reportFocused](void (QPlainTextEdit::*edit)()) {
    return [this, reportFocused, edit] {
      if (!reportFocused()) (txtInfo_->*edit)();
    };
  };
  add(edit, "&Undo", QKeySequence::Undo, edits(&QPlainTextEdit::undo));
  add(edit, "&Redo", QKeySequence::Redo, edits(&QPlainTextEdit::redo));
  edit->addSeparator();
  add(edit, "Cu&t", QKeySequence::Cut, edits(&QPlainTextEdit::cut));
  add(edit, "&Copy", QKeySequence::Copy, [this, reportFocused] {
    if (reportFocused()) txtOutput_->Copy();
    else txtInfo_->copy();
  });
  add(edit, "&Paste", QKeySequence::Paste, edits(&QPlainTextEdit::paste));
  add(edit, "Select &All", QKeySequence::SelectAll, [this, reportFocused] {
    if (reportFocused()) txtOutput_->SelectAll();
    else txtInfo_->selectAll();
  });
  edit->addSeparator();
  add(edit, "Clear &Input", {}, [this] { ClearInput(); });
  add(edit, "Clear &Output", {}, [this] { cmdClearOut_->click(); });
  // The shortcuts belong to the panes themselves; the menu shows them.
  for (QAction* a : edit->actions()) a->setShortcutContext(Qt::WidgetShortcut);

  QMenu* run = menuBar()->addMenu("&Run");
  run->addAction(processAction_);
  idleActions_.push_back(processAction_);
  run->addAction(stopAction_);

  QMenu* view = menuBar()->addMenu("&View");
  add(view, "&Map Plot", {}, [this] { ShowMapPlot(); });
  add(view, "Show &Points", {}, [this] { ShowPoints(); });
  add(view, "Station &Ticks...", {}, [this] { AskStationTicks(); });
  add(view, "Command &Table", QKeySequence(Qt::Key_F1), [this] { ShowHelp(); });

  QMenu* help = menuBar()->addMenu("&Help");
  add(help, "&User's Guide", {}, [this] { ShowGuide(); });
  add(help, "&About Vantrel", {}, [this] { ShowAbout(); });
}

void MainWindow::ConnectControls() {
  connect(cmdClear_, &QPushButton::clicked, this, &MainWindow::ClearInput);
  connect(cmdClearOut_, &QPushButton::clicked, this, [this] {
    pendingReport_.clear();
    txtOutput_->Clear();
    txtInfo_->setFocus();
  });
  connect(txtInfo_->document(), &QTextDocument::contentsChanged, this, [this] { paneText_.reset(); });
  connect(cmdImport_, &QPushButton::clicked, this, &MainWindow::Import);
  connect(cmdExport_, &QPushButton::clicked, this, &MainWindow::Export);
  connect(cmdHelp_, &QPushButton::clicked, this, &MainWindow::ShowHelp);
  connect(cmdShow_, &QPushButton::clicked, this, &MainWindow::ShowPoints);
  connect(cmdProcess_, &QPushButton::clicked, this, &MainWindow::Process);
  connect(cmdStop_, &QPushButton::clicked, this, &MainWindow::Stop);

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

void MainWindow::FitToScreen() {
  QRect screen = this->screen()->availableGeometry();
  TwipScale twips = TwipScale::Drawing(*this);
  resize(screen.width() - twips.Pixels(kScreenSpareWidth), screen.height() - twips.Pixels(kScreenSpareHeight));
  move(screen.left() + twips.Pixels(kWindowLeft), screen.top() + twips.Pixels(kWindowTop));
}

// ---- Remembered settings ----------------------------------------------------

std::unique_ptr<QSettings> MainWindow::RememberedSettings() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
  return std::make_unique<QSettings>(QDir(folder).filePath("vantrel.ini"), QSettings::IniFormat);
}

void MainWindow::RestoreSettings() {
  std::unique_ptr<QSettings> remembered = RememberedSettings();
  if (remembered->contains("geometry")) restoreGeometry(remembered->value("geometry").toByteArray());
  if (remembered->contains("splitter")) splitter_->restoreState(remembered->value("splitter").toByteArray());
  const std::pair<QCheckBox*, const char*> boxes[] = {
      {chkShowCenters_, "showCenters"}, {chkShowPtNos_, "showPointNumbers"}, {chkShowPts_, "showPoints"},
      {chkIODefault_, "ioDefault"},     {chkDisplay_, "display"}};
  for (const auto& [box, key] : boxes) box->setChecked(remembered->value(key, box->isChecked()).toBool());
  double ticks = remembered->value("stationTicks", session_.plot.StationTicks).toDouble();
  if (ticks >= 0 && ticks <= 1e6) session_.plot.StationTicks = ticks;
  recentFiles_ = remembered->value("recentFiles").toStringList();
  FillRecentMenu();

  QString folder = settings_.workingFolder;
  if (folder.isEmpty()) folder = remembered->value("workingFolder").toString();
  if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
    folder = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath("Vantrel");
    QDir().mkpath(folder);
  }
  settings_.workingFolder = QDir(folder).absolutePath();
  session_.files.ProgramFolder = QDir::toNativeSeparators(settings_.workingFolder).toStdString();
  folderLabel_->setText(QDir::toNativeSeparators(settings_.workingFolder));
}

void MainWindow::ApplyCommandLine() {
  if (settings_.project) txtProject_->setText(*settings_.project);
  if (settings_.ioDefault) chkIODefault_->setChecked(*settings_.ioDefault);
  if (settings_.display) chkDisplay_->setChecked(*settings_.display);
  if (settings_.spoolName) {
    txtSpoolFile_->setText(*settings_.spoolName);
    chkSpool_->setChecked(true);
  }
}

void MainWindow::RememberSettings() {
  std::unique_ptr<QSettings> remembered = RememberedSettings();
  remembered->setValue("geometry", saveGeometry());
  remembered->setValue("splitter", splitter_->saveState());
  remembered->setValue("showCenters", chkShowCenters_->isChecked());
  remembered->setValue("showPointNumbers", chkShowPtNos_->isChecked());
  remembered->setValue("showPoints", chkShowPts_->isChecked());
  remembered->setValue("ioDefault", chkIODefault_->isChecked());
  remembered->setValue("display", chkDisplay_->isChecked());
  remembered->setValue("stationTicks", session_.plot.StationTicks);
}

void MainWindow::LoadReference() {
  std::string path = settings_.referenceFile.isEmpty()
                         ? ChooseReferenceFile(settings_.workingFolder.toStdString(),
                                               QCoreApplication::applicationDirPath().toStdString())
                         : settings_.referenceFile.toStdString();
  std::string problem = LoadCommandReference(path, session_.reference);
  // Told once the window is on the screen; the rows read so far stay usable.
  if (!problem.empty()) QTimer::singleShot(0, this, [this, problem] { InfoBox(problem); });
  if (help_ != nullptr) help_->Fill(1);
}

QString MainWindow::WorkingFolder() const { return settings_.workingFolder; }

void MainWindow::ChooseWorkingFolder() {
  QString folder = QFileDialog::getExistingDirectory(this, "Working Folder", settings_.workingFolder);
  if (!folder.isEmpty()) SetWorkingFolder(folder);
}

void MainWindow::SetWorkingFolder(const QString& folder) {
  settings_.workingFolder = QDir(folder).absolutePath();
  session_.files.ProgramFolder = QDir::toNativeSeparators(settings_.workingFolder).toStdString();
  folderLabel_->setText(QDir::toNativeSeparators(settings_.workingFolder));
  RememberedSettings()->setValue("workingFolder", settings_.workingFolder);
  if (settings_.referenceFile.isEmpty()) LoadReference();
}

// ---- Keys and closing -------------------------------------------------------

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtInfo_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    // The keypad's Enter is Enter.
    Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (enter && modifiers == Qt::ControlModifier) {
      Process();
      return true;
    }
    // Enter shows the usage of the code before the caret; the pane still
    // takes the line break.
    if (enter && modifiers == Qt::NoModifier && !running_) ShowUsage();
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // A run is stopped first; the window closes when it has ended.
  if (running_) {
    session_.StopRequested = true;
    closeAfterRun_ = true;
    event->ignore();
    return;
  }
  if (!MaybeSaveBeforeClosing()) {
    event->ignore();
    return;
  }
  RememberSettings();
  RemoveRecoveryCopy();
  if (plot_ != nullptr) plot_->close();
  if (help_ != nullptr) help_->close();
  event->accept();
}

// ---- Running the pane -------------------------------------------------------

void MainWindow::SetRunning(bool running) {
  running_ = running;
  for (QAction* a : idleActions_) a->setEnabled(!running);
  for (QWidget* w : idleWidgets_) w->setEnabled(!running);
  // The run reads its own copy of the pane; the pane waits for it to end.
  txtInfo_->setReadOnly(running);
  cmdStop_->setEnabled(running);
  stopAction_->setEnabled(running);
  recentMenu_->setEnabled(!running && !recentFiles_.isEmpty());
}

void MainWindow::Process() {
  // Input that arrives during a run (a click, Ctrl+Return) reaches this
  // point while the run is in progress and starts nothing.
  if (running_) return;
  SetRunning(true);
  printMessage_.clear();
  statusBar()->showMessage("Processing...");
  progressClock_.start();
  Session::BatchEnd end;
  try {
    // A copy: nothing the run lets through may pull the text from under it.
    std::string pane = PaneText();
    end = session_.RunBatch(pane);
  } catch (const std::bad_alloc&) {
    // Memory ran out part way: the run stops, the window and what the lines
    // before computed stay.
    InfoBox("Out of memory: the run was stopped; the points and registers computed so far are kept");
  }
  FlushReport();
  QString status = printMessage_.isEmpty() ? QStringLiteral("Ready") : printMessage_;
  if (end.stopped) status = QStringLiteral("Stopped before line %1").arg(end.linesRead + 1);
  statusBar()->showMessage(status);
  SetRunning(false);
  SaveRecoveryCopy();
  if (closeAfterRun_) {
    closeAfterRun_ = false;
    QTimer::singleShot(0, this, &QWidget::close);
  }
}

void MainWindow::Stop() {
  if (running_) session_.StopRequested = true;
}

void MainWindow::BatchProgress(size_t done, size_t total) {
  if (progressClock_.elapsed() < kProgressIntervalMs) return;
  progressClock_.restart();
  FlushReport();
  statusBar()->showMessage(QStringLiteral("Processing... %1 %").arg(total == 0 ? 100 : done * 100 / total));
  // Input is taken now, not after the run: Stop works, and every control
  // that would start or change a run is disabled until the run ends.
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// ---- Buttons and views ------------------------------------------------------

void MainWindow::ShowPoints() { ShowAllPoints(session_); }

// The feet between the station ticks of an alignment on the map; 0 draws
// none.
void MainWindow::AskStationTicks() {
  bool ok = false;
  double interval = QInputDialog::getDouble(this, "Station Ticks", "Feet between station ticks on the map (0: none)",
                                            session_.plot.StationTicks, 0, 1e6, 3, &ok);
  if (ok) session_.plot.StationTicks = interval;
}

void MainWindow::ShowMapPlot() {
  PlotWindow();
  plot_->show();
  plot_->raise();
}

void MainWindow::ShowHelp() {
  if (help_ == nullptr) {
    help_ = new HelpTableWindow(session_.reference, this);
    connect(help_, &HelpTableWindow::CodeChosen, this, &MainWindow::InsertCode);
    PlaceBeside(help_);
  }
  help_->show();
  help_->raise();
  help_->activateWindow();
}

void MainWindow::InsertCode(const QString& code) {
  // The code goes on a line of its own at the caret.
  QTextCursor caret = txtInfo_->textCursor();
  if (!caret.block().text().isEmpty()) {
    caret.movePosition(QTextCursor::EndOfBlock);
    caret.insertText("\n");
  }
  caret.insertText(code);
  txtInfo_->setTextCursor(caret);
  ShowUsage();
}

QRect BesideMainWindow(const QRect& main, const QSize& size, const QRect& screen) {
  int rightRoom = screen.right() - main.right() - kBesideGap;
  int leftRoom = main.left() - screen.left() - kBesideGap;
  int top = std::clamp(main.top(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - size.height()));
  int rightLeft = main.right() + 1 + kBesideGap;
  if (size.width() <= rightRoom) return {QPoint(rightLeft, top), size};
  if (size.width() <= leftRoom) return {QPoint(main.left() - kBesideGap - size.width(), top), size};
  // Narrowed into the wider side when that leaves a usable window.
  if (std::max(rightRoom, leftRoom) >= kNarrowestBeside) {
    if (rightRoom >= leftRoom) return {QPoint(rightLeft, top), QSize(rightRoom, size.height())};
    return {QPoint(screen.left(), top), QSize(leftRoom, size.height())};
  }
  // No room at all: at the screen's right edge, over the output pane
  // rather than the input pane on the left.
  return {QPoint(std::max(screen.left(), screen.right() + 1 - size.width()), top), size};
}

void MainWindow::PlaceBeside(QWidget* window) {
  QRect place = BesideMainWindow(frameGeometry(), window->frameGeometry().size(), screen()->availableGeometry());
  // The frame's decoration is outside the widget's own size.
  QSize decoration = window->frameGeometry().size() - window->size();
  window->resize(place.size() - decoration);
  window->move(place.topLeft());
}

void MainWindow::ClearInput() {
  // Undoable, unlike clear().
  QTextCursor all(txtInfo_->document());
  all.select(QTextCursor::Document);
  all.removeSelectedText();
  txtInfo_->setFocus();
}

void MainWindow::Import() {
  std::string pane = PaneText();
  size_t before = pane.size();
  std::string name = ImportCommandFile(session_, pane);
  AppendToPane(pane.substr(before));
  AddRecentFile(name);
}

void MainWindow::ImportAtStart(const QString& path) { ImportRecent(QFileInfo(path).absoluteFilePath()); }

void MainWindow::ImportRecent(const QString& path) {
  std::string pane = PaneText();
  size_t before = pane.size();
  std::string name = ImportCommandFile(session_, pane, path.toStdString());
  AppendToPane(pane.substr(before));
  AddRecentFile(name);
  if (!name.empty() && before == 0) savedPane_ = PaneText();  // the pane is the file on disk
}

void MainWindow::Export() {
  std::string pane = PaneText();
  std::string name = ExportCommandFile(session_, pane);
  if (!name.empty()) savedPane_ = pane;
  AddRecentFile(name);
}

void MainWindow::AddRecentFile(const std::string& path) {
  if (path.empty()) return;
  QString file = QString::fromStdString(path);
  recentFiles_.removeAll(file);
  recentFiles_.prepend(file);
  while (recentFiles_.size() > kRecentFiles) recentFiles_.removeLast();
  RememberedSettings()->setValue("recentFiles", recentFiles_);
  FillRecentMenu();
}

void MainWindow::FillRecentMenu() {
  recentMenu_->clear();
  for (const QString& file : recentFiles_)
    recentMenu_->addAction(QDir::toNativeSeparators(file), this, [this, file] { ImportRecent(file); });
  recentMenu_->setEnabled(!running_ && !recentFiles_.isEmpty());
}

void MainWindow::ShowUsage() {
  QString text = txtInfo_->toPlainText();
  // The session counts the pane's characters as bytes of its UTF-8 text.
  size_t caret = text.left(txtInfo_->textCursor().position()).toStdString().size();
  std::optional<std::string> usage = session_.UsageForEnter(text.toStdString(), caret);
  // A line that is no code line clears the usage of the one before.
  lblInfo_->setText(usage ? FromCrLf(*usage) : QString());
}

void MainWindow::PrintOutput() {
  FlushReport();
  QString text = txtOutput_->HasSelection() ? txtOutput_->SelectedText() : txtOutput_->Text();
  PrintReport(this, text, txtProject_->text(), settings_.workingFolder);
}

void MainWindow::ShowGuide() {
  QString guide = UserGuidePath();
  if (guide.isEmpty()) InfoBox("The user's guide (guide.md) is not installed with the program");
  else QDesktopServices::openUrl(QUrl::fromLocalFile(guide));
}

void MainWindow::ShowAbout() {
  QMessageBox::about(this, "About Vantrel",
                     "Vantrel — coordinate geometry for land surveyors.\n\n"
                     "Type command lines in the Input pane and press Process (Ctrl+Return).");
}

// ---- Sessions ---------------------------------------------------------------

void MainWindow::MarkSaved(bool paneToo) {
  savedPoints_ = session_.points;
  savedRegisters_ = session_.registers;
  if (paneToo) savedPane_ = PaneText();
}

bool MainWindow::HasUnsavedWork() const {
  return !(session_.points == savedPoints_) || !(session_.registers == savedRegisters_) || PaneText() != savedPane_;
}

bool MainWindow::SaveSession() {
  std::string name = sessionFile_.empty() ? PromptFileName(session_, "", kSessionExtension) : sessionFile_;
  if (name.empty()) return false;
  if (!SaveTextFile(session_, name, SessionFileText(session_, PaneText()))) return false;
  sessionFile_ = name;
  MarkSaved(true);
  statusBar()->showMessage(QString::fromStdString("Session saved in " + name));
  return true;
}

void MainWindow::OpenSession() {
  if (!MaybeSaveBeforeClosing()) return;
  std::string name = PromptFileName(session_, "", kSessionExtension);
  if (name.empty()) return;
  std::optional<std::string> text = ReadTextFile(session_, name);
  if (!text) return;
  std::string pane;
  std::string problem = ReadSessionFile(*text, session_, pane);
  if (!problem.empty()) {
    InfoBox(FileErrorText(name, problem));
    return;
  }
  txtInfo_->setPlainText(QString::fromStdString(pane));
  ShowSessionInControls();
  sessionFile_ = name;
  MarkSaved(true);
  statusBar()->showMessage(QString::fromStdString("Session opened from " + name));
}

void MainWindow::ShowSessionInControls() {
  const std::pair<QCheckBox*, bool> boxes[] = {
      {chkShowCenters_, session_.plot.ShowCenters}, {chkShowPtNos_, session_.plot.ShowPointNumbers},
      {chkShowPts_, session_.plot.ShowPoints},      {chkIODefault_, session_.files.IODefault},
      {chkDisplay_, session_.Display},              {chkSpool_, session_.files.SpoolOn}};
  for (const auto& [box, on] : boxes) box->setChecked(on);
  txtProject_->setText(QString::fromStdString(session_.files.ProjectName));
  txtSpoolFile_->setText(QString::fromStdString(session_.files.SpoolFileText));
  ChangeSpoolName(session_);
}

bool MainWindow::MaybeSaveBeforeClosing() {
  if (!HasUnsavedWork()) return true;
  FlushReport();
  switch (dialogs_.AskSaveDiscardCancel("Save the session before closing?")) {
    case SaveChoice::Save:
      return SaveSession();
    case SaveChoice::Discard:
      return true;
    case SaveChoice::Cancel:
      break;
  }
  return false;
}

// ---- The recovery copy ------------------------------------------------------

QString MainWindow::RecoveryPath() const {
  QString folder = settings_.dataFolder.isEmpty()
                       ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                       : settings_.dataFolder;
  QDir().mkpath(folder);
  return QDir(folder).filePath("recovery.vsn");
}

void MainWindow::OfferRecovery() {
  // One window at a time owns the copy; a second one started beside it
  // neither offers nor writes one.
  QString path = RecoveryPath();
  recoveryLock_ = std::make_unique<QLockFile>(path + ".lock");
  if (!recoveryLock_->tryLock(0)) {
    recoveryLock_.reset();
    return;
  }
  if (!QFileInfo::exists(path)) return;
  // Read as every other file is: a FIFO or device put in its place, or a
  // copy past the size limit, is reported, not waited on or read whole.
  std::string reason;
  std::optional<std::string> copy = ReadWholeFile(path.toStdString(), reason);
  if (!copy) {
    InfoBox(FileErrorText(path.toStdString(), reason));
    return;
  }
  const std::string& text = *copy;
  if (!AskYesNo("Vantrel did not close cleanly last time. Restore the session it was working on?")) {
    // Kept aside, not lost: the next recovery copy would replace it.
    QFile::remove(path + ".declined");
    QFile::rename(path, path + ".declined");
    return;
  }
  std::string pane;
  std::string problem = ReadSessionFile(text, session_, pane);
  if (!problem.empty()) {
    InfoBox(FileErrorText(path.toStdString(), problem));
    return;
  }
  txtInfo_->setPlainText(QString::fromStdString(pane));
  ShowSessionInControls();
  statusBar()->showMessage("Session restored from the recovery copy");
}

void MainWindow::SaveRecoveryCopy() {
  if (recoveryLock_ == nullptr) return;
  std::string pane = PaneText();
  QSaveFile file(RecoveryPath());
  std::string text = SessionFileText(session_, pane);
  if (file.open(QIODevice::WriteOnly) &&
      file.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size()) &&
      file.commit()) {
    recoveredPane_ = pane;
    return;
  }
  statusBar()->showMessage("The recovery copy could not be written: " + file.errorString());
}

void MainWindow::RemoveRecoveryCopy() {
  if (recoveryLock_ == nullptr) return;
  QFile::remove(RecoveryPath());
  recoveryLock_.reset();
}

// ---- The panes and the user's side ------------------------------------------

const std::string& MainWindow::PaneText() const {
  if (!paneText_) paneText_ = txtInfo_->toPlainText().toStdString();
  return *paneText_;
}

void MainWindow::AppendToPane(const std::string& text) {
  if (text.empty()) return;
  QTextCursor end(txtInfo_->document());
  end.movePosition(QTextCursor::End);
  end.insertText(FromCrLf(text));
}

void MainWindow::ShowReportLine(const std::string& line) {
  pendingReport_.append("   ").append(line).append("\n");
}

void MainWindow::FlushReport() {
  if (pendingReport_.empty()) return;
  txtOutput_->AppendLines(pendingReport_);
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
  printMessage_ = PrintPages(printer_.TakeDocument(), settings_.workingFolder, txtProject_->text(),
                             settings_.usePrinters);
  statusBar()->showMessage(printMessage_);
}

PlotSurface* MainWindow::PlotWindow() {
  if (plot_ == nullptr) {
    plot_ = new MapPlotWindow(this);
    plot_->SetDocumentSource([this] {
      return MapPlotWindow::Document{settings_.workingFolder, txtProject_->text(), &session_.plot.drawing};
    });
    PlaceBeside(plot_);
  }
  return plot_;
}

}  // namespace vantrel::ui
