// RAW: a total station's raw file read and reduced to points of the store,
// with the reduction report; optionally its observations written as a
// command file for LSQ beside the raw file.
#include <filesystem>
#include <string>
#include <unordered_set>
#include <vector>

#include "command/commands.h"
#include "command/session.h"
#include "command/text_file.h"
#include "exchange/point_exchange.h"
#include "fieldbook/field_report.h"
#include "fieldbook/lsq_file.h"
#include "fieldbook/raw_readers.h"
#include "notation/format.h"
#include "notation/numbers.h"
#include "store/descriptions.h"
#include "store/record_files.h"

namespace vantrel {
namespace {

// Sets whose rounds spread wider than this are marked, unless the data line
// gives another tolerance.
constexpr double kDefaultSetToleranceSeconds = 5;

// How much of the file is read before the progress is shown again.
constexpr size_t kProgressBytes = size_t{1} << 20;

struct RawOptions {
  std::optional<RawFormat> format;
  std::optional<int> firstNumber;  // for the points a file names rather than numbers
  bool observations = false;       // L: the observations for LSQ
  FootKind foot = FootKind::UsSurvey;
  double setToleranceSeconds = kDefaultSetToleranceSeconds;
};

// The fields after the file name, each recognised by its form: a format
// code, L, FT, T and a tolerance in seconds, or a first point number.
std::optional<RawOptions> DataLineOptions(Session& s) {
  RawOptions options;
  for (int k = 2; k <= s.args.Count(); ++k) {
    std::string field = UpperCase(TrimBlanks(s.args.Field(k)));
    double tolerance = field.size() > 1 && field.front() == 'T' ? PlainDecimal(field.substr(1)).value_or(0) : 0;
    if (field.empty()) continue;
    if (std::optional<RawFormat> format = RawFormatFromCode(field)) options.format = format;
    else if (field == "L") options.observations = true;
    else if (field == "FT") options.foot = FootKind::International;
    else if (tolerance > 0) options.setToleranceSeconds = tolerance;
    else if (std::optional<int> first = TableNumber(field, 1, s.points.Capacity())) options.firstNumber = first;
    else {
      s.InfoBox(QuoteStart(s.args.Field(k)) +
                " is no option of RAW: RW5, GSI or JXL, a first point number, L, FT or T with a tolerance in seconds");
      s.args.ConsumeAll();
      return std::nullopt;
    }
  }
  return options;
}

std::string FileName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

// Streams a line format through its reader, showing the progress; false
// when the file cannot be read or the surveyor stops the run.
bool StreamLines(Session& s, PieceReader& file, std::string piece, RawLineReader& reader, Reduction& reduction) {
  RawLines lines(reader, reduction);
  size_t done = 0, shown = 0;
  while (!piece.empty()) {
    done += piece.size();
    if (!lines.Feed(piece)) return true;
    if (done - shown >= kProgressBytes) {
      shown = done;
      s.user.BatchProgress(done, std::max(done, file.Size()));
      if (s.StopRequested) {
        reduction.Fail("stopped");
        return true;
      }
    }
    if (std::optional<std::string> failed = file.Next(piece)) {
      reduction.Fail(*failed);
      return true;
    }
  }
  lines.Finish();
  return true;
}

// Reads the file into the reduction; false after a message when it cannot
// be read at all.
bool ReadRawFile(Session& s, const std::string& path, std::optional<RawFormat> format, FootKind foot,
                 Reduction& reduction, RawFormat& read) {
  PieceReader file;
  std::string piece;
  std::optional<std::string> failed = file.Open(path);
  if (!failed) failed = file.Next(piece);
  if (failed) {
    s.InfoBox(FileErrorText(path, *failed));
    return false;
  }
  if (piece.empty()) {
    s.InfoBox(FileName(path) + " is empty: nothing was read");
    return false;
  }
  if (!format) format = RecogniseRawFormat(piece);
  if (!format) {
    s.InfoBox(FileName(path) + " is no raw data file RAW can tell: give RW5, GSI or JXL after its name");
    return false;
  }
  read = *format;
  if (*format == RawFormat::JobXml) {
    file.Close();
    std::optional<std::string> content = ReadTextFile(s, path);
    if (!content) return false;
    ReadJobXml(*content, reduction, foot);
    return true;
  }
  std::unique_ptr<RawLineReader> reader =
      *format == RawFormat::Rw5 ? MakeRw5Reader(reduction, foot) : MakeGsiReader(reduction, foot);
  return StreamLines(s, file, std::move(piece), *reader, reduction);
}

// The number a point id is stored under: a plain number within the
// store's capacity.
std::optional<int> IdNumber(const Session& s, const std::string& id) {
  return TableNumber(id, 1, s.points.Capacity());
}

std::string ListedIds(const Session& s, const std::vector<std::string>& ids) {
  constexpr size_t kListed = 20;
  std::string text;
  for (size_t k = 0; k < ids.size() && k < kListed; ++k) {
    std::optional<int> n = IdNumber(s, ids[k]);
    text += (k == 0 ? "Pt " : ", ") + (n ? std::to_string(*n) : ids[k]);
  }
  if (ids.size() > kListed) text += ", ...";
  return text;
}

// The points as they will be stored, the first position of each, listed
// as DSE lists them, then where some came from.
std::vector<ReadPoint> ListReducedPoints(Session& s, const ReductionResult& result, SkippedRecords& skipped,
                                         int& shortened) {
  std::vector<ReadPoint> points;
  if (!result.points.empty()) {
    s.WriteOutput("");
    s.WriteOutput("Points Reduced");
  }
  std::vector<std::string> gnss, instrument;
  for (const FieldPoint& p : result.points) {
    if (p.source == FieldSource::Gnss) gnss.push_back(p.id);
    if (p.source == FieldSource::Instrument) instrument.push_back(p.id);
    std::optional<int> n = IdNumber(s, p.id);
    if (!StorablePoint(n, p.at.north, p.at.east, skipped)) continue;
    bool cut = false;
    points.push_back({*n, p.at.north, p.at.east, p.at.elevation, FileDescription(p.note, cut)});
    shortened += cut;
    std::string& row = s.NewRow();
    AppendDescribedPoint(row, *n, p.at.north, p.at.east, p.at.elevation, points.back().description);
    s.WriteOutput(row);
  }
  if (!gnss.empty()) s.WriteOutput("From GNSS grid coordinates: " + ListedIds(s, gnss));
  if (!instrument.empty())
    s.WriteOutput("As the instrument computed them (no station in the file): " + ListedIds(s, instrument));
  if (!result.noElevation.empty())
    s.WriteOutput("No elevation (instrument or target height unknown): " + ListedIds(s, result.noElevation));
  if (!result.storeKnown.empty()) s.WriteOutput("Taken from the store: " + ListedIds(s, result.storeKnown));
  return points;
}

// The observations as a command file for LSQ beside the raw file, the
// points the file gives and those taken from the store held fixed.
void WriteObservations(Session& s, const std::string& path, const ReductionResult& result) {
  std::unordered_set<std::string> observed;
  for (const FieldObservation& o : result.observations) observed.insert({o.from, o.to});
  std::vector<std::string> fixed;
  for (const FieldPoint& p : result.points)
    if ((p.source == FieldSource::Given || p.source == FieldSource::Gnss) && observed.contains(p.id))
      fixed.push_back(p.id);
  for (const std::string& id : result.storeKnown)
    if (observed.contains(id)) fixed.push_back(id);
  auto number = [&s](const std::string& id) {
    std::optional<int> n = IdNumber(s, id);
    return n ? std::to_string(*n) : id;
  };
  std::string text = LsqCommandText(result, FileName(path), number, fixed);
  std::filesystem::path target(path);
  target.replace_filename(target.stem().string() + "-lsq.cmd");
  if (text.empty()) s.WriteOutput("No observations for least squares");
  else if (SaveTextFile(s, target.string(), text))
    s.WriteOutput("Observations for least squares written to " + target.filename().string());
}

}  // namespace

// Data line: file name, then in any order the format (RW5, GSI, JXL), the
// first number for points the file names, L (observations for LSQ), FT
// (metres become international feet) and T with the set tolerance.
Outcome RawDataCommand(Session& s) {
  std::optional<RawOptions> options = DataLineOptions(s);
  if (!options) return Outcome::Stopped;
  std::string extension(options->format ? RawFormatCode(*options->format) : "rw5");
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::string path = DataLineFileName(s, extension);
  if (path.empty()) return Outcome::Completed;

  double tolerance = SecondsToRadians(options->setToleranceSeconds);
  auto stored = [&s](const std::string& id) -> std::optional<FieldPosition> {
    std::optional<int> n = IdNumber(s, id);
    if (!n || !s.points.IsDefined(*n)) return std::nullopt;
    const Point& p = s.points[*n];
    return FieldPosition{p.north, p.east, p.elevation};
  };
  Reduction reduction({tolerance, options->observations}, stored);
  RawFormat format = RawFormat::Rw5;
  if (!ReadRawFile(s, path, options->format, options->foot, reduction, format)) return Outcome::Stopped;
  if (reduction.Failed()) {
    s.InfoBox(FileName(path) + ", " + *reduction.Failure() + "\nNothing was stored");
    return Outcome::Stopped;
  }
  ReductionResult result = reduction.Finish();

  auto label = [&s](const std::string& id) { return "Pt " + ListedIds(s, {id}).substr(3); };
  WriteFieldReport(result, {FileName(path), format, tolerance, label}, [&s](const std::string& row) { s.WriteOutput(row); });

  SkippedRecords skipped = PointFileSkips(s.points.Capacity(), {"listed in the report"});
  for (int64_t k = 0; k < result.skippedCount; ++k) skipped.Count(kSharedReasonCount);
  int shortened = 0;
  std::vector<ReadPoint> points = ListReducedPoints(s, result, skipped, shortened);
  if (options->observations) WriteObservations(s, path, result);
  return StoreReadPoints(s, path, points, skipped, shortened);
}

}  // namespace vantrel
