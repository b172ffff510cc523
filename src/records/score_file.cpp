#include "records/score_file.h"

#include "platform/file_lock.h"
#include "records/score_record.h"

#include <algorithm>
#include <array>
#include <memory>

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
    return endWith(context, QStringLiteral("%1\n%2\n%3").arg(what, path, why));
}

// Why a write to an open file failed, in words a family can read.
QString writeFailure(const QFile& file) {
    return file.error() == QFileDevice::ResizeError || file.error() == QFileDevice::WriteError
               ? QStringLiteral("書き込めませんでした（ディスクがいっぱいか、取り外されたかもしれません）")
               : QStringLiteral("書き込めませんでした");
}

// One of the files an append writes: open, locked, and where its record goes.
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
    qint64 at = 0;   // after the last whole record
    QByteArray tail; // a partial record found there, put back should the append be undone
};

// Opens and locks a file of an append; the program ends (and false is returned) when it cannot.
bool prepare(AppContext& context, AppendTarget& target) {
    FileFailure failure;
    if (!openDataFile(target.file, target.path, FileOpen::ReadWriteCreate, &failure, true))
        return endWithFileError(context, target.name + QStringLiteral("を開けません。"), target.path,
                                failure.description);
    target.lock = std::make_unique<FileLock>(target.file);
    if (!target.lock->lockExclusive() && !target.lock->locksUnavailable())
        return endWithFileError(context, target.name + QStringLiteral("をロックできません。"), target.path,
                                QStringLiteral("ほかのプログラムが使っているかもしれません"));
    const qint64 size = target.file.size();
    target.at = size / target.recordLength * target.recordLength;
    if (size > target.at && target.file.seek(target.at))
        target.tail = target.file.read(size - target.at);
    return true;
}

// Writes a record at the target's place; the record is stamped by `makeBytes` only now that the lock is
// held, so the file stays in time order across writers.
template <typename MakeBytes> bool writeAt(AppendTarget& target, MakeBytes makeBytes) {
    const QByteArray bytes = makeBytes();
    return target.file.seek(target.at) && target.file.write(bytes) == target.recordLength;
}

// Puts a file back as it was before a record was written to it.
void undo(AppendTarget& target) {
    if (target.file.resize(target.at) && !target.tail.isEmpty() && target.file.seek(target.at))
        target.file.write(target.tail);
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
    const ProgramState& state = context.state;
    const qint16 pupil = state.pupil.currentPupil;
    const qint16 level = state.pupil.currentLevel;
    const qint32 result = state.drill.finalTime;

    AppendTarget scores{scoreFilePath(state.config), QStringLiteral("成績ファイル"), kScoreRecordLength};
    AppendTarget home{homeScoreFilePath(state.config), QStringLiteral("家庭用成績ファイル"),
                      kHomeScoreRecordLength};
    const bool withHome = pupil < kFirstPupilWithoutHomeRecord;
    // Both files are taken before either is written: a run must not be on file in one of them only,
    // or a retry would record it twice. Every writer locks the score file first, so none waits for another.
    if (!prepare(context, scores) || (withHome && !prepare(context, home)))
        return false;

    if (!writeAt(scores, [&] {
            const QDateTime now = context.clock.now();
            return encodeScoreRecord(
                makeScoreRecord(state.config, now.date(), wholeSecond(now.time()), pupil, level, result));
        })) {
        undo(scores);
        return endWithFileError(context, QStringLiteral("成績ファイルに書き込めません。"), scores.path,
                                writeFailure(scores.file));
    }
    if (withHome && !writeAt(home, [&] {
            const QDateTime now = context.clock.now();
            return encodeHomeScoreRecord(
                makeHomeScoreRecord(state.config, now.date(), wholeSecond(now.time()), pupil, level, result));
        })) {
        undo(home);
        undo(scores);
        return endWithFileError(context, QStringLiteral("家庭用成績ファイルに書き込めません。"), home.path,
                                writeFailure(home.file));
    }
    return true;
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
    if (!writeScoreRecords(context))
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
