#pragma once

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/process_starter.h"
#include "platform/random_source.h"
#include "platform/sound_device.h"
#include "state/program_state.h"

namespace warizan {

// What every screen reaches: the program-wide state and the platform services. The entry owns the real
// services; tests build one from test doubles.
struct AppContext {
    ProgramState& state;
    Clock& clock;
    Dialogs& dialogs;
    SoundDevice& soundDevice;
    ProcessStarter& processStarter;
    RandomSource& random;
};

} // namespace warizan
