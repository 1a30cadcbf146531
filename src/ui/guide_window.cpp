#include "ui/guide_window.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/twips.h"

namespace vantrel::ui {
namespace {

constexpr int kWindowWidth = 12000;  // twips
constexpr int kWindowHeight = 10000;
constexpr int kContentsShare = 28;  // per cent of the width for the contents
constexpr int kDeepestListed = 4;   // headings down to the commands' (####)

// The guide's pictures; an SVG picture, which this Qt may not read, is
// shown from the PNG picture of the same name when there is one.
class GuideBrowser : public QTextBrowser {
 public:
  using QTextBrowser::QTextBrowser;

  QVariant loadResource(int type, const QUrl& name) override {
    if (type == QTextDocument::ImageResource && name.path().endsWith(".svg") &&
        !QImageReader::supportedImageFormats().contains("svg")) {
      QUrl png = name;
      png.setPath(name.path().left(name.path().size() - 4) + ".png");
      QVariant picture = QTextBrowser::loadResource(type, png);
      if (picture.isValid()) return picture;
    }
    return QTextBrowser::loadResource(type, name);
  }
};

}  // namespace

QString HeadingAnchor(const QString& heading) {
  QString anchor;
  for (QChar c : heading.trimmed()) {
    if (c.isLetterOrNumber()) anchor += c.toLower();
    else if (c == ' ' || c == '-') anchor += '-';
    else if (c == '_') anchor += c;
  }
  return anchor;
}

GuideWindow::GuideWindow(const QString& guidePath, QWidget* parent)
    : QWidget(parent, Qt::Window),
      text_(new GuideBrowser(this)),
      contents_(new QTreeWidget(this)),
      search_(new QLineEdit(this)),
      searchResult_(new QLabel(this)) {
  setObjectName("frmGuide");
  setWindowTitle("Vantrel User's Guide");
  text_->setObjectName("guideText");
  text_->setOpenExternalLinks(true);
  contents_->setObjectName("guideContents");
  contents_->setHeaderHidden(true);
  search_->setObjectName("guideSearch");
  search_->setPlaceholderText("Search the guide (Enter: next)");
  search_->setClearButtonEnabled(true);
  searchResult_->setObjectName("guideSearchResult");

  auto* split = new QSplitter(Qt::Horizontal, this);
  split->addWidget(contents_);
  split->addWidget(text_);
  auto* searchRow = new QHBoxLayout;
  searchRow->addWidget(search_, 1);
  searchRow->addWidget(searchResult_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(searchRow);
  layout->addWidget(split, 1);

  Load(guidePath);
  TwipScale form = TwipScale::Form(*this);
  resize(form.Pixels(kWindowWidth), form.Pixels(kWindowHeight));
  split->setSizes({width() * kContentsShare / 100, width() * (100 - kContentsShare) / 100});

  connect(contents_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    if (item != nullptr) ShowSection(item->data(0, Qt::UserRole).toString());
  });
  connect(search_, &QLineEdit::returnPressed, this, [this] { Find(search_->text()); });
  // Links to other sections of the guide move within it; web links open in
  // the browser.
  text_->setOpenLinks(false);
  connect(text_, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
    if (link.isRelative() && link.path().isEmpty()) ShowSection(link.fragment());
    else if (!link.isRelative()) QDesktopServices::openUrl(link);
  });
}

void GuideWindow::Load(const QString& guidePath) {
  QFile file(guidePath);
  QString markdown;
  if (file.open(QIODevice::ReadOnly)) markdown = QString::fromUtf8(file.readAll());
  else markdown = QStringLiteral("The user's guide %1 could not be read: %2").arg(guidePath, file.errorString());
  // Pictures are found beside the guide.
  text_->document()->setBaseUrl(QUrl::fromLocalFile(QFileInfo(guidePath).absolutePath() + "/"));
  text_->setSearchPaths({QFileInfo(guidePath).absolutePath()});
  text_->document()->setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
  MarkHeadings();
  FillContents();
}

// Every heading becomes an anchor that links and the contents can reach.
void GuideWindow::MarkHeadings() {
  headings_.clear();
  for (QTextBlock block = text_->document()->begin(); block.isValid(); block = block.next()) {
    int level = block.blockFormat().headingLevel();
    if (level == 0) continue;
    QString anchor = HeadingAnchor(block.text());
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    QTextCharFormat mark;
    mark.setAnchor(true);
    mark.setAnchorNames({anchor});
    cursor.mergeCharFormat(mark);
    headings_.push_back({level, block.text(), anchor, block.blockNumber()});
  }
}

void GuideWindow::FillContents() {
  contents_->clear();
  std::vector<QTreeWidgetItem*> parents(kDeepestListed + 1, nullptr);
  for (const Heading& heading : headings_) {
    if (heading.level < 2 || heading.level > kDeepestListed) continue;
    QTreeWidgetItem* parent = nullptr;
    for (int up = heading.level - 1; up >= 2 && parent == nullptr; --up) parent = parents[static_cast<size_t>(up)];
    auto* item = parent == nullptr ? new QTreeWidgetItem(contents_) : new QTreeWidgetItem(parent);
    item->setText(0, heading.text);
    item->setData(0, Qt::UserRole, heading.anchor);
    parents[static_cast<size_t>(heading.level)] = item;
    for (int below = heading.level + 1; below <= kDeepestListed; ++below) parents[static_cast<size_t>(below)] = nullptr;
  }
}

bool GuideWindow::ShowSection(const QString& anchor) {
  for (const Heading& heading : headings_) {
    if (heading.anchor != anchor) continue;
    // The heading at the top of the view.
    QTextCursor at(text_->document()->findBlockByNumber(heading.block));
    text_->moveCursor(QTextCursor::End);
    text_->setTextCursor(at);
    text_->ensureCursorVisible();
    return true;
  }
  return false;
}

bool GuideWindow::ShowCommand(const QString& code) {
  // A command's heading starts with its code, alone or among others:
  // "DAB — distance, azimuth and bearing", "AZM, DIS, ANG — into registers".
  for (const Heading& heading : headings_) {
    if (!heading.text.contains(QChar(0x2014))) continue;
    for (const QString& listed : heading.text.section(QChar(0x2014), 0, 0).split(','))
      if (listed.trimmed() == code) return ShowSection(heading.anchor);
  }
  return false;
}

bool GuideWindow::Find(const QString& text) {
  if (text.isEmpty()) {
    searchResult_->clear();
    return false;
  }
  bool found = text_->find(text);
  if (!found) {
    // From the top again.
    text_->moveCursor(QTextCursor::Start);
    found = text_->find(text);
  }
  searchResult_->setText(found ? QString() : QStringLiteral("Not found"));
  return found;
}

QStringList GuideWindow::Contents() const {
  QStringList listed;
  for (QTreeWidgetItemIterator it(contents_); *it != nullptr; ++it) listed << (*it)->text(0);
  return listed;
}

QString GuideWindow::SectionInView() const {
  QTextCursor top = text_->cursorForPosition(QPoint(2, 2));
  int block = top.blockNumber();
  QString section;
  for (const Heading& heading : headings_)
    if (heading.block <= block) section = heading.text;
  return section;
}

}  // namespace vantrel::ui
