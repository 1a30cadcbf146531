// The user's guide that Help opens: the installed guide, or the source
// tree's when the program runs from its build folder.
#pragma once

#include <QString>

namespace vantrel::ui {

// PREFIX/share/doc/vantrel/guide.md for a program in PREFIX/bin, otherwise
// docs/guide.md under `sourceFolder`; empty when neither file is there.
QString UserGuidePath(const QString& executableFolder, const QString& sourceFolder);

// The same for the running program and the tree it was built from.
QString UserGuidePath();

}  // namespace vantrel::ui
