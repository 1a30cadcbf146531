// PNW and PNR: points with elevations and descriptions in the comma-separated
// files of data collectors and other offices — one point a line,
// "P,N,E,Z,D" (point, north, east, elevation, description).
#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "command/commands.h"
#include "command/fields.h"
#include "command/session.h"
#include "command/text_file.h"
#include "exchange/point_exchange.h"
#include "notation/numbers.h"
#include "store/descriptions.h"
#include "store/record_files.h"

namespace vantrel {
namespace {

constexpr const char* kCsvExtension = "csv";

// A spreadsheet opening the file takes a field that begins with one of
// these as a formula and runs it; an apostrophe before the field (the
// spreadsheet's own mark of text, not shown) keeps it a text. A
// description that begins with an apostrophe gets one too, so that every
// description reads back as it was written.
constexpr std::string_view kFormulaStarts = "=+-@'";

bool StartsFormula(std::string_view text) {
  return !text.empty() && kFormulaStarts.find(text.front()) != std::string_view::npos;
}

// A description as a field: the apostrophe before a formula's start; a
// control character, which would break the record, as a blank; quoted,
// its quotes doubled, when it holds a comma or a quote.
std::string CsvDescription(const std::string& description) {
  std::string text = StartsFormula(description) ? "'" + description : description;
  std::replace_if(text.begin(), text.end(), IsControlCharacter, ' ');
  if (text.find_first_of(",\"") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

// The description field as read: the apostrophe CsvDescription puts before
// a formula's start is taken away.
std::string_view WithoutFormulaMark(std::string_view field) {
  std::string_view text = TrimField(field);
  if (text.size() >= 2 && text.front() == '\'' && StartsFormula(text.substr(1))) text.remove_prefix(1);
  return text;
}

// The fields of one line: commas separate them, except inside a field
// opened by a quote (blanks before it allowed), where a doubled quote
// stands for one. An unclosed quote runs to the end of the line.
std::vector<std::string> CsvFields(std::string_view line) {
  std::vector<std::string> fields(1);
  size_t k = 0;
  while (k < line.size()) {
    std::string& field = fields.back();
    bool opensQuote = line[k] == '"' && TrimField(field).empty();
    if (opensQuote) {
      field.clear();
      for (++k; k < line.size(); ++k) {
        if (line[k] != '"') field += line[k];
        else if (k + 1 < line.size() && line[k + 1] == '"') field += line[++k];
        else break;
      }
      // Anything between the closing quote and the next comma is dropped.
      size_t comma = line.find(',', k);
      if (comma == std::string_view::npos) break;
      k = comma;
    }
    if (line[k] == ',') fields.emplace_back();
    else field += line[k];
    ++k;
  }
  return fields;
}

enum CsvSkipReason : size_t { kWrongFieldCount = kSharedReasonCount };

}  // namespace

// Data line: file name, then optionally the first and last point to write
// (one number writes that point alone); every defined point otherwise.
Outcome WriteCsvPointsCommand(Session& s) {
  int first = 1, last = s.points.Capacity();
  if (s.args.Count() >= 2 && !TrimBlanks(s.args.Field(2)).empty()) {
    std::optional<int> from = ReadPointNumber(s, s.args.Field(2));
    std::optional<int> to = s.args.Count() >= 3 ? ReadPointNumber(s, s.args.Field(3)) : from;
    if (!from || !to) {
      s.args.ConsumeAll();
      return Outcome::Stopped;
    }
    first = *from;
    last = *to;
    if (first > last) {
      s.args.ConsumeAll();
      s.InfoBox("The range " + std::to_string(first) + " to " + std::to_string(last) +
                " is reversed (the first point is above the last); no file was written");
      return Outcome::Stopped;
    }
  }
  std::string path = DataLineFileName(s, kCsvExtension);
  if (path.empty()) return Outcome::Completed;

  std::string text;
  for (int k : s.points.Numbers(first, last)) {
    if (!s.points.IsDefined(k)) continue;
    const std::optional<double>& elevation = s.points[k].elevation;
    text += std::to_string(k) + "," + RoundTripNumber(s.points.North(k)) + "," + RoundTripNumber(s.points.East(k)) +
            "," + (elevation ? RoundTripNumber(*elevation) : "") + "," + CsvDescription(s.points[k].description) +
            "\r\n";
  }
  if (text.empty()) {
    s.InfoBox("No point from " + std::to_string(first) + " to " + std::to_string(last) + " is defined; " +
              std::filesystem::path(path).filename().string() + " was not written");
    return Outcome::Stopped;
  }
  return SaveTextFile(s, path, text) ? Outcome::Completed : Outcome::Stopped;
}

// Data line: file name. Accepts a header line, "P,N,E", "P,N,E,D", "P,N,E,Z"
// (a number as the fourth field is the elevation) and "P,N,E,Z,D" records.
Outcome ReadCsvPointsCommand(Session& s) {
  std::string path = DataLineFileName(s, kCsvExtension, FileUse::Read);
  if (path.empty()) return Outcome::Completed;
  std::optional<std::string> content = ReadTextFile(s, path);
  if (!content) return Outcome::Stopped;
  std::vector<std::string_view> lines = TextLines(*content);  // blank lines hold no record
  std::erase_if(lines, [](std::string_view line) { return TrimField(line).empty(); });

  SkippedRecords skipped = PointFileSkips(s.points.Capacity(), {"not holding 3 to 5 fields"});
  std::vector<ReadPoint> points;
  int shortened = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::vector<std::string> fields = CsvFields(lines[i]);
    // A first line whose first field is not a number is a header.
    if (i == 0 && !PlainDecimal(fields[0])) continue;
    if (fields.size() < 3 || fields.size() > 5) {
      skipped.Count(kWrongFieldCount);
      continue;
    }
    std::optional<double> number = PlainDecimal(fields[0]), north = PlainDecimal(fields[1]),
                          east = PlainDecimal(fields[2]), elevation;
    std::string description;
    bool cut = false;
    bool numeric = number && north && east;
    if (fields.size() >= 4) {
      bool elevationField = fields.size() == 5 || PlainDecimal(fields[3]) || TrimField(fields[3]).empty();
      if (elevationField && !TrimField(fields[3]).empty()) {
        elevation = PlainDecimal(fields[3]);
        numeric = numeric && elevation;
      }
      if (!elevationField || fields.size() == 5)
        description = FileDescription(WithoutFormulaMark(fields.back()), cut);
    }
    if (!numeric) {
      skipped.Count(kNotNumeric);
      continue;
    }
    std::optional<int> p = TableNumber(fields[0], 1, s.points.Capacity());
    if (!StorablePoint(p, *north, *east, skipped)) continue;
    points.push_back({*p, *north, *east, elevation, description});
    shortened += cut ? 1 : 0;
  }
  return StoreReadPoints(s, path, points, skipped, shortened);
}

}  // namespace vantrel
