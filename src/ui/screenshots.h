// Pictures for the user's guide beyond the three windows: the main window
// with its first menu open, the map zoomed in, and the PDFs of the printed
// report and the printed map (rendered to pictures by scripts/screenshots).
#pragma once

#include <QString>

namespace vantrel::ui {

class MainWindow;

// Saves menus.png, plot-zoomed.png, report.pdf and map.pdf into `folder`
// after a run; true when every one was saved.
bool SaveGuidePictures(MainWindow& window, const QString& folder);

}  // namespace vantrel::ui
