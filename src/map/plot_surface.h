// Drawing surfaces of the map: the plot window and the printer page. A
// surface records what is drawn on it as a list of primitives in drawing
// units (twips, 1/1440 inch, y growing downward), so the picture can be
// painted again at any time, on the screen, a printer or into a file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "map/plot_state.h"

namespace vantrel {

// Colours as 0xRRGGBB.
inline constexpr std::uint32_t kPlotBlack = 0x000000;
inline constexpr std::uint32_t kPlotRed = 0xFF0000;

inline constexpr int kTwipsPerInch = 1440;

// A point number starts this far right of its dot.
inline constexpr int kPointNumberOffset = 30;

// One drawing operation with the pen, colour and font in force when it was
// drawn.
struct PlotPrimitive {
  enum class Kind { Dot, Line, Arc, Text };
  Kind kind = Kind::Dot;
  int x = 0, y = 0;    // dot, line start, arc centre, top-left corner of a text
  int x2 = 0, y2 = 0;  // line end
  double radius = 0;   // arc radius in drawing units
  // Arc ends in radians counterclockwise from east; the arc runs
  // counterclockwise from the start to the end.
  double startAngle = 0, endAngle = 0;
  std::string text;
  int penWidth = 1;  // in device pixels of the surface (see twipsPerPixel)
  std::uint32_t color = kPlotBlack;
  int fontPoints = 8;
  // A text turned this many degrees counterclockwise about its top-left
  // corner (course labels run along their lines).
  double angle = 0;
};

// Width of a text in the sans-serif font of the drawings, in drawing units,
// as the sheets reckon it when they keep texts clear of each other.
double TextWidth(const std::string& text, int fontPoints);

// A drawing surface. Implementations give the inner size and keep or show
// the primitives; the pen, colour and font state is kept here.
class PlotSurface {
 public:
  virtual ~PlotSurface() = default;

  virtual int Width() const = 0;  // inner size in drawing units
  virtual int Height() const = 0;
  virtual void Clear() = 0;
  // Brings the window to the screen (not modal); pages ignore it.
  virtual void Show() {}
  // Page set-up before a new plot: a fresh page turned for a figure that is
  // wider than tall. Windows ignore it.
  virtual void SetUpPage(bool landscape) { (void)landscape; }
  // The transform a new picture was fitted with (feet to drawing units), so
  // the surface can tell the scale and the coordinates of a place on it.
  virtual void Fitted(const PlotTransform& transform) { (void)transform; }

  void SetPenWidth(int pixels) { pen_.penWidth = pixels; }
  void SetColor(std::uint32_t color) { pen_.color = color; }
  void SetFontSize(int points) { pen_.fontPoints = points; }

  void Dot(int x, int y);
  void Line(int x1, int y1, int x2, int y2);
  void Arc(int x, int y, double radius, double startAngle, double endAngle);
  void Text(int x, int y, const std::string& text, double degrees = 0);

  // Draws a ready primitive as it is (its own pen, colour and font).
  virtual void Draw(const PlotPrimitive& primitive) = 0;

 private:
  PlotPrimitive pen_;  // carries the current pen width, colour and font
};

// A surface that keeps its primitives: the picture of the plot window, one
// printer page, and the recording surface of the tests.
class PlotPicture : public PlotSurface {
 public:
  // The screen at 96 dots per inch.
  static constexpr double kScreenTwipsPerPixel = 15.0;

  PlotPicture(int width = 8800, int height = 6800, double twipsPerPixel = kScreenTwipsPerPixel)
      : width_(width), height_(height), twipsPerPixel_(twipsPerPixel) {}

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  // A new size for the next picture (a window that was resized).
  void SetSize(int width, int height) {
    width_ = width;
    height_ = height;
  }
  void Clear() override {
    primitives_.clear();
    transform_ = PlotTransform{};
  }
  void Fitted(const PlotTransform& transform) override { transform_ = transform; }
  // Unusable until a plot has fitted a figure on the picture.
  const PlotTransform& Transform() const { return transform_; }

  // Size of one device pixel of the surface, the unit of pen widths.
  double TwipsPerPixel() const { return twipsPerPixel_; }
  void SetTwipsPerPixel(double twips) { twipsPerPixel_ = twips; }
  const std::vector<PlotPrimitive>& Primitives() const { return primitives_; }

  void Draw(const PlotPrimitive& primitive) override { primitives_.push_back(primitive); }

 private:
  int width_;
  int height_;
  double twipsPerPixel_;
  std::vector<PlotPrimitive> primitives_;
  PlotTransform transform_;
};

// The printer document: pages drawn since the last end of document. Pages
// are US Letter with half-inch margins; the drawing area is the printable
// part, and pen widths count printer dots of 1/600 inch.
class PrinterPages : public PlotSurface {
 public:
  static constexpr int kPaperWidth = 12240;  // 8.5 in
  static constexpr int kPaperHeight = 15840;  // 11 in
  static constexpr int kPaperMargin = 720;    // 0.5 in on every side
  static constexpr double kTwipsPerDot = kTwipsPerInch / 600.0;

  int Width() const override;
  int Height() const override;
  // The printer cannot be wiped: what was drawn stays on the page.
  void Clear() override {}
  void SetUpPage(bool landscape) override;
  void Fitted(const PlotTransform& transform) override;

  // The pages that hold a drawing, handed over for printing; the document
  // starts again empty with the current page turn.
  std::vector<PlotPicture> TakeDocument();
  bool HasDrawing() const;

  void Draw(const PlotPrimitive& primitive) override;

 private:
  PlotPicture NewPage() const;

  bool landscape_ = false;
  std::vector<PlotPicture> pages_;
};

}  // namespace vantrel
