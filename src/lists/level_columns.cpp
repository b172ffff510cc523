#include "lists/level_columns.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace warizan {

namespace {

// Level-indexed counts such as the days of a window are whole numbers written without a fraction.
QString numberText(double value) {
    return QString::number(value, 'g', 15);
}

// A single-precision value in its shortest decimal form (1.5, not 1.50 or 1.5000000).
QString shortestFloat(float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

constexpr qint32 kNoPointRule = 9999;
const QString kTeacher = QStringLiteral("先生");

} // namespace

LevelColumnTexts levelColumnTexts(const ProgramState& state, int level) {
    const LevelTable& levels = state.levels;
    const PupilFigures& figures = state.figures;
    const int pupil = state.pupil.currentPupil;
    LevelColumnTexts t;
    t.number = QString::number(level);
    t.name = levels.levelName[level];
    t.start = QStringLiteral("ｽﾀｰﾄ(&") + QString::number(level) + u')';
    const QString goal =
        QStringLiteral("目標=") + QString::number(levels.levelGoal[level]) + QStringLiteral("秒");
    if (levels.levelBonusPoints[level] == kNoPointRule)
        t.goal = QStringLiteral(" --------") + goal;
    else
        t.goal = goal + u' ' + QString::number(levels.levelBonusRuns[level]) + QStringLiteral("回/") +
                 QString::number(levels.levelBonusPoints[level]) + QStringLiteral("点(×") +
                 shortestFloat(levels.levelBonusFactor[level]) + u')';
    t.recent = QStringLiteral("最近") + numberText(levels.levelRecentDays[level]) + QStringLiteral("日=") +
               QString::number(figures.recentCount.at(level, pupil)) + QStringLiteral("回 / ") +
               QString::number(figures.recentPoints.at(level, pupil)) + QStringLiteral("点");
    const float todayCount = figures.todayCount.at(level, pupil);
    t.today = todayCount != 0
                  ? shortestFloat(todayCount) + QStringLiteral("回/") +
                        QString::number(figures.todayPoints.at(level, pupil)) + QStringLiteral("点")
                  : QStringLiteral("-----");
    const qint16 totalCount = figures.totalCount.at(level, pupil);
    t.soFar = totalCount != 0
                  ? QString::number(totalCount) + QStringLiteral("回/") +
                        QString::number(figures.totalPoints.at(level, pupil)) + QStringLiteral("点")
                  : QStringLiteral("------");
    return t;
}

QString todayTotalText(const ProgramState& state) {
    float sum = 0;
    for (int level = 1; level <= kMaxLevel; ++level)
        sum += state.figures.todayCount.at(level, state.pupil.currentPupil);
    const long runs = std::clamp<long>(std::lround(sum), -32768, 32767);
    return QStringLiteral("本日総回数＝") + QString::number(runs) + QStringLiteral("回");
}

QString elapsedText(qint32 minutes) {
    return QStringLiteral("起動後") + QString::number(minutes) + QStringLiteral("分");
}

Unlocking unlockingPass(const ProgramState& state) {
    const LevelTable& levels = state.levels;
    const PupilFigures& figures = state.figures;
    const int pupil = state.pupil.currentPupil;
    const int count = std::clamp<int>(levels.levelCount, 0, kMaxLevel);
    const int goal = std::clamp(levels.goalLevel, 0, kMaxLevel);
    Unlocking u;
    u.open.assign(static_cast<size_t>(count) + 1, false);
    u.markerShown.assign(static_cast<size_t>(count) + 1, true);
    u.quotaMet.assign(static_cast<size_t>(count) + 1, false);

    const bool goalShort = figures.recentPoints.at(goal, pupil) < levels.levelBonusPoints[goal] ||
                           figures.recentCount.at(goal, pupil) < levels.levelBonusRuns[goal];
    u.goalLevelCleared = goalShort ? 0 : 1;
    if (count >= 1)
        u.open[1] = true;
    const bool teacher = state.pupil.currentPupilName.trimmed() == kTeacher;
    for (int i = 1; i <= count; ++i) {
        const bool quotaMet =
            (levels.levelQuotaRuns[i] != 0 && figures.quotaCount.at(i, pupil) >= levels.levelQuotaRuns[i]) ||
            (levels.levelQuotaPoints[i] != 0 &&
             figures.quotaPoints.at(i, pupil) >= levels.levelQuotaPoints[i]);
        u.quotaMet[static_cast<size_t>(i)] = quotaMet;
        const bool passed = figures.recentPoints.at(i, pupil) >= levels.levelBonusPoints[i] &&
                            figures.recentCount.at(i, pupil) >= levels.levelBonusRuns[i];
        const bool nextHasNoRule = i < kMaxLevel && levels.levelBonusPoints[i + 1] == kNoPointRule;
        if (!(passed || nextHasNoRule || teacher) || i >= count)
            continue;
        u.open[static_cast<size_t>(i) + 1] = true;
        u.markerShown[static_cast<size_t>(i) + 1] = false;
        if (!(u.goalLevelCleared == 0 && quotaMet))
            u.markerShown[static_cast<size_t>(i)] = false;
    }
    return u;
}

QString markerText(const Unlocking& unlocking, int level) {
    const auto at = static_cast<size_t>(level);
    if (at >= unlocking.open.size() || !unlocking.open[at])
        return QStringLiteral("まだ");
    return unlocking.quotaMet[at] ? QStringLiteral("ノルマ達成") : QStringLiteral("ちょうせん中");
}

} // namespace warizan
