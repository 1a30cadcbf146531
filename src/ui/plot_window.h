// frmPlot, the "Map Plot" window: its picture is the list of primitives
// drawn since it was last cleared, painted again whenever the window needs
// it, so the map survives being covered or resized.
#pragma once

#include <QWidget>

#include "map/plot_surface.h"

namespace vantrel::ui {

class MapPlotWindow : public QWidget, public PlotPicture {
  Q_OBJECT

 public:
  // The drawing area a new plot window opens with, in twips.
  static constexpr int kStartWidth = 8800;
  static constexpr int kStartHeight = 6800;

  explicit MapPlotWindow(QWidget* parent = nullptr);

  int Width() const override;
  int Height() const override;
  void Clear() override;
  void Show() override;
  void Draw(const PlotPrimitive& primitive) override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace vantrel::ui
