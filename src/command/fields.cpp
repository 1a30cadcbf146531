#include "command/fields.h"

#include "notation/angles.h"
#include "notation/geometry.h"

namespace vantrel {
namespace {

// Tells the surveyor why the field gave no value.
std::optional<double> Reported(Session& s, std::string_view text, FieldValue field) {
  switch (field.problem) {
    case FieldProblem::None:
      return field.value;
    case FieldProblem::InvalidAngle:
      s.InfoBox(std::string(text) + " Invalid angle");
      break;
    case FieldProblem::InvalidDistanceCode:
      s.InfoBox(std::string(text) + " is invalid distance code");
      break;
    case FieldProblem::OutOfRange:
      OutOfRange(s, text);
      break;
  }
  return std::nullopt;
}

}  // namespace

std::optional<double> ReadAngle(Session& s, std::string_view text) {
  return Reported(s, text, DecodeAngle(text, s.registers.angle));
}

std::optional<double> ReadDistance(Session& s, std::string_view text) {
  return Reported(s, text, DecodeDistance(text, s.registers.distance));
}

double ParseAngle(Session& s, std::string_view text) { return ReadAngle(s, text).value_or(0); }

double ParseDistance(Session& s, std::string_view text) { return ReadDistance(s, text).value_or(0); }

double OutOfRange(Session& s, std::string_view text) {
  s.InfoBox(std::string(text) + " is out of range");
  return 0;
}

std::string InvalidPointNumber(std::string_view typed) { return std::string(typed) + " is invalid point number"; }

void ReportInvalidPointNumber(Session& s, std::string_view typed) { s.InfoBox(InvalidPointNumber(typed)); }

void ReportInvalidRegisterNumber(Session& s, std::string_view typed) {
  s.InfoBox(std::string(typed) + " is invalid register number");
}

std::optional<int> ReadPointNumber(Session& s, std::string_view field) {
  int n = IntegerField(field);
  if (s.points.IsNumber(n)) return n;
  ReportInvalidPointNumber(s, field);
  return std::nullopt;
}

std::optional<int> ReadStoredPoint(Session& s, std::string_view field) {
  std::optional<int> n = ReadPointNumber(s, field);
  if (n && !DefinedOrReported(s, *n)) return std::nullopt;
  return n;
}

bool DefinedOrReported(Session& s, int n) {
  if (s.points.IsDefined(n)) return true;
  s.InfoBox("Point " + std::to_string(n) + " is not defined");
  return false;
}

std::optional<int> ReadRegisterNumber(Session& s, std::string_view field) {
  int r = IntegerField(field);
  if (RegisterBanks::IsNumber(r)) return r;
  ReportInvalidRegisterNumber(s, field);
  return std::nullopt;
}

}  // namespace vantrel
