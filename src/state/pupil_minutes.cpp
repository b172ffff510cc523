#include "state/pupil_minutes.h"

namespace warizan {

qint32 minutesSinceStart(const Clock& clock, qint64 startMs, qint32 startSecondsOfDay) {
    if (startMs >= 0) {
        const qint64 ms = clock.monotonicMs() - startMs;
        return ms <= 0 ? 0 : static_cast<qint32>(ms / 60000);
    }
    constexpr double kSecondsPerDay = 24 * 60 * 60;
    double seconds = clock.secondsSinceMidnight() - startSecondsOfDay;
    if (seconds <= -1)
        seconds += kSecondsPerDay;
    return seconds <= 0 ? 0 : static_cast<qint32>(seconds) / 60;
}

} // namespace warizan
