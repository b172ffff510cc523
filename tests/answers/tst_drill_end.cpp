#include "answers/answer_database.h"
#include "answers/kept_answers.h"
#include "drill_end_fixture.h"
#include "records/pending_runs.h"
#include "records/score_record.h"

#include <QProcess>
#include <QtTest>

using namespace warizan;
using namespace warizan::test;

// A drill's end against what a family's machine does to it: the program stopped dead between any two of its
// steps (a real copy of the program, stopped at a named step), and the answer log held by another program.
// Whatever happens, the run reaches both score files once and the answers reach the log once, in order,
// at the next drill's end or the next start.
class DrillEndTest final : public QObject {
    Q_OBJECT
private slots:
    void stoppedAtAStep_data();
    void stoppedAtAStep();
    void logHeldByAnotherProgram_data();
    void logHeldByAnotherProgram();
};

namespace {

const QDateTime kNextDrillEnd(QDate(2024, 4, 10), QTime(10, 20, 0));

// A family's suite and the user's own data folder, where the runs are kept.
struct Family {
    TempSuite suite;
    QTemporaryDir userData;
    QString keptRuns() const { return userData.filePath(QStringLiteral("warizan/kept.jsonl")); }
    QString log() const { return answerLogPath(suite.programDataFolder()); }
    QString scores() const { return suite.programDataFolder() + kScoreFileName; }
    QString home() const { return suite.commonFolder() + kHomeScoreFileName; }
};

// Another drill of the family: pupil `pupil` on level 3, one question, ended at `end`.
DrillLog drillOf(int pupil, const QDateTime& end) {
    DrillRecorder recorder;
    recorder.start(pupil, 3, end.addSecs(-70));
    recorder.questionShown({6, 4, 3}, 0);
    recorder.judged(QStringLiteral("6"), QStringLiteral("3"), true, 2500);
    return recorder.finish(end, 70);
}

// Ends a drill of `pupil` in this process, as the program does.
bool endDrill(Family& f, TestContext& t, int pupil, const QDateTime& end) {
    t.clock.setNow(end);
    if (!startedOn(t, f.suite.programFolder(), f.keptRuns(), pupil, 3, 70))
        return false;
    return recordDrillResult(t.context, 3, answerLogPart(t.state->config, end, drillOf(pupil, end)));
}

// Starts the program on the family, as far as it brings what was kept to the files.
void startProgram(Family& f, TestContext& t) {
    QVERIFY(startedOn(t, f.suite.programFolder(), f.keptRuns(), 1, 1, 0));
    appendPendingRuns(t.state->config, nullptr, answerLogPart(t.state->config, t.clock.now()));
}

QList<int> pupilsOf(const QByteArray& bytes, int recordLength) {
    QList<int> pupils;
    for (qsizetype at = 0; at + recordLength <= bytes.size(); at += recordLength)
        pupils << (recordLength == kScoreRecordLength ? decodeScoreRecord(bytes.constData() + at).pupil
                                                      : decodeHomeScoreRecord(bytes.constData() + at).pupil);
    return pupils;
}

// The drills of the log as "pupil:questions", in the order written.
QStringList drillsInLog(const QString& log) {
    AnswerDatabase db;
    std::vector<LoggedAnswer> answers;
    if (!db.open(log, AnswerDatabase::Access::Read, QDateTime::currentDateTime()) ||
        !db.readAnswers(0, &answers))
        return {QStringLiteral("unreadable: ") + db.error()};
    QStringList drills;
    int count = 0;
    for (std::size_t k = 0; k < answers.size(); ++k) {
        ++count;
        if (k + 1 == answers.size() || answers[k + 1].number == 1) {
            drills << QStringLiteral("%1:%2").arg(answers[k].pupil).arg(count);
            count = 0;
        }
    }
    return drills;
}

// Runs the kept drill's end in a real copy of the program, stopped at `step`.
void runStoppedCopy(const Family& f, const QString& step) {
    QProcess child;
    child.start(QStringLiteral(DRILL_END_CHILD), {f.suite.programFolder(), f.keptRuns(), step});
    QVERIFY(finishedWithin(child, 120000));
    QVERIFY2(child.exitStatus() == QProcess::NormalExit &&
                 child.exitCode() == (step == u"none" ? 0 : kStoppedExitCode),
             child.readAllStandardError().constData());
}

} // namespace

void DrillEndTest::stoppedAtAStep_data() {
    QTest::addColumn<QString>("step");
    QTest::addColumn<bool>("nextIsStart"); // what comes next: the program's start, or another drill's end
    for (const char* step : {"kept", "scores", "log-begun", "inside-log-write", "log", "removed", "none"})
        for (bool start : {true, false})
            QTest::addRow("stopped at %s, then %s", step, start ? "a start" : "a drill's end")
                << QString::fromLatin1(step) << start;
}

void DrillEndTest::stoppedAtAStep() {
    QFETCH(QString, step);
    QFETCH(bool, nextIsStart);
    Family f;
    runStoppedCopy(f, step);
    if (QTest::currentTestFailed())
        return;
    if (step == u"inside-log-write") {
        // The commit was cut off in the file: its journal is left, and a reader rolls it back and reads
        // the log as it was before that write (it was empty).
        QVERIFY(QFileInfo::exists(f.log() + QStringLiteral("-journal")));
        AnswerDatabase db;
        QVERIFY2(db.open(f.log(), AnswerDatabase::Access::Read, kNextDrillEnd), qPrintable(db.error()));
        QVERIFY(db.rolledBackCutOffWrite());
        QCOMPARE(db.drillCount(), qint64(0));
    }

    TestContext t;
    QStringList drills{QStringLiteral("4:3")};
    QList<int> runs{kKeptPupil};
    if (nextIsStart) {
        startProgram(f, t);
    } else {
        QVERIFY(endDrill(f, t, 5, kNextDrillEnd));
        drills << QStringLiteral("5:1");
        runs << 5;
    }
    QVERIFY(t.dialogs.messages.empty());
    QCOMPARE(pupilsOf(readBytes(f.scores()), kScoreRecordLength), runs);
    QCOMPARE(pupilsOf(readBytes(f.home()), kHomeScoreRecordLength), runs);
    QCOMPARE(drillsInLog(f.log()), drills);
    QVERIFY(!QFileInfo::exists(f.keptRuns()));
    // The kept run keeps the drill's own stamp.
    const ScoreRecord kept = decodeScoreRecords(readBytes(f.scores())).front();
    QCOMPARE(dateFromValue(kept.date), kKeptDrillEnd.date());
    QCOMPARE(clockFromValue(kept.clockTime), kKeptDrillEnd.time());
    QCOMPARE(kept.result, kKeptResult);

    // Another start finds nothing left to do.
    TestContext again;
    startProgram(f, again);
    QCOMPARE(pupilsOf(readBytes(f.scores()), kScoreRecordLength), runs);
    QCOMPARE(drillsInLog(f.log()), drills);
}

void DrillEndTest::logHeldByAnotherProgram_data() {
    QTest::addColumn<QString>("holder");
    QTest::newRow("a reader in the middle of its reading") << "reader";
    QTest::newRow("another program writing") << "writer";
}

// Two drills end while another program holds the log: their runs go to the score files at once, their
// answers wait, kept, without a word to the child; once the log is free the next start writes them, in
// order.
void DrillEndTest::logHeldByAnotherProgram() {
    QFETCH(QString, holder);
    Family f;
    {
        TestContext first;
        QVERIFY(endDrill(f, first, 1, kKeptDrillEnd.addSecs(-600)));
    }
    QProcess holding;
    holding.start(QStringLiteral(ANSWER_LOG_HOLDER), {f.log(), holder});
    QVERIFY(holding.waitForReadyRead(60000));
    QCOMPARE(holding.readLine().trimmed(), QByteArray("held"));

    TestContext t;
    QVERIFY(endDrill(f, t, 5, kKeptDrillEnd));
    TestContext second;
    QVERIFY(endDrill(f, second, 6, kNextDrillEnd));
    QVERIFY(t.dialogs.messages.empty() && second.dialogs.messages.empty());
    QCOMPARE(pupilsOf(readBytes(f.scores()), kScoreRecordLength), (QList<int>{1, 5, 6}));
    std::vector<PendingRun> kept;
    QString why;
    QVERIFY(readPendingRuns(f.keptRuns(), &kept, &why));
    QCOMPARE(kept.size(), std::size_t(2));
    for (const PendingRun& run : kept)
        QVERIFY(run.waitsForAnswerLog() && !run.waitsForScoreFiles());

    holding.closeWriteChannel();
    QVERIFY(finishedWithin(holding, 60000));
    QCOMPARE(drillsInLog(f.log()), QStringList{QStringLiteral("1:1")});
    TestContext next;
    startProgram(f, next);
    QCOMPARE(drillsInLog(f.log()),
             (QStringList{QStringLiteral("1:1"), QStringLiteral("5:1"), QStringLiteral("6:1")}));
    QCOMPARE(pupilsOf(readBytes(f.scores()), kScoreRecordLength), (QList<int>{1, 5, 6}));
    QVERIFY(!QFileInfo::exists(f.keptRuns()));
}

QTEST_GUILESS_MAIN(DrillEndTest)
#include "tst_drill_end.moc"
