// Arbitrary raw data through RAW as an RW5, a GSI and a JobXML file, with
// the observations written for least squares. Whatever the file holds, no
// point or register may be left non-finite, no report line or message may
// show a number that is no number, and a file RAW refuses stores nothing:
// the store after a refused file is the store before it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "fuzz_session.h"

namespace {

// Notes whether a message said that a file was refused.
class RefusalUser : public vantrel::fuzz::QuietUser {
 public:
  using QuietUser::QuietUser;
  void InfoBox(const std::string& message) override {
    QuietUser::InfoBox(message);
    refused = refused || message.find("Nothing was stored") != std::string::npos;
  }
  bool refused = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string content(reinterpret_cast<const char*>(data), size);
  for (const char* name : {"fuzz.rw5", "fuzz.gsi", "fuzz.jxl"}) std::ofstream(name, std::ios::binary) << content;
  std::remove("fuzz-lsq.cmd");

  RefusalUser user(content);
  vantrel::Session session(user);
  vantrel::fuzz::PrepareSession(session, "RAW\n");
  for (const char* job : {"RAW\nfuzz.rw5,RW5,L\n", "RAW\nfuzz.gsi,GSI,L,FT\n", "RAW\nfuzz.jxl,JXL,L,T1\n"}) {
    vantrel::PointStore before = session.points;
    user.refused = false;
    session.RunBatch(job);
    if (user.refused && !(session.points == before)) std::abort();
    vantrel::fuzz::RequireFiniteStores(session);
  }
  // The least-squares file holds numbers only where numbers belong.
  std::ifstream written("fuzz-lsq.cmd", std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
  for (const char* word : {"nan", "inf", "NAN", "INF"})
    if (text.find(word) != std::string::npos && content.find(word) == std::string::npos) std::abort();
  return 0;
}
