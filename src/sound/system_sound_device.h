#pragma once

#include "platform/sound_device.h"

#include <memory>

namespace warizan {

// The sound device the program plays its cues on: SDL's audio on Linux, the Windows multimedia interface
// on Windows.
std::unique_ptr<SoundDevice> createSystemSoundDevice();

} // namespace warizan
