#pragma once

#include "lists/score_lists.h"
#include "records/score_record.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

namespace warizan {

// The personal report: for each chosen level one section with a chart of the pupil's times over the last
// ten years and a block of figures setting the pupil against everybody. Everything here is worked out from
// score records and ranking lines; drawing only places what these figures say.

// The report covers the runs of the last ten years, whatever period the lists show.
inline constexpr int kReportWindowDays = 3650;
// Sections on one page; a fourth level starts a new page.
inline constexpr int kReportSectionsPerPage = 3;
// The report's base type size on the screen, in points.
inline constexpr double kReportBaseFontPoints = 6;

// Top of the chart's time axis: the largest counted time rounded up to the next multiple of ten (ten more
// when it is one already), at most 1000 seconds; 10 when nothing is counted.
int reportScaleTop(qint32 largestCountedTime);

// One level's ranking as the level menu lists it: its lines and the pupil of each line.
struct RankingList {
    QStringList lines;
    std::vector<int> pupils;
};

// The pupil's places and points on one level, read from that level's rankings.
struct ReportRankingFigures {
    QString timePlace;        // the place the time ranking gives the pupil ("1"), empty when it gives none
    QString pointsPlace;      // likewise in the ranking by points so far
    qint32 pupilPoints = 0;   // points so far
    int pointsPupilCount = 0; // pupils listed with points above 0
    qint64 pointsSum = 0;     // their points
};

// Reads the pupil's places and points from the level's rankings of the whole family (`times`, and `points`
// by points so far), so that the pupil is found by number whether or not the grade filter lists him and
// whatever order the menu shows; the average points come from the lines the grade filter lists
// (`listedPoints`, by points so far).
ReportRankingFigures reportRankingFigures(const RankingList& times, const RankingList& points,
                                          const RankingList& listedPoints, int pupil);

// One plotted run of the pupil; x in units of half the output's width, y in units of a third of its height
// from the section's top.
struct ReportPoint {
    double x = 0;
    double y = 0;
    int run = 0;               // which of the pupil's counted runs on the level, from 1, in file order
    bool personalBest = false; // drawn red and joined to the bests before it; else blue
    bool beyondScale = false;  // slower than the chart's top: drawn on its top edge, marked as beyond it
    QString timeText;          // the result followed by "秒"
    QString dateText;          // yyyy/MM/dd
};

struct ReportSection {
    int level = 0;
    // The pupil's counted runs (below kChartTimeLimit) on the level in the window: count, sum and largest.
    int count = 0;
    qint64 sum = 0;
    qint32 largest = 0;
    int scaleTop = 10;
    // Everybody's counted runs on the level: count, sum; and everybody's best run (99999 when none).
    int allCount = 0;
    qint64 allSum = 0;
    qint32 allBest = kNoResult;
    std::vector<ReportPoint> points; // in file order
    std::vector<ReportPoint> bests;  // the personal bests, in file order
    QString newestDateText;          // date of the pupil's newest run in the window
    QStringList figureLines;         // the figures block; the last line sits half a row lower
};

// Works out one section for `pupil` on `level` from `records` (the newest records of the score file, in file
// order; records outside the tables or with a negative result are passed over).
ReportSection reportSection(const std::vector<ScoreRecord>& records, const QDate& today, int levelCount,
                            int level, int pupil, const ReportRankingFigures& ranking);

// Where each chosen level's section goes: page number from 0 and the section's slot on it (0 to 2).
struct ReportSlot {
    int level = 0;
    int page = 0;
    int slot = 0;
};
std::vector<ReportSlot> reportLayout(const std::vector<int>& chosenLevels, int levelCount);

// A whole report of one pupil: a section for each chosen level, placed three to a page.
struct ReportDocument {
    QString pupilName;
    std::vector<ReportSlot> placement;
    std::vector<ReportSection> sections; // one per slot
    std::vector<QString> titles;         // one per slot: the drill's title, a blank and the level's name
    QDate madeOn;                        // printed at the foot of every page
};

// What to report: whose, which levels, and the level menu's choices the rankings follow.
struct ReportRequest {
    int pupil = 0;
    std::vector<int> levels;
    QString gradeFilter = QStringLiteral("全学年"); // whose points the average points are taken over
    // Not read: the report's points figures always follow the ranking by points so far, whatever order the
    // menu shows. Kept only while the level menu still sets it.
    int pointsOrder = 1;
    QDate today;
};

// Works out the report from the newest records of the score file and the rankings of the figures last
// counted (the pupil list of the last build names who is ranked). The pupil's runs are charted and his places
// read whether or not the grade filter lists him. False with `error` (Japanese) when the score file cannot be
// read.
bool buildReport(const ProgramState& state, const ReportRequest& request, ReportDocument* report,
                 QString* error);

} // namespace warizan
