#include "system_files.h"

namespace warizan::test {

QString cannotMakeSpecialFiles() {
    return QStringLiteral("Windows puts no FIFO or device link at a file's path");
}

bool makeFifo(const QString&) {
    return false;
}

QString cannotLimitFileSize() {
    return QStringLiteral("Windows has no per-process file size limit");
}

FileSizeLimit::FileSizeLimit(qint64) {}

FileSizeLimit::~FileSizeLimit() = default;

bool runningAsSuperUser() {
    return false;
}

QString cannotRunAsAnotherUser() {
    return QStringLiteral("Wine runs every program as the same user, with no folder permissions");
}

QString cannotRunScripts() {
    return QStringLiteral("Windows starts no shell script as a program");
}

QString cannotRunLinuxTools() {
    return QStringLiteral("a Windows program cannot start the Linux tools this check uses");
}

} // namespace warizan::test
