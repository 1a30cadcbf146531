// The command reference table: the codes a surveyor may select, with the
// usage text shown on Enter and the help table's function name and
// description, read from the fixed-column reference file beside the program.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

struct ReferenceRow {
  std::string Code;          // columns 1-4
  std::string FunctionName;  // columns 6-19
  std::string Usage;         // columns 20-76 plus continuation lines
  std::string Description;   // column 77 to the end
};

inline constexpr int kMaxReferenceRows = 100;

struct CommandReference {
  // Row 0 only collects continuation lines that precede the first row.
  std::array<ReferenceRow, kMaxReferenceRows + 1> rows;
  int ReferenceCount = 0;

  // Row index (1-based) of an exactly matching code, or 0.
  int Find(std::string_view code) const;

 private:
  // The row last found for a code of each first character: jobs name the
  // same few codes again and again, and every code line is looked up.
  mutable std::array<int, 256> lastFound_{};
};

// Reads the reference text (lines ended by CR LF, LF or CR). Returns an empty
// string, or the message that tells the user what went wrong (the rows read
// so far are kept).
std::string ReadCommandReference(std::string_view text, CommandReference& table);

// The reference file's text, or nothing with `reason` saying why it is no
// reference: unreadable, a folder, or empty (a run would know no command).
std::optional<std::string> ReadReferenceFile(const std::string& path, std::string& reason);

// Reads the reference file from disk; a file that cannot be used leaves the
// table empty and returns the message.
std::string LoadCommandReference(const std::string& path, CommandReference& table);

// Where an installation keeps the reference: PREFIX/share/vantrel/Vantrel.txt
// for programs in PREFIX/bin.
std::string InstalledReferenceFile(const std::string& executableFolder);

// The reference to read when none is named: Vantrel.txt in the working
// folder, otherwise the one beside the executable, otherwise the installed
// one; when none can be read, the working folder's (so the message names
// the file the user can provide).
std::string ChooseReferenceFile(const std::string& workingFolder, const std::string& executableFolder);

}  // namespace vantrel
