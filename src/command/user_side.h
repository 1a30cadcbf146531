// The user's side of the program: where report lines are shown, how messages
// and questions reach the surveyor, and how a file name is asked for. The
// main window, the headless runner and the tests each implement it; commands
// only ever talk to it through the session.
#pragma once

#include <cstddef>
#include <string>

namespace vantrel {

class PlotSurface;

// Whether a file named by the surveyor is read or written.
enum class FileUse { Read, Write };

struct FileQuestion {
  std::string prompt;     // "Enter File Name for Commands"
  FileUse use = FileUse::Write;
  std::string extension;  // the usual extension, without the dot
  std::string start;      // the folder, or the file, a browser starts at
};

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
  // session before closing?"), under a title that says what is about to
  // happen ("Close Vantrel"). Sides without a three-button box ask Yes/No:
  // Yes saves, No discards.
  enum class SaveChoice { Save, Discard, Cancel };
  virtual SaveChoice AskSaveDiscardCancel(const std::string& title, const std::string& message) {
    (void)title;
    return AskYesNo(message) ? SaveChoice::Save : SaveChoice::Discard;
  }

  // Text-input dialog for a file name; empty text when cancelled.
  virtual std::string PromptText(const std::string& prompt) = 0;

  // A file name asked for by the file-name rule: the prompt, whether the
  // file is to be read or written, its usual extension and the folder a
  // browser opens in. Sides without a file browser ask with PromptText.
  virtual std::string AskFileName(const FileQuestion& question) { return PromptText(question.prompt); }

  // A file chosen in the system's file dialog, which the window's own menus
  // open (starting at `question.start`). Sides without one ask as
  // AskFileName does.
  virtual std::string ChooseFile(const FileQuestion& question) { return AskFileName(question); }

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
