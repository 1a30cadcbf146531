// The Export and Import buttons: the input pane saved as a command file and
// a command file appended to the pane.
#include <filesystem>

#include "command/files.h"
#include "command/session.h"
#include "command/text_file.h"

namespace vantrel {

std::string ExportCommandFile(Session& s, std::string_view pane) {
  std::string name = PromptFileName(s, "", "cmd", FileUse::Write);
  std::error_code ignored;
  if (!name.empty() && std::filesystem::exists(name, ignored) &&
      !s.AskYesNo(name + " already exists. Replace it?"))
    return {};
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
  // A file read in the one-byte code page goes back in it, unless the pane
  // now holds a character the code page lacks: then UTF-8 keeps every one.
  if (s.files.CommandFileEncoding == TextEncoding::Windows1252)
    if (std::optional<std::string> bytes = Utf8ToWindows1252(text)) text = std::move(*bytes);
  if (!SaveTextFile(s, name, text)) return {};
  s.InfoBox("Saved in file " + name);
  return name;
}

std::string ImportCommandFile(Session& s, std::string& pane, std::string_view given) {
  std::string name = PromptFileName(s, given, "cmd", FileUse::Read);
  TextEncoding encoding;
  std::optional<std::string> text = ReadTextFile(s, name, &encoding);
  if (!text) return {};
  // Export writes a one-byte file back in its code page; every other
  // file (UTF-16 and UTF-32 too) as UTF-8.
  s.files.CommandFileEncoding = encoding == TextEncoding::Windows1252 ? encoding : TextEncoding::Utf8;
  if (!pane.empty() && pane.back() != '\n' && pane.back() != '\r') pane += "\r\n";
  for (std::string_view line : TextLines(*text)) {
    pane += line;
    pane += "\r\n";
  }
  return name;
}

}  // namespace vantrel
