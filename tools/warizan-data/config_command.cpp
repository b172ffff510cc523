#include "tool_support.h"

#include "sound/sound_table.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace warizan::tool {

namespace {

QJsonObject levelObject(const LevelTable& t, int level) {
    QJsonObject o;
    o[QStringLiteral("level")] = level;
    o[QStringLiteral("levelGoal")] = t.levelGoal[level];
    o[QStringLiteral("levelGoal2")] = t.levelGoal2[level];
    o[QStringLiteral("levelBonusPoints")] = t.levelBonusPoints[level];
    o[QStringLiteral("levelBonusRuns")] = t.levelBonusRuns[level];
    o[QStringLiteral("levelBonusFactor")] = double(t.levelBonusFactor[level]);
    o[QStringLiteral("levelQuotaRuns")] = t.levelQuotaRuns[level];
    o[QStringLiteral("levelQuotaPoints")] = t.levelQuotaPoints[level];
    o[QStringLiteral("levelRecentDays")] = t.levelRecentDays[level];
    o[QStringLiteral("levelQuotaDays")] = t.levelQuotaDays[level];
    return o;
}

int run(const CommandLine&, ToolContext& tool) {
    const ProgramState* state = tool.state.get();
    const Configuration& c = state->config;
    QJsonObject o;
    o[QStringLiteral("programFolder")] = c.programFolder;
    o[QStringLiteral("programFolderName")] = c.programFolderName;
    o[QStringLiteral("layoutMode")] = c.layoutMode;
    o[QStringLiteral("commonFolder")] = c.commonFolder;
    o[QStringLiteral("programDataFolder")] = c.programDataFolder;
    o[QStringLiteral("soundFolder")] = c.soundFolder;
    o[QStringLiteral("schoolYearStartMonth")] = c.schoolYearStartMonth;
    o[QStringLiteral("schoolCode")] = c.schoolCode;
    o[QStringLiteral("schoolName")] = c.schoolName;
    o[QStringLiteral("showInactivePupils")] = c.showInactivePupils;
    o[QStringLiteral("contentHeading")] = c.contentHeading;

    QJsonArray levels;
    for (int level = 0; level < state->levels.groupsLoaded; ++level)
        levels.append(levelObject(state->levels, level));
    o[QStringLiteral("levels")] = levels;

    QJsonObject sounds;
    for (int event = 1; event <= kSoundEvents; ++event) {
        const auto& column = state->sound.soundTable[event];
        if (column[kSoundCountRow].isEmpty())
            continue;
        QJsonArray names;
        for (int i = 1; i <= soundFileCount(state->sound, event); ++i)
            names.append(column[i]);
        sounds[column[0]] = names;
    }
    o[QStringLiteral("sounds")] = sounds;

    out() << QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Indented));
    return 0;
}

} // namespace

const Command& configCommand() {
    static const Command command{.name = QStringLiteral("config"),
                                 .summary =
                                     QStringLiteral("プログラムが起動するときの設定を JSON で表示します"),
                                 .options = {programFolderOption()},
                                 .run = run};
    return command;
}

} // namespace warizan::tool
