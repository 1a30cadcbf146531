// The geographic reference point that ties the grid to latitude/longitude.
#pragma once

namespace vantrel {

struct GpsReference {
  void Clear() { *this = GpsReference{}; }
};

}  // namespace vantrel
