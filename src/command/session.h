// The window-level state of the program — point store, registers, argument
// store, command records — and the command processor that feeds command
// lines to the commands. One Session lives as long as the main window (or one
// run of the headless runner); the user's side is reached through UserSide.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "adjust/network_record.h"
#include "area/area_state.h"
#include "command/arguments.h"
#include "command/files.h"
#include "command/reference.h"
#include "command/user_side.h"
#include "curves/curve_state.h"
#include "deeds/deed_state.h"
#include "exchange/exchange_state.h"
#include "gps/gps_reference.h"
#include "gps/grid_system.h"
#include "map/plot_state.h"
#include "notation/numbers.h"
#include "route/route_state.h"
#include "store/point_store.h"
#include "traverse/traverse_record.h"

namespace vantrel {

// How a command's branch ended: normally (PreviousCommand advances) or early,
// after a message, a refused question or while waiting for more lines.
enum class Outcome { Completed, Stopped };

class Session {
 public:
  explicit Session(UserSide& user);

  // --- The surveyor's side -------------------------------------------------
  UserSide& user;
  bool Display = true;  // "Display": report lines reach the output pane
  FileSettings files;
  SpoolState spool;

  // Sends one report line to the output pane (when Display is set) and to
  // the spool file (when Spool is set).
  void WriteOutput(const std::string& line);
  // The session's buffer for the next report row, emptied. It keeps its
  // capacity from row to row, so the rows of a long report are assembled
  // without an allocation each; a row is written before the next begins.
  std::string& NewRow() {
    reportRow_.clear();
    return reportRow_;
  }
  // Messages and questions; typed text in them shows its control
  // characters as ^@-style escapes (as report lines do).
  void InfoBox(const std::string& message);
  bool AskYesNo(const std::string& message);

  // --- Point store and registers (numbers as the surveyor counts them) -----
  PointStore points;
  RegisterBanks registers;

  // --- The current line and command -----------------------------------------
  std::string CurrentLine;
  // This line's fields, pieces of CurrentLine rather than copies: each field
  // is copied once, into the argument store, where it may wait for the next
  // line.
  std::array<std::string_view, kMaxFields + 1> LineField;
  int LineFieldCount = 0;
  ArgumentStore args;
  std::string CurrentCommand;
  bool DataBeforeCodeReported = false;  // said once: no command yet selected
  std::string PreviousCommand;
  int CommandRun = 0;  // counts code selections: the lines of one run share it
  bool LineContinued = false;
  float EastShift = 0;
  float NorthShift = 0;

  // Writes the empty line and the column heading when this command's table
  // is not the one the report is continuing.
  void HeadingOnce(const std::string& heading);

  CommandReference reference;

  // --- Records of multi-line commands and other subsystems -----------------
  TraverseRecord traverse;
  NetworkRecord network;
  AreaState area;
  CurveState curves;
  GpsReference gps;
  GridSystem grid;
  PlotState plot;
  ExchangeState exchange;
  DeedState deeds;
  RouteState route;

  // --- Command processing ---------------------------------------------------
  // One line of the input pane through comment cut, code recognition,
  // splitting, shift fields, carry-over, dispatch and epilogue.
  void ProcessCommandLine(std::string_view line);

  // The batch run over the input pane's text: every line from the top,
  // skipping bracketed comment blocks, then printer end-of-document (see
  // BatchRun, which also takes the text in pieces). A run stops before the
  // next line once StopRequested is set (by the user's side during
  // BatchProgress); the lines before it have done all they do.
  struct BatchEnd {
    size_t linesRead = 0;  // pane lines taken, comment lines included
    bool stopped = false;
  };
  BatchEnd RunBatch(std::string_view paneText);
  bool StopRequested = false;

  // The pane line a batch run is processing, for the user's side to show
  // beside a message or question (the report and the message text stay as
  // they are); number 0 outside a line.
  struct InputLine {
    size_t number = 0;  // counted from 1, comment lines included
    std::string_view text;
  };
  InputLine RunningLine;

  // The reference row of the command a line selects — after the comment
  // cut and the blanks around it, a listed code in any case — or 0 for a
  // line that is no code line.
  int CodeLineRow(std::string_view line) const;

  // Enter in the input pane with the caret after `caret` characters: selects
  // the code typed on the caret's line and returns its usage text with line
  // breaks, or nothing when the line up to the caret is no code line.
  std::optional<std::string> UsageForEnter(std::string_view paneText, size_t caret);

 private:
  std::string reportRow_;
};

// A batch run fed the pane's text in pieces as they arrive (a job read as a
// stream holds one piece at a time): lines end at CR LF, a lone LF or a lone
// CR, a CR LF split between two pieces being one break; a line opening with
// "<([{" starts a comment block that the line closing with ">)]}" ends, and
// the lines of a block are skipped. Finish runs the last line when no break
// ends it, then printer end-of-document.
class BatchRun {
 public:
  // `expectedSize` is the whole text's length when known (for the window's
  // progress), otherwise 0.
  BatchRun(Session& session, size_t expectedSize);
  void Feed(std::string_view text);
  void Finish();
  // Ends a run whose input broke off: the unfinished last line is dropped.
  void Abandon();
  // Lines taken so far, and whether the session's StopRequested ended the
  // run before one of them.
  size_t LinesRead() const { return static_cast<size_t>(lineNumber_); }
  bool Stopped() const { return stopped_; }

 private:
  void Line(std::string_view line);

  Session& session_;
  size_t expectedSize_;
  size_t done_ = 0;           // characters consumed so far
  LineCutter cutter_;
  bool inCommentBlock_ = false;
  int lineNumber_ = 0;  // lines run so far, counted from 1
  int blockStart_ = 0;  // the line that opened the comment block
  bool stopped_ = false;
};

// Splits a line at commas into at most `kMaxFields` fields, pieces of the
// text; an empty text has no fields. Returns the number of fields the text
// holds (which may exceed the limit; only the first kMaxFields are stored).
int SplitFields(std::string_view text, std::array<std::string_view, kMaxFields + 1>& fields);

}  // namespace vantrel
