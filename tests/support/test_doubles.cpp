#include "test_doubles.h"

#include <QCoreApplication>

namespace warizan {

ManualClock::ManualClock(QDateTime start)
    : m_now(std::move(start)) {}

void ManualClock::advanceMs(qint64 ms) {
    m_now = m_now.addMSecs(ms);
    m_monotonic += ms;
}

void ManualClock::waitLettingEventsRun(int ms) {
    ++m_waits;
    m_waited += ms;
    advanceMs(ms);
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::processEvents();
}

} // namespace warizan
