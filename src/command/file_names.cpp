// The one rule every file name goes through.
#include "command/files.h"
#include "command/session.h"
#include "notation/format.h"

namespace vantrel {
namespace {

// Only a leading slash names its own folder: on this system a colon
// ("c:\\out\\a.lst", "lot:7") is an ordinary character of a relative name.
bool IsAbsoluteName(std::string_view name) { return !name.empty() && name.front() == '/'; }

// The kind of file named in the question: spool, command file, or the
// option of the command that asks.
std::string FileKind(const Session& s, std::string_view extension) {
  std::string upper = UpperCase(extension);
  if (upper == "TXT") return "Spool";
  if (upper == "CMD") return "Commands";
  if (upper == "VSN") return "Session";
  return "Option " + UpperCase(s.CurrentCommand);
}

std::string InProgramFolder(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

}  // namespace

std::string PromptFileName(Session& s, std::string_view given, std::string_view extension, FileUse use) {
  std::string name(given);
  if (name.empty()) {
    const std::string& project = s.files.ProjectName;
    if (!project.empty() && s.files.IODefault) name = TrimBlanks(project);
    else
      name = s.user.AskFileName(
          {"Enter File Name for " + FileKind(s, extension), use, std::string(extension), s.files.ProgramFolder});
  }
  if (name.empty()) return name;
  // A dot anywhere in the name as given (in a folder of it too) means the
  // extension is already there; dots in the program's own folder do not.
  bool hasExtension = name.find('.') != std::string::npos;
  if (!IsAbsoluteName(name)) name = InProgramFolder(s.files.ProgramFolder, name);
  if (!hasExtension) name.append(".").append(extension);
  if (HoldsControlCharacter(name)) {
    s.InfoBox(name + ": a file name cannot hold control characters");
    return {};
  }
  return name;
}

}  // namespace vantrel
