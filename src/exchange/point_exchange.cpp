#include "exchange/point_exchange.h"

#include <filesystem>
#include <map>

#include "command/session.h"
#include "notation/numbers.h"

namespace vantrel {
namespace {

// How many defined points the question names before "…".
constexpr size_t kNamedInQuestion = 8;

std::string Plural(int count, const std::string& one, const std::string& many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

SkippedRecords PointFileSkips(int capacity, std::initializer_list<std::string> ownReasons) {
  SkippedRecords skipped{"with a point number that is not one of 1.." + std::to_string(capacity),
                         "with a coordinate or elevation that is not a number",
                         "with a coordinate the store cannot hold (-1E10)"};
  for (const std::string& reason : ownReasons) skipped.Add(reason);
  return skipped;
}

bool StorablePoint(std::optional<int> number, double north, double east, SkippedRecords& skipped) {
  if (!number) {
    skipped.Count(kOutsideStore);
    return false;
  }
  if (north == UndefinedCoord || east == UndefinedCoord) {
    skipped.Count(kUnusableCoordinate);
    return false;
  }
  return true;
}

Outcome StoreReadPoints(Session& s, const std::string& path, const std::vector<ReadPoint>& points,
                        const SkippedRecords& skipped, int shortenedDescriptions) {
  std::map<int, const ReadPoint*> latest;
  for (const ReadPoint& p : points) latest[p.number] = &p;

  std::string defined;
  int definedCount = 0;
  for (const auto& [number, point] : latest) {
    if (!s.points.IsDefined(number)) continue;
    if (++definedCount > static_cast<int>(kNamedInQuestion) + 1) continue;
    defined += definedCount == 1 ? "Pt " : ", ";
    defined += definedCount <= static_cast<int>(kNamedInQuestion) ? std::to_string(number) : "...";
  }
  std::string file = std::filesystem::path(path).filename().string();
  bool replace = definedCount == 0 ||
                 s.AskYesNo(Plural(definedCount, "point", "points") + " of " + file +
                            (definedCount == 1 ? " is" : " are") + " already defined (" + defined + ")\nReplace " +
                            (definedCount == 1 ? "it?" : "them?"));

  int stored = 0;
  for (const auto& [number, point] : latest) {
    if (!replace && s.points.IsDefined(number)) continue;
    s.points.Store(number, point->north, point->east);
    s.points.SetElevation(number, point->elevation);
    s.points.SetDescription(number, point->description);
    ++stored;
  }

  std::string message = Plural(stored, "point", "points") + " read from " + file;
  if (!replace) message.append("; ").append(Plural(definedCount, "defined point was", "defined points were")) += " kept";
  if (shortenedDescriptions > 0)
    message.append("\n").append(Plural(shortenedDescriptions, "description", "descriptions")) +=
        " longer than " + std::to_string(kMaxDescription) + " characters " +
        (shortenedDescriptions == 1 ? "was" : "were") + " shortened";
  if (skipped.Total() > 0) message.append("\n").append(skipped.Message(path));
  s.InfoBox(message);
  return Outcome::Completed;
}

}  // namespace vantrel
