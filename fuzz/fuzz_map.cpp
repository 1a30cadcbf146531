// Arbitrary input pane text through the batch run with a plot window and a
// printer attached, each plot option set from the input's first byte, and
// the pictures written out as SVG, PNG and PDF at the end.
#include <cstddef>
#include <cstdint>
#include <string>

#include "command/session.h"
#include "map/plot_files.h"
#include "map/plot_surface.h"
#include "scripted_user.h"

namespace {

class PlottingUser : public vantrel::ScriptedUser {
 public:
  vantrel::PlotPicture window{8800, 6800};
  vantrel::PrinterPages printer;
  std::vector<vantrel::PlotPicture> printed;

  void ShowReportLine(const std::string&) override {}
  void InfoBox(const std::string&) override {}
  bool AskYesNo(const std::string&) override { return true; }
  std::string PromptText(const std::string&) override { return {}; }
  vantrel::PlotSurface* PlotWindow() override { return &window; }
  vantrel::PlotSurface* PrinterPage() override { return &printer; }
  void EndPrintDocument() override {
    for (vantrel::PlotPicture& page : printer.TakeDocument()) printed.push_back(std::move(page));
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string pane(reinterpret_cast<const char*>(data), size);
  // File commands may name any path; keep the fuzzer inside its own folder.
  if (pane.find('/') != std::string::npos || pane.find(':') != std::string::npos ||
      pane.find('\\') != std::string::npos)
    return 0;
  PlottingUser user;
  vantrel::Session session(user);
  session.files.ProgramFolder = ".";
  session.files.IODefault = false;
  uint8_t options = size ? data[0] : 0;
  session.plot.ShowPoints = options & 1;
  session.plot.ShowPointNumbers = options & 2;
  session.plot.ShowCenters = options & 4;
  session.files.SpoolOn = options & 8;  // the printer draws; no spool name is given
  vantrel::ReadCommandReference("KWN\nMAP\nCLR\nROT\nTAX\nDSC\n", session.reference);
  session.RunBatch(pane);
  vantrel::PlotSvg(user.window);
  if (options & 16) vantrel::PlotPng(user.window);  // the slowest, so not every run
  vantrel::PlotPdf(user.printed);
  return 0;
}
