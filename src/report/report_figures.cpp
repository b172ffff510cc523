#include "report/report_figures.h"

#include "lists/list_text.h"
#include "lists/rankings.h"
#include "lists/score_lists.h"
#include "state/tables.h"
#include "textdata/text_data.h"

#include <algorithm>

namespace warizan {

namespace {

// The last n characters of six blanks followed by the text: numbers right-aligned in their column.
QString rightOf(const QString& text, int n) {
    return lastChars(QStringLiteral("      ") + text, n);
}
QString rightOf(qint64 value, int n) {
    return rightOf(QString::number(value), n);
}

QString dateText(double value) {
    const QDate date = dateFromValue(value);
    return date.isValid() ? date.toString(QStringLiteral("yyyy/MM/dd")) : QString();
}

// The line of the pupil, or -1.
int lineOf(const RankingList& ranking, int pupil) {
    const auto it = std::find(ranking.pupils.begin(), ranking.pupils.end(), pupil);
    const auto line = static_cast<qsizetype>(it - ranking.pupils.begin());
    return it == ranking.pupils.end() || line >= ranking.lines.size() ? -1 : static_cast<int>(line);
}

// The place a ranking line starts with, without the mark that follows it; empty for a line without a place
// ("--", no result).
QString placeOf(const QString& line) {
    const QString place = line.left(2).trimmed();
    bool number = false;
    place.toInt(&number);
    return number ? place : QString();
}

// A place as the figures block shows it: "1位", or "--" where the ranking gives none.
QString placeText(const QString& place) {
    return place.isEmpty() ? rightOf(QStringLiteral("--"), 5) : rightOf(place, 5) + u'位';
}

// A time as the figures block shows it; "--" for the values that mean no time (failed, or none yet).
QString timeText(qint32 result) {
    return result >= kNoPointsResult ? rightOf(QStringLiteral("--"), 5) : rightOf(result, 5) + u'秒';
}

} // namespace

int reportScaleTop(qint32 largestCountedTime) {
    const qint64 top = 10 * (static_cast<qint64>(largestCountedTime) / 10 + 1);
    return static_cast<int>(std::min<qint64>(top, 1000));
}

ReportRankingFigures reportRankingFigures(const RankingList& times, const RankingList& points,
                                          const RankingList& listedPoints, int pupil) {
    ReportRankingFigures figures;
    for (const QString& line : listedPoints.lines) {
        const qint64 pointsSoFar = static_cast<qint64>(leadingNumber(line.right(5)));
        if (pointsSoFar > 0) {
            ++figures.pointsPupilCount;
            figures.pointsSum += pointsSoFar;
        }
    }
    if (const int line = lineOf(points, pupil); line >= 0) {
        figures.pointsPlace = placeOf(points.lines[line]);
        figures.pupilPoints = wholeNumber(leadingNumber(points.lines[line].right(5)));
    }
    if (const int line = lineOf(times, pupil); line >= 0)
        figures.timePlace = placeOf(times.lines[line]);
    return figures;
}

ReportSection reportSection(const std::vector<ScoreRecord>& records, const QDate& today, int levelCount,
                            int level, int pupil, const ReportRankingFigures& ranking) {
    ReportSection section;
    section.level = level;
    const double windowStart = dateValue(today) - kReportWindowDays;
    const auto inSection = [&](const ScoreRecord& r) {
        return r.date > windowStart && r.level == level && level <= levelCount && r.pupil >= 0 &&
               r.pupil < kPupilSlots && r.result >= 0;
    };

    // First pass: the pupil's counted runs set the chart's scale.
    for (const ScoreRecord& r : records) {
        if (!inSection(r) || r.pupil != pupil)
            continue;
        section.newestDateText = dateText(r.date);
        if (r.result < kChartTimeLimit) {
            ++section.count;
            section.sum += r.result;
            section.largest = std::max(section.largest, r.result);
        }
    }
    section.scaleTop = reportScaleTop(section.largest);

    // Second pass: everybody's figures, and the pupil's runs placed on the chart. A run lower on the chart
    // than every earlier best is a new personal best.
    double lowestBestY = -99999;
    int index = 0;
    for (const ScoreRecord& r : records) {
        if (!inSection(r))
            continue;
        if (r.result < kChartTimeLimit) {
            section.allSum += r.result;
            ++section.allCount;
        }
        section.allBest = std::min(section.allBest, r.result);
        if (r.pupil != pupil || r.result >= kChartTimeLimit)
            continue; // slower runs would fall outside the chart and do not move along it
        ++index;
        ReportPoint point;
        point.run = index;
        point.x = 0.7 * index / section.count + 0.2; // only counted runs get here, so count >= 1
        // Bests are judged on the unbounded height; a run slower than the capped scale is then drawn on the
        // chart's top edge rather than above it, in the section above.
        const double y = 0.8 - 0.7 * r.result / section.scaleTop;
        point.beyondScale = r.result > section.scaleTop;
        point.y = std::max(y, 0.1);
        point.timeText = QString::number(r.result) + u'秒';
        point.dateText = dateText(r.date);
        point.personalBest = y > lowestBestY;
        if (point.personalBest) {
            lowestBestY = y;
            section.bests.push_back(point);
        }
        section.points.push_back(point);
    }

    const QString lastBest = section.bests.empty() ? QString() : section.bests.back().timeText;
    QStringList& lines = section.figureLines;
    lines << QStringLiteral("回数　　　　　　　") + rightOf(section.count, 3) + u'回'
          << QStringLiteral("タイム  　　 　    本人 / 全体")
          << QStringLiteral("　　順位　　　　") + placeText(ranking.timePlace)
          << QStringLiteral("　　最高　　　　") + rightOf(lastBest, 6) + QStringLiteral(" /") +
                 timeText(section.allBest);
    if (section.count != 0)
        lines << QStringLiteral("　　平均　　　　") + rightOf(section.sum / section.count, 5) + u'秒' +
                     QStringLiteral(" /") +
                     rightOf(wholeNumber(static_cast<double>(section.allSum) / section.allCount), 5) + u'秒';
    lines << QStringLiteral("ポイント  　　　")
          << QStringLiteral("　　順位　　　　") + placeText(ranking.pointsPlace)
          << QStringLiteral("　　獲得ポイント") + rightOf(ranking.pupilPoints, 5) + u'点';
    if (ranking.pointsPupilCount != 0)
        lines << QStringLiteral("　　　　　　　　　　　　/") +
                     rightOf(wholeNumber(static_cast<double>(ranking.pointsSum) / ranking.pointsPupilCount),
                             5) +
                     u'点';
    lines << QStringLiteral("　　　　　　　　　　　　 (全平均)");
    return section;
}

std::vector<ReportSlot> reportLayout(const std::vector<int>& chosenLevels, int levelCount) {
    std::vector<ReportSlot> placement;
    int placed = 0;
    for (int level : chosenLevels) {
        if (level < 1 || level > levelCount)
            continue;
        placement.push_back({level, placed / kReportSectionsPerPage, placed % kReportSectionsPerPage});
        ++placed;
    }
    return placement;
}

bool buildReport(const ProgramState& state, const ReportRequest& request, ReportDocument* report,
                 QString* error) {
    std::vector<ScoreRecord> records;
    if (!readNewestScoreRecords(scoreFilePath(state.config), kMaxLoadedRecords, &records, error))
        return false;
    const int pupil = request.pupil;
    const int levelCount = state.levels.levelCount;
    report->pupilName = state.roster.pupilName[pupil].trimmed();
    report->madeOn = request.today;
    report->placement = reportLayout(request.levels, levelCount);
    report->sections.clear();
    report->titles.clear();
    const auto ranking = [&](int level, int mode, const QString& filter) {
        RankingChoice choice;
        choice.displayMode = mode;
        choice.pointsOrder = kByPointsSoFar;
        choice.gradeFilter = filter;
        RankingList list;
        list.lines = rankingLines(state, level, choice, &list.pupils);
        return list;
    };
    const QString everybody = QStringLiteral("全学年");
    for (const ReportSlot& slot : report->placement) {
        const ReportRankingFigures figures = reportRankingFigures(
            ranking(slot.level, kTimesMode, everybody), ranking(slot.level, kPointsMode, everybody),
            ranking(slot.level, kPointsMode, request.gradeFilter), pupil);
        report->sections.push_back(
            reportSection(records, request.today, levelCount, slot.level, pupil, figures));
        report->titles.push_back(state.config.contentHeading + u' ' + state.levels.levelName[slot.level]);
    }
    return true;
}

} // namespace warizan
