#include "ui/plot_window.h"

#include <QAction>
#include <QBuffer>
#include <QImage>
#include <QInputDialog>
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
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "command/text_file.h"
#include "map/courses.h"
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
constexpr int kOverlayMargin = 200;       // scale bar and arrow from the strip's ends, in twips
constexpr int kScaleBarLongest = 2160;    // 1.5 in
constexpr int kStripHeight = 720;        // the strip under the map, 0.5 in
constexpr int kStripPadding = 90;
constexpr double kKeyZoomStep = 1.25;     // + and -
constexpr double kPickPixels = 5;         // how near the cursor a point or line is picked
constexpr int kCourseShownMs = 15000;

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
      QString course = window_.CourseAt(event->position());
      if (!course.isEmpty()) window_.statusBar()->showMessage(course, kCourseShownMs);
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
    else if (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Equal) window_.ZoomByKey(kKeyZoomStep);
    else if (event->key() == Qt::Key_Minus) window_.ZoomByKey(1 / kKeyZoomStep);
    else QWidget::keyPressEvent(event);
  }

 private:
  MapPlotWindow& window_;
  std::optional<QPointF> dragFrom_;
};

// The strip under the map: the scale bar at the map's present zoom on the
// left and the north arrow on the right, clear of every point number.
class ScaleStrip : public QWidget {
 public:
  explicit ScaleStrip(MapPlotWindow& window) : QWidget(&window), window_(window) {
    setObjectName("scaleStrip");
    setFixedHeight(TwipScale::Drawing(*this).Pixels(kStripHeight));
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const PlotTransform& fitted = window_.Transform();
    if (!fitted.usable) return;
    TwipScale screen = TwipScale::Drawing(*this);
    PlotPicture strip(screen.Twips(width()), screen.Twips(height()), 1 / screen.PixelsPerTwip());
    double unitsPerFoot = fitted.scale * window_.PixelsPerTwip() / screen.PixelsPerTwip();
    DrawScaleBar(strip, kOverlayMargin, strip.Height() - kStripPadding, unitsPerFoot, kScaleBarLongest);
    DrawNorthArrow(strip, strip.Width() - kOverlayMargin - 100, kStripPadding, strip.Height() - 2 * kStripPadding);
    PaintPicture(painter, strip, screen.PixelsPerTwip());
  }

 private:
  MapPlotWindow& window_;
};

MapPlotWindow::MapPlotWindow(QWidget* parent) : QMainWindow(parent, Qt::Window), PlotPicture(kStartWidth, kStartHeight) {
  setObjectName("frmPlot");
  setWindowTitle("Map Plot");
  // Pens count screen pixels.
  SetTwipsPerPixel(1 / TwipScale::Drawing(*this).PixelsPerTwip());
  auto* central = new QWidget(this);
  canvas_ = new PlotCanvas(*this);
  strip_ = new ScaleStrip(*this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(canvas_, 1);
  layout->addWidget(strip_);
  setCentralWidget(central);
  position_ = new QLabel(this);
  statusBar()->addPermanentWidget(position_);
  CreateMenus();
  TwipScale drawing = TwipScale::Drawing(*this);
  canvas_->setMinimumSize(drawing.Pixels(kStartWidth) / 4, drawing.Pixels(kStartHeight) / 4);
  resize(drawing.Pixels(kStartWidth), drawing.Pixels(kStartHeight) + strip_->height() +
                                          menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
}

void MapPlotWindow::CreateMenus() {
  QMenu* map = menuBar()->addMenu("&Map");
  QAction* exportMap = map->addAction("&Export...", this, &MapPlotWindow::Export);
  exportMap->setStatusTip("Save the map as an SVG, PNG or PDF file, or as a DXF drawing for CAD");
  QAction* print = map->addAction("&Print...", this, &MapPlotWindow::Print);
  print->setShortcut(QKeySequence::Print);
  print->setStatusTip("Print the map with a title block");
  QAction* setup = map->addAction("Print Set&up...", this, [this] { PrintSetup(this); });
  setup->setStatusTip("Choose the paper and the scale of printed maps");
  map->addSeparator();
  QAction* zoomIn = map->addAction("Zoom &In", this, [this] { ZoomByKey(kKeyZoomStep); });
  zoomIn->setShortcuts({QKeySequence(Qt::Key_Plus), QKeySequence(Qt::Key_Equal)});
  QAction* zoomOut = map->addAction("Zoom &Out", this, [this] { ZoomByKey(1 / kKeyZoomStep); });
  zoomOut->setShortcut(Qt::Key_Minus);
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
  Repaint();
}

void MapPlotWindow::Repaint() {
  canvas_->update();
  strip_->update();
}

void MapPlotWindow::FitAll() {
  double across = canvas_->width() / static_cast<double>(std::max(1, Width()));
  double down = canvas_->height() / static_cast<double>(std::max(1, Height()));
  pixelsPerTwip_ = std::max(std::min(across, down), 1e-6);
  origin_ = QPointF((canvas_->width() - Width() * pixelsPerTwip_) / 2,
                    (canvas_->height() - Height() * pixelsPerTwip_) / 2);
  Repaint();
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
  Repaint();
}

void MapPlotWindow::ZoomByKey(double factor) {
  ZoomAbout(QPointF(canvas_->width() / 2.0, canvas_->height() / 2.0), factor);
}

void MapPlotWindow::PanBy(QPointF pixels) {
  origin_ += pixels;
  Repaint();
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

QPointF MapPlotWindow::PixelOf(double east, double north) const {
  const PlotTransform& t = Transform();
  QPointF twip((east - t.minEast) * t.scale + t.xOffset, Height() - ((north - t.minNorth) * t.scale + t.yOffset));
  return origin_ + twip * pixelsPerTwip_;
}

QString MapPlotWindow::PointAt(QPointF pixel) const {
  const MapDrawing* drawing = CurrentDocument().drawing;
  if (drawing == nullptr || !Transform().usable) return {};
  for (const MapDrawing::Point& p : drawing->points) {
    QPointF at = PixelOf(p.east, p.north);
    if (std::hypot(at.x() - pixel.x(), at.y() - pixel.y()) > kPickPixels) continue;
    QString text = QStringLiteral("%1 %2   N %3   E %4")
                       .arg(p.center ? "Center" : "Pt")
                       .arg(p.number)
                       .arg(QString::fromStdString(FormatMask(p.north, "###########0.000")).trimmed(),
                            QString::fromStdString(FormatMask(p.east, "###########0.000")).trimmed());
    if (!p.description.empty()) text += "   " + QString::fromStdString(p.description);
    return text;
  }
  return {};
}

QString MapPlotWindow::CourseAt(QPointF pixel) const {
  const MapDrawing* drawing = CurrentDocument().drawing;
  if (drawing == nullptr || !Transform().usable) return {};
  for (const MapDrawing::Line& l : drawing->lines) {
    QPointF a = PixelOf(l.east1, l.north1), b = PixelOf(l.east2, l.north2), ab = b - a;
    double squared = QPointF::dotProduct(ab, ab);
    double along = squared > 0 ? std::clamp(QPointF::dotProduct(pixel - a, ab) / squared, 0.0, 1.0) : 0;
    QPointF nearest = a + ab * along;
    if (std::hypot(nearest.x() - pixel.x(), nearest.y() - pixel.y()) <= kPickPixels)
      return QString::fromStdString(CourseText(LineAzimuth(l), LineLength(l)));
  }
  std::vector<CurveData> curves = Curves(*drawing);
  for (size_t k = 0; k < curves.size(); ++k) {
    const MapDrawing::Arc& a = drawing->arcs[k];
    QPointF centre = PixelOf(a.east, a.north), edge = PixelOf(a.east + a.radius, a.north);
    double radius = std::hypot(edge.x() - centre.x(), edge.y() - centre.y());
    QPointF off = pixel - centre;
    if (std::abs(std::hypot(off.x(), off.y()) - radius) > kPickPixels) continue;
    double angle = std::atan2(-off.y(), off.x());  // counterclockwise from east on the screen
    double along = std::fmod(angle - a.startAngle + 4 * PI, TWO_PI);
    if (along > curves[k].delta) continue;
    QStringList row;
    std::vector<std::string> heading = CurveTableHeading(), cells = CurveTableRow(curves[k]);
    for (size_t c = 1; c < cells.size(); ++c)
      row << QString::fromStdString(heading[c]) + " " + QString::fromStdString(cells[c]);
    return QString::fromStdString(cells[0]) + ": " + row.join(", ");
  }
  return {};
}

void MapPlotWindow::ShowCursorPosition(QPointF pixel) {
  QString point = PointAt(pixel);
  if (!point.isEmpty()) {
    position_->setText(point);
    return;
  }
  std::optional<QPointF> ground = GroundAt(pixel);
  position_->setText(ground ? GroundText(*ground) : QString());
}

MapPlotWindow::Document MapPlotWindow::CurrentDocument() const {
  return documentSource_ ? documentSource_() : Document{QDir::currentPath(), QString()};
}

QString MapPlotWindow::ExportTo(const QString& path, int dotsPerInch) const {
  QString extension = QFileInfo(path).suffix().toLower();
  Document document = CurrentDocument();
  static const MapDrawing kNothingDrawn;
  const MapDrawing& drawing = document.drawing != nullptr ? *document.drawing : kNothingDrawn;
  PlatOptions options = document.plat;
  options.title.project = document.project.trimmed().toStdString();
  options.feetPerInch = ChosenScale();
  auto plat = [&] { return PlatFor(drawing, options, PaperFor(ChosenPaper(), nullptr)); };
  std::string bytes;
  if (extension == "svg") bytes = PlotSvg(plat());
  else if (extension == "pdf") bytes = PlotPdf({plat()});
  else if (extension == "png") {
    // Painted as the printer paints it, at the chosen resolution; Qt's PNG
    // writer compresses.
    PlotPicture sheet = plat();
    double pixelsPerTwip = std::clamp(dotsPerInch, 24, 1200) / static_cast<double>(kTwipsPerInch);
    QImage image(static_cast<int>(std::lround(sheet.Width() * pixelsPerTwip)),
                 static_cast<int>(std::lround(sheet.Height() * pixelsPerTwip)), QImage::Format_RGB32);
    if (image.isNull()) return QStringLiteral("the picture is too large at %1 dots per inch").arg(dotsPerInch);
    image.fill(Qt::white);
    image.setDotsPerMeterX(static_cast<int>(std::lround(dotsPerInch / 0.0254)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(dotsPerInch / 0.0254)));
    {
      QPainter painter(&image);
      PaintPicture(painter, sheet, pixelsPerTwip);
    }
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    if (!image.save(&png, "PNG")) return QStringLiteral("the picture could not be made into a PNG file");
    bytes.assign(png.data().constData(), static_cast<size_t>(png.data().size()));
  } else if (extension == "dxf") {
    // The drawing the DXF command and vantrel-cli --map write, by the same
    // writer.
    if (drawing.Empty()) return QStringLiteral("the map holds no point to draw");
    bytes = PlotDxf(drawing, options.courses);
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
  int dotsPerInch = kExportDotsPerInch;
  if (QFileInfo(path).suffix().toLower() == "png") {
    bool chosen = false;
    dotsPerInch = QInputDialog::getInt(this, "Export Map", "Resolution of the picture, in dots per inch:",
                                       kExportDotsPerInch, 50, 600, 50, &chosen);
    if (!chosen) return;
  }
  QString failure = ExportTo(path, dotsPerInch);
  if (!failure.isEmpty()) {
    QMessageBox::warning(this, "Export Map", QStringLiteral("The map was not saved as %1: %2")
                                                 .arg(QDir::toNativeSeparators(path), failure));
    return;
  }
  statusBar()->showMessage(QStringLiteral("Map saved as %1").arg(QDir::toNativeSeparators(path)));
}

void MapPlotWindow::Print() {
  Document document = CurrentDocument();
  if (document.drawing == nullptr || document.drawing->Empty()) {
    statusBar()->showMessage("There is no map to print: run a MAP line or Show Points first");
    return;
  }
  PlatOptions options = document.plat;
  options.title.project = document.project.trimmed().toStdString();
  options.feetPerInch = ChosenScale();
  QString sentence = PrintMap(this, *document.drawing, options, document.folder);
  if (!sentence.isEmpty()) statusBar()->showMessage(sentence);
}

}  // namespace vantrel::ui
