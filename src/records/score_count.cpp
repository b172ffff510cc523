#include "records/score_count.h"

#include "records/points.h"
#include "records/score_file.h"
#include "records/score_record.h"

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

namespace warizan {

namespace {

// Points depend on the level and the result only, and a family's runs keep to a few hundred distinct
// times, so each level's points for results 0 to kCachedResults - 1 are worked out once per count.
class PointsCache final {
public:
    explicit PointsCache(const LevelTable& levels)
        : m_levels(levels) {}
    qint32 points(qint32 result, int level) {
        if (result < 0 || result >= kCachedResults)
            return recordPoints(m_levels, result, level);
        std::vector<qint32>& row = m_rows[static_cast<std::size_t>(level)];
        if (row.empty())
            row.assign(kCachedResults, kUnknown);
        qint32& slot = row[static_cast<std::size_t>(result)];
        if (slot == kUnknown)
            slot = recordPoints(m_levels, result, level);
        return slot;
    }

private:
    static constexpr qint32 kCachedResults = 2048;
    // A level with an absurd negative factor may earn this too; it is then merely worked out each time.
    static constexpr qint32 kUnknown = std::numeric_limits<qint32>::min();
    const LevelTable& m_levels;
    std::array<std::vector<qint32>, kLevelSlots> m_rows;
};

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
    PointsCache cache(levels);
    for (int k = 1; k <= loaded.loadedRecordCount; ++k) {
        const int level = loaded.recordLevel[k];
        if (level < 1 || level > kMaxLevel)
            continue;
        const int pupil = loaded.recordPupil[k];
        const qint32 result = loaded.recordResult[k];
        const double date = loaded.recordDate[k];
        const bool counted = result < kCountedRunLimit;
        const qint32 points = cache.points(result, level);

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
