#pragma once

#include <QIcon>
#include <QImage>

namespace warizan {

// The drill's picture: a division sign on the theme colour, drawn so no image file has to ship. The
// window's icon, the selection screen's picture, and the Windows executables' icon, which the build
// makes from the same drawing.
QImage drillIconImage(int size);

// The window's icon, drawn at the sizes a screen asks for (up to 256 pixels for high-density screens).
QIcon drillIcon();

} // namespace warizan
