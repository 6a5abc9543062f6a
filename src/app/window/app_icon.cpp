#include "app/window/app_icon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace qb::app {

// A rounded square in deep teal with a quill-like play triangle: the client plays what it
// streams.
QPixmap appIconPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    const qreal s = size;
    QLinearGradient background(0, 0, 0, s);
    background.setColorAt(0, QColor(24, 128, 140));
    background.setColorAt(1, QColor(10, 70, 90));
    painter.setPen(Qt::NoPen);
    painter.setBrush(background);
    painter.drawRoundedRect(QRectF(s * 0.04, s * 0.04, s * 0.92, s * 0.92), s * 0.2, s * 0.2);

    QPainterPath play;
    play.moveTo(s * 0.36, s * 0.26);
    play.lineTo(s * 0.76, s * 0.5);
    play.lineTo(s * 0.36, s * 0.74);
    play.closeSubpath();
    painter.setBrush(QColor(250, 246, 232));
    painter.drawPath(play);

    // The quill's stroke under the triangle.
    painter.setPen(QPen(QColor(250, 200, 90), qMax(1.0, s * 0.06), Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(s * 0.22, s * 0.82), QPointF(s * 0.5, s * 0.82));
    return pixmap;
}

QIcon appIcon() {
    QIcon icon;
    // Twice each size as well, so that a screen scaled to 200 % draws every size sharp.
    for (int size : {16, 24, 32, 48, 64, 96, 128, 256, 512}) {
        icon.addPixmap(appIconPixmap(size));
    }
    return icon;
}

} // namespace qb::app
