#include "platform/gui/display.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace warizan::display {

namespace {
double g_scale = 1.0;
}

double scale() {
    return g_scale;
}

void setScale(double factor) {
    g_scale = factor > 0 ? factor : 1.0;
}

double scaleToFit(QSize screen) {
    if (screen.width() <= 0 || screen.height() <= 0)
        return 1.0;
    return std::min(double(screen.width()) / kDesignWidth, double(screen.height()) / kDesignHeight);
}

int px(double designPixels) {
    return static_cast<int>(std::lround(designPixels * g_scale));
}

int twips(double designTwips) {
    return px(designTwips / 15.0);
}

QRect rect(double x, double y, double width, double height) {
    return QRect(px(x), px(y), px(width), px(height));
}

QSize designSize() {
    return QSize(px(kDesignWidth), px(kDesignHeight));
}

QFont font(Face face, double points, bool bold) {
    QFont f;
    switch (face) {
    case Face::PGothic:
        f.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic")});
        break;
    case Face::Gothic:
        f.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic")});
        break;
    case Face::Mincho:
        f.setFamilies({QStringLiteral("ＭＳ 明朝"), QStringLiteral("IPAMincho")});
        break;
    }
    // Pixel sizes keep the layout independent of the screen's reported dots per inch.
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0 * g_scale))));
    f.setBold(bold);
    return f;
}

QColor colour(quint32 rgb) {
    return QColor::fromRgb((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

} // namespace warizan::display
