// Point and register files: one record per line, a number and its values
// separated by commas, lines ended by CR LF. Shared by DCF/RCF and
// DDF/DAF/RDF/RAF.
#pragma once

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "command/user_side.h"

namespace vantrel {

class Session;
enum class Outcome;

// Appends one record: the number, then each value in the shortest text
// that reads back as the same double.
void AppendRecord(std::string& text, int number, std::initializer_list<double> values);

// The shape of a record: how many values follow the number, and which
// numbers the table has ("point number", 1..1000).
struct RecordLayout {
  int valueCount;
  int lowest;
  int highest;
  const char* numberName;
};

// A field without the blanks and tabs around it.
std::string_view TrimField(std::string_view field);

// A plain decimal number as a whole field: optional sign, digits with one
// decimal point (".5" and "-.25" too), optional exponent. Texts such as
// "inf", "12abc" or a value beyond the double range are not numbers.
std::optional<double> PlainDecimal(std::string_view field);

// A plain decimal field that is a whole number in lowest..highest.
std::optional<int> TableNumber(std::string_view field, int lowest, int highest);

// The pieces of a text between separators (a record's fields at commas, a
// session entry's words at blanks); empty pieces are kept.
std::vector<std::string_view> SplitAt(std::string_view text, char separator);

// Why records of a file were skipped, counted for the one message after
// the read: "N records of FILE were skipped: 2 <reason>, 1 <reason>", the
// reasons in the order given here.
class SkippedRecords {
 public:
  SkippedRecords(std::initializer_list<std::string> reasons);
  void Add(const std::string& reason) { tally_.push_back({reason, 0}); }
  void Count(size_t reason) { ++tally_.at(reason).second; }
  int Total() const;
  // Names the file without its folder; the surveyor just chose it.
  std::string Message(const std::string& path) const;

 private:
  std::vector<std::pair<std::string, int>> tally_;
};

// The file name of a file command's data line: its first field, or from the
// default rule when the line brought none (see PromptFileName). The line's
// fields are consumed; empty when the user gave no name. `use` says whether
// the command reads the file or writes it.
std::string DataLineFileName(Session& session, std::string_view extension, FileUse use = FileUse::Write);

// One data line of a file command. The file name is the line's first
// field, or comes from the default rule when the line brought none; the
// line's fields are consumed, so consecutive data lines do not pile up in
// the argument store. A name the user does not give does nothing.

// Saves the records that `writeRecords` appends (see AppendRecord); a file
// that cannot be written is reported and ends the line.
Outcome SaveRecordFile(Session& session, std::string_view extension,
                       const std::function<void(std::string& text)>& writeRecords);

// Reads every record of the file and hands the valid ones to `store`
// (number, values). Records with a number outside the table, a field that
// is not a plain decimal number, or the wrong count of fields are skipped,
// and one message after the read says how many and why. A file that cannot
// be read is reported and ends the line.
Outcome ReadRecordFile(Session& session, std::string_view extension, const RecordLayout& layout,
                       const std::function<void(int number, const double* values)>& store);

}  // namespace vantrel
