// Report columns: right-justified fields and the standard point line.
#pragma once

#include <string>
#include <string_view>

namespace vantrel {

class Session;

// Right-justifies a text in `width` characters; never shortens a longer text
// and never adds more than 57 blanks.
std::string PadLeft(std::string_view text, int width);

// The start of a refused text, in quotes, so the surveyor can find it in
// the input pane: up to 40 characters, then "...".
std::string QuoteStart(std::string_view text);

// "Pt <n>" with the north value filling 13 characters after "Pt " and the
// east value 11, each followed by its quadrant letter (N/S, E/W).
std::string FormatPoint(const Session& session, int n);

}  // namespace vantrel
