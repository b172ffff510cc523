#pragma once

#include "records/score_record.h"
#include "state/program_state.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace warizan {

// The lists of single runs read from the score file, each run in the list of its level, in file order.
enum class ScoreListKind {
    Today,    // today's runs among the last 1000 records
    Period,   // runs of the chosen period among the last 20000 records
    Personal, // the working pupil's runs of the period among the last 20000 records
};

inline constexpr int kTodayListRecords = 1000;
inline constexpr int kPeriodListRecords = 20000;
// Personal runs of level 1 faster than this feed the time chart.
inline constexpr qint32 kChartTimeLimit = 1800;

struct ScoreListChoice {
    ScoreListKind kind = ScoreListKind::Today;
    int displayMode = 1; // 1 times, 2 points: the period list's line layout
    int period = 5;      // 1 this week, 2 this and last week, 3 30 days, 4 a year, 5 ten years
    QString gradeFilter = QStringLiteral("全学年");
    QDate today;
};

struct ScoreLists {
    std::vector<QStringList> byLevel; // index = level, 1..levelCount (0 unused)
    qint64 recordsRead = 0;
    // The personal list's level-1 runs below kChartTimeLimit: their number, sum and largest time.
    int chartCount = 0;
    qint64 chartSum = 0;
    qint32 chartLargest = 0;
    QString error; // the file could not be read; the lists are then empty
};

// Days of the period window ending today: this week from Monday (the week before included for period 2;
// a Sunday closes the week), 30 days, a year, ten years.
int periodDays(int period, const QDate& today);

// Called while records are read: the records read so far scaled as the progress bar shows them, and the
// bar's maximum.
using ListProgress = std::function<void(int value, int maximum)>;

// The newest `limit` whole records of the score file at `path`, in file order. A missing file gives none;
// false with `error` (Japanese) when the file cannot be read.
bool readNewestScoreRecords(const QString& path, qint64 limit, std::vector<ScoreRecord>* records, QString* error);

// Reads the newest records of the score file (never the whole file) and builds the chosen list from them.
// A missing file gives empty lists. Records naming a pupil or level outside the tables, and runs on a level
// without a column, are passed over.
ScoreLists buildScoreLists(const ProgramState& state, const ScoreListChoice& choice,
                           const ListProgress& progress = {});

} // namespace warizan
