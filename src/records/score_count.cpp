#include "records/score_count.h"

#include "records/points.h"
#include "records/score_file.h"
#include "records/score_record.h"

#include <algorithm>
#include <array>

namespace warizan {

namespace {

template <typename T> void clearRows(LevelPupilTable<T>& table) {
    for (int level = 1; level <= kMaxLevel; ++level)
        std::fill_n(table.levelRow(level) + 1, kMaxPupil, T{});
}

} // namespace

bool countScores(AppContext& context) {
    ProgramState& state = context.state;
    PupilFigures& figures = state.figures;
    const LevelTable& levels = state.levels;

    clearRows(figures.totalCount);
    clearRows(figures.totalPoints);
    clearRows(figures.recentCount);
    clearRows(figures.recentPoints);
    clearRows(figures.quotaCount);
    clearRows(figures.quotaPoints);
    clearRows(figures.todayCount);
    clearRows(figures.todayPoints);

    if (!loadScoreRecords(context))
        return false;

    // A window of N days holds the records dated after today - N: today and the N - 1 days before it.
    const double today = dateValue(context.clock.today());
    std::array<double, kLevelSlots> recentAfter{};
    std::array<double, kLevelSlots> quotaAfter{};
    for (int level = 1; level <= kMaxLevel; ++level) {
        recentAfter[level] = today - levels.levelRecentDays[level];
        quotaAfter[level] = today - levels.levelQuotaDays[level];
    }

    const LoadedRecords& loaded = figures.loaded;
    for (int k = 1; k <= loaded.loadedRecordCount; ++k) {
        const int level = loaded.recordLevel[k];
        if (level < 1 || level > kMaxLevel)
            continue;
        const int pupil = loaded.recordPupil[k];
        const qint32 result = loaded.recordResult[k];
        const double date = loaded.recordDate[k];
        const bool counted = result < kCountedRunLimit;
        const qint32 points = recordPoints(levels, result, level);

        figures.totalCount.at(level, pupil) += counted ? 1 : 0;
        qint32& total = figures.totalPoints.at(level, pupil);
        total = addPoints(total, points);
        if (date > recentAfter[level]) {
            figures.recentCount.at(level, pupil) += counted ? 1 : 0;
            qint32& recent = figures.recentPoints.at(level, pupil);
            recent = addPoints(recent, points);
        }
        if (date > quotaAfter[level]) {
            figures.quotaCount.at(level, pupil) += counted ? 1 : 0;
            qint32& quota = figures.quotaPoints.at(level, pupil);
            quota = addPoints(quota, points);
        }
        if (date == today) {
            figures.todayCount.at(level, pupil) += counted ? 1.0f : 0.0f;
            qint32& todayTotal = figures.todayPoints.at(level, pupil);
            todayTotal = addPoints(todayTotal, points);
        }
    }
    return true;
}

} // namespace warizan
