// frmVantrel, the main window: input and output panes, the action buttons
// and the option boxes, over the session that holds the program's state.
// The window computes nothing itself; it hands the panes to the session and
// shows what comes back. Saving, opening and the unsaved-work question are
// the session document's; the window wires them to its menus, keeps one run
// at a time that can be stopped, marks the lines that gave messages and
// keeps the recovery copy.
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "command/session.h"
#include "map/map_sheet.h"
#include "map/plot_surface.h"
#include "store/session_document.h"
#include "ui/twips.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QStackedLayout;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSettings;
class QSplitter;
class QTimer;
class QDockWidget;

namespace vantrel::ui {

class HelpTableWindow;
class GuideWindow;
class ReportPane;
class MapPlotWindow;
class RecoveryCopy;

// Where a window of `size` opens beside the main window at `main`, on
// `screen`: to its right, else to its left, else narrowed into the wider
// side, else at the screen's right edge — never over the input pane when
// there is any room.
QRect BesideMainWindow(const QRect& main, const QSize& size, const QRect& screen);

// The one-line hint the empty input pane shows.
inline constexpr const char* kInputHint = "Type a command code, e.g. KWN, then data lines; Ctrl+Enter to process";
// The usage line's place until a code is typed.
inline constexpr const char* kUsageHint = "The data line of a command shows here when you press Enter after its code";

class MainWindow : public QMainWindow, public UserSide {
  Q_OBJECT

 public:
  struct Settings {
    QString workingFolder;   // relative file names; empty: the remembered one, at first Documents/Vantrel
    QString referenceFile;   // empty: Vantrel.txt of the working folder, else beside the program
    bool usePrinters = true;  // false: printed maps always become PDF files
    QString dataFolder;      // the recovery copy; empty: the application-data folder
    int statusMessageMs = 10000;  // how long a status-bar message stays
    // Options of the command line; unset ones keep the remembered state.
    std::optional<QString> project;
    std::optional<QString> spoolName;  // sets Spool too
    std::optional<bool> ioDefault;
    std::optional<bool> display;
  };

  // Messages, questions and file-name prompts go to `dialogs`.
  MainWindow(UserSide& dialogs, const Settings& settings, QWidget* parent = nullptr);
  ~MainWindow() override;

  Session& session() { return session_; }
  SessionDocument& document() { return document_; }
  MapPlotWindow* plotWindow() const { return plot_; }  // null until first used
  HelpTableWindow* helpWindow() const { return help_; }  // null until first used
  GuideWindow* guideWindow() const { return guide_; }  // null until first used
  QString WorkingFolder() const;
  // What the plat shows: the project, the option boxes, the scale chosen
  // in Print Setup.
  PlatOptions MapSheetOptions() const;
  bool IsRunning() const { return running_; }

  // Appends a command file to the input pane, as Import does, without
  // asking for the name.
  void ImportAtStart(const QString& path);
  // A file dropped on the window: a command file joins the input pane, a
  // session is opened, CSV and LandXML points are read as PNR and LXR read
  // them (after a question).
  void OpenDroppedFile(const QString& path);

  // Offers the recovery copy a session that did not close cleanly left.
  void OfferRecovery();

  // The window's remembered settings (geometry, splitter, option boxes,
  // working folder, recent files).
  static std::unique_ptr<QSettings> RememberedSettings();

  // The user's side of the session.
  void ShowReportLine(const std::string& line) override;
  void InfoBox(const std::string& message) override;
  bool AskYesNo(const std::string& message) override;
  SaveChoice AskSaveDiscardCancel(const std::string& title, const std::string& message) override;
  std::string PromptText(const std::string& prompt) override;
  std::string AskFileName(const FileQuestion& question) override;
  std::string ChooseFile(const FileQuestion& question) override;
  void EndPrintDocument() override;
  PlotSurface* PlotWindow() override;
  PlotSurface* PrinterPage() override { return &printer_; }
  void BatchProgress(size_t done, size_t total) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Building the window, frame by frame.
  void CreateControls();
  QGroupBox* CreateInputFrame();
  QGroupBox* CreateTitleFrame();
  QGroupBox* CreateActionsFrame();
  QGroupBox* CreateOptionsFrame();
  QWidget* CreateOutputColumn();
  void CreateMessagesPanel();
  void CreateActions();
  void CreateMenus();
  void ConnectControls();
  void FitToScreen();
  void RestoreSettings();
  void ApplyCommandLine();
  void RememberSettings();
  void LoadReference();

  // Runs.
  void Process();
  void RunText(const std::string& text);
  void ImportFieldData();
  // False, after a message, for a file name a data line cannot hold.
  bool FitsDataLine(const std::string& name, const char* code);
  void Stop();
  void SetRunning(bool running);
  void NoteMessage(const std::string& message);
  void MarkMessageLines();
  void GoToLine(size_t line);

  // Buttons, menus and views.
  void ShowPoints();
  void ShowMapPlot();
  void AskStationTicks();
  void ShowHelp();
  void ShowGuide(const QString& code = {});
  void InsertCode(const QString& code);
  void PlaceBeside(QWidget* window);
  void Import();
  void ImportChosen();
  void Export();
  void ImportFile(const QString& path);
  void ReadPointFile(const QString& path, const char* code);
  void AddRecentFile(const std::string& path);
  void FillRecentMenu();
  void ShowUsage();
  void ClearInput();
  void ChooseWorkingFolder();
  void SetWorkingFolder(const QString& folder);
  void PrintOutput();
  void ShowAbout();
  void Tell(const QString& message);

  // Sessions.
  bool SaveSession(bool askName);
  void OpenSession();
  void OpenSessionFile(const std::string& name);
  void ShowSessionInControls();
  void ShowTitle();
  void WriteRecoveryCopy();

  // The input pane as the session reads it, converted once after each change.
  const std::string& PaneText() const;
  void SetPaneText(const std::string& text);
  void AppendToPane(const std::string& text);
  void FlushReport();

  UserSide& dialogs_;
  Settings settings_;
  Session session_;
  SessionDocument document_;
  TwipScale form_;
  PrinterPages printer_;
  MapPlotWindow* plot_ = nullptr;
  HelpTableWindow* help_ = nullptr;
  GuideWindow* guide_ = nullptr;
  RecoveryCopy* recovery_ = nullptr;

  mutable std::optional<std::string> paneText_;  // PaneText() until the pane changes
  std::string pendingReport_;  // report lines not yet in the output pane
  QElapsedTimer progressClock_;
  bool running_ = false;
  bool closeAfterRun_ = false;
  QString printMessage_;
  QStringList recentFiles_;
  QTimer* titleTimer_ = nullptr;  // the modified mark, a moment after typing

  // The messages of the last run with the pane line each came from (0: no
  // line), as the Messages panel lists them and the pane marks them.
  struct RunMessage {
    size_t line;
    std::string text;
  };
  std::vector<RunMessage> messages_;

  QSplitter* splitter_ = nullptr;
  QGroupBox* inputFrame_ = nullptr;
  QLabel* usageLine_ = nullptr;
  QLabel* usageHint_ = nullptr;         // stands in the usage line's place while the input pane is empty
  QStackedLayout* usageStack_ = nullptr;
  QPlainTextEdit* inputPane_ = nullptr;
  QLineEdit* projectName_ = nullptr;
  QPushButton* clearInputButton_ = nullptr;
  QPushButton* clearOutputButton_ = nullptr;
  QPushButton* importButton_ = nullptr;
  QPushButton* exportButton_ = nullptr;
  QPushButton* helpButton_ = nullptr;
  QPushButton* showPointsButton_ = nullptr;
  QPushButton* processButton_ = nullptr;
  QPushButton* stopButton_ = nullptr;
  QCheckBox* showCentersBox_ = nullptr;
  QCheckBox* showNumbersBox_ = nullptr;
  QCheckBox* showPointsBox_ = nullptr;
  QCheckBox* showCoursesBox_ = nullptr;
  QCheckBox* ioDefaultBox_ = nullptr;
  QCheckBox* displayBox_ = nullptr;
  QCheckBox* spoolBox_ = nullptr;
  QLineEdit* spoolName_ = nullptr;
  ReportPane* outputPane_ = nullptr;
  QLabel* folderLabel_ = nullptr;
  QDockWidget* messagesPanel_ = nullptr;
  QListWidget* messageList_ = nullptr;
  std::vector<QWidget*> idleWidgets_;  // disabled while a run is in progress

  QAction* processAction_ = nullptr;
  QAction* stopAction_ = nullptr;
  QAction* commandTableAction_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  std::vector<QAction*> idleActions_;  // disabled while a run is in progress
};

}  // namespace vantrel::ui
