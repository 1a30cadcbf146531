// frmVantrel, the main window: input and output panes, the action buttons
// and the option boxes, over the session that holds the program's state.
// The window computes nothing itself; it hands the panes to the session and
// shows what comes back.
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <string>

#include "command/session.h"
#include "map/plot_surface.h"
#include "ui/twips.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace vantrel::ui {

class HelpTableWindow;
class MapPlotWindow;

class MainWindow : public QMainWindow, public UserSide {
  Q_OBJECT

 public:
  struct Settings {
    QString programFolder;   // relative file names and the command reference
    QString referenceFile;   // empty: Vantrel.txt in the program folder, else the installed one
    bool usePrinters = true;  // false: printed maps always become PDF files
  };

  // Messages, questions and file-name prompts go to `dialogs`.
  MainWindow(UserSide& dialogs, const Settings& settings, QWidget* parent = nullptr);
  ~MainWindow() override;

  Session& session() { return session_; }
  MapPlotWindow* plotWindow() const { return plot_; }  // null until first used
  HelpTableWindow* helpWindow() const { return help_; }  // null until first used

  // Appends a command file to the input pane, as Import does, without
  // asking for the name.
  void ImportAtStart(const QString& path);

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
  void ConnectControls();
  void LayOutPanes();
  void FitToScreen();

  void Process();
  void ShowPoints();
  void ShowHelp();
  void Import();
  void Export();
  void ShowUsage();

  std::string PaneText() const;
  void AppendToPane(const std::string& text);
  void FlushReport();

  UserSide& dialogs_;
  Settings settings_;
  Session session_;
  TwipScale form_;
  PrinterPages printer_;
  MapPlotWindow* plot_ = nullptr;
  HelpTableWindow* help_ = nullptr;

  std::string pendingReport_;  // report lines not yet in the output pane
  QElapsedTimer progressClock_;
  bool running_ = false;
  QString printMessage_;

  QWidget* board_ = nullptr;
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
  QCheckBox* chkShowCenters_ = nullptr;
  QCheckBox* chkShowPtNos_ = nullptr;
  QCheckBox* chkShowPts_ = nullptr;
  QCheckBox* chkIODefault_ = nullptr;
  QCheckBox* chkDisplay_ = nullptr;
  QCheckBox* chkSpool_ = nullptr;
  QLineEdit* txtSpoolFile_ = nullptr;
  QPlainTextEdit* txtOutput_ = nullptr;
};

}  // namespace vantrel::ui
