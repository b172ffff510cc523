#pragma once

#include <QString>

namespace warizan {

// Gives a control its design name, which is also how tests find it (findChild by object name).
template <typename T> T* named(T* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}
template <typename T> T* named(T* widget, const char* name) {
    return named(widget, QString::fromLatin1(name));
}

} // namespace warizan
