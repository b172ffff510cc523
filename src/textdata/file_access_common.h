#pragma once

#include "textdata/file_access.h"

// What the two systems' ways of opening a data file share: only their system calls differ.
namespace warizan::file_access_common {

// Sets `failure` (when one is asked for) and returns false, so a failing step can return it.
bool fail(FileFailure* failure, FileFault fault, const QString& description);

// The failure for a path that is no regular file: a folder, or a pipe, a device and the like.
bool failNotRegular(FileFailure* failure, bool folder);

// Hands the descriptor `fd` of a regular file, opened for writing or reading only, to `file`, which closes
// it from then on. On false (Qt refused it) the descriptor is still the caller's to close.
bool adoptDescriptor(QFile& file, int fd, bool writing, bool unbuffered);

} // namespace warizan::file_access_common
