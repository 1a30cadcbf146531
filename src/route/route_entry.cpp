#include "route/route_entry.h"

#include <cmath>

#include "command/fields.h"
#include "command/session.h"
#include "route/route_state.h"

namespace vantrel {

std::optional<int> AlignmentNumber(Session& s, const std::string& field, bool defined) {
  int n = IntegerField(field);
  if (!RouteState::IsAlignmentNumber(n)) {
    s.InfoBox(std::string(TrimBlanks(field)) + " is invalid alignment number");
    return std::nullopt;
  }
  if (defined && !s.route.alignments[n]) {
    s.InfoBox("Alignment " + std::to_string(n) + " is not defined");
    return std::nullopt;
  }
  return n;
}

double StationField(Session& s, const std::string& field) {
  double station = LeadingNumber(field);
  return std::isfinite(station) ? station : OutOfRange(s, field);
}

Outcome EnterLines(Session& s, const EntrySteps& steps) {
  RouteState::Entry& entry = s.route.entry;
  if (s.LineFieldCount == 0) return Outcome::Stopped;
  bool ok = true;
  if (s.args.Stage() == 1) {
    entry = {};
    s.args.SetStage(2);
    ok = steps.first(s);
  }
  ok = ok && !entry.refused && steps.body(s);
  if (ok && !s.LineContinued) ok = steps.finish(s);
  if (!ok && !entry.refused) {
    entry.refused = true;
    s.InfoBox(steps.subject(s) + " was not defined");
  }
  if (!ok) s.args.ConsumeAll();
  if (!s.LineContinued) {
    entry = {};
    s.args.SetStage(1);
    s.args.ConsumeAll();
  }
  return ok ? Outcome::Completed : Outcome::Stopped;
}

bool JoinsAccepted(Session& s, const std::string& subject, const std::vector<JoinMismatch>& mismatches) {
  if (mismatches.empty()) return true;
  std::string question = subject + " does not join within 0.001 ft and 1 second:";
  for (const JoinMismatch& m : mismatches) question += "\n" + MismatchText(m);
  return s.AskYesNo(question + "\nTake it as it is?");
}

std::optional<std::string> SpiralProblem(const Element& spiral, size_t element) {
  std::string name = "The spiral of element " + std::to_string(element);
  if (!(spiral.length > 0)) return name + " has no length";
  if (std::fabs(spiral.Turned()) > kMostSpiralTurn) return name + " turns through more than 90 degrees";
  return std::nullopt;
}

}  // namespace vantrel
