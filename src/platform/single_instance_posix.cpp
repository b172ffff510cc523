#include "platform/single_instance.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace warizan {

bool SingleInstance::lockFile() {
    const QByteArray name = QFile::encodeName(m_path);
    // The file stays where it is between runs (removing it would race with a copy starting). One made by
    // another user may only be readable; a lock on a descriptor opened for reading counts all the same.
    int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return true;
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const bool heldElsewhere = errno == EWOULDBLOCK;
        ::close(fd);
        // A file system without locks cannot tell: the copy runs.
        return !heldElsewhere;
    }
    m_handle = fd;
    return true;
}

void SingleInstance::unlockFile() {
    if (m_handle < 0)
        return;
    // Closing the descriptor drops the lock.
    ::close(static_cast<int>(m_handle));
    m_handle = -1;
}

} // namespace warizan
