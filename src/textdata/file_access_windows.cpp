#include "textdata/file_access.h"

#include "textdata/file_access_common.h"

#include <QDir>
#include <QFileInfo>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <windows.h>

// Opening a data file on Windows: through CreateFileW, so a pipe, a device name ("CON", "NUL") or a folder
// is refused before anything reads from it, and the file is shared with the suite's other programs as they
// share it (reading, writing and renaming all allowed; the locks decide who writes).
namespace warizan {

namespace {

using file_access_common::fail;

std::wstring nativePath(const QString& path) {
    return QDir::toNativeSeparators(path).toStdWString();
}

bool failWithError(FileFailure* failure, DWORD error, const QString& path, bool writing) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
        return fail(failure, FileFault::Missing, QStringLiteral("ファイルが見つかりません"));
    case ERROR_ACCESS_DENIED:
        // Windows answers a folder opened as a file with "access denied".
        if (QFileInfo(path).isDir())
            return fail(failure, FileFault::Folder, QStringLiteral("ファイルではなくフォルダです"));
        return fail(failure, FileFault::Denied,
                    writing ? QStringLiteral("ファイルに書き込む許可がありません")
                            : QStringLiteral("ファイルを読む許可がありません"));
    case ERROR_WRITE_PROTECT:
        return fail(failure, FileFault::ReadOnlyPlace,
                    QStringLiteral("読み取り専用の場所にあり、書き込めません"));
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return fail(failure, FileFault::Other, QStringLiteral("ディスクがいっぱいです"));
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return fail(failure, FileFault::Other,
                    QStringLiteral("ファイルを開けません（ほかのプログラムが使っています）"));
    default:
        return fail(
            failure, FileFault::Other,
            QStringLiteral("ファイルを開けません（%1）").arg(qt_error_string(static_cast<int>(error))));
    }
}

} // namespace

bool openDataFile(QFile& file, const QString& path, FileOpen how, FileFailure* failure, bool unbuffered) {
    const bool writing = how == FileOpen::ReadWriteCreate;
    // Backup semantics let a folder be opened too, so that it is recognised below rather than refused with
    // an unclear "access denied".
    HANDLE handle = CreateFileW(
        nativePath(path).c_str(), writing ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        writing ? OPEN_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return failWithError(failure, GetLastError(), path, writing);

    BY_HANDLE_FILE_INFORMATION info{};
    const bool disk = GetFileType(handle) == FILE_TYPE_DISK && GetFileInformationByHandle(handle, &info);
    if (!disk || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        CloseHandle(handle);
        return file_access_common::failNotRegular(failure, disk);
    }
    // A C runtime descriptor over the handle: QFile works on it, and FileLock finds the handle from it.
    const int fd =
        _open_osfhandle(reinterpret_cast<intptr_t>(handle), (writing ? _O_RDWR : _O_RDONLY) | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        return fail(failure, FileFault::Other, QStringLiteral("ファイルを開けません"));
    }

    if (!file_access_common::adoptDescriptor(file, fd, writing, unbuffered)) {
        _close(fd);
        return fail(failure, FileFault::Other, QStringLiteral("ファイルを開けません"));
    }
    return true;
}

bool isWritablePlace(const QString& path, FileFailure* failure) {
    const QFileInfo info(path);
    if (info.exists()) {
        // Opening for writing changes nothing in the file but asks the system every question: attributes,
        // permissions, a medium that refuses writing.
        HANDLE handle = CreateFileW(nativePath(path).c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return failWithError(failure, GetLastError(), path, true);
        CloseHandle(handle);
        return true;
    }
    // A file not yet there can be made where its folder is. Whether the folder's permissions allow it is
    // left to the writing itself, which reports a refusal with its reason.
    if (!QFileInfo(info.absolutePath()).isDir())
        return fail(failure, FileFault::Missing, QStringLiteral("ファイルが見つかりません"));
    return true;
}

} // namespace warizan
