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

bool endWithFileError(AppContext& context, const QFile& file, const QString& what) {
    return endWith(context, QStringLiteral("%1\n%2\n%3").arg(what, file.fileName(), file.errorString()));
}

// Writes one record after the last whole record of an open file, under an exclusive lock on the whole
// file. The record is stamped only once the lock is held, so the file stays in time order across writers.
template <typename MakeBytes>
bool appendRecord(AppContext& context, QFile& file, int recordLength, MakeBytes makeBytes) {
    FileLock lock(file);
    if (!lock.lockExclusive() && !lock.locksUnavailable())
        return endWithFileError(context, file, QStringLiteral("成績ファイルをロックできません。"));
    const qint64 at = file.size() / recordLength * recordLength;
    const QByteArray bytes = makeBytes();
    if (!file.seek(at) || file.write(bytes) != recordLength)
        return endWithFileError(context, file, QStringLiteral("成績ファイルに書き込めません。"));
    lock.unlock();
    file.close();
    return true;
}

void fillRows(LevelPupilTable<qint32>& table, qint32 value) {
    for (int level = 1; level <= kMaxLevel; ++level)
        std::fill_n(table.levelRow(level) + 1, kMaxPupil, value);
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

bool openScoreFile(const Configuration& config, QFile& file) {
    file.setFileName(scoreFilePath(config));
    // Unbuffered: every record goes to the file in a single write while the lock is held.
    return file.open(QIODevice::ReadWrite | QIODevice::Unbuffered);
}

bool writeScoreRecords(AppContext& context) {
    const ProgramState& state = context.state;
    const qint16 pupil = state.pupil.currentPupil;
    const qint16 level = state.pupil.currentLevel;
    const qint32 result = state.drill.finalTime;

    QFile file;
    if (!openScoreFile(state.config, file))
        return endWithFileError(context, file, QStringLiteral("成績ファイルを開けません。"));
    const bool written = appendRecord(context, file, kScoreRecordLength, [&] {
        const QDateTime now = context.clock.now();
        return encodeScoreRecord(
            makeScoreRecord(state.config, now.date(), wholeSecond(now.time()), pupil, level, result));
    });
    if (!written)
        return false;

    if (pupil >= kFirstPupilWithoutHomeRecord)
        return true;
    QFile home(homeScoreFilePath(state.config));
    if (!home.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return endWithFileError(context, home, QStringLiteral("家庭用成績ファイルを開けません。"));
    return appendRecord(context, home, kHomeScoreRecordLength, [&] {
        const QDateTime now = context.clock.now();
        return encodeHomeScoreRecord(
            makeHomeScoreRecord(state.config, now.date(), wholeSecond(now.time()), pupil, level, result));
    });
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
    QFile file;
    while (!openScoreFile(state.config, file)) {
        context.clock.waitLettingEventsRun(kOpenRetryMs);
        if (++missingFileRetries >= kOpenAttempts)
            return endWith(context, QStringLiteral("ファイルがありません") + QString::number(loadStage) +
                                        file.errorString() + QString::number(static_cast<int>(file.error())));
    }

    fillRows(figures.bestResult, kNoResult);

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
        // A record outside the tables cannot be anybody's run on any level; it is left in the file.
        if (!isPupilNumber(record.pupil) || !isLevelNumber(record.level))
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
