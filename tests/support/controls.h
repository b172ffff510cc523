#pragma once

#include "screens/control_names.h"

#include <QObject>
#include <QString>
#include <QWidget>
#include <QtTest>
#include <source_location>
#include <type_traits>

namespace warizan::test {

namespace detail {
// Fails the running test, naming the control and where it was asked for.
void failLookup(const QString& what, const std::source_location& where);
QString describe(const QObject& form);
} // namespace detail

// The control named `name` (its design name) of type T among the children of `form`, at any depth. A name
// no control of that type carries, or carries twice, fails the running test with the name; the test then
// goes on with a hidden stand-in that belongs to the form, so the lines after it cannot crash.
template <typename T>
T* control(const QObject& form, const QString& name,
           const std::source_location where = std::source_location::current()) {
    const QList<T*> found = form.findChildren<T*>(name);
    if (found.size() == 1)
        return found.first();
    detail::failLookup(QStringLiteral("%1 control%2 named \"%3\" of type %4 in %5")
                           .arg(found.isEmpty() ? QStringLiteral("no") : QString::number(found.size()),
                                found.isEmpty() ? QString() : QStringLiteral("s"), name,
                                QString::fromLatin1(T::staticMetaObject.className()), detail::describe(form)),
                       where);
    auto* standIn = new T;
    if constexpr (std::is_base_of_v<QWidget, T>) {
        if (auto* parent = qobject_cast<QWidget*>(const_cast<QObject*>(&form)))
            standIn->setParent(parent);
        standIn->hide();
    } else {
        standIn->setParent(const_cast<QObject*>(&form));
    }
    return standIn;
}

template <typename T>
T* control(const QObject& form, const char* name,
           const std::source_location where = std::source_location::current()) {
    return control<T>(form, QString::fromLatin1(name), where);
}

// Element `index` of the control array `name`: control<QLabel>(menu, "Label7", 2) is the control "Label7_2".
template <typename T>
T* control(const QObject& form, const char* name, int index,
           const std::source_location where = std::source_location::current()) {
    return control<T>(form, arrayName(name, index), where);
}

// The text that the label, button or line box named `name` shows.
QString shownText(const QObject& form, const QString& name,
                  std::source_location where = std::source_location::current());
inline QString shownText(const QObject& form, const char* name,
                         std::source_location where = std::source_location::current()) {
    return shownText(form, QString::fromLatin1(name), where);
}

} // namespace warizan::test
