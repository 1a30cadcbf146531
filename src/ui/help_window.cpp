#include "ui/help_window.h"

#include <QHeaderView>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <numeric>

#include "command/reference.h"
#include "ui/twips.h"

namespace vantrel::ui {
namespace {

constexpr int kGridWidth = 13500;
constexpr int kGridHeight = 9000;
constexpr int kGridLeft = 200;
// Widths of the first two columns in characters, as wide as their headings
// with the blanks after them: "Option  " and "Function         ".
constexpr int kCodeColumnChars = 8;
constexpr int kFunctionColumnChars = 17;
constexpr int kUsageColumnChars = 40;

}  // namespace

std::vector<int> HelpTableOrder(const CommandReference& reference, int column) {
  std::vector<int> order(static_cast<size_t>(reference.ReferenceCount));
  std::iota(order.begin(), order.end(), 1);
  auto key = [&](int row) -> const std::string& {
    const ReferenceRow& r = reference.rows[static_cast<size_t>(row)];
    return column == 0 ? r.Code : r.FunctionName;
  };
  // std::string compares character codes as unsigned values.
  if (column == 0 || column == 1)
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
  return order;
}

HelpTableWindow::HelpTableWindow(const CommandReference& reference, QWidget* parent)
    : QWidget(parent, Qt::Window), reference_(reference), grid_(new QTableWidget(this)) {
  setObjectName("frmHelp");
  setWindowTitle("Help Table");
  grid_->setObjectName("Grid1");
  grid_->setColumnCount(4);
  grid_->setHorizontalHeaderLabels({"Option", "Function", "Usage", "Description"});
  grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  grid_->horizontalHeader()->setStretchLastSection(true);
  grid_->verticalHeader()->setVisible(false);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setAlternatingRowColors(true);
  grid_->setWordWrap(false);
  grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + grid_->fontMetrics().height() / 2);
  int charWidth = grid_->fontMetrics().horizontalAdvance(QLatin1Char('X'));
  grid_->setColumnWidth(0, charWidth * kCodeColumnChars);
  grid_->setColumnWidth(1, charWidth * kFunctionColumnChars);
  grid_->setColumnWidth(2, charWidth * kUsageColumnChars);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);

  grid_->horizontalHeader()->setSectionsClickable(true);
  grid_->horizontalHeader()->setToolTip("Click a heading to sort by its column");

  // Under the grid: what a row does.
  auto* insert = new QPushButton("&Insert Code", this);
  insert->setObjectName("insertCode");
  auto* guide = new QPushButton("&Guide", this);
  guide->setObjectName("showGuide");
  guide->setToolTip("Show the command's section of the user's guide");
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(new QLabel("Double-click a row or press Enter to put its code in the input pane.", this), 1);
  buttons->addWidget(insert);
  buttons->addWidget(guide);

  auto* layout = new QVBoxLayout(this);
  TwipScale form = TwipScale::Form(*this);
  int margin = form.Pixels(kGridLeft);
  layout->setContentsMargins(margin, margin / 2, margin, margin);
  layout->addWidget(grid_, 1);
  layout->addLayout(buttons);
  resize(form.Pixels(kGridWidth) + 2 * margin, form.Pixels(kGridHeight) + margin * 3 / 2);

  // Only a click on a heading sorts: a click on a row leaves the rows where
  // they are, so the second click of a double-click finds the same row.
  connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) { Fill(column); });
  connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { ChooseRow(row); });
  connect(insert, &QPushButton::clicked, this, [this] { ChooseRow(grid_->currentRow()); });
  connect(guide, &QPushButton::clicked, this, [this] {
    QString code = CodeOf(grid_->currentRow());
    if (!code.isEmpty()) emit GuideAsked(code);
  });
  Fill(1);
}

void HelpTableWindow::Fill(int column) {
  std::vector<int> order = HelpTableOrder(reference_, column);
  // Code and function name sort; the other columns keep the file's order.
  QHeaderView* headings = grid_->horizontalHeader();
  headings->setSortIndicatorShown(column == 0 || column == 1);
  headings->setSortIndicator(column, Qt::AscendingOrder);
  grid_->setRowCount(std::max(grid_->rowCount(), static_cast<int>(order.size())));
  for (size_t k = 0; k < order.size(); ++k) {
    const ReferenceRow& row = reference_.rows[static_cast<size_t>(order[k])];
    const std::string* cells[] = {&row.Code, &row.FunctionName, &row.Usage, &row.Description};
    for (int c = 0; c < 4; ++c) {
      // Items are rewritten in place: the clicked one stays alive. A ">"
      // in a usage text breaks its line; the grid shows "; " instead.
      QString text = QString::fromStdString(*cells[c]);
      if (c == 2) text.replace(QLatin1Char('>'), QLatin1String("; "));
      if (QTableWidgetItem* item = grid_->item(static_cast<int>(k), c)) item->setText(text);
      else grid_->setItem(static_cast<int>(k), c, new QTableWidgetItem(text));
    }
  }
}

QString HelpTableWindow::CodeOf(int row) const {
  QTableWidgetItem* code = row >= 0 ? grid_->item(row, 0) : nullptr;
  return code == nullptr ? QString() : code->text().trimmed();
}

void HelpTableWindow::ChooseRow(int row) {
  QString code = CodeOf(row);
  if (!code.isEmpty()) emit CodeChosen(code);
}

void HelpTableWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && grid_->currentRow() >= 0) {
    ChooseRow(grid_->currentRow());
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace vantrel::ui
