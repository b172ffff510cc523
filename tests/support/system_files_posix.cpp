#include "system_files.h"

#include <QFile>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace warizan::test {

QString cannotMakeSpecialFiles() {
    return {};
}

bool makeFifo(const QString& path) {
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

QString cannotLimitFileSize() {
    return {};
}

FileSizeLimit::FileSizeLimit(qint64 bytes) {
    rlimit saved{};
    if (::getrlimit(RLIMIT_FSIZE, &saved) != 0)
        return;
    m_saved = static_cast<qint64>(saved.rlim_cur);
    m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tight = saved;
    tight.rlim_cur = static_cast<rlim_t>(bytes);
    m_set = ::setrlimit(RLIMIT_FSIZE, &tight) == 0;
    if (!m_set)
        std::signal(SIGXFSZ, m_savedHandler);
}

FileSizeLimit::~FileSizeLimit() {
    if (!m_set)
        return;
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0) {
        limit.rlim_cur = static_cast<rlim_t>(m_saved);
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    std::signal(SIGXFSZ, m_savedHandler);
}

bool runningAsSuperUser() {
    return ::geteuid() == 0;
}

QString cannotRunAsAnotherUser() {
    return {};
}

QString cannotRunScripts() {
    return {};
}

QString cannotRunLinuxTools() {
    return {};
}

} // namespace warizan::test
