// Arbitrary GPS texts through GRF, GPS and GDS, and arbitrary register
// equations through RTH. The input's lines are the reference latitude and
// longitude, a point's latitude and longitude, and an equation. No file
// command is listed, so no file can be named. No point or register may be
// left non-finite.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz_session.h"
#include "gps/gps_reference.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  std::istringstream lines(input);
  std::string text[5];
  for (std::string& t : text) {
    std::getline(lines, t);
    if (!t.empty() && t.back() == '\r') t.pop_back();
  }

  // The conversions on their own, with and without a reference.
  vantrel::GpsTextToDegrees(text[0]);
  vantrel::GpsReference none;
  std::string latitude = text[2], longitude = text[3];
  vantrel::CompleteGpsCoordinates(none, latitude, longitude);

  vantrel::fuzz::QuietUser user(input);
  vantrel::Session session(user);
  vantrel::fuzz::PrepareSession(session, "KWN\nCLR\nGRF\nGPS\nGDS\nRTH\nDSD\n");
  session.RunBatch("KWN\n1,5000,5000\nGRF\n1," + text[0] + "," + text[1] + "\nGPS\n2," + text[2] + "," + text[3] +
                   "\n3," + text[3] + "," + text[2] + "\nGDS\n1,3\nRTH\nD1=12.5\nA1=45\n" + text[4] + "\n");
  vantrel::fuzz::RequireFiniteStores(session);
  return 0;
}
