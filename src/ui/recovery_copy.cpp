#include "ui/recovery_copy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>

#include "command/text_file.h"

namespace vantrel::ui {
namespace {

constexpr int kIntervalMs = 60 * 1000;

}  // namespace

RecoveryCopy::RecoveryCopy(const QString& folder, std::function<bool()> due, std::function<void()> write,
                           QObject* parent)
    : QObject(parent) {
  QString place = folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) : folder;
  QDir().mkpath(place);
  path_ = QDir(place).filePath("recovery.vsn");
  timer_ = new QTimer(this);
  timer_->setInterval(kIntervalMs);
  connect(timer_, &QTimer::timeout, this, [this, due = std::move(due), write = std::move(write)] {
    if (Owned() && due()) write();
  });
  timer_->start();
}

RecoveryCopy::~RecoveryCopy() = default;

bool RecoveryCopy::Take() {
  lock_ = std::make_unique<QLockFile>(path_ + ".lock");
  if (lock_->tryLock(0)) return true;
  lock_.reset();
  return false;
}

std::optional<std::string> RecoveryCopy::LeftBehind(std::string& reason) const {
  reason.clear();
  if (!Owned() || !QFileInfo::exists(path_)) return std::nullopt;
  // Read as every other file is, never waited on or read past the limit.
  return ReadWholeFile(QFile::encodeName(path_).toStdString(), reason);
}

void RecoveryCopy::SetAside() {
  QFile::remove(path_ + ".declined");
  QFile::rename(path_, path_ + ".declined");
}

std::optional<std::string> RecoveryCopy::Write(const std::string& text) {
  if (!Owned()) return std::nullopt;
  return ReplaceFile(QFile::encodeName(path_).toStdString(), text);
}

void RecoveryCopy::Remove() {
  if (!Owned()) return;
  QFile::remove(path_);
  lock_.reset();
}

}  // namespace vantrel::ui
