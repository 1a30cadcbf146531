#include "map/map_sheet.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <utility>
#include <vector>

#include "notation/numbers.h"

namespace vantrel {
namespace {

constexpr double kTwipsPerPoint = kTwipsPerInch / 72.0;
constexpr double kDigitEms = 0.6;           // width of a digit of the sans-serif font
constexpr int kTitleGap = 120;              // between the drawing and the title block
constexpr int kTitleBlockWidth = 4320;      // 3 in
constexpr int kArrowCellWidth = 720;        // the north arrow's cell at the block's right end
constexpr int kTitlePadding = 90;
constexpr int kTitleFontPoints = 10;
constexpr int kProjectFontPoints = 12;
constexpr int kSheetPen = 4;                // printer dots of the block's frame and arrow
constexpr int kArcStepsPerTurn = 96;        // arcs are checked against numbers as short chords

struct Box {
  double left, top, right, bottom;
  bool Overlaps(const Box& other) const {
    return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
  }
};

struct Segment {
  double x1, y1, x2, y2;
};

// Liang-Barsky: whether any part of the segment lies inside the box.
bool Crosses(const Segment& s, const Box& b) {
  double dx = s.x2 - s.x1, dy = s.y2 - s.y1;
  double enter = 0, leave = 1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {s.x1 - b.left, b.right - s.x1, s.y1 - b.top, b.bottom - s.y1};
  for (int k = 0; k < 4; ++k) {
    if (p[k] == 0) {
      if (q[k] < 0) return false;
      continue;
    }
    double r = q[k] / p[k];
    if (p[k] < 0) enter = std::max(enter, r);
    else leave = std::min(leave, r);
    if (enter > leave) return false;
  }
  return true;
}

// The chords an arc primitive is checked as.
void AddArcChords(const PlotPrimitive& arc, std::vector<Segment>& strokes) {
  double sweep = std::fmod(arc.endAngle - arc.startAngle, TWO_PI);
  if (sweep < 0) sweep += TWO_PI;
  int steps = std::max(4, static_cast<int>(std::ceil(sweep / TWO_PI * kArcStepsPerTurn)));
  auto at = [&arc](double angle) {
    return std::pair{arc.x + arc.radius * std::cos(angle), arc.y - arc.radius * std::sin(angle)};
  };
  auto [x, y] = at(arc.startAngle);
  for (int k = 1; k <= steps; ++k) {
    auto [nx, ny] = at(arc.startAngle + sweep * k / steps);
    strokes.push_back({x, y, nx, ny});
    x = nx, y = ny;
  }
}

Box TextBox(double left, double top, const std::string& text, int points) {
  double height = points * kTwipsPerPoint;
  double width = static_cast<double>(TrimBlanks(text).size()) * kDigitEms * height;
  return {left, top, left + width, top + height};
}

// A sheet coordinate; far-off points of an enlarged drawing stay inside int.
int Units(double value) {
  constexpr double kLimit = 1e9;
  return static_cast<int>(std::lround(std::clamp(value, -kLimit, kLimit)));
}

// A drawing scaled by `factor` and moved by (dx, dy), with pens counted in
// printer dots.
class SheetPlacement {
 public:
  SheetPlacement(const PlotPicture& drawing, double factor, double dx, double dy)
      : factor_(factor), dx_(dx), dy_(dy), penRatio_(drawing.TwipsPerPixel() / PrinterPages::kTwipsPerDot) {}

  PlotPrimitive operator()(PlotPrimitive p) const {
    p.x = X(p.x), p.y = Y(p.y), p.x2 = X(p.x2), p.y2 = Y(p.y2);
    p.radius *= factor_;
    p.penWidth = std::max(1, static_cast<int>(std::lround(p.penWidth * penRatio_)));
    return p;
  }
  int X(int x) const { return Units(dx_ + x * factor_); }
  int Y(int y) const { return Units(dy_ + y * factor_); }

 private:
  double factor_, dx_, dy_, penRatio_;
};

// Where a number may stand about its dot, in order of preference: above
// the dot first, so the dot sits under its number.
std::vector<Box> NumberPlaces(const PlotPrimitive& dot, const PlotPrimitive& number) {
  Box size = TextBox(0, 0, number.text, number.fontPoints);
  double w = size.right, h = size.bottom;
  double gap = kPointNumberOffset + dot.penWidth * PrinterPages::kTwipsPerDot / 2;
  double x = dot.x, y = dot.y;
  const double corners[8][2] = {
      {x - w / 2, y - gap - h}, {x + gap, y - gap - h}, {x - gap - w, y - gap - h}, {x + gap, y - h / 2},
      {x - gap - w, y - h / 2}, {x - w / 2, y + gap},   {x + gap, y + gap},         {x - gap - w, y + gap}};
  std::vector<Box> places;
  for (const auto& [left, top] : corners) places.push_back({left, top, left + w, top + h});
  return places;
}

// Sets each number at the first of its places that no line, arc, other dot
// or number already set touches; with none free, at the least crowded.
void PlaceNumbers(std::vector<std::pair<PlotPrimitive, PlotPrimitive>>& numbered,
                  const std::vector<Segment>& strokes, const std::vector<Box>& dots, const Box& sheet) {
  std::vector<Box> placed;
  for (auto& [dot, number] : numbered) {
    Box best{};
    int fewest = -1;
    for (const Box& place : NumberPlaces(dot, number)) {
      int crowd = 0;
      for (const Segment& s : strokes) crowd += Crosses(s, place);
      for (const Box& d : dots) crowd += place.Overlaps(d);
      for (const Box& n : placed) crowd += place.Overlaps(n);
      crowd += !(place.left >= sheet.left && place.right <= sheet.right && place.top >= sheet.top &&
                 place.bottom <= sheet.bottom);
      if (fewest < 0 || crowd < fewest) fewest = crowd, best = place;
      if (crowd == 0) break;
    }
    number.x = static_cast<int>(std::lround(best.left));
    number.y = static_cast<int>(std::lround(best.top));
    placed.push_back(best);
  }
}

void DrawTitleBlock(PlotSurface& sheet, const SheetTitle& title, const std::string& scale) {
  int right = sheet.Width(), bottom = sheet.Height();
  int left = std::max(0, right - kTitleBlockWidth), top = bottom - kTitleBlockHeight;
  int divider = right - kArrowCellWidth;
  sheet.SetPenWidth(kSheetPen);
  sheet.SetColor(kPlotBlack);
  sheet.Line(left, top, right, top);
  sheet.Line(right, top, right, bottom);
  sheet.Line(right, bottom, left, bottom);
  sheet.Line(left, bottom, left, top);
  sheet.Line(divider, top, divider, bottom);

  int line = top + kTitlePadding;
  sheet.SetFontSize(kProjectFontPoints);
  sheet.Text(left + kTitlePadding, line, title.project.empty() ? std::string("Vantrel map") : title.project);
  line += kProjectFontPoints * 20 + kTitlePadding;
  sheet.SetFontSize(kTitleFontPoints);
  sheet.Text(left + kTitlePadding, line, title.date);
  line += kTitleFontPoints * 20 + kTitlePadding;
  if (!scale.empty()) sheet.Text(left + kTitlePadding, line, "Scale " + scale);
  DrawNorthArrow(sheet, (divider + right) / 2, top + kTitlePadding, kTitleBlockHeight - 2 * kTitlePadding);
}

}  // namespace

void DrawNorthArrow(PlotSurface& surface, int x, int top, int length) {
  constexpr int kHead = 90;
  constexpr int kLetterHeight = kTitleFontPoints * 20;
  int tip = top + kLetterHeight + 40;
  surface.SetFontSize(kTitleFontPoints);
  surface.Line(x, top + length, x, tip);
  surface.Line(x, tip, x - kHead / 2, tip + kHead * 2);
  surface.Line(x, tip, x + kHead / 2, tip + kHead * 2);
  surface.Text(x - kLetterHeight / 3, top, "N");
}

double ScaleBarFeet(double unitsPerFoot, int longest) {
  if (!(unitsPerFoot > 0) || !std::isfinite(unitsPerFoot) || longest <= 0) return 0;
  double feet = std::pow(10.0, std::floor(std::log10(longest / unitsPerFoot)));
  for (double step : {5.0, 2.0}) {
    if (feet * step * unitsPerFoot <= longest) return feet * step;
  }
  return feet;
}

void DrawScaleBar(PlotSurface& surface, int x, int y, double unitsPerFoot, int longest) {
  constexpr int kTick = 80;
  double feet = ScaleBarFeet(unitsPerFoot, longest);
  if (feet <= 0 || !std::isfinite(feet * unitsPerFoot)) return;
  int length = static_cast<int>(std::lround(feet * unitsPerFoot));
  surface.SetFontSize(kTitleFontPoints);
  surface.Line(x, y, x + length, y);
  for (int tick : {0, length / 2, length}) surface.Line(x + tick, y - kTick, x + tick, y);
  surface.Text(x, y - kTick - kTitleFontPoints * 20 - 20, PlainNumber(feet) + " ft");
}

std::string ScaleText(double unitsPerFoot) {
  if (!(unitsPerFoot > 0) || !std::isfinite(unitsPerFoot)) return {};
  double feetPerInch = kTwipsPerInch / unitsPerFoot;
  if (!std::isfinite(feetPerInch)) return {};
  return "1\" = " + FormatMask(feetPerInch, feetPerInch < 100 ? "#########0.0" : "###############0") + " ft";
}

PlotPicture MapSheet(const PlotPicture& drawing, const SheetTitle& title, int width, int height) {
  PlotPicture sheet(width, height, PrinterPages::kTwipsPerDot);
  int room = height - kTitleBlockHeight - kTitleGap;
  double factor = 1;
  if (drawing.Width() > 0 && drawing.Height() > 0)
    factor = std::min(static_cast<double>(width) / drawing.Width(), static_cast<double>(room) / drawing.Height());
  factor = std::max(factor, 0.0);
  SheetPlacement place(drawing, factor, (width - drawing.Width() * factor) / 2,
                       std::max(0.0, (room - drawing.Height() * factor) / 2));

  // Lines and arcs first, then the dots over them, then the numbers.
  std::vector<PlotPrimitive> strokes, dots, texts;
  std::vector<std::pair<PlotPrimitive, PlotPrimitive>> numbered;
  const std::vector<PlotPrimitive>& drawn = drawing.Primitives();
  for (size_t i = 0; i < drawn.size(); ++i) {
    const PlotPrimitive& p = drawn[i];
    using Kind = PlotPrimitive::Kind;
    if (p.kind == Kind::Dot) {
      dots.push_back(place(p));
      // The number written beside this dot, as the map writes it.
      if (i + 1 < drawn.size() && drawn[i + 1].kind == Kind::Text && drawn[i + 1].x == p.x + kPointNumberOffset &&
          drawn[i + 1].y == p.y) {
        PlotPrimitive number = place(drawn[++i]);
        number.color = kPlotBlack;  // numbers print black, as on the printer page
        // A point listed twice (a closed figure) is numbered once.
        bool repeated = std::any_of(numbered.begin(), numbered.end(), [&](const auto& entry) {
          return entry.first.x == dots.back().x && entry.first.y == dots.back().y && entry.second.text == number.text;
        });
        if (!repeated) numbered.emplace_back(dots.back(), number);
      }
    } else if (p.kind == Kind::Text) {
      texts.push_back(place(p));
    } else {
      strokes.push_back(place(p));
    }
  }

  std::vector<Segment> chords;
  for (const PlotPrimitive& s : strokes) {
    if (s.kind == PlotPrimitive::Kind::Line) chords.push_back({double(s.x), double(s.y), double(s.x2), double(s.y2)});
    else AddArcChords(s, chords);
  }
  std::vector<Box> dotBoxes;
  for (const PlotPrimitive& d : dots) {
    double r = d.penWidth * PrinterPages::kTwipsPerDot / 2;
    dotBoxes.push_back({d.x - r, d.y - r, d.x + r, d.y + r});
  }
  PlaceNumbers(numbered, chords, dotBoxes, Box{0, 0, double(width), double(room)});

  for (const PlotPrimitive& p : strokes) sheet.Draw(p);
  for (const PlotPrimitive& p : dots) sheet.Draw(p);
  for (const auto& entry : numbered) sheet.Draw(entry.second);
  for (const PlotPrimitive& p : texts) sheet.Draw(p);

  const PlotTransform& fitted = drawing.Transform();
  PlotTransform scaled = fitted;
  if (fitted.usable) {
    scaled.scale = static_cast<float>(fitted.scale * factor);
    scaled.xOffset = place.X(fitted.xOffset);
    scaled.yOffset = height - place.Y(drawing.Height() - fitted.yOffset);
  }
  sheet.Fitted(scaled);
  DrawTitleBlock(sheet, title, fitted.usable ? ScaleText(static_cast<double>(fitted.scale) * factor) : std::string());
  return sheet;
}

}  // namespace vantrel
