#include "app/AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

QImage AppIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 48.0, size / 48.0);
    // Body: a dome that flares into a rim.
    QPainterPath body;
    body.moveTo(24, 6);
    body.cubicTo(35, 6, 37, 16, 37, 24);
    body.cubicTo(37, 31, 39, 34, 43, 37);
    body.lineTo(5, 37);
    body.cubicTo(9, 34, 11, 31, 11, 24);
    body.cubicTo(11, 16, 13, 6, 24, 6);
    QLinearGradient gold(8, 0, 40, 0);
    gold.setColorAt(0, QColor(255, 214, 64));
    gold.setColorAt(0.45, QColor(255, 240, 150));
    gold.setColorAt(1, QColor(214, 150, 20));
    p.setPen(QPen(QColor(140, 90, 10), size >= 32 ? 2.0 : 3.0));
    p.setBrush(gold);
    p.drawPath(body);
    // Rim, knob and clapper.
    p.setBrush(QColor(200, 135, 20));
    p.drawRoundedRect(QRectF(4, 36, 40, 5), 2.5, 2.5);
    p.drawEllipse(QPointF(24, 5), 3, 3);
    p.setBrush(QColor(120, 70, 10));
    p.drawEllipse(QPointF(24, 43), 4, 4);
    p.end();
    return image;
}

QIcon AppIcon() {
    // Painted once: the windows and the tray share it.
    static const QIcon icon = [] {
        QIcon all;
        for (int size : {16, 24, 32, 48, 64, 128})
            all.addPixmap(QPixmap::fromImage(AppIconImage(size)));
        return all;
    }();
    return icon;
}
