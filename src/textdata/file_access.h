#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace warizan {

// Why a data file could not be used. The data folders are edited by hand, copied between machines and
// shared with other programs, so a name may stand for anything: a folder, a pipe, a link to a device.
enum class FileFault {
    None,
    Missing,       // no such file (or its folder is missing)
    NotRegular,    // a pipe, a device, a socket: reading it could block or never end
    Folder,        // a folder where a file should be
    Denied,        // the file exists, but this user may not read (or write) it
    ReadOnlyPlace, // on a medium or mount that refuses writing
    TooLarge,      // larger than any real file of its kind
    Unreadable,    // opened, but reading failed
    Encoding,      // the text is in no encoding the suite uses
    Other,
};

struct FileFailure {
    FileFault fault = FileFault::None;
    // Japanese, without the file's name, e.g. "ファイルではなくフォルダです". A system reason, when one is
    // given, follows in brackets.
    QString description;
};

// Larger than any text file of the suite (a roster of 5001 entries is well under 2 MB).
inline constexpr qint64 kTextFileLimit = 16LL * 1024 * 1024;

// How openDataFile opens: for reading, or for reading and writing with the file created when missing.
enum class FileOpen { Read, ReadWriteCreate };

// Opens `path` only when it is a regular file (links are followed). The open itself never blocks on a pipe
// and a special file is refused at once, so no reader can hang or read for ever. On success `file` is open
// (unbuffered when `unbuffered` is set) on a descriptor that FileLock can lock.
bool openDataFile(QFile& file, const QString& path, FileOpen how, FileFailure* failure,
                  bool unbuffered = false);

// The whole of a regular file of at most `limit` bytes.
bool readDataFile(const QString& path, QByteArray* bytes, FileFailure* failure,
                  qint64 limit = kTextFileLimit);

// Whether the folder holding `path` (or the file itself, when it exists) could be written by this user.
// A false answer comes with the reason.
bool isWritablePlace(const QString& path, FileFailure* failure);

} // namespace warizan
