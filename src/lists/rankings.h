#pragma once

#include "state/program_state.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace warizan {

// Display modes of the level menu's lists.
inline constexpr int kTimesMode = 1;
inline constexpr int kPointsMode = 2;
// Points orders of the points mode.
inline constexpr int kByPointsSoFar = 1;
inline constexpr int kByPointsToday = 2;

struct RankingChoice {
    int displayMode = kPointsMode;
    int pointsOrder = kByPointsSoFar;
    QString gradeFilter = QStringLiteral("全学年");
};

// The ranking of the family on `level`, one line per listed pupil of the last pupil-list build, best first:
// by best time in times mode (a timed level), by points so far or today in points mode. Equal values share
// a place, judged on the neighbours in ranked order, so a pupil the grade filter hides still takes a place.
// The working pupil carries "●" in place of the grade mark. Points order "today" lists only pupils with
// points today. `pupilsOfLines`, when given, receives the pupil of each line.
QStringList rankingLines(const ProgramState& state, int level, const RankingChoice& choice,
                         std::vector<int>* pupilsOfLines = nullptr);

} // namespace warizan
