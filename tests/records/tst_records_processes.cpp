#include "records/score_count.h"
#include "records/score_file.h"
#include "records/score_record.h"
#include "test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>
#include <QtTest>

using namespace warizan;
using namespace warizan::test;

// Copies of the program share the score files: these run real second processes against them.
class RecordsProcessesTest final : public QObject {
    Q_OBJECT
private slots:
    void countWaitsForAnAppendInProgress();
    void writerWaitsForAnAppendInProgress();
    void concurrentAppendsStayWhole();

private:
    static bool startHolder(QProcess& holder, const QString& path);
};

namespace {

// Long enough for any test here; a holder that is never released ends by itself.
const QString kHolderTimeoutSeconds = QStringLiteral("30");
constexpr int kRunsPerWriter = 500;

template <std::size_t N> QByteArray bytesOf(const std::array<char, N>& field) {
    return QByteArray(field.data(), static_cast<qsizetype>(N));
}

} // namespace

bool RecordsProcessesTest::startHolder(QProcess& holder, const QString& path) {
    holder.start(QStringLiteral(LOCK_HOLDER), {path, kHolderTimeoutSeconds});
    if (!holder.waitForStarted(10000) || !holder.waitForReadyRead(10000))
        return false;
    return holder.readLine().trimmed() == "locked";
}

void RecordsProcessesTest::countWaitsForAnAppendInProgress() {
    TempSuite suite;
    TestContext t;
    t.state->config.programDataFolder = suite.programDataFolder();
    t.state->levels.levelGoal[1] = 120;
    t.state->levels.levelBonusFactor[1] = 1.0f;
    ScoreRecord record;
    record.date = dateValue(t.clock.today());
    record.pupil = 5;
    record.level = 1;
    record.result = 60;
    {
        QFile file(suite.programDataFolder() + kScoreFileName);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(encodeScoreRecord(record) + encodeScoreRecord(record));
    }

    QProcess holder;
    QVERIFY(startHolder(holder, suite.programDataFolder() + kScoreFileName));
    // The manual clock makes each one-second wait instant, so the release comes after real time instead.
    QTimer::singleShot(300, &holder, &QProcess::closeWriteChannel);
    QElapsedTimer real;
    real.start();
    QVERIFY(countScores(t.context));

    QVERIFY(real.elapsed() >= 250);
    QVERIFY(t.clock.waitCount() >= 1);
    QCOMPARE(t.clock.totalWaitedMs(), t.clock.waitCount() * 1000LL);
    QVERIFY(t.dialogs.messages.empty());
    QCOMPARE(t.state->figures.loaded.loadedRecordCount, qint16(2));
    QCOMPARE(t.state->figures.totalCount.at(1, 5), qint16(2));
    // The holder may have ended, and its end been handled, while the count let events run.
    QVERIFY(finishedWithin(holder, 10000));
    QCOMPARE(holder.exitStatus(), QProcess::NormalExit);
    QCOMPARE(holder.exitCode(), 0);
}

void RecordsProcessesTest::writerWaitsForAnAppendInProgress() {
    TempSuite suite;
    const QString scorePath = suite.programDataFolder() + kScoreFileName;
    QProcess holder;
    QVERIFY(startHolder(holder, scorePath));

    QProcess writer;
    writer.start(QStringLiteral(APPEND_CHILD),
                 {suite.programDataFolder(), suite.commonFolder(), QStringLiteral("5"), QStringLiteral("1")});
    QVERIFY(writer.waitForStarted(10000));
    // Still waiting for the lock, and nothing written meanwhile.
    QVERIFY(!writer.waitForFinished(500));
    QCOMPARE(QFileInfo(scorePath).size(), 0);

    holder.closeWriteChannel();
    QVERIFY(finishedWithin(writer, 10000));
    QCOMPARE(writer.exitCode(), 0);
    QCOMPARE(QFileInfo(scorePath).size(), kScoreRecordLength);
    QVERIFY(finishedWithin(holder, 10000));
}

void RecordsProcessesTest::concurrentAppendsStayWhole() {
    TempSuite suite;
    const QDate firstDay = QDate::currentDate();
    std::array<QProcess, 2> writers;
    for (std::size_t i = 0; i < writers.size(); ++i)
        writers[i].start(QStringLiteral(APPEND_CHILD),
                         {suite.programDataFolder(), suite.commonFolder(), QString::number(11 + i),
                          QString::number(kRunsPerWriter)});
    for (QProcess& writer : writers) {
        QVERIFY(finishedWithin(writer, 120000));
        QVERIFY2(writer.exitCode() == 0, writer.readAllStandardError().constData());
    }
    const double earliest = dateValue(firstDay);
    const double latest = dateValue(QDate::currentDate());

    const QByteArray scores = readBytes(suite.programDataFolder() + kScoreFileName);
    QCOMPARE(scores.size(), 2 * kRunsPerWriter * kScoreRecordLength);
    // Each writer's runs appear in its own order, none lost, none torn.
    std::array<qint32, 2> lastResult{0, 0};
    for (const ScoreRecord& record : decodeScoreRecords(scores)) {
        QVERIFY(record.pupil == 11 || record.pupil == 12);
        qint32& last = lastResult[static_cast<std::size_t>(record.pupil - 11)];
        QCOMPARE(record.result, last + 1);
        last = record.result;
        QCOMPARE(record.level, qint16(2));
        QVERIFY(record.date >= earliest && record.date <= latest);
        QVERIFY(record.clockTime >= 0 && record.clockTime < 1);
        QCOMPARE(bytesOf(record.schoolCodeText), QByteArray::fromHex("318a778d5a"));
        QCOMPARE(bytesOf(record.spareText), QByteArray("     "));
        QCOMPARE(bytesOf(record.pointsText), QByteArray(" 0   "));
        QCOMPARE(bytesOf(record.reservedText), QByteArray(5, '\0'));
    }
    QCOMPARE(lastResult[0], kRunsPerWriter);
    QCOMPARE(lastResult[1], kRunsPerWriter);

    const QByteArray homes = readBytes(suite.commonFolder() + kHomeScoreFileName);
    QCOMPARE(homes.size(), 2 * kRunsPerWriter * kHomeScoreRecordLength);
    const QByteArray folderText = QByteArray("drill\\") + QByteArray(14, ' ');
    lastResult = {0, 0};
    for (qsizetype at = 0; at < homes.size(); at += kHomeScoreRecordLength) {
        const HomeScoreRecord record = decodeHomeScoreRecord(homes.constData() + at);
        QVERIFY(record.pupil == 11 || record.pupil == 12);
        qint32& last = lastResult[static_cast<std::size_t>(record.pupil - 11)];
        QCOMPARE(record.result, last + 1);
        last = record.result;
        QCOMPARE(bytesOf(record.folderText), folderText);
        QCOMPARE(record.contentNumber, qint16(0));
        QCOMPARE(record.level, qint16(2));
        QVERIFY(record.date >= earliest && record.date <= latest);
        QCOMPARE(bytesOf(record.spareText) + bytesOf(record.pointsText) + bytesOf(record.reservedText),
                 QByteArray(15, '\0'));
    }
    QCOMPARE(lastResult[0], kRunsPerWriter);
    QCOMPARE(lastResult[1], kRunsPerWriter);
}

QTEST_GUILESS_MAIN(RecordsProcessesTest)
#include "tst_records_processes.moc"
