#pragma once

#include "sound/system_sound_device.h"

#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>

namespace warizan {

// Plays WAV files through SDL's audio. The audio subsystem and the device are opened on the first play and
// kept until the object goes, so a cue pays for the opening once; between sounds the device is paused.
// Each file is converted to the device's format and queued whole; play() returns when the queue has drained,
// the device has had about two buffers' time to sound the tail, and at least the sound's length has passed.
// Every failure comes back as a description: a file that is missing or not a WAV, an audio system that
// cannot start, a device that cannot be opened (no sound card) or that goes away while playing.
class SdlSoundDevice final : public SoundDevice {
public:
    // What to ask the device for. Normally the driver may settle on its own rate, channel count and sample
    // format, and every file is converted to what it chose. With `exact` the device is opened at exactly this
    // rate and channel count in 16-bit signed native-endian samples (SDL converts behind it if the hardware
    // differs), so a file in that format reaches the driver byte for byte.
    struct Request {
        int frequency = 44100;
        int channels = 2;
        bool exact = false;
    };

    SdlSoundDevice();
    explicit SdlSoundDevice(const Request& request);
    ~SdlSoundDevice() override;
    SdlSoundDevice(const SdlSoundDevice&) = delete;
    SdlSoundDevice& operator=(const SdlSoundDevice&) = delete;

    Outcome play(const QString& path) override;

    // Called on the playing thread as soon as a sound's samples have been handed to the device, before play()
    // waits for them to be heard: lets a measurement see how soon a cue starts.
    void setQueuedObserver(std::function<void()> observer) { m_queuedObserver = std::move(observer); }

private:
    Outcome ensureOpen();
    void closeDevice();

    Request m_request;
    bool m_audioStarted = false;
    quint32 m_device = 0; // SDL_AudioDeviceID, 0 while closed
    int m_frequency = 0;  // the format the device was opened at
    int m_channels = 0;
    quint16 m_format = 0; // SDL_AudioFormat
    int m_bufferFrames = 0;
    std::function<void()> m_queuedObserver;
};

} // namespace warizan
