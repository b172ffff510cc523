#include "records/score_count.h"
#include "records/score_file.h"
#include "records/score_record.h"
#include "system_files.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QtTest>
#include <limits>

using namespace warizan;
using namespace warizan::test;

// The count, the loader's rules and the end-of-drill bookkeeping, on score files in a temporary folder.
class RecordsCountTest final : public QObject {
    Q_OBJECT
private slots:
    void missingScoreFileIsCreatedEmpty();
    void windows_data();
    void windows();
    void results_data();
    void results();
    void pointTotalsSaturate();
    void partialTailIsIgnoredThenOverwritten();
    void onlyTheNewest20000AreLoaded();
    void negativeDateIsDiscardedButLowersBest();
    void recordsOutsideTheTablesArePassedOver_data();
    void recordsOutsideTheTablesArePassedOver();
    void homeRecordOnlyBelow4900_data();
    void homeRecordOnlyBelow4900();
    void drillResultFlags_data();
    void drillResultFlags();
    void recordedRunIsInTheNextCount();
    void unopenableScoreFile_data();
    void unopenableScoreFile();
    void unwritableScoreFileEndsTheProgram();
    void failedHomeWriteLeavesBothFilesAsTheyWere();
};

namespace {

const QDate kToday(2024, 4, 10);

// A suite folder, a context pointed at it, and levels 1 to 4 with goal 120 s, factor 1, 7- and 30-day
// windows and a clearing rule of 3 runs and 20 points.
struct Fixture {
    TempSuite suite;
    TestContext t;
    Fixture() {
        Configuration& config = t.state->config;
        config.programDataFolder = suite.programDataFolder();
        config.commonFolder = suite.commonFolder();
        config.programFolderName = QStringLiteral("drill");
        LevelTable& levels = t.state->levels;
        for (int level = 1; level <= 4; ++level) {
            levels.levelGoal[level] = 120;
            levels.levelBonusFactor[level] = 1.0f;
            levels.levelRecentDays[level] = 7;
            levels.levelQuotaDays[level] = 30;
            levels.levelBonusRuns[level] = 3;
            levels.levelBonusPoints[level] = 20;
        }
        t.clock.setNow(QDateTime(kToday, QTime(10, 0)));
    }
    PupilFigures& figures() { return t.state->figures; }
    QString scorePath() const { return suite.programDataFolder() + kScoreFileName; }
    QString homePath() const { return suite.commonFolder() + kHomeScoreFileName; }
    void append(const QByteArray& bytes) const {
        QFile file(scorePath());
        QVERIFY(file.open(QIODevice::Append));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    void append(const std::vector<ScoreRecord>& records) const {
        QByteArray bytes;
        for (const ScoreRecord& record : records)
            bytes += encodeScoreRecord(record);
        append(bytes);
    }
    bool count() { return countScores(t.context); }
};

ScoreRecord run(int pupil, int level, qint32 result, int daysAgo = 0) {
    ScoreRecord record;
    record.date = dateValue(kToday.addDays(-daysAgo));
    record.clockTime = 0.5;
    record.pupil = static_cast<qint16>(pupil);
    record.level = static_cast<qint16>(level);
    record.result = result;
    return record;
}

} // namespace

void RecordsCountTest::missingScoreFileIsCreatedEmpty() {
    Fixture f;
    QVERIFY(!QFileInfo::exists(f.scorePath()));
    // Figures of an earlier count must not survive a count of an empty file.
    f.figures().totalCount.at(1, 5) = 3;
    f.figures().todayCount.at(4, 5000) = 2;
    f.figures().bestResult.at(1, 5) = 40;
    f.figures().levelBestResult[1] = 40;
    QVERIFY(f.count());
    QVERIFY(QFileInfo::exists(f.scorePath()));
    QCOMPARE(QFileInfo(f.scorePath()).size(), 0);
    QCOMPARE(f.figures().totalCount.at(1, 5), qint16(0));
    QCOMPARE(f.figures().todayCount.at(4, 5000), 0.0f);
    QCOMPARE(f.figures().bestResult.at(1, 5), kNoResult);
    QCOMPARE(f.figures().bestResult.at(35, 5000), kNoResult);
    QCOMPARE(f.figures().levelBestResult[1], kNoResult);
    QCOMPARE(f.figures().loaded.loadedRecordCount, qint16(0));
    QVERIFY(f.t.dialogs.messages.empty());
}

void RecordsCountTest::windows_data() {
    QTest::addColumn<int>("daysAgo");
    QTest::addColumn<int>("windowDays");
    QTest::addColumn<bool>("inside");
    QTest::newRow("yesterday, 2-day window") << 1 << 2 << true;
    QTest::newRow("yesterday, 1-day window") << 1 << 1 << false;
    QTest::newRow("today, 1-day window") << 0 << 1 << true;
    QTest::newRow("today, 0-day window") << 0 << 0 << false;
    QTest::newRow("six days ago, 7-day window") << 6 << 7 << true;
    QTest::newRow("seven days ago, 7-day window") << 7 << 7 << false;
}

void RecordsCountTest::windows() {
    QFETCH(int, daysAgo);
    QFETCH(int, windowDays);
    QFETCH(bool, inside);
    Fixture f;
    f.append({run(5, 1, 60, daysAgo)});
    const qint16 runs = inside ? 1 : 0;
    const qint32 points = inside ? 11 : 0;
    const bool today = daysAgo == 0;
    PupilFigures& figures = f.figures();
    LevelTable& levels = f.t.state->levels;

    // Each window in turn, the other shut, so neither can stand in for the other.
    levels.levelRecentDays[1] = windowDays;
    levels.levelQuotaDays[1] = 0;
    QVERIFY(f.count());
    QCOMPARE(figures.recentCount.at(1, 5), runs);
    QCOMPARE(figures.recentPoints.at(1, 5), points);
    QCOMPARE(figures.quotaCount.at(1, 5), qint16(0));
    QCOMPARE(figures.quotaPoints.at(1, 5), 0);

    levels.levelRecentDays[1] = 0;
    levels.levelQuotaDays[1] = windowDays;
    QVERIFY(f.count());
    QCOMPARE(figures.recentCount.at(1, 5), qint16(0));
    QCOMPARE(figures.recentPoints.at(1, 5), 0);
    QCOMPARE(figures.quotaCount.at(1, 5), runs);
    QCOMPARE(figures.quotaPoints.at(1, 5), points);

    QCOMPARE(figures.todayCount.at(1, 5), today ? 1.0f : 0.0f);
    QCOMPARE(figures.todayPoints.at(1, 5), today ? 11 : 0);
    QCOMPARE(figures.totalCount.at(1, 5), qint16(1));
    QCOMPARE(figures.totalPoints.at(1, 5), 11);
}

void RecordsCountTest::results_data() {
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("runs");
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("best");
    // Goal 1000 s: 59 s sits on the curve, 2000 to 9999 s earn 1 point.
    QTest::newRow("fast run") << 59 << 1 << 46 << 59;
    QTest::newRow("slowest counted run") << 5999 << 1 << 1 << 5999;
    QTest::newRow("6000 earns but is no run") << 6000 << 0 << 1 << 6000;
    QTest::newRow("99997 far past the goal") << 99997 << 0 << 0 << 99997;
    QTest::newRow("99998 earns nothing") << 99998 << 0 << 0 << 99998;
    QTest::newRow("time ran out") << 99999 << 0 << 0 << 99999;
}

void RecordsCountTest::results() {
    QFETCH(int, result);
    QFETCH(int, runs);
    QFETCH(int, points);
    QFETCH(int, best);
    Fixture f;
    f.t.state->levels.levelGoal[2] = 1000;
    f.append({run(5, 2, result)});
    QVERIFY(f.count());
    const PupilFigures& figures = f.figures();
    QCOMPARE(figures.totalCount.at(2, 5), qint16(runs));
    QCOMPARE(figures.recentCount.at(2, 5), qint16(runs));
    QCOMPARE(figures.todayCount.at(2, 5), float(runs));
    QCOMPARE(figures.totalPoints.at(2, 5), points);
    QCOMPARE(figures.quotaPoints.at(2, 5), points);
    QCOMPARE(figures.todayPoints.at(2, 5), points);
    QCOMPARE(figures.bestResult.at(2, 5), best);
    QCOMPARE(figures.levelBestResult[2], best);
}

void RecordsCountTest::pointTotalsSaturate() {
    Fixture f;
    f.t.state->levels.levelBonusFactor[1] = 2e7f; // 1.1e9 points a run: the second passes 32 bits
    f.append({run(5, 1, 0), run(5, 1, 0), run(5, 1, 0)});
    QVERIFY(f.count());
    QCOMPARE(f.figures().totalPoints.at(1, 5), std::numeric_limits<qint32>::max());
    QCOMPARE(f.figures().todayPoints.at(1, 5), std::numeric_limits<qint32>::max());
    QCOMPARE(f.figures().totalCount.at(1, 5), qint16(3));
}

void RecordsCountTest::partialTailIsIgnoredThenOverwritten() {
    Fixture f;
    f.append({run(5, 1, 70), run(6, 1, 80), run(7, 1, 90)});
    f.append(QByteArray(20, '\xff'));
    QVERIFY(f.count());
    QCOMPARE(f.figures().loaded.loadedRecordCount, qint16(3));

    f.t.state->pupil.currentPupil = 9;
    f.t.state->pupil.currentLevel = 1;
    f.t.state->drill.finalTime = 42;
    QVERIFY(writeScoreRecords(f.t.context));
    const QByteArray bytes = readBytes(f.scorePath());
    QCOMPARE(bytes.size(), 4 * kScoreRecordLength);
    const ScoreRecord written = decodeScoreRecord(bytes.constData() + 3 * kScoreRecordLength);
    QCOMPARE(written.pupil, qint16(9));
    QCOMPARE(written.result, 42);

    QVERIFY(f.count());
    QCOMPARE(f.figures().loaded.loadedRecordCount, qint16(4));
    QCOMPARE(f.figures().bestResult.at(1, 9), 42);
}

void RecordsCountTest::onlyTheNewest20000AreLoaded() {
    Fixture f;
    std::vector<ScoreRecord> records{run(7, 1, 10)};
    for (int i = 2; i <= kMaxLoadedRecords + 1; ++i)
        records.push_back(run(8, 1, 100 + i % 50));
    f.append(records);
    QVERIFY(f.count());
    const PupilFigures& figures = f.figures();
    QCOMPARE(figures.loaded.loadedRecordCount, qint16(kMaxLoadedRecords));
    QCOMPARE(figures.loaded.recordPupil[1], qint16(8));
    QCOMPARE(figures.loaded.recordResult[1], 102);
    QCOMPARE(figures.loaded.recordResult[kMaxLoadedRecords], 100 + (kMaxLoadedRecords + 1) % 50);
    QCOMPARE(figures.totalCount.at(1, 7), qint16(0));
    QCOMPARE(figures.bestResult.at(1, 7), kNoResult);
    QCOMPARE(figures.totalCount.at(1, 8), qint16(kMaxLoadedRecords));
    QCOMPARE(figures.levelBestResult[1], 100);
}

void RecordsCountTest::negativeDateIsDiscardedButLowersBest() {
    Fixture f;
    ScoreRecord dateless = run(5, 1, 30);
    dateless.date = -1;
    f.append({dateless, run(0, 1, 5), run(5, 0, 5), run(5, 1, 50)});
    QVERIFY(f.count());
    const PupilFigures& figures = f.figures();
    // Only the last record is a run; it takes the slot the discarded ones used.
    QCOMPARE(figures.loaded.loadedRecordCount, qint16(1));
    QCOMPARE(figures.loaded.recordResult[1], 50);
    QCOMPARE(figures.totalCount.at(1, 5), qint16(1));
    QCOMPARE(figures.totalPoints.at(1, 5), 14);
    QCOMPARE(figures.bestResult.at(1, 5), 30);
    // Pupil 0 is nobody: the level's best ignores it.
    QCOMPARE(figures.levelBestResult[1], 30);
}

void RecordsCountTest::recordsOutsideTheTablesArePassedOver_data() {
    QTest::addColumn<int>("pupil");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("result");
    QTest::newRow("pupil 5001") << 5001 << 1 << 1;
    QTest::newRow("negative pupil") << -1 << 1 << 1;
    QTest::newRow("level 36") << 5 << 36 << 1;
    QTest::newRow("negative level") << 5 << -1 << 1;
    QTest::newRow("both far out") << 32767 << -32768 << 1;
    // No run takes less than no time: such a result would earn more points than any real run.
    QTest::newRow("negative result") << 5 << 1 << -5;
    QTest::newRow("most negative result") << 5 << 1 << std::numeric_limits<qint32>::min();
}

void RecordsCountTest::recordsOutsideTheTablesArePassedOver() {
    QFETCH(int, pupil);
    QFETCH(int, level);
    QFETCH(int, result);
    Fixture f;
    f.append({run(5, 1, 80), run(pupil, level, result), run(6, 1, 90), run(5000, 35, 70)});
    QVERIFY(f.count());
    QVERIFY(f.t.dialogs.messages.empty());
    QVERIFY(!f.t.dialogs.ended);
    const PupilFigures& figures = f.figures();
    QCOMPARE(figures.loaded.loadedRecordCount, qint16(3));
    QCOMPARE(figures.loaded.recordPupil[2], qint16(6));
    QCOMPARE(figures.levelBestResult[1], 80);
    QCOMPARE(figures.bestResult.at(35, 5000), 70);
    QCOMPARE(figures.totalCount.at(35, 5000), qint16(1));
    QCOMPARE(figures.bestResult.at(1, 5), 80);
    QCOMPARE(figures.totalPoints.at(1, 5), 6); // the run of 80 s alone: Int((40/120)^3 x 50 + 5)
}

void RecordsCountTest::homeRecordOnlyBelow4900_data() {
    QTest::addColumn<int>("pupil");
    QTest::addColumn<bool>("home");
    QTest::newRow("pupil 1") << 1 << true;
    QTest::newRow("pupil 4899") << 4899 << true;
    QTest::newRow("pupil 4900") << 4900 << false;
    QTest::newRow("pupil 5000") << 5000 << false;
}

void RecordsCountTest::homeRecordOnlyBelow4900() {
    QFETCH(int, pupil);
    QFETCH(bool, home);
    Fixture f;
    f.t.state->pupil.currentPupil = static_cast<qint16>(pupil);
    f.t.state->pupil.currentLevel = 2;
    f.t.state->drill.finalTime = 77;
    QVERIFY(writeScoreRecords(f.t.context));
    QVERIFY(writeScoreRecords(f.t.context));
    QCOMPARE(QFileInfo(f.scorePath()).size(), 2 * kScoreRecordLength);
    QCOMPARE(QFileInfo(f.homePath()).size(), home ? 2 * kHomeScoreRecordLength : 0);
    if (home) {
        const QByteArray bytes = readBytes(f.homePath());
        const HomeScoreRecord second = decodeHomeScoreRecord(bytes.constData() + kHomeScoreRecordLength);
        QCOMPARE(second.pupil, qint16(pupil));
        QCOMPARE(second.level, qint16(2));
        QCOMPARE(second.result, 77);
    }
}

void RecordsCountTest::drillResultFlags_data() {
    QTest::addColumn<int>("runs");
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("best");
    QTest::addColumn<int>("levelBest");
    QTest::addColumn<int>("finalTime");
    QTest::addColumn<int>("cleared");
    QTest::addColumn<int>("personal");
    QTest::addColumn<int>("overall");
    // The clearing rule is 3 runs and 20 points on all days.
    QTest::newRow("first run ever") << 0 << 0 << 99999 << 99999 << 80 << 0 << 1 << 1;
    QTest::newRow("cleared before, slower") << 3 << 20 << 50 << 40 << 60 << 1 << 0 << 0;
    QTest::newRow("runs met, points short") << 3 << 19 << 50 << 40 << 60 << 0 << 0 << 0;
    QTest::newRow("points met, runs short") << 2 << 20 << 50 << 40 << 60 << 0 << 0 << 0;
    QTest::newRow("own best only") << 5 << 40 << 70 << 40 << 60 << 1 << 1 << 0;
    QTest::newRow("best of everybody") << 5 << 40 << 70 << 65 << 60 << 1 << 1 << 1;
    QTest::newRow("equal to the best is no new best") << 1 << 5 << 60 << 60 << 60 << 0 << 0 << 0;
    QTest::newRow("time ran out") << 0 << 0 << 99999 << 99999 << 99999 << 0 << 0 << 0;
}

void RecordsCountTest::drillResultFlags() {
    QFETCH(int, runs);
    QFETCH(int, points);
    QFETCH(int, best);
    QFETCH(int, levelBest);
    QFETCH(int, finalTime);
    QFETCH(int, cleared);
    QFETCH(int, personal);
    QFETCH(int, overall);
    Fixture f;
    PupilFigures& figures = f.figures();
    figures.totalCount.at(1, 5) = static_cast<qint16>(runs);
    figures.totalPoints.at(1, 5) = points;
    figures.bestResult.at(1, 5) = best;
    figures.levelBestResult[1] = levelBest;
    f.t.state->pupil.currentPupil = 5;
    f.t.state->pupil.currentLevel = 1;
    f.t.state->drill.finalTime = finalTime;

    QVERIFY(recordDrillResult(f.t.context, 1));
    QCOMPARE(figures.alreadyCleared, qint16(cleared));
    QCOMPARE(figures.newPersonalBest, qint16(personal));
    QCOMPARE(figures.newLevelBest, qint16(overall));
    QCOMPARE(figures.bestResult.at(1, 5), std::min(best, finalTime));
    QCOMPARE(figures.levelBestResult[1], std::min(levelBest, finalTime));
    QCOMPARE(QFileInfo(f.scorePath()).size(), kScoreRecordLength);
}

void RecordsCountTest::recordedRunIsInTheNextCount() {
    Fixture f;
    f.append({run(6, 1, 45, 3)});
    QVERIFY(f.count());
    f.t.state->pupil.currentPupil = 5;
    f.t.state->pupil.currentLevel = 1;
    f.t.state->drill.finalTime = 60;
    f.t.clock.setNow(QDateTime(kToday, QTime(18, 0, 30)));
    QVERIFY(recordDrillResult(f.t.context, 1));
    QCOMPARE(f.figures().newPersonalBest, qint16(1));
    QCOMPARE(f.figures().newLevelBest, qint16(0));

    QVERIFY(f.count());
    const PupilFigures& figures = f.figures();
    QCOMPARE(figures.loaded.loadedRecordCount, qint16(2));
    QCOMPARE(figures.loaded.recordClock[2], (18 * 3600 + 30) / 86400.0);
    QCOMPARE(figures.todayCount.at(1, 5), 1.0f);
    QCOMPARE(figures.todayPoints.at(1, 5), 11);
    QCOMPARE(figures.bestResult.at(1, 5), 60);
    QCOMPARE(figures.levelBestResult[1], 45);
}

void RecordsCountTest::unopenableScoreFile_data() {
    QTest::addColumn<int>("appearsAfterWaits");
    QTest::addColumn<int>("waits");
    QTest::addColumn<bool>("ends");
    QTest::newRow("never there") << -1 << 4 << true;
    QTest::newRow("folder appears during the first wait") << 1 << 1 << false;
    QTest::newRow("folder appears during the third wait") << 3 << 3 << false;
}

void RecordsCountTest::unopenableScoreFile() {
    QFETCH(int, appearsAfterWaits);
    QFETCH(int, waits);
    QFETCH(bool, ends);
    Fixture f;
    const QString folder = f.suite.root() + QStringLiteral("/later/");
    f.t.state->config.programDataFolder = folder;
    // Each wait lets events run: a timer standing in for a network folder that comes back.
    int waited = 0;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, &watcher, [&] {
        if (f.t.clock.waitCount() != waited) {
            waited = f.t.clock.waitCount();
            if (waited == appearsAfterWaits)
                QDir().mkpath(folder);
        }
    });
    watcher.start(0);

    QCOMPARE(f.count(), !ends);
    QCOMPARE(f.t.clock.waitCount(), waits);
    QCOMPARE(f.t.clock.totalWaitedMs(), waits * 5000LL);
    QCOMPARE(f.t.dialogs.ended, ends);
    if (ends) {
        QCOMPARE(f.t.dialogs.messages.size(), std::size_t(1));
        // The stage, a description a family can read and the number of a missing file; then the file.
        QCOMPARE(f.t.dialogs.messages[0].text,
                 QStringLiteral("ファイルがありません3ファイルが見つかりません53\n") + folder +
                     kScoreFileName);
        QCOMPARE(f.t.dialogs.endCode, 1);
    } else {
        QVERIFY(f.t.dialogs.messages.empty());
        QVERIFY(QFileInfo::exists(folder + kScoreFileName));
    }
}

void RecordsCountTest::unwritableScoreFileEndsTheProgram() {
    Fixture f;
    f.t.state->config.programDataFolder = f.suite.root() + QStringLiteral("/gone/");
    f.t.state->pupil.currentPupil = 5;
    f.t.state->pupil.currentLevel = 1;
    f.t.state->drill.finalTime = 60;
    QVERIFY(!recordDrillResult(f.t.context, 1));
    QVERIFY(f.t.dialogs.ended);
    QCOMPARE(f.t.dialogs.messages.size(), std::size_t(1));
    QVERIFY(!QFileInfo::exists(f.homePath()));
    // The level's best is only raised once the run is on file.
    QCOMPARE(f.figures().newLevelBest, qint16(0));
}

// A run must be on file in both score files or in neither, or a retry would record it twice. The home
// file's write is made to fail by a file-size limit that the score file's write stays under.
void RecordsCountTest::failedHomeWriteLeavesBothFilesAsTheyWere() {
    Fixture f;
    f.append(encodeScoreRecord(run(5, 1, 80)) + QByteArray("tail!"));
    {
        QFile home(f.homePath());
        QVERIFY(home.open(QIODevice::WriteOnly));
        home.write(QByteArray(2 * kHomeScoreRecordLength, ' '));
    }
    const QByteArray scoresBefore = readBytes(f.scorePath());
    const QByteArray homeBefore = readBytes(f.homePath());
    f.t.state->pupil.currentPupil = 5;
    f.t.state->pupil.currentLevel = 1;
    f.t.state->drill.finalTime = 60;

    if (const QString why = test::cannotLimitFileSize(); !why.isEmpty())
        QSKIP(qPrintable(why));
    bool written = true;
    {
        // The score record ends at byte 88, the home record at byte 198.
        const test::FileSizeLimit limit(100);
        QVERIFY(limit.isSet());
        written = writeScoreRecords(f.t.context);
    }

    QVERIFY(!written);
    QVERIFY(f.t.dialogs.ended);
    QCOMPARE(f.t.dialogs.messages.size(), std::size_t(1));
    QVERIFY2(f.t.dialogs.messages[0].text.startsWith(QStringLiteral("家庭用成績ファイルに書き込めません。")),
             qPrintable(f.t.dialogs.messages[0].text));
    QCOMPARE(readBytes(f.scorePath()), scoresBefore);
    QCOMPARE(readBytes(f.homePath()), homeBefore);
}

QTEST_GUILESS_MAIN(RecordsCountTest)
#include "tst_records_count.moc"
