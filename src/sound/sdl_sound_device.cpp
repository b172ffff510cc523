#include "sound/sdl_sound_device.h"

#include "platform/shown_path.h"

#include <QFile>
#include <QFileInfo>

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

namespace warizan {

namespace {

// Far above any cue (a minute of CD-quality stereo is about 10 MB).
constexpr qint64 kLargestSoundFile = 64 * 1024 * 1024;

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr int kBufferFrames = 1024;
// How often play() looks whether the device has taken the last samples: short against a buffer (23 ms at
// 44.1 kHz), long enough that the waiting thread stays idle.
constexpr milliseconds kPollStep{5};
// Grace on top of the sound's own length before a device that stops taking samples counts as failed, so a
// lost device can never hold the program forever.
constexpr milliseconds kStallGrace{2000};

QString sdlError() {
    const QString text = QString::fromUtf8(SDL_GetError());
    return text.isEmpty() ? QStringLiteral("詳しい原因は分かりません") : text;
}

int frameBytes(SDL_AudioFormat format, int channels) {
    return static_cast<int>(SDL_AUDIO_BITSIZE(format) / 8) * channels;
}

milliseconds framesToMs(qint64 frames, int frequency) {
    return milliseconds((frames * 1000 + frequency - 1) / frequency);
}

} // namespace

SdlSoundDevice::SdlSoundDevice()
    : SdlSoundDevice(Request{}) {}

SdlSoundDevice::SdlSoundDevice(const Request& request)
    : m_request(request) {}

SdlSoundDevice::~SdlSoundDevice() {
    closeDevice();
    if (m_audioStarted)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlSoundDevice::closeDevice() {
    if (m_device != 0)
        SDL_CloseAudioDevice(m_device);
    m_device = 0;
}

SoundDevice::Outcome SdlSoundDevice::ensureOpen() {
    if (m_device != 0)
        return {true, {}};
    if (!m_audioStarted) {
        // Starting SDL's audio also starts its event handling, which by default takes over SIGINT and SIGTERM
        // to post a quit event that nothing here reads: the program could no longer be stopped from outside.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        SDL_ClearError();
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            return {false, QStringLiteral("音声機能を使えません（%1）").arg(sdlError())};
        m_audioStarted = true;
    }

    SDL_AudioSpec wanted{};
    wanted.freq = m_request.frequency;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(m_request.channels);
    wanted.samples = kBufferFrames;
    SDL_AudioSpec obtained{};
    const int allowedChanges = m_request.exact
                                   ? 0
                                   : SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_FORMAT_CHANGE |
                                         SDL_AUDIO_ALLOW_CHANNELS_CHANGE;
    SDL_ClearError();
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, allowedChanges);
    if (device == 0)
        return {false, QStringLiteral("音声装置を開けません。音の出る装置がないか、使えない状態です（%1）")
                           .arg(sdlError())};
    m_device = device;
    m_frequency = obtained.freq;
    m_channels = obtained.channels;
    m_format = obtained.format;
    m_bufferFrames = obtained.samples > 0 ? obtained.samples : kBufferFrames;
    return {true, {}};
}

SoundDevice::Outcome SdlSoundDevice::play(const QString& path) {
    if (const Outcome ready = ensureOpen(); !ready.ok)
        return ready;

    // SDL reads whatever it is given to its end: a pipe or a device would block the program for ever.
    const QFileInfo info(path);
    if (!info.isFile())
        return {false, QStringLiteral("音声ファイル %1 がありません（ふつうのファイルではありません）")
                           .arg(shownPath(path))};
    if (info.size() > kLargestSoundFile)
        return {false, QStringLiteral("音声ファイル %1 が大きすぎます").arg(shownPath(path))};

    SDL_AudioSpec fileSpec{};
    Uint8* fileData = nullptr;
    Uint32 fileLength = 0;
    SDL_ClearError();
    if (SDL_LoadWAV(QFile::encodeName(path).constData(), &fileSpec, &fileData, &fileLength) == nullptr)
        return {false, QStringLiteral("音声ファイル %1 を読めません（%2）").arg(shownPath(path), sdlError())};
    const std::unique_ptr<Uint8, decltype(&SDL_FreeWAV)> fileOwner(fileData, &SDL_FreeWAV);
    // Conversion and the device work in whole frames: a torn last frame (a damaged file) is dropped.
    const int fileFrame = frameBytes(fileSpec.format, fileSpec.channels);
    fileLength -= fileFrame > 0 ? fileLength % static_cast<Uint32>(fileFrame) : 0;

    const Uint8* samples = fileData;
    Uint32 length = fileLength;
    std::vector<Uint8> converted;
    // Whole-buffer conversion: SDL 2.26's audio stream drops the last few hundred frames of a resampled
    // sound on flush, which would cut every cue's tail.
    SDL_AudioCVT cvt{};
    SDL_ClearError();
    int needed = SDL_BuildAudioCVT(&cvt, fileSpec.format, fileSpec.channels, fileSpec.freq, m_format,
                                   static_cast<Uint8>(m_channels), m_frequency);
    if (needed > 0) {
        converted.resize(static_cast<size_t>(fileLength) * static_cast<size_t>(std::max(cvt.len_mult, 1)));
        std::copy_n(fileData, fileLength, converted.begin());
        cvt.buf = converted.data();
        cvt.len = static_cast<int>(fileLength);
        if (SDL_ConvertAudio(&cvt) == 0) {
            converted.resize(static_cast<size_t>(cvt.len_cvt));
            samples = converted.data();
            length = static_cast<Uint32>(converted.size());
        } else {
            needed = -1;
        }
    }
    if (needed < 0)
        return {false,
                QStringLiteral("音声ファイル %1 を変換できません（%2）").arg(shownPath(path), sdlError())};

    SDL_ClearQueuedAudio(m_device);
    SDL_ClearError();
    if (SDL_QueueAudio(m_device, samples, length) != 0)
        return {false, QStringLiteral("音声装置に音を渡せません（%1）").arg(sdlError())};
    if (m_queuedObserver)
        m_queuedObserver();
    const Clock::time_point started = Clock::now();
    SDL_PauseAudioDevice(m_device, 0);

    const milliseconds soundLength = framesToMs(length / frameBytes(m_format, m_channels), m_frequency);
    const milliseconds buffer = framesToMs(m_bufferFrames, m_frequency);
    const Clock::time_point giveUp = started + soundLength + 4 * buffer + kStallGrace;
    while (SDL_GetQueuedAudioSize(m_device) > 0) {
        if (SDL_GetAudioDeviceStatus(m_device) == SDL_AUDIO_STOPPED) {
            // The device went away (unplugged, sound server gone): open afresh on the next sound.
            closeDevice();
            return {false, QStringLiteral("音声装置が使えなくなりました")};
        }
        if (Clock::now() > giveUp) {
            closeDevice();
            return {false, QStringLiteral("音声装置が音を受け取らなくなりました")};
        }
        std::this_thread::sleep_for(kPollStep);
    }
    // The last samples have only just left the queue for the device's buffers: give them time to be heard,
    // and never return before the sound could have been heard in full.
    std::this_thread::sleep_until(std::max(Clock::now() + 2 * buffer, started + soundLength + buffer));
    SDL_PauseAudioDevice(m_device, 1);
    return {true, {}};
}

std::unique_ptr<SoundDevice> createSystemSoundDevice() {
    return std::make_unique<SdlSoundDevice>();
}

} // namespace warizan
