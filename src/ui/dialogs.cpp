#include "ui/dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdio>

namespace vantrel::ui {
namespace {

// Messages break their lines with CR LF, as the report does.
QString MessageText(const std::string& message) {
  return QString::fromStdString(message).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

// The system's file dialog for `question`, opened in `start` (a folder, or
// a file in one). Empty when cancelled.
QString BrowseFor(QWidget* parent, const FileQuestion& question, const QString& caption, const QString& start) {
  QFileDialog dialog(parent, caption, start, FileTypes(question.extension));
  dialog.setObjectName("fileDialog");
  bool reading = question.use == FileUse::Read;
  dialog.setAcceptMode(reading ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(reading ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  // Replacing a file is asked by the command that writes it.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (!question.extension.empty()) dialog.setDefaultSuffix(QString::fromStdString(question.extension));
  if (!start.isEmpty() && !QFileInfo(start).isDir()) {
    dialog.setDirectory(QFileInfo(start).absolutePath());
    dialog.selectFile(QFileInfo(start).fileName());
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

}  // namespace

QString FileTypes(const std::string& extension) {
  static const std::pair<const char*, const char*> kKinds[] = {
      {"cmd", "Command files"}, {"vsn", "Vantrel sessions"}, {"txt", "Text files"}, {"csv", "CSV point files"},
      {"xml", "LandXML files"}, {"dxf", "DXF drawings"}};
  QString all = QStringLiteral("All Files (*)");
  if (extension.empty()) return all;
  // Raw field data: the three formats RAW reads, together and each alone.
  if (extension == "raw")
    return QStringLiteral("Raw field data (*.rw5 *.gsi *.jxl);;Carlson RW5 (*.rw5);;Leica GSI (*.gsi);;"
                          "Trimble JobXML (*.jxl);;%1").arg(all);
  QString kind = QString::fromStdString(extension).toUpper() + " files";
  for (const auto& [known, name] : kKinds)
    if (extension == known) kind = name;
  return QStringLiteral("%1 (*.%2);;%3").arg(kind, QString::fromStdString(extension), all);
}

void ModalDialogs::InfoBox(const std::string& message) {
  QMessageBox box(QMessageBox::Information, "Info Only", MessageText(message), QMessageBox::Ok,
                  QApplication::activeWindow());
  box.exec();
}

bool ModalDialogs::AskYesNo(const std::string& message) {
  QMessageBox box(QMessageBox::Question, "Warning", MessageText(message), QMessageBox::Yes | QMessageBox::No,
                  QApplication::activeWindow());
  return box.exec() == QMessageBox::Yes;
}

UserSide::SaveChoice ModalDialogs::AskSaveDiscardCancel(const std::string& title, const std::string& message) {
  QMessageBox box(QMessageBox::Warning, QString::fromStdString(title), MessageText(message),
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QApplication::activeWindow());
  box.setDefaultButton(QMessageBox::Save);
  switch (box.exec()) {
    case QMessageBox::Save:
      return SaveChoice::Save;
    case QMessageBox::Discard:
      return SaveChoice::Discard;
    default:
      return SaveChoice::Cancel;
  }
}

std::string ModalDialogs::PromptText(const std::string& prompt) { return AskFileName({prompt, FileUse::Write, {}, {}}); }

std::string ModalDialogs::AskFileName(const FileQuestion& question) {
  // The typed name goes through the program's file-name rule; Browse...
  // fills in a file chosen in the system dialog.
  QDialog dialog(QApplication::activeWindow());
  dialog.setObjectName("fileNameDialog");
  dialog.setWindowTitle("File Name");
  auto* name = new QLineEdit(&dialog);
  auto* browse = new QPushButton("&Browse...", &dialog);
  browse->setAutoDefault(false);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
  ok->setDefault(true);
  auto* row = new QHBoxLayout;
  row->addWidget(name, 1);
  row->addWidget(browse);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel(MessageText(question.prompt), &dialog));
  layout->addLayout(row);
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(browse, &QPushButton::clicked, &dialog, [&] {
    QString start = name->text().isEmpty() ? QString::fromStdString(question.start)
                                           : QDir(QString::fromStdString(question.start)).filePath(name->text());
    QString chosen = BrowseFor(&dialog, question, question.use == FileUse::Read ? "Open" : "Save As", start);
    if (!chosen.isEmpty()) name->setText(chosen);
    // Enter now answers the question rather than browsing again.
    ok->setFocus();
  });
  return dialog.exec() == QDialog::Accepted ? name->text().toStdString() : std::string();
}

std::string ModalDialogs::ChooseFile(const FileQuestion& question) {
  return BrowseFor(QApplication::activeWindow(), question, MessageText(question.prompt),
                   QString::fromStdString(question.start))
      .toStdString();
}

void UnattendedDialogs::InfoBox(const std::string& message) { std::fprintf(stderr, "Info Only: %s\n", message.c_str()); }

bool UnattendedDialogs::AskYesNo(const std::string& message) {
  std::fprintf(stderr, "Warning: %s -> Yes\n", message.c_str());
  return true;
}

std::string UnattendedDialogs::PromptText(const std::string& prompt) {
  std::fprintf(stderr, "Prompt: %s\n", prompt.c_str());
  return {};
}

}  // namespace vantrel::ui
