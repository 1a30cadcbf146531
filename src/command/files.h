// File-name settings of the main window and the spool file that copies the
// report.
#pragma once

#include <string>

namespace vantrel {

class Session;

struct FileSettings {
  std::string ProgramFolder = ".";  // relative file names resolve against it
  std::string ProjectName;          // default file name with I/O Default
  bool IODefault = true;
  bool SpoolOn = false;
  std::string SpoolFileText;        // the spool file name as typed
};

struct SpoolState {
  std::string SpoolFileName;  // full path, empty until first resolved
  bool SpoolOpen = false;
};

// The spool target behind WriteOutput: copies one report line into the
// spool file while spooling is on.
void SpoolLine(Session& session, const std::string& line);

}  // namespace vantrel
