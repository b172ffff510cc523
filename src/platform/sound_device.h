#pragma once

#include <QString>

namespace warizan {

// Plays one WAV file to its end. play() blocks: it returns only when the sound has ended, or at once
// with a description of what failed (file missing or unreadable, no audio device).
class SoundDevice {
public:
    struct Outcome {
        bool ok = false;
        QString errorText;
    };
    virtual ~SoundDevice() = default;
    virtual Outcome play(const QString& path) = 0;
};

} // namespace warizan
