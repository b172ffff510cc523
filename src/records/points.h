#pragma once

#include "state/program_state.h"

#include <limits>

namespace warizan {

// The points rule, the one place it is written: the count, the score lists, the result screen and the data
// tool's export all take their points from here.

// Points before the level's factor for a run of `result` seconds against the goal time `goal`: a cubic curve
// from 55 (0 seconds) down to 5 at the goal (the whole time sits on it), then 4 below twice the goal, 1 below
// ten times the goal, else 0. Unfinished runs (99998 and above) and a goal of 0 or less earn 0. A damaged
// result far below 0 saturates at the bounds of 32 bits instead of wrapping.
qint32 basePoints(qint32 goal, qint32 result);

// `base` times the level's factor, rounded down, saturating at the bounds of 32 bits. A factor that is no
// number (or infinite times no points) earns 0.
qint32 pointsAfterFactor(qint32 base, float factor);

// Points one run of `result` seconds earns on `level`: basePoints against the level's goal, after its
// factor. A level outside the table earns 0.
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
