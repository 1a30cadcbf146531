// Arbitrary input pane text through the batch run, with questions answered
// by the input's own bytes and file names refused, so that nothing is
// written outside the fuzzer's folder.
#include <cstddef>
#include <cstdint>
#include <string>

#include "command/session.h"
#include "scripted_user.h"

namespace {

std::string& ReferenceText() {
  static std::string text = [] {
    std::string rows;
    for (const char* code : {"CLR", "ROT", "KWN", "DSC", "COM", "DCF", "RCF", "TAX", "DAB", "ANG", "AZM", "DIS",
                             "DSA", "DSD", "TAN", "PLL", "LZB", "LAD", "LLN", "DVA", "DVL", "PTS", "ZBI", "ARR",
                             "TOF", "ALI", "AZB", "TAA", "TAB", "PAJ", "TPR", "ARE", "DDF", "DAF", "RDF", "RAF",
                             "RTH", "CPA", "ARC", "MAP", "HA1", "HA2", "HA3", "GRF", "GPS", "GDS"})
      rows += std::string(code) + "\n";
    return rows;
  }();
  return text;
}

class FuzzUser : public vantrel::ScriptedUser {
 public:
  explicit FuzzUser(uint8_t seed) : seed_(seed) {}
  void ShowReportLine(const std::string&) override {}
  void InfoBox(const std::string&) override {}
  bool AskYesNo(const std::string&) override { return (seed_ = static_cast<uint8_t>(seed_ * 5 + 1)) & 1; }
  std::string PromptText(const std::string&) override { return {}; }

 private:
  uint8_t seed_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string pane(reinterpret_cast<const char*>(data), size);
  // File commands may name any path; keep the fuzzer inside its own folder.
  if (pane.find('/') != std::string::npos || pane.find(':') != std::string::npos ||
      pane.find('\\') != std::string::npos)
    return 0;
  FuzzUser user(size ? data[0] : 0);
  vantrel::Session session(user);
  session.files.ProgramFolder = ".";
  session.files.IODefault = false;
  vantrel::ReadCommandReference(ReferenceText(), session.reference);
  session.RunBatch(pane);
  return 0;
}
