// The user's guide inside the program: the Markdown guide rendered with its
// pictures, a table of contents of its headings, and a search line. Links
// between sections work as on a web page, and the Help Table opens the
// section of a command.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

class QLabel;
class QLineEdit;
class QTextBrowser;
class QTreeWidget;

namespace vantrel::ui {

// A heading's anchor as links in the guide name it: lower case, blanks as
// hyphens, other punctuation dropped ("5.10 The map" is "510-the-map").
QString HeadingAnchor(const QString& heading);

class GuideWindow : public QWidget {
  Q_OBJECT

 public:
  GuideWindow(const QString& guidePath, QWidget* parent = nullptr);

  // Brings the section of a command code ("DAB", "AZM") to the top; false
  // when the guide has none.
  bool ShowCommand(const QString& code);
  // Brings the heading with `anchor` to the top; false when there is none.
  bool ShowSection(const QString& anchor);
  // Finds the next place of `text` after the caret, from the top again at
  // the end; false when the guide does not hold it.
  bool Find(const QString& text);

  // The headings of the table of contents, as listed.
  QStringList Contents() const;
  // The heading at the top of the view.
  QString SectionInView() const;

 private:
  struct Heading {
    int level;
    QString text;
    QString anchor;
    int block;
  };

  void Load(const QString& guidePath);
  void MarkHeadings();
  void FillContents();

  QTextBrowser* text_;
  QTreeWidget* contents_;
  QLineEdit* search_;
  QLabel* searchResult_;
  std::vector<Heading> headings_;
};

}  // namespace vantrel::ui
