// RTH: one register computed from an equation typed as a line, such as
// "D3 = D1 * 2" or "A5 = A1 + A2".
#include <array>
#include <cmath>
#include <optional>

#include "command/commands.h"
#include "command/fields.h"
#include "command/session.h"
#include "notation/angles.h"
#include "notation/geometry.h"

namespace vantrel {
namespace {

// Every operator character splits the line, "=" included; a minus sign is
// therefore always an operator, never the sign of a literal.
constexpr std::string_view kOperators = "+-*/^=";
constexpr int kMostParts = 3;

// "left = operand [operator operand]": the parts between operators and the
// operators in the order found.
struct Equation {
  std::array<std::string, kMostParts> parts;
  std::array<char, kMostParts> operators{};
  int partCount = 0;
  int operatorCount = 0;

  char SecondOperator() const { return operatorCount >= 2 ? operators[1] : '\0'; }
};

// The equation's parts, or nothing when its first operator is not "=", it
// has fewer than two parts, or a fourth part or operator turns up.
std::optional<Equation> SplitEquation(std::string_view text) {
  Equation e;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (kOperators.find(text[i]) == std::string_view::npos) continue;
    if (e.operatorCount == kMostParts) return std::nullopt;
    e.operators[e.operatorCount++] = text[i];
    e.parts[e.partCount++] = UpperCase(TrimBlanks(text.substr(start, i - start)));
    start = i + 1;
  }
  if (start < text.size()) {
    if (e.partCount == kMostParts) return std::nullopt;
    e.parts[e.partCount++] = text.substr(start);  // the operand parsers trim it
  }
  if (e.operatorCount == 0 || e.operators[0] != '=' || e.partCount < 2) return std::nullopt;
  return e;
}

double Combine(char op, double x, double y) {
  switch (op) {
    case '+': return x + y;
    case '-': return x - y;
    case '*': return x * y;
    case '/': return x / y;
    case '^': return std::pow(x, y);
    default: return x;
  }
}

}  // namespace

// The whole line is the equation; its fields are consumed. Both operands
// are read with the parser of the left side's kind: in an angle equation a
// plain number is degrees-minutes-seconds, in a distance equation feet.
Outcome RegisterEquationCommand(Session& s) {
  s.args.ConsumeAll();
  if (s.CurrentLine.empty()) return Outcome::Stopped;  // an empty line is no equation: nothing happens
  std::optional<Equation> equation = SplitEquation(s.CurrentLine);
  if (!equation) {
    s.InfoBox("Invalid data in arithmetic operation");
    return Outcome::Stopped;
  }
  const std::string& left = equation->parts[0];
  char kind = left.empty() ? '\0' : left[0];
  if (kind != 'A' && kind != 'D') {
    s.InfoBox("Left side of equation must be angle or distance code");
    return Outcome::Stopped;
  }
  int number = IntegerField(std::string_view(left).substr(1));
  if (!RegisterBanks::IsNumber(number)) {
    ReportInvalidRegisterNumber(s, left);
    return Outcome::Stopped;
  }
  double (*parse)(Session&, std::string_view) = kind == 'A' ? ParseAngle : ParseDistance;
  double x = parse(s, equation->parts[1]);
  double y = parse(s, equation->parts[2]);
  double result = Combine(equation->SecondOperator(), x, y);
  if (!std::isfinite(result)) {
    s.InfoBox(s.CurrentLine + " gives no finite result");
    return Outcome::Stopped;
  }
  (kind == 'A' ? s.registers.angle : s.registers.distance)[number] = result;
  return Outcome::Completed;
}

}  // namespace vantrel
