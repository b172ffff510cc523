#include "platform/disk_flush.h"

#include <io.h>
#include <windows.h>

namespace warizan {

bool flushFileToDisk(QFile& file) {
    if (!file.flush() || file.handle() < 0)
        return false;
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
    return handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle) != 0;
}

bool flushFolderToDisk(const QString&) {
    // NTFS keeps a rename in its own journal; a folder cannot be flushed from an ordinary program.
    return true;
}

} // namespace warizan
