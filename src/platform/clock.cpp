#include "platform/clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

namespace warizan {

QDateTime SystemClock::now() const {
    return QDateTime::currentDateTime();
}

qint64 SystemClock::monotonicMs() const {
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer.elapsed();
}

void SystemClock::waitLettingEventsRun(int ms) {
    if (QCoreApplication::instance() == nullptr) {
        QThread::msleep(static_cast<unsigned long>(ms));
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

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
