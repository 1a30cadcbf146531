#include "command/session.h"

#include <algorithm>
#include <cmath>

#include "command/dispatch.h"
#include "command/fields.h"
#include "command/text_file.h"
#include "notation/format.h"
#include "notation/geometry.h"

namespace vantrel {

Session::Session(UserSide& side) : user(side) {}

void Session::WriteOutput(const std::string& line) {
  if (HoldsControlCharacter(line, LineBreaks::Shown)) return WriteOutput(VisibleText(line, LineBreaks::Shown));
  if (Display) user.ShowReportLine(line);
  SpoolLine(*this, line);
}

void Session::InfoBox(const std::string& message) { user.InfoBox(VisibleText(message)); }

bool Session::AskYesNo(const std::string& message) { return user.AskYesNo(VisibleText(message)); }

void Session::HeadingOnce(const std::string& heading) {
  if (CurrentCommand == PreviousCommand) return;
  WriteOutput("");
  WriteOutput(heading);
}

int SplitFields(std::string_view text, std::array<std::string_view, kMaxFields + 1>& fields) {
  if (text.empty()) return 0;
  // A plain scan for the commas: fields are a few characters long, shorter
  // than a library search pays for.
  int count = 0;
  size_t start = 0;
  while (true) {
    size_t comma = start;
    while (comma < text.size() && text[comma] != ',') ++comma;
    if (++count <= kMaxFields) fields[count] = text.substr(start, comma - start);
    if (comma == text.size()) break;
    start = comma + 1;
  }
  return count;
}

namespace {

// Takes the ">" (east) and "^" (north) shift fields out of the line's fields;
// the last of each kind wins.
void TakeShiftFields(Session& s) {
  int kept = 0;
  for (int k = 1; k <= s.LineFieldCount; ++k) {
    std::string_view field = s.LineField[k];
    char first = field.empty() ? '\0' : field[0];
    if (first == '>' || first == '^') {
      // Held in single precision, so a shift beyond its range is refused too.
      float shift = static_cast<float>(ParseDistance(s, field.substr(1)));
      if (!std::isfinite(shift)) shift = static_cast<float>(OutOfRange(s, field));
      (first == '>' ? s.EastShift : s.NorthShift) = shift;
      continue;
    }
    s.LineField[++kept] = field;
  }
  s.LineFieldCount = kept;
}

std::string_view WithoutComment(std::string_view line) { return line.substr(0, line.find('\'')); }

// The reference row of a line already cut at its comment and trimmed.
int CodeRow(const CommandReference& reference, std::string_view trimmed) {
  return trimmed.size() == 3 ? reference.Find(UpperCase(trimmed)) : 0;
}

}  // namespace

int Session::CodeLineRow(std::string_view line) const { return CodeRow(reference, TrimBlanks(WithoutComment(line))); }

void Session::ProcessCommandLine(std::string_view line) {
  EastShift = NorthShift = 0;

  // 1-2. Comment cut and trim. The fields of the line before were pieces of
  // the text replaced here, so none of them is left counted.
  CurrentLine.assign(TrimBlanks(WithoutComment(line)));
  LineFieldCount = 0;

  // 3. A listed code selects its command; nothing runs for this line.
  if (int row = CodeRow(reference, CurrentLine); row > 0) {
    CurrentCommand = reference.rows[row].Code;
    ++CommandRun;
    args.Restart();
    user.EndPrintDocument();
    return;
  }

  // Data before any command code has no command to compute it; the first
  // such line is named once, and none of them is held for later.
  if (CurrentCommand.empty()) {
    if (!CurrentLine.empty() && !DataBeforeCodeReported)
      InfoBox("Lines before the first command code compute nothing; the first of them: " + QuoteStart(CurrentLine));
    DataBeforeCodeReported = DataBeforeCodeReported || !CurrentLine.empty();
    return;
  }

  // 4. Split at commas; a line beyond the field limit is refused whole,
  // unless its command reads the line as one text (a WKT definition).
  int fieldCount = SplitFields(CurrentLine, LineField);
  const CommandBranch* branch = FindBranch(CurrentCommand);
  if (fieldCount > kMaxFields && !(branch != nullptr && branch->readsWholeLine)) {
    LineFieldCount = 0;
    InfoBox("A line may hold at most " + std::to_string(kMaxFields) + " fields; this line holds " +
            std::to_string(fieldCount) + " and was not processed: " + QuoteStart(CurrentLine));
    return;
  }
  LineFieldCount = std::min(fieldCount, kMaxFields);

  // 5. Shift fields.
  TakeShiftFields(*this);

  // 6. A trailing comma says that more data of this kind follows.
  LineContinued = LineFieldCount >= 2 && LineField[LineFieldCount].empty();
  if (LineContinued) --LineFieldCount;

  // 7. Carry-over: unconsumed fields first, then this line's fields.
  int pending = args.FieldsLeft();
  if (pending + LineFieldCount > kMaxFields) {
    InfoBox("At most " + std::to_string(kMaxFields) + " fields can be held; " + std::to_string(pending) +
            " are waiting and this line brings " + std::to_string(LineFieldCount) +
            ", so it was not processed: " + QuoteStart(CurrentLine));
    LineFieldCount = 0;
    return;
  }
  args.Carry(std::span(LineField).subspan(1, static_cast<size_t>(LineFieldCount)));

  // 8-9. Dispatch; a branch that ends normally advances PreviousCommand.
  if (RunCommand(*this, branch) == Outcome::Completed) PreviousCommand = CurrentCommand;
}

Session::BatchEnd Session::RunBatch(std::string_view text) {
  StopRequested = false;
  BatchRun run(*this, text.size());
  run.Feed(text);
  run.Finish();
  return {run.LinesRead(), run.Stopped()};
}

BatchRun::BatchRun(Session& session, size_t expectedSize) : session_(session), expectedSize_(expectedSize) {}

void BatchRun::Feed(std::string_view text) {
  size_t counted = 0;  // characters of the piece counted in done_
  cutter_.Feed(text, [this, &counted](std::string_view line, bool, size_t next) {
    done_ += next - counted;
    counted = next;
    Line(line);
    return !stopped_;
  });
  // The start of a line the piece does not end.
  if (!stopped_) done_ += text.size() - counted;
}

void BatchRun::Finish() {
  cutter_.Finish([this](std::string_view line, bool, size_t) {
    Line(line);
    return true;
  });
  if (inCommentBlock_)
    session_.InfoBox("A comment block opened on line " + std::to_string(blockStart_) + " was never closed: " +
                     std::to_string(lineNumber_ - blockStart_ + 1) + " lines were skipped");
  inCommentBlock_ = false;
  session_.user.EndPrintDocument();
}

void BatchRun::Abandon() {
  cutter_.Drop();
  Finish();
}

void BatchRun::Line(std::string_view line) {
  // A stop asked for while the last line was shown ends the run here,
  // between two lines.
  if (session_.StopRequested) stopped_ = true;
  if (stopped_) return;
  ++lineNumber_;
  // A byte-order mark starts a file saved by some editors; joined command
  // files bring theirs to the start of a line.
  if (line.starts_with(kByteOrderMark)) line.remove_prefix(kByteOrderMark.size());
  // Compared one by one: a search of the four brackets costs a call a line.
  auto opens = [](char c) { return c == '<' || c == '(' || c == '[' || c == '{'; };
  auto closes = [](char c) { return c == '>' || c == ')' || c == ']' || c == '}'; };
  if (!inCommentBlock_ && !line.empty() && opens(line.front())) {
    inCommentBlock_ = true;
    blockStart_ = lineNumber_;
  }
  bool closesBlock = !line.empty() && closes(line.back());
  if (!inCommentBlock_) {
    session_.RunningLine = {static_cast<size_t>(lineNumber_), line};
    session_.ProcessCommandLine(line);
    session_.RunningLine = {};
  }
  if (closesBlock) inCommentBlock_ = false;
  session_.user.BatchProgress(done_, std::max(done_, expectedSize_));
}

std::optional<std::string> Session::UsageForEnter(std::string_view text, size_t caret) {
  size_t p = std::min(caret, text.size());
  if (p <= 2) return std::nullopt;
  // Back from the third character before the caret to the line feed that
  // starts the caret's line (1-based positions, as the pane counts them).
  size_t b = p - 1;
  do {
    --b;
  } while (b > 0 && text[b - 1] != '\n');
  CurrentCommand = UpperCase(text.substr(b, p - b));
  size_t lineStart = text.substr(0, p).find_last_of('\n');
  lineStart = lineStart == std::string_view::npos ? 0 : lineStart + 1;
  int row = CodeLineRow(text.substr(lineStart, p - lineStart));
  if (row == 0) return std::nullopt;
  CurrentCommand = reference.rows[row].Code;
  std::string usage = reference.rows[row].Usage;
  std::string shown;
  for (char c : usage) {
    if (c == '>') shown += "\r\n";
    else shown += c;
  }
  return shown;
}

}  // namespace vantrel
