#include "lists/score_lists.h"

#include "lists/list_text.h"
#include "platform/shown_path.h"
#include "records/points.h"
#include "records/score_record.h"
#include "textdata/file_access.h"

#include <QFile>
#include <QHash>
#include <algorithm>
#include <cmath>
#include <optional>

namespace warizan {

namespace {

// Results from this on are shown as a run without a time.
constexpr qint32 kNoTimeShown = 90000;
// The progress bar is updated once per this many records.
constexpr int kProgressStep = 256;

const QString kNoTimeMark = QStringLiteral("　　× ");

QString name5(const QString& name) {
    return (name.trimmed() + QString(4, kFullWidthBlank)).left(5);
}

QString t5(qint32 result) {
    return lastChars(QStringLiteral("      ") + QString::number(result) + QStringLiteral("秒"), 5);
}

// The records a list may read: the newest `limit` whole records of the file.
bool readNewest(const QString& path, qint64 limit, QByteArray* bytes, qint64* total, QString* error) {
    QFile file;
    FileFailure failure;
    // Only a regular file is read: a pipe or device named like the score file must not hang the menu.
    if (!openDataFile(file, path, FileOpen::Read, &failure)) {
        if (failure.fault == FileFault::Missing)
            return true;
        *error = QStringLiteral("成績ファイル %1 を読めません: %2").arg(shownPath(path), failure.description);
        return false;
    }
    *total = file.size() / kScoreRecordLength;
    const qint64 first = std::max<qint64>(*total - limit, 0);
    if (!file.seek(first * kScoreRecordLength)) {
        *error =
            QStringLiteral("成績ファイル %1 を読めません（%2）").arg(shownPath(path), file.errorString());
        return false;
    }
    *bytes = file.read((*total - first) * kScoreRecordLength);
    return true;
}

} // namespace

bool readNewestScoreRecords(const QString& path, qint64 limit, std::vector<ScoreRecord>* records,
                            QString* error) {
    QByteArray bytes;
    qint64 total = 0;
    records->clear();
    if (!readNewest(path, limit, &bytes, &total, error))
        return false;
    records->reserve(static_cast<size_t>(bytes.size() / kScoreRecordLength));
    for (qsizetype at = 0; at + kScoreRecordLength <= bytes.size(); at += kScoreRecordLength)
        records->push_back(decodeScoreRecord(bytes.constData() + at));
    return true;
}

int periodDays(int period, const QDate& today) {
    const int weekday = today.dayOfWeek() % 7 + 1; // 1 Sunday .. 7 Saturday
    const bool sunday = weekday == 1;
    switch (period) {
    case 1:
        return sunday ? 7 : weekday - 1;
    case 2:
        return sunday ? 14 : weekday - 1 + 7;
    case 3:
        return 30;
    case 4:
        return 365;
    default:
        return 3650;
    }
}

ScoreLists buildScoreLists(const ProgramState& state, const ScoreListChoice& choice,
                           const ListProgress& progress) {
    const LevelTable& levels = state.levels;
    const RosterTables& roster = state.roster;
    const int columns = std::clamp<int>(levels.levelCount, 0, kMaxLevel);
    ScoreLists lists;
    lists.byLevel.resize(static_cast<size_t>(columns) + 1);

    const qint64 limit = choice.kind == ScoreListKind::Today ? kTodayListRecords : kPeriodListRecords;
    QByteArray bytes;
    qint64 total = 0;
    if (!readNewest(scoreFilePath(state.config), limit, &bytes, &total, &lists.error))
        return lists;
    const std::vector<ScoreRecord> records = decodeScoreRecords(bytes);
    lists.recordsRead = static_cast<qint64>(records.size());

    const double today = dateValue(choice.today);
    const double after = today - periodDays(choice.period, choice.today);
    const int maximum =
        static_cast<int>(std::lround(std::min<double>((static_cast<double>(total) + 1) * 1.1, 2e9)));
    const qint64 skipped = total - lists.recordsRead;
    const ListFilter filter(choice.gradeFilter);
    // A family's runs come from few pupils and fall on few days: each pupil's marks and name, and each
    // day's text, are made once per list.
    std::vector<std::optional<QString>> whoOf(kPupilSlots);
    QHash<qint64, QString> dayText;
    auto dateText = [&](double value) -> const QString& {
        // Values that are no day at all share one entry (and one empty text).
        const qint64 day = std::isfinite(value) && std::fabs(value) < 1e12 ? static_cast<qint64>(value) : -1;
        auto it = dayText.find(day);
        if (it == dayText.end()) {
            const QDate date = dateFromValue(value);
            it =
                dayText.insert(day, date.isValid() ? date.toString(QStringLiteral("yyyy/MM/dd")) : QString());
        }
        return *it;
    };

    for (size_t i = 0; i < records.size(); ++i) {
        if (progress && (i % kProgressStep == 0 || i + 1 == records.size()))
            progress(static_cast<int>(skipped + static_cast<qint64>(i) + 1), maximum);
        const ScoreRecord& r = records[i];
        // As in the count: no run of anybody's, on no level of a column, or with a time below 0.
        if (!isPupilNumber(r.pupil) || r.level < 1 || r.level > columns || r.result < 0)
            continue;
        QStringList& list = lists.byLevel[static_cast<size_t>(r.level)];
        const bool noTime = r.result >= kNoTimeShown;

        if (choice.kind == ScoreListKind::Personal) {
            if (r.pupil != state.pupil.currentPupil || !(r.date > after))
                continue;
            const QTime time = clockFromValue(r.clockTime);
            const QString timeText = time.isValid() ? time.toString(QStringLiteral("H:mm:ss")) : QString();
            list.append(lastChars(dateText(r.date), 10) + u' ' + lastChars(timeText, 10) +
                        (noTime ? kNoTimeMark : t5(r.result)));
            if (r.level == 1 && r.result < kChartTimeLimit) {
                ++lists.chartCount;
                lists.chartSum += r.result;
                lists.chartLargest = std::max(lists.chartLargest, r.result);
            }
            continue;
        }

        if (choice.kind == ScoreListKind::Today ? r.date != today : !(r.date > after))
            continue;
        std::optional<QString>& whoSlot = whoOf[static_cast<size_t>(r.pupil)];
        if (!whoSlot) {
            const int grade = listGradeNumber(roster.gradeBaseYear, roster.pupilBirthYear[r.pupil]);
            const QString mark = r.pupil == state.pupil.currentPupil ? kWorkingPupilMark : gradeMark(grade);
            // A run with no pupil has no name; a pupil the filter leaves out gets an empty entry.
            whoSlot = filter.passes(grade)
                          ? mark + name5(r.pupil == 0 ? QString() : roster.pupilName[r.pupil]) + mark
                          : QString();
        }
        if (whoSlot->isEmpty())
            continue;
        const QString& who = *whoSlot;
        // The points shown are the rule's base points, without the level's factor.
        const qint32 points = basePoints(levels.levelGoal[r.level], r.result);

        if (choice.kind == ScoreListKind::Today) {
            const QTime time = clockFromValue(r.clockTime);
            const QString clock = time.isValid() ? time.toString(QStringLiteral("H:mm:ss")) : QString();
            const QString hhmm = lastChars(QStringLiteral("00") + clock, 8).left(5);
            list.append(noTime ? kNoTimeMark + hhmm + who
                               : t5(r.result) + u' ' + hhmm + who + QString::number(points));
            continue;
        }

        const QDate date = dateFromValue(r.date);
        const QString d5 =
            lastChars(date.isValid() ? date.toString(QStringLiteral("yyyy/MM/dd")) : QString(), 5);
        if (choice.displayMode == 2) {
            if (noTime)
                list.append(kNoTimeMark + u' ' + d5 + who);
            else
                list.append(lastChars(QStringLiteral("      ") + QString::number(points), 5) + u' ' + d5 +
                            who + QString::number(r.result) + QStringLiteral("秒"));
        } else {
            list.append(noTime ? kNoTimeMark + d5 + who
                               : t5(r.result) + u' ' + d5 + who + QString::number(points));
        }
    }
    return lists;
}

} // namespace warizan
