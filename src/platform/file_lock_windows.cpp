#include "platform/file_lock.h"

#include <io.h>
#include <windows.h>

// Whole-file locks on Windows: LockFileEx over every byte the file has or may ever have, on the handle
// behind the file's descriptor (data files are opened on one). Unlike flock() the lock also keeps other
// processes from reading or writing the locked bytes through other handles while it is held.
namespace warizan {

namespace {
HANDLE handleOf(QFile& file) {
    const int fd = file.handle();
    return fd < 0 ? INVALID_HANDLE_VALUE : reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}
} // namespace

bool FileLock::lock(bool exclusive, bool wait) {
    const HANDLE handle = handleOf(m_file);
    m_unavailable = false;
    if (handle == INVALID_HANDLE_VALUE)
        return m_locked = false;
    DWORD flags = exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0;
    if (!wait)
        flags |= LOCKFILE_FAIL_IMMEDIATELY;
    OVERLAPPED from{}; // offset 0
    m_locked = LockFileEx(handle, flags, 0, MAXDWORD, MAXDWORD, &from) != 0;
    if (!m_locked) {
        const DWORD error = GetLastError();
        m_unavailable = error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION;
    }
    return m_locked;
}

void FileLock::unlock() {
    if (!m_locked)
        return;
    // Written data must reach the file before another process may read it.
    m_file.flush();
    const HANDLE handle = handleOf(m_file);
    if (handle != INVALID_HANDLE_VALUE) {
        OVERLAPPED from{};
        UnlockFileEx(handle, 0, MAXDWORD, MAXDWORD, &from);
    }
    m_locked = false;
}

} // namespace warizan
