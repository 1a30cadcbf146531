// The horizontal alignment of a route: tangents, circular arcs and clothoid
// spirals one after another, stationed continuously from a start station.
// Pure geometry, in feet and radians: azimuths clockwise from north,
// curvature positive where the route turns right, offsets positive to the
// right of the direction of travel. Angles here use the true value of pi:
// the alignment goes out to other programs (LandXML, DXF) and its
// station/offset round trips close to a millionth of a foot.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "notation/geometry.h"

namespace vantrel {

// A place on an element and the direction of travel there.
struct Pose {
  PlanePoint at;
  double azimuth = 0;
};

enum class ElementKind { Line, Arc, Spiral };

// One element: where it starts, the direction there, its length and its
// curvature at both ends (equal on a line or an arc; changing at an even
// rate along a spiral).
struct Element {
  ElementKind kind = ElementKind::Line;
  PlanePoint start;
  double azimuth = 0;
  double length = 0;
  double startCurvature = 0, endCurvature = 0;
  PlanePoint centre;  // arcs only

  double CurvatureAt(double s) const { return startCurvature + (endCurvature - startCurvature) * s / length; }
  // The place `s` feet along the element from its start (s may lie beyond
  // either end of a line).
  Pose At(double s) const;
  Pose End() const { return At(length); }
  // The radius of an arc, the smaller radius of a spiral.
  double Radius() const;
  bool TurnsRight() const { return startCurvature + endCurvature > 0; }
  // The change of direction from start to end, positive to the right.
  double Turned() const { return (startCurvature + endCurvature) / 2 * length; }
};

// A spiral may turn through at most a quarter turn: far beyond any road's,
// and the most its summed series is checked for.
inline constexpr double kMostSpiralTurn = 1.5707963267948966;

// The tangent from one point to another.
Element LineBetween(PlanePoint from, PlanePoint to);

// The arc from `pc` about `centre` to the direction of `pt` from the centre,
// clockwise (turning right) or counterclockwise. The radius is the PC's
// distance from the centre; an arc of no radius or no length gives nothing.
std::optional<Element> ArcAbout(PlanePoint pc, PlanePoint centre, PlanePoint pt, bool clockwise);

// The arc from `pc` about `centre` to `pt` turning the way that continues
// the direction `incoming` (the end of the element before) most closely; with
// nothing before it, the arc of at most half a turn.
std::optional<Element> ArcContinuing(PlanePoint pc, PlanePoint centre, PlanePoint pt, std::optional<double> incoming);

// The clothoid that starts at `start` and changes its curvature evenly from
// `startCurvature` to `endCurvature` over `length`.
Element SpiralFrom(Pose start, double length, double startCurvature, double endCurvature);

// The place, in a frame along and to the right of a spiral's start tangent,
// reached `s` feet along a clothoid that starts with curvature k0 and whose
// curvature changes by `rate` per foot: the integral of (cos, sin) of the
// turned angle k0*t + rate*t^2/2, summed as a power series.
struct LocalOffset {
  double along = 0, right = 0;
};
LocalOffset ClothoidOffset(double k0, double rate, double s);

// Where a point stands against an alignment.
enum class Foot {
  OnElement,     // its perpendicular meets an element
  BeforeStart,   // on the start tangent extended back
  AfterEnd,      // on the end tangent extended on
  AtJoin,        // no perpendicular (outside a kink): the nearest join
};

struct StationOffset {
  double station = 0;
  double offset = 0;  // positive right of the direction of travel
  int element = 0;    // 0-based
  Foot foot = Foot::OnElement;
  PlanePoint projection;
  // Another element meets the point at the same distance, at this station.
  std::optional<double> equallyNear;
};

class Alignment {
 public:
  Alignment() = default;
  Alignment(double startStation, std::vector<Element> elements);

  double StartStation() const { return startStation_; }
  double EndStation() const { return stations_.back(); }
  double Length() const { return EndStation() - startStation_; }
  const std::vector<Element>& Elements() const { return elements_; }
  // The station at the start of element k (k = size: the end).
  double ElementStation(size_t k) const { return stations_[k]; }

  // The element that holds a station: the last one starting at or before
  // it, found by bisection over the element stations.
  size_t ElementAt(double station) const;
  // The place at a station (within the alignment) and offset, with the
  // direction of travel there.
  Pose Locate(double station, double offset) const;
  // The station and offset of a point: the nearest perpendicular foot on an
  // element or on the tangents extended beyond the ends.
  StationOffset Project(PlanePoint p) const;

 private:
  struct Box {
    double minNorth, minEast, maxNorth, maxEast;
    double DistanceTo(PlanePoint p) const;
  };
  void BuildTree();

  double startStation_ = 0;
  std::vector<Element> elements_;
  std::vector<double> stations_;  // start of each element, then the end
  // A tree over the elements in station order: node 1 holds them all, node
  // n the stretches of nodes 2n and 2n+1; each box bounds its stretch.
  std::vector<Box> boxes_;
  size_t leaves_ = 0;
};

// Where one element does not meet the next: the gap between the end of one
// and the start of the other, and the kink between their directions; or
// where an element misses the end point it was given (an arc's PT off its
// radius, a LandXML element whose End its length does not reach).
struct JoinMismatch {
  size_t element = 0;  // 0-based: the join after it, or its own end
  double gap = 0;      // feet
  double kink = 0;     // radians, the next direction less this one's
  bool ownEnd = false;
};

// Joins and ends that miss by more than 0.001 ft or turn by more than one
// second, in element order. `givenEnds` (empty, or one entry an element)
// holds the end points the elements were given.
std::vector<JoinMismatch> JoinMismatches(const std::vector<Element>& elements,
                                         const std::vector<std::optional<PlanePoint>>& givenEnds = {});

// "Element 3 starts 0.012 ft and 0 0 5 off the end of element 2", element
// numbers counted from 1.
std::string MismatchText(const JoinMismatch& mismatch);

// Azimuth from one place to another, clockwise from north in 0..2pi.
double PlaneAzimuth(PlanePoint from, PlanePoint to);
double PlaneDistance(PlanePoint a, PlanePoint b);
// An angle brought into -pi..pi.
double WithinHalfTurn(double angle);

}  // namespace vantrel
