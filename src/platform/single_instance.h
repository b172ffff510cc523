#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace warizan {

// Tells whether another copy of the same program (the same program folder) is running. The first copy
// holds a lock file in the system's temporary folder for as long as it runs; the lock of a copy that
// crashed is recognised as stale and taken over. Nothing is written in the suite's folders.
class SingleInstance final {
public:
    explicit SingleInstance(const QString& programFolder);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this copy is now the only one; false when another copy holds the lock.
    bool acquire();
    void release();
    QString lockPath() const { return m_path; }

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace warizan
