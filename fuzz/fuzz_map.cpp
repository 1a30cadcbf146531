// Arbitrary input pane text through the batch run with a plot window and a
// printer attached, each plot option set from the input's first byte, and
// the pictures written out as SVG, PNG and PDF and the drawing as DXF at the
// end.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_session.h"
#include "map/plot_files.h"
#include "map/plot_surface.h"

namespace {

class PlottingUser : public vantrel::fuzz::QuietUser {
 public:
  using QuietUser::QuietUser;
  vantrel::PlotPicture window{8800, 6800};
  vantrel::PrinterPages printer;
  std::vector<vantrel::PlotPicture> printed;

  vantrel::PlotSurface* PlotWindow() override { return &window; }
  vantrel::PlotSurface* PrinterPage() override { return &printer; }
  void EndPrintDocument() override {
    for (vantrel::PlotPicture& page : printer.TakeDocument()) printed.push_back(std::move(page));
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string pane(reinterpret_cast<const char*>(data), size);
  if (!vantrel::fuzz::StaysInWorkingFolder(pane)) return 0;
  PlottingUser user(pane);
  vantrel::Session session(user);
  vantrel::fuzz::PrepareSession(session, "KWN\nMAP\nCLR\nROT\nTAX\nDSC\nDES\nDXF\nALN\n");
  uint8_t options = size ? data[0] : 0;
  session.plot.ShowPoints = options & 1;
  session.plot.ShowPointNumbers = options & 2;
  session.plot.ShowCenters = options & 4;
  session.files.SpoolOn = options & 8;  // the printer draws; no spool name is given
  session.RunBatch(pane);
  vantrel::fuzz::RequireFiniteStores(session);
  vantrel::PlotSvg(user.window);
  if (options & 16) vantrel::PlotPng(user.window);  // the slowest, so not every run
  vantrel::PlotPdf(user.printed);
  vantrel::PlotDxf(session.plot.drawing);
  return 0;
}
