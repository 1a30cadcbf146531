#include "deeds/description.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "area/figure.h"
#include "notation/angles.h"
#include "notation/geometry.h"
#include "notation/numbers.h"

namespace vantrel {
namespace {

// A straight course shorter than this is written as 0.00 feet: it is left out.
constexpr double kShortestCourse = 0.005;

std::string Feet(double distance) { return FormatMask(distance, "0.00") + " feet"; }

// Degrees, minutes and seconds as a deed writes them.
std::string AngleText(const AngleParts& parts, const DescriptionStyle& style) {
  auto twoDigits = [](double value) {
    std::string digits = FormatMask(value, "0");
    if (digits.size() < 2) digits.insert(digits.begin(), '0');
    return digits;
  };
  std::string degrees = FormatMask(parts.degrees, "0");
  if (style.spelledAngles)
    return degrees + " degrees " + twoDigits(parts.minutes) + " minutes " + twoDigits(parts.seconds) + " seconds";
  return degrees + "\u00B0" + twoDigits(parts.minutes) + "'" + twoDigits(parts.seconds) + "\"";
}

// "North 89°59'30" East": a quadrant bearing written out; due north, which
// has no quadrant letters, is North 0°00'00" East.
std::string BearingText(double azimuth, const DescriptionStyle& style) {
  std::optional<AngleParts> parts = SplitAngle(azimuth, "B");
  if (!parts) return "(no bearing)";
  return std::string(parts->from == 'S' ? "South " : "North ") + AngleText(*parts, style) +
         (parts->toward == 'W' ? " West" : " East");
}

std::string CentralAngleText(double delta, const DescriptionStyle& style) {
  std::optional<AngleParts> parts = SplitAngle(std::fabs(delta), "Z");
  return parts ? AngleText(*parts, style) : "(no angle)";
}

// Digits grouped by thousands with commas: 27,000.
std::string GroupedWholeNumber(double value) {
  std::string digits = FormatMask(value, "0");
  size_t first = digits[0] == '-' ? 1 : 0;
  for (size_t k = digits.size(); k > first + 3; k -= 3) digits.insert(digits.begin() + static_cast<long>(k - 3), ',');
  return digits;
}

double Length(PlanePoint a, PlanePoint b) { return std::hypot(b.east - a.east, b.north - a.north); }

bool Described(const Boundary& b, size_t k) {
  return b[k].arc || Length(b[k].start, CourseEnd(b, k)) >= kShortestCourse;
}

std::string CourseText(const Boundary& b, size_t k, const DescriptionStyle& style) {
  PlanePoint from = b[k].start, to = CourseEnd(b, k);
  std::string chord =
      BearingText(AzimuthOf(to.east - from.east, to.north - from.north), style) + ", " + Feet(Length(from, to));
  const std::optional<BoundaryArc>& arc = b[k].arc;
  if (!arc) return "thence " + chord;
  return "thence along a curve to the " + std::string(arc->delta >= 0 ? "right" : "left") + " having a radius of " +
         Feet(arc->radius) + ", a central angle of " + CentralAngleText(arc->delta, style) + ", an arc length of " +
         Feet(arc->radius * std::fabs(arc->delta)) + ", and a chord bearing and distance of " + chord;
}

}  // namespace

size_t DescribedCourses(const Boundary& b) {
  size_t count = 0;
  for (size_t k = 0; k < b.size(); ++k) count += Described(b, k) ? 1 : 0;
  return count;
}

std::string LegalDescription(const Boundary& b, double area, const DescriptionStyle& style) {
  std::string text = "Beginning at " + style.beginning;
  for (size_t k = 0; k < b.size(); ++k)
    if (Described(b, k)) text += "; " + CourseText(b, k, style);
  return text + " to the point of beginning, containing " + GroupedWholeNumber(area) + " square feet (" +
         FormatMask(area / kSquareFeetPerAcre, "0.000") + " acres), more or less.";
}

std::vector<std::string> WrapText(std::string_view text, size_t width) {
  // Characters, not bytes: the degree sign takes two bytes and one column.
  auto columns = [](std::string_view t) {
    return static_cast<size_t>(std::count_if(t.begin(), t.end(), [](char c) { return (c & 0xC0) != 0x80; }));
  };
  std::vector<std::string> lines;
  std::string line;
  size_t lineColumns = 0;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(' ', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view word = text.substr(start, end - start);
    start = end + 1;
    if (word.empty()) continue;
    if (!line.empty() && lineColumns + 1 + columns(word) > width) {
      lines.push_back(line);
      line.clear();
      lineColumns = 0;
    }
    if (!line.empty()) {
      line += ' ';
      ++lineColumns;
    }
    line += word;
    lineColumns += columns(word);
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

}  // namespace vantrel
