#include "ui/dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
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

UserSide::SaveChoice ModalDialogs::AskSaveDiscardCancel(const std::string& message) {
  QMessageBox box(QMessageBox::Warning, "Close Vantrel", MessageText(message),
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

std::string ModalDialogs::PromptText(const std::string& prompt) {
  // The typed name goes through the program's file-name rule; Browse...
  // fills in a file chosen in the system dialog.
  QDialog dialog(QApplication::activeWindow());
  dialog.setWindowTitle("File Name");
  auto* name = new QLineEdit(&dialog);
  auto* browse = new QPushButton("&Browse...", &dialog);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  auto* row = new QHBoxLayout;
  row->addWidget(name, 1);
  row->addWidget(browse);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel(MessageText(prompt), &dialog));
  layout->addLayout(row);
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(browse, &QPushButton::clicked, &dialog, [&] {
    QString folder = browseFolder ? browseFolder() : QString();
    // Replacing a file is asked by the command that writes it.
    QString chosen = QFileDialog::getSaveFileName(&dialog, "Choose a File", folder, QString(), nullptr,
                                                  QFileDialog::DontConfirmOverwrite);
    if (!chosen.isEmpty()) name->setText(chosen);
  });
  return dialog.exec() == QDialog::Accepted ? name->text().toStdString() : std::string();
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
