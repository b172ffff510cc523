#include "platform/shown_path.h"

#include <QDir>

namespace warizan {

QString shownPath(const QString& path) {
    return path.isEmpty() ? path : QDir::toNativeSeparators(QDir::cleanPath(path));
}

} // namespace warizan
