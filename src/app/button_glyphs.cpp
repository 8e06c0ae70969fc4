#include "app/button_glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tv::app {

namespace {

constexpr int kSize = 18;

QPixmap Canvas() {
  QPixmap pixmap(kSize * 2, kSize * 2);  // drawn at twice the size, for sharp scaling
  pixmap.setDevicePixelRatio(2.0);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

}  // namespace

QIcon CheckMarkGlyph() {
  QPixmap pixmap = Canvas();
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  QPainterPath mark;
  mark.moveTo(3, 9.5);
  mark.lineTo(7, 13.5);
  mark.lineTo(15, 4.5);
  painter.setPen(QPen(QColor(0x00, 0x60, 0x00), 3.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(mark);
  painter.setPen(QPen(QColor(0x10, 0xA0, 0x10), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(mark);
  painter.end();
  return QIcon(pixmap);
}

QIcon CloseGlyph() {
  QPixmap pixmap = Canvas();
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  // The door frame, then the door swung open towards the viewer.
  painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.0));
  painter.setBrush(QColor(0x20, 0x20, 0x20));
  painter.drawRect(QRectF(6.5, 2.5, 9, 13));
  QPolygonF door;
  door << QPointF(6.5, 2.5) << QPointF(11.5, 4.5) << QPointF(11.5, 17) << QPointF(6.5, 15.5);
  painter.setBrush(QColor(0xC8, 0x8A, 0x2E));
  painter.setPen(QPen(QColor(0x70, 0x48, 0x10), 1.0));
  painter.drawPolygon(door);
  painter.setBrush(QColor(0x70, 0x48, 0x10));
  painter.drawEllipse(QPointF(10.3, 10), 0.7, 0.7);
  // The arrow that leads out.
  painter.setPen(QPen(QColor(0x10, 0x80, 0x10), 1.8, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(1.5, 9), QPointF(5.5, 9));
  painter.drawLine(QPointF(1.5, 9), QPointF(3.3, 7.2));
  painter.drawLine(QPointF(1.5, 9), QPointF(3.3, 10.8));
  painter.end();
  return QIcon(pixmap);
}

}  // namespace tv::app
