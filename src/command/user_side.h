// The user's side of the program: where report lines are shown, how messages
// and questions reach the surveyor, and how a file name is asked for. The
// main window, the headless runner and the tests each implement it; commands
// only ever talk to it through the session.
#pragma once

#include <cstddef>
#include <string>

namespace vantrel {

class PlotSurface;

class UserSide {
 public:
  virtual ~UserSide() = default;

  // One report line for the output pane (without the pane's indentation).
  virtual void ShowReportLine(const std::string& line) = 0;

  // Information message, one OK button ("Info Only").
  virtual void InfoBox(const std::string& message) = 0;

  // Yes/No question ("Warning"); true when the answer is Yes.
  virtual bool AskYesNo(const std::string& message) = 0;

  // A question whose answer keeps or drops the surveyor's work ("Save the
  // session before closing?"). Sides without a three-button box ask Yes/No:
  // Yes saves, No discards.
  enum class SaveChoice { Save, Discard, Cancel };
  virtual SaveChoice AskSaveDiscardCancel(const std::string& message) {
    return AskYesNo(message) ? SaveChoice::Save : SaveChoice::Discard;
  }

  // Text-input dialog for a file name; empty text when cancelled.
  virtual std::string PromptText(const std::string& prompt) = 0;

  // Ends the printer document: whatever the map drew on the printer since
  // the last end is printed. Sides without a printer ignore it.
  virtual void EndPrintDocument() {}

  // The plot window's drawing surface and the printer page, or null where
  // this side has none.
  virtual PlotSurface* PlotWindow() { return nullptr; }
  virtual PlotSurface* PrinterPage() { return nullptr; }

  // A batch run has processed `done` of the pane's `total` characters; a
  // window shows the progress of a long run and keeps painting.
  virtual void BatchProgress(size_t done, size_t total) {
    (void)done;
    (void)total;
  }
};

}  // namespace vantrel
