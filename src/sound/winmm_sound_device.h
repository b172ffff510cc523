#pragma once

#include "sound/system_sound_device.h"

#include <QString>

namespace warizan {

// Plays WAV files through the Windows multimedia command interface, as the suite's other programs do:
// each sound is opened, played with "wait" (play() returns when it has ended) and closed again. The path
// is quoted, so a sound folder with blanks in its name plays too, and given by its short name where it
// has one, so a Japanese folder name plays on a Windows of any language. Every failure comes back with the
// interface's own description: a file that is missing or not a WAV, no sound device.
class WinmmSoundDevice final : public SoundDevice {
public:
    Outcome play(const QString& path) override;
};

} // namespace warizan
