#include "answers/answer_database.h"
#include "answers/kept_answers.h"
#include "records/pending_runs.h"
#include "records/score_file.h"
#include "records/score_record.h"
#include "system_files.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

using namespace warizan;
using namespace warizan::test;

// A drill's run when the score files cannot take it: kept outside the suite's folders, appended before the
// next run (once), and a home record that a cut-off append left missing completed.
class KeptRunsTest final : public QObject {
    Q_OBJECT
private slots:
    void failedAppendKeepsTheRun_data();
    void failedAppendKeepsTheRun();
    void keptRunIsAppendedOnce_data();
    void keptRunIsAppendedOnce();
    void cutOffAppendIsCompleted_data();
    void cutOffAppendIsCompleted();
    void runsOfAnotherFolderStayKept();
    void aLineTwiceLandsOnce_data();
    void aLineTwiceLandsOnce();
    void aListOfAnySize();
    void unreadableLinesAreMovedAsideAndTold_data();
    void unreadableLinesAreMovedAsideAndTold();
    void runThatCannotBeKeptEndsTheProgram();
};

namespace {

const QDateTime kDrillEnd(QDate(2024, 4, 10), QTime(10, 0, 5));
const QDateTime kNextDrillEnd(QDate(2024, 4, 11), QTime(9, 30, 0));

// A suite, a context pointed at it, and a list of kept runs of its own.
struct Fixture {
    TempSuite suite;
    QTemporaryDir userData;
    TestContext t;
    Fixture() {
        Configuration& config = t.state->config;
        config.programDataFolder = suite.programDataFolder();
        config.commonFolder = suite.commonFolder();
        config.programFolderName = QStringLiteral("drill");
        config.pendingRunsFile = userData.filePath(QStringLiteral("kept/runs.jsonl"));
        t.clock.setNow(kDrillEnd);
        // As counted before the drill: nobody has a result yet.
        PupilFigures& figures = t.state->figures;
        for (int level = 1; level <= 4; ++level) {
            figures.levelBestResult[level] = kNoResult;
            for (int pupil = 1; pupil <= 5; ++pupil)
                figures.bestResult.at(level, pupil) = kNoResult;
        }
    }
    QString scorePath() const { return scoreFilePath(t.state->config); }
    QString homePath() const { return homeScoreFilePath(t.state->config); }
    std::vector<PendingRun> kept() const {
        std::vector<PendingRun> runs;
        QString why;
        if (!readPendingRuns(t.state->config.pendingRunsFile, &runs, &why))
            qWarning("%s", qPrintable(why));
        return runs;
    }
    void setRun(int pupil, int level, qint32 result) {
        t.state->pupil.currentPupil = static_cast<qint16>(pupil);
        t.state->pupil.currentLevel = static_cast<qint16>(level);
        t.state->drill.finalTime = result;
    }
    // The records an append of this run at `when` leaves.
    QByteArray scoreBytes(int pupil, int level, qint32 result, const QDateTime& when) const {
        return encodeScoreRecord(makeScoreRecord(t.state->config, when.date(), when.time(),
                                                 static_cast<qint16>(pupil), static_cast<qint16>(level),
                                                 result));
    }
    // Keeps a run of pupil 4 on level 1 in 70 s, ended at kDrillEnd; with no identity, as a line that earlier
    // versions of the program kept.
    PendingRun keepOne(const QString& id = newRunId()) const {
        const PendingRun run{.id = id,
                             .scoreFile = placeOfFile(scorePath()),
                             .homeFile = placeOfFile(homePath()),
                             .scoreRecord = scoreBytes(4, 1, 70, kDrillEnd),
                             .homeRecord = homeBytes(4, 1, 70, kDrillEnd)};
        QString why;
        if (!keepPendingRun(t.state->config.pendingRunsFile, run, &why))
            qFatal("cannot keep a run: %s", qPrintable(why));
        return run;
    }
    QByteArray homeBytes(int pupil, int level, qint32 result, const QDateTime& when) const {
        return encodeHomeScoreRecord(makeHomeScoreRecord(t.state->config, when.date(), when.time(),
                                                         static_cast<qint16>(pupil),
                                                         static_cast<qint16>(level), result));
    }
};

// A drill of two questions that ended at kDrillEnd.
DrillLog drillOf(int pupil, int level, qint32 result) {
    DrillRecorder recorder;
    recorder.start(pupil, level, kDrillEnd.addSecs(-result));
    recorder.questionShown({7, 5, 2}, 1000);
    recorder.judged(QStringLiteral("7"), QStringLiteral("2"), true, 4000);
    recorder.questionShown({3, 8, 1}, 5000);
    recorder.judged(QStringLiteral("3"), QStringLiteral("0"), false, 9000);
    return recorder.finish(kDrillEnd, result);
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

void KeptRunsTest::failedAppendKeepsTheRun_data() {
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("said"); // words the message must hold
    QTest::newRow("a folder in the score file's place") << "score folder"
                                                        << "成績ファイルを開けません。";
    QTest::newRow("a folder in the home file's place") << "home folder"
                                                       << "家庭用成績ファイルを開けません。";
    QTest::newRow("a device as the home file") << "home device"
                                               << "家庭用成績ファイルを開けません。";
    QTest::newRow("a read-only data folder") << "read-only data"
                                             << "読み取り専用";
    QTest::newRow("a read-only common folder") << "read-only common"
                                               << "家庭用成績ファイルを開けません。";
    QTest::newRow("a full disk under the data folder") << "full data"
                                                       << "成績ファイルに書き込めません。\n";
    // The score record is written, then taken back when the home record finds no room.
    QTest::newRow("a full disk under the common folder") << "full common"
                                                         << "家庭用成績ファイルに書き込めません。";
}

void KeptRunsTest::failedAppendKeepsTheRun() {
    QFETCH(QString, damage);
    QFETCH(QString, said);
    Fixture f;
    std::unique_ptr<SmallDisk> disk;
    if (damage.endsWith(u" data") || damage.endsWith(u" common")) {
        // The folder on a small disk of its own.
        const QString folder = f.suite.root() + (damage.endsWith(u" data") ? QStringLiteral("/data/")
                                                                           : QStringLiteral("/common/"));
        QVERIFY(QDir().mkpath(folder));
        disk = std::make_unique<SmallDisk>(folder);
        if (!disk->isMounted())
            QSKIP("a file system of its own needs root");
        (damage.endsWith(u" data") ? f.t.state->config.programDataFolder : f.t.state->config.commonFolder) =
            folder;
    }
    // An earlier run on file, and a partial record a cut-off writer left. A full disk has no room for
    // them: there the files start empty.
    const QDateTime earlier(QDate(2024, 4, 9), QTime(18, 0));
    const bool full = damage.startsWith(u"full");
    const QByteArray scoresBefore =
        full ? QByteArray() : f.scoreBytes(3, 1, 80, earlier) + QByteArray("tail");
    const QByteArray homeBefore = full ? QByteArray() : f.homeBytes(3, 1, 80, earlier);
    writeBytes(f.scorePath(), scoresBefore);
    writeBytes(f.homePath(), homeBefore);
    if (damage == u"score folder") {
        QVERIFY(QFile::remove(f.scorePath()));
        QVERIFY(QDir().mkpath(f.scorePath()));
    } else if (damage == u"home folder") {
        QVERIFY(QFile::remove(f.homePath()));
        QVERIFY(QDir().mkpath(f.homePath()));
    } else if (damage == u"home device") {
        if (const QString why = cannotMakeSpecialFiles(); !why.isEmpty())
            QSKIP(qPrintable(why));
        QVERIFY(QFile::rename(f.homePath(), f.homePath() + QStringLiteral(".saved")));
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), f.homePath()));
    } else if (damage.startsWith(u"read-only")) {
        QVERIFY(disk->setReadOnly(true));
    } else if (full) {
        disk->fill();
    }

    f.setRun(3, 2, 61);
    const Configuration& config = f.t.state->config;
    QVERIFY(recordDrillResult(f.t.context, 2, answerLogPart(config, kDrillEnd, drillOf(3, 2, 61))));
    QVERIFY(!f.t.dialogs.ended);
    QCOMPARE(f.t.dialogs.messages.size(), std::size_t(1));
    const QString text = f.t.dialogs.messages[0].text;
    QVERIFY2(text.startsWith(QStringLiteral("今回の成績は、いまは記録できませんでした。\n"
                                            "成績はなくならないように取っておいて、次に記録します。")),
             qPrintable(text));
    QVERIFY2(text.contains(said), qPrintable(text));
    if (full)
        QVERIFY2(text.endsWith(QStringLiteral("ディスクがいっぱいです")), qPrintable(text));
    // The run still counts for the result screen's banners.
    QCOMPARE(f.t.state->figures.newPersonalBest, qint16(1));
    QCOMPARE(f.t.state->figures.newLevelBest, qint16(1));

    // Nothing half-written; the run is kept with the drill's own stamp.
    const std::vector<PendingRun> kept = f.kept();
    QCOMPARE(kept.size(), std::size_t(1));
    QCOMPARE(kept[0].scoreRecord, f.scoreBytes(3, 2, 61, kDrillEnd));
    QCOMPARE(kept[0].homeRecord, f.homeBytes(3, 2, 61, kDrillEnd));

    // The damage mended, the next drill a day later appends the kept run first.
    if (damage == u"score folder") {
        QVERIFY(QDir(f.scorePath()).removeRecursively());
        writeBytes(f.scorePath(), scoresBefore);
    } else if (damage == u"home folder") {
        QVERIFY(QDir(f.homePath()).removeRecursively());
        writeBytes(f.homePath(), homeBefore);
    } else if (damage == u"home device") {
        QVERIFY(QFile::remove(f.homePath()));
        QVERIFY(QFile::rename(f.homePath() + QStringLiteral(".saved"), f.homePath()));
    } else if (damage.startsWith(u"read-only")) {
        QVERIFY(disk->setReadOnly(false));
    } else if (full) {
        QVERIFY(disk->empty());
    }
    QCOMPARE(readBytes(f.scorePath()), scoresBefore);
    QCOMPARE(readBytes(f.homePath()), homeBefore);
    f.t.clock.setNow(kNextDrillEnd);
    f.setRun(3, 2, 55);
    QVERIFY(writeScoreRecords(f.t.context));
    QCOMPARE(readBytes(f.scorePath()), scoresBefore.left(kScoreRecordLength) +
                                           f.scoreBytes(3, 2, 61, kDrillEnd) +
                                           f.scoreBytes(3, 2, 55, kNextDrillEnd));
    QCOMPARE(readBytes(f.homePath()),
             homeBefore + f.homeBytes(3, 2, 61, kDrillEnd) + f.homeBytes(3, 2, 55, kNextDrillEnd));
    // The answers too: in the log at once where its folder took them, else kept with the run and written at
    // the next start.
    QVERIFY(appendPendingRuns(config, nullptr, answerLogPart(config, kNextDrillEnd)));
    AnswerDatabase log;
    QVERIFY(log.open(answerLogPath(config.programDataFolder), AnswerDatabase::Access::Read, kNextDrillEnd));
    QCOMPARE(log.drillCount(), qint64(1));
    QCOMPARE(log.questionCount(), qint64(2));
    QVERIFY(f.kept().empty());
    QVERIFY(!QFileInfo::exists(f.t.state->config.pendingRunsFile));
}

void KeptRunsTest::keptRunIsAppendedOnce_data() {
    // What the files held of the kept run when the program was stopped before it could drop it.
    QTest::addColumn<bool>("inScores");
    QTest::addColumn<bool>("inHome");
    QTest::newRow("appended to neither") << false << false;
    QTest::newRow("appended to both, not yet dropped") << true << true;
    QTest::newRow("stopped between the two files") << true << false;
}

void KeptRunsTest::keptRunIsAppendedOnce() {
    QFETCH(bool, inScores);
    QFETCH(bool, inHome);
    Fixture f;
    const PendingRun run = f.keepOne();
    const QByteArray keptScore = run.scoreRecord;
    const QByteArray keptHome = run.homeRecord;
    writeBytes(f.scorePath(), inScores ? keptScore : QByteArray());
    writeBytes(f.homePath(), inHome ? keptHome : QByteArray());

    // At start-up, then again at the next drill's end: the run reaches each file once.
    QVERIFY(appendPendingRuns(f.t.state->config));
    QVERIFY(f.kept().empty());
    f.t.clock.setNow(kNextDrillEnd);
    f.setRun(4, 1, 50);
    QVERIFY(writeScoreRecords(f.t.context));
    QCOMPARE(readBytes(f.scorePath()), keptScore + f.scoreBytes(4, 1, 50, kNextDrillEnd));
    QCOMPARE(readBytes(f.homePath()), keptHome + f.homeBytes(4, 1, 50, kNextDrillEnd));
    QVERIFY(f.t.dialogs.messages.empty());
}

void KeptRunsTest::cutOffAppendIsCompleted_data() {
    // Records as "pupil:result" in file order; home records of another program of the suite as "other".
    QTest::addColumn<QStringList>("scores");
    QTest::addColumn<QStringList>("home");
    QTest::addColumn<QStringList>("homeAfter"); // before the next run's own home record
    const QStringList none;
    QTest::newRow("in step") << QStringList{"1:50", "2:60"} << QStringList{"1:50", "2:60"}
                             << QStringList{"1:50", "2:60"};
    QTest::newRow("last run missing")
        << QStringList{"1:50", "2:60"} << QStringList{"1:50"} << QStringList{"1:50", "2:60"};
    QTest::newRow("last run missing, other programs wrote since")
        << QStringList{"1:50", "2:60"} << QStringList{"1:50", "other", "other"}
        << QStringList{"1:50", "other", "other", "2:60"};
    QTest::newRow("the only run missing") << QStringList{"2:60"} << none << QStringList{"2:60"};
    QTest::newRow("a guest's run after the missing one")
        << QStringList{"1:50", "2:60", "4900:70"} << QStringList{"1:50"} << QStringList{"1:50", "2:60"};
    // Every run since the files were last in step, in order.
    QTest::newRow("two runs missing")
        << QStringList{"1:50", "2:60", "3:70"} << QStringList{"1:50"} << QStringList{"1:50", "2:60", "3:70"};
    QTest::newRow("runs missing, one in step after an earlier gap")
        << QStringList{"1:50", "2:60", "3:70", "4:80", "2:90"} << QStringList{"1:50", "3:70"}
        << QStringList{"1:50", "3:70", "4:80", "2:90"};
    // Never in step: where the files parted is not known, so nothing is guessed but a first run.
    QTest::newRow("two runs, none in the home file") << QStringList{"1:50", "2:60"} << none << none;
    QTest::newRow("home file without runs of this program")
        << QStringList{"1:50", "2:60"} << QStringList{"other"} << QStringList{"other"};
}

void KeptRunsTest::cutOffAppendIsCompleted() {
    QFETCH(QStringList, scores);
    QFETCH(QStringList, home);
    QFETCH(QStringList, homeAfter);
    Fixture f;
    Configuration other = f.t.state->config;
    other.programFolderName = QStringLiteral("kanji");
    // Each run a minute after the last.
    QHash<QString, QDateTime> when;
    for (const QString& run : scores)
        when.insert(run, kDrillEnd.addSecs(60 * when.size()));
    const auto scoreOf = [&](const QString& run) {
        return f.scoreBytes(run.section(u':', 0, 0).toInt(), 1, run.section(u':', 1).toInt(),
                            when.value(run));
    };
    const auto homeOf = [&](const QString& run) {
        if (run == u"other")
            return encodeHomeScoreRecord(
                makeHomeScoreRecord(other, kDrillEnd.date(), kDrillEnd.time(), 7, 1, 40));
        return f.homeBytes(run.section(u':', 0, 0).toInt(), 1, run.section(u':', 1).toInt(), when.value(run));
    };
    QByteArray scoreBytes, homeBytes, expected;
    for (const QString& run : scores)
        scoreBytes += scoreOf(run);
    for (const QString& run : home)
        homeBytes += homeOf(run);
    for (const QString& run : homeAfter)
        expected += homeOf(run);
    writeBytes(f.scorePath(), scoreBytes);
    writeBytes(f.homePath(), homeBytes);

    f.t.clock.setNow(kNextDrillEnd);
    f.setRun(5, 1, 45);
    QVERIFY(writeScoreRecords(f.t.context));
    QCOMPARE(readBytes(f.scorePath()), scoreBytes + f.scoreBytes(5, 1, 45, kNextDrillEnd));
    QCOMPARE(readBytes(f.homePath()), expected + f.homeBytes(5, 1, 45, kNextDrillEnd));
}

// A family with two suite folders: a run kept for one is never appended to the other.
void KeptRunsTest::runsOfAnotherFolderStayKept() {
    Fixture f;
    TempSuite elsewhere;
    Configuration there = f.t.state->config;
    there.programDataFolder = elsewhere.programDataFolder();
    there.commonFolder = elsewhere.commonFolder();
    const PendingRun theirs{.id = newRunId(),
                            .scoreFile = placeOfFile(elsewhere.programDataFolder() + kScoreFileName),
                            .homeFile = placeOfFile(elsewhere.commonFolder() + kHomeScoreFileName),
                            .scoreRecord = f.scoreBytes(2, 1, 90, kDrillEnd),
                            .homeRecord = f.homeBytes(2, 1, 90, kDrillEnd)};
    QString why;
    QVERIFY(keepPendingRun(f.t.state->config.pendingRunsFile, theirs, &why));

    f.setRun(3, 1, 40);
    QVERIFY(writeScoreRecords(f.t.context));
    QCOMPARE(readBytes(f.scorePath()), f.scoreBytes(3, 1, 40, kDrillEnd));
    QCOMPARE(f.kept(), std::vector<PendingRun>{theirs});

    // Their own folder takes it.
    QVERIFY(appendPendingRuns(there));
    QCOMPARE(readBytes(elsewhere.programDataFolder() + kScoreFileName), theirs.scoreRecord);
    QCOMPARE(readBytes(elsewhere.commonFolder() + kHomeScoreFileName), theirs.homeRecord);
    QVERIFY(f.kept().empty());
}

void KeptRunsTest::aLineTwiceLandsOnce_data() {
    QTest::addColumn<bool>("withIdentity"); // lines of this version; else as earlier versions kept them
    QTest::addColumn<bool>("inScores");     // the score file held the run already
    QTest::newRow("a kept run's line twice") << true << false;
    QTest::newRow("an earlier version's line twice") << false << false;
    QTest::newRow("twice, and in the score file already") << true << true;
}

// A list damaged from outside with one line written twice: the run reaches each file once.
void KeptRunsTest::aLineTwiceLandsOnce() {
    QFETCH(bool, withIdentity);
    QFETCH(bool, inScores);
    Fixture f;
    const PendingRun run = f.keepOne(withIdentity ? newRunId() : QString());
    const QByteArray line = readBytes(f.t.state->config.pendingRunsFile);
    writeBytes(f.t.state->config.pendingRunsFile, line + line);
    writeBytes(f.scorePath(), inScores ? run.scoreRecord : QByteArray());
    QCOMPARE(f.kept().size(), std::size_t(1));

    QVERIFY(appendPendingRuns(f.t.state->config));
    QCOMPARE(readBytes(f.scorePath()), run.scoreRecord);
    QCOMPARE(readBytes(f.homePath()), run.homeRecord);
    QVERIFY(!QFileInfo::exists(f.t.state->config.pendingRunsFile));
}

// A list far over what a family leaves waiting (runs of other folders pile up while a stick is lost): read
// line by line, this folder's runs land and the others stay.
void KeptRunsTest::aListOfAnySize() {
    Fixture f;
    const QString list = f.t.state->config.pendingRunsFile;
    f.keepOne();
    const QByteArray ours = readBytes(list);
    // Other folders' runs, each with a long answer set, to 17 MiB.
    QByteArray others;
    const QByteArray pad(2000, 'a');
    for (int n = 0; others.size() < 17 * 1024 * 1024; ++n)
        others +=
            QStringLiteral("{\"id\":\"other-%1\",\"scoreFile\":\"/elsewhere/%1.dat\",\"homeFile\":\"\","
                           "\"scoreRecord\":\"%2\",\"homeRecord\":\"\",\"answerLog\":\"/elsewhere/log\","
                           "\"answers\":{\"pad\":\"%3\"}}\n")
                .arg(n)
                .arg(QString::fromLatin1(f.scoreBytes(2, 1, 50, kDrillEnd).toBase64()),
                     QString::fromLatin1(pad))
                .toUtf8();
    writeBytes(list, others + ours);
    QVERIFY(readBytes(list).size() > 16 * 1024 * 1024);
    f.setRun(4, 1, 55);
    f.t.clock.setNow(kNextDrillEnd);
    QVERIFY(writeScoreRecords(f.t.context));
    QCOMPARE(readBytes(f.scorePath()),
             f.scoreBytes(4, 1, 70, kDrillEnd) + f.scoreBytes(4, 1, 55, kNextDrillEnd));
    std::vector<PendingRun> left = f.kept();
    QVERIFY(left.size() > 1000);
    QVERIFY(std::all_of(left.begin(), left.end(),
                        [](const PendingRun& run) { return run.id.startsWith(u"other-"); }));
}

void KeptRunsTest::unreadableLinesAreMovedAsideAndTold_data() {
    QTest::addColumn<QByteArray>("damage"); // lines written into the list by hand or by a failing disk
    QTest::newRow("not a run at all") << QByteArray("hello\n");
    QTest::newRow("a score record cut short")
        << QByteArray("{\"scoreFile\":\"/x/成績累積データ.dat\",\"homeFile\":\"\",\"scoreRecord\":\"AAAA\","
                      "\"homeRecord\":\"\"}\n");
    QTest::newRow("a last line cut off") << QByteArray("{\"id\":\"cut\",\"scoreFile\":\"/x/");
    QTest::newRow("two at once") << QByteArray("[1,2]\n\x81\x40\x82\n");
}

// A line that is no kept run is moved into a file beside the list at the next change of the list (never
// dropped), the runs around it land, and the family is told once how many and where.
void KeptRunsTest::unreadableLinesAreMovedAsideAndTold() {
    QFETCH(QByteArray, damage);
    Fixture f;
    const QString list = f.t.state->config.pendingRunsFile;
    f.keepOne();
    // Before the run and at the end, or only at the end for a line cut off there.
    const bool wholeLines = damage.endsWith('\n');
    writeBytes(list, (wholeLines ? damage : QByteArray()) + readBytes(list) + damage);
    const int lines = wholeLines ? 2 * static_cast<int>(damage.count('\n')) : 1;
    std::vector<PendingRun> runs;
    int unreadable = 0;
    QString why;
    QVERIFY(readPendingRuns(list, &runs, &why, &unreadable));
    QCOMPARE(runs.size(), std::size_t(1));
    QCOMPARE(unreadable, lines);
    QCOMPARE(takeUntoldUnreadableLines(list), 0); // reading moves nothing

    QVERIFY(appendPendingRuns(f.t.state->config));
    QCOMPARE(readBytes(f.scorePath()), f.scoreBytes(4, 1, 70, kDrillEnd));
    QVERIFY(!QFileInfo::exists(list));
    const QByteArray aside = readBytes(unreadableRunsFile(list));
    for (const QByteArray& line : damage.split('\n'))
        if (!line.trimmed().isEmpty())
            QCOMPARE(aside.count(line.trimmed() + '\n'), qsizetype(wholeLines ? 2 : 1));
    QCOMPARE(takeUntoldUnreadableLines(list), lines);
    QCOMPARE(takeUntoldUnreadableLines(list), 0);
}

void KeptRunsTest::runThatCannotBeKeptEndsTheProgram() {
    Fixture f;
    QVERIFY(QDir().mkpath(f.scorePath()));
    // The place for kept runs is taken by a file where its folder should be.
    writeBytes(f.userData.filePath(QStringLiteral("kept")), "not a folder");
    f.setRun(3, 1, 40);
    QVERIFY(!recordDrillResult(f.t.context, 1));
    QVERIFY(f.t.dialogs.ended);
    QCOMPARE(f.t.dialogs.messages.size(), std::size_t(1));
    QVERIFY2(f.t.dialogs.messages[0].text.startsWith(QStringLiteral("今回の成績は記録できませんでした。")),
             qPrintable(f.t.dialogs.messages[0].text));
    QCOMPARE(f.t.state->figures.newLevelBest, qint16(0));
}

QTEST_GUILESS_MAIN(KeptRunsTest)
#include "tst_kept_runs.moc"
