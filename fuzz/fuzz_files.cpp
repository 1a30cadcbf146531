// Arbitrary point and register file contents through RCF, RDF and RAF. The
// file is written under a fixed name in the fuzzer's working folder, the
// only folder the session may use. Whatever the file holds, no point or
// register may be left non-finite, and what DCF and DDF save from the result
// must read back exactly.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "fuzz_session.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string content(reinterpret_cast<const char*>(data), size);
  for (const char* name : {"fuzz.pts", "fuzz.dis", "fuzz.ang"})
    std::ofstream(name, std::ios::binary) << content;

  vantrel::fuzz::QuietUser user;
  vantrel::Session session(user);
  vantrel::fuzz::PrepareSession(session, "CLR\nRCF\nDCF\nRDF\nDDF\nRAF\nDAF\n");
  session.RunBatch("RCF\nfuzz\nRDF\nfuzz\nRAF\nfuzz\n");
  vantrel::fuzz::RequireFiniteStores(session);

  // Saved and read back into a cleared store: the same values, bit for bit.
  auto north = session.PointNorth;
  auto east = session.PointEast;
  auto distances = session.DistanceRegister;
  session.RunBatch("DCF\nsaved\nDDF\nsaved\nCLR\n\nRCF\nsaved\nRDF\nsaved\n");
  if (std::memcmp(&north, &session.PointNorth, sizeof north) != 0) std::abort();
  if (std::memcmp(&east, &session.PointEast, sizeof east) != 0) std::abort();
  for (int r = 1; r < vantrel::kRegisterCount; ++r)
    if (distances[r] > 0 && std::memcmp(&distances[r], &session.DistanceRegister[r], sizeof(double)) != 0)
      std::abort();
  return 0;
}
