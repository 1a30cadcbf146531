// frmVantrel, the main window: input and output panes, the action buttons
// and the option boxes, over the session that holds the program's state.
// The window computes nothing itself; it hands the panes to the session and
// shows what comes back. It also keeps the surveyor's work safe: one run at
// a time that can be stopped, session files, a recovery copy, and the
// question before work is closed unsaved.
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "command/session.h"
#include "map/plot_surface.h"
#include "ui/twips.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QLockFile;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSettings;
class QSplitter;
class QTimer;

namespace vantrel::ui {

class HelpTableWindow;
class ReportPane;
class MapPlotWindow;

// Where a window of `size` opens beside the main window at `main`, on
// `screen`: to its right, else to its left, else narrowed into the wider
// side, else at the screen's right edge — never over the input pane when
// there is any room.
QRect BesideMainWindow(const QRect& main, const QSize& size, const QRect& screen);

class MainWindow : public QMainWindow, public UserSide {
  Q_OBJECT

 public:
  struct Settings {
    QString workingFolder;   // relative file names; empty: the remembered one, at first Documents/Vantrel
    QString referenceFile;   // empty: Vantrel.txt of the working folder, else beside the program
    bool usePrinters = true;  // false: printed maps always become PDF files
    QString dataFolder;      // the recovery copy; empty: the application-data folder
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
  MapPlotWindow* plotWindow() const { return plot_; }  // null until first used
  HelpTableWindow* helpWindow() const { return help_; }  // null until first used
  QString WorkingFolder() const;
  bool IsRunning() const { return running_; }

  // Appends a command file to the input pane, as Import does, without
  // asking for the name.
  void ImportAtStart(const QString& path);

  // Offers the recovery copy a session that did not close cleanly left.
  void OfferRecovery();

  // The window's remembered settings (geometry, splitter, option boxes,
  // working folder, recent files).
  static std::unique_ptr<QSettings> RememberedSettings();

  // The user's side of the session.
  void ShowReportLine(const std::string& line) override;
  void InfoBox(const std::string& message) override;
  bool AskYesNo(const std::string& message) override;
  std::string PromptText(const std::string& prompt) override;
  void EndPrintDocument() override;
  PlotSurface* PlotWindow() override;
  PlotSurface* PrinterPage() override { return &printer_; }
  void BatchProgress(size_t done, size_t total) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  void CreateActions();
  void CreateMenus();
  void ConnectControls();
  void FitToScreen();
  void RestoreSettings();
  void ApplyCommandLine();
  void RememberSettings();
  void LoadReference();

  void Process();
  void Stop();
  void SetRunning(bool running);
  void ShowPoints();
  void ShowMapPlot();
  void AskStationTicks();
  void ShowHelp();
  void InsertCode(const QString& code);
  void PlaceBeside(QWidget* window);
  void Import();
  void Export();
  void ImportRecent(const QString& path);
  void AddRecentFile(const std::string& path);
  void FillRecentMenu();
  void ShowUsage();
  void ClearInput();
  void ChooseWorkingFolder();
  void SetWorkingFolder(const QString& folder);
  void PrintOutput();
  void ShowGuide();
  void ShowAbout();

  bool SaveSession();
  void OpenSession();
  bool MaybeSaveBeforeClosing();
  bool HasUnsavedWork() const;
  void MarkSaved(bool paneToo);
  void ShowSessionInControls();

  QString RecoveryPath() const;
  void SaveRecoveryCopy();
  void RemoveRecoveryCopy();

  // The input pane as the session reads it, converted once after each change.
  const std::string& PaneText() const;
  void AppendToPane(const std::string& text);
  void FlushReport();

  UserSide& dialogs_;
  Settings settings_;
  Session session_;
  TwipScale form_;
  PrinterPages printer_;
  MapPlotWindow* plot_ = nullptr;
  HelpTableWindow* help_ = nullptr;

  mutable std::optional<std::string> paneText_;  // PaneText() until the pane changes
  std::string pendingReport_;  // report lines not yet in the output pane
  QElapsedTimer progressClock_;
  bool running_ = false;
  bool closeAfterRun_ = false;
  QString printMessage_;

  std::string sessionFile_;        // where Save Session writes without asking
  // The point store and the registers as last saved, opened or started, to
  // tell whether a run changed them.
  PointStore savedPoints_;
  RegisterBanks savedRegisters_;

  std::string savedPane_;          // the pane as last saved or exported
  std::unique_ptr<QLockFile> recoveryLock_;  // held while this window owns the recovery copy
  std::string recoveredPane_;      // the pane of the last recovery copy
  QTimer* recoveryTimer_ = nullptr;
  QStringList recentFiles_;

  QSplitter* splitter_ = nullptr;
  QGroupBox* fraInput_ = nullptr;
  QLabel* lblInfo_ = nullptr;
  QPlainTextEdit* txtInfo_ = nullptr;
  QLineEdit* txtProject_ = nullptr;
  QPushButton* cmdClear_ = nullptr;
  QPushButton* cmdClearOut_ = nullptr;
  QPushButton* cmdImport_ = nullptr;
  QPushButton* cmdExport_ = nullptr;
  QPushButton* cmdHelp_ = nullptr;
  QPushButton* cmdShow_ = nullptr;
  QPushButton* cmdProcess_ = nullptr;
  QPushButton* cmdStop_ = nullptr;
  QCheckBox* chkShowCenters_ = nullptr;
  QCheckBox* chkShowPtNos_ = nullptr;
  QCheckBox* chkShowPts_ = nullptr;
  QCheckBox* chkIODefault_ = nullptr;
  QCheckBox* chkDisplay_ = nullptr;
  QCheckBox* chkSpool_ = nullptr;
  QLineEdit* txtSpoolFile_ = nullptr;
  ReportPane* txtOutput_ = nullptr;
  QLabel* folderLabel_ = nullptr;
  std::vector<QWidget*> idleWidgets_;  // disabled while a run is in progress

  QAction* processAction_ = nullptr;
  QAction* stopAction_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  std::vector<QAction*> idleActions_;  // disabled while a run is in progress
};

}  // namespace vantrel::ui
