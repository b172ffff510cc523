#include "textdata/encoding.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace warizan {

namespace {
// ICU (through Qt) maps this name to Microsoft's CP932 table, which has the NEC and IBM extensions
// (①, Ⅰ, －, ～) that Japanese Windows machines write. A strict JIS table would reject them.
constexpr const char* kShiftJisName = "windows-31j";

bool hasUtf8Bom(const QByteArray& bytes) {
    return bytes.startsWith("\xEF\xBB\xBF");
}
} // namespace

TextEncoding detectEncoding(const QByteArray& bytes) {
    if (hasUtf8Bom(bytes))
        return TextEncoding::Utf8WithBom;
    if (bytes.startsWith("\xFF\xFE"))
        return TextEncoding::Utf16LE;
    if (bytes.startsWith("\xFE\xFF"))
        return TextEncoding::Utf16BE;
    bool nonAscii = false;
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            nonAscii = true;
            break;
        }
    }
    if (!nonAscii)
        return TextEncoding::ShiftJis;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = utf8.decode(bytes);
    return utf8.hasError() ? TextEncoding::ShiftJis : TextEncoding::Utf8;
}

QString decodeText(const QByteArray& bytes, TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8WithBom:
        return QString::fromUtf8(bytes.mid(hasUtf8Bom(bytes) ? 3 : 0));
    case TextEncoding::Utf8:
        return QString::fromUtf8(bytes);
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE: {
        QStringDecoder utf16(encoding == TextEncoding::Utf16LE ? QStringDecoder::Utf16LE
                                                               : QStringDecoder::Utf16BE,
                             QStringDecoder::Flag::Stateless);
        return utf16.decode(bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF") ? bytes.mid(2)
                                                                                         : bytes);
    }
    case TextEncoding::ShiftJis:
        break;
    }
    return fromShiftJis(bytes);
}

bool decodeTextFile(const QByteArray& bytes, QString* text, TextEncoding* encoding) {
    *encoding = detectEncoding(bytes);
    if (*encoding != TextEncoding::ShiftJis) {
        *text = decodeText(bytes, *encoding);
        return true;
    }
    // No text file of the suite holds a zero byte; UTF-16 without its mark is full of them.
    if (bytes.contains('\0'))
        return false;
    QStringDecoder decoder(kShiftJisName, QStringDecoder::Flag::Stateless);
    *text = decoder.decode(bytes);
    return !decoder.hasError();
}

QByteArray encodeText(const QString& text, TextEncoding encoding, bool* ok) {
    if (encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE) {
        QStringEncoder utf16(encoding == TextEncoding::Utf16LE ? QStringEncoder::Utf16LE
                                                               : QStringEncoder::Utf16BE,
                             QStringEncoder::Flag::WriteBom);
        const QByteArray out = utf16.encode(text);
        if (ok)
            *ok = !utf16.hasError();
        return out;
    }
    if (encoding != TextEncoding::ShiftJis) {
        if (ok)
            *ok = true;
        QByteArray out = encoding == TextEncoding::Utf8WithBom ? QByteArray("\xEF\xBB\xBF") : QByteArray();
        return out + text.toUtf8();
    }
    QStringEncoder encoder(kShiftJisName, QStringEncoder::Flag::Stateless);
    QByteArray out = encoder.encode(text);
    if (ok)
        *ok = !encoder.hasError();
    return out;
}

QByteArray shiftJisField(const QString& text, int width) {
    QByteArray bytes;
    QStringEncoder whole(kShiftJisName, QStringEncoder::Flag::Stateless);
    bytes = whole.encode(text);
    if (whole.hasError()) {
        // Rare: encode character by character so only the unmappable ones become "?".
        bytes.clear();
        for (qsizetype i = 0; i < text.size();) {
            const qsizetype len = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
            QStringEncoder one(kShiftJisName, QStringEncoder::Flag::Stateless);
            const QByteArray part = one.encode(QStringView(text).mid(i, len));
            bytes += (one.hasError() || part.isEmpty()) ? QByteArray("?") : part;
            i += len;
        }
    }
    // Cut at `width` bytes, but never between the lead and trail byte of a double-byte character.
    qsizetype cut = 0;
    while (cut < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes.at(cut));
        const qsizetype len = ((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC)) ? 2 : 1;
        if (cut + len > width)
            break;
        cut += len;
    }
    bytes.truncate(cut);
    bytes.append(width - cut, ' ');
    return bytes;
}

QString fromShiftJis(const QByteArray& bytes) {
    QStringDecoder decoder(kShiftJisName, QStringDecoder::Flag::Stateless);
    return decoder.decode(bytes);
}

} // namespace warizan
