#include "platform/single_instance.h"

#include <QDir>
#include <windows.h>

namespace warizan {

bool SingleInstance::lockFile() {
    const std::wstring name = QDir::toNativeSeparators(m_path).toStdWString();
    // Shared for reading, writing and deleting: the lock, not the sharing mode, tells a running copy.
    const HANDLE handle = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        // An older version's copy keeps its lock file open without sharing it: that copy is running.
        return GetLastError() != ERROR_SHARING_VIOLATION;
    }
    OVERLAPPED from{}; // offset 0
    if (!LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD,
                    &from)) {
        const DWORD error = GetLastError();
        CloseHandle(handle);
        return error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING;
    }
    m_handle = reinterpret_cast<qintptr>(handle);
    return true;
}

void SingleInstance::unlockFile() {
    if (m_handle == -1)
        return;
    // Closing the handle drops the lock; the system does the same for a process that ends any other way.
    CloseHandle(reinterpret_cast<HANDLE>(m_handle));
    m_handle = -1;
}

} // namespace warizan
