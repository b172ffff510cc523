#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace warizan {

// The system's date and time and the passing of time. Every screen and routine reads time through this,
// so tests can set and advance it.
class Clock {
public:
    virtual ~Clock() = default;
    // Local date and time of day now.
    virtual QDateTime now() const = 0;
    // A monotonic millisecond counter (for waits and elapsed times; never goes back).
    virtual qint64 monotonicMs() const = 0;
    // Waits at least `ms` milliseconds of the monotonic counter while pending window events keep running;
    // never spins the processor.
    virtual void waitLettingEventsRun(int ms) = 0;

    QDate today() const { return now().date(); }
    // Seconds since midnight, with the fraction of the current second.
    double secondsSinceMidnight() const { return now().time().msecsSinceStartOfDay() / 1000.0; }
    // 1 = Monday .. 7 = Sunday.
    int weekday() const { return today().dayOfWeek(); }
};

// The machine's clock.
class SystemClock final : public Clock {
public:
    QDateTime now() const override;
    qint64 monotonicMs() const override;
    void waitLettingEventsRun(int ms) override;
};

} // namespace warizan
