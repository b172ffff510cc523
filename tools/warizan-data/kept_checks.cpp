#include "checks.h"

#include "answers/answer_database.h"
#include "answers/kept_answers.h"
#include "records/pending_runs.h"
#include "records/score_record.h"
#include "records/score_tails.h"
#include "textdata/file_access.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace warizan::tool {

namespace {

// Records of one kind past this many are summed up in one line.
constexpr int kListedPerKind = 20;
// The home file is compared up to this many bytes from its end: far more than a family's suite writes.
constexpr qint64 kHomeCheckLimit = 64LL * 1024 * 1024;

// A run as a family finds it in the lists: day, time, pupil, level and result.
QString runText(double date, double clock, qint16 pupil, qint16 level, qint32 result) {
    const QDate day = dateFromValue(date);
    const QTime time = clockFromValue(clock);
    return QStringLiteral("%1 %2、番号 %3、レベル %4、%5 秒")
        .arg(day.isValid() ? day.toString(QStringLiteral("yyyy/MM/dd")) : QStringLiteral("?"),
             time.isValid() ? time.toString(QStringLiteral("H:mm:ss")) : QStringLiteral("?"))
        .arg(pupil)
        .arg(level)
        .arg(result);
}

// Lists the first few of one kind and sums up the rest.
void listSome(QStringList& problems, const QStringList& items, const QString& rest) {
    for (qsizetype i = 0; i < items.size() && i < kListedPerKind; ++i)
        problems << items[i];
    if (items.size() > kListedPerKind)
        problems << rest.arg(items.size() - kListedPerKind);
}

// The last whole records of a file, at most `limit` bytes of them; `all` tells whether that is all of it.
bool readNewest(const QString& path, int recordLength, qint64 limit, QByteArray* records, bool* all) {
    QFile file;
    FileFailure failure;
    if (!openDataFile(file, path, FileOpen::Read, &failure))
        return false;
    return readRecordTail(file, recordLength, static_cast<int>(limit / recordLength), records, all);
}

// The day and time a set-aside log's name carries ("…damaged-YYYYMMDD-HHMMSS").
QString setAsideWhen(const QString& path) {
    const QString stamp = QFileInfo(path).fileName().section(QStringLiteral(".damaged-"), 1).left(15);
    const QDateTime when = QDateTime::fromString(stamp, QStringLiteral("yyyyMMdd-HHmmss"));
    return when.isValid() ? when.toString(QStringLiteral("yyyy/MM/dd H:mm")) : QStringLiteral("日時不明");
}

// How many drills a set-aside log still holds, read from a copy so the file stays byte for byte as it was
// set aside; -1 when SQLite cannot read them.
qint64 drillsInCopyOf(const QString& path) {
    AnswerDatabase db;
    if (!db.open(path, AnswerDatabase::Access::ReadCopy, QDateTime::currentDateTime()) ||
        db.schemaVersion() < 1)
        return -1;
    return db.drillCount();
}

} // namespace

void checkPendingRuns(const Configuration& config, Findings& found) {
    const QString list = config.pendingRunsFile;
    std::vector<PendingRun> all;
    QString why;
    int unreadable = 0;
    if (!readPendingRuns(list, &all, &why, &unreadable)) {
        found.problems << QStringLiteral("%1: %2").arg(list, why);
        return;
    }
    const std::vector<PendingRun> mine =
        pendingRunsFor(all, placeOfFile(scoreFilePath(config)), placeOfFile(homeScoreFilePath(config)));
    if (!mine.empty())
        found.problems << QStringLiteral(
                              "記録を待っている練習が %1 回分あります（%2）。成績ファイルに書けるように"
                              "なると、次の記録かプログラムの起動のときに書き足されます")
                              .arg(mine.size())
                              .arg(list);
    const QString log = placeOfFile(answerLogPath(config.programDataFolder));
    const auto answersWaiting =
        std::count_if(all.begin(), all.end(), [&](const PendingRun& run) { return run.answerLog == log; });
    if (answersWaiting > 0)
        found.problems
            << QStringLiteral(
                   "解答記録に書くのを待っている練習の答えが %1 回分あります（%2）。解答記録に書ける"
                   "ようになると、次の練習の終わりかプログラムの起動のときに書き足されます")
                   .arg(answersWaiting)
                   .arg(list);
    if (unreadable > 0)
        found.problems << QStringLiteral("%1: 読めない行が %2 行あります（次に記録するときに %3 に移します）")
                              .arg(list)
                              .arg(unreadable)
                              .arg(unreadableRunsFile(list));
    QFile aside(unreadableRunsFile(list));
    if (aside.open(QIODevice::ReadOnly)) {
        int lines = 0;
        while (!aside.atEnd())
            lines += aside.readLine().trimmed().isEmpty() ? 0 : 1;
        if (lines > 0)
            found.problems << QStringLiteral("%1: 保存待ちの成績から読めなかった %2 行が移してあります"
                                             "（その練習は記録されていません）")
                                  .arg(aside.fileName())
                                  .arg(lines);
    }
}

void checkHomeRecords(const Configuration& config, Findings& found) {
    const QString scorePath = scoreFilePath(config);
    const QString homePath = homeScoreFilePath(config);
    QByteArray scores, home;
    bool allScores = false, allHome = false;
    // Files that cannot be read are reported with the score files; a missing home file is made by the next
    // append. The score file is compared over the records the count reads.
    if (!readNewest(scorePath, kScoreRecordLength, qint64(kMaxLoadedRecords) * kScoreRecordLength, &scores,
                    &allScores) ||
        !readNewest(homePath, kHomeScoreRecordLength, kHomeCheckLimit, &home, &allHome))
        return;
    const HomePairing pairing = pairHomeRecords(scores, home, config);
    if (pairing.runs.empty())
        return;
    const int last = pairing.lastInStep();
    const bool completed = !homeRecordsToComplete(pairing, allScores, allHome, config).empty();
    // Records older than what was read of the other file cannot be told apart from records it holds
    // further back.
    const double firstRun = pairing.runs.front().date + pairing.runs.front().clockTime;
    const double firstHome =
        pairing.ours.empty() ? 0 : pairing.ours.front().date + pairing.ours.front().clockTime;
    constexpr double kMinute = 60.0 / 86'400.0;

    QStringList missing, extra;
    for (std::size_t r = 0; r < pairing.runs.size(); ++r) {
        const ScoreRecord& run = pairing.runs[r];
        if (pairing.homeOfRun[r] >= 0 || (!allHome && run.date + run.clockTime < firstHome - kMinute))
            continue;
        const bool willBeAdded = completed && static_cast<int>(r) > last;
        missing << QStringLiteral("%1 に練習（%2）の記録がありません%3")
                       .arg(homePath, runText(run.date, run.clockTime, run.pupil, run.level, run.result),
                            willBeAdded ? QStringLiteral("（次に記録するときに書き足されます）")
                                        : QStringLiteral("（書き足されません）"));
    }
    for (std::size_t h = 0; h < pairing.ours.size(); ++h) {
        const HomeScoreRecord& record = pairing.ours[h];
        if (pairing.paired[h] || (!allScores && record.date + record.clockTime < firstRun - kMinute))
            continue;
        extra << QStringLiteral("%1 の記録（%2）に当たる練習が %3 にありません")
                     .arg(homePath,
                          runText(record.date, record.clockTime, record.pupil, record.level, record.result),
                          scorePath);
    }
    if (missing.isEmpty() && extra.isEmpty())
        return;
    found.problems << QStringLiteral("成績ファイルと家庭用成績ファイルがそろっていません"
                                     "（家庭用にない練習 %1 回、成績ファイルにない記録 %2 件）")
                          .arg(missing.size())
                          .arg(extra.size());
    listSome(found.problems, missing, QStringLiteral("家庭用成績ファイルにない練習はほかにも %1 回あります"));
    listSome(found.problems, extra, QStringLiteral("成績ファイルにない家庭用の記録はほかにも %1 件あります"));
}

void checkSetAsideLogs(const Configuration& config, Findings& found) {
    for (const QString& aside : setAsideLogs(answerLogPath(config.programDataFolder))) {
        const qint64 drills = drillsInCopyOf(aside);
        const QString holds = drills >= 0 ? QStringLiteral("練習 %1 回分の答えが読めます").arg(drills)
                                          : QStringLiteral("SQLite では読めません");
        found.problems << QStringLiteral("%1: %2 にこわれていたので別名にした解答記録です（%3）。"
                                         "この中の答えは苦手チェックに入っていません")
                              .arg(aside, setAsideWhen(aside), holds);
    }
}

} // namespace warizan::tool
