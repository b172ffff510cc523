#include "commands.h"
#include "tool_support.h"

#include "records/points.h"
#include "records/score_count.h"
#include "records/score_file.h"
#include "records/score_record.h"
#include "state/content_levels.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace warizan::tool {

namespace {

// A whole number option within [low, high]; prints what is wrong and returns nullopt otherwise.
std::optional<int> intOption(const Options& options, const QString& name, int low, int high) {
    bool ok = false;
    const int value = options.value(name).toInt(&ok);
    if (!options.has(name) || !ok || value < low || value > high) {
        err() << QStringLiteral("--%1 には %2 から %3 までの整数を指定してください")
                     .arg(name)
                     .arg(low)
                     .arg(high)
              << Qt::endl;
        return std::nullopt;
    }
    return value;
}

} // namespace

int figuresCommand(const QStringList& args) {
    const auto options = parseOrComplain(args, {kProgramFolderOption, QStringLiteral("today")});
    if (!options)
        return 2;
    ToolContext tool;
    if (!applyDateOptions(*options, tool.clock) || !loadConfiguration(*options, *tool.state))
        return 1;
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

int appendCommand(const QStringList& args) {
    const auto options =
        parseOrComplain(args, {kProgramFolderOption, QStringLiteral("pupil"), QStringLiteral("level"),
                               QStringLiteral("result"), QStringLiteral("today"), QStringLiteral("now")});
    if (!options)
        return 2;
    const auto pupil = intOption(*options, QStringLiteral("pupil"), 1, kMaxPupil);
    const auto level = intOption(*options, QStringLiteral("level"), 1, kMaxLevel);
    const auto result = intOption(*options, QStringLiteral("result"), 0, kNoResult);
    if (!pupil || !level || !result)
        return 2;
    ToolContext tool;
    if (!applyDateOptions(*options, tool.clock) || !loadConfiguration(*options, *tool.state))
        return 1;
    tool.state->pupil.currentPupil = static_cast<qint16>(*pupil);
    tool.state->pupil.currentLevel = static_cast<qint16>(*level);
    tool.state->drill.finalTime = *result;
    return writeScoreRecords(tool.context) ? 0 : 1;
}

} // namespace warizan::tool
