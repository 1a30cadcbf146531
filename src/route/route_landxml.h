// Alignments and their profiles in LandXML: written by LXW beside the
// points and parcels, read by LXR from this program's files and from those
// of civil design packages (LandXML 1.0 to 1.2). Directions are never read
// from the file, where packages disagree on their origin, sense and unit:
// every element takes its direction from its coordinates, a spiral from its
// chord, length and radii.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "route/alignment.h"
#include "route/profile.h"

namespace vantrel {

class Session;
struct RouteState;
struct XmlElement;

// The <Alignments> element of every defined alignment, each with its
// profile; empty when no alignment is defined.
std::string AlignmentsXml(const RouteState& route);

// One alignment of a file as LXR reads it.
struct AlignmentRead {
  std::string name;  // the file's name for it
  std::string description;
  double startStation = 0;
  std::vector<Element> elements;
  std::vector<std::optional<PlanePoint>> givenEnds;
  std::optional<Profile> profile;
  std::string problem;         // why the alignment cannot be read; empty: it can
  std::string profileProblem;  // why its profile was left out
};

// The coordinates of a Start, End, Center or PI element: its text, or the
// CgPoint its pntRef names.
using PointOfElement = std::function<std::optional<PlanePoint>(const XmlElement&)>;

// Every <Alignment> below the root, in document order.
std::vector<AlignmentRead> ReadAlignments(const XmlElement& root, const PointOfElement& pointOf);

// Stores what was read: each alignment under the number its name gives
// (1..20) or else the lowest number free; asks before taking one whose
// joins miss, and once before replacing alignments already defined. Then
// one message says what was read and what was not.
void StoreReadAlignments(Session& session, const std::string& file, const std::vector<AlignmentRead>& reads);

}  // namespace vantrel
