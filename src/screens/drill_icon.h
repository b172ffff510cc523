#pragma once

#include <QIcon>

namespace warizan {

// The drill window's icon: a division sign on the theme colour, drawn so no image file has to ship.
QIcon drillIcon();

} // namespace warizan
