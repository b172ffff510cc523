#include "answers/answer_database.h"
#include "answers/fact_map.h"
#include "answers/kept_answers.h"
#include "drill_end_fixture.h"

#include "system_files.h"
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <sqlite3.h>

using namespace warizan;

// The answer log's file, its failures, and the fact map and practice sheet made from it.
class AnswersTest final : public QObject {
    Q_OBJECT
private slots:
    void stateRule_data();
    void stateRule();
    void keepsAndReadsBack();
    void migratesToTheKindOfDrill_data();
    void migratesToTheKindOfDrill();
    void failures_data();
    void failures();
    void readersRollBackACutOffWrite_data();
    void readersRollBackACutOffWrite();
    void aDrillIsWrittenOnce();
    void practiceAnswersWaitForTheLog();
    void mapMarksLevelsAndCounts();
    void weakSheet();
    void mapSpansItsAnswerDays();
};

namespace {

const QDateTime kNow(QDate(2024, 4, 10), QTime(10, 0, 5));

// "r4.5 w20" : right in 4.5 s, wrong in 20 s.
std::vector<TimedAnswer> timed(const QString& written) {
    std::vector<TimedAnswer> answers;
    for (const QString& a : written.split(u' ', Qt::SkipEmptyParts))
        answers.push_back({a.startsWith(u'r'), static_cast<qint64>(a.mid(1).toDouble() * 1000)});
    return answers;
}

DrillLog aDrill(int pupil = 3) {
    DrillRecorder recorder;
    recorder.start(pupil, 2, QDateTime(QDate(2024, 4, 10), QTime(10, 0)));
    recorder.questionShown({7, 5, 2}, 1000);
    recorder.judged(QStringLiteral("7"), QStringLiteral("2"), true, 4200);
    recorder.questionShown({3, 8, 1}, 5000);
    recorder.judged(QStringLiteral("007"), QStringLiteral("3"), false, 12000);
    recorder.questionShown({9, 2, 1}, 13000); // still on the screen when the time runs out
    return recorder.finish(kNow, 99999);
}

sqlite3* rawOpen(const QString& path) {
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    return db;
}

} // namespace

void AnswersTest::stateRule_data() {
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QString>("state");
    QTest::addColumn<qint64>("median");
    // name, answers oldest first, state, median of the last three in ms (-1: none)
    const struct {
        const char* name;
        const char* answers;
        const char* state;
        qint64 median;
    } rows[] = {
        {"none", "", "unseen", -1},
        {"three quick right", "r2 r3 r6", "known", 3000},
        {"one just over 6 s", "r2 r3 r6.001", "learning", 3000},
        {"two quick right only", "r1 r1", "learning", 1000},
        {"a wrong among the last three", "r1 w1 r1", "weak", 1000},
        {"an old wrong no longer counts", "w1 r1 r1 r1", "known", 1000},
        {"median over 15 s", "r16 r1 r15.5", "weak", 15500},
        {"median at 15 s is not weak", "r16 r1 r15", "learning", 15000},
        {"two: their mean over 15 s", "r10 r21", "weak", 15500},
        {"two: their mean under 15 s", "r10 r19", "learning", 14500},
        {"one slow answer", "r15.001", "weak", 15001},
        {"recovered after mistakes", "w3 w3 r3 r3 r3", "known", 3000},
    };
    for (const auto& row : rows)
        QTest::newRow(row.name) << QString::fromUtf8(row.answers) << QString::fromUtf8(row.state)
                                << row.median;
}

void AnswersTest::stateRule() {
    QFETCH(QString, answers);
    QFETCH(QString, state);
    QFETCH(qint64, median);
    const std::vector<TimedAnswer> list = timed(answers);
    QCOMPARE(factStateName(factState(list)), state);
    QCOMPARE(recentMedianMs(list).value_or(-1), median);
    // The map reaches the same verdict from the stored answers of one pair.
    std::vector<FactAnswer> stored;
    for (const TimedAnswer& a : list)
        stored.push_back({4, 6, a.correct, static_cast<qint32>(a.ms)});
    const FactMap map = buildFactMap(stored);
    const FactCell& cell = map.cell(4, 6);
    QCOMPARE(factStateName(cell.state), state);
    QCOMPARE(cell.answers, static_cast<int>(list.size()));
    // Weak by time alone when no answer of the last three is wrong.
    const QStringList last =
        answers.split(u' ', Qt::SkipEmptyParts).mid(std::max<qsizetype>(0, list.size() - 3));
    QCOMPARE(cell.weakByTime, state == u"weak" && !last.join(u' ').contains(u'w'));
    QCOMPARE(cell.lastAnswer, static_cast<int>(list.size()) - 1);
}

void AnswersTest::keepsAndReadsBack() {
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    QString error;
    QVERIFY2(keepDrillLog(folder, aDrill(), kNow, &error), qPrintable(error));
    QVERIFY(keepDrillLog(folder, aDrill(5), kNow, &error));
    AnswerDatabase db;
    QVERIFY(db.open(answerLogPath(folder), AnswerDatabase::Access::Read, kNow));
    QCOMPARE(db.schemaVersion(), AnswerDatabase::kSchemaVersion);
    std::vector<LoggedAnswer> answers;
    QVERIFY(db.readAnswers(3, &answers));
    QCOMPARE(answers.size(), size_t(3));
    QCOMPARE(answers[1].typedQuotient, QStringLiteral("007"));
    QCOMPARE(answers[1].question.dividend(), 25);
    QCOMPARE(answers[1].correct, 0);
    QCOMPARE(answers[1].ms, qint64(7000));
    QCOMPARE(answers[0].ms, qint64(3200));
    QCOMPARE(answers[2].correct, -1); // unanswered
    QCOMPARE(answers[2].number, 3);
    QCOMPARE(answers[0].drillStart, QDateTime(QDate(2024, 4, 10), QTime(10, 0)));
    QVERIFY(db.readAnswers(0, &answers));
    QCOMPARE(answers.size(), size_t(6));
    std::vector<FactAnswer> facts;
    QVERIFY(db.readFactAnswers(3, &facts));
    QCOMPARE(facts.size(), size_t(2)); // the unanswered question does not count
    // Never the write-ahead log: the folder may be a share on a file server.
    sqlite3* raw = rawOpen(answerLogPath(folder));
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(raw, "PRAGMA journal_mode", -1, &s, nullptr);
    QCOMPARE(sqlite3_step(s), SQLITE_ROW);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(s, 0))), QByteArray("delete"));
    sqlite3_finalize(s);
    sqlite3_close(raw);
}

void AnswersTest::migratesToTheKindOfDrill_data() {
    QTest::addColumn<int>("version");
    QTest::newRow("first schema") << 1;
    QTest::newRow("second schema") << 2;
    QTest::newRow("third, before the kind") << 3;
}

void AnswersTest::migratesToTheKindOfDrill() {
    QFETCH(int, version);
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    // A log as an older version of the program wrote it.
    sqlite3* raw = rawOpen(answerLogPath(folder));
    QCOMPARE(
        sqlite3_exec(raw,
                     "CREATE TABLE drills(id INTEGER PRIMARY KEY, pupil INTEGER NOT NULL, level INTEGER "
                     "NOT NULL, start TEXT NOT NULL, end TEXT NOT NULL, result INTEGER NOT NULL);"
                     "CREATE TABLE answers(drill INTEGER NOT NULL REFERENCES drills(id), question INTEGER "
                     "NOT NULL, dividend INTEGER NOT NULL, divisor INTEGER NOT NULL, quotient INTEGER NOT "
                     "NULL, remainder INTEGER NOT NULL, typed_quotient TEXT NOT NULL, typed_remainder "
                     "TEXT NOT NULL, correct INTEGER, ms INTEGER);"
                     "INSERT INTO drills VALUES(1, 4, 3, '2024-04-01 09:00:00', '2024-04-01 09:01:00', 60);"
                     "INSERT INTO answers VALUES(1, 1, 47, 6, 7, 5, '7', '5', 1, 2500);"
                     "PRAGMA user_version = 1;",
                     nullptr, nullptr, nullptr),
        SQLITE_OK);
    if (version >= 2)
        QCOMPARE(sqlite3_exec(raw,
                              "ALTER TABLE answers ADD COLUMN pupil INTEGER; UPDATE answers SET pupil = 4;"
                              "PRAGMA user_version = 2;",
                              nullptr, nullptr, nullptr),
                 SQLITE_OK);
    if (version >= 3)
        QCOMPARE(sqlite3_exec(raw, "ALTER TABLE drills ADD COLUMN run_id TEXT; PRAGMA user_version = 3;",
                              nullptr, nullptr, nullptr),
                 SQLITE_OK);
    sqlite3_close(raw);

    {
        // Read as it is, before any drill has brought it up to date.
        AnswerDatabase old;
        QVERIFY(old.open(answerLogPath(folder), AnswerDatabase::Access::Read, kNow));
        std::vector<FactAnswer> facts;
        QVERIFY2(old.readFactAnswers(4, &facts), qPrintable(old.error()));
        QCOMPARE(facts.size(), size_t(1));
        std::vector<LoggedAnswer> answers;
        QVERIFY2(old.readAnswers(4, &answers), qPrintable(old.error()));
        QCOMPARE(answers.size(), size_t(1));
        QCOMPARE(answers[0].kind, DrillKind::Drill);
        QCOMPARE(answers[0].result, 60);
        int level = 0;
        QVERIFY(old.readHighestLevel(4, &level));
        QCOMPARE(level, 3);
    }
    DrillLog practice = aDrill(4);
    practice.kind = DrillKind::Practice;
    practice.result = 41;
    QVERIFY(keepDrillLog(folder, practice, kNow));
    AnswerDatabase db;
    QVERIFY(db.open(answerLogPath(folder), AnswerDatabase::Access::Read, kNow));
    QCOMPARE(db.schemaVersion(), AnswerDatabase::kSchemaVersion);
    std::vector<LoggedAnswer> answers;
    QVERIFY(db.readAnswers(4, &answers));
    QCOMPARE(answers.size(), size_t(4)); // the old drill kept, the new one after it
    QCOMPARE(answers[0].question.quotient, 7);
    QCOMPARE(answers[0].ms, qint64(2500));
    QCOMPARE(answers[0].kind, DrillKind::Drill);
    QCOMPARE(answers[1].question.quotient, 7);
    QCOMPARE(answers[1].drillStart.date(), QDate(2024, 4, 10));
    QCOMPARE(answers[1].kind, DrillKind::Practice);
    QCOMPARE(answers[1].result, 41);
    QCOMPARE(answers[1].drillEnd, kNow);
    // The old answers are the pupil's in the map too, and practice answers count as answers.
    std::vector<FactAnswer> facts;
    QVERIFY(db.readFactAnswers(4, &facts));
    QCOMPARE(facts.size(), size_t(3));
    QCOMPARE(facts[0].quotient, qint8(7));
    QCOMPARE(facts[0].ms, 2500);
    // The kind goes with the drill's answers while they wait with its run, too.
    const auto kept = drillFromKeptForm(keptFormOf(practice));
    QVERIFY(kept);
    QCOMPARE(kept->kind, DrillKind::Practice);
    QCOMPARE(drillFromKeptForm(keptFormOf(aDrill()))->kind, DrillKind::Drill);
}

void AnswersTest::failures_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("kept");     // the drill lands in a usable log
    QTest::addColumn<bool>("setAside"); // the old file is renamed aside
    QTest::newRow("another copy holds the lock") << "locked" << false << false;
    QTest::newRow("not a database") << "garbage" << true << true;
    QTest::newRow("a damaged page") << "torn" << true << true;
    QTest::newRow("a folder in its place") << "folder" << false << false;
    QTest::newRow("a read-only file") << "read-only" << false << false;
    QTest::newRow("a database of a newer program") << "newer" << false << false;
}

void AnswersTest::failures() {
    QFETCH(QString, kind);
    QFETCH(bool, kept);
    QFETCH(bool, setAside);
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    const QString path = answerLogPath(folder);
    sqlite3* holder = nullptr;
    QByteArray before;
    if (kind == u"garbage") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(3000, 'x'));
    } else if (kind == u"torn") {
        QVERIFY(keepDrillLog(folder, aDrill(), kNow));
        // Overwrite the second page (a table's root) with noise, keeping the header intact.
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.size() >= 8192);
        file.seek(4096);
        file.write(QByteArray(4096, '\x5a'));
    } else if (kind == u"folder") {
        QVERIFY(QDir().mkpath(path));
    } else if (kind == u"newer") {
        sqlite3* raw = rawOpen(path);
        sqlite3_exec(raw, "PRAGMA user_version = 99", nullptr, nullptr, nullptr);
        sqlite3_close(raw);
    } else if (kind == u"read-only") {
        if (test::runningAsSuperUser())
            QSKIP("the superuser writes to read-only files");
        if (const QString why = test::cannotRunAsAnotherUser(); !why.isEmpty())
            QSKIP(qPrintable(why));
        QVERIFY(keepDrillLog(folder, aDrill(), kNow));
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    } else if (kind == u"locked") {
        QVERIFY(keepDrillLog(folder, aDrill(), kNow));
        holder = rawOpen(path);
        QCOMPARE(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    }
    {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            before = file.readAll();
    }

    AnswerDatabase db(100);
    const bool opened = db.open(path, AnswerDatabase::Access::ReadWrite, kNow) && db.writeDrill(aDrill(6));
    QCOMPARE(opened, kept);
    if (!kept)
        QVERIFY(!db.error().isEmpty());
    const QString aside = path + QStringLiteral(".damaged-20240410-100005");
    QCOMPARE(QFile::exists(aside), setAside);
    if (setAside) {
        // Kept byte for byte, and the new log holds the drill.
        QFile file(aside);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        QCOMPARE(db.setAsidePath(), aside);
        std::vector<LoggedAnswer> answers;
        QVERIFY(db.readAnswers(6, &answers));
        QCOMPARE(answers.size(), size_t(3));
    }
    if (holder) {
        sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(holder);
        // Once the other copy is done, the log is usable again and lost nothing.
        AnswerDatabase again;
        QVERIFY(again.open(path, AnswerDatabase::Access::ReadWrite, kNow));
        std::vector<LoggedAnswer> answers;
        QVERIFY(again.readAnswers(0, &answers));
        QCOMPARE(answers.size(), size_t(3));
    }
}

void AnswersTest::readersRollBackACutOffWrite_data() {
    QTest::addColumn<QString>("reader");
    QTest::addColumn<bool>("readOnly"); // the folder cannot be written when the log is read
    QTest::newRow("read in place") << "read" << false;
    QTest::newRow("a snapshot") << "snapshot" << false;
    QTest::newRow("the fact map") << "map" << false;
    QTest::newRow("read-only folder: from a copy") << "read" << true;
    QTest::newRow("read-only folder: the fact map") << "map" << true;
}

// A copy of the program killed inside the log's commit leaves a journal: whoever reads the log next rolls
// it back and reads the log as it was before that write; where the folder is read-only, from a copy, the
// log itself left as it is.
void AnswersTest::readersRollBackACutOffWrite() {
    QFETCH(QString, reader);
    QFETCH(bool, readOnly);
    test::TempSuite suite;
    std::unique_ptr<test::SmallDisk> disk;
    if (readOnly) {
        disk = std::make_unique<test::SmallDisk>(suite.programDataFolder());
        if (!disk->isMounted())
            QSKIP("a read-only file system of its own needs root");
        // The disk hides what the folder held.
        suite.writeSettings(QStringLiteral("0,0,0,0,0,0,0,0,0,0\n"));
        suite.writeDefaultLevelTable();
    }
    const QString log = answerLogPath(suite.programDataFolder());
    QTemporaryDir userData;
    const QString keptRuns = userData.filePath(QStringLiteral("kept.jsonl"));
    {
        test::TestContext t;
        QVERIFY(test::startedOn(t, suite.programFolder(), keptRuns, 5, 1, 50));
        QVERIFY(recordDrillResult(t.context, 1, answerLogPart(t.state->config, kNow, aDrill(5))));
    }
    QProcess child;
    child.start(QStringLiteral(DRILL_END_CHILD),
                {suite.programFolder(), keptRuns, QStringLiteral("inside-log-write")});
    QVERIFY(test::finishedWithin(child, 120000));
    QCOMPARE(child.exitCode(), test::kStoppedExitCode);
    const QString journal = log + QStringLiteral("-journal");
    QVERIFY(QFileInfo::exists(journal));
    const QByteArray logBefore = test::readBytes(log);
    if (readOnly)
        QVERIFY(disk->setReadOnly(true));

    if (reader == u"map") {
        FactMap map;
        QString error;
        QVERIFY2(readFactMap(suite.programDataFolder(), 5, 0, &map, &error), qPrintable(error));
        QCOMPARE(map.cell(7, 5).answers, 1);
        QCOMPARE(map.cell(3, 8).answers, 1);
    } else {
        AnswerDatabase db;
        const auto access =
            reader == u"snapshot" ? AnswerDatabase::Access::Snapshot : AnswerDatabase::Access::Read;
        QVERIFY2(db.open(log, access, kNow), qPrintable(db.error()));
        QVERIFY(db.rolledBackCutOffWrite());
        QCOMPARE(db.drillCount(), qint64(1));
        std::vector<LoggedAnswer> answers;
        QVERIFY(db.readAnswers(0, &answers));
        QCOMPARE(answers.size(), std::size_t(3));
        QVERIFY(db.quickCheck());
    }
    // Rolled back in place where the folder allows it; else nothing of the log is touched.
    QCOMPARE(QFileInfo::exists(journal), readOnly);
    if (readOnly)
        QCOMPARE(test::readBytes(log), logBefore);
}

// A drill of a run's identity goes into the log once, however often it is handed over.
void AnswersTest::aDrillIsWrittenOnce() {
    QTemporaryDir dir;
    const QString path = answerLogPath(dir.path() + u'/');
    DrillLog first = aDrill(3);
    first.id = QStringLiteral("run-1");
    DrillLog second = aDrill(4);
    second.id = QStringLiteral("run-2");
    DrillLog unnamed = aDrill(5);
    AnswerDatabase db;
    QVERIFY(db.open(path, AnswerDatabase::Access::ReadWrite, kNow));
    QVERIFY(db.writeDrills({first}));
    QVERIFY(db.writeDrills({first, second, unnamed}));
    QVERIFY(db.writeDrills({second, unnamed}));
    QCOMPARE(db.drillCount(), qint64(4)); // a drill with no identity cannot be recognised
    QVERIFY(db.holdsDrill(QStringLiteral("run-1")) && db.holdsDrill(QStringLiteral("run-2")));
    QVERIFY(!db.holdsDrill(QStringLiteral("run-3")));
    std::vector<LoggedAnswer> answers;
    QVERIFY(db.readAnswers(3, &answers));
    QCOMPARE(answers.size(), std::size_t(3));
}

// A practice sheet has no score record, yet its answers are kept until the log takes them: a log that
// cannot be written now leaves them kept, and the next practice's end brings both, each once.
void AnswersTest::practiceAnswersWaitForTheLog() {
    QTemporaryDir dir;
    Configuration config;
    config.programDataFolder = dir.path() + u'/';
    config.pendingRunsFile = dir.filePath(QStringLiteral("kept.txt"));
    const QString log = answerLogPath(config.programDataFolder);
    QVERIFY(QDir().mkdir(log)); // a folder where the log should be: it cannot be opened
    DrillLog first = aDrill();
    first.kind = DrillKind::Practice;
    QString error;
    QVERIFY2(keepPracticeAnswers(config, first, kNow, &error), qPrintable(error));
    std::vector<PendingRun> kept;
    QString why;
    QVERIFY(readPendingRuns(config.pendingRunsFile, &kept, &why));
    QCOMPARE(kept.size(), size_t(1));
    QVERIFY(!kept[0].waitsForScoreFiles());
    QCOMPARE(drillFromKeptForm(kept[0].answers)->kind, DrillKind::Practice);

    QVERIFY(QDir().rmdir(log));
    DrillLog second = aDrill();
    second.kind = DrillKind::Practice;
    second.start = second.start.addSecs(600);
    QVERIFY(keepPracticeAnswers(config, second, kNow, &error));
    QVERIFY(readPendingRuns(config.pendingRunsFile, &kept, &why));
    QCOMPARE(kept.size(), size_t(0));
    {
        // Closed before the log is removed below, which Windows refuses for an open file.
        AnswerDatabase db;
        QVERIFY(db.open(log, AnswerDatabase::Access::Read, kNow));
        QCOMPARE(db.drillCount(), qint64(2));
        std::vector<LoggedAnswer> answers;
        QVERIFY(db.readAnswers(0, &answers));
        QCOMPARE(answers.front().kind, DrillKind::Practice);
        QCOMPARE(answers.back().kind, DrillKind::Practice);
    }

    // Nowhere to keep them and no log: they are lost, and the caller hears so.
    config.pendingRunsFile.clear();
    QVERIFY(QFile::remove(log));
    QVERIFY(QDir().mkdir(log));
    QVERIFY(!keepPracticeAnswers(config, second, kNow, &error));
    QVERIFY(!error.isEmpty());
}

void AnswersTest::mapMarksLevelsAndCounts() {
    std::vector<FactAnswer> answers = {{7, 5, false, 3000}, {7, 5, true, 4000}, {9, 9, true, 1000},
                                       {2, 2, true, 1000},  {2, 2, true, 2000}, {2, 2, true, 3000}};
    const FactMap map = buildFactMap(answers, 4);
    QCOMPARE(map.cell(7, 5).answers, 2);
    QCOMPARE(map.cell(7, 5).wrong, 1);
    QCOMPARE(map.cell(7, 5).state, FactState::Weak);
    QCOMPARE(map.cell(7, 5).medianMs.value_or(-1), qint64(3500));
    QCOMPARE(map.cell(2, 2).state, FactState::Known);
    // Level 4 asks products above 30 only.
    QVERIFY(map.cell(7, 5).drawn && map.cell(9, 9).drawn);
    QVERIFY(!map.cell(2, 2).drawn && !map.cell(5, 6).drawn && map.cell(4, 8).drawn);
    QCOMPARE(map.cell(3, 3).state, FactState::Unseen);
    QCOMPARE(weakPairTexts(map), QStringList{QStringLiteral("÷5で商7")});
}

void AnswersTest::weakSheet() {
    // Weak 4x3 and 7x8, learning 6x6, known 5x5; the other 60 pairs unseen.
    std::vector<FactAnswer> answers = {{4, 3, false, 2000}, {7, 8, true, 20000}, {6, 6, true, 2000}};
    for (int k = 0; k < 3; ++k)
        answers.push_back({5, 5, true, 1000});
    RandomSource random;
    random.seed(7);
    const QList<Question> sheet = drawWeakSheet(buildFactMap(answers), 1000, random);
    QCOMPARE(sheet.size(), 1000);
    QMap<QPair<int, int>, int> drawn;
    for (int k = 0; k < sheet.size(); ++k) {
        const Question& q = sheet[k];
        QVERIFY(q.remainder >= 0 && q.remainder < q.divisor);
        if (k > 0)
            QVERIFY(!(q.quotient == sheet[k - 1].quotient && q.divisor == sheet[k - 1].divisor));
        ++drawn[{q.quotient, q.divisor}];
    }
    // Total weight 4 + 4 + 2 + 60 = 70: a weak pair about 57 times in 1000, an unseen one about 14.
    QCOMPARE(drawn.value({5, 5}), 0);
    QVERIFY2(drawn.value({4, 3}) > 35 && drawn.value({4, 3}) < 80,
             qPrintable(QString::number(drawn[{4, 3}])));
    QVERIFY(drawn.value({7, 8}) > 35 && drawn.value({7, 8}) < 80);
    QVERIFY(drawn.value({6, 6}) > 12 && drawn.value({6, 6}) < 45);
    QCOMPARE(drawn.size(), 63);

    // Nearly everything known: the known pairs come back, so a sheet never repeats one pair.
    std::vector<FactAnswer> mostlyKnown;
    for (int q = 2; q <= 9; ++q)
        for (int d = 2; d <= 9; ++d)
            for (int k = 0; k < 3; ++k)
                mostlyKnown.push_back({static_cast<qint8>(q), static_cast<qint8>(d), q != 9 || d != 9, 1000});
    const QList<Question> review = drawWeakSheet(buildFactMap(mostlyKnown), 1000, random);
    QCOMPARE(review.size(), 1000);
    const auto nines = std::count_if(review.begin(), review.end(),
                                     [](const Question& q) { return q.quotient == 9 && q.divisor == 9; });
    QVERIFY2(nines > 35 && nines < 85, qPrintable(QString::number(nines))); // 4 of 67
}

// The map names the days of the first and the last drill its answers come from; a drill with no judged
// answer, or another pupil's, does not widen the span.
void AnswersTest::mapSpansItsAnswerDays() {
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    FactMap map;
    QString error;
    QVERIFY2(readFactMap(folder, 3, 0, &map, &error), qPrintable(error));
    QVERIFY(!map.firstAnswerDay.isValid() && !map.lastAnswerDay.isValid());
    const auto drillOn = [](int pupil, QDate day, bool judged) {
        DrillRecorder recorder;
        recorder.start(pupil, 2, QDateTime(day, QTime(23, 59)));
        recorder.questionShown({7, 5, 2}, 1000);
        if (judged)
            recorder.judged(QStringLiteral("7"), QStringLiteral("2"), true, 4200);
        return recorder.finish(QDateTime(day.addDays(1), QTime(0, 1)), 99999);
    };
    for (const DrillLog& drill : {drillOn(3, QDate(2024, 4, 2), true), drillOn(3, QDate(2024, 4, 8), true),
                                  drillOn(3, QDate(2024, 4, 9), false), drillOn(5, QDate(2024, 4, 1), true)})
        QVERIFY2(keepDrillLog(folder, drill, kNow, &error), qPrintable(error));
    QVERIFY2(readFactMap(folder, 3, 0, &map, &error), qPrintable(error));
    QCOMPARE(map.firstAnswerDay, QDate(2024, 4, 2));
    QCOMPARE(map.lastAnswerDay, QDate(2024, 4, 8)); // the day the drill started, not the next
}

QTEST_GUILESS_MAIN(AnswersTest)
#include "tst_answers.moc"
