#pragma once

#include <QByteArray>
#include <QString>

namespace warizan {

// The encodings a text file of the suite can come in. Files from the suite's Windows machines are
// Shift-JIS (the CP932 table); files edited on newer machines may be UTF-8, with or without a BOM, and
// Notepad's "Unicode" saves UTF-16 (little-endian, or big-endian) with a byte-order mark.
enum class TextEncoding { ShiftJis, Utf8, Utf8WithBom, Utf16LE, Utf16BE };

// Picks the encoding of a whole file: a byte-order mark decides (UTF-8 or UTF-16); bytes that decode as
// strict UTF-8 and contain non-ASCII text are UTF-8; everything else (including pure ASCII) is Shift-JIS,
// the suite's own encoding.
TextEncoding detectEncoding(const QByteArray& bytes);

// Decodes bytes in the given encoding (the byte-order mark, if any, is dropped).
QString decodeText(const QByteArray& bytes, TextEncoding encoding);

// Decodes a whole text file in the encoding detected for it. Returns false when the bytes are in none of
// the suite's encodings (CP932 bytes that map to no character, or the zero bytes of UTF-16 written
// without its mark), so such a file is named as unreadable rather than read as nonsense.
bool decodeTextFile(const QByteArray& bytes, QString* text, TextEncoding* encoding);

// Encodes text; returns false in `ok` when a character has no form in that encoding. For Shift-JIS the
// characters Linux input methods type for "〜", "−", "—", "‖", "¢", "£" and "¬" are written as the
// look-alikes Japanese Windows writes (0x8160, 0x817C, 0x815C, 0x8161, 0x8191, 0x8192, 0x81CA).
QByteArray encodeText(const QString& text, TextEncoding encoding, bool* ok = nullptr);

// CP932 bytes of `text`, cut to at most `width` bytes without splitting a double-byte character and padded
// with blanks (0x20) up to exactly `width`. Characters CP932 cannot hold become "?" so a field never
// carries bytes another program would misread.
QByteArray shiftJisField(const QString& text, int width);

// Decodes a CP932 field read from a record (blank and zero padding is kept; the caller trims).
QString fromShiftJis(const QByteArray& bytes);

} // namespace warizan
