// What the deed commands keep between the lines of one command.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "deeds/description.h"
#include "deeds/record_calls.h"

namespace vantrel {

// MCK: the calls of the figure being read, until a line without a trailing
// comma ends it.
struct MapCheckRecord {
  int startPoint = 0;
  std::optional<int> firstStored;  // the first number for the computed corners
  std::vector<RecordCall> calls;
  std::vector<std::string> callTexts;  // each call as typed, for messages
  bool refused = false;  // a call was refused: the rest of the figure is passed over
};

// CUT: the method line, for the figure that follows it.
struct CutRecord {
  char method = 0;  // 'P', 'D' or 'H'; 0 after a refused method line
  double target = 0;  // square feet
  double azimuth = 0;  // D
  int from = 0, to = 0;  // P: the side; H: `from` is the hinge
  std::vector<int> newPoints;
};

// LDW: the options line, and the descriptions written since, which the
// file holds.
struct DescriptionRecord {
  std::string beginning;  // empty: the point of beginning by its number and coordinates
  bool spelledAngles = false;
  std::string path;  // empty: no file
  std::string fileText;
};

struct DeedState {
  MapCheckRecord check;
  CutRecord cut;
  DescriptionRecord description;
};

}  // namespace vantrel
