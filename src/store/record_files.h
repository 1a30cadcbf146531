// Point and register files: one record per line, a number and its values
// separated by commas, lines ended by CR LF. Shared by DCF/RCF and
// DDF/DAF/RDF/RAF.
#pragma once

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

class Session;
enum class Outcome;

// A plain decimal number as a whole field (blanks around it allowed):
// optional sign, digits with one decimal point (".5" and "-.25" too),
// optional exponent. Texts such as "inf", "12abc" or a value beyond the
// double range are not numbers.
std::optional<double> PlainDecimal(std::string_view field);

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
