#include "textdata/file_access.h"

#include "textdata/file_access_common.h"

#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Opening a data file on Linux: through the system calls, so a pipe or device is refused before anything
// reads from it.
namespace warizan {

namespace {

using file_access_common::fail;

bool failWithErrno(FileFailure* failure, int error, bool writing) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return fail(failure, FileFault::Missing, QStringLiteral("ファイルが見つかりません"));
    case EACCES:
    case EPERM:
        return fail(failure, FileFault::Denied,
                    writing ? QStringLiteral("ファイルに書き込む許可がありません")
                            : QStringLiteral("ファイルを読む許可がありません"));
    case EROFS:
        return fail(failure, FileFault::ReadOnlyPlace,
                    QStringLiteral("読み取り専用の場所にあり、書き込めません"));
    case EISDIR:
        return fail(failure, FileFault::Folder, QStringLiteral("ファイルではなくフォルダです"));
    case ENOSPC:
        return fail(failure, FileFault::Other, QStringLiteral("ディスクがいっぱいです"));
    default:
        return fail(
            failure, FileFault::Other,
            QStringLiteral("ファイルを開けません（%1）").arg(QString::fromLocal8Bit(std::strerror(error))));
    }
}

} // namespace

bool openDataFile(QFile& file, const QString& path, FileOpen how, FileFailure* failure, bool unbuffered) {
    const bool writing = how == FileOpen::ReadWriteCreate;
    // Non-blocking for the open only: opening a pipe for reading would otherwise wait for a writer.
    int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    flags |= writing ? (O_RDWR | O_CREAT) : O_RDONLY;
    int fd;
    do {
        fd = ::open(QFile::encodeName(path).constData(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return failWithErrno(failure, errno, writing);

    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const bool folder = S_ISDIR(st.st_mode);
        ::close(fd);
        return file_access_common::failNotRegular(failure, folder);
    }
    const int status = ::fcntl(fd, F_GETFL);
    if (status >= 0)
        ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK);

    if (!file_access_common::adoptDescriptor(file, fd, writing, unbuffered)) {
        ::close(fd);
        return fail(failure, FileFault::Other, QStringLiteral("ファイルを開けません"));
    }
    return true;
}

bool isWritablePlace(const QString& path, FileFailure* failure) {
    const QByteArray name = QFile::encodeName(path);
    if (::access(name.constData(), F_OK) == 0) {
        if (::access(name.constData(), W_OK) == 0)
            return true;
        return failWithErrno(failure, errno, true);
    }
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    if (::access(folder.constData(), W_OK | X_OK) == 0)
        return true;
    const int error = errno;
    if (error == EACCES || error == EPERM)
        return fail(failure, FileFault::Denied, QStringLiteral("フォルダに書き込む許可がありません"));
    return failWithErrno(failure, error, true);
}

} // namespace warizan
