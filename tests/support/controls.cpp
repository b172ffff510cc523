#include "controls.h"

#include <QVariant>

namespace warizan::test {

namespace detail {

void failLookup(const QString& what, const std::source_location& where) {
    QTest::qFail(qPrintable(what), where.file_name(), static_cast<int>(where.line()));
}

QString describe(const QObject& form) {
    return form.objectName().isEmpty() ? QString::fromLatin1(form.metaObject()->className())
                                       : form.objectName();
}

} // namespace detail

QString shownText(const QObject& form, const QString& name, const std::source_location where) {
    const QWidget* widget = control<QWidget>(form, name, where);
    if (widget->objectName() != name)
        return {}; // the lookup has failed the test already
    // Labels, buttons and line boxes show their "text" property.
    const QVariant text = widget->property("text");
    if (!text.isValid())
        detail::failLookup(QStringLiteral("\"%1\" shows no text of its own").arg(name), where);
    return text.toString();
}

} // namespace warizan::test
