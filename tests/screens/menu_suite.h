#pragma once

#include "controls.h"
#include "records/score_file.h"
#include "roster/roster_display.h"
#include "screens/levelmenu/level_menu_screen.h"
#include "startup/configuration.h"
#include "state/content_levels.h"
#include "test_forms.h"

#include <QListWidget>
#include <QtTest>
#include <memory>

namespace warizan::test {

// The family in roster order 2, 1, 3, 4; school year 2024 (the test clock stands at 10 April 2024).
inline const QString kMenuFamily = QStringLiteral("2,2012,0,0,\"はなこ\",0,\"\",\"\"\n"
                                                  "1,2016,0,0,\"たろう\",0,\"\",\"\"\n"
                                                  "3,2010,0,0,\"じろうきちべえ\",0,\"\",\"\"\n"
                                                  "4,1980,0,0,\"先生\",0,\"\",\"\"\n");

// Their runs, oldest first: "yyyy-MM-dd HH:mm:ss pupil level result".
inline const QStringList kMenuFamilyRuns = {
    "2024-04-02 10:00:00 2 1 30", "2024-04-03 10:00:00 3 1 45",    "2024-04-08 08:00:00 2 2 99999",
    "2024-04-10 09:05:03 1 1 30", "2024-04-10 09:30:00 4 2 99998",
};

// Appends the runs with the program's own record writer, the test clock set to each run's time.
inline void writeRuns(AppContext& context, ManualClock& clock, const QStringList& runs) {
    const QDateTime now = clock.now();
    for (const QString& run : runs) {
        const QStringList f = run.split(u' ');
        clock.setNow(QDateTime(QDate::fromString(f[0], Qt::ISODate),
                               QTime::fromString(f[1], QStringLiteral("HH:mm:ss"))));
        context.state.pupil.currentPupil = static_cast<qint16>(f[2].toInt());
        context.state.pupil.currentLevel = static_cast<qint16>(f[3].toInt());
        context.state.drill.finalTime = f[4].toInt();
        QVERIFY(writeScoreRecords(context));
    }
    clock.setNow(now);
}

// The level menu as a pupil reaches it, on a suite folder with a family and its runs, through the form
// owner.
struct MenuSuite {
    // Confirms `pupil` of the suite's family as the selection screen does and shows the menu over it.
    LevelMenuScreen& showMenu(int pupil, const QStringList& records) {
        ProgramState& state = *forms.test.state;
        suite.writeRoster(kMenuFamily);
        ConfigurationError error;
        if (!StartUpConfiguration(state, suite.programFolder(), &error))
            qFatal("%s", qPrintable(error.message));
        // Kept PDFs go to a folder of the test's own, named with a ".." that messages must not show.
        state.config.keptDocumentsFolder = QDir::toNativeSeparators(suite.root() + "/drill/../書類/");
        writeRuns(forms.test.context, forms.test.clock, records);
        return confirmAndShow(pupil, 10 * 3600 - 150); // confirmed two and a half minutes ago
    }

    // The working pupil chosen from the pupil list of the configuration read, confirmed `startTimer`
    // seconds after midnight, and the menu shown from the selection screen.
    LevelMenuScreen& confirmAndShow(int pupil, qint32 startTimer) {
        ProgramState& state = *forms.test.state;
        PupilList list;
        if (!名簿表示(forms.test.context, 1, QStringLiteral("全学年"), &list))
            qFatal("no pupil list");
        state.pupil.currentPupil = static_cast<qint16>(pupil);
        state.pupil.currentPupilName = state.roster.pupilName[pupil];
        state.pupil.currentGradeLabel = state.roster.pupilGradeLabel[pupil];
        state.pupil.startTimer = startTimer;
        PrepareContent(state.levels);
        // The road into the menu: the selection screen is in front, the menu replaces it.
        if (!forms.window.show(FormId::namesel))
            qFatal("no selection screen");
        if (!forms.window.show(FormId::seisekitime1))
            qFatal("the menu did not load");
        return *forms.shown<LevelMenuScreen>(FormId::seisekitime1);
    }

    // The lines of the list under the column of `level`.
    static QStringList listLines(const LevelMenuScreen& menu, int level) {
        QStringList lines;
        const QListWidget* list = control<QListWidget>(menu, "List5", level);
        for (int row = 0; row < list->count(); ++row)
            lines << list->item(row)->text();
        return lines;
    }

    TestForms forms;
    TempSuite suite;
};

} // namespace warizan::test
