#pragma once

#include <QString>

namespace warizan {

// A path as a message shows it to a family: ".." and "." worked out and the system's own separators, so
// "C:\スイート\warizan\..\warizan\成績累積データ.dat" reads "C:\スイート\warizan\成績累積データ.dat". Only
// for reading: files are still opened by their paths as the suite writes them.
QString shownPath(const QString& path);

} // namespace warizan
