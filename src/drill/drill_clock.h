#pragma once

#include "platform/clock.h"

#include <QList>

namespace warizan {

// Whole seconds from `startMs` to `nowMs` of the clock's monotonic counter, rounded to the nearest second
// (halves to the even one). The counter never goes back, so a drill that runs across midnight or across a
// change of the system time still gets its true length.
qint32 elapsedWholeSeconds(qint64 startMs, qint64 nowMs);

// The thresholds, in seconds, of the status bar's countdown groups. A threshold the time never reaches
// (99999: no best result yet) leaves its group whole.
struct CountdownThresholds {
    qint32 best = 0;     // the best time of anybody on the level: boxes 10 to 19
    qint32 yourBest = 0; // the pupil's best time on the level: boxes 20 to 29
    qint32 goal = 0;     // the pass time: boxes 30 to 39
    qint32 goal2 = 0;    // the second time: one box of 30 to 39 a second during its last ten seconds
};
inline constexpr int kFirstCountdownBox = 10;
inline constexpr int kLastCountdownBox = 39;

// The boxes to hide at a tick `elapsed` seconds into the drill: each group empties from the left, one box
// a second, during the last ten seconds before its threshold. Boxes hidden at earlier ticks are not
// repeated once their threshold has passed; the caller keeps them hidden.
QList<int> countdownBoxesToHide(const CountdownThresholds& thresholds, qint32 elapsed);

// Length on a time bar `barWidth` long that stands for `limitSeconds` of the mark for `seconds`.
int timeBarLength(qint32 seconds, qint32 limitSeconds, int barWidth);

} // namespace warizan
