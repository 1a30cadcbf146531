// The output pane: the report, read-only, selected and copied, never typed.
// A long run shows hundreds of thousands of lines, so the pane keeps them as
// the report's bytes with the start of each line and turns only the lines in
// view into text: a block of lines costs its copy, never a text layout per
// line. The font is of fixed pitch, so a column is a character.
#pragma once

#include <QAbstractScrollArea>
#include <QString>
#include <compare>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::ui {

class ReportPane : public QAbstractScrollArea {
  Q_OBJECT

 public:
  // At most `maximumLines` lines are kept; the oldest leave the pane first.
  explicit ReportPane(int maximumLines, QWidget* parent = nullptr);

  // Appends `lines` (UTF-8, each ended by a line feed); a pane scrolled to
  // its end follows them.
  void AppendLines(std::string_view lines);
  void Clear();

  int LineCount() const { return static_cast<int>(lineStarts_.size()); }
  // The lines joined by line feeds, the last one without.
  QString Text() const;
  QString SelectedText() const;
  bool HasSelection() const { return anchor_ != caret_; }
  void SelectAll();
  void Copy() const;

 signals:
  // Once for each AppendLines, whatever the number of lines.
  void LinesAppended();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  // A place between two characters: a line and the characters before it.
  struct Place {
    int line = 0;
    int column = 0;
    auto operator<=>(const Place&) const = default;
  };

  QString LineText(int line) const;
  Place PlaceAt(const QPoint& point) const;
  Place EndOfText() const;
  void MoveCaret(Place to, bool extendSelection);
  bool MoveCaretByKey(const QKeyEvent& key);
  void ShowCaret();
  void UpdateScrollBars();
  void DropOldestLines();
  int LineHeight() const;
  int ColumnWidth() const;
  int LinesInView() const;

  int maximumLines_;
  std::string bytes_;               // the lines, each ended by a line feed
  std::vector<size_t> lineStarts_;  // where each line starts in bytes_
  int widestLine_ = 0;              // in characters
  Place anchor_;                    // the selection runs from the anchor to the caret
  Place caret_;
};

}  // namespace vantrel::ui
