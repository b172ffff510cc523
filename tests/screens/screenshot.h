#pragma once

#include <QDir>
#include <QWidget>

namespace warizan::test {

// Saves a picture of a form when WARIZAN_SCREENSHOT_DIR names a folder, so the screens can be looked at.
inline void saveScreenshot(QWidget& form, const QString& name) {
    const QString dir = qEnvironmentVariable("WARIZAN_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    form.grab().save(dir + u'/' + name + QStringLiteral(".png"));
}

} // namespace warizan::test
