#include "textdata/file_access.h"

#include <algorithm>

namespace warizan {

namespace {

bool fail(FileFailure* failure, FileFault fault, const QString& description) {
    if (failure)
        *failure = {fault, description};
    return false;
}

} // namespace

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
