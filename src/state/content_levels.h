#pragma once

#include "state/program_state.h"

namespace warizan {

// The division drill's four levels, in menu order.
inline constexpr int kContentLevelCount = 4;

// Fills the content's part of the level table: four levels with their names, all timed. Idempotent.
// The goals and point rules come from the time-count file read at start-up, not from here. The selection
// screen calls this when a pupil is confirmed and then shows the level menu.
void PrepareContent(LevelTable& levels);

} // namespace warizan
