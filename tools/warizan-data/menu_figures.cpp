#include "menu_figures.h"

#include "lists/list_text.h"
#include "roster/pupil_list.h"
#include "roster/roster_display.h"
#include "state/content_levels.h"

namespace warizan::tool {

OptionSpec filterOption() {
    return {
        QStringLiteral("filter"), QStringLiteral("TEXT"),
        QStringLiteral("全学年、家族、小学生全体、中学生全体、小１〜小６、中１〜中３（省略すると 全学年）"),
        false, [](const QString&, const QString& value) {
            return isListFilter(value) ? QString()
                                       : QStringLiteral("--filter には %1、家族 のどれかを指定してください")
                                             .arg(gradeFilterNames().join(QStringLiteral("、")));
        }};
}

OptionSpec pupilOption(const QString& description, bool required) {
    return {QStringLiteral("pupil"), QStringLiteral("P"), description, required, wholeNumber(1, kMaxPupil)};
}

bool loadMenuFigures(const CommandLine& line, ToolContext& tool) {
    ProgramState& state = *tool.state;
    if (!recoverRoster(state.config))
        return false;
    PupilList list;
    if (!名簿表示(tool.context, 1, QStringLiteral("全学年"), &list, sayRosterWait))
        return false;
    PrepareContent(state.levels);
    const int pupil = line.number(QStringLiteral("pupil"));
    state.pupil.currentPupil = static_cast<qint16>(pupil);
    state.pupil.currentPupilName = state.roster.pupilName[pupil];
    return true;
}

} // namespace warizan::tool
