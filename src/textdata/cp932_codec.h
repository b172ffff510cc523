#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace warizan {

// The system's own CP932 table, strict both ways: `ok` is false when a byte sequence or a character has no
// mapping (what is returned then is of no use). Linux takes ICU's "windows-31j" through Qt, Windows its
// code page 932; encoding.cpp builds everything the program uses on these two, so both builds read and
// write the same bytes.
QString systemCp932Decode(QByteArrayView bytes, bool* ok);
QByteArray systemCp932Encode(QStringView text, bool* ok);

} // namespace warizan
