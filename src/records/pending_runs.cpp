#include "records/pending_runs.h"

#include "platform/disk_flush.h"
#include "platform/shown_path.h"
#include "records/score_record.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLockFile>
#include <QSaveFile>
#include <QSet>
#include <QStandardPaths>
#include <QUuid>
#include <optional>

namespace warizan {

namespace {

// How long a copy of the program waits for another to finish rewriting the list. A lock left by a copy
// that was killed is taken over once it is this old.
constexpr int kLockWaitMs = 10000;
constexpr int kStaleLockMs = 30000;

const QString kIdKey = QStringLiteral("id");
const QString kScoreFileKey = QStringLiteral("scoreFile");
const QString kHomeFileKey = QStringLiteral("homeFile");
const QString kScoreRecordKey = QStringLiteral("scoreRecord");
const QString kHomeRecordKey = QStringLiteral("homeRecord");
const QString kScoreFromKey = QStringLiteral("scoreFileFrom");
const QString kHomeFromKey = QStringLiteral("homeFileFrom");
const QString kAnswerLogKey = QStringLiteral("answerLog");
const QString kAnswersKey = QStringLiteral("answers");

// One run per line: a compact JSON object, the records in Base64.
QByteArray lineOf(const PendingRun& run) {
    QJsonObject object{{kIdKey, run.id},
                       {kScoreFileKey, run.scoreFile},
                       {kHomeFileKey, run.homeFile},
                       {kScoreRecordKey, QString::fromLatin1(run.scoreRecord.toBase64())},
                       {kHomeRecordKey, QString::fromLatin1(run.homeRecord.toBase64())}};
    if (run.scoreFileFrom > 0)
        object.insert(kScoreFromKey, run.scoreFileFrom);
    if (run.homeFileFrom > 0)
        object.insert(kHomeFromKey, run.homeFileFrom);
    if (run.waitsForAnswerLog()) {
        object.insert(kAnswerLogKey, run.answerLog);
        object.insert(kAnswersKey, run.answers);
    }
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<QByteArray> recordOf(const QJsonObject& object, const QString& key, int length) {
    const auto decoded = QByteArray::fromBase64Encoding(object.value(key).toString().toLatin1(),
                                                        QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || (decoded.decoded.size() != length && !decoded.decoded.isEmpty()))
        return std::nullopt;
    return decoded.decoded;
}

std::optional<qint64> offsetOf(const QJsonObject& object, const QString& key) {
    const QJsonValue value = object.value(key);
    if (value.isUndefined())
        return 0;
    const qint64 offset = value.toInteger(-1);
    if (offset < 0)
        return std::nullopt;
    return offset;
}

// Lines kept by earlier versions of the program carry no identity: theirs is made from what they hold, so
// that two copies of one line are one run.
QString idOfContent(const PendingRun& run) {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(run.scoreFile.toUtf8());
    hash.addData(QByteArrayView("\n"));
    hash.addData(run.homeFile.toUtf8());
    hash.addData(QByteArrayView("\n"));
    hash.addData(run.scoreRecord);
    hash.addData(run.homeRecord);
    return QStringLiteral("kept-") + QString::fromLatin1(hash.result().toHex().left(32));
}

std::optional<PendingRun> runOf(const QByteArray& line) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    PendingRun run;
    run.scoreFile = object.value(kScoreFileKey).toString();
    run.homeFile = object.value(kHomeFileKey).toString();
    const auto score = recordOf(object, kScoreRecordKey, kScoreRecordLength);
    const auto home = recordOf(object, kHomeRecordKey, kHomeScoreRecordLength);
    const auto scoreFrom = offsetOf(object, kScoreFromKey);
    const auto homeFrom = offsetOf(object, kHomeFromKey);
    if (!score || !home || !scoreFrom || !homeFrom)
        return std::nullopt;
    run.scoreRecord = *score;
    run.homeRecord = *home;
    run.scoreFileFrom = *scoreFrom;
    run.homeFileFrom = *homeFrom;
    run.answerLog = object.value(kAnswerLogKey).toString();
    const QJsonValue answers = object.value(kAnswersKey);
    if (!answers.isUndefined() && !answers.isObject())
        return std::nullopt;
    run.answers = answers.toObject();
    // Records wait together and for the files they name; answers wait with the log they belong to; and a
    // line holds something that waits.
    const bool recordsWait = !run.scoreRecord.isEmpty();
    if (recordsWait && (run.scoreFile.isEmpty() || run.homeRecord.isEmpty() != run.homeFile.isEmpty()))
        return std::nullopt;
    if (!recordsWait && !run.homeRecord.isEmpty())
        return std::nullopt;
    if (run.answerLog.isEmpty() != run.answers.isEmpty() || (!recordsWait && run.answerLog.isEmpty()))
        return std::nullopt;
    run.id = object.value(kIdKey).toString();
    if (run.id.isEmpty())
        run.id = idOfContent(run);
    return run;
}

// The list as read: the runs, each identity once, in the order kept, and the lines that are no run.
struct ListContent {
    std::vector<PendingRun> runs;
    QList<QByteArray> unreadable;
};

bool readList(const QString& file, ListContent* content, QString* why) {
    *content = {};
    QFile in(file);
    if (!in.exists())
        return true;
    if (!in.open(QIODevice::ReadOnly)) {
        *why = QStringLiteral("保存待ちの成績のファイルを読めません（%1）").arg(in.errorString());
        return false;
    }
    QSet<QString> seen;
    while (!in.atEnd()) {
        const QByteArray line = in.readLine().trimmed();
        if (line.isEmpty())
            continue;
        if (const auto run = runOf(line)) {
            if (!seen.contains(run->id)) {
                seen.insert(run->id);
                content->runs.push_back(*run);
            }
        } else {
            content->unreadable.append(line);
        }
    }
    if (in.error() != QFileDevice::NoError) {
        *why = QStringLiteral("保存待ちの成績のファイルを読めません（%1）").arg(in.errorString());
        return false;
    }
    return true;
}

QString untoldCountFile(const QString& file) {
    return unreadableRunsFile(file) + QStringLiteral(".untold");
}

int readUntoldCount(const QString& file) {
    QFile in(untoldCountFile(file));
    if (!in.open(QIODevice::ReadOnly))
        return 0;
    return std::max(0, in.readAll().trimmed().toInt());
}

bool writeWhole(const QString& path, const QByteArray& bytes, QString* why) {
    QSaveFile out(path);
    // QSaveFile flushes the new content to the disk before it takes the old one's place.
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        *why = QStringLiteral("保存待ちの成績のファイルを書けません（%1）").arg(out.errorString());
        return false;
    }
    flushFolderToDisk(QFileInfo(path).absolutePath());
    return true;
}

// Unreadable lines go to the file beside the list (added at its end, flushed) before the list is rewritten
// without them, so they are in one file or the other whatever happens.
bool moveAside(const QString& file, const QList<QByteArray>& lines, QString* why) {
    if (lines.isEmpty())
        return true;
    QFile aside(unreadableRunsFile(file));
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += line + '\n';
    if (!aside.open(QIODevice::WriteOnly | QIODevice::Append) || aside.write(bytes) != bytes.size() ||
        !flushFileToDisk(aside)) {
        *why = QStringLiteral("読めない行を %1 に移せません（%2）")
                   .arg(shownPath(aside.fileName()), aside.errorString());
        return false;
    }
    aside.close();
    return writeWhole(untoldCountFile(file),
                      QByteArray::number(readUntoldCount(file) + static_cast<int>(lines.size())), why);
}

bool writeList(const QString& file, const std::vector<PendingRun>& runs, QString* why) {
    if (runs.empty()) {
        if (!QFile::exists(file) || QFile::remove(file))
            return true;
        *why = QStringLiteral("保存待ちの成績のファイルを消せません");
        return false;
    }
    QByteArray bytes;
    for (const PendingRun& run : runs)
        bytes += lineOf(run) + '\n';
    return writeWhole(file, bytes, why);
}

// Holds the lock every writer of the list takes.
class ListLock final {
public:
    ListLock(const QString& file, QString* why)
        : m_lock(file + QStringLiteral(".lock")) {
        if (file.isEmpty()) {
            *why = QStringLiteral("成績をとっておく場所がありません");
            return;
        }
        const QString folder = QFileInfo(file).absolutePath();
        if (!QDir().mkpath(folder)) {
            *why = QStringLiteral("成績をとっておくフォルダ %1 を作れません").arg(shownPath(folder));
            return;
        }
        m_lock.setStaleLockTime(kStaleLockMs);
        m_held = m_lock.tryLock(kLockWaitMs);
        if (!m_held)
            *why = QStringLiteral("保存待ちの成績のファイルをほかのプログラムが使っています");
    }
    bool held() const { return m_held; }

private:
    QLockFile m_lock;
    bool m_held = false;
};

// Rewrites the list with `change` applied to its runs.
template <typename Change> bool rewrite(const QString& file, QString* why, Change change) {
    const ListLock lock(file, why);
    if (!lock.held())
        return false;
    ListContent content;
    if (!readList(file, &content, why))
        return false;
    change(content.runs);
    return moveAside(file, content.unreadable, why) && writeList(file, content.runs, why);
}

} // namespace

QString defaultPendingRunsFile() {
    const QString chosen = qEnvironmentVariable("WARIZAN_DATA_HOME");
    const QString folder =
        chosen.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) : chosen;
    if (folder.isEmpty())
        return {};
    return QDir(folder).filePath(QStringLiteral("warizan/保存待ちの成績.jsonl"));
}

QString unreadableRunsFile(const QString& file) {
    const QFileInfo info(file);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral("（読めなかった行）.txt"));
}

QString placeOfFile(const QString& path) {
    // The folder names the suite; the file's own name is kept as it is, even where it is a link (which
    // may point anywhere while the folder is damaged).
    const QFileInfo info(path);
    const QFileInfo folder(info.absolutePath());
    if (folder.exists())
        return QDir(folder.canonicalFilePath()).filePath(info.fileName());
    return QDir::cleanPath(info.absoluteFilePath());
}

QString newRunId() {
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

bool readPendingRuns(const QString& file, std::vector<PendingRun>* runs, QString* why, int* unreadableLines) {
    runs->clear();
    if (unreadableLines)
        *unreadableLines = 0;
    if (file.isEmpty())
        return true;
    ListContent content;
    if (!readList(file, &content, why))
        return false;
    *runs = std::move(content.runs);
    if (unreadableLines)
        *unreadableLines = static_cast<int>(content.unreadable.size());
    return true;
}

std::vector<PendingRun> pendingRunsFor(const std::vector<PendingRun>& runs, const QString& scoreFile,
                                       const QString& homeFile) {
    std::vector<PendingRun> mine;
    for (const PendingRun& run : runs)
        if (run.waitsForScoreFiles() && run.scoreFile == scoreFile &&
            (run.homeFile.isEmpty() || run.homeFile == homeFile))
            mine.push_back(run);
    return mine;
}

bool keepPendingRun(const QString& file, const PendingRun& run, QString* why) {
    return rewrite(file, why, [&](std::vector<PendingRun>& runs) {
        if (std::none_of(runs.begin(), runs.end(), [&](const PendingRun& kept) { return kept.id == run.id; }))
            runs.push_back(run);
    });
}

bool settlePendingRuns(const QString& file, const std::function<void(PendingRun&)>& settle, QString* why) {
    if (file.isEmpty())
        return true;
    return rewrite(file, why, [&](std::vector<PendingRun>& runs) {
        for (PendingRun& run : runs)
            settle(run);
        std::erase_if(runs, [](const PendingRun& run) {
            return !run.waitsForScoreFiles() && !run.waitsForAnswerLog();
        });
    });
}

bool settleLandedRuns(const QString& file, const std::vector<PendingRun>& done, bool scoresLanded,
                      const QStringList& answersLanded, QString* why) {
    QSet<QString> landedRecords;
    if (scoresLanded)
        for (const PendingRun& run : done)
            landedRecords.insert(run.id);
    const QSet<QString> landedAnswers(answersLanded.begin(), answersLanded.end());
    if (landedRecords.isEmpty() && landedAnswers.isEmpty())
        return true;
    return settlePendingRuns(
        file,
        [&](PendingRun& run) {
            if (landedRecords.contains(run.id)) {
                run.scoreRecord.clear();
                run.homeRecord.clear();
            }
            if (landedAnswers.contains(run.id)) {
                run.answerLog.clear();
                run.answers = {};
            }
        },
        why);
}

int takeUntoldUnreadableLines(const QString& file) {
    if (file.isEmpty())
        return 0;
    QString why;
    const ListLock lock(file, &why);
    if (!lock.held())
        return 0;
    const int count = readUntoldCount(file);
    QFile::remove(untoldCountFile(file));
    return count;
}

} // namespace warizan
