#include "ui/user_guide.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "command/installation.h"

namespace vantrel::ui {

QString UserGuidePath(const QString& executableFolder, const QString& sourceFolder) {
  const QString installed =
      QString::fromStdString(InstalledShareFile(executableFolder.toStdString(), "doc/vantrel/guide.md"));
  for (const QString& candidate : {installed, QDir(sourceFolder).filePath("docs/guide.md")})
    if (QFileInfo(candidate).isFile()) return candidate;
  return {};
}

QString UserGuidePath() { return UserGuidePath(QCoreApplication::applicationDirPath(), VANTREL_SOURCE_FOLDER); }

}  // namespace vantrel::ui
