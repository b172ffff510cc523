#pragma once

#include "platform/clock.h"
#include "platform/dialogs.h"

#include <QString>
#include <functional>
#include <vector>

// Test doubles of the platform seams, for the tests and the benchmarks.
namespace warizan {

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

// Records what would have been shown and whether the program would have ended.
class RecordingDialogs final : public Dialogs {
public:
    struct Message {
        QString title;
        QString text; // with an offered file, its path on the last line
        Icon icon;
        QString offeredFile; // the file offerToOpen() offered, else empty
    };
    void showMessage(const QString& title, const QString& text, Icon icon) override {
        messages.push_back({title, text, icon, {}});
        if (onMessage)
            onMessage(messages.back());
    }
    // Answers `openOffered`.
    bool offerToOpen(const QString& title, const QString& text, const QString& path) override {
        messages.push_back({title, text + u'\n' + path, Icon::Information, path});
        if (onMessage)
            onMessage(messages.back());
        return openOffered;
    }
    bool openOffered = false;
    void endProgram(int exitCode) override {
        ended = true;
        endCode = exitCode;
    }

    std::vector<Message> messages;
    bool ended = false;
    int endCode = -1;
    std::function<void(const Message&)> onMessage;
};

} // namespace warizan
