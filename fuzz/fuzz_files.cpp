// Arbitrary point, register, CSV and LandXML file contents through RCF, RDF,
// RAF, PNR and LXR. The file is written under a fixed name in the fuzzer's
// working folder, the only folder the session may use. Whatever the file
// holds, no point or register may be left non-finite, what DCF, DDF and DAF
// save from the result must read back exactly, and so must what PNW and LXW
// save, descriptions and elevations with it.
#include <cstddef>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "fuzz_session.h"

namespace {

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string content(reinterpret_cast<const char*>(data), size);
  for (const char* name : {"fuzz.pts", "fuzz.dis", "fuzz.ang", "fuzz.csv", "fuzz.xml"})
    std::ofstream(name, std::ios::binary) << content;

  vantrel::fuzz::QuietUser user(content);
  vantrel::Session session(user);
  vantrel::fuzz::PrepareSession(session, "CLR\nRCF\nDCF\nRDF\nDDF\nRAF\nDAF\nPNR\nPNW\nLXR\nLXW\n");
  session.RunBatch("LXR\nfuzz\nPNR\nfuzz\nRCF\nfuzz\nRDF\nfuzz\nRAF\nfuzz\n");
  vantrel::fuzz::RequireFiniteStores(session);

  // Written as CSV and as LandXML, and each read back into a cleared store:
  // every point comes back bit for bit, with its description and elevation.
  auto SamePoints = [&session](const vantrel::PointStore& before) {
    auto defined = [](const vantrel::PointStore& store) {
      int count = 0;
      for (int k : store.Numbers()) count += store.IsDefined(k);
      return count;
    };
    if (defined(before) != defined(session.points)) return false;
    for (int k : before.Numbers()) {
      if (!before.IsDefined(k)) continue;
      const vantrel::Point &was = before[k], &is = session.points[k];
      if (!session.points.IsDefined(k) || !SameBits(was.north, is.north) || !SameBits(was.east, is.east) ||
          was.description != is.description || was.elevation.has_value() != is.elevation.has_value() ||
          (was.elevation && !SameBits(*was.elevation, *is.elevation)))
        return false;
    }
    return true;
  };
  vantrel::PointStore before = session.points;
  // A file left by an earlier input must not stand in for one not written.
  std::remove("exchanged.csv");
  std::remove("exchanged.xml");
  for (const char* pair : {"PNW\nexchanged\nCLR\n\nPNR\nexchanged\n", "LXW\nexchanged\nCLR\n\nLXR\nexchanged\n"}) {
    session.RunBatch(pair);
    if (!SamePoints(before)) std::abort();
  }

  // Saved and read back into a cleared store and cleared registers: every
  // defined point and every register above zero comes back bit for bit. A
  // point with either coordinate at the undefined marker is not saved, so it
  // comes back undefined.
  vantrel::PointStore saved = session.points;
  auto distances = session.registers.distance;
  auto angles = session.registers.angle;
  session.RunBatch("DCF\nsaved\nDDF\nsaved\nDAF\nsaved\nCLR\n\n");
  session.registers.distance.fill(0);
  session.registers.angle.fill(0);
  session.RunBatch("RCF\nsaved\nRDF\nsaved\nRAF\nsaved\n");
  for (int k : session.points.Numbers())
    if (session.points.IsDefined(k) && !saved.IsDefined(k)) std::abort();
  for (int k : saved.Numbers()) {
    bool same = SameBits(saved.North(k), session.points.North(k)) && SameBits(saved.East(k), session.points.East(k));
    if (saved.IsDefined(k) ? !same : session.points.IsDefined(k)) std::abort();
  }

  for (int r = 1; r < vantrel::kRegisterCount; ++r)
    if ((distances[r] > 0 && !SameBits(distances[r], session.registers.distance[r])) ||
        (angles[r] > 0 && !SameBits(angles[r], session.registers.angle[r])))
      std::abort();
  return 0;
}
