// Report columns: right-justified fields and the standard point line.
#pragma once

#include <string>
#include <string_view>

namespace vantrel {

class Session;

// Right-justifies a text in `width` characters; never shortens a longer text
// and never adds more than 57 blanks.
std::string PadLeft(std::string_view text, int width);

// Appends a text to a report row right-justified as PadLeft writes it; rows
// built this way take one allocation instead of one per column.
void AppendPadded(std::string& row, std::string_view text, int width);

// "Pt <n>" with the north value filling 13 characters after "Pt " and the
// east value 11, each followed by its quadrant letter (N/S, E/W).
std::string FormatPoint(const Session& session, int n);

}  // namespace vantrel
