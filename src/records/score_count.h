#pragma once

#include "state/app_context.h"

namespace warizan {

// Rebuilds every per-pupil figure and best result from the newest score records; returns false only when
// the program has been ended (a score file that cannot be opened), and the caller must then return at once.
[[nodiscard]] bool countScores(AppContext& context);

} // namespace warizan
