#pragma once

#include "platform/clock.h"

namespace warizan {

// Whole minutes since the pupil was confirmed: from the monotonic counter when its reading at that moment
// was taken (`startMs` >= 0), else from the time of day, counting a start "later" than now as yesterday's.
// The start's time of day is rounded to the second, so it may lie up to half a second ahead of the clock
// just after the pupil was confirmed: a difference of less than a second below zero is no time at all,
// not a day less a second.
qint32 minutesSinceStart(const Clock& clock, qint64 startMs, qint32 startSecondsOfDay);

} // namespace warizan
