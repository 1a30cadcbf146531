#include "ui/dialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace vantrel::ui {
namespace {

// Messages break their lines with CR LF, as the report does.
QString MessageText(const std::string& message) {
  return QString::fromStdString(message).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

}  // namespace

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

std::string ModalDialogs::PromptText(const std::string& prompt) {
  bool accepted = false;
  QString text = QInputDialog::getText(QApplication::activeWindow(), "File Name", MessageText(prompt),
                                       QLineEdit::Normal, QString(), &accepted);
  return accepted ? text.toStdString() : std::string();
}

}  // namespace vantrel::ui
