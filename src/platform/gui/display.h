#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QSize>

namespace warizan {

// Maps the 1024 x 768 design space of the forms to the screen with one program-wide scale factor, the
// largest that fits the screen, so the program fills any monitor and is exactly the design at 1024 x 768.
namespace display {

inline constexpr int kDesignWidth = 1024;
inline constexpr int kDesignHeight = 768;

double scale();
void setScale(double factor);
// The largest factor at which the design fits `screen`.
double scaleToFit(QSize screen);

// Design pixels (and twips, 15 to the pixel) to screen pixels.
int px(double designPixels);
int twips(double designTwips);
QRect rect(double x, double y, double width, double height);
QSize designSize();

// The designed faces, each with the fallback that stands in for it on machines without it.
enum class Face {
    PGothic, // "ＭＳ Ｐゴシック", then IPAPGothic
    Gothic,  // "ＭＳ ゴシック", then IPAGothic: fixed pitch, full-width exactly twice half-width
    Mincho,  // "ＭＳ 明朝", then IPAMincho
};
// A font of `points` as the design gives it (96 dots to the inch), scaled.
QFont font(Face face, double points, bool bold = false);

QColor colour(quint32 rgb);

} // namespace display
} // namespace warizan
