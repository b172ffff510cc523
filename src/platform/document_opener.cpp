#include "platform/document_opener.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace warizan {

bool SystemDocumentOpener::open(const QString& path) {
    return QFileInfo(path).isFile() && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace warizan
