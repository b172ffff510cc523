#pragma once

#include "drill/question.h"
#include "records/score_count.h"
#include "screens/drill/drill_form.h"
#include "startup/configuration.h"
#include "state/content_levels.h"
#include "test_forms.h"

#include <QtTest>

namespace warizan::test {

// A family on a temporary suite, ready for a drill: the configuration read as at start-up, the content's
// levels, pupil 3 "たろう" working on `level`, the figures counted, and the window up. The level menu is
// another screen's business: here it is a plain page.
struct DrillSuite {
    explicit DrillSuite(int level, const QDateTime& start = QDateTime(QDate(2024, 4, 10), QTime(10, 0)),
                        const QString& levelTable = {}) {
        forms.test.clock.setNow(start);
        if (!levelTable.isEmpty())
            suite.writeLevelTable(levelTable);
        ConfigurationError error;
        if (!StartUpConfiguration(state(), suite.programFolder(), &error))
            qFatal("configuration: %s", qPrintable(error.message));
        PrepareContent(state().levels);
        state().pupil.currentPupil = 3;
        state().pupil.currentPupilName = QStringLiteral("たろう").leftJustified(20, u' ');
        state().pupil.currentLevel = static_cast<qint16>(level);
        state().pupil.startTimer = static_cast<qint32>(clock().secondsSinceMidnight()) - 5 * 60;
        state().pupil.startTimerMs = clock().monotonicMs() - 5 * 60'000;
        forms.window.setFactory(FormId::seisekitime1, [] {
            auto* menu = new DesignForm(0x008080);
            menu->setObjectName(QStringLiteral("seisekitime1"));
            return menu;
        });
        if (!countScores(forms.test.context))
            qFatal("count failed");
        forms.window.present();
        // A drill starts from the level menu, which is then the current page.
        if (!forms.window.show(FormId::seisekitime1))
            qFatal("no level menu");
    }

    ProgramState& state() { return *forms.test.state; }
    ManualClock& clock() { return forms.test.clock; }
    DrillForm* drill() const { return forms.shown<DrillForm>(FormId::MainFrm); }
    QWidget& window() { return forms.window; }

    // Moves the clock on and lets the drill clock tick.
    void tick(int ms = 1000) {
        clock().advanceMs(ms);
        drill()->sTimer1_Timer();
    }
    // Types an answer to the question on screen and presses Space to have it judged.
    void answer(bool right) {
        const Question q = drill()->question();
        typeText(window(), QString::number(right ? q.quotient : q.quotient + 1));
        if (levelHasRemainder(state().pupil.currentLevel)) {
            typeKey(window(), Qt::Key_Space);
            typeText(window(), QString::number(q.remainder));
        }
        typeKey(window(), Qt::Key_Space);
    }
    QString soundsPlayed() const {
        QStringList names;
        for (const QString& path : forms.test.sound.played)
            names.append(QFileInfo(path).completeBaseName());
        return names.join(u',');
    }

    TempSuite suite;
    TestForms forms;
};

} // namespace warizan::test
