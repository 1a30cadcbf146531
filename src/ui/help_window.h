// frmHelp, the "Help Table" window: the command reference as a table of
// code, function name and description, re-sorted by the column of a clicked
// cell.
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
// 2 in file order; rows with equal keys keep their file order.
std::vector<int> HelpTableOrder(const CommandReference& reference, int column);

class HelpTableWindow : public QWidget {
  Q_OBJECT

 public:
  HelpTableWindow(const CommandReference& reference, QWidget* parent = nullptr);

  // Refills the grid sorted by `column`.
  void Fill(int column);

 private:
  const CommandReference& reference_;
  QTableWidget* grid_;
};

}  // namespace vantrel::ui
