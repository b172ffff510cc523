#include "textdata/cp932_codec.h"

#include <climits>
#include <windows.h>

namespace warizan {

namespace {
// Japanese Windows' own code page; the Qt of the Windows build has no ICU, so this is its only CP932.
constexpr UINT kCodePage = 932;
} // namespace

QString systemCp932Decode(QByteArrayView bytes, bool* ok) {
    *ok = true;
    if (bytes.isEmpty())
        return {};
    if (bytes.size() > INT_MAX) {
        *ok = false;
        return {};
    }
    const int size = static_cast<int>(bytes.size());
    // Strict: a byte sequence the table does not hold fails instead of becoming a look-alike.
    const int length = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (length <= 0) {
        *ok = false;
        return {};
    }
    QString text(length, Qt::Uninitialized);
    MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(), size,
                        reinterpret_cast<wchar_t*>(text.data()), length);
    return text;
}

QByteArray systemCp932Encode(QStringView text, bool* ok) {
    *ok = true;
    if (text.isEmpty())
        return {};
    if (text.size() > INT_MAX / 2) {
        *ok = false;
        return {};
    }
    const int size = static_cast<int>(text.size());
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    // No best fit: a character CP932 lacks must fail, not turn into a similar one ("é" into "e").
    BOOL usedDefault = FALSE;
    const int length =
        WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide, size, nullptr, 0, nullptr, &usedDefault);
    if (length <= 0 || usedDefault) {
        *ok = false;
        return {};
    }
    QByteArray bytes(length, Qt::Uninitialized);
    WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide, size, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

} // namespace warizan
