#pragma once

#include <QFile>
#include <QString>

namespace warizan {

// Files that must outlive a power cut: what was written reaches the disk before these return true. A file
// written through a temporary file and a rename needs both: its own data flushed (QSaveFile does that), then
// its folder, which holds the new name.

// Flushes what was written to the open `file` to the disk.
bool flushFileToDisk(QFile& file);
// Flushes the entries of `folder` (a file just created or renamed in it) to the disk.
bool flushFolderToDisk(const QString& folder);

} // namespace warizan
