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
    if (!m_held)
        m_held = lockFile();
    return m_held;
}

void SingleInstance::release() {
    if (!m_held)
        return;
    unlockFile();
    m_held = false;
}

} // namespace warizan
