// DES: descriptions given to stored points, and the rules every description
// follows wherever it comes from.
#include "store/descriptions.h"

#include <algorithm>

#include "command/commands.h"
#include "command/fields.h"
#include "command/point_groups.h"
#include "command/session.h"
#include "notation/format.h"
#include "notation/numbers.h"

namespace vantrel {
namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xc0) == 0x80; }

}  // namespace

size_t CharacterCount(std::string_view text) {
  return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) { return !IsContinuationByte(c); }));
}

std::string FileDescription(std::string_view text, bool& shortened) {
  std::string description(text);
  std::replace_if(description.begin(), description.end(), IsControlCharacter, ' ');
  description = std::string(TrimBlanks(description));
  shortened = CharacterCount(description) > kMaxDescription;
  if (!shortened) return description;
  size_t characters = 0, end = 0;
  while (end < description.size() && (IsContinuationByte(description[end]) || characters++ < kMaxDescription)) ++end;
  return std::string(TrimBlanks(description.substr(0, end)));
}

// Groups of (point, description); an empty description clears it. A point
// that is not defined, a description longer than 64 characters or holding a
// control character is reported and stops the line.
Outcome DescribePointsCommand(Session& s) {
  return RepeatGroups(s, 2, [](Session& session) -> GroupEnd {
    std::optional<int> p = ReadPointNumber(session, session.args.GroupField(1));
    if (!p) return GroupEnd::Refused;
    std::string description(TrimBlanks(session.args.GroupField(2)));
    if (!session.points.IsDefined(*p)) {
      session.InfoBox("Point " + std::to_string(*p) + " is not defined; its description was not stored");
      return GroupEnd::Refused;
    }
    if (CharacterCount(description) > kMaxDescription) {
      session.InfoBox("The description of point " + std::to_string(*p) + " is longer than " +
                      std::to_string(kMaxDescription) + " characters and was not stored");
      return GroupEnd::Refused;
    }
    if (std::any_of(description.begin(), description.end(), IsControlCharacter)) {
      session.InfoBox("The description of point " + std::to_string(*p) +
                      " holds a control character (a tab) and was not stored");
      return GroupEnd::Refused;
    }
    session.points.SetDescription(*p, description);
    return GroupEnd::Done;
  });
}

void AppendDescribedPoint(std::string& row, int n, double north, double east, const std::optional<double>& elevation,
                          std::string_view description) {
  constexpr int kElevationWidth = 12;
  AppendPoint(row, n, north, east);
  if (elevation) AppendMask(row, *elevation, "######0.000", kElevationWidth);
  else AppendPadded(row, "", kElevationWidth);
  if (!description.empty()) row.append("  ").append(description);
  while (!row.empty() && row.back() == ' ') row.pop_back();
}

}  // namespace vantrel
