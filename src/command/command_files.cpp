// The Export and Import buttons: the input pane saved as a command file and
// a command file appended to the pane.
#include "command/files.h"
#include "command/session.h"
#include "command/text_file.h"

namespace vantrel {

void ExportCommandFile(Session& s, std::string_view pane) {
  std::string name = PromptFileName(s, "", "cmd");
  // Blanks at the very end of the pane are dropped; every line, the last
  // one too, ends with CR LF.
  size_t end = pane.find_last_not_of(' ');
  pane = end == std::string_view::npos ? std::string_view() : pane.substr(0, end + 1);
  std::string text;
  text.reserve(pane.size() + 2);
  for (std::string_view line : TextLines(pane)) {
    text += line;
    text += "\r\n";
  }
  if (SaveTextFile(s, name, text)) s.InfoBox("Saved in file " + name);
}

void ImportCommandFile(Session& s, std::string& pane) {
  std::string name = PromptFileName(s, "", "cmd");
  std::optional<std::string> content = ReadTextFile(s, name);
  if (!content) return;
  for (std::string_view line : TextLines(*content)) {
    pane += line;
    pane += "\r\n";
  }
}

}  // namespace vantrel
