#include "records/points.h"

#include "records/score_record.h"

#include <cmath>
#include <limits>

namespace warizan {

namespace {

// Rounds down without a call into the maths library: the count applies the rule to every loaded record.
double floorOf(double value) {
    // NaN, infinities and values this large are already whole (or have no floor to take).
    constexpr double kAllWhole = 4503599627370496.0; // 2^52
    if (!(std::fabs(value) < kAllWhole))
        return value;
    const double truncated = static_cast<double>(static_cast<qint64>(value));
    return truncated > value ? truncated - 1 : truncated;
}

qint32 saturatedFloor(double value) {
    if (std::isnan(value))
        return 0;
    const double floored = floorOf(value);
    if (floored >= static_cast<double>(std::numeric_limits<qint32>::max()))
        return std::numeric_limits<qint32>::max();
    if (floored <= static_cast<double>(std::numeric_limits<qint32>::min()))
        return std::numeric_limits<qint32>::min();
    return static_cast<qint32>(floored);
}

} // namespace

qint32 basePoints(qint32 goal, qint32 result) {
    if (result >= kNoPointsResult || goal <= 0)
        return 0;
    const double g = goal;
    const double r = result;
    if (r <= g) {
        const double ratio = (g - r) / g;
        return saturatedFloor(ratio * ratio * ratio * 50.0 + 5.0);
    }
    if (r < 2.0 * g)
        return 4;
    if (r < 10.0 * g)
        return 1;
    return 0;
}

qint32 pointsAfterFactor(qint32 base, float factor) {
    return saturatedFloor(static_cast<double>(base) * static_cast<double>(factor));
}

qint32 recordPoints(const LevelTable& levels, qint32 result, int level) {
    if (!isLevelNumber(level))
        return 0;
    return pointsAfterFactor(basePoints(levels.levelGoal[level], result), levels.levelBonusFactor[level]);
}

} // namespace warizan
