// Arbitrary input pane text through the batch run, with questions answered
// by the input's own bytes and file names refused, so that nothing is
// written outside the fuzzer's folder.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_session.h"

namespace {

constexpr const char* kEveryCode =
    "CLR\nROT\nKWN\nDSC\nCOM\nDCF\nRCF\nTAX\nDAB\nANG\nAZM\nDIS\nDSA\nDSD\nTAN\nPLL\nLZB\nLAD\nLLN\nDVA\nDVL\n"
    "PTS\nZBI\nARR\nTOF\nALI\nAZB\nTAA\nTAB\nPAJ\nTPR\nARE\nDDF\nDAF\nRDF\nRAF\nRTH\nCPA\nARC\nMAP\nHA1\nHA2\n"
    "HA3\nGRF\nGPS\nGDS\n";

class SeededUser : public vantrel::fuzz::QuietUser {
 public:
  explicit SeededUser(uint8_t seed) : seed_(seed) {}
  bool AskYesNo(const std::string&) override { return (seed_ = static_cast<uint8_t>(seed_ * 5 + 1)) & 1; }

 private:
  uint8_t seed_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string pane(reinterpret_cast<const char*>(data), size);
  if (!vantrel::fuzz::StaysInWorkingFolder(pane)) return 0;
  // The answers follow the last byte, which seldom changes the job itself,
  // so the fuzzer can try other answers to the same questions.
  SeededUser user(size ? data[size - 1] : 0);
  vantrel::Session session(user);
  vantrel::fuzz::PrepareSession(session, kEveryCode);
  session.RunBatch(pane);
  vantrel::fuzz::RequireFiniteStores(session);
  return 0;
}
