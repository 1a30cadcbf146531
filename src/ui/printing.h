// The printer side of the map: the pages drawn since the last end of
// document go to the system's default printer, or into a PDF file when
// there is none.
#pragma once

#include <QString>
#include <vector>

namespace vantrel {
class PlotPicture;
}

namespace vantrel::ui {

// Prints `pages`. With `usePrinter` and a default printer they go there;
// otherwise into "<name>-<n>.pdf" in `folder`, with the project name (or
// "map" without one) and the next free number. Returns the sentence for the
// status bar that says where the pages went.
QString PrintPages(const std::vector<PlotPicture>& pages, const QString& folder, const QString& projectName,
                   bool usePrinter);

}  // namespace vantrel::ui
