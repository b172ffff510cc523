#pragma once

#include <QString>

// What only some systems can put at a data file's path or impose on a process, for the tests that the
// program refuses or survives it: a FIFO, a link to a device, a file size limit, another user. Where this
// system has no such thing, the `cannot...()` reason is not empty and the test skips that case with it.
namespace warizan::test {

QString cannotMakeSpecialFiles();
// A FIFO at `path`; false when it could not be made.
bool makeFifo(const QString& path);

QString cannotLimitFileSize();
// Limits the size of every file this process writes to `bytes` (writes beyond fail instead of raising a
// signal) until the object goes.
class FileSizeLimit final {
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool isSet() const { return m_set; }

private:
    bool m_set = false;
    qint64 m_saved = 0;
    void (*m_savedHandler)(int) = nullptr;
};

// True when the tests run as the system's administrator (root), who may write where others may not.
bool runningAsSuperUser();
QString cannotRunAsAnotherUser();

// Why a shell script cannot stand in for another program here; empty where it can.
QString cannotRunScripts();

// Why the tests cannot start the Linux programs they check results with (pdftotext, timeout, setpriv);
// empty where they can.
QString cannotRunLinuxTools();

} // namespace warizan::test
