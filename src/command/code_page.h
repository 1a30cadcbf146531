// Command files come from many editors: most write UTF-8, older ones a
// one-byte Windows code page. The input pane holds UTF-8; these conversions
// let Import read either and Export write a file back as it came.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

enum class TextEncoding { Utf8, Windows1252 };

bool IsValidUtf8(std::string_view bytes);

// Every byte of Windows-1252 as UTF-8; the five bytes the code page leaves
// undefined become the control characters of the same number, so that the
// way back restores them.
std::string Windows1252ToUtf8(std::string_view bytes);

// The way back; nothing when the text holds a character the code page lacks.
std::optional<std::string> Utf8ToWindows1252(std::string_view text);

}  // namespace vantrel
