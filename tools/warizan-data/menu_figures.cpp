#include "menu_figures.h"

#include "lists/list_text.h"
#include "roster/pupil_list.h"
#include "roster/roster_display.h"
#include "roster/roster_file.h"
#include "state/content_levels.h"

namespace warizan::tool {

OptionSpec filterOption() {
    return {
        QStringLiteral("filter"), QStringLiteral("TEXT"),
        QStringLiteral("全学年、家族、小学生全体、中学生全体、小１〜小６、中１〜中３（省略すると 全学年）")};
}

OptionSpec pupilOption(const QString& description) {
    return {QStringLiteral("pupil"), QStringLiteral("P"), description};
}

std::optional<int> prepareMenuFigures(const CommandLine& line, ToolContext& tool, QString* filter) {
    ProgramState& state = *tool.state;
    *filter =
        line.has(QStringLiteral("filter")) ? line.value(QStringLiteral("filter")) : QStringLiteral("全学年");
    if (!isListFilter(*filter)) {
        err() << QStringLiteral("--filter には %1、家族 のどれかを指定してください")
                     .arg(gradeFilterNames().join(QStringLiteral("、")))
              << Qt::endl;
        return 2;
    }
    int pupil = 0;
    if (line.has(QStringLiteral("pupil"))) {
        const auto value = intOption(line, QStringLiteral("pupil"), 1, kMaxPupil);
        if (!value)
            return 2;
        pupil = *value;
    }
    if (!applyDateOptions(line, tool.clock))
        return 2;
    if (!loadConfiguration(line, state))
        return 1;
    RosterFileError error;
    if (名簿ファイル処理(state.config, &error) == RosterRecovery::Failed) {
        err() << rosterFailureText(rosterPath(state.config), error, kRosterStageOpen) << Qt::endl;
        return 1;
    }
    PupilList list;
    if (!名簿表示(tool.context, 1, QStringLiteral("全学年"), &list, sayRosterWait))
        return 1;
    PrepareContent(state.levels);
    state.pupil.currentPupil = static_cast<qint16>(pupil);
    state.pupil.currentPupilName = state.roster.pupilName[pupil];
    return std::nullopt;
}

} // namespace warizan::tool
