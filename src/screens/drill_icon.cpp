#include "screens/drill_icon.h"

#include "platform/gui/display.h"
#include "state/program_identity.h"

#include <QPainter>
#include <QPixmap>

namespace warizan {

QImage drillIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, size / 16.0));
    p.setBrush(display::colour(kThemeColour).darker(130));
    p.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), size / 6.0, size / 6.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 220, 0));
    const double r = size / 10.0;
    p.drawEllipse(QPointF(size / 2.0, size * 0.27), r, r);
    p.drawEllipse(QPointF(size / 2.0, size * 0.73), r, r);
    p.drawRect(QRectF(size * 0.18, size * 0.45, size * 0.64, size * 0.1));
    return image;
}

QIcon drillIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 96, 128, 256})
        icon.addPixmap(QPixmap::fromImage(drillIconImage(size)));
    return icon;
}

} // namespace warizan
