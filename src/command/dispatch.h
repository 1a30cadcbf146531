// The dispatch table: command codes to their branches, in dispatch order.
#pragma once

#include <array>
#include <string_view>

namespace vantrel {

class Session;
enum class Outcome;

struct CommandBranch {
  std::array<std::string_view, 2> codes;  // one or two codes share a branch
  Outcome (*run)(Session&);               // null: selectable, does nothing
  bool readsWholeLine = false;            // takes CurrentLine as one text, commas and all
};

// The branch whose code equals `code`, or null.
const CommandBranch* FindBranch(std::string_view code);

// Runs the branch FindBranch gave for the session's current command. A code
// without a branch computes nothing and counts as ended normally.
Outcome RunCommand(Session& session, const CommandBranch* branch);

}  // namespace vantrel
