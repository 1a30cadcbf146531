// frmHelp, the "Help Table" window: the command reference as a table of
// code, function name, usage and description, re-sorted by the column of a
// clicked heading (a click on a row only selects it). Double-click or Enter
// on a row hands its code to the input pane, "Guide" opens the command's
// section of the user's guide; Escape closes the window.
#pragma once

#include <QWidget>
#include <vector>

class QTableWidget;

namespace vantrel {
struct CommandReference;
}

namespace vantrel::ui {

// Reference rows (1-based) in the order the table shows them when sorted
// by `column`: 0 by code, 1 by function name, comparing character codes, and
// any other in file order; rows with equal keys keep their file order.
std::vector<int> HelpTableOrder(const CommandReference& reference, int column);

class HelpTableWindow : public QWidget {
  Q_OBJECT

 public:
  HelpTableWindow(const CommandReference& reference, QWidget* parent = nullptr);

  // Refills the grid sorted by `column`, the heading marked by the sort.
  void Fill(int column);

 signals:
  void CodeChosen(const QString& code);
  void GuideAsked(const QString& code);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void ChooseRow(int row);
  QString CodeOf(int row) const;

  const CommandReference& reference_;
  QTableWidget* grid_;
};

}  // namespace vantrel::ui
