#include "command/files.h"

#include "command/session.h"

namespace vantrel {

void SpoolLine(Session&, const std::string&) {}

}  // namespace vantrel
