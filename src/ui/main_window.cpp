#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QStackedLayout>
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
#include "ui/guide_window.h"
#include "ui/help_window.h"
#include "ui/plot_window.h"
#include "ui/printing.h"
#include "ui/recovery_copy.h"
#include "ui/user_guide.h"
#include "ui/report_pane.h"

namespace vantrel::ui {
namespace {

// Frame sizes in twips; the controls inside keep their places in them.
constexpr int kMargin = 120;
constexpr int kInputPaneWidth = 4800;
constexpr int kSideWidth = 4095;
constexpr int kTitleHeight = 1455;
constexpr int kActionsHeight = 4335;
constexpr int kOptionsHeight = 3705;
constexpr int kOutputMinWidth = 3000;
constexpr int kInputFrameMinHeight = 9135;
constexpr int kUsageLineHeight = 975;
// Start-up: the window leaves this much of the screen free.
constexpr int kScreenSpareWidth = 400;
constexpr int kScreenSpareHeight = 1300;
constexpr int kWindowLeft = 200;
constexpr int kWindowTop = 500;
constexpr int kBesideGap = 8;  // pixels between the main window and one opened beside it
constexpr int kNarrowestBeside = 240;  // pixels: a narrower window beside it is of no use
constexpr int kInputColumns = 60;  // characters of input in view at the first start
constexpr int kSplitterHandle = 7;  // pixels

constexpr int kProgressIntervalMs = 100;  // status bar and painting during a run
constexpr int kTitleDelayMs = 300;  // the modified mark after typing stops
constexpr int kOutputPaneLines = 200000;  // older report lines leave the pane
constexpr int kRecentFiles = 8;
constexpr int kShownLineText = 40;  // characters of a line a message quotes

QString FromCrLf(const std::string& text) {
  return QString::fromStdString(text).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

// A pane line as a message quotes it: shortened, its end marked.
std::string LineQuote(std::string_view text) {
  QString line = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).trimmed();
  if (line.size() > kShownLineText) line = line.left(kShownLineText - 1) + QChar(0x2026);
  return line.toStdString();
}

// Messages and questions of a run name the line they came from.
std::string WithLine(const std::string& message, const Session::InputLine& line) {
  if (line.number == 0) return message;
  return message + "\n\nLine " + std::to_string(line.number) + ": " + LineQuote(line.text);
}

// A splitter whose handle shows: a shaded bar with a grip in its middle.
class GripHandle : public QSplitterHandle {
 public:
  GripHandle(Qt::Orientation orientation, QSplitter* parent) : QSplitterHandle(orientation, parent) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Mid));
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(QPalette::Dark));
    QPoint centre = rect().center();
    for (int k = -2; k <= 2; ++k) painter.drawEllipse(QPoint(centre.x(), centre.y() + k * 6), 1, 1);
  }
};

class GripSplitter : public QSplitter {
 public:
  using QSplitter::QSplitter;

 protected:
  QSplitterHandle* createHandle() override { return new GripHandle(orientation(), this); }
};

}  // namespace

MainWindow::MainWindow(UserSide& dialogs, const Settings& settings, QWidget* parent)
    : QMainWindow(parent),
      dialogs_(dialogs),
      settings_(settings),
      session_(*this),
      document_(session_),
      form_(TwipScale::Form(*this)) {
  setObjectName("frmVantrel");
  setAcceptDrops(true);

  CreateControls();
  CreateActions();
  CreateMenus();
  ConnectControls();
  FitToScreen();
  RestoreSettings();
  ApplyCommandLine();
  LoadReference();
  document_.MarkSaved(PaneText());
  SetRunning(false);
  ShowTitle();

  recovery_ = new RecoveryCopy(
      settings_.dataFolder, [this] { return document_.RecoveryDue(PaneText()); }, [this] { WriteRecoveryCopy(); },
      this);
  inputPane_->setFocus();
}

MainWindow::~MainWindow() = default;

// ---- Building the window ----------------------------------------------------

void MainWindow::CreateControls() {
  QGroupBox* title = CreateTitleFrame();
  QGroupBox* actions = CreateActionsFrame();
  QGroupBox* options = CreateOptionsFrame();
  idleWidgets_ = {title,        options,           clearInputButton_, clearOutputButton_, importButton_,
                  exportButton_, helpButton_, showPointsButton_, processButton_};

  // The middle column scrolls when the window is lower than its frames, so
  // the window fits a small or scaled screen.
  auto* sideColumn = new QWidget;
  auto* sideLayout = new QVBoxLayout(sideColumn);
  sideLayout->setContentsMargins(0, 0, 0, 0);
  for (QWidget* frame : {static_cast<QWidget*>(title), static_cast<QWidget*>(actions), static_cast<QWidget*>(options)})
    sideLayout->addWidget(frame);
  sideLayout->addStretch(1);
  auto* sideScroll = new QScrollArea;
  sideScroll->setObjectName("sideColumn");
  sideScroll->setWidget(sideColumn);
  sideScroll->setWidgetResizable(true);
  sideScroll->setFrameShape(QFrame::NoFrame);
  sideScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  sideScroll->setFixedWidth(form_.Pixels(kSideWidth) + sideScroll->verticalScrollBar()->sizeHint().width());

  // Input on the left, output on the right, the frames between them; the
  // surveyor drags the splitter to share the width.
  auto* right = new QWidget;
  auto* rightLayout = new QHBoxLayout(right);
  rightLayout->setContentsMargins(0, 0, 0, 0);
  rightLayout->addWidget(sideScroll);
  rightLayout->addWidget(CreateOutputColumn(), 1);
  splitter_ = new GripSplitter(Qt::Horizontal, this);
  splitter_->setObjectName("splitter");
  splitter_->setHandleWidth(kSplitterHandle);
  splitter_->setChildrenCollapsible(false);
  splitter_->addWidget(CreateInputFrame());
  splitter_->addWidget(right);
  splitter_->setStretchFactor(1, 1);
  splitter_->setContentsMargins(form_.Pixels(kMargin), form_.Pixels(kMargin), form_.Pixels(kMargin),
                                form_.Pixels(kMargin));
  setCentralWidget(splitter_);
  CreateMessagesPanel();

  folderLabel_ = new QLabel;
  folderLabel_->setObjectName("workingFolder");
  statusBar()->addPermanentWidget(folderLabel_);
}

QGroupBox* MainWindow::CreateInputFrame() {
  // The usage line over the input pane.
  inputFrame_ = new QGroupBox("Input");
  inputFrame_->setObjectName("fraInput");
  usageLine_ = new QLabel(inputFrame_);
  usageLine_->setObjectName("lblInfo");
  usageLine_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  usageLine_->setWordWrap(true);
  usageLine_->setMinimumHeight(form_.Pixels(kUsageLineHeight) / 2);
  usageLine_->setToolTip("The data line of the command code typed last (press Enter after a code)");
  // Until a code is typed the line says what it is for, in the hint's grey.
  usageHint_ = new QLabel(kUsageHint, inputFrame_);
  usageHint_->setObjectName("lblUsageHint");
  usageHint_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  usageHint_->setWordWrap(true);
  QPalette grey = usageHint_->palette();
  grey.setColor(QPalette::WindowText, grey.color(QPalette::PlaceholderText));
  usageHint_->setPalette(grey);
  auto* usageBox = new QWidget(inputFrame_);
  usageStack_ = new QStackedLayout(usageBox);
  usageStack_->setContentsMargins(0, 0, 0, 0);
  usageStack_->addWidget(usageHint_);
  usageStack_->addWidget(usageLine_);
  inputPane_ = new QPlainTextEdit(inputFrame_);
  inputPane_->setObjectName("txtInfo");
  inputPane_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  inputPane_->setPlaceholderText(kInputHint);
  // A wrapped data line would look like two lines of the command language.
  inputPane_->setLineWrapMode(QPlainTextEdit::NoWrap);
  inputPane_->setTabChangesFocus(true);
  inputPane_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  inputPane_->setMinimumWidth(form_.Pixels(kInputPaneWidth) / 2);
  inputPane_->installEventFilter(this);
  inputPane_->viewport()->installEventFilter(this);
  auto* layout = new QVBoxLayout(inputFrame_);
  layout->addWidget(usageBox);
  layout->addWidget(inputPane_, 1);
  inputFrame_->setMinimumHeight(form_.Pixels(kInputFrameMinHeight) / 3);
  return inputFrame_;
}

namespace {

// A frame of the middle column with its controls at their twip places.
class FormFrame {
 public:
  FormFrame(const TwipScale& form, const char* name, const char* caption, int height)
      : form_(form), box_(new QGroupBox(caption)) {
    box_->setObjectName(name);
    box_->setFixedSize(form.Pixels(kSideWidth), form.Pixels(height));
  }
  QGroupBox* Box() const { return box_; }
  template <typename Control>
  Control* Place(Control* control, const char* name, int left, int top, int width, int height) {
    control->setObjectName(name);
    control->setGeometry(form_.Rect(left, top, width, height));
    return control;
  }
  QLabel* Label(const char* name, const char* caption, int left, int top, int width, int height) {
    auto* label = Place(new QLabel(caption, box_), name, left, top, width, height);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
  }

 private:
  const TwipScale& form_;
  QGroupBox* box_;
};

}  // namespace

QGroupBox* MainWindow::CreateTitleFrame() {
  FormFrame frame(form_, "fraTitle", "Title", kTitleHeight);
  frame.Label("Label4", "Project Name", 360, 550, 3135, 375);
  projectName_ = frame.Place(new QLineEdit(frame.Box()), "txtProject", 360, 840, 3135, 375);
  return frame.Box();
}

QGroupBox* MainWindow::CreateActionsFrame() {
  FormFrame frame(form_, "fraActions", "Actions", kActionsHeight);
  auto button = [&](const char* name, const char* caption, int left, int top) {
    return frame.Place(new QPushButton(caption, frame.Box()), name, left, top, 1695, 375);
  };
  clearInputButton_ = button("cmdClear", "Clear Input", 240, 360);
  clearOutputButton_ = button("cmdClearOut", "Clear Output", 240, 840);
  importButton_ = button("cmdImport", "Import", 240, 1360);
  exportButton_ = button("cmdExport", "Export", 240, 1860);
  helpButton_ = button("cmdHelp", "Help", 240, 2360);
  showPointsButton_ = button("cmdShow", "Show Points", 240, 2860);
  processButton_ = button("cmdProcess", "Process", 240, 3360);
  processButton_->setToolTip("Run the input pane (Ctrl+Return)");
  QFont bold = processButton_->font();
  bold.setBold(true);
  processButton_->setFont(bold);
  stopButton_ = button("cmdStop", "Stop", 2055, 3360);
  stopButton_->setToolTip("Stop the run between two lines (Esc)");
  return frame.Box();
}

QGroupBox* MainWindow::CreateOptionsFrame() {
  FormFrame frame(form_, "fraOutput", "I/O Options", kOptionsHeight);
  auto check = [&](const char* name, const char* caption, int top, bool checked) {
    auto* box = frame.Place(new QCheckBox(caption, frame.Box()), name, kMargin, top, kSideWidth - 2 * kMargin, 255);
    box->setChecked(checked);
    return box;
  };
  showCentersBox_ = check("chkShowCenters", "Show Centers", 360, session_.plot.ShowCenters);
  showNumbersBox_ = check("chkShowPtNos", "Show Pt. Nos.", 690, session_.plot.ShowPointNumbers);
  showPointsBox_ = check("chkShowPts", "Show Points", 1020, session_.plot.ShowPoints);
  showCoursesBox_ = check("chkShowCourses", "Show Courses", 1350, session_.plot.ShowCourses);
  showCoursesBox_->setToolTip("Label every line of a map with its bearing and distance, every arc with its curve");
  ioDefaultBox_ = check("chkIODefault", "I/O Default", 1680, session_.files.IODefault);
  displayBox_ = check("chkDisplay", "Display", 2040, session_.Display);
  spoolBox_ = check("chkSpool", "Spool", 2730, session_.files.SpoolOn);
  frame.Label("Label1", "Spool File Name", kMargin, 3010, 1695 - 2 * kMargin, 375);
  spoolName_ = frame.Place(new QLineEdit(frame.Box()), "txtSpoolFile", kMargin, 3230, 1695 - 2 * kMargin, 285);
  return frame.Box();
}

QWidget* MainWindow::CreateOutputColumn() {
  // Read-only: the report is selected and copied, never typed.
  auto* column = new QWidget;
  auto* label = new QLabel("Output", column);
  label->setObjectName("Label9");
  outputPane_ = new ReportPane(kOutputPaneLines, column);
  outputPane_->setObjectName("txtOutput");
  outputPane_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  outputPane_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  outputPane_->setMinimumWidth(form_.Pixels(kOutputMinWidth));
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(label);
  layout->addWidget(outputPane_, 1);
  return column;
}

void MainWindow::CreateMessagesPanel() {
  // The run's messages, each with the pane line it came from; a click goes
  // to the line, Ctrl+C copies the selected messages.
  messageList_ = new QListWidget;
  messageList_->setObjectName("messageList");
  messageList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  messageList_->setWordWrap(true);
  messagesPanel_ = new QDockWidget("Messages", this);
  messagesPanel_->setObjectName("messagesPanel");
  messagesPanel_->setWidget(messageList_);
  messagesPanel_->setAllowedAreas(Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea);
  addDockWidget(Qt::BottomDockWidgetArea, messagesPanel_);
  messagesPanel_->hide();
  auto* copy = new QAction("&Copy Messages", messageList_);
  copy->setShortcut(QKeySequence::Copy);
  copy->setShortcutContext(Qt::WidgetShortcut);
  messageList_->addAction(copy);
  messageList_->setContextMenuPolicy(Qt::ActionsContextMenu);
  connect(copy, &QAction::triggered, this, [this] {
    QStringList lines;
    for (int row = 0; row < messageList_->count(); ++row)
      if (messageList_->item(row)->isSelected() || messageList_->selectedItems().isEmpty())
        lines << messageList_->item(row)->text();
    QApplication::clipboard()->setText(lines.join('\n'));
  });
  connect(messageList_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0 && static_cast<size_t>(row) < messages_.size()) GoToLine(messages_[static_cast<size_t>(row)].line);
  });
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
  commandTableAction_ = action("Command &Table", QKeySequence(Qt::Key_F1), [this] { ShowHelp(); });
}

void MainWindow::CreateMenus() {
  // Every entry but Stop and Quit waits while a run is in progress.
  auto add = [this](QMenu* menu, const QString& text, const QKeySequence& key, auto slot) {
    QAction* a = menu->addAction(text, this, slot);
    if (!key.isEmpty()) a->setShortcut(key);
    idleActions_.push_back(a);
    return a;
  };
  QMenu* file = menuBar()->addMenu("&File");
  add(file, "&Open Session...", QKeySequence::Open, [this] { OpenSession(); });
  add(file, "&Save Session", QKeySequence::Save, [this] { SaveSession(false); });
  add(file, "Save Session &As...", QKeySequence::SaveAs, [this] { SaveSession(true); });
  file->addSeparator();
  add(file, "&Import...", {}, [this] { ImportChosen(); });
  add(file, "Import &Field Data...", {}, [this] { ImportFieldData(); });
  add(file, "&Export...", {}, [this] { Export(); });
  add(file, "&Print Report...", QKeySequence::Print, [this] { PrintOutput(); });
  recentMenu_ = file->addMenu("Recent &Files");
  add(file, "&Working Folder...", {}, [this] { ChooseWorkingFolder(); });
  file->addSeparator();
  // Quit during a run stops it first, then asks, as closing the window does.
  QAction* quit = file->addAction("&Quit", this, [this] { close(); });
  // Ctrl+Q on every desktop (the standard key is empty where Alt+F4 quits).
  quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

  QMenu* edit = menuBar()->addMenu("&Edit");
  // The editing entries act on the pane that has the focus, else on the
  // input pane; the report takes only Copy and Select All.
  auto reportFocused = [this] { return focusWidget() == outputPane_; };
  auto edits = [this, reportFocused](void (QPlainTextEdit::*edit)()) {
    return [this, reportFocused, edit] {
      if (!reportFocused()) (inputPane_->*edit)();
    };
  };
  add(edit, "&Undo", QKeySequence::Undo, edits(&QPlainTextEdit::undo));
  add(edit, "&Redo", QKeySequence::Redo, edits(&QPlainTextEdit::redo));
  edit->addSeparator();
  add(edit, "Cu&t", QKeySequence::Cut, edits(&QPlainTextEdit::cut));
  add(edit, "&Copy", QKeySequence::Copy, [this, reportFocused] {
    if (reportFocused()) outputPane_->Copy();
    else inputPane_->copy();
  });
  add(edit, "&Paste", QKeySequence::Paste, edits(&QPlainTextEdit::paste));
  add(edit, "Select &All", QKeySequence::SelectAll, [this, reportFocused] {
    if (reportFocused()) outputPane_->SelectAll();
    else inputPane_->selectAll();
  });
  edit->addSeparator();
  add(edit, "Clear &Input", {}, [this] { ClearInput(); });
  add(edit, "Clear &Output", {}, [this] { clearOutputButton_->click(); });
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
  view->addAction(commandTableAction_);
  idleActions_.push_back(commandTableAction_);
  QAction* messages = messagesPanel_->toggleViewAction();
  messages->setText("M&essages");
  view->addAction(messages);

  QMenu* help = menuBar()->addMenu("&Help");
  add(help, "&User's Guide", {}, [this] { ShowGuide(); });
  help->addAction(commandTableAction_);
  help->addSeparator();
  add(help, "&About Vantrel", {}, [this] { ShowAbout(); });
}

void MainWindow::ConnectControls() {
  connect(clearInputButton_, &QPushButton::clicked, this, &MainWindow::ClearInput);
  connect(clearOutputButton_, &QPushButton::clicked, this, [this] {
    pendingReport_.clear();
    outputPane_->Clear();
    inputPane_->setFocus();
  });
  titleTimer_ = new QTimer(this);
  titleTimer_->setSingleShot(true);
  titleTimer_->setInterval(kTitleDelayMs);
  connect(titleTimer_, &QTimer::timeout, this, &MainWindow::ShowTitle);
  connect(inputPane_->document(), &QTextDocument::contentsChanged, this, [this] {
    paneText_.reset();
    titleTimer_->start();
  });
  connect(importButton_, &QPushButton::clicked, this, &MainWindow::Import);
  connect(exportButton_, &QPushButton::clicked, this, &MainWindow::Export);
  connect(helpButton_, &QPushButton::clicked, this, &MainWindow::ShowHelp);
  connect(showPointsButton_, &QPushButton::clicked, this, &MainWindow::ShowPoints);
  connect(processButton_, &QPushButton::clicked, this, &MainWindow::Process);
  connect(stopButton_, &QPushButton::clicked, this, &MainWindow::Stop);

  // Every option box shows a setting of the session.
  auto follow = [this](QCheckBox* box, bool& setting) {
    connect(box, &QCheckBox::toggled, this, [&setting](bool on) { setting = on; });
  };
  follow(showCentersBox_, session_.plot.ShowCenters);
  follow(showNumbersBox_, session_.plot.ShowPointNumbers);
  follow(showPointsBox_, session_.plot.ShowPoints);
  follow(showCoursesBox_, session_.plot.ShowCourses);
  follow(ioDefaultBox_, session_.files.IODefault);
  follow(displayBox_, session_.Display);
  follow(spoolBox_, session_.files.SpoolOn);
  connect(projectName_, &QLineEdit::textChanged, this, [this](const QString& text) {
    session_.files.ProjectName = text.toStdString();
    ShowTitle();
  });
  connect(spoolName_, &QLineEdit::textChanged, this,
          [this](const QString& text) { session_.files.SpoolFileText = text.toStdString(); });
  connect(spoolName_, &QLineEdit::editingFinished, this, [this] { ChangeSpoolName(session_); });
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
  if (remembered->contains("splitter")) {
    splitter_->restoreState(remembered->value("splitter").toByteArray());
  } else {
    // The first start: room for a data line of two points and more.
    QFontMetrics fixed(inputPane_->font());
    int input = fixed.horizontalAdvance(QString(kInputColumns, QLatin1Char('0'))) +
                inputPane_->verticalScrollBar()->sizeHint().width() + 4 * form_.Pixels(kMargin);
    splitter_->setSizes({input, std::max(1, width() - input)});
  }
  const std::pair<QCheckBox*, const char*> boxes[] = {
      {showCentersBox_, "showCenters"}, {showNumbersBox_, "showPointNumbers"}, {showPointsBox_, "showPoints"},
      {showCoursesBox_, "showCourses"}, {ioDefaultBox_, "ioDefault"},          {displayBox_, "display"}};
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
  if (settings_.project) projectName_->setText(*settings_.project);
  if (settings_.ioDefault) ioDefaultBox_->setChecked(*settings_.ioDefault);
  if (settings_.display) displayBox_->setChecked(*settings_.display);
  if (settings_.spoolName) {
    spoolName_->setText(*settings_.spoolName);
    spoolBox_->setChecked(true);
  }
}

void MainWindow::RememberSettings() {
  std::unique_ptr<QSettings> remembered = RememberedSettings();
  remembered->setValue("geometry", saveGeometry());
  remembered->setValue("splitter", splitter_->saveState());
  remembered->setValue("showCenters", showCentersBox_->isChecked());
  remembered->setValue("showPointNumbers", showNumbersBox_->isChecked());
  remembered->setValue("showPoints", showPointsBox_->isChecked());
  remembered->setValue("showCourses", showCoursesBox_->isChecked());
  remembered->setValue("ioDefault", ioDefaultBox_->isChecked());
  remembered->setValue("display", displayBox_->isChecked());
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

// ---- Keys, drops and closing ------------------------------------------------

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == inputPane_ && event->type() == QEvent::KeyPress) {
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
  // Files dropped on the input pane are the window's to open, not text.
  if (watched == inputPane_->viewport() && (event->type() == QEvent::DragEnter || event->type() == QEvent::Drop)) {
    auto* drop = static_cast<QDropEvent*>(event);
    if (drop->mimeData()->hasUrls()) {
      if (event->type() == QEvent::DragEnter) dragEnterEvent(static_cast<QDragEnterEvent*>(event));
      else dropEvent(drop);
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  bool files = event->mimeData()->hasUrls() && !running_;
  for (const QUrl& url : event->mimeData()->urls()) files = files && url.isLocalFile();
  if (files) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  event->acceptProposedAction();
  QStringList paths;
  for (const QUrl& url : event->mimeData()->urls()) paths << url.toLocalFile();
  // Opened once the drag has ended, so the questions are not asked inside it.
  QTimer::singleShot(0, this, [this, paths] {
    for (const QString& path : paths) OpenDroppedFile(path);
  });
}

void MainWindow::OpenDroppedFile(const QString& path) {
  if (running_) return;
  QString extension = QFileInfo(path).suffix().toLower();
  if (extension == "cmd") ImportFile(path);
  else if (extension == QLatin1String(kSessionExtension.data())) {
    if (document_.MaySetAside(PaneText(), SessionDocument::SetAside::Opening)) OpenSessionFile(path.toStdString());
  } else if (extension == "csv") ReadPointFile(path, "PNR");
  else if (extension == "xml") ReadPointFile(path, "LXR");
  else if (extension == "rw5" || extension == "gsi" || extension == "jxl") ReadPointFile(path, "RAW");
  else
    InfoBox(QDir::toNativeSeparators(path).toStdString() +
            ": Vantrel opens command files (.cmd), sessions (.vsn), points in CSV (.csv) or LandXML (.xml) "
            "files, and raw field data (.rw5, .gsi, .jxl)");
}

bool MainWindow::FitsDataLine(const std::string& name, const char* code) {
  // The name goes on a data line, where a comma would split it and an
  // apostrophe start a comment.
  if (name.find_first_of(",'") == std::string::npos) return true;
  InfoBox(name + ": a name with a comma or an apostrophe cannot be read this way; rename the file or type " + code +
          " with its name");
  return false;
}

void MainWindow::ReadPointFile(const QString& path, const char* code) {
  std::string name = QDir::toNativeSeparators(path).toStdString();
  if (!FitsDataLine(name, code)) return;
  if (!AskYesNo("Read the points of " + name + " into the store, as " + code + " reads them?")) return;
  RunText(std::string(code) + "\r\n" + name + "\r\n");
}

void MainWindow::ImportFieldData() {
  if (running_) return;
  // RAW tells the format from the file's content, whichever type the
  // dialog showed; its report goes to the output pane like any command's.
  std::string name = ChooseFile({"Import Field Data", FileUse::Read, "raw", session_.files.ProgramFolder});
  if (!name.empty() && FitsDataLine(name, "RAW")) RunText("RAW\r\n" + name + "\r\n");
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // A run is stopped first; the window closes when it has ended.
  if (running_) {
    session_.StopRequested = true;
    closeAfterRun_ = true;
    event->ignore();
    return;
  }
  FlushReport();
  if (!document_.MaySetAside(PaneText(), SessionDocument::SetAside::Closing)) {
    ShowTitle();
    event->ignore();
    return;
  }
  RememberSettings();
  recovery_->Remove();
  for (QWidget* window : {static_cast<QWidget*>(plot_), static_cast<QWidget*>(help_), static_cast<QWidget*>(guide_)})
    if (window != nullptr) window->close();
  event->accept();
}

// ---- Running the pane -------------------------------------------------------

void MainWindow::SetRunning(bool running) {
  running_ = running;
  for (QAction* a : idleActions_) a->setEnabled(!running);
  for (QWidget* w : idleWidgets_) w->setEnabled(!running);
  // The run reads its own copy of the pane; the pane waits for it to end.
  inputPane_->setReadOnly(running);
  stopButton_->setEnabled(running);
  stopAction_->setEnabled(running);
  recentMenu_->setEnabled(!running && !recentFiles_.isEmpty());
}

void MainWindow::Process() {
  // Input that arrives during a run (a click, Ctrl+Return) reaches this
  // point while the run is in progress and starts nothing.
  if (running_) return;
  // A copy: nothing the run lets through may pull the text from under it.
  RunText(PaneText());
}

void MainWindow::RunText(const std::string& text) {
  if (running_) return;
  SetRunning(true);
  printMessage_.clear();
  messages_.clear();
  messageList_->clear();
  MarkMessageLines();
  statusBar()->showMessage("Processing...");
  progressClock_.start();
  Session::BatchEnd end;
  try {
    end = session_.RunBatch(text);
  } catch (const std::bad_alloc&) {
    // Memory ran out part way: the run stops, the window and what the lines
    // before computed stay.
    InfoBox("Out of memory: the run was stopped; the points and registers computed so far are kept");
  }
  FlushReport();
  QString status = printMessage_.isEmpty() ? QStringLiteral("Ready") : printMessage_;
  if (end.stopped) status = QStringLiteral("Stopped before line %1").arg(end.linesRead + 1);
  if (!messages_.empty())
    status += QStringLiteral(" — %1 message%2 (View ▸ Messages)").arg(messages_.size()).arg(messages_.size() == 1 ? "" : "s");
  Tell(status);
  MarkMessageLines();
  if (!messages_.empty()) messagesPanel_->show();
  SetRunning(false);
  WriteRecoveryCopy();
  ShowTitle();
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

// A message of the run: listed with its line, and the line quoted in the
// box so the surveyor knows which one to mend.
void MainWindow::NoteMessage(const std::string& message) {
  const Session::InputLine& line = session_.RunningLine;
  messages_.push_back({line.number, message});
  QString entry = FromCrLf(message).replace('\n', ' ');
  if (line.number > 0) entry = QStringLiteral("Line %1: %2").arg(line.number).arg(entry);
  messageList_->addItem(entry);
}

// Marks every pane line that gave a message of the last run; the marks
// follow the text as it is edited and go at the next run.
void MainWindow::MarkMessageLines() {
  QList<QTextEdit::ExtraSelection> marks;
  QColor shade = QColor(255, 220, 200);
  for (const RunMessage& m : messages_) {
    QTextBlock block = inputPane_->document()->findBlockByNumber(static_cast<int>(m.line) - 1);
    if (m.line == 0 || !block.isValid()) continue;
    QTextEdit::ExtraSelection mark;
    mark.cursor = QTextCursor(block);
    mark.format.setBackground(shade);
    mark.format.setProperty(QTextFormat::FullWidthSelection, true);
    marks << mark;
  }
  inputPane_->setExtraSelections(marks);
}

void MainWindow::GoToLine(size_t line) {
  QTextBlock block = inputPane_->document()->findBlockByNumber(static_cast<int>(line) - 1);
  if (line == 0 || !block.isValid()) return;
  QTextCursor caret(block);
  caret.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  inputPane_->setTextCursor(caret);
  inputPane_->centerCursor();
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
    connect(help_, &HelpTableWindow::GuideAsked, this, [this](const QString& code) { ShowGuide(code); });
    PlaceBeside(help_);
  }
  help_->show();
  help_->raise();
  help_->activateWindow();
}

void MainWindow::ShowGuide(const QString& code) {
  if (guide_ == nullptr) {
    QString path = UserGuidePath();
    if (path.isEmpty()) {
      InfoBox("The user's guide (guide.md) is not installed with the program");
      return;
    }
    guide_ = new GuideWindow(path, this);
    PlaceBeside(guide_);
  }
  if (!code.isEmpty()) guide_->ShowCommand(code);
  guide_->show();
  guide_->raise();
  guide_->activateWindow();
}

void MainWindow::InsertCode(const QString& code) {
  // The code goes on a line of its own at the caret.
  QTextCursor caret = inputPane_->textCursor();
  if (!caret.block().text().isEmpty()) {
    caret.movePosition(QTextCursor::EndOfBlock);
    caret.insertText("\n");
  }
  caret.insertText(code);
  inputPane_->setTextCursor(caret);
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
  QTextCursor all(inputPane_->document());
  all.select(QTextCursor::Document);
  all.removeSelectedText();
  inputPane_->setFocus();
}

void MainWindow::Import() {
  // The button keeps the file-name rule: with I/O Default, the project's
  // command file.
  std::string pane = PaneText();
  size_t before = pane.size();
  std::string name = ImportCommandFile(session_, pane);
  AppendToPane(pane.substr(before));
  AddRecentFile(name);
}

void MainWindow::ImportChosen() {
  // The menu always offers the choice, starting at the name the rule gives.
  std::string start = session_.files.ProgramFolder;
  if (session_.files.IODefault && !TrimBlanks(session_.files.ProjectName).empty())
    start = QDir(settings_.workingFolder).filePath(QString::fromStdString(session_.files.ProjectName).trimmed() + ".cmd")
                .toStdString();
  std::string name = ChooseFile({"Import Command File", FileUse::Read, "cmd", start});
  if (!name.empty()) ImportFile(QString::fromStdString(name));
}

void MainWindow::ImportAtStart(const QString& path) { ImportFile(QFileInfo(path).absoluteFilePath()); }

void MainWindow::ImportFile(const QString& path) {
  std::string pane = PaneText();
  size_t before = pane.size();
  std::string name = ImportCommandFile(session_, pane, path.toStdString());
  AppendToPane(pane.substr(before));
  AddRecentFile(name);
  if (!name.empty() && before == 0) document_.MarkPaneSaved(PaneText());  // the pane is the file on disk
  ShowTitle();
}

void MainWindow::Export() {
  std::string pane = PaneText();
  std::string name = ExportCommandFile(session_, pane);
  if (!name.empty()) document_.MarkPaneSaved(pane);
  AddRecentFile(name);
  ShowTitle();
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
    recentMenu_->addAction(QDir::toNativeSeparators(file), this, [this, file] { ImportFile(file); });
  recentMenu_->setEnabled(!running_ && !recentFiles_.isEmpty());
}

void MainWindow::ShowUsage() {
  QString text = inputPane_->toPlainText();
  // The session counts the pane's characters as bytes of its UTF-8 text.
  size_t caret = text.left(inputPane_->textCursor().position()).toStdString().size();
  std::optional<std::string> usage = session_.UsageForEnter(text.toStdString(), caret);
  // A line that is no code line clears the usage of the one before.
  usageLine_->setText(usage ? FromCrLf(*usage) : QString());
  usageStack_->setCurrentWidget(usage || !text.isEmpty() ? static_cast<QWidget*>(usageLine_) : usageHint_);
}

void MainWindow::PrintOutput() {
  FlushReport();
  QString text = outputPane_->HasSelection() ? outputPane_->SelectedText() : outputPane_->Text();
  PrintReport(this, text, projectName_->text(), settings_.workingFolder);
}

void MainWindow::ShowAbout() {
  QMessageBox::about(this, "About Vantrel",
                     QStringLiteral("Vantrel %1 — coordinate geometry for land surveyors.\n\n"
                                    "Type command lines in the Input pane and press Process (Ctrl+Return).")
                         .arg(VANTREL_VERSION));
}

void MainWindow::Tell(const QString& message) { statusBar()->showMessage(message, settings_.statusMessageMs); }

// ---- Sessions ---------------------------------------------------------------

bool MainWindow::SaveSession(bool askName) {
  FlushReport();
  if (!document_.Save(PaneText(), askName)) return false;
  Tell(QString::fromStdString("Session saved in " + document_.FileName()));
  ShowTitle();
  return true;
}

void MainWindow::OpenSession() {
  FlushReport();
  if (!document_.MaySetAside(PaneText(), SessionDocument::SetAside::Opening)) return;
  // The menu always offers the choice, starting at the name the rule gives.
  std::string start = document_.FileName();
  if (start.empty() && session_.files.IODefault && !TrimBlanks(session_.files.ProjectName).empty())
    start = QDir(settings_.workingFolder).filePath(QString::fromStdString(session_.files.ProjectName).trimmed() + ".vsn")
                .toStdString();
  if (start.empty()) start = session_.files.ProgramFolder;
  std::string name = ChooseFile({"Open Session", FileUse::Read, std::string(kSessionExtension), start});
  if (!name.empty()) OpenSessionFile(name);
}

void MainWindow::OpenSessionFile(const std::string& name) {
  std::optional<std::string> pane = document_.Open(name);
  if (!pane) return;
  SetPaneText(*pane);
  ShowSessionInControls();
  document_.MarkSaved(PaneText());
  Tell(QString::fromStdString("Session opened from " + name));
  ShowTitle();
}

void MainWindow::ShowSessionInControls() {
  const std::pair<QCheckBox*, bool> boxes[] = {
      {showCentersBox_, session_.plot.ShowCenters}, {showNumbersBox_, session_.plot.ShowPointNumbers},
      {showPointsBox_, session_.plot.ShowPoints},   {ioDefaultBox_, session_.files.IODefault},
      {displayBox_, session_.Display},              {spoolBox_, session_.files.SpoolOn}};
  for (const auto& [box, on] : boxes) box->setChecked(on);
  projectName_->setText(QString::fromStdString(session_.files.ProjectName));
  spoolName_->setText(QString::fromStdString(session_.files.SpoolFileText));
  ChangeSpoolName(session_);
}

void MainWindow::ShowTitle() {
  std::string name = document_.DisplayName();
  setWindowTitle(name.empty() ? QStringLiteral("Vantrel[*]")
                              : QStringLiteral("%1[*] — Vantrel").arg(QString::fromStdString(name)));
  setWindowModified(document_.HasUnsavedWork(PaneText()));
}

// ---- The recovery copy ------------------------------------------------------

void MainWindow::OfferRecovery() {
  // One window at a time owns the copy; a second one started beside it
  // neither offers nor writes one.
  if (!recovery_->Take()) return;
  std::string reason;
  std::optional<std::string> text = recovery_->LeftBehind(reason);
  if (!text) {
    if (!reason.empty()) InfoBox(FileErrorText(recovery_->Path().toStdString(), reason));
    return;
  }
  if (!AskYesNo("Vantrel did not close cleanly last time. Restore the session it was working on?")) {
    recovery_->SetAside();
    return;
  }
  std::optional<std::string> pane = document_.Restore(*text, recovery_->Path().toStdString());
  if (!pane) return;
  SetPaneText(*pane);
  ShowSessionInControls();
  Tell("Session restored from the recovery copy");
  ShowTitle();
}

void MainWindow::WriteRecoveryCopy() {
  if (recovery_ == nullptr || !recovery_->Owned()) return;
  std::string pane = PaneText();
  if (std::optional<std::string> failure = recovery_->Write(document_.RecoveryText(pane)))
    Tell(QString::fromStdString("The recovery copy could not be written: " + *failure));
  else
    document_.RecoveryWritten(pane);
}

// ---- The panes and the user's side ------------------------------------------

const std::string& MainWindow::PaneText() const {
  if (!paneText_) paneText_ = inputPane_->toPlainText().toStdString();
  return *paneText_;
}

void MainWindow::SetPaneText(const std::string& text) { inputPane_->setPlainText(QString::fromStdString(text)); }

void MainWindow::AppendToPane(const std::string& text) {
  if (text.empty()) return;
  QTextCursor end(inputPane_->document());
  end.movePosition(QTextCursor::End);
  end.insertText(FromCrLf(text));
}

void MainWindow::ShowReportLine(const std::string& line) {
  pendingReport_.append("   ").append(line).append("\n");
}

void MainWindow::FlushReport() {
  if (pendingReport_.empty()) return;
  outputPane_->AppendLines(pendingReport_);
  pendingReport_.clear();
}

void MainWindow::InfoBox(const std::string& message) {
  FlushReport();
  if (running_) NoteMessage(message);
  dialogs_.InfoBox(WithLine(message, session_.RunningLine));
}

bool MainWindow::AskYesNo(const std::string& message) {
  FlushReport();
  bool yes = dialogs_.AskYesNo(WithLine(message, session_.RunningLine));
  if (running_) NoteMessage(message + (yes ? " -> Yes" : " -> No"));
  return yes;
}

UserSide::SaveChoice MainWindow::AskSaveDiscardCancel(const std::string& title, const std::string& message) {
  FlushReport();
  return dialogs_.AskSaveDiscardCancel(title, message);
}

std::string MainWindow::PromptText(const std::string& prompt) {
  FlushReport();
  return dialogs_.PromptText(prompt);
}

std::string MainWindow::AskFileName(const FileQuestion& question) {
  FlushReport();
  return dialogs_.AskFileName(question);
}

std::string MainWindow::ChooseFile(const FileQuestion& question) {
  FlushReport();
  return dialogs_.ChooseFile(question);
}

void MainWindow::EndPrintDocument() {
  if (!printer_.HasDrawing()) return;
  printMessage_ = PrintPages(printer_.TakeDocument(), settings_.workingFolder, projectName_->text(),
                             settings_.usePrinters);
  Tell(printMessage_);
}

PlotSurface* MainWindow::PlotWindow() {
  if (plot_ == nullptr) {
    plot_ = new MapPlotWindow(this);
    plot_->SetDocumentSource([this] {
      return MapPlotWindow::Document{settings_.workingFolder, projectName_->text(), &session_.plot.drawing,
                                     MapSheetOptions()};
    });
    PlaceBeside(plot_);
  }
  return plot_;
}

PlatOptions MainWindow::MapSheetOptions() const {
  const PlotState& plot = session_.plot;
  return PlatOptions{{projectName_->text().trimmed().toStdString(), {}}, plot.ShowPoints, plot.ShowPointNumbers,
                     plot.ShowCenters, plot.ShowCourses, ChosenScale()};
}

}  // namespace vantrel::ui
