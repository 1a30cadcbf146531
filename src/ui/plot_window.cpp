#include "ui/plot_window.h"

#include <QPainter>

#include "ui/plot_painter.h"
#include "ui/twips.h"

namespace vantrel::ui {

MapPlotWindow::MapPlotWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("frmPlot");
  setWindowTitle("Map Plot");
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Pens count screen pixels.
  SetTwipsPerPixel(1 / TwipScale::Drawing(*this).PixelsPerTwip());
  resize(TwipScale::Drawing(*this).Pixels(kStartWidth), TwipScale::Drawing(*this).Pixels(kStartHeight));
}

int MapPlotWindow::Width() const { return TwipScale::Drawing(*this).Twips(width()); }

int MapPlotWindow::Height() const { return TwipScale::Drawing(*this).Twips(height()); }

void MapPlotWindow::Clear() {
  PlotPicture::Clear();
  update();
}

void MapPlotWindow::Show() {
  show();
  raise();
}

void MapPlotWindow::Draw(const PlotPrimitive& primitive) {
  PlotPicture::Draw(primitive);
  update();
}

void MapPlotWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  PaintPicture(painter, *this, TwipScale::Drawing(*this).PixelsPerTwip());
}

}  // namespace vantrel::ui
