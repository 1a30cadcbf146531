#include "store/session_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <vector>

#include "command/session.h"
#include "command/text_file.h"
#include "gps/gps_reference.h"
#include "notation/format.h"
#include "store/descriptions.h"
#include "store/record_files.h"

namespace vantrel {
namespace {

constexpr std::string_view kFirstLine = "Vantrel session ";

// Texts are kept on their one line: backslash, CR and LF are escaped.
std::string Escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') out += "\\\\";
    else if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else out += c;
  }
  return out;
}

std::string Unescaped(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    char c = text[++i];
    out += c == 'r' ? '\r' : c == 'n' ? '\n' : c;
  }
  return out;
}

std::optional<int> WholeNumber(std::string_view text) {
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// The text with its CR LF breaks turned into LF.
std::string WithLineFeeds(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i)
    if (text[i] != '\r' || i + 1 == text.size() || text[i + 1] != '\n') out += text[i];
  return out;
}

// A register worth writing: anything but a plain (positive) zero.
bool IsSet(double value) { return value != 0 || std::signbit(value); }

// What the file holds, collected before any of it reaches the session.
struct SessionContent {
  PointStore points;
  RegisterBanks registers;
  std::string project, spoolName;
  bool spool = false, ioDefault = true, display = true;
  PlotState plot;
  GpsReference gps;
  std::string gridSystem;  // as typed at GCS; empty for the flat model
  double gridFactor = 1;
  bool gridTrueNorth = false, gridUsSurveyFeet = false;
  int gpsLine = 0;  // where the reference point is named
};

// The most feet a minute of arc can hold, of latitude or of longitude (at
// the equator): GRF gives no larger scale.
constexpr double kLargestGpsScale = 6087;

// The rules DES applies to a description (a line break in one would forge a
// record or a report line); empty when it keeps them.
std::string DescriptionProblem(std::string_view description) {
  if (CharacterCount(description) > kMaxDescription)
    return "a description longer than " + std::to_string(kMaxDescription) + " characters";
  if (std::any_of(description.begin(), description.end(), IsControlCharacter))
    return "a description holding a control character";
  return {};
}

// The rules GRF applies: a reference point comes with complete latitude and
// longitude texts and the scales those give.
std::string GpsProblem(const SessionContent& c) {
  const GpsReference& g = c.gps;
  if (!g.HasReference()) return {};
  std::string latitude = g.ReferenceLatitude, longitude = g.ReferenceLongitude;
  bool withSeconds = !c.gridSystem.empty();
  if (!CompleteGpsCoordinates(GpsReference{}, latitude, longitude, withSeconds) ||
      latitude != g.ReferenceLatitude || longitude != g.ReferenceLongitude)
    return "a reference latitude or longitude GRF would refuse";
  auto inRange = [](float scale) { return scale > 0 && scale <= kLargestGpsScale; };
  if (!inRange(g.NorthScale) || !inRange(g.EastScale)) return "a GPS scale GRF would not give";
  return {};
}

// "<number> <value>..." of a point or register entry: the number when it is
// in range and every value is a plain decimal number.
template <typename InRange>
std::optional<int> IndexedValues(std::string_view text, InRange inRange, std::vector<double>& values) {
  std::vector<std::string_view> words = SplitAt(text, ' ');
  if (words.size() != values.size() + 1) return std::nullopt;
  std::optional<int> n = WholeNumber(words[0]);
  if (!n || !inRange(*n)) return std::nullopt;
  for (size_t k = 0; k < values.size(); ++k) {
    std::optional<double> v = PlainDecimal(words[k + 1]);
    if (!v) return std::nullopt;
    values[k] = *v;
  }
  return n;
}

// One "key value" line of the file into `c`; false when the line is no
// entry of this version. An entry of this version that no command could
// have given (a description DES refuses) leaves the reason in `refusal`.
bool ReadEntry(std::string_view key, std::string_view value, SessionContent& c, std::string& refusal) {
  auto flag = [&](bool& target) {
    if (value != "0" && value != "1") return false;
    target = value == "1";
    return true;
  };
  auto scale = [&](float& target) {
    std::optional<double> v = PlainDecimal(value);
    if (v) target = static_cast<float>(*v);
    return v.has_value();
  };

  auto pointNumber = [&](int n) { return c.points.IsNumber(n); };
  auto registerEntry = [&](std::array<double, kRegisterCount>& bank) {
    std::vector<double> v(1);
    std::optional<int> k = IndexedValues(value, RegisterBanks::IsNumber, v);
    if (k) bank[static_cast<size_t>(*k)] = v[0];
    return k.has_value();
  };
  if (key == "project") c.project = Unescaped(value);
  else if (key == "spool-name") c.spoolName = Unescaped(value);
  else if (key == "spool") return flag(c.spool);
  else if (key == "io-default") return flag(c.ioDefault);
  else if (key == "display") return flag(c.display);
  else if (key == "show-points") return flag(c.plot.ShowPoints);
  else if (key == "show-point-numbers") return flag(c.plot.ShowPointNumbers);
  else if (key == "show-centers") return flag(c.plot.ShowCenters);
  else if (key == "station-ticks") {
    std::optional<double> v = PlainDecimal(value);
    if (!v || !(*v >= 0)) return false;
    c.plot.StationTicks = *v;
  } else if (key == "gps-point") {
    std::optional<int> n = WholeNumber(value);
    if (!n || (*n != 0 && !c.points.IsNumber(*n))) return false;
    c.gps.ReferencePoint = *n;
  } else if (key == "gps-latitude") c.gps.ReferenceLatitude = Unescaped(value);
  else if (key == "gps-longitude") c.gps.ReferenceLongitude = Unescaped(value);
  else if (key == "gps-north-scale") return scale(c.gps.NorthScale);
  else if (key == "gps-east-scale") return scale(c.gps.EastScale);
  else if (key == "grid-system") c.gridSystem = Unescaped(value);
  else if (key == "grid-factor") {
    std::optional<double> v = PlainDecimal(value);
    if (!v || !(*v >= 0.9 && *v <= 1.1)) return false;
    c.gridFactor = *v;
  } else if (key == "grid-true-north") return flag(c.gridTrueNorth);
  else if (key == "grid-us-survey-feet") return flag(c.gridUsSurveyFeet);
  else if (key == "point") {
    std::vector<double> v(2);
    std::optional<int> n = IndexedValues(value, pointNumber, v);
    if (!n) return false;
    c.points.Move(*n, v[0], v[1]);
  } else if (key == "point-elevation") {
    std::vector<double> v(1);
    std::optional<int> n = IndexedValues(value, pointNumber, v);
    if (!n) return false;
    c.points.SetElevation(*n, v[0]);
  } else if (key == "point-description") {
    size_t blank = value.find(' ');
    std::optional<int> n = WholeNumber(value.substr(0, blank));
    if (!n || !c.points.IsNumber(*n) || blank == std::string_view::npos) return false;
    std::string description = Unescaped(value.substr(blank + 1));
    refusal = DescriptionProblem(description);
    c.points.SetDescription(*n, description);
  } else if (key == "angle-register") return registerEntry(c.registers.angle);
  else if (key == "distance-register") return registerEntry(c.registers.distance);
  else return false;
  return true;
}

}  // namespace

std::string SessionFileText(const Session& s, std::string_view pane) {
  // A file that needs nothing of the latest version says the one before, so
  // that the program before this one still opens it.
  int version = s.grid.UsSurveyFeet ? kSessionFileVersion : kSessionFileVersion - 1;
  std::string text = std::string(kFirstLine) + std::to_string(version) + "\n";
  auto put = [&](std::string_view key, const std::string& value) {
    text.append(key).append(" ").append(value).append("\n");
  };
  auto flag = [](bool on) { return std::string(on ? "1" : "0"); };
  put("project", Escaped(s.files.ProjectName));
  put("spool-name", Escaped(s.files.SpoolFileText));
  put("spool", flag(s.files.SpoolOn));
  put("io-default", flag(s.files.IODefault));
  put("display", flag(s.Display));
  put("show-points", flag(s.plot.ShowPoints));
  put("show-point-numbers", flag(s.plot.ShowPointNumbers));
  put("show-centers", flag(s.plot.ShowCenters));
  put("station-ticks", RoundTripNumber(s.plot.StationTicks));
  put("gps-point", std::to_string(s.gps.ReferencePoint));
  put("gps-latitude", Escaped(s.gps.ReferenceLatitude));
  put("gps-longitude", Escaped(s.gps.ReferenceLongitude));
  put("gps-north-scale", RoundTripNumber(s.gps.NorthScale));
  put("gps-east-scale", RoundTripNumber(s.gps.EastScale));
  if (s.grid.IsSet()) {
    put("grid-system", Escaped(s.grid.Definition));
    put("grid-factor", RoundTripNumber(s.grid.CombinedFactor));
    put("grid-true-north", flag(s.grid.TrueNorth));
    if (s.grid.UsSurveyFeet) put("grid-us-survey-feet", "1");
  }
  for (int n : s.points.Numbers()) {
    const Point& p = s.points[n];
    if (p.north != UndefinedCoord || p.east != UndefinedCoord)
      put("point", std::to_string(n) + " " + RoundTripNumber(p.north) + " " + RoundTripNumber(p.east));
  }
  for (int n : s.points.Numbers()) {
    const Point& p = s.points[n];
    if (p.elevation) put("point-elevation", std::to_string(n) + " " + RoundTripNumber(*p.elevation));
    if (!p.description.empty()) put("point-description", std::to_string(n) + " " + Escaped(p.description));
  }
  for (int k = 0; k < kRegisterCount; ++k)
    if (IsSet(s.registers.angle[k]))
      put("angle-register", std::to_string(k) + " " + RoundTripNumber(s.registers.angle[k]));
  for (int k = 0; k < kRegisterCount; ++k)
    if (IsSet(s.registers.distance[k]))
      put("distance-register", std::to_string(k) + " " + RoundTripNumber(s.registers.distance[k]));
  // The pane comes last, byte for byte, after the count of its bytes.
  put("input", std::to_string(pane.size()));
  text.append(pane);
  return text;
}

std::string ReadSessionFile(std::string_view text, Session& s, std::string& pane) {
  // An editor on Windows may add a byte-order mark and turn every line
  // break, the input pane's among them, into CR LF.
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) text.remove_prefix(kByteOrderMark.size());
  size_t position = 0;
  auto nextLine = [&]() -> std::optional<std::string_view> {
    if (position >= text.size()) return std::nullopt;
    size_t end = text.find('\n', position);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(position, end - position);
    position = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
  };
  std::optional<std::string_view> first = nextLine();
  std::optional<int> version;
  if (first && first->substr(0, kFirstLine.size()) == kFirstLine) version = WholeNumber(first->substr(kFirstLine.size()));
  if (!version || *version < 1) return "This is not a Vantrel session file";
  bool windowsBreaks = text.size() > first->size() && text[first->size()] == '\r';
  if (*version > kSessionFileVersion)
    return "This session file was written by a newer Vantrel (version " + std::to_string(*version) +
           "); it is left as it is";

  SessionContent c;
  int lineNumber = 1;
  auto refused = [&](int line, const std::string& reason) {
    return "The session file has an entry no command would give on line " + std::to_string(line) + ": " + reason;
  };
  while (std::optional<std::string_view> line = nextLine()) {
    ++lineNumber;
    size_t blank = line->find(' ');
    std::string_view key = line->substr(0, blank);
    std::string_view value = blank == std::string_view::npos ? std::string_view() : line->substr(blank + 1);
    if (key == "input") {
      std::optional<int> size = WholeNumber(value);
      std::string input(text.substr(std::min(position, text.size())));
      if (size && windowsBreaks && static_cast<size_t>(*size) != input.size()) input = WithLineFeeds(input);
      if (!size || *size < 0 || static_cast<size_t>(*size) != input.size())
        return "The session file is incomplete (line " + std::to_string(lineNumber) + ")";
      if (std::string problem = GpsProblem(c); !problem.empty()) return refused(c.gpsLine, problem);
      // The coordinate system is resolved first: one PROJ refuses (another
      // machine's database, say) leaves the whole session as it was.
      if (c.gridSystem.empty()) {
        s.grid.projection.Unselect();
      } else if (std::string refusal = s.grid.projection.Select(c.gridSystem, c.gridUsSurveyFeet); !refusal.empty()) {
        return "The session's coordinate system " + c.gridSystem.substr(0, 60) + " cannot be used: " + refusal;
      }
      s.grid.Definition = c.gridSystem;
      s.grid.CombinedFactor = c.gridFactor;
      s.grid.TrueNorth = c.gridTrueNorth;
      s.grid.UsSurveyFeet = c.gridUsSurveyFeet;
      s.points = std::move(c.points);
      s.registers = c.registers;
      s.files.ProjectName = c.project;
      s.files.SpoolFileText = c.spoolName;
      s.files.SpoolOn = c.spool;
      s.files.IODefault = c.ioDefault;
      s.Display = c.display;
      s.plot.ShowPoints = c.plot.ShowPoints;
      s.plot.ShowPointNumbers = c.plot.ShowPointNumbers;
      s.plot.ShowCenters = c.plot.ShowCenters;
      s.plot.StationTicks = c.plot.StationTicks;
      s.gps = c.gps;
      pane = std::move(input);
      return {};
    }
    if (key == "gps-point") c.gpsLine = lineNumber;
    std::string refusal;
    if (!ReadEntry(key, value, c, refusal))
      return "The session file has an entry this version cannot read on line " + std::to_string(lineNumber) + ": " +
             std::string(line->substr(0, 60));
    if (!refusal.empty()) return refused(lineNumber, refusal);
  }
  return "The session file is incomplete (no input pane)";
}

}  // namespace vantrel
