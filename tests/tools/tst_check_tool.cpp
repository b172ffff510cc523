#include "answers/answer_database.h"
#include "answers/kept_answers.h"
#include "records/pending_runs.h"
#include "records/score_record.h"
#include "startup/configuration.h"
#include "system_files.h"
#include "test_support.h"

#include <QProcess>
#include <QtTest>

using namespace warizan;

// What the data tool's check tells of the damage a family's folders can come to: a commit of the answer log
// cut off by a kill, set-aside logs, the kept-runs list and its unreadable lines, and the two score files
// out of step. Run as a real process, with a user data folder of its own.
class CheckToolTest final : public QObject {
    Q_OBJECT
private slots:
    void aCutOffWriteIsNoDamage();
    void setAsideLogsAreNamed();
    void keptRunsAndTheirUnreadableLines();
    void theScoreFilesAreComparedRunByRun();

private:
    struct Run {
        int code;
        QString out;
    };
    // The tool on `suite`, its user data folder (where the runs are kept) `userData`.
    static Run tool(const test::TempSuite& suite, const QString& userData, QStringList args) {
        args << QStringLiteral("--program-folder") << suite.programFolder();
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("WARIZAN_DATA_HOME"), userData);
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(DATA_TOOL), args);
        if (!test::finishedWithin(process, 120000))
            return {-1, {}};
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput())};
    }
    static QString keptRunsOf(const QString& userData) {
        return userData + QStringLiteral("/warizan/保存待ちの成績.jsonl");
    }
};

namespace {

const QDateTime kNow(QDate(2024, 4, 10), QTime(10, 0, 5));

void writeRoster(test::TempSuite& suite) {
    suite.writeRoster(
        QStringLiteral("1,2016,0,0,\"たろう\",0,\"\",\"\"\n4,2013,0,0,\"はなこ\",0,\"\",\"\"\n"));
}

DrillLog aDrill(int pupil, const QDateTime& end) {
    DrillRecorder recorder;
    recorder.start(pupil, 2, end.addSecs(-60));
    recorder.questionShown({7, 5, 2}, 0);
    recorder.judged(QStringLiteral("7"), QStringLiteral("2"), true, 3000);
    return recorder.finish(end, 60);
}

} // namespace

// A copy of the program killed inside the log's commit: check reads the log as it was before that write
// and calls nothing damaged; the drill's answers are waiting, kept.
void CheckToolTest::aCutOffWriteIsNoDamage() {
    test::TempSuite suite;
    writeRoster(suite);
    QTemporaryDir userData;
    QVERIFY(keepDrillLog(suite.programDataFolder(), aDrill(1, kNow.addSecs(-600)), kNow));
    QProcess child;
    child.start(QStringLiteral(DRILL_END_CHILD),
                {suite.programFolder(), keptRunsOf(userData.path()), QStringLiteral("inside-log-write")});
    QVERIFY(test::finishedWithin(child, 120000));
    QCOMPARE(child.exitCode(), 42);
    const QString log = answerLogPath(suite.programDataFolder());
    QVERIFY(QFileInfo::exists(log + QStringLiteral("-journal")));

    const Run run = tool(suite, userData.path(), {QStringLiteral("check")});
    QVERIFY2(!run.out.contains(QStringLiteral("を読めません")) && !run.out.contains(QStringLiteral("壊れ")) &&
                 !run.out.contains(QStringLiteral("作り直します")),
             qPrintable(run.out));
    QVERIFY2(
        run.out.contains(QStringLiteral("とちゅうで止まった書き込みがあったので、その前の状態に戻しました")),
        qPrintable(run.out));
    QVERIFY2(run.out.contains(QStringLiteral("解答記録.db: 1 問")), qPrintable(run.out));
    QVERIFY2(run.out.contains(QStringLiteral("解答記録に書くのを待っている練習の答えが 1 回分")),
             qPrintable(run.out));
    // Nothing else is wrong: once the answers are in the log, all is sound.
    QCOMPARE(run.code, 1);
    test::TestContext t;
    ConfigurationError error;
    QVERIFY(StartUpConfiguration(*t.state, suite.programFolder(), &error));
    t.state->config.pendingRunsFile = keptRunsOf(userData.path());
    QVERIFY(appendPendingRuns(t.state->config, nullptr, answerLogPart(t.state->config, kNow)));
    const Run after = tool(suite, userData.path(), {QStringLiteral("check")});
    QVERIFY2(after.code == 0, qPrintable(after.out));
}

// Each log set aside as damaged is named, with when it was set aside and how many drills SQLite can still
// read from it (which the fact map no longer shows, and says so); the set-aside file stays as it is.
void CheckToolTest::setAsideLogsAreNamed() {
    test::TempSuite suite;
    writeRoster(suite);
    QTemporaryDir userData;
    const QString log = answerLogPath(suite.programDataFolder());
    QVERIFY(keepDrillLog(suite.programDataFolder(), aDrill(1, kNow.addDays(-3)), kNow));
    QVERIFY(keepDrillLog(suite.programDataFolder(), aDrill(1, kNow.addDays(-2)), kNow));
    const QString readable = log + QStringLiteral(".damaged-20240409-083000");
    QVERIFY(QFile::rename(log, readable));
    const QString garbage = log + QStringLiteral(".damaged-20240410-101500");
    {
        QFile file(garbage);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(5000, 'x'));
    }
    QVERIFY(keepDrillLog(suite.programDataFolder(), aDrill(1, kNow), kNow));
    const QByteArray asideBefore = test::readBytes(readable);

    const Run run = tool(suite, userData.path(), {QStringLiteral("check")});
    QCOMPARE(run.code, 1);
    QVERIFY2(run.out.contains(QStringLiteral("%1: 2024/04/09 8:30 にこわれていたので別名にした解答記録です"
                                             "（練習 2 回分の答えが読めます）")
                                  .arg(QFileInfo(readable).fileName())),
             qPrintable(run.out));
    QVERIFY2(run.out.contains(QStringLiteral("%1: 2024/04/10 10:15 にこわれていたので別名にした解答記録です"
                                             "（SQLite では読めません）")
                                  .arg(QFileInfo(garbage).fileName())),
             qPrintable(run.out));
    QCOMPARE(test::readBytes(readable), asideBefore);

    if (const QString why = test::cannotRunLinuxTools(); !why.isEmpty())
        QSKIP(qPrintable(why));
    const QString pdf = suite.root() + QStringLiteral("/map.pdf");
    QCOMPARE(tool(suite, userData.path(), {"facts", "--pupil", "1", "--pdf", pdf}).code, 0);
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    QVERIFY(text.waitForFinished(60000));
    const QString page = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY2(
        page.contains(QStringLiteral("こわれて別名で取っておいた解答記録の答えは、この表に入っていません")),
        qPrintable(page));
}

// Kept runs waiting are told; a line of the list that is no run is told, then, once an append has moved it
// beside the list, told as moved there.
void CheckToolTest::keptRunsAndTheirUnreadableLines() {
    test::TempSuite suite;
    writeRoster(suite);
    QTemporaryDir userData;
    const QString list = keptRunsOf(userData.path());
    QVERIFY(QDir().mkpath(QFileInfo(list).absolutePath()));
    {
        QFile file(list);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\"scoreFile\":\"/x\",\"scoreRecord\":\"AAAA\"}\n");
    }
    Run run = tool(suite, userData.path(), {QStringLiteral("check")});
    QVERIFY2(run.out.contains(QStringLiteral("%1: 読めない行が 1 行あります").arg(list)),
             qPrintable(run.out));

    QCOMPARE(tool(suite, userData.path(), {"append", "--pupil", "1", "--level", "1", "--result", "50"}).code,
             0);
    run = tool(suite, userData.path(), {QStringLiteral("check")});
    QVERIFY2(!run.out.contains(QStringLiteral("読めない行が")), qPrintable(run.out));
    QVERIFY2(run.out.contains(QStringLiteral("%1: 保存待ちの成績から読めなかった 1 行が移してあります")
                                  .arg(unreadableRunsFile(list))),
             qPrintable(run.out));
}

// Check compares the two score files over the count's window and names every run the home file lacks and
// every home record without its run; the next append completes the runs since they were last in step.
void CheckToolTest::theScoreFilesAreComparedRunByRun() {
    test::TempSuite suite;
    writeRoster(suite);
    QTemporaryDir userData;
    Configuration config;
    config.programFolderName = QStringLiteral("drill");
    config.schoolCode = QStringLiteral("12345");
    QByteArray scores, home;
    // Runs of pupils 1 to 4, a minute apart; the home file lacks the second and the fourth, and holds one
    // more that no run of the score file is.
    for (int pupil = 1; pupil <= 4; ++pupil) {
        const QTime time(9, pupil);
        scores += encodeScoreRecord(makeScoreRecord(config, kNow.date(), time, pupil, 1, 40 + pupil));
        if (pupil % 2 == 1)
            home +=
                encodeHomeScoreRecord(makeHomeScoreRecord(config, kNow.date(), time, pupil, 1, 40 + pupil));
    }
    home += encodeHomeScoreRecord(makeHomeScoreRecord(config, kNow.date(), QTime(8, 0), 7, 1, 99));
    const auto write = [](const QString& path, const QByteArray& bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    write(suite.programDataFolder() + kScoreFileName, scores);
    write(suite.commonFolder() + kHomeScoreFileName, home);

    Run run = tool(suite, userData.path(), {QStringLiteral("check")});
    QCOMPARE(run.code, 1);
    QVERIFY2(run.out.contains(QStringLiteral("家庭用にない練習 2 回、成績ファイルにない記録 1 件")),
             qPrintable(run.out));
    QVERIFY2(run.out.contains(
                 QStringLiteral("に練習（2024/04/10 9:02:00、番号 2、レベル 1、42 秒）の記録がありません"
                                "（書き足されません）")),
             qPrintable(run.out));
    QVERIFY2(run.out.contains(
                 QStringLiteral("に練習（2024/04/10 9:04:00、番号 4、レベル 1、44 秒）の記録がありません"
                                "（次に記録するときに書き足されます）")),
             qPrintable(run.out));
    QVERIFY2(run.out.contains(
                 QStringLiteral("の記録（2024/04/10 8:00:00、番号 7、レベル 1、99 秒）に当たる練習が")),
             qPrintable(run.out));

    QCOMPARE(tool(suite, userData.path(), {"append", "--pupil", "1", "--level", "2", "--result", "50"}).code,
             0);
    run = tool(suite, userData.path(), {QStringLiteral("check")});
    QVERIFY2(run.out.contains(QStringLiteral("家庭用にない練習 1 回、成績ファイルにない記録 1 件")),
             qPrintable(run.out));
    QVERIFY2(!run.out.contains(QStringLiteral("番号 4、レベル 1")), qPrintable(run.out));
}

QTEST_GUILESS_MAIN(CheckToolTest)
#include "tst_check_tool.moc"
