// The report blocks of the horizontal curve commands: the curve elements,
// the point block, and the stationing block with its field table. The
// elements and stationing blocks carry RunningStation from curve to curve.
#pragma once

namespace vantrel {

class Session;

// One simple circular curve between two tangents.
struct SimpleCurve {
  int number;
  double deflection;    // radians; either sign (the blocks use its size)
  double tangent;       // feet, PI to PC and PI to PT
  double radius;        // feet
  double distanceToPI;  // from the point whose station RunningStation holds

  double ArcLength() const;
  double LongChord() const;
  double ExternalOrdinate() const;
  double MiddleOrdinate() const;
  // Central angle, in degrees, of a 100-foot arc.
  double DegreeOfCurvature() const;
};

// "Curve No." with deflection, tangent, radius and arc length; moves
// RunningStation on to the station of the PC.
void WriteCurveElements(Session& session, const SimpleCurve& curve);

// The point lines of the PC, the PT and the center.
void WriteCurvePoints(Session& session, int pc, int pt, int center);

// Degree of curvature, ordinates, long chord, the stations of PC, PI and PT
// and the field table at every full station `interval` apart (no table when
// the interval is not positive); then carries RunningStation on to the PI
// along the ahead tangent.
void WriteStationing(Session& session, const SimpleCurve& curve, float interval);

}  // namespace vantrel
