// Point descriptions: the surveyor's text that travels with a point (at most
// 64 characters, no commas or control characters).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// A byte below a blank, or DEL: no description holds one, not even a tab.
inline bool IsControlCharacter(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; }

// Characters of a text, a UTF-8 sequence counting once.
size_t CharacterCount(std::string_view text);

// A description as a file brings it: control characters (tabs) become
// blanks, blanks at both ends go, and a longer text is cut after its 64th
// character (`shortened` is then set).
std::string FileDescription(std::string_view text, bool& shortened);

// The point line, then the elevation in a column of its own (blank when the
// point has none) and the description, without blanks at the end.
void AppendDescribedPoint(std::string& row, int n, double north, double east, const std::optional<double>& elevation,
                          std::string_view description);

}  // namespace vantrel
