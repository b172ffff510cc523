#pragma once

#include <QString>

namespace warizan {

// Every control carries its design name as its object name, which is also how tests find it (findChild by
// object name). An element of a control array is named by the array's name, an underscore and its index
// as designed: element 2 of `Label7` is "Label7_2", element 0 of `Keisan2Lbl1` is "Keisan2Lbl1_0".
inline QString arrayName(const QString& name, int index) {
    return name + u'_' + QString::number(index);
}
inline QString arrayName(const char* name, int index) {
    return arrayName(QString::fromLatin1(name), index);
}

// Gives a control its design name.
template <typename T> T* named(T* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}
template <typename T> T* named(T* widget, const char* name) {
    return named(widget, QString::fromLatin1(name));
}
// Gives element `index` of a control array its design name.
template <typename T> T* named(T* widget, const char* name, int index) {
    return named(widget, arrayName(name, index));
}

} // namespace warizan
