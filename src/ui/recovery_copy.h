// The recovery copy of the session: a session file in the application-data
// folder, written after every run and every minute while the input pane
// changes, removed by a clean close, and offered at the next start when it
// is still there. One window at a time owns it, through a lock file that a
// killed program leaves stale rather than held.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QLockFile;
class QTimer;

namespace vantrel::ui {

class RecoveryCopy : public QObject {
  Q_OBJECT

 public:
  // `folder` empty: the application-data folder. `due` tells whether the
  // work changed since the last copy, `write` writes one; the timer asks
  // every minute.
  RecoveryCopy(const QString& folder, std::function<bool()> due, std::function<void()> write, QObject* parent);
  ~RecoveryCopy() override;

  QString Path() const { return path_; }

  // Takes the copy for this window: false when another window holds it
  // (then nothing is offered or written).
  bool Take();
  bool Owned() const { return lock_ != nullptr; }
  // The text of a copy a session that did not close cleanly left; nothing
  // when there is none, or when it cannot be read (a FIFO or device in its
  // place, a copy past the size limit): then `reason` says why.
  std::optional<std::string> LeftBehind(std::string& reason) const;
  // A declined copy is kept aside (until the next one declined), not lost.
  void SetAside();
  // Replaces the copy with `text`; the reason when it could not.
  std::optional<std::string> Write(const std::string& text);
  // A clean close: the copy goes, and so does the lock.
  void Remove();

 private:
  QString path_;
  std::unique_ptr<QLockFile> lock_;
  QTimer* timer_ = nullptr;
};

}  // namespace vantrel::ui
