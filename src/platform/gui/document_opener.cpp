#include "platform/gui/document_opener.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace warizan {

QStringList helpFileCandidates(const QString& base) {
    QStringList files;
#ifdef Q_OS_WIN
    files << base + QStringLiteral(".HLP");
#endif
    files << base + QStringLiteral(".html");
    return files;
}

bool SystemDocumentOpener::open(const QString& path) {
    return QFileInfo(path).isFile() && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace warizan
