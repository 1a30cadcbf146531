// What LXW keeps between its lines: the file it writes and the parcels
// listed so far.
#pragma once

#include <string>
#include <vector>

namespace vantrel {

struct ExchangeState {
  std::string LandXmlPath;
  bool InternationalFoot = false;       // FT: feet of 0.3048 m; otherwise US survey feet
  std::vector<std::string> Parcels;     // each a <Parcel> element, written in order
};

}  // namespace vantrel
