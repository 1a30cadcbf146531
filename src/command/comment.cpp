// COM: a comment line written into the report.
#include "command/commands.h"
#include "command/session.h"

namespace vantrel {

// The line as the processor left it (comment cut, trimmed) is the report
// line. Its fields are consumed: nothing reads them, and leaving them pending
// would fill the 50-field store after a few dozen comment lines.
Outcome CommentCommand(Session& s) {
  s.WriteOutput(s.CurrentLine);
  s.args.ConsumeAll();
  return Outcome::Completed;
}

}  // namespace vantrel
