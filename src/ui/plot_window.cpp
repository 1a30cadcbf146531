#include "ui/plot_window.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStatusBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <string>

#include "command/text_file.h"
#include "map/map_sheet.h"
#include "map/plot_files.h"
#include "notation/numbers.h"
#include "ui/plot_painter.h"
#include "ui/printing.h"
#include "ui/twips.h"

namespace vantrel::ui {
namespace {

constexpr double kWheelStep = 1.25;       // zoom of one notch of the wheel
constexpr double kFarthestOut = 0.05;     // zoom limits against the fitted view
constexpr double kFarthestIn = 10000;
constexpr int kOverlayMargin = 200;       // scale bar and arrow from the map's edges, in twips
constexpr int kScaleBarLongest = 2160;    // 1.5 in
constexpr int kArrowLength = 720;

// North and east as the status bar shows them: feet to two decimals, in
// every locale with a point.
QString GroundText(QPointF ground) {
  return QStringLiteral("N %1   E %2")
      .arg(QString::fromStdString(FormatMask(ground.y(), "###########0.00")).trimmed(),
           QString::fromStdString(FormatMask(ground.x(), "###########0.00")).trimmed());
}

// Puts a new window beside `main` on its screen: to its right, else to its
// left, else against the screen's right edge, where the Output pane is.
void PlaceBeside(QWidget& window, const QWidget& main) {
  const QScreen* screen = main.screen();
  if (screen == nullptr) return;
  QRect free = screen->availableGeometry();
  QRect beside = main.frameGeometry();
  int width = window.frameGeometry().width();
  int x = beside.right() + 1;
  if (x + width > free.right() + 1) x = beside.left() - width;
  if (x < free.left()) x = free.right() + 1 - width;
  int y = std::clamp(beside.top(), free.top(), std::max(free.top(), free.bottom() + 1 - window.frameGeometry().height()));
  window.move(std::max(free.left(), x), y);
}

}  // namespace

// The map area: paints the picture through the window's view and turns the
// mouse and the Home key into zooming, panning and fitting.
class PlotCanvas : public QWidget {
 public:
  explicit PlotCanvas(MapPlotWindow& window) : QWidget(&window), window_(window) {
    setObjectName("picPlot");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.save();
    painter.translate(window_.Origin());
    // Pens keep their widths in screen pixels at any zoom.
    PaintPicture(painter, window_, window_.PixelsPerTwip(), 1 / window_.PixelsPerTwip());
    painter.restore();
    PaintOverlay(painter);
  }

  void resizeEvent(QResizeEvent*) override { window_.FitAll(); }

  void wheelEvent(QWheelEvent* event) override {
    double notches = event->angleDelta().y() / 120.0;
    if (notches != 0) window_.ZoomAbout(event->position(), std::pow(kWheelStep, notches));
    window_.ShowCursorPosition(event->position());
    event->accept();
  }

  void leaveEvent(QEvent*) override { window_.position_->clear(); }

  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) {
      dragFrom_ = event->position();
      setCursor(Qt::ClosedHandCursor);
    }
  }

  void mouseMoveEvent(QMouseEvent* event) override {
    if (dragFrom_ && (event->buttons() & Qt::LeftButton)) {
      window_.PanBy(event->position() - *dragFrom_);
      dragFrom_ = event->position();
    }
    window_.ShowCursorPosition(event->position());
  }

  void mouseReleaseEvent(QMouseEvent*) override {
    dragFrom_.reset();
    unsetCursor();
  }

  void mouseDoubleClickEvent(QMouseEvent*) override { window_.FitAll(); }

  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Home) window_.FitAll();
    else QWidget::keyPressEvent(event);
  }

 private:
  // The scale bar at the bottom left and the north arrow at the top right,
  // in screen twips over the map at its present zoom.
  void PaintOverlay(QPainter& painter) {
    const PlotTransform& fitted = window_.Transform();
    if (!fitted.usable) return;
    TwipScale screen = TwipScale::Drawing(*this);
    PlotPicture overlay(screen.Twips(width()), screen.Twips(height()), 1 / screen.PixelsPerTwip());
    double unitsPerFoot = fitted.scale * window_.PixelsPerTwip() / screen.PixelsPerTwip();
    DrawScaleBar(overlay, kOverlayMargin, overlay.Height() - kOverlayMargin, unitsPerFoot, kScaleBarLongest);
    DrawNorthArrow(overlay, overlay.Width() - kOverlayMargin - 100, kOverlayMargin, kArrowLength);
    PaintPicture(painter, overlay, screen.PixelsPerTwip());
  }

  MapPlotWindow& window_;
  std::optional<QPointF> dragFrom_;
};

MapPlotWindow::MapPlotWindow(QWidget* parent) : QMainWindow(parent, Qt::Window), PlotPicture(kStartWidth, kStartHeight) {
  setObjectName("frmPlot");
  setWindowTitle("Map Plot");
  // Pens count screen pixels.
  SetTwipsPerPixel(1 / TwipScale::Drawing(*this).PixelsPerTwip());
  canvas_ = new PlotCanvas(*this);
  setCentralWidget(canvas_);
  position_ = new QLabel(this);
  statusBar()->addPermanentWidget(position_);
  CreateMenus();
  TwipScale drawing = TwipScale::Drawing(*this);
  canvas_->setMinimumSize(drawing.Pixels(kStartWidth) / 4, drawing.Pixels(kStartHeight) / 4);
  resize(drawing.Pixels(kStartWidth), drawing.Pixels(kStartHeight) + menuBar()->sizeHint().height() +
                                          statusBar()->sizeHint().height());
}

void MapPlotWindow::CreateMenus() {
  QMenu* map = menuBar()->addMenu("&Map");
  QAction* exportMap = map->addAction("&Export...", this, &MapPlotWindow::Export);
  exportMap->setStatusTip("Save the map as an SVG, PNG or PDF file, or as a DXF drawing for CAD");
  QAction* print = map->addAction("&Print...", this, &MapPlotWindow::Print);
  print->setShortcut(QKeySequence::Print);
  print->setStatusTip("Print the map with a title block");
  map->addSeparator();
  QAction* fit = map->addAction("&Fit All", this, &MapPlotWindow::FitAll);
  fit->setShortcut(Qt::Key_Home);
  fit->setStatusTip("Show the whole map (also a double-click)");
  map->addSeparator();
  QAction* close = map->addAction("&Close", this, &QWidget::close);
  close->setShortcut(QKeySequence::Close);
}

void MapPlotWindow::Clear() {
  // A new picture takes the map area as it is now.
  TwipScale drawing = TwipScale::Drawing(*this);
  SetSize(drawing.Twips(canvas_->width()), drawing.Twips(canvas_->height()));
  PlotPicture::Clear();
  FitAll();
}

void MapPlotWindow::Show() {
  if (!placed_ && parentWidget() != nullptr) PlaceBeside(*this, *parentWidget()->window());
  placed_ = true;
  show();
  raise();
}

void MapPlotWindow::Draw(const PlotPrimitive& primitive) {
  PlotPicture::Draw(primitive);
  canvas_->update();
}

void MapPlotWindow::FitAll() {
  double across = canvas_->width() / static_cast<double>(std::max(1, Width()));
  double down = canvas_->height() / static_cast<double>(std::max(1, Height()));
  pixelsPerTwip_ = std::max(std::min(across, down), 1e-6);
  origin_ = QPointF((canvas_->width() - Width() * pixelsPerTwip_) / 2,
                    (canvas_->height() - Height() * pixelsPerTwip_) / 2);
  canvas_->update();
}

void MapPlotWindow::ZoomAbout(QPointF pixel, double factor) {
  double fitted = std::max(std::min(canvas_->width() / static_cast<double>(std::max(1, Width())),
                                    canvas_->height() / static_cast<double>(std::max(1, Height()))),
                           1e-6);
  double zoomed = std::clamp(pixelsPerTwip_ * factor, fitted * kFarthestOut, fitted * kFarthestIn);
  // The twip under the cursor stays under it.
  QPointF twip = (pixel - origin_) / pixelsPerTwip_;
  pixelsPerTwip_ = zoomed;
  origin_ = pixel - twip * pixelsPerTwip_;
  canvas_->update();
}

void MapPlotWindow::PanBy(QPointF pixels) {
  origin_ += pixels;
  canvas_->update();
}

std::optional<QPointF> MapPlotWindow::GroundAt(QPointF pixel) const {
  const PlotTransform& t = Transform();
  if (!t.usable) return std::nullopt;
  QPointF twip = (pixel - origin_) / pixelsPerTwip_;
  double east = (twip.x() - t.xOffset) / t.scale + t.minEast;
  double north = (Height() - twip.y() - t.yOffset) / t.scale + t.minNorth;
  if (!std::isfinite(east) || !std::isfinite(north)) return std::nullopt;
  return QPointF(east, north);
}

void MapPlotWindow::ShowCursorPosition(QPointF pixel) {
  std::optional<QPointF> ground = GroundAt(pixel);
  position_->setText(ground ? GroundText(*ground) : QString());
}

MapPlotWindow::Document MapPlotWindow::CurrentDocument() const {
  return documentSource_ ? documentSource_() : Document{QDir::currentPath(), QString()};
}

QString MapPlotWindow::ExportTo(const QString& path) const {
  QString extension = QFileInfo(path).suffix().toLower();
  std::string bytes;
  if (extension == "svg") bytes = PlotSvg(*this);
  else if (extension == "png") bytes = PlotPng(*this);
  else if (extension == "pdf") bytes = PlotPdf({static_cast<const PlotPicture&>(*this)});
  else if (extension == "dxf") {
    // The drawing the DXF command and vantrel-cli --map write, by the same
    // writer.
    const MapDrawing* drawing = CurrentDocument().drawing;
    if (drawing == nullptr || drawing->Empty()) return QStringLiteral("the map holds no point to draw");
    bytes = PlotDxf(*drawing);
  } else
    return QStringLiteral("a map is saved as .svg, .png, .pdf or .dxf, not as \"%1\"").arg(QFileInfo(path).fileName());
  if (std::optional<std::string> reason = ReplaceFile(path.toStdString(), bytes)) return QString::fromStdString(*reason);
  return {};
}

void MapPlotWindow::Export() {
  Document document = CurrentDocument();
  QString base = document.project.trimmed().isEmpty() ? QStringLiteral("map") : document.project.trimmed();
  QString selected;
  QString path = QFileDialog::getSaveFileName(
      this, "Export Map", QDir(document.folder).filePath(base + ".svg"),
      "SVG picture (*.svg);;PNG picture (*.png);;PDF document (*.pdf);;DXF drawing for CAD (*.dxf)", &selected);
  if (path.isEmpty()) return;
  // A name typed without an extension takes the chosen type's.
  if (QFileInfo(path).suffix().isEmpty())
    path += selected.contains("png")   ? ".png"
            : selected.contains("pdf") ? ".pdf"
            : selected.contains("dxf") ? ".dxf"
                                       : ".svg";
  QString failure = ExportTo(path);
  if (!failure.isEmpty()) {
    QMessageBox::warning(this, "Export Map", QStringLiteral("The map was not saved as %1: %2")
                                                 .arg(QDir::toNativeSeparators(path), failure));
    return;
  }
  statusBar()->showMessage(QStringLiteral("Map saved as %1").arg(QDir::toNativeSeparators(path)));
}

void MapPlotWindow::Print() {
  Document document = CurrentDocument();
  QString sentence = PrintMap(this, *this, document.project, document.folder);
  if (!sentence.isEmpty()) statusBar()->showMessage(sentence);
}

}  // namespace vantrel::ui
