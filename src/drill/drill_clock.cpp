#include "drill/drill_clock.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace warizan {

namespace {
constexpr int kBoxesPerGroup = 10;

// Hides the first 10 - k boxes of a group when 0 <= k < 10 (k: seconds left before the threshold).
void emptyFromLeft(QList<int>& boxes, int firstBox, qint32 k) {
    if (k < 0 || k >= kBoxesPerGroup)
        return;
    for (int box = firstBox; box <= firstBox + (kBoxesPerGroup - 1 - k); ++box)
        boxes.append(box);
}
} // namespace

qint32 elapsedWholeSeconds(qint64 startMs, qint64 nowMs) {
    if (nowMs <= startMs)
        return 0;
    // Halves go to the even second, as the drill clock has always rounded.
    const double seconds = std::nearbyint(static_cast<double>(nowMs - startMs) / 1000.0);
    return seconds > static_cast<double>(std::numeric_limits<qint32>::max())
               ? std::numeric_limits<qint32>::max()
               : static_cast<qint32>(seconds);
}

QList<int> countdownBoxesToHide(const CountdownThresholds& thresholds, qint32 elapsed) {
    QList<int> boxes;
    const auto secondsLeft = [elapsed](qint32 threshold) {
        return static_cast<qint32>(std::clamp<qint64>(static_cast<qint64>(threshold) - elapsed, -1, 1000));
    };
    emptyFromLeft(boxes, 10, secondsLeft(thresholds.best));
    emptyFromLeft(boxes, 20, secondsLeft(thresholds.yourBest));
    emptyFromLeft(boxes, 30, secondsLeft(thresholds.goal));
    const qint32 k = secondsLeft(thresholds.goal2);
    if (k >= 0 && k < kBoxesPerGroup)
        boxes.append(kLastCountdownBox - k);
    return boxes;
}

int timeBarLength(qint32 seconds, qint32 limitSeconds, int barWidth) {
    if (limitSeconds <= 0 || seconds >= limitSeconds)
        return barWidth;
    if (seconds <= 0)
        return 0;
    return static_cast<int>(static_cast<double>(seconds) * barWidth / limitSeconds);
}

} // namespace warizan
