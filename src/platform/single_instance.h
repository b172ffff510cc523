#pragma once

#include <QString>
#include <QtGlobal>

namespace warizan {

// Tells whether another copy of the same program (the same program folder) is running. The first copy
// holds a whole-file lock on a file in the system's temporary folder for as long as it runs: flock() on
// Linux (as the score files are locked), LockFileEx on Windows. The system drops that lock when the process
// ends, however it ends, so a copy that crashed or was killed never keeps the next one from starting. No
// process id is written or trusted: ids are handed out again (Wine does so at once, Windows after a
// restart), and a lock file left by an older version means nothing. Nothing is written in the suite's
// folders.
class SingleInstance final {
public:
    explicit SingleInstance(const QString& programFolder);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this copy is now the only one; false when another copy holds the lock. Where no lock file
    // can be made at all (no temporary folder), true: a guard that cannot be set up must not keep a family
    // from the drill, and the score files keep their own locks.
    bool acquire();
    void release();
    QString lockPath() const { return m_path; }

private:
    // The system's own lock; false when another process holds it.
    bool lockFile();
    void unlockFile();

    QString m_path;
    qintptr m_handle = -1; // the lock file's descriptor (Linux) or handle (Windows) while held
    bool m_held = false;
};

} // namespace warizan
