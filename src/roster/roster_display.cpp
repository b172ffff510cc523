#include "roster/roster_display.h"

#include "platform/shown_path.h"
#include "records/score_count.h"
#include "roster/grade.h"
#include "roster/roster_file.h"

#include <QCoreApplication>

namespace warizan {

namespace {

// Where to look: the roster, and the line of the entry at fault.
QString placeText(const QString& path, const RosterFileError& error) {
    return error.line > 0 ? QStringLiteral("%1（%2 行目）").arg(shownPath(path)).arg(error.line)
                          : shownPath(path);
}

} // namespace

QString rosterFailureText(const QString& path, const RosterFileError& error, double listStage) {
    const QString what = error.whileReading ? QStringLiteral("名簿ファイル（%1）を読めません。")
                                            : QStringLiteral("名簿ファイル（%1）を開けません。");
    return what.arg(kRosterFileName) + u'\n' + QStringLiteral("名簿表示") + QString::number(listStage) +
           error.description + QString::number(error.number) + u'\n' + placeText(path, error);
}

QString emptyRosterText(const QString& path) {
    return QStringLiteral("名簿ファイル（%1）に、選べる人がひとりもいません。名簿が空になっていないか"
                          "確かめてください。\n%2")
        .arg(kRosterFileName, shownPath(path));
}

bool 名簿表示(AppContext& context, int displayMode, const QString& gradeFilter, PupilList* list,
              const RosterWaitHandler& onWait) {
    ProgramState& state = context.state;
    state.roster.gradeBaseYear = gradeBaseYear(context.clock.today(), state.config.schoolYearStartMonth);
    // The count handles its own failures (waiting for other copies that are writing, and ending the
    // program when the score file cannot be opened at all).
    if (!countScores(context))
        return false;
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::processEvents();

    int retryCount = 0;
    double listStage = kRosterStageOpen;
    std::vector<RosterEntry> entries;
    TextEncoding encoding = TextEncoding::ShiftJis;
    RosterFileError error;
    const QString path = rosterPath(state.config);
    while (!readRosterFile(path, &entries, &encoding, &error)) {
        listStage = error.whileReading ? kRosterStageRead : kRosterStageOpen;
        if (!error.lasting && onWait) {
            const QString reason = error.line > 0
                                       ? QStringLiteral("%1 行目: %2").arg(error.line).arg(error.description)
                                       : error.description;
            onWait({retryCount + 1, kRosterRetryWaitMs, path, reason});
        }
        if (!error.lasting)
            context.clock.waitLettingEventsRun(kRosterRetryWaitMs);
        if (error.lasting || ++retryCount >= kRosterFailuresBeforeEnd) {
            context.dialogs.showMessage(state.config.contentHeading,
                                        rosterFailureText(path, error, listStage), Dialogs::Icon::None);
            context.dialogs.endProgram(1);
            return false;
        }
    }
    state.roster.rosterEncoding = encoding;
    *list = buildPupilList(state, entries, displayMode, gradeFilter);
    return true;
}

} // namespace warizan
