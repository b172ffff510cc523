#include "textdata/file_access.h"

#include "textdata/file_access_common.h"

#include <algorithm>

namespace warizan {

namespace file_access_common {

bool fail(FileFailure* failure, FileFault fault, const QString& description) {
    if (failure)
        *failure = {fault, description};
    return false;
}

bool failNotRegular(FileFailure* failure, bool folder) {
    return folder ? fail(failure, FileFault::Folder, QStringLiteral("ファイルではなくフォルダです"))
                  : fail(failure, FileFault::NotRegular,
                         QStringLiteral("ふつうのファイルではありません（パイプや装置など）"));
}

bool adoptDescriptor(QFile& file, int fd, bool writing, bool unbuffered) {
    QIODevice::OpenMode mode = writing ? QIODevice::ReadWrite : QIODevice::ReadOnly;
    if (unbuffered)
        mode |= QIODevice::Unbuffered;
    if (file.isOpen())
        file.close();
    return file.open(fd, mode, QFileDevice::AutoCloseHandle);
}

} // namespace file_access_common

using file_access_common::fail;

bool readDataFile(const QString& path, QByteArray* bytes, FileFailure* failure, qint64 limit) {
    QFile file;
    if (!openDataFile(file, path, FileOpen::Read, failure))
        return false;
    const auto tooLarge = [&] {
        return fail(failure, FileFault::TooLarge,
                    QStringLiteral("ファイルが大きすぎます（%1 MB までです）").arg(limit / (1024 * 1024)));
    };
    if (file.size() > limit)
        return tooLarge();
    // Up to one byte more than allowed, so a file that grew since its size was taken is still caught;
    // in blocks, so a small file never costs the limit in memory.
    constexpr qint64 kBlock = 64 * 1024;
    bytes->clear();
    bytes->reserve(static_cast<qsizetype>(std::min(file.size(), limit)));
    while (bytes->size() <= limit) {
        const QByteArray block = file.read(std::min(kBlock, limit + 1 - bytes->size()));
        if (block.isEmpty())
            break;
        bytes->append(block);
    }
    if (file.error() != QFileDevice::NoError)
        return fail(failure, FileFault::Unreadable, QStringLiteral("ファイルを読めません"));
    if (bytes->size() > limit)
        return tooLarge();
    return true;
}

} // namespace warizan
