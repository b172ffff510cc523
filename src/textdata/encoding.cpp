#include "textdata/encoding.h"

#include "textdata/cp932_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <utility>

namespace warizan {

namespace {

bool hasUtf8Bom(const QByteArray& bytes) {
    return bytes.startsWith("\xEF\xBB\xBF");
}

bool isCp932Lead(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool isCp932Trail(unsigned char byte) {
    return byte >= 0x40 && byte <= 0xFC && byte != 0x7F;
}

// Linux and Mac input methods type these characters where Japanese Windows types a look-alike; CP932 holds
// only the look-alike. Written as Windows writes them, a name typed on Linux can be stored and reads back
// as the other programs of the suite show it.
constexpr std::pair<char16_t, char16_t> kWindowsLookAlikes[] = {
    {u'\u301C', u'\uFF5E'}, // wave dash → full-width tilde (0x8160)
    {u'\u2016', u'\u2225'}, // double vertical line → parallel to (0x8161)
    {u'\u2212', u'\uFF0D'}, // minus sign → full-width hyphen-minus (0x817C)
    {u'\u00A2', u'\uFFE0'}, // cent sign → full-width cent sign (0x8191)
    {u'\u00A3', u'\uFFE1'}, // pound sign → full-width pound sign (0x8192)
    {u'\u00AC', u'\uFFE2'}, // not sign → full-width not sign (0x81CA)
    {u'\u2014', u'\u2015'}, // em dash → horizontal bar (0x815C)
};

QString withWindowsLookAlikes(QStringView text) {
    QString out = text.toString();
    for (QChar& c : out) {
        const auto* hit = std::find_if(std::begin(kWindowsLookAlikes), std::end(kWindowsLookAlikes),
                                       [&](const auto& pair) { return pair.first == c.unicode(); });
        if (hit != std::end(kWindowsLookAlikes))
            c = QChar(hit->second);
    }
    return out;
}

QByteArray encodeCp932(QStringView text, bool* ok) {
    return systemCp932Encode(withWindowsLookAlikes(text), ok);
}

// The byte length of the CP932 character at `i`, or 0 where the bytes are no character in any CP932 table:
// a lead byte without its trail byte, or a single byte the code page leaves undefined (0x80, 0xA0, 0xFD
// to 0xFF), which Windows turns into private-use characters and ICU refuses.
qsizetype cp932CharacterAt(QByteArrayView bytes, qsizetype i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (isCp932Lead(byte))
        return i + 1 < bytes.size() && isCp932Trail(static_cast<unsigned char>(bytes[i + 1])) ? 2 : 0;
    return byte == 0x80 || byte == 0xA0 || byte >= 0xFD ? 0 : 1;
}

// Decodes CP932; a character that does not decode becomes U+FFFD and clears `ok`. Sound text goes to the
// system's table at once; text with faults is decoded character by character, split by the code page's
// own byte ranges, so that both builds mark exactly the same bytes.
QString decodeCp932(QByteArrayView bytes, bool* ok) {
    qsizetype i = 0;
    for (qsizetype length = 0; i < bytes.size(); i += length) {
        length = cp932CharacterAt(bytes, i);
        if (length == 0)
            break;
    }
    if (i >= bytes.size()) {
        QString text = systemCp932Decode(bytes, ok);
        if (*ok)
            return text;
    }
    *ok = false;
    QString text;
    for (i = 0; i < bytes.size();) {
        const qsizetype length = cp932CharacterAt(bytes, i);
        bool one = false;
        const QString part = length > 0 ? systemCp932Decode(bytes.sliced(i, length), &one) : QString();
        text += one && !part.isEmpty() ? part : QString(QChar::ReplacementCharacter);
        i += std::max<qsizetype>(length, 1);
    }
    return text;
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
    bool ok = false;
    *text = decodeCp932(bytes, &ok);
    return ok;
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
    bool encoded = false;
    QByteArray out = encodeCp932(text, &encoded);
    if (ok)
        *ok = encoded;
    return out;
}

QByteArray shiftJisField(const QString& text, int width) {
    bool whole = false;
    QByteArray bytes = encodeCp932(text, &whole);
    if (!whole) {
        // Rare: encode character by character so only the unmappable ones become "?".
        bytes.clear();
        for (qsizetype i = 0; i < text.size();) {
            const qsizetype len = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
            bool one = false;
            const QByteArray part = encodeCp932(QStringView(text).mid(i, len), &one);
            bytes += (!one || part.isEmpty()) ? QByteArray("?") : part;
            i += len;
        }
    }
    // Cut at `width` bytes, but never between the lead and trail byte of a double-byte character.
    qsizetype cut = 0;
    while (cut < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes.at(cut));
        const qsizetype len = isCp932Lead(lead) ? 2 : 1;
        if (cut + len > width)
            break;
        cut += len;
    }
    bytes.truncate(cut);
    bytes.append(width - cut, ' ');
    return bytes;
}

QString fromShiftJis(const QByteArray& bytes) {
    bool ok = false;
    return decodeCp932(bytes, &ok);
}

} // namespace warizan
