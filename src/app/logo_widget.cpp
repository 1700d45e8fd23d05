#include "app/logo_widget.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace cvu {
namespace {

QIcon DrawnIcon(int size, const std::function<void(QPainter&, qreal)>& draw) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  draw(painter, size);
  return QIcon(pixmap);
}

}  // namespace

void PaintLogo(QPainter& p, const QRectF& rect) {
  const qreal s = std::min(rect.width(), rect.height());
  const QRectF box(rect.center().x() - s / 2, rect.center().y() - s / 2, s, s);
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  // Dark round badge.
  QLinearGradient sky(box.topLeft(), box.bottomRight());
  sky.setColorAt(0, QColor(0x2b, 0x5f, 0xb8));
  sky.setColorAt(1, QColor(0x13, 0x2a, 0x55));
  p.setPen(Qt::NoPen);
  p.setBrush(sky);
  p.drawEllipse(box.adjusted(s * 0.02, s * 0.02, -s * 0.02, -s * 0.02));
  // A white cloud.
  p.setBrush(QColor(255, 255, 255, 235));
  const auto at = [&](qreal x, qreal y) { return QPointF(box.left() + x * s, box.top() + y * s); };
  QPainterPath cloud;
  cloud.setFillRule(Qt::WindingFill);
  cloud.addEllipse(at(0.22, 0.46), s * 0.14, s * 0.12);
  cloud.addEllipse(at(0.42, 0.38), s * 0.19, s * 0.18);
  cloud.addEllipse(at(0.62, 0.44), s * 0.15, s * 0.14);
  cloud.addEllipse(at(0.76, 0.52), s * 0.10, s * 0.09);
  cloud.addRoundedRect(QRectF(at(0.12, 0.48), at(0.86, 0.62)), s * 0.06, s * 0.06);
  p.drawPath(cloud.simplified());
  // An orange arrow rising out of the cloud.
  QPainterPath arrow;
  arrow.moveTo(at(0.50, 0.20));
  arrow.lineTo(at(0.66, 0.40));
  arrow.lineTo(at(0.56, 0.40));
  arrow.lineTo(at(0.56, 0.78));
  arrow.lineTo(at(0.44, 0.78));
  arrow.lineTo(at(0.44, 0.40));
  arrow.lineTo(at(0.34, 0.40));
  arrow.closeSubpath();
  p.setBrush(QColor(0xf3, 0x8b, 0x1c));
  p.setPen(QPen(QColor(0x8a, 0x45, 0x00), s * 0.012));
  p.drawPath(arrow);
  p.restore();
}

QIcon AppIcon() {
  return DrawnIcon(64, [](QPainter& p, qreal s) { PaintLogo(p, QRectF(0, 0, s, s)); });
}

QIcon SaveIcon() {
  return DrawnIcon(32, [](QPainter& p, qreal s) {
    p.setPen(QPen(QColor(0x1b, 0x33, 0x6b), 1.5));
    p.setBrush(QColor(0x35, 0x63, 0xc2));
    p.drawRoundedRect(QRectF(2, 2, s - 4, s - 4), 3, 3);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7, 3, s - 14, s * 0.38));
    p.setBrush(QColor(0x20, 0x20, 0x20));
    p.drawRect(QRectF(9, s * 0.62, s - 18, s * 0.3));
  });
}

QIcon ResetIcon() {
  return DrawnIcon(16, [](QPainter& p, qreal s) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xc6, 0x28, 0x28));
    p.drawEllipse(QRectF(1, 1, s - 2, s - 2));
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5, 5), QPointF(s - 5, s - 5));
    p.drawLine(QPointF(s - 5, 5), QPointF(5, s - 5));
  });
}

QIcon CopyIcon() {
  return DrawnIcon(16, [](QPainter& p, qreal) {
    p.setPen(QPen(QColor(0x44, 0x55, 0x77), 1));
    p.setBrush(QColor(0xe8, 0xee, 0xf8));
    p.drawRect(QRectF(1.5, 1.5, 9, 11));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5.5, 4.5, 9, 11));
    p.drawLine(QPointF(7.5, 8), QPointF(12.5, 8));
    p.drawLine(QPointF(7.5, 10.5), QPointF(12.5, 10.5));
    p.drawLine(QPointF(7.5, 13), QPointF(11, 13));
  });
}

LogoWidget::LogoWidget(QWidget* parent) : QWidget(parent) { setFixedSize(150, 150); }

void LogoWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintLogo(painter, QRectF(rect()).adjusted(4, 4, -4, -4));
}

}  // namespace cvu
