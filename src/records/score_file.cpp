#include "records/score_file.h"

#include "platform/file_lock.h"
#include "platform/shown_path.h"
#include "records/pending_runs.h"
#include "records/score_record.h"
#include "records/score_tails.h"

#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>

namespace warizan {

namespace {

// Pupils from this number on are guests of the site and leave no record in the home score file.
constexpr int kFirstPupilWithoutHomeRecord = 4900;

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

// The whole records of an open file before `end`.
QByteArray recordsBefore(AppendTarget& target, qint64 end) {
    return target.file.seek(0) ? target.file.read(end) : QByteArray();
}

bool holdsScoreRecord(const QByteArray& records, const QByteArray& record) {
    for (qsizetype at = 0; at + kScoreRecordLength <= records.size(); at += kScoreRecordLength)
        if (std::memcmp(records.constData() + at, record.constData(), kScoreRecordLength) == 0)
            return true;
    return false;
}

// Whether the home file holds a kept run's home record: written by this program for the same run.
bool holdsHomeRecordOf(const QByteArray& records, const PendingRun& run) {
    const HomeScoreRecord wanted = decodeHomeScoreRecord(run.homeRecord.constData());
    const ScoreRecord score = decodeScoreRecord(run.scoreRecord.constData());
    for (qsizetype at = 0; at + kHomeScoreRecordLength <= records.size(); at += kHomeScoreRecordLength) {
        const HomeScoreRecord home = decodeHomeScoreRecord(records.constData() + at);
        if (home.folderText == wanted.folderText && isHomeRecordOf(home, score))
            return true;
    }
    return false;
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

bool hasHomeRecord(qint16 pupil) {
    return pupil < kFirstPupilWithoutHomeRecord;
}

// The records of a fresh run stamped `now`, and the files they belong to.
PendingRun stamp(const Configuration& config, const FreshRun& run, const QDateTime& now) {
    const QTime time = wholeSecond(now.time());
    PendingRun records;
    records.scoreFile = placeOfFile(scoreFilePath(config));
    records.scoreRecord =
        encodeScoreRecord(makeScoreRecord(config, now.date(), time, run.pupil, run.level, run.result));
    if (hasHomeRecord(run.pupil)) {
        records.homeFile = placeOfFile(homeScoreFilePath(config));
        records.homeRecord = encodeHomeScoreRecord(
            makeHomeScoreRecord(config, now.date(), time, run.pupil, run.level, run.result));
    }
    return records;
}

// The runs kept from failed appends to this folder's score files, in the order they were kept. A list
// that cannot be read is left for `check` to report: the append goes on without it.
std::vector<PendingRun> keptRunsFor(const Configuration& config) {
    std::vector<PendingRun> all;
    QString why;
    if (!readPendingRuns(config.pendingRunsFile, &all, &why))
        return {};
    return pendingRunsFor(all, placeOfFile(scoreFilePath(config)), placeOfFile(homeScoreFilePath(config)));
}

// One append, under the locks of both score files (the score file's first, as every writer takes them):
// the home record an append cut off between the two files left missing, then the runs kept from failed
// appends (each only when the file does not hold it yet, so a run is never written twice), then the fresh
// run, stamped now. All of it reaches the files or none of it does. On failure `fresh` is still stamped
// into `freshRecords`, so that it can be kept.
bool appendRuns(const Configuration& config, const Clock& clock, const std::vector<PendingRun>& kept,
                const std::optional<FreshRun>& fresh, PendingRun* freshRecords, AppendFailure* failure) {
    const auto stampFresh = [&] {
        if (fresh && freshRecords)
            *freshRecords = stamp(config, *fresh, clock.now());
    };
    AppendTarget scores{scoreFilePath(config), QStringLiteral("成績ファイル"), kScoreRecordLength};
    AppendTarget home{homeScoreFilePath(config), QStringLiteral("家庭用成績ファイル"),
                      kHomeScoreRecordLength};
    const bool withHome = (fresh && hasHomeRecord(fresh->pupil)) ||
                          std::any_of(kept.begin(), kept.end(),
                                      [](const PendingRun& run) { return !run.homeRecord.isEmpty(); });
    if (!prepare(scores, failure) || (withHome && !prepare(home, failure))) {
        stampFresh();
        return false;
    }
    const auto failWriting = [&](AppendTarget& target) {
        *failure = {target.name + QStringLiteral("に書き込めません。"), target.path,
                    writeFailure(target.path, target.writeError, target.recordLength)};
        undo(home);
        undo(scores);
        stampFresh();
        return false;
    };

    if (withHome) {
        QByteArray scoreTail, homeTail;
        bool allScores = false, allHome = false;
        if (readRecordTail(scores.file, kScoreRecordLength, kScoreTailRecords, &scoreTail, &allScores) &&
            readRecordTail(home.file, kHomeScoreRecordLength, kHomeTailRecords, &homeTail, &allHome)) {
            const HomeTailFinding tail = compareHomeTail(scoreTail, allScores, homeTail, allHome, config);
            if (tail.missing && !writeNext(home, encodeHomeScoreRecord(*tail.missing)))
                return failWriting(home);
        }
    }

    if (!kept.empty()) {
        const QByteArray scoreRecords = recordsBefore(scores, scores.at);
        for (const PendingRun& run : kept) {
            if (!holdsScoreRecord(scoreRecords, run.scoreRecord) && !writeNext(scores, run.scoreRecord))
                return failWriting(scores);
            if (run.homeRecord.isEmpty())
                continue;
            // Read again each time: it holds the home records this append has written so far.
            if (!holdsHomeRecordOf(recordsBefore(home, home.next), run) && !writeNext(home, run.homeRecord))
                return failWriting(home);
        }
    }

    if (fresh) {
        // Stamped only now that the locks are held, so the files stay in time order across writers; both
        // records carry the one stamp, which pairs them.
        const PendingRun records = stamp(config, *fresh, clock.now());
        if (freshRecords)
            *freshRecords = records;
        if (!writeNext(scores, records.scoreRecord))
            return failWriting(scores);
        if (!records.homeRecord.isEmpty() && !writeNext(home, records.homeRecord))
            return failWriting(home);
    }
    return true;
}

// Appends the kept runs and the fresh one; once they are on file the kept runs leave the list. Should the
// program end before that, the next append finds them on file and only removes them from the list.
bool appendWithKeptRuns(const Configuration& config, const Clock& clock, const std::optional<FreshRun>& fresh,
                        PendingRun* freshRecords, AppendFailure* failure) {
    const std::vector<PendingRun> kept = keptRunsFor(config);
    if (!fresh && kept.empty())
        return true;
    if (!appendRuns(config, clock, kept, fresh, freshRecords, failure))
        return false;
    QString why;
    if (!kept.empty())
        dropPendingRuns(config.pendingRunsFile, kept, &why);
    return true;
}

// Keeps a run the files could not take and tells the pupil so, in plain words; the reason follows for the
// family. When even that fails the run is lost: the program says so and ends, as for any file it cannot
// use (false).
bool keepAndTell(AppContext& context, const PendingRun& run, const AppendFailure& failure) {
    const QString detail =
        QStringLiteral("（おうちの方へ）%1\n%2\n%3").arg(failure.what, shownPath(failure.path), failure.why);
    QString why;
    if (!keepPendingRun(context.state.config.pendingRunsFile, run, &why))
        return endWith(context,
                       QStringLiteral("今回の成績は記録できませんでした。\n\n") + detail +
                           QStringLiteral("\n成績を取っておくこともできませんでした（%1）").arg(why));
    context.dialogs.showMessage(context.state.config.contentHeading,
                                QStringLiteral("今回の成績は、いまは記録できませんでした。\n"
                                               "成績はなくならないように取っておいて、次に記録します。\n\n") +
                                    detail,
                                Dialogs::Icon::Information);
    return true;
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
    AppendFailure failure;
    if (appendWithKeptRuns(context.state.config, context.clock, freshRunOf(context.state), nullptr, &failure))
        return true;
    return endWithFileError(context, failure.what, failure.path, failure.why);
}

bool appendPendingRuns(const Configuration& config, const Clock& clock, AppendFailure* failure) {
    AppendFailure ignored;
    return appendWithKeptRuns(config, clock, std::nullopt, nullptr, failure ? failure : &ignored);
}

bool recordDrillResult(AppContext& context, int level) {
    ProgramState& state = context.state;
    PupilFigures& figures = state.figures;
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
    PendingRun run;
    AppendFailure failure;
    if (!appendWithKeptRuns(state.config, context.clock, freshRunOf(state), &run, &failure) &&
        !keepAndTell(context, run, failure))
        return false;
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
