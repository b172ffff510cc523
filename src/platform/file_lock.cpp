#include "platform/file_lock.h"

#include <cerrno>
#include <sys/file.h>

namespace warizan {

bool FileLock::lock(bool exclusive, bool wait) {
    const int operation = (exclusive ? LOCK_EX : LOCK_SH) | (wait ? 0 : LOCK_NB);
    const int fd = m_file.handle();
    if (fd < 0)
        return false;
    int rc;
    do {
        rc = ::flock(fd, operation);
    } while (rc != 0 && errno == EINTR);
    m_locked = rc == 0;
    m_unavailable = rc != 0 && (errno == ENOLCK || errno == EOPNOTSUPP || errno == ENOSYS);
    return m_locked;
}

void FileLock::unlock() {
    if (!m_locked)
        return;
    // Written data must reach the file before another process may read it.
    m_file.flush();
    if (m_file.handle() >= 0)
        ::flock(m_file.handle(), LOCK_UN);
    m_locked = false;
}

} // namespace warizan
