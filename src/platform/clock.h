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
    // Waits `ms` milliseconds while pending window events keep running; never spins the processor.
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

// A clock that stands still until a test sets or advances it. Waiting advances it at once and lets the
// pending events run, so retries and timeouts take no real time in tests.
class ManualClock final : public Clock {
public:
    explicit ManualClock(QDateTime start = QDateTime(QDate(2024, 4, 10), QTime(10, 0)));
    QDateTime now() const override { return m_now; }
    qint64 monotonicMs() const override { return m_monotonic; }
    void waitLettingEventsRun(int ms) override;

    void setNow(const QDateTime& now) { m_now = now; }
    void advanceMs(qint64 ms);
    int waitCount() const { return m_waits; }
    qint64 totalWaitedMs() const { return m_waited; }

private:
    QDateTime m_now;
    qint64 m_monotonic = 1'000'000;
    int m_waits = 0;
    qint64 m_waited = 0;
};

} // namespace warizan
