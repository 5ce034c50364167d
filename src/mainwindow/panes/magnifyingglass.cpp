#include "magnifyingglass.h"

#include <QPainter>

QPixmap magnifyingGlass(const QColor &colour, int size, qreal devicePixelRatio)
{
    QPixmap pixmap(QSize(size, size) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 48.0, size / 48.0); // drawn on a grid of 48
    painter.setPen(QPen(colour, size < 24 ? 6 : 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawEllipse(QRectF(6, 6, 26, 26));
    painter.drawLine(QPointF(29, 29), QPointF(42, 42));
    return pixmap;
}
