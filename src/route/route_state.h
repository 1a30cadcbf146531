// What the route commands keep: alignments 1..20 with their names and
// profiles, and the entry of an alignment or a profile while its lines
// arrive.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "route/alignment.h"
#include "route/profile.h"

namespace vantrel {

inline constexpr int kMaxAlignment = 20;

// An alignment as it is kept: its geometry and the name it came with (a
// LandXML file's; empty for one entered with ALN).
struct StoredAlignment {
  Alignment geometry;
  std::string name;
};

struct RouteState {
  // [1..20]; [0] unused. A profile belongs to an alignment number and stays
  // when the alignment is entered again (a new horizontal design keeps its
  // grades), so a profile may also be entered before its alignment.
  std::array<std::optional<StoredAlignment>, kMaxAlignment + 1> alignments;
  std::array<std::optional<Profile>, kMaxAlignment + 1> profiles;

  // ALN, VCV: the lines of one alignment or profile until the line that
  // ends without a trailing comma.
  struct Entry {
    int number = 0;
    double startStation = 0;
    double interval = 0;  // VCV: stations of the elevation table
    std::vector<Element> elements;
    std::vector<std::optional<PlanePoint>> givenEnds;  // ALN: an arc's PT
    std::vector<Pvi> pvis;
    bool refused = false;  // lines pass over until the entry's last line
  } entry;

  // SOF, LSO: the alignment their first line named.
  int current = 0;

  static bool IsAlignmentNumber(int n) { return n >= 1 && n <= kMaxAlignment; }
};

}  // namespace vantrel
