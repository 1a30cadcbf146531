// Arbitrary input pane text through the batch run, with questions answered
// by the input's last byte and no file name typed when one is asked for;
// inputs that could name a file outside the fuzzer's folder are skipped.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_session.h"

namespace {

constexpr const char* kEveryCode =
    "CLR\nROT\nKWN\nDSC\nCOM\nDCF\nRCF\nTAX\nDAB\nANG\nAZM\nDIS\nDSA\nDSD\nTAN\nPLL\nLZB\nLAD\nLLN\nDVA\nDVL\n"
    "PTS\nZBI\nARR\nTOF\nALI\nAZB\nTAA\nTAB\nPAJ\nTPR\nARE\nDDF\nDAF\nRDF\nRAF\nRTH\nCPA\nARC\nMAP\nHA1\nHA2\n"
    "HA3\nGRF\nGPS\nGDS\nDES\nDSE\nPNW\nPNR\nDXF\nLXW\nLXR\nGCS\nMCK\nCUT\nLDW\nRAW\nALN\nSOF\nLSO\nVCV\n";

// Questions are answered Yes, as the scenarios answer them, when the input
// ends with a line break; otherwise the last byte's bits answer them in turn
// (a set bit is No). The last byte seldom changes the job itself, so the
// fuzzer can try other answers to the same questions.
class SeededUser : public vantrel::fuzz::QuietUser {
 public:
  SeededUser(std::string_view typed, uint8_t noBits) : QuietUser(typed), noBits_(noBits) {}
  bool AskYesNo(const std::string& message) override {
    RequireSoundText(message);
    return !((noBits_ >> (asked_++ % 8)) & 1);
  }

 private:
  uint8_t noBits_;
  int asked_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string pane(reinterpret_cast<const char*>(data), size);
  if (!vantrel::fuzz::StaysInWorkingFolder(pane)) return 0;
  uint8_t last = size ? data[size - 1] : '\n';
  SeededUser user(pane, last == '\n' || last == '\r' ? 0 : last);
  vantrel::Session session(user);
  vantrel::fuzz::PrepareSession(session, kEveryCode);
  session.RunBatch(pane);
  vantrel::fuzz::RequireFiniteStores(session);
  return 0;
}
