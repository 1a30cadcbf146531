#include "map/plot_surface.h"

#include <utility>

namespace vantrel {

void PlotSurface::Dot(int x, int y) {
  PlotPrimitive dot = pen_;
  dot.kind = PlotPrimitive::Kind::Dot;
  dot.x = x;
  dot.y = y;
  Draw(dot);
}

void PlotSurface::Line(int x1, int y1, int x2, int y2) {
  PlotPrimitive line = pen_;
  line.kind = PlotPrimitive::Kind::Line;
  line.x = x1;
  line.y = y1;
  line.x2 = x2;
  line.y2 = y2;
  Draw(line);
}

void PlotSurface::Arc(int x, int y, double radius, double startAngle, double endAngle) {
  PlotPrimitive arc = pen_;
  arc.kind = PlotPrimitive::Kind::Arc;
  arc.x = x;
  arc.y = y;
  arc.radius = radius;
  arc.startAngle = startAngle;
  arc.endAngle = endAngle;
  Draw(arc);
}

void PlotSurface::Text(int x, int y, const std::string& text, double degrees) {
  PlotPrimitive label = pen_;
  label.kind = PlotPrimitive::Kind::Text;
  label.x = x;
  label.y = y;
  label.text = text;
  label.angle = degrees;
  Draw(label);
}

double TextWidth(const std::string& text, int fontPoints) {
  constexpr double kCharacterEms = 0.6;  // a digit of the sans-serif font; letters average about the same
  // Characters, not bytes: a UTF-8 sequence is one character.
  size_t characters = 0;
  for (char c : text) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return static_cast<double>(characters) * kCharacterEms * fontPoints * 20;
}

int PrinterPages::Width() const {
  return (landscape_ ? kPaperHeight : kPaperWidth) - 2 * kPaperMargin;
}

int PrinterPages::Height() const {
  return (landscape_ ? kPaperWidth : kPaperHeight) - 2 * kPaperMargin;
}

PlotPicture PrinterPages::NewPage() const { return PlotPicture(Width(), Height(), kTwipsPerDot); }

void PrinterPages::SetUpPage(bool landscape) {
  landscape_ = landscape;
  // A page that already holds a drawing is finished; an empty one is turned.
  if (!pages_.empty() && pages_.back().Primitives().empty()) pages_.pop_back();
  pages_.push_back(NewPage());
}

void PrinterPages::Fitted(const PlotTransform& transform) {
  if (pages_.empty()) pages_.push_back(NewPage());
  pages_.back().Fitted(transform);
}

void PrinterPages::Draw(const PlotPrimitive& primitive) {
  if (pages_.empty()) pages_.push_back(NewPage());
  pages_.back().Draw(primitive);
}

bool PrinterPages::HasDrawing() const {
  for (const PlotPicture& page : pages_)
    if (!page.Primitives().empty()) return true;
  return false;
}

std::vector<PlotPicture> PrinterPages::TakeDocument() {
  std::vector<PlotPicture> document;
  for (PlotPicture& page : pages_)
    if (!page.Primitives().empty()) document.push_back(std::move(page));
  pages_.clear();
  return document;
}

}  // namespace vantrel
