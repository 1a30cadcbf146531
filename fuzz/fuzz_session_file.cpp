// Arbitrary session files (and recovery copies) through the loader. A file
// it refuses leaves the session as it was; a file it reads leaves only what
// the commands themselves could give: finite numbers, descriptions DES would
// take, a geographic reference GDS lists without a number that is no number.
// What it read is written again and must read back to the same file, and the
// listings and exchange files made from it must hold no forged line.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "fuzz_session.h"
#include "store/descriptions.h"
#include "store/session_file.h"

namespace {

// Every line of a file written from the session starts as its writer
// starts lines: a CSV record with a point number, a DXF group code.
bool LinesStartWith(const char* name, bool (*sound)(const std::string&)) {
  std::ifstream file(name, std::ios::binary);
  std::string line;
  while (std::getline(file, line))
    if (!sound(line)) return false;
  return true;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string content(reinterpret_cast<const char*>(data), size);
  vantrel::fuzz::QuietUser user(content);
  vantrel::Session session(user);
  vantrel::fuzz::PrepareSession(session, "DSE\nGDS\nPNW\nDXF\nLXW\n");
  session.points.Store(7, 1, 2);
  std::string pane = "kept";
  std::string problem = vantrel::ReadSessionFile(content, session, pane);
  if (!problem.empty()) {
    if (pane != "kept" || session.points.North(7) != 1 || session.points.UsedCount() != 1) std::abort();
    return 0;
  }
  vantrel::fuzz::RequireFiniteStores(session);
  for (int n : session.points.Numbers()) {
    const std::string& description = session.points[n].description;
    if (vantrel::CharacterCount(description) > vantrel::kMaxDescription ||
        std::any_of(description.begin(), description.end(), vantrel::IsControlCharacter))
      std::abort();
  }

  // Read back from what it writes: the same file.
  std::string text = vantrel::SessionFileText(session, pane);
  vantrel::Session again(user);
  std::string againPane;
  if (!vantrel::ReadSessionFile(text, again, againPane).empty() || vantrel::SessionFileText(again, againPane) != text)
    std::abort();

  // The file names the session carries stay out of this run: only the
  // working folder is written.
  session.files.ProgramFolder = ".";
  session.files.IODefault = false;
  session.files.SpoolOn = false;
  std::remove("listed.csv");
  std::remove("listed.dxf");
  session.RunBatch("DSE\n\nGDS\n1,1000\nPNW\nlisted\nDXF\nlisted\n");
  if (!LinesStartWith("listed.csv", [](const std::string& line) { return !line.empty() && IsDigit(line[0]); }))
    std::abort();
  // A DXF holds a group code on every other line.
  std::ifstream dxf("listed.dxf", std::ios::binary);
  std::string code, value;
  while (std::getline(dxf, code) && std::getline(dxf, value)) {
    std::istringstream number(code);
    int group;
    if (!(number >> group) || !(number >> std::ws).eof()) std::abort();
  }
  return 0;
}
