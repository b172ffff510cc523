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
int lineOf(const std::vector<int>& pupils, int pupil) {
    const auto it = std::find(pupils.begin(), pupils.end(), pupil);
    return it == pupils.end() ? -1 : static_cast<int>(it - pupils.begin());
}

} // namespace

int reportScaleTop(qint32 largestCountedTime) {
    const qint64 top = 10 * (static_cast<qint64>(largestCountedTime) / 10 + 1);
    return static_cast<int>(std::min<qint64>(top, 1000));
}

ReportRankingFigures reportRankingFigures(const QStringList& timeLines, const std::vector<int>& timePupils,
                                          const QStringList& pointsLines, const std::vector<int>& pointsPupils,
                                          int pupil) {
    ReportRankingFigures figures;
    for (const QString& line : pointsLines) {
        const qint64 points = static_cast<qint64>(leadingNumber(line.right(5)));
        if (points > 0) {
            ++figures.pointsPupilCount;
            figures.pointsSum += points;
        }
    }
    const int pointsLine = lineOf(pointsPupils, pupil);
    if (pointsLine >= 0 && pointsLine < pointsLines.size()) {
        figures.pointsPlace = pointsLines[pointsLine].left(3);
        figures.pupilPoints = wholeNumber(leadingNumber(pointsLines[pointsLine].right(5)));
    }
    const int timeLine = lineOf(timePupils, pupil);
    if (timeLine >= 0 && timeLine < timeLines.size())
        figures.timePlace = timeLines[timeLine].left(3);
    return figures;
}

ReportSection reportSection(const std::vector<ScoreRecord>& records, const QDate& today, int levelCount,
                            int level, int pupil, bool plotted, const ReportRankingFigures& ranking) {
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
        if (!plotted)
            continue;
        ReportPoint point;
        point.x = 0.7 * index / section.count + 0.2; // only counted runs get here, so count >= 1
        point.y = 0.8 - 0.7 * r.result / section.scaleTop;
        point.timeText = QString::number(r.result) + u'秒';
        point.dateText = dateText(r.date);
        point.personalBest = point.y > lowestBestY;
        if (point.personalBest) {
            lowestBestY = point.y;
            section.bests.push_back(point);
        }
        section.points.push_back(point);
    }

    const QString lastBest = section.bests.empty() ? QString() : section.bests.back().timeText;
    QStringList& lines = section.figureLines;
    lines << QStringLiteral("回数　　　　　　　") + rightOf(section.count, 3) + u'回'
          << QStringLiteral("タイム  　　 　    本人 / 全体")
          << QStringLiteral("　　順位　　　　") + rightOf(ranking.timePlace, 5) + u'位'
          << QStringLiteral("　　最高　　　　") + rightOf(lastBest, 6) + QStringLiteral(" /") +
                 rightOf(section.allBest, 5) + u'秒';
    if (section.count != 0)
        lines << QStringLiteral("　　平均　　　　") + rightOf(section.sum / section.count, 5) + u'秒' +
                     QStringLiteral(" /") +
                     rightOf(wholeNumber(static_cast<double>(section.allSum) / section.allCount), 5) + u'秒';
    lines << QStringLiteral("ポイント  　　　")
          << QStringLiteral("　　順位　　　　") + rightOf(ranking.pointsPlace, 5) + u'位'
          << QStringLiteral("　　獲得ポイント") + rightOf(ranking.pupilPoints, 5) + u'点';
    if (ranking.pointsPupilCount != 0)
        lines << QStringLiteral("　　　　　　　　　　　　/") +
                     rightOf(wholeNumber(static_cast<double>(ranking.pointsSum) / ranking.pointsPupilCount), 5) +
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

bool buildReport(const ProgramState& state, const ReportRequest& request, ReportDocument* report, QString* error) {
    std::vector<ScoreRecord> records;
    if (!readNewestScoreRecords(scoreFilePath(state.config), kMaxLoadedRecords, &records, error))
        return false;
    const int pupil = request.pupil;
    const int levelCount = state.levels.levelCount;
    const RosterTables& roster = state.roster;
    const bool plotted =
        passesListFilter(request.gradeFilter, listGradeNumber(roster.gradeBaseYear, roster.pupilBirthYear[pupil]));
    report->pupilName = roster.pupilName[pupil].trimmed();
    report->placement = reportLayout(request.levels, levelCount);
    report->sections.clear();
    report->titles.clear();
    for (const ReportSlot& slot : report->placement) {
        RankingChoice choice;
        choice.gradeFilter = request.gradeFilter;
        choice.displayMode = kPointsMode;
        choice.pointsOrder = request.pointsOrder;
        std::vector<int> pointsPupils;
        const QStringList pointsLines = rankingLines(state, slot.level, choice, &pointsPupils);
        choice.displayMode = kTimesMode;
        std::vector<int> timePupils;
        const QStringList timeLines = rankingLines(state, slot.level, choice, &timePupils);
        const ReportRankingFigures ranking =
            reportRankingFigures(timeLines, timePupils, pointsLines, pointsPupils, pupil);
        report->sections.push_back(
            reportSection(records, request.today, levelCount, slot.level, pupil, plotted, ranking));
        report->titles.push_back(state.config.contentHeading + u' ' + state.levels.levelName[slot.level]);
    }
    return true;
}

} // namespace warizan
