// frmPlot, the "Map Plot" window: its picture is the list of primitives
// drawn since it was last cleared, painted again whenever the window needs
// it, so the map survives being covered or resized. The view over the
// picture fits it to the window when the window is resized; the mouse wheel
// zooms about the cursor, dragging pans, Home and a double-click fit it all
// again, + and - zoom about the middle. The status bar shows the north and
// east under the cursor, or the number, coordinates and description of the
// point under it; a click on a line or arc tells its bearing and distance
// or its curve. A scale bar and a north arrow stand under the map. Map >
// Export saves the plat (the printed sheet) as SVG, PNG or PDF, or the
// session's drawing in feet as DXF (the file the DXF command and
// vantrel-cli --map write); Map > Print prints the plat.
#pragma once

#include <QMainWindow>
#include <QPointF>
#include <functional>
#include <optional>

#include "map/map_drawing.h"
#include "map/map_sheet.h"
#include "map/plot_surface.h"

class QLabel;

namespace vantrel::ui {

class MapPlotWindow : public QMainWindow, public PlotPicture {
  Q_OBJECT

 public:
  // The drawing area a new plot window opens with, in twips.
  static constexpr int kStartWidth = 8800;
  static constexpr int kStartHeight = 6800;

  // Where Map > Print and Export put their files and the title they print,
  // the session's drawing in feet that they draw (none: no DXF) and what the
  // plat shows of it.
  struct Document {
    QString folder;
    QString project;
    const MapDrawing* drawing = nullptr;
    PlatOptions plat;
  };

  // A PNG export's resolution unless another is chosen.
  static constexpr int kExportDotsPerInch = 150;

  explicit MapPlotWindow(QWidget* parent = nullptr);

  // The working folder, project name and drawing at the time of printing or
  // export.
  void SetDocumentSource(std::function<Document()> source) { documentSource_ = std::move(source); }

  // A new picture takes the map area's size at that moment; later map lines
  // of the same command land on it whatever the window's size is since.
  void Clear() override;
  void Show() override;
  void Draw(const PlotPrimitive& primitive) override;

  // The view: a twip of the picture is PixelsPerTwip() pixels of the map
  // area, and the picture's top-left corner lies at Origin().
  double PixelsPerTwip() const { return pixelsPerTwip_; }
  QPointF Origin() const { return origin_; }
  // The map area: the part of the window under the menu and above the
  // status bar.
  QWidget* MapArea() const { return canvas_; }

  void FitAll();
  void ZoomAbout(QPointF pixel, double factor);
  void PanBy(QPointF pixels);
  // East and north under a pixel of the map area, when a map is fitted.
  std::optional<QPointF> GroundAt(QPointF pixel) const;
  // Saves the plat as SVG, PNG (at `dotsPerInch`, compressed) or PDF, or
  // the document's drawing as DXF, by the file's extension; an empty text,
  // or why it could not be saved.
  QString ExportTo(const QString& path, int dotsPerInch = kExportDotsPerInch) const;
  // The point of the drawing under a pixel of the map area (its number,
  // north, east and description), and the line or arc under it (bearing
  // and distance, or the curve's row of the curve table); empty for none.
  QString PointAt(QPointF pixel) const;
  QString CourseAt(QPointF pixel) const;

 private:
  friend class PlotCanvas;
  friend class ScaleStrip;

  void CreateMenus();
  void Export();
  void Print();
  void ZoomByKey(double factor);
  void Repaint();  // the map and the strip under it
  // A place of the drawing, in feet, on the map area.
  QPointF PixelOf(double east, double north) const;
  void ShowCursorPosition(QPointF pixel);
  Document CurrentDocument() const;

  QWidget* canvas_ = nullptr;
  QWidget* strip_ = nullptr;  // the scale bar and north arrow, under the map
  QLabel* position_ = nullptr;
  std::function<Document()> documentSource_;
  double pixelsPerTwip_ = 1;
  QPointF origin_;
  bool placed_ = false;
};

}  // namespace vantrel::ui
