#include "records/pending_runs.h"

#include "platform/shown_path.h"
#include "records/score_record.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>
#include <optional>

namespace warizan {

namespace {

// Far more than any family leaves waiting (a run takes some 300 bytes); a larger file is no list of ours.
constexpr qint64 kPendingFileLimit = 16LL * 1024 * 1024;
// How long a copy of the program waits for another to finish rewriting the list. A lock left by a copy
// that was killed is taken over once it is this old.
constexpr int kLockWaitMs = 10000;
constexpr int kStaleLockMs = 30000;

const QString kScoreFileKey = QStringLiteral("scoreFile");
const QString kHomeFileKey = QStringLiteral("homeFile");
const QString kScoreRecordKey = QStringLiteral("scoreRecord");
const QString kHomeRecordKey = QStringLiteral("homeRecord");

// One run per line: a compact JSON object, the records in Base64.
QByteArray lineOf(const PendingRun& run) {
    const QJsonObject object{{kScoreFileKey, run.scoreFile},
                             {kHomeFileKey, run.homeFile},
                             {kScoreRecordKey, QString::fromLatin1(run.scoreRecord.toBase64())},
                             {kHomeRecordKey, QString::fromLatin1(run.homeRecord.toBase64())}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<QByteArray> recordOf(const QJsonObject& object, const QString& key, int length,
                                   bool mayBeEmpty) {
    const auto decoded = QByteArray::fromBase64Encoding(object.value(key).toString().toLatin1(),
                                                        QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || (decoded.decoded.size() != length && !(mayBeEmpty && decoded.decoded.isEmpty())))
        return std::nullopt;
    return decoded.decoded;
}

std::optional<PendingRun> runOf(const QByteArray& line) {
    const QJsonDocument document = QJsonDocument::fromJson(line);
    if (!document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    PendingRun run;
    run.scoreFile = object.value(kScoreFileKey).toString();
    run.homeFile = object.value(kHomeFileKey).toString();
    const auto score = recordOf(object, kScoreRecordKey, kScoreRecordLength, false);
    const auto home = recordOf(object, kHomeRecordKey, kHomeScoreRecordLength, true);
    if (run.scoreFile.isEmpty() || !score || !home || home->isEmpty() != run.homeFile.isEmpty())
        return std::nullopt;
    run.scoreRecord = *score;
    run.homeRecord = *home;
    return run;
}

bool readLines(const QString& file, QList<QByteArray>* lines, QString* why) {
    lines->clear();
    QFile in(file);
    if (!in.exists())
        return true;
    if (!in.open(QIODevice::ReadOnly)) {
        *why = QStringLiteral("保存待ちの成績のファイルを読めません（%1）").arg(in.errorString());
        return false;
    }
    if (in.size() > kPendingFileLimit) {
        *why = QStringLiteral("保存待ちの成績のファイルが大きすぎます");
        return false;
    }
    for (const QByteArray& line : in.readAll().split('\n'))
        if (!line.trimmed().isEmpty())
            lines->append(line.trimmed());
    return true;
}

bool writeLines(const QString& file, const QList<QByteArray>& lines, QString* why) {
    if (lines.isEmpty()) {
        if (!QFile::exists(file) || QFile::remove(file))
            return true;
        *why = QStringLiteral("保存待ちの成績のファイルを消せません");
        return false;
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) {
        *why = QStringLiteral("保存待ちの成績のファイルを書けません（%1）").arg(out.errorString());
        return false;
    }
    for (const QByteArray& line : lines)
        out.write(line + '\n');
    if (!out.commit()) {
        *why = QStringLiteral("保存待ちの成績のファイルを書けません（%1）").arg(out.errorString());
        return false;
    }
    return true;
}

// Rewrites the list with `change` applied to its lines, holding the lock every writer of the list takes.
template <typename Change> bool rewrite(const QString& file, QString* why, Change change) {
    if (file.isEmpty()) {
        *why = QStringLiteral("成績をとっておく場所がありません");
        return false;
    }
    if (!QDir().mkpath(QFileInfo(file).absolutePath())) {
        *why = QStringLiteral("成績をとっておくフォルダ %1 を作れません")
                   .arg(shownPath(QFileInfo(file).absolutePath()));
        return false;
    }
    QLockFile lock(file + QStringLiteral(".lock"));
    lock.setStaleLockTime(kStaleLockMs);
    if (!lock.tryLock(kLockWaitMs)) {
        *why = QStringLiteral("保存待ちの成績のファイルをほかのプログラムが使っています");
        return false;
    }
    QList<QByteArray> lines;
    if (!readLines(file, &lines, why))
        return false;
    change(lines);
    return writeLines(file, lines, why);
}

} // namespace

QString defaultPendingRunsFile() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (folder.isEmpty())
        return {};
    return QDir(folder).filePath(QStringLiteral("warizan/保存待ちの成績.jsonl"));
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

bool readPendingRuns(const QString& file, std::vector<PendingRun>* runs, QString* why, int* damagedLines) {
    runs->clear();
    if (damagedLines)
        *damagedLines = 0;
    if (file.isEmpty())
        return true;
    QList<QByteArray> lines;
    if (!readLines(file, &lines, why))
        return false;
    for (const QByteArray& line : lines) {
        if (const auto run = runOf(line))
            runs->push_back(*run);
        else if (damagedLines)
            ++*damagedLines;
    }
    return true;
}

std::vector<PendingRun> pendingRunsFor(const std::vector<PendingRun>& runs, const QString& scoreFile,
                                       const QString& homeFile) {
    std::vector<PendingRun> mine;
    for (const PendingRun& run : runs)
        if (run.scoreFile == scoreFile && (run.homeFile.isEmpty() || run.homeFile == homeFile))
            mine.push_back(run);
    return mine;
}

bool keepPendingRun(const QString& file, const PendingRun& run, QString* why) {
    return rewrite(file, why, [&](QList<QByteArray>& lines) { lines.append(lineOf(run)); });
}

bool dropPendingRuns(const QString& file, const std::vector<PendingRun>& done, QString* why) {
    return rewrite(file, why, [&](QList<QByteArray>& lines) {
        lines.removeIf([&](const QByteArray& line) {
            const auto run = runOf(line);
            return run && std::find(done.begin(), done.end(), *run) != done.end();
        });
    });
}

} // namespace warizan
