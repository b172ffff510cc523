#include "tool_support.h"

#include "records/score_count.h"
#include "state/content_levels.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace warizan::tool {

namespace {

int run(const CommandLine&, ToolContext& tool) {
    if (!countScores(tool.context))
        return 1;

    const PupilFigures& f = tool.state->figures;
    QJsonObject o;
    o[QStringLiteral("loadedRecordCount")] = f.loaded.loadedRecordCount;
    QJsonObject best;
    for (int level = 1; level <= kMaxLevel; ++level)
        if (f.levelBestResult[level] < kNoResult)
            best[QString::number(level)] = f.levelBestResult[level];
    o[QStringLiteral("levelBestResult")] = best;

    QJsonArray rows;
    for (int pupil = 1; pupil <= kMaxPupil; ++pupil) {
        for (int level = 1; level <= kMaxLevel; ++level) {
            const bool any = f.todayCount.at(level, pupil) != 0 || f.todayPoints.at(level, pupil) != 0 ||
                             f.totalCount.at(level, pupil) != 0 || f.totalPoints.at(level, pupil) != 0 ||
                             f.recentCount.at(level, pupil) != 0 || f.recentPoints.at(level, pupil) != 0 ||
                             f.quotaCount.at(level, pupil) != 0 || f.quotaPoints.at(level, pupil) != 0 ||
                             f.bestResult.at(level, pupil) < kNoResult;
            if (!any)
                continue;
            QJsonObject row;
            row[QStringLiteral("pupil")] = pupil;
            row[QStringLiteral("level")] = level;
            row[QStringLiteral("todayCount")] = double(f.todayCount.at(level, pupil));
            row[QStringLiteral("todayPoints")] = f.todayPoints.at(level, pupil);
            row[QStringLiteral("totalCount")] = f.totalCount.at(level, pupil);
            row[QStringLiteral("totalPoints")] = f.totalPoints.at(level, pupil);
            row[QStringLiteral("recentCount")] = f.recentCount.at(level, pupil);
            row[QStringLiteral("recentPoints")] = f.recentPoints.at(level, pupil);
            row[QStringLiteral("quotaCount")] = f.quotaCount.at(level, pupil);
            row[QStringLiteral("quotaPoints")] = f.quotaPoints.at(level, pupil);
            row[QStringLiteral("bestResult")] = f.bestResult.at(level, pupil);
            rows.append(row);
        }
    }
    o[QStringLiteral("figures")] = rows;
    out() << QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Indented));
    return 0;
}

} // namespace

const Command& figuresCommand() {
    static const Command command{
        .name = QStringLiteral("figures"),
        .summary = QStringLiteral("成績を数え、全員の回数・ポイント・最高記録を JSON で表示します"),
        .details = QStringLiteral(
            "プログラムと同じように数えます。成績ファイルがまだなければ空のファイルを作ります。"),
        .options = {programFolderOption(), todayOption()},
        .run = run};
    return command;
}

} // namespace warizan::tool
