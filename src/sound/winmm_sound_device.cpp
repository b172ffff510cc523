#include "sound/winmm_sound_device.h"

#include "platform/shown_path.h"

#include <QDir>
#include <QFileInfo>
#include <array>
#include <string>
#include <windows.h>

// After windows.h, whose types it uses.
#include <mmsystem.h>

namespace warizan {

namespace {

// Far above any cue (a minute of CD-quality stereo is about 10 MB).
constexpr qint64 kLargestSoundFile = 64 * 1024 * 1024;
// The alias the open sound goes by between its commands; one sound plays at a time.
constexpr const wchar_t* kAlias = L"warizan_cue";

MCIERROR send(const std::wstring& command) {
    return mciSendStringW(command.c_str(), nullptr, 0, nullptr);
}

QString describe(MCIERROR error) {
    std::array<wchar_t, 256> text{};
    if (!mciGetErrorStringW(error, text.data(), static_cast<UINT>(text.size())) || text[0] == 0)
        return QStringLiteral("エラー番号 %1").arg(error);
    return QString::fromWCharArray(text.data());
}

// The interface may read the name through the system's ANSI code page, which holds Japanese only on
// Japanese Windows: the short (8.3) name, where the disk has one, is plain ASCII.
std::wstring interfacePath(const std::wstring& path) {
    std::array<wchar_t, 32768> shortPath{};
    const DWORD length =
        GetShortPathNameW(path.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
    return length > 0 && length < shortPath.size() ? std::wstring(shortPath.data(), length) : path;
}

// Why no sound can go out at all, in words for the family; empty when the wave output opens. The
// interface itself cannot say: when it cannot open the output it answers MCIERR_DEVICE_OPEN, whose
// description is about an alias in use ("The device name is already being used as an alias..."), which
// is not the cause. So the output is asked directly, as the interface would open it.
QString outputTrouble() {
    if (waveOutGetNumDevs() == 0)
        return QStringLiteral("このパソコンには音を出す装置がありません");
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 1;
    format.nSamplesPerSec = 22050;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 2;
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    HWAVEOUT output = nullptr;
    const MMRESULT result = waveOutOpen(&output, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL);
    if (result == MMSYSERR_NOERROR) {
        waveOutClose(output);
        return {};
    }
    std::array<wchar_t, MAXERRORLENGTH> text{};
    waveOutGetErrorTextW(result, text.data(), static_cast<UINT>(text.size()));
    return QStringLiteral("音を出す装置を使えません: %1").arg(QString::fromWCharArray(text.data()));
}

// The interface's failure, or, where no sound can go out at all, that.
QString failureCause(MCIERROR error) {
    const QString output = outputTrouble();
    return output.isEmpty() ? describe(error) : output;
}

} // namespace

SoundDevice::Outcome WinmmSoundDevice::play(const QString& path) {
    // The interface would read a pipe or a device to its end: such a name is refused before it is opened.
    const QFileInfo info(path);
    if (!info.isFile())
        return {false, QStringLiteral("音声ファイル %1 がありません（ふつうのファイルではありません）")
                           .arg(shownPath(path))};
    if (info.size() > kLargestSoundFile)
        return {false, QStringLiteral("音声ファイル %1 が大きすぎます").arg(shownPath(path))};

    const std::wstring alias(kAlias);
    // A sound left open by a play that was cut short must not block this one.
    send(L"close " + alias);
    const std::wstring file = interfacePath(QDir::toNativeSeparators(info.absoluteFilePath()).toStdWString());
    if (const MCIERROR error = send(L"open \"" + file + L"\" type waveaudio alias " + alias))
        return {
            false,
            QStringLiteral("音声ファイル %1 を開けません（%2）").arg(shownPath(path), failureCause(error))};
    const MCIERROR error = send(L"play " + alias + L" wait");
    send(L"close " + alias);
    if (error)
        return {
            false,
            QStringLiteral("音声ファイル %1 を鳴らせません（%2）").arg(shownPath(path), failureCause(error))};
    return {true, {}};
}

std::unique_ptr<SoundDevice> createSystemSoundDevice() {
    return std::make_unique<WinmmSoundDevice>();
}

} // namespace warizan
