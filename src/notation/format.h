// Report columns: right-justified fields and the standard point line.
#pragma once

#include <string>
#include <string_view>

namespace vantrel {

// Right-justifies a text in `width` characters; never shortens a longer text
// and never adds more than 57 blanks.
std::string PadLeft(std::string_view text, int width);

// Appends a text to a report row right-justified as PadLeft writes it; rows
// built this way take one allocation instead of one per column. Two fields
// never run together: where the text fills its column and neither the row
// before it nor the text itself has a blank at their meeting, one blank is
// kept ("Pt 4 14603675.720 N", not "Pt 414603675.720 N").
void AppendPadded(std::string& row, std::string_view text, int width);

// The start of a refused text, in quotes, so the surveyor can find it in
// the input pane: up to 40 characters, then "...".
std::string QuoteStart(std::string_view text);

// Whether line breaks inside a text are its own (a message of several lines)
// or a control character like any other (a report line is one line).
enum class LineBreaks { Kept, Shown };

// True when the text holds a control character other than a tab or a kept
// line break: a NUL or an escape typed into a field.
bool HoldsControlCharacter(std::string_view text, LineBreaks breaks = LineBreaks::Kept);

// The text as the surveyor can see it: each control character other than a
// tab or a kept line break shown as ^@ .. ^_ (^? for DEL), so that a NUL
// cannot cut a message short, an escape upset the terminal nor a break in a
// value forge a report line.
std::string VisibleText(std::string_view text, LineBreaks breaks = LineBreaks::Kept);

// "Pt <n>" with the north value filling 13 characters after "Pt " and the
// east value 11, each followed by its quadrant letter (N/S, E/W).
std::string FormatPoint(int n, double north, double east);
// The same line appended to a row.
void AppendPoint(std::string& row, int n, double north, double east);

}  // namespace vantrel
