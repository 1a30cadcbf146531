#include "ui/plot_painter.h"

#include <QApplication>
#include <QPainter>
#include <QPen>
#include <cmath>

#include "map/plot_surface.h"
#include "notation/numbers.h"

namespace vantrel::ui {
namespace {

constexpr double kSixteenthsPerRadian = 16 * 180 / PI;  // Qt's arc angles

QColor ColorOf(const PlotPrimitive& p) { return QColor::fromRgb(static_cast<QRgb>(p.color)); }

}  // namespace

void PaintPicture(QPainter& painter, const PlotPicture& picture, double pixelsPerTwip, double twipsPerPen) {
  if (twipsPerPen <= 0) twipsPerPen = picture.TwipsPerPixel();
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  auto at = [pixelsPerTwip](double x, double y) { return QPointF(x * pixelsPerTwip, y * pixelsPerTwip); };
  for (const PlotPrimitive& p : picture.Primitives()) {
    double penPixels = p.penWidth * twipsPerPen * pixelsPerTwip;
    painter.setPen(QPen(ColorOf(p), penPixels, Qt::SolidLine, Qt::RoundCap));
    switch (p.kind) {
      case PlotPrimitive::Kind::Dot:
        painter.drawPoint(at(p.x, p.y));
        break;
      case PlotPrimitive::Kind::Line:
        painter.drawLine(at(p.x, p.y), at(p.x2, p.y2));
        break;
      case PlotPrimitive::Kind::Arc: {
        double sweep = std::fmod(p.endAngle - p.startAngle, TWO_PI);
        if (sweep < 0) sweep += TWO_PI;
        double r = p.radius * pixelsPerTwip;
        QPointF centre = at(p.x, p.y);
        painter.drawArc(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r),
                        qRound(p.startAngle * kSixteenthsPerRadian), qRound(sweep * kSixteenthsPerRadian));
        break;
      }
      case PlotPrimitive::Kind::Text: {
        QFont font = QApplication::font();
        font.setPointSize(p.fontPoints);
        painter.setFont(font);
        QPointF corner = at(p.x, p.y);
        painter.save();
        painter.translate(corner);
        painter.rotate(-p.angle);  // Qt turns clockwise for a positive angle
        painter.drawText(QRectF(QPointF(0, 0), QSizeF(1e6, 1e6)), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                         QString::fromUtf8(p.text.data(), static_cast<qsizetype>(p.text.size())));
        painter.restore();
        break;
      }
    }
  }
  painter.restore();
}

}  // namespace vantrel::ui
