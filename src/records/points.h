#pragma once

#include "state/program_state.h"

#include <limits>

namespace warizan {

// Points one run of `result` seconds earns on `level`: a cubic curve from 55 (0 seconds) down to 5 at the
// level's goal time, then 4 below twice the goal, 1 below ten times the goal, else 0; times the level's
// factor, rounded down. Unfinished runs (99998 and above), a level without a goal time and a level outside
// the table earn 0. The value saturates at the bounds of 32 bits instead of wrapping.
qint32 recordPoints(const LevelTable& levels, qint32 result, int level);

// Adds points to a running total, saturating at the bounds of 32 bits, so that no file content can wrap
// a total into a misleading (or negative) figure.
inline qint32 addPoints(qint32 total, qint32 points) {
    const qint64 sum = static_cast<qint64>(total) + points;
    if (sum > std::numeric_limits<qint32>::max())
        return std::numeric_limits<qint32>::max();
    if (sum < std::numeric_limits<qint32>::min())
        return std::numeric_limits<qint32>::min();
    return static_cast<qint32>(sum);
}

} // namespace warizan
