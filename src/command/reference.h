// The command reference table: the codes a surveyor may select, with the
// usage text shown on Enter and the help table's function name and
// description, read from the fixed-column reference file beside the program.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace vantrel {

struct ReferenceRow {
  std::string Code;          // columns 1-4
  std::string FunctionName;  // columns 6-19
  std::string Usage;         // columns 20-76 plus continuation lines
  std::string Description;   // column 77 to the end
};

inline constexpr int kMaxReferenceRows = 50;

struct CommandReference {
  // Row 0 only collects continuation lines that precede the first row.
  std::array<ReferenceRow, kMaxReferenceRows + 1> rows;
  int ReferenceCount = 0;

  // Row index (1-based) of an exactly matching code, or 0.
  int Find(std::string_view code) const;
};

// Reads the reference text (lines ended by LF or CR LF). Returns an empty
// string, or the message that tells the user what went wrong (the rows read
// so far are kept).
std::string ReadCommandReference(std::string_view text, CommandReference& table);

// The command reference file to read: Vantrel.txt in the working folder when
// one is there, else beside the executable, else in the installed data
// folder (<prefix>/share/vantrel); when none exists, the one beside the
// executable, so that the message names it.
std::string CommandReferencePath(const std::string& workingFolder, const std::string& programFolder);

// Reads the reference file from disk; a file that cannot be read leaves the
// table empty and returns the message.
std::string LoadCommandReference(const std::string& path, CommandReference& table);

}  // namespace vantrel
