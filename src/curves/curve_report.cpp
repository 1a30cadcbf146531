#include "curves/curve_report.h"

#include <cmath>
#include <string>

#include "command/session.h"
#include "notation/angles.h"
#include "notation/format.h"

namespace vantrel {
namespace {

// The degree of curvature is the central angle of an arc this long (feet).
constexpr double kStationLength = 100;

// A field table is for staking out; an interval that would give more rows
// than this is a typing slip, and the rows would swamp the report.
constexpr double kMostFieldRows = 100000;

constexpr NumberMask kFeet = "######0.000";
std::string Feet(double value) { return FormatMask(value, kFeet); }

// Stations are reported to the thousandth: a full station closer than half
// of that to the row before (a PC a hair off a full station) is the same row.
constexpr double kStationResolution = 0.0005;

// The next full station above `station`: the next multiple of the interval.
// Rounding may leave the quotient just below the next whole number, so a
// result that does not move on is taken one interval further.
double NextFullStation(double station, double interval) {
  double multiple = std::floor((station + interval) / interval);
  double next = multiple * interval;
  if (next <= station + kStationResolution) next = (multiple + 1) * interval;
  return next;
}

void WriteFieldRow(Session& s, double station, double centralAngle, double chord) {
  std::string& row = s.NewRow();
  AppendMask(row, station, kFeet, 24);
  AppendAngle(row, centralAngle / 2, "z", 15);
  AppendMask(row, chord, kFeet, 10);
  s.WriteOutput(row);
}

// From the PC to the PT: a row for the PC, one for every full station on the
// arc and one for the PT, each with its deflection from the tangent at the
// PC and the chord from the row before.
void WriteFieldTable(Session& s, const SimpleCurve& curve, double pcStation, double interval) {
  const double radius = curve.radius;
  const double ptStation = pcStation + curve.ArcLength();
  double station = pcStation;
  double angle = 0, previousAngle = 0;
  while (true) {
    WriteFieldRow(s, station, angle, 2 * radius * std::sin((angle - previousAngle) / 2));
    if (station == ptStation) break;
    double next = NextFullStation(station, interval);
    // Far beyond the interval's precision a station cannot move on; the
    // table then goes straight to the PT.
    station = next > ptStation || !(next > station) ? ptStation : next;
    previousAngle = angle;
    angle = (station - pcStation) / radius;
  }
}

}  // namespace

double SimpleCurve::ArcLength() const { return radius * std::fabs(deflection); }
double SimpleCurve::LongChord() const { return 2 * radius * std::sin(std::fabs(deflection) / 2); }
double SimpleCurve::ExternalOrdinate() const { return radius * (1 / std::cos(std::fabs(deflection) / 2) - 1); }
double SimpleCurve::MiddleOrdinate() const { return radius * (1 - std::cos(std::fabs(deflection) / 2)); }
double SimpleCurve::DegreeOfCurvature() const { return kStationLength * 180 / (PI * radius); }

void WriteCurveElements(Session& s, const SimpleCurve& curve) {
  s.curves.RunningStation += curve.distanceToPI - curve.tangent;
  s.WriteOutput("Curve No. " + std::to_string(curve.number));
  s.WriteOutput("---------------");
  s.WriteOutput("Deflection = " + FormatAngle(std::fabs(curve.deflection), "z"));
  s.WriteOutput("Tangent = " + Feet(curve.tangent));
  s.WriteOutput("Radius = " + Feet(curve.radius));
  s.WriteOutput("Arc Length = " + Feet(curve.ArcLength()));
}

void WriteCurvePoints(Session& s, int pc, int pt, int center) {
  auto pointLine = [&s](int n) { return FormatPoint(n, s.points.North(n), s.points.East(n)); };
  s.WriteOutput("P.C.     " + pointLine(pc));
  s.WriteOutput("P.T.     " + pointLine(pt));
  s.WriteOutput("Center   " + pointLine(center));
}

void WriteStationing(Session& s, const SimpleCurve& curve, float interval) {
  const double arcLength = curve.ArcLength();
  const double pcStation = s.curves.RunningStation;
  s.WriteOutput("Degree of Curvature = " + Feet(curve.DegreeOfCurvature()));
  s.WriteOutput("External Ordinate = " + Feet(curve.ExternalOrdinate()));
  s.WriteOutput("Middle Ordinate = " + Feet(curve.MiddleOrdinate()));
  s.WriteOutput("Long Chord = " + Feet(curve.LongChord()));
  s.WriteOutput("");
  s.WriteOutput("Stationing    P.C. Sta " + PadLeft(Feet(pcStation), 10));
  s.WriteOutput("              P.I. Sta " + PadLeft(Feet(pcStation + curve.tangent), 10));
  s.WriteOutput("              P.T. Sta " + PadLeft(Feet(pcStation + arcLength), 10));
  // The command has already said why a table needs a positive interval.
  if (interval > 0 && arcLength / interval > kMostFieldRows) {
    s.InfoBox("Distance between stations is too small for a field table");
  } else if (interval > 0) {
    s.WriteOutput("");
    s.WriteOutput("Field Data       Station     Deflection     Chord");
    WriteFieldTable(s, curve, pcStation, interval);
  }
  s.curves.RunningStation = pcStation + arcLength - curve.tangent;
}

}  // namespace vantrel
