#include "store/record_files.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <optional>
#include <vector>

#include "command/files.h"
#include "command/session.h"
#include "command/text_file.h"

namespace vantrel {


std::string_view TrimField(std::string_view field) {
  size_t begin = field.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return {};
  return field.substr(begin, field.find_last_not_of(" \t") - begin + 1);
}

std::optional<double> PlainDecimal(std::string_view field) {
  std::string_view text = TrimField(field);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  size_t first = !text.empty() && text.front() == '-' ? 1 : 0;
  if (first >= text.size() || !(std::isdigit(static_cast<unsigned char>(text[first])) || text[first] == '.'))
    return std::nullopt;
  double value;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<int> TableNumber(std::string_view field, int lowest, int highest) {
  std::optional<double> number = PlainDecimal(field);
  if (!number || *number != std::floor(*number) || *number < lowest || *number > highest) return std::nullopt;
  return static_cast<int>(*number);
}

std::vector<std::string_view> SplitAt(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  size_t start = 0;
  for (size_t end; (end = text.find(separator, start)) != std::string_view::npos; start = end + 1)
    pieces.push_back(text.substr(start, end - start));
  pieces.push_back(text.substr(start));
  return pieces;
}

SkippedRecords::SkippedRecords(std::initializer_list<std::string> reasons) {
  for (const std::string& reason : reasons) tally_.push_back({reason, 0});
}

int SkippedRecords::Total() const {
  int total = 0;
  for (const auto& [reason, count] : tally_) total += count;
  return total;
}

std::string SkippedRecords::Message(const std::string& path) const {
  int total = Total();
  std::string file = std::filesystem::path(path).filename().string();
  std::string text = std::to_string(total) + (total == 1 ? " record of " : " records of ") + file +
                     (total == 1 ? " was skipped: " : " were skipped: ");
  std::string reasons;
  for (const auto& [reason, count] : tally_) {
    if (count == 0) continue;
    if (!reasons.empty()) reasons += ", ";
    reasons += std::to_string(count) + " " + reason;
  }
  return text + reasons;
}

std::string DataLineFileName(Session& s, std::string_view extension, FileUse use) {
  std::string given = s.LineFieldCount == 0 ? std::string() : std::string(TrimBlanks(s.args.Field(1)));
  s.args.ConsumeAll();
  return PromptFileName(s, given, extension, use);
}

void AppendRecord(std::string& text, int number, std::initializer_list<double> values) {
  text += std::to_string(number);
  for (double value : values) {
    text += ',';
    text += RoundTripNumber(value);
  }
  text += "\r\n";
}

Outcome SaveRecordFile(Session& s, std::string_view extension,
                       const std::function<void(std::string&)>& writeRecords) {
  std::string path = DataLineFileName(s, extension);
  if (path.empty()) return Outcome::Completed;
  std::string text;
  writeRecords(text);
  return SaveTextFile(s, path, text) ? Outcome::Completed : Outcome::Stopped;
}

Outcome ReadRecordFile(Session& s, std::string_view extension, const RecordLayout& layout,
                       const std::function<void(int, const double*)>& store) {
  std::string path = DataLineFileName(s, extension, FileUse::Read);
  if (path.empty()) return Outcome::Completed;
  std::optional<std::string> content = ReadTextFile(s, path);
  if (!content) return Outcome::Stopped;
  enum Reason { kOutsideTable, kNotNumeric, kWrongFieldCount };
  SkippedRecords skipped{"with a " + std::string(layout.numberName) + " that is not one of " +
                             std::to_string(layout.lowest) + ".." + std::to_string(layout.highest),
                         "with a field that is not a number",
                         "not holding " + std::to_string(layout.valueCount + 1) + " fields"};
  std::vector<double> values(static_cast<size_t>(layout.valueCount));
  for (std::string_view line : TextLines(*content)) {
    if (TrimField(line).empty()) continue;  // blank lines hold no record
    std::vector<std::string_view> fields = SplitAt(line, ',');
    if (fields.size() != values.size() + 1) {
      skipped.Count(kWrongFieldCount);
      continue;
    }
    bool numeric = PlainDecimal(fields[0]).has_value();
    for (size_t k = 0; k < values.size() && numeric; ++k) {
      std::optional<double> value = PlainDecimal(fields[k + 1]);
      numeric = value.has_value();
      if (numeric) values[k] = *value;
    }
    if (!numeric) {
      skipped.Count(kNotNumeric);
      continue;
    }
    std::optional<int> number = TableNumber(fields[0], layout.lowest, layout.highest);
    if (!number) {
      skipped.Count(kOutsideTable);
      continue;
    }
    store(*number, values.data());
  }
  if (skipped.Total() > 0) s.InfoBox(skipped.Message(path));
  return Outcome::Completed;
}

}  // namespace vantrel
