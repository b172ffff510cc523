#include "platform/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace warizan {

SingleInstance::SingleInstance(const QString& programFolder) {
    const QString canonical = QFileInfo(programFolder).canonicalFilePath();
    const QByteArray key = (canonical.isEmpty() ? programFolder : canonical).toUtf8();
    const QString hash =
        QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
    m_path = QDir::temp().filePath(QStringLiteral("warizan-%1.lock").arg(hash));
}

SingleInstance::~SingleInstance() {
    release();
}

bool SingleInstance::acquire() {
    if (m_lock && m_lock->isLocked())
        return true;
    m_lock = std::make_unique<QLockFile>(m_path);
    m_lock->setStaleLockTime(0); // a lock is stale only when its process is gone, never by age
    return m_lock->tryLock(0);
}

void SingleInstance::release() {
    if (m_lock)
        m_lock->unlock();
    m_lock.reset();
}

} // namespace warizan
