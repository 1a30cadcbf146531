// State the figure commands keep between lines.
#pragma once

#include <string>

namespace vantrel {

struct AreaState {
  // How TPR lists the directions of its courses: "Z" azimuths, "B" bearings.
  // Read from the first field after the TPR code line and kept for the
  // figures that follow without a new code line.
  std::string AreaAngleOption = "Z";
};

}  // namespace vantrel
