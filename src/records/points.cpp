#include "records/points.h"

#include "records/score_record.h"

#include <cmath>
#include <limits>

namespace warizan {

namespace {

qint32 saturatedFloor(double value) {
    if (std::isnan(value))
        return 0;
    const double floored = std::floor(value);
    if (floored >= static_cast<double>(std::numeric_limits<qint32>::max()))
        return std::numeric_limits<qint32>::max();
    if (floored <= static_cast<double>(std::numeric_limits<qint32>::min()))
        return std::numeric_limits<qint32>::min();
    return static_cast<qint32>(floored);
}

} // namespace

qint32 recordPoints(const LevelTable& levels, qint32 result, int level) {
    if (!isLevelNumber(level) || result >= kNoPointsResult)
        return 0;
    const qint32 goal = levels.levelGoal[level];
    // A level without a goal time has no curve to place a run on.
    if (goal == 0)
        return 0;
    const double g = goal;
    const double r = result;
    double base;
    if (r <= g) {
        const double ratio = (g - r) / g;
        base = std::floor(ratio * ratio * ratio * 50.0 + 5.0);
    } else if (r < 2.0 * g) {
        base = 4;
    } else if (r < 10.0 * g) {
        base = 1;
    } else {
        base = 0;
    }
    return saturatedFloor(base * static_cast<double>(levels.levelBonusFactor[level]));
}

} // namespace warizan
