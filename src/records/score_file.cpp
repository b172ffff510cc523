#include "records/score_file.h"

#include "platform/file_lock.h"
#include "platform/shown_path.h"
#include "records/pending_runs.h"
#include "records/score_record.h"
#include "records/score_tails.h"

#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>

namespace warizan {

namespace {

// Attempts at opening the score file before the loader gives up, and the waits between them.
constexpr int kOpenAttempts = 4;
constexpr int kOpenRetryMs = 5000;
// Wait between looks at a score file another copy of the program is appending to.
constexpr int kLockedRetryMs = 1000;

// The clock field keeps whole seconds, the resolution the suite's lists show and compare.
QTime wholeSecond(const QTime& time) {
    return QTime(time.hour(), time.minute(), time.second());
}

bool endWith(AppContext& context, const QString& text) {
    context.dialogs.showMessage(context.state.config.contentHeading, text, Dialogs::Icon::Critical);
    context.dialogs.endProgram(1);
    return false;
}

// "What went wrong", the file, and why, each on its own line.
bool endWithFileError(AppContext& context, const QString& what, const QString& path, const QString& why) {
    return endWith(context, QStringLiteral("%1\n%2\n%3").arg(what, shownPath(path), why));
}

// Why a write to a score file failed, in words a family can read. `error` is the system's error number
// taken right after the write; a disk with no room for one more record is full whatever it said.
QString writeFailure(const QString& path, int error, int recordLength) {
    const QStorageInfo storage(QFileInfo(path).absolutePath());
    if (error == ENOSPC || (storage.isValid() && storage.bytesAvailable() < recordLength))
        return QStringLiteral("ディスクがいっぱいです");
    return QStringLiteral("書き込めませんでした（取り外されたか、こわれているかもしれません）");
}

// One of the files an append writes: open, locked, and where its records go.
struct AppendTarget {
    AppendTarget(QString path_, QString name_, int recordLength_)
        : path(std::move(path_))
        , name(std::move(name_))
        , recordLength(recordLength_) {}
    QString path;
    QString name; // for messages: "成績ファイル", "家庭用成績ファイル"
    int recordLength;
    QFile file;
    std::unique_ptr<FileLock> lock;
    qint64 at = 0;   // after the last whole record when the append began
    qint64 next = 0; // where the next record goes
    QByteArray tail; // a partial record found at `at`, put back should the append be undone
    int writeError = 0;
};

// Opens and locks a file of an append; false, with what went wrong, when it cannot.
bool prepare(AppendTarget& target, AppendFailure* failure) {
    FileFailure opening;
    if (!openDataFile(target.file, target.path, FileOpen::ReadWriteCreate, &opening, true)) {
        *failure = {target.name + QStringLiteral("を開けません。"), target.path, opening.description};
        return false;
    }
    target.lock = std::make_unique<FileLock>(target.file);
    if (!target.lock->lockExclusive() && !target.lock->locksUnavailable()) {
        *failure = {target.name + QStringLiteral("をロックできません。"), target.path,
                    QStringLiteral("ほかのプログラムが使っているかもしれません")};
        return false;
    }
    const qint64 size = target.file.size();
    target.at = size / target.recordLength * target.recordLength;
    target.next = target.at;
    if (size > target.at && target.file.seek(target.at))
        target.tail = target.file.read(size - target.at);
    return true;
}

// Writes one record after those already written by this append.
bool writeNext(AppendTarget& target, const QByteArray& record) {
    if (target.file.seek(target.next) && target.file.write(record) == record.size()) {
        target.next += record.size();
        return true;
    }
    target.writeError = errno;
    return false;
}

// Puts a file back as it was before the append wrote to it.
void undo(AppendTarget& target) {
    if (!target.file.isOpen() || target.next == target.at)
        return;
    if (target.file.resize(target.at) && !target.tail.isEmpty() && target.file.seek(target.at))
        target.file.write(target.tail);
}

// The whole records of an open file from byte `from` to `end`.
QByteArray recordsBetween(AppendTarget& target, qint64 from, qint64 end) {
    return from < end && target.file.seek(from) ? target.file.read(end - from) : QByteArray();
}

// Where the earliest of `runs` can be in a file that held `held` whole-record bytes when this append began:
// from what the file held when the run was kept, or from the start where that is not known (or the file has
// been replaced by a shorter one since).
qint64 earliestPlace(const std::vector<PendingRun>& runs, qint64 PendingRun::*from, qint64 held) {
    qint64 earliest = held;
    for (const PendingRun& run : runs)
        if (run.waitsForScoreFiles())
            earliest = std::min(earliest, run.*from > held ? 0 : run.*from);
    return earliest;
}

// The records a file holds, for the test whether a run is on file already.
QSet<QByteArray> recordSet(const QByteArray& records, int recordLength) {
    QSet<QByteArray> set;
    for (qsizetype at = 0; at + recordLength <= records.size(); at += recordLength)
        set.insert(records.mid(at, recordLength));
    return set;
}

// The run of the drill that just ended, before it is stamped.
struct FreshRun {
    qint16 pupil;
    qint16 level;
    qint32 result;
};

FreshRun freshRunOf(const ProgramState& state) {
    return {state.pupil.currentPupil, state.pupil.currentLevel, state.drill.finalTime};
}

// The bytes of whole records a file holds now: a run kept now is only ever written after them.
qint64 wholeRecordBytes(const QString& path, int recordLength) {
    const QFileInfo info(path);
    return info.isFile() ? info.size() / recordLength * recordLength : 0;
}

// The records of a fresh run stamped `now`, with an identity of its own, and the files they belong to.
PendingRun stamp(const Configuration& config, const FreshRun& run, const QDateTime& now) {
    const QTime time = wholeSecond(now.time());
    PendingRun records;
    records.id = newRunId();
    records.scoreFile = placeOfFile(scoreFilePath(config));
    records.scoreRecord =
        encodeScoreRecord(makeScoreRecord(config, now.date(), time, run.pupil, run.level, run.result));
    records.scoreFileFrom = wholeRecordBytes(scoreFilePath(config), kScoreRecordLength);
    if (hasHomeRecord(run.pupil)) {
        records.homeFile = placeOfFile(homeScoreFilePath(config));
        records.homeRecord = encodeHomeScoreRecord(
            makeHomeScoreRecord(config, now.date(), time, run.pupil, run.level, run.result));
        records.homeFileFrom = wholeRecordBytes(homeScoreFilePath(config), kHomeScoreRecordLength);
    }
    return records;
}

// Everything the list keeps, and of it the runs waiting for this folder's score files and those whose
// answers wait for `answerLog`, in the order they were kept. A list that cannot be read is left for
// `check` to report: the append goes on without it.
struct KeptForFolder {
    std::vector<PendingRun> forScores;
    std::vector<PendingRun> forLog;
    int unreadableLines = 0;
};

KeptForFolder keptFor(const Configuration& config, const QString& answerLog) {
    std::vector<PendingRun> all;
    QString why;
    KeptForFolder kept;
    if (!readPendingRuns(config.pendingRunsFile, &all, &why, &kept.unreadableLines))
        return {};
    kept.forScores =
        pendingRunsFor(all, placeOfFile(scoreFilePath(config)), placeOfFile(homeScoreFilePath(config)));
    if (!answerLog.isEmpty())
        for (const PendingRun& run : all)
            if (run.answerLog == answerLog)
                kept.forLog.push_back(run);
    return kept;
}

// Takes what reached the files off the list, in one rewrite that also moves unreadable lines aside; false
// when there was nothing to change.
bool settleKept(const Configuration& config, const KeptForFolder& kept, bool scoresLanded,
                const QStringList& logged) {
    const bool landed = (scoresLanded && !kept.forScores.empty()) || !logged.isEmpty();
    if (!landed && kept.unreadableLines == 0)
        return false;
    QString why;
    if (landed)
        settleLandedRuns(config.pendingRunsFile, kept.forScores, scoresLanded, logged, &why);
    else
        settlePendingRuns(
            config.pendingRunsFile, [](PendingRun&) {}, &why);
    return true;
}

// One append, under the locks of both score files (the score file's first, as every writer takes them):
// the home records that appends cut off between the two files left missing, then each of `runs` that a
// file does not hold yet (decided file by file and run by run, so a run is never written twice). All of
// it reaches the files or none of it does.
bool appendRuns(const Configuration& config, const std::vector<PendingRun>& runs, AppendFailure* failure) {
    AppendTarget scores{scoreFilePath(config), QStringLiteral("成績ファイル"), kScoreRecordLength};
    AppendTarget home{homeScoreFilePath(config), QStringLiteral("家庭用成績ファイル"),
                      kHomeScoreRecordLength};
    const bool withHome = std::any_of(runs.begin(), runs.end(), [](const PendingRun& run) {
        return run.waitsForScoreFiles() && !run.homeRecord.isEmpty();
    });
    if (!prepare(scores, failure) || (withHome && !prepare(home, failure)))
        return false;
    const auto failWriting = [&](AppendTarget& target) {
        *failure = {target.name + QStringLiteral("に書き込めません。"), target.path,
                    writeFailure(target.path, target.writeError, target.recordLength)};
        undo(home);
        undo(scores);
        return false;
    };

    if (withHome) {
        QByteArray scoreTail, homeTail;
        bool allScores = false, allHome = false;
        if (readRecordTail(scores.file, kScoreRecordLength, kScoreTailRecords, &scoreTail, &allScores) &&
            readRecordTail(home.file, kHomeScoreRecordLength, kHomeTailRecords, &homeTail, &allHome)) {
            const HomePairing pairing = pairHomeRecords(scoreTail, homeTail, config);
            for (const HomeScoreRecord& missing : homeRecordsToComplete(pairing, allScores, allHome, config))
                if (!writeNext(home, encodeHomeScoreRecord(missing)))
                    return failWriting(home);
        }
    }

    QSet<QByteArray> heldScores = recordSet(
        recordsBetween(scores, earliestPlace(runs, &PendingRun::scoreFileFrom, scores.at), scores.at),
        kScoreRecordLength);
    // Read after the completion above, which may have written a kept run's home record.
    QSet<QByteArray> heldHome;
    if (withHome)
        heldHome = recordSet(
            recordsBetween(home, earliestPlace(runs, &PendingRun::homeFileFrom, home.at), home.next),
            kHomeScoreRecordLength);
    for (const PendingRun& run : runs) {
        if (!run.waitsForScoreFiles())
            continue;
        if (!heldScores.contains(run.scoreRecord)) {
            if (!writeNext(scores, run.scoreRecord))
                return failWriting(scores);
            heldScores.insert(run.scoreRecord);
        }
        if (!run.homeRecord.isEmpty() && !heldHome.contains(run.homeRecord)) {
            if (!writeNext(home, run.homeRecord))
                return failWriting(home);
            heldHome.insert(run.homeRecord);
        }
    }
    return true;
}

void reach(const DrillEndProbe& probe, DrillEndStep step) {
    if (probe)
        probe(step);
}

// The kept runs and answers of this folder taken to the files, `fresh` (already kept) among them; what
// reached the files leaves the list in one rewrite. Every step is repeated at the next append or start for
// whatever did not get through, so a program stopped at any point loses nothing and doubles nothing.
struct Landing {
    bool scoresWritten = true;
    AppendFailure failure;
};

Landing landKept(const Configuration& config, const DrillAnswers& answers, const DrillEndProbe& probe,
                 const std::vector<PendingRun>& notKept = {}) {
    KeptForFolder kept = keptFor(config, answers.land ? answers.answerLog : QString());
    kept.forScores.insert(kept.forScores.end(), notKept.begin(), notKept.end());
    Landing landing;
    if (!kept.forScores.empty()) {
        landing.scoresWritten = appendRuns(config, kept.forScores, &landing.failure);
        if (landing.scoresWritten)
            reach(probe, DrillEndStep::ScoresWritten);
    }
    QStringList logged;
    if (answers.land) {
        for (const PendingRun& run : notKept)
            if (run.waitsForAnswerLog())
                kept.forLog.push_back(run);
        if (!kept.forLog.empty()) {
            logged = answers.land(answers.answerLog, kept.forLog, probe);
            reach(probe, DrillEndStep::LogWritten);
        }
    }
    if (settleKept(config, kept, landing.scoresWritten, logged))
        reach(probe, DrillEndStep::KeptCopyRemoved);
    return landing;
}

void fillRows(LevelPupilTable<qint32>& table, qint32 value) {
    for (int level = 1; level <= kMaxLevel; ++level)
        std::fill_n(table.levelRow(level) + 1, kMaxPupil, value);
}

// The description and number the suite's programs have always shown for a missing score file.
const QString kNotFoundDescription = QStringLiteral("ファイルが見つかりません");
constexpr int kFileNotFoundNumber = 53;

// Opens the score file for the count, for reading only: counting needs no write permission. A missing
// file is created empty, as the first count has always done; where the folder refuses that, the count
// goes on with no records (`empty`), since there are none to count.
bool openForCount(const QString& path, QFile& file, FileFailure* failure, bool* empty) {
    *empty = false;
    if (openDataFile(file, path, FileOpen::Read, failure))
        return true;
    if (failure->fault != FileFault::Missing)
        return false;
    FileFailure creating;
    if (!openDataFile(file, path, FileOpen::ReadWriteCreate, &creating)) {
        if (creating.fault == FileFault::Denied || creating.fault == FileFault::ReadOnlyPlace) {
            *empty = true;
            return true;
        }
        *failure = creating;
        return false;
    }
    file.close();
    return openDataFile(file, path, FileOpen::Read, failure);
}

// The message for a score file that could be opened but not read, with the slot being loaded and what
// it held, so that whoever looks into the file knows where to start.
QString readFailureText(const LoadedRecords& loaded, const QFile& file, int loadStage, int k) {
    const QString number = QString::number(static_cast<int>(file.error()));
    return QStringLiteral("成績ランダムファイル表示") + QString::number(loadStage) + number +
           file.errorString() + number + QStringLiteral("/date") + QString::number(loaded.recordDate[k]) +
           QStringLiteral("/i=") + QString::number(k) + QStringLiteral("/time=") +
           QString::number(loaded.recordClock[k]) + QStringLiteral("/name=") + QStringLiteral("/Bangou=") +
           QString::number(loaded.recordPupil[k]) + QStringLiteral("/level=") +
           QString::number(loaded.recordLevel[k]) + QStringLiteral("/time=") +
           QString::number(loaded.recordResult[k]) + QStringLiteral("line") + QString::number(loadStage);
}

} // namespace

bool openScoreFile(const Configuration& config, QFile& file, FileFailure* failure) {
    // Unbuffered: every record goes to the file in a single write while the lock is held.
    return openDataFile(file, scoreFilePath(config), FileOpen::ReadWriteCreate, failure, true);
}

bool writeScoreRecords(AppContext& context) {
    const Configuration& config = context.state.config;
    const KeptForFolder kept = keptFor(config, {});
    std::vector<PendingRun> runs = kept.forScores;
    runs.push_back(stamp(config, freshRunOf(context.state), context.clock.now()));
    AppendFailure failure;
    if (!appendRuns(config, runs, &failure))
        return endWithFileError(context, failure.what, failure.path, failure.why);
    settleKept(config, kept, true, {});
    return true;
}

bool appendPendingRuns(const Configuration& config, AppendFailure* failure, const DrillAnswers& answers,
                       const DrillEndProbe& probe) {
    const Landing landing = landKept(config, answers, probe);
    if (!landing.scoresWritten && failure)
        *failure = landing.failure;
    return landing.scoresWritten;
}

bool recordDrillResult(AppContext& context, int level, const DrillAnswers& answers,
                       const DrillEndProbe& probe) {
    ProgramState& state = context.state;
    PupilFigures& figures = state.figures;
    const Configuration& config = state.config;
    const int pupil = state.pupil.currentPupil;
    const qint32 finalTime = state.drill.finalTime;

    figures.alreadyCleared =
        figures.totalCount.at(level, pupil) >= state.levels.levelBonusRuns[level] &&
                figures.totalPoints.at(level, pupil) >= state.levels.levelBonusPoints[level]
            ? 1
            : 0;
    if (figures.bestResult.at(level, pupil) > finalTime) {
        figures.newPersonalBest = 1;
        figures.bestResult.at(level, pupil) = finalTime;
    }

    // The run and its answers are kept first, so that from here on nothing the pupil did can be lost.
    PendingRun run = stamp(config, freshRunOf(state), context.clock.now());
    if (answers.land && !answers.answers.isEmpty()) {
        run.answerLog = answers.answerLog;
        run.answers = answers.answers;
    }
    QString notKept;
    const bool kept = keepPendingRun(config.pendingRunsFile, run, &notKept);
    if (kept)
        reach(probe, DrillEndStep::RunKept);
    const Landing landing =
        landKept(config, answers, probe, kept ? std::vector<PendingRun>{} : std::vector{run});

    if (!landing.scoresWritten) {
        const AppendFailure& failure = landing.failure;
        const QString detail =
            QStringLiteral("（おうちの方へ）%1\n%2\n%3").arg(failure.what, shownPath(failure.path), failure.why);
        // The run is lost only when it could be neither written nor kept: the program says so and ends, as
        // for any file it cannot use.
        if (!kept)
            return endWith(context,
                           QStringLiteral("今回の成績は記録できませんでした。\n\n") + detail +
                               QStringLiteral("\n成績を取っておくこともできませんでした（%1）").arg(notKept));
        context.dialogs.showMessage(
            config.contentHeading,
            QStringLiteral("今回の成績は、いまは記録できませんでした。\n"
                           "成績はなくならないように取っておいて、次に記録します。\n\n") +
                detail,
            Dialogs::Icon::Information);
    }
    if (figures.levelBestResult[level] > finalTime) {
        figures.levelBestResult[level] = finalTime;
        figures.newLevelBest = 1;
    }
    return true;
}

bool loadScoreRecords(AppContext& context) {
    ProgramState& state = context.state;
    PupilFigures& figures = state.figures;
    LoadedRecords& loaded = figures.loaded;

    int loadStage = 3;
    int missingFileRetries = 0;
    const QString path = scoreFilePath(state.config);
    QFile file;
    FileFailure failure;
    bool empty = false;
    while (!openForCount(path, file, &failure, &empty)) {
        // Only a missing file may come back (a network folder reconnecting); anything else is told at once.
        if (failure.fault != FileFault::Missing)
            return endWithFileError(context, QStringLiteral("成績ファイルを読めません。"), path,
                                    failure.description);
        context.clock.waitLettingEventsRun(kOpenRetryMs);
        if (++missingFileRetries >= kOpenAttempts)
            return endWith(context, QStringLiteral("ファイルがありません") + QString::number(loadStage) +
                                        kNotFoundDescription + QString::number(kFileNotFoundNumber) + u'\n' +
                                        path);
    }

    fillRows(figures.bestResult, kNoResult);

    if (empty) {
        loaded.loadedRecordCount = 0;
        for (int level = 1; level <= kMaxLevel; ++level)
            figures.levelBestResult[level] = kNoResult;
        return true;
    }

    // A writer holds its lock only for the few steps of an append, so the wait is short but unbounded.
    loadStage = 4;
    FileLock lock(file);
    while (!lock.tryLockShared() && !lock.locksUnavailable())
        context.clock.waitLettingEventsRun(kLockedRetryMs);

    const qint64 recordCount = file.size() / kScoreRecordLength;
    const qint64 first = recordCount > kMaxLoadedRecords ? recordCount - kMaxLoadedRecords + 1 : 1;
    const qint64 wanted = (recordCount - first + 1) * kScoreRecordLength;
    // Not cleared first: every byte used is read from the file.
    const auto bytes = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(wanted));
    loadStage = 5;
    const qint64 got = file.seek((first - 1) * kScoreRecordLength) ? file.read(bytes.get(), wanted) : -1;
    if (got < 0)
        return endWith(context, readFailureText(loaded, file, loadStage, 1));
    lock.unlock();
    file.close();

    // The file may have been cut short since its length was taken: only whole records count.
    const qint64 readCount = got / kScoreRecordLength;
    // The level's best is the smallest best of pupils 1 to 5000, which starts at "none" and is only ever
    // lowered by their records; taking it from the records spares a pass over the whole table.
    std::array<qint32, kLevelSlots> levelBest;
    levelBest.fill(kNoResult);
    int k = 0;
    for (qint64 i = 0; i < readCount; ++i) {
        const ScoreRecord record = decodeScoreRecord(bytes.get() + i * kScoreRecordLength);
        // A record outside the tables cannot be anybody's run on any level, and no run takes less than no
        // time; such a record is left in the file and passed over.
        if (!isPupilNumber(record.pupil) || !isLevelNumber(record.level) || record.result < 0)
            continue;
        ++k;
        loaded.recordDate[k] = record.date;
        loaded.recordClock[k] = record.clockTime;
        loaded.recordPupil[k] = record.pupil;
        loaded.recordLevel[k] = record.level;
        loaded.recordResult[k] = record.result;
        qint32& best = figures.bestResult.at(record.level, record.pupil);
        best = std::min(best, record.result);
        if (record.pupil >= 1 && record.level >= 1)
            levelBest[record.level] = std::min(levelBest[record.level], record.result);
        // Dateless or ownerless records keep their best result but are not runs to count: the next
        // record takes their slot.
        if (record.date < 0 || record.pupil == 0 || record.level < 1)
            --k;
    }
    loaded.loadedRecordCount = static_cast<qint16>(k);

    for (int level = 1; level <= kMaxLevel; ++level)
        figures.levelBestResult[level] = levelBest[level];
    return true;
}

} // namespace warizan
