#pragma once

#include <QFile>

namespace warizan {

// A lock on a whole open file against other processes. On Linux it uses flock() on the file's descriptor,
// which every writer of the program uses, and which (unlike POSIX record locks) is not dropped when the
// process closes another descriptor of the same file; on Windows LockFileEx over the whole file. The file
// must have been opened by openDataFile(). The lock is released on unlock() or destruction.
class FileLock final {
public:
    explicit FileLock(QFile& file)
        : m_file(file) {}
    ~FileLock() { unlock(); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Waits until no other process holds the file. Returns false only on a system error.
    bool lockExclusive() { return lock(true, true); }
    // Returns false at once when another process holds the file.
    bool tryLockExclusive() { return lock(true, false); }
    // A reader's lock: other readers may hold it too; writers wait. Returns false at once when a writer
    // holds the file.
    bool tryLockShared() { return lock(false, false); }
    void unlock();
    bool isLocked() const { return m_locked; }
    // After a failed attempt: true when the file system offers no locks at all (some network and user-space
    // file systems), as opposed to another process holding the file. Waiting for such a lock would wait
    // for ever, so callers then go on without it.
    bool locksUnavailable() const { return m_unavailable; }

private:
    bool lock(bool exclusive, bool wait);
    QFile& m_file;
    bool m_locked = false;
    bool m_unavailable = false;
};

} // namespace warizan
