// Readers of the raw files total stations and data collectors write:
// Carlson/TDS RW5, Leica GSI-8 and GSI-16, Trimble JobXML. Each turns its
// records into the calls of a Reduction, converting lengths to feet and
// angles to radians as the file's units say. RW5 and GSI are read a line
// at a time as the file streams in; a JobXML document is read whole.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "command/text_file.h"
#include "fieldbook/field_units.h"
#include "fieldbook/reduction.h"

namespace vantrel {

enum class RawFormat { Rw5, Gsi, JobXml };

// The format's name as the surveyor types it on RAW's data line: "RW5",
// "GSI", "JXL"; and the reverse, in either case.
std::string_view RawFormatCode(RawFormat format);
std::optional<RawFormat> RawFormatFromCode(std::string_view code);

// The format the start of a file shows: an XML document, GSI words, or
// RW5 records; nothing when the start shows none of them.
std::optional<RawFormat> RecogniseRawFormat(std::string_view start);

// A reader of a format of lines: the lines in the file's order, each
// without its line end and already decoded to UTF-8.
class RawLineReader {
 public:
  virtual ~RawLineReader() = default;
  virtual void Line(std::string_view line) = 0;
  // After the last line: records the reader still holds are handed on.
  virtual void Finish() {}
};

std::unique_ptr<RawLineReader> MakeRw5Reader(Reduction& reduction, FootKind foot);
std::unique_ptr<RawLineReader> MakeGsiReader(Reduction& reduction, FootKind foot);

// A whole JobXML document.
void ReadJobXml(std::string_view text, Reduction& reduction, FootKind foot);

// The longest line a raw file may hold; a longer one is skipped.
inline constexpr size_t kMaxRawLine = 65536;

// Cuts the bytes of a file, fed in pieces as they stream in, into lines
// for a line reader: a line ends at CR LF, LF or a lone CR (a CR LF split
// between two pieces is one end), and lines are numbered as an editor
// numbers them, blank ones too, which are passed over. A line that is not
// UTF-8 is read as Windows-1252. A NUL byte means the file is no text and
// fails the reduction; a line longer than kMaxRawLine is skipped.
class RawLines {
 public:
  RawLines(RawLineReader& reader, Reduction& reduction) : reader_(reader), reduction_(reduction) {}
  // Feeds the lines the piece completes; false once the reduction failed.
  bool Feed(std::string_view piece);
  void Finish();
  RecordNumber LinesRead() const { return lineNumber_; }

 private:
  bool Take(std::string_view line, bool overlong);

  RawLineReader& reader_;
  Reduction& reduction_;
  LineCutter cutter_{kMaxRawLine};
  std::string decoded_;
  RecordNumber lineNumber_ = 0;
};

}  // namespace vantrel
