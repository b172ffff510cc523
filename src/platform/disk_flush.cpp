#include "platform/disk_flush.h"

#include <QDir>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace warizan {

bool flushFileToDisk(QFile& file) {
    if (!file.flush() || file.handle() < 0)
        return false;
    int rc;
    do {
        rc = ::fsync(file.handle());
    } while (rc != 0 && errno == EINTR);
    return rc == 0;
}

bool flushFolderToDisk(const QString& folder) {
    const QByteArray name = QFile::encodeName(QDir::toNativeSeparators(folder));
    const int fd = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    int rc;
    do {
        rc = ::fsync(fd);
    } while (rc != 0 && errno == EINTR);
    // Some file systems (network shares among them) cannot flush a folder; the rename is then as safe as
    // they make it.
    const bool flushed = rc == 0 || errno == EINVAL || errno == ENOTSUP;
    ::close(fd);
    return flushed;
}

} // namespace warizan
