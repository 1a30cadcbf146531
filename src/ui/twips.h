// Positions and sizes of the program's forms are kept in twips (1/1440 inch)
// and become pixels at the screen's logical resolution. The forms were laid
// out for an 8-point interface font; a larger system font enlarges them in
// proportion, so every caption still fits its control.
#pragma once

#include <QFontMetricsF>
#include <QRect>
#include <QWidget>
#include <QtGlobal>
#include <algorithm>

#include "map/plot_surface.h"

namespace vantrel::ui {

class TwipScale {
 public:
  // True twips: the map is drawn to scale.
  static TwipScale Drawing(const QWidget& widget) {
    return TwipScale(widget.logicalDpiX() / static_cast<double>(kTwipsPerInch));
  }

  // Form twips, enlarged for a system font taller than the forms' own.
  static TwipScale Form(const QWidget& widget) {
    constexpr double kFormFontHeightInches = 13.0 / 96;  // line height of the 8-point font
    double dpi = widget.logicalDpiX();
    double fontRatio = QFontMetricsF(widget.font()).height() / (kFormFontHeightInches * dpi);
    return TwipScale(dpi / kTwipsPerInch * std::max(1.0, fontRatio));
  }

  int Pixels(int twips) const { return qRound(twips * pixelsPerTwip_); }
  int Twips(int pixels) const { return qRound(pixels / pixelsPerTwip_); }
  QRect Rect(int left, int top, int width, int height) const {
    return {Pixels(left), Pixels(top), Pixels(width), Pixels(height)};
  }
  double PixelsPerTwip() const { return pixelsPerTwip_; }

 private:
  explicit TwipScale(double pixelsPerTwip) : pixelsPerTwip_(pixelsPerTwip) {}
  double pixelsPerTwip_;
};

}  // namespace vantrel::ui
