#include "ui/report_pane.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cstring>

namespace vantrel::ui {
namespace {

constexpr int kMargin = 4;  // pixels around the text, as a plain text editor leaves

// Characters of UTF-8 text: every byte but the continuation ones.
int CharacterCount(std::string_view text) {
  return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

}  // namespace

ReportPane::ReportPane(int maximumLines, QWidget* parent)
    : QAbstractScrollArea(parent), maximumLines_(std::max(1, maximumLines)) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
}

// ---- The lines ----------------------------------------------------------------

void ReportPane::AppendLines(std::string_view lines) {
  if (lines.empty()) return;
  QScrollBar* vertical = verticalScrollBar();
  bool followEnd = vertical->value() == vertical->maximum();
  size_t start = bytes_.size();
  bytes_.append(lines);
  if (bytes_.back() != '\n') bytes_.push_back('\n');
  // One pass over the new bytes for the line ends; only a line longer in
  // bytes than the widest so far can be wider in characters.
  for (size_t lineStart = start; lineStart < bytes_.size();) {
    const char* end = static_cast<const char*>(std::memchr(bytes_.data() + lineStart, '\n', bytes_.size() - lineStart));
    size_t length = static_cast<size_t>(end - bytes_.data()) - lineStart;
    if (length > static_cast<size_t>(widestLine_))
      widestLine_ = std::max(widestLine_, CharacterCount(std::string_view(bytes_).substr(lineStart, length)));
    lineStarts_.push_back(lineStart);
    lineStart += length + 1;
  }
  int top = vertical->value();
  int dropped = static_cast<int>(lineStarts_.size()) - maximumLines_;
  if (dropped > 0) {
    DropOldestLines();
    top -= dropped;
  }
  UpdateScrollBars();
  vertical->setValue(followEnd ? vertical->maximum() : std::max(0, top));
  viewport()->update();
  emit LinesAppended();
}

void ReportPane::DropOldestLines() {
  size_t dropped = lineStarts_.size() - static_cast<size_t>(maximumLines_);
  size_t cut = lineStarts_[dropped];
  bytes_.erase(0, cut);
  lineStarts_.erase(lineStarts_.begin(), lineStarts_.begin() + static_cast<std::ptrdiff_t>(dropped));
  for (size_t& start : lineStarts_) start -= cut;
  // A selection in the dropped lines starts at the first line kept.
  for (Place* place : {&anchor_, &caret_}) {
    place->line -= static_cast<int>(dropped);
    if (place->line < 0) *place = Place{};
  }
}

void ReportPane::Clear() {
  bytes_.clear();
  lineStarts_.clear();
  widestLine_ = 0;
  anchor_ = caret_ = Place{};
  UpdateScrollBars();
  viewport()->update();
}

QString ReportPane::LineText(int line) const {
  size_t start = lineStarts_[static_cast<size_t>(line)];
  size_t end = static_cast<size_t>(line) + 1 < lineStarts_.size() ? lineStarts_[static_cast<size_t>(line) + 1]
                                                                   : bytes_.size();
  return QString::fromUtf8(bytes_.data() + start, static_cast<qsizetype>(end - start - 1));
}

QString ReportPane::Text() const {
  if (bytes_.empty()) return {};
  return QString::fromUtf8(bytes_.data(), static_cast<qsizetype>(bytes_.size() - 1));
}

QString ReportPane::SelectedText() const {
  auto [from, to] = std::minmax(anchor_, caret_);
  if (from == to) return {};
  // Columns count characters; the bytes between the two places are the text.
  auto offset = [this](Place place) {
    return lineStarts_[static_cast<size_t>(place.line)] +
           static_cast<size_t>(LineText(place.line).left(place.column).toUtf8().size());
  };
  size_t start = offset(from);
  return QString::fromUtf8(bytes_.data() + start, static_cast<qsizetype>(offset(to) - start));
}

void ReportPane::SelectAll() {
  anchor_ = Place{};
  caret_ = EndOfText();
  viewport()->update();
}

void ReportPane::Copy() const {
  if (HasSelection()) QGuiApplication::clipboard()->setText(SelectedText());
}

// ---- Drawing ------------------------------------------------------------------

int ReportPane::LineHeight() const { return fontMetrics().lineSpacing(); }
int ReportPane::ColumnWidth() const { return fontMetrics().horizontalAdvance(QLatin1Char('0')); }
int ReportPane::LinesInView() const { return std::max(1, (viewport()->height() - kMargin) / LineHeight()); }

void ReportPane::UpdateScrollBars() {
  QScrollBar* vertical = verticalScrollBar();
  vertical->setRange(0, std::max(0, LineCount() - LinesInView()));
  vertical->setPageStep(LinesInView());
  vertical->setSingleStep(1);
  QScrollBar* horizontal = horizontalScrollBar();
  int width = viewport()->width();
  horizontal->setRange(0, std::max(0, widestLine_ * ColumnWidth() + 2 * kMargin - width));
  horizontal->setPageStep(width);
  horizontal->setSingleStep(ColumnWidth());
}

void ReportPane::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  const int height = LineHeight();
  const int width = ColumnWidth();
  const int left = kMargin - horizontalScrollBar()->value();
  const int ascent = fontMetrics().ascent();
  auto [from, to] = std::minmax(anchor_, caret_);
  int y = kMargin;
  for (int line = verticalScrollBar()->value(); line < LineCount() && y < viewport()->height(); ++line, y += height) {
    // A tab takes one column, as every other character does.
    QString text = LineText(line).replace(QLatin1Char('\t'), QLatin1Char(' '));
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(left, y + ascent, text);
    if (from == to || line < from.line || line > to.line) continue;
    int first = line == from.line ? from.column : 0;
    // A selection that goes on to the next line takes this line's break too.
    int last = line == to.line ? to.column : static_cast<int>(text.size()) + 1;
    if (last <= first) continue;
    painter.fillRect(left + first * width, y, (last - first) * width, height, palette().highlight());
    painter.setPen(palette().color(QPalette::HighlightedText));
    painter.drawText(left + first * width, y + ascent, text.mid(first, last - first));
  }
  if (hasFocus()) {
    int caretY = kMargin + (caret_.line - verticalScrollBar()->value()) * height;
    painter.fillRect(left + caret_.column * width, caretY, 1, height, palette().color(QPalette::Text));
  }
}

void ReportPane::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void ReportPane::scrollContentsBy(int, int) { viewport()->update(); }

void ReportPane::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  viewport()->update();
}

void ReportPane::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  viewport()->update();
}

// ---- The caret and the selection ------------------------------------------------

ReportPane::Place ReportPane::EndOfText() const {
  if (lineStarts_.empty()) return {};
  return {LineCount() - 1, static_cast<int>(LineText(LineCount() - 1).size())};
}

ReportPane::Place ReportPane::PlaceAt(const QPoint& point) const {
  if (lineStarts_.empty()) return {};
  int line = std::clamp(verticalScrollBar()->value() + (point.y() - kMargin) / LineHeight(), 0, LineCount() - 1);
  int x = point.x() - kMargin + horizontalScrollBar()->value();
  int column = (x + ColumnWidth() / 2) / ColumnWidth();  // the nearer gap between two characters
  return {line, std::clamp(column, 0, static_cast<int>(LineText(line).size()))};
}

void ReportPane::MoveCaret(Place to, bool extendSelection) {
  caret_ = to;
  if (!extendSelection) anchor_ = to;
  viewport()->update();
}

void ReportPane::ShowCaret() {
  QScrollBar* vertical = verticalScrollBar();
  if (caret_.line < vertical->value()) vertical->setValue(caret_.line);
  else if (caret_.line >= vertical->value() + LinesInView()) vertical->setValue(caret_.line - LinesInView() + 1);
  QScrollBar* horizontal = horizontalScrollBar();
  int x = caret_.column * ColumnWidth();
  int room = viewport()->width() - 2 * kMargin;
  if (x < horizontal->value()) horizontal->setValue(x);
  else if (x > horizontal->value() + room) horizontal->setValue(x - room);
}

bool ReportPane::MoveCaretByKey(const QKeyEvent& key) {
  bool extend = key.modifiers().testFlag(Qt::ShiftModifier);
  bool wholeReport = key.modifiers().testFlag(Qt::ControlModifier);
  Place to = caret_;
  auto length = [this](int line) { return static_cast<int>(LineText(line).size()); };
  switch (key.key()) {
    case Qt::Key_Left:
      if (to.column > 0) --to.column;
      else if (to.line > 0) to = {to.line - 1, length(to.line - 1)};
      break;
    case Qt::Key_Right:
      if (to.column < length(to.line)) ++to.column;
      else if (to.line + 1 < LineCount()) to = {to.line + 1, 0};
      break;
    case Qt::Key_Up: to.line = std::max(0, to.line - 1); break;
    case Qt::Key_Down: to.line = std::min(LineCount() - 1, to.line + 1); break;
    case Qt::Key_PageUp: to.line = std::max(0, to.line - LinesInView()); break;
    case Qt::Key_PageDown: to.line = std::min(LineCount() - 1, to.line + LinesInView()); break;
    case Qt::Key_Home: to = wholeReport ? Place{} : Place{to.line, 0}; break;
    case Qt::Key_End: to = wholeReport ? EndOfText() : Place{to.line, length(to.line)}; break;
    default: return false;
  }
  to.column = std::min(to.column, length(to.line));
  MoveCaret(to, extend);
  ShowCaret();
  return true;
}

void ReportPane::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) Copy();
  else if (event->matches(QKeySequence::SelectAll)) SelectAll();
  else if (lineStarts_.empty() || !MoveCaretByKey(*event)) {
    // Typing reaches nothing: the report is never edited.
    event->ignore();
    return;
  }
  event->accept();
}

void ReportPane::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  MoveCaret(PlaceAt(event->position().toPoint()), event->modifiers().testFlag(Qt::ShiftModifier));
}

void ReportPane::mouseMoveEvent(QMouseEvent* event) {
  if (!event->buttons().testFlag(Qt::LeftButton)) return;
  MoveCaret(PlaceAt(event->position().toPoint()), true);
  ShowCaret();  // dragging past the edge scrolls
}

void ReportPane::mouseReleaseEvent(QMouseEvent* event) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (event->button() == Qt::LeftButton && HasSelection() && clipboard->supportsSelection())
    clipboard->setText(SelectedText(), QClipboard::Selection);
}

void ReportPane::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || lineStarts_.empty()) return;
  // The value under the pointer: the report's columns are parted by spaces.
  Place at = PlaceAt(event->position().toPoint());
  QString text = LineText(at.line);
  int first = at.column, last = at.column;
  while (first > 0 && !text[first - 1].isSpace()) --first;
  while (last < text.size() && !text[last].isSpace()) ++last;
  MoveCaret({at.line, first}, false);
  MoveCaret({at.line, last}, true);
}

void ReportPane::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  QAction* copy = menu.addAction("&Copy", this, [this] { Copy(); });
  copy->setShortcut(QKeySequence::Copy);
  copy->setEnabled(HasSelection());
  QAction* all = menu.addAction("Select &All", this, [this] { SelectAll(); });
  all->setShortcut(QKeySequence::SelectAll);
  all->setEnabled(!lineStarts_.empty());
  menu.exec(event->globalPos());
}

}  // namespace vantrel::ui
