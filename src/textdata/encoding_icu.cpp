#include "textdata/cp932_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace warizan {

namespace {
// ICU (through Qt) maps this name to Microsoft's CP932 table, which has the NEC and IBM extensions
// (①, Ⅰ, －, ～) that Japanese Windows machines write. A strict JIS table would reject them.
constexpr const char* kShiftJisName = "windows-31j";
} // namespace

QString systemCp932Decode(QByteArrayView bytes, bool* ok) {
    QStringDecoder decoder(kShiftJisName, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    *ok = decoder.isValid() && !decoder.hasError();
    return text;
}

QByteArray systemCp932Encode(QStringView text, bool* ok) {
    QStringEncoder encoder(kShiftJisName, QStringEncoder::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    *ok = encoder.isValid() && !encoder.hasError();
    return bytes;
}

} // namespace warizan
