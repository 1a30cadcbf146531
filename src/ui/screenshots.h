// Pictures for the user's guide beyond the three windows: the first start,
// the main window with its first menu open, the command table after a
// double-click, the guide viewer, the map zoomed in, and the PDFs of the
// printed report and the printed map (rendered to pictures by
// scripts/screenshots).
#pragma once

#include <QString>

namespace vantrel::ui {

class MainWindow;

// Saves first-start.png (the main window as it opens, the input pane
// empty) into `folder`; true when it was saved.
bool SaveFirstStartPicture(MainWindow& window, const QString& folder);

// Saves menus.png, table-double-click.png (the command table after a
// double-click on a row, and the code it put in the input pane), guide.png
// (the user's guide inside the program), plot-zoomed.png, report.pdf and
// map.pdf (the plat, its courses labelled) into `folder` after a run; true
// when every one was saved.
bool SaveGuidePictures(MainWindow& window, const QString& folder);

}  // namespace vantrel::ui
