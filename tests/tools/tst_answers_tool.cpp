#include "../answers/practice_rules.h"
#include "answers/answer_database.h"
#include "system_files.h"
#include "test_support.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>
#include <map>

using namespace warizan;

// The data tool's view of the answer log, run as a real process on a real suite folder.
class AnswersToolTest final : public QObject {
    Q_OBJECT
private slots:
    void factsAgreeWithTheExportedRows();
    void factsOfALevel();
    void weakSheet();
    void practiceFollowsTheMap();
    void importTwiceIsImportOnce();
    void setAsideLogTakenBack();
    void importRefusesABadLine_data();
    void importRefusesABadLine();
    void weakSheetSaysWhatItWasMadeFrom_data();
    void weakSheetSaysWhatItWasMadeFrom();
    void pdfs();

private:
    struct Run {
        int code;
        QByteArray out;
        QByteArray err;
    };
    static Run tool(const test::TempSuite& suite, QStringList args) {
        args << QStringLiteral("--program-folder") << suite.programFolder();
        QProcess process;
        process.start(QStringLiteral(DATA_TOOL), args);
        if (!test::finishedWithin(process, 60000))
            return {-1, {}, {}};
        return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    }
    // Pupil 1 and pupil 2 ("=はなこ", a name a spreadsheet would take for a formula), forty drills of
    // questions over a few pairs, times from 1 to 20 seconds, some wrong, the last question of some drills
    // left unanswered.
    static void writeLog(test::TempSuite& suite);
};

void AnswersToolTest::writeLog(test::TempSuite& suite) {
    suite.writeRoster(QStringLiteral("1,2016,0,0,\"たろう\",0,\"\",\"\"\n"
                                     "2,2013,0,0,\"=はなこ\",0,\"\",\"\"\n"));
    QRandomGenerator random(42);
    const QList<QPair<int, int>> pairs = {{7, 5}, {3, 4}, {9, 9}, {2, 8}, {6, 7}};
    for (int d = 0; d < 40; ++d) {
        DrillRecorder recorder;
        const QDateTime start(QDate(2024, 4, 1).addDays(d / 2), QTime(9 + d % 2, 0));
        recorder.start(1 + d % 2, 2 + d % 3, start);
        qint64 ms = 0;
        for (int k = 0; k < 10; ++k) {
            const auto pair = pairs[random.bounded(pairs.size())];
            const Question q{pair.first, pair.second, random.bounded(pair.second)};
            recorder.questionShown(q, ms);
            ms += 1000 + random.bounded(19000);
            const bool right = random.bounded(5) != 0;
            recorder.judged(QString::number(right ? q.quotient : q.quotient + 1),
                            QString::number(q.remainder), right, ms);
        }
        if (d % 3 == 0)
            recorder.questionShown({4, 4, 1}, ms);
        QVERIFY(keepDrillLog(suite.programDataFolder(), recorder.finish(start.addSecs(120), 99999),
                             start.addSecs(120)));
    }
}

void AnswersToolTest::factsAgreeWithTheExportedRows() {
    test::TempSuite suite;
    writeLog(suite);
    const Run exported = tool(suite, {"export", "--answers"});
    QCOMPARE(exported.code, 0);
    QVERIFY(exported.out.startsWith("\xEF\xBB\xBF"));
    QStringList lines =
        QString::fromUtf8(exported.out.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.takeFirst(),
             QStringLiteral("pupil,name,level,drill_start,question,dividend,divisor,quotient,"
                            "remainder,typed_quotient,typed_remainder,correct,ms,kind"));
    QCOMPARE(lines.size(), 40 * 10 + 14);
    QVERIFY2(lines[11].startsWith(QStringLiteral("2,\"'=はなこ\",3,2024-04-01 10:00:00,1,")),
             qPrintable(lines[11]));
    QVERIFY2(lines[10].endsWith(QStringLiteral(",4,4,1,,,,,drill")), qPrintable(lines[10])); // unanswered

    // The state of every pair of pupil 1, worked out from the exported rows alone.
    std::map<QPair<int, int>, QList<QPair<bool, int>>> judged; // oldest first
    QString lastStart;
    for (const QString& line : lines) {
        const QStringList f = line.split(u',');
        QVERIFY(f[3] >= lastStart); // oldest drill first
        lastStart = f[3];
        QCOMPARE(f[5].toInt(), f[6].toInt() * f[7].toInt() + f[8].toInt());
        if (f[0] != u"1" || f[11].isEmpty())
            continue;
        judged[{f[7].toInt(), f[6].toInt()}].append({f[11] == u"1", f[12].toInt()});
    }
    const Run facts = tool(suite, {"facts", "--pupil", "1"});
    QCOMPARE(facts.code, 0);
    const QStringList cells = QString::fromUtf8(facts.out).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(cells.size(), 64);
    int seen = 0;
    for (const QString& cell : cells) {
        const QStringList f = cell.split(u'\t');
        QCOMPARE(f.size(), 6);
        const QList<QPair<bool, int>> all = judged[{f[0].toInt(), f[1].toInt()}];
        const QList<QPair<bool, int>> last = all.mid(std::max<qsizetype>(0, all.size() - 3));
        QString state = QStringLiteral("unseen");
        QString median;
        if (!last.isEmpty()) {
            QList<int> times;
            bool wrong = false;
            bool quick = true;
            for (const auto& a : last) {
                times << a.second;
                wrong = wrong || !a.first;
                quick = quick && a.second <= 6000;
            }
            std::sort(times.begin(), times.end());
            const int m = times.size() == 2 ? (times[0] + times[1]) / 2 : times[times.size() / 2];
            median = QString::number(m);
            state = wrong || m > 15000          ? QStringLiteral("weak")
                    : last.size() == 3 && quick ? QStringLiteral("known")
                                                : QStringLiteral("learning");
            ++seen;
        }
        int wrongs = 0;
        for (const auto& a : all)
            wrongs += a.first ? 0 : 1;
        QCOMPARE(cell, QStringList(
                           {f[0], f[1], state, QString::number(all.size()), QString::number(wrongs), median})
                           .join(u'\t'));
    }
    QCOMPARE(seen, 5);
}

void AnswersToolTest::factsOfALevel() {
    test::TempSuite suite;
    writeLog(suite);
    const Run facts = tool(suite, {"facts", "--pupil", "1", "--level", "4"});
    QCOMPARE(facts.code, 0);
    const QStringList cells = QString::fromUtf8(facts.out).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(cells.size(), 64);
    for (const QString& cell : cells) {
        const QStringList f = cell.split(u'\t');
        // Level 4 asks products above 30 only; the others are left blank.
        QCOMPARE(f[2].isEmpty(), f[0].toInt() * f[1].toInt() <= 30);
    }
    // A pupil with no answers, and a folder with no log yet: every pair unseen.
    test::TempSuite empty;
    for (const auto& [suiteUsed, pupil] :
         {std::pair<test::TempSuite*, QString>{&suite, "3"}, {&empty, "1"}}) {
        const Run none = tool(*suiteUsed, {"facts", "--pupil", pupil});
        QCOMPARE(none.code, 0);
        QCOMPARE(none.out.count("\tunseen\t0\t0\t\n"), 64);
    }
    QVERIFY(!QFile::exists(answerLogPath(empty.programDataFolder()))); // reading creates nothing
}

void AnswersToolTest::weakSheet() {
    test::TempSuite suite;
    writeLog(suite);
    const Run facts = tool(suite, {"facts", "--pupil", "1"});
    QSet<QString> drawable; // pairs not known
    for (const QString& cell : QString::fromUtf8(facts.out).split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList f = cell.split(u'\t');
        if (f[2] != u"known")
            drawable.insert(f[0] + u'/' + f[1]);
    }
    const QStringList args = {"worksheet", "--pupil", "1", "--weak", "--count", "200", "--seed", "5"};
    const Run sheet = tool(suite, args);
    QCOMPARE(sheet.code, 0);
    QCOMPARE(tool(suite, args).out, sheet.out); // the same seed, the same sheet
    const QStringList lines = QString::fromUtf8(sheet.out).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 200);
    std::map<QString, int> counts;
    QString previous;
    for (const QString& line : lines) {
        const QStringList f = line.split(u'\t'); // dividend, divisor, quotient, remainder
        const QString pair = f[2] + u'/' + f[1];
        QVERIFY(drawable.contains(pair));
        QVERIFY(pair != previous);
        QVERIFY(f[3].toInt() < f[1].toInt());
        QCOMPARE(f[0].toInt(), f[1].toInt() * f[2].toInt() + f[3].toInt());
        ++counts[pair];
        previous = pair;
    }
    QVERIFY(counts.size() > 20);                            // the unseen pairs come too
    QCOMPARE(tool(suite, {"worksheet", "--weak"}).code, 2); // whose map?
}

// The sheet `practice` prints, checked against the pupil's map as `facts` prints it and the order of the
// answers as `export --answers` gives it, for many seeds: on the highest level the pupil answered, or 1.
void AnswersToolTest::practiceFollowsTheMap() {
    test::TempSuite suite;
    writeLog(suite);
    // Pupil 5: ten pairs of level 1 known in random order, two weak, one learning, at random times.
    QRandomGenerator random(7);
    for (int d = 0; d < 6; ++d) {
        DrillRecorder recorder;
        const QDateTime start(QDate(2024, 5, 1).addDays(d), QTime(9, 0));
        recorder.start(5, 1, start);
        qint64 ms = 0;
        for (int k = 0; k < 10; ++k) {
            const int pair = random.bounded(13);
            const Question q{2 + pair % 8, 2 + pair / 8 + pair % 3, 0};
            recorder.questionShown(q, ms);
            const bool weak = pair >= 11;
            ms += pair == 10 ? 9000 : 2000;
            recorder.judged(QString::number(weak ? 1 : q.quotient), QString(), !weak, ms);
        }
        QVERIFY(keepDrillLog(suite.programDataFolder(), recorder.finish(start.addSecs(60), 60), start));
    }
    test::TempSuite empty;
    QList<int> roles; // known places of each case's first sheet
    const struct {
        test::TempSuite* suite;
        const char* pupil;
        const char* level;
    } cases[] = {{&suite, "1", "4"}, {&suite, "5", "1"}, {&suite, "7", "1"}, {&empty, "1", "1"}};
    for (const auto& c : cases) {
        const QString pupil = QString::fromLatin1(c.pupil);
        std::map<test::FactPair, test::PairFacts> drawn;
        const Run facts =
            tool(*c.suite, {"facts", "--pupil", pupil, "--level", QString::fromLatin1(c.level)});
        QCOMPARE(facts.code, 0);
        for (const QString& cell : QString::fromUtf8(facts.out).split(u'\n', Qt::SkipEmptyParts)) {
            const QStringList f = cell.split(u'\t');
            if (!f[2].isEmpty())
                drawn[{f[0].toInt(), f[1].toInt()}] = {f[2], -1};
        }
        // Recency: the place of each pair's latest judged answer.
        const Run exported = tool(*c.suite, {"export", "--answers"});
        int place = 0;
        for (const QString& line :
             QString::fromUtf8(exported.out.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
            const QStringList f = line.split(u',');
            if (f[0] != pupil || f[11].isEmpty())
                continue;
            const auto it = drawn.find({f[7].toInt(), f[6].toInt()});
            if (it != drawn.end())
                it->second.lastAnswer = place;
            ++place;
        }
        QSet<QByteArray> sheets;
        for (int seed = 0; seed < 12; ++seed) {
            const QStringList args = {"practice", "--pupil", pupil, "--seed", QString::number(seed)};
            const Run sheet = tool(*c.suite, args);
            QCOMPARE(sheet.code, 0);
            std::vector<test::SheetLine> lines;
            int n = 0;
            for (const QString& line : QString::fromUtf8(sheet.out).split(u'\n', Qt::SkipEmptyParts)) {
                const QStringList f = line.split(u'\t');
                QCOMPARE(f.size(), 6);
                QCOMPARE(f[0].toInt(), ++n);
                lines.push_back({f[1].toInt(), f[2].toInt(), f[3].toInt(), f[4].toInt(), f[5]});
            }
            const QString broken = test::practiceRuleBreak(lines, QByteArray(c.level) != "1", drawn);
            QVERIFY2(broken.isEmpty(),
                     qPrintable(pupil + u' ' + broken + u'\n' + QString::fromUtf8(sheet.out)));
            sheets.insert(sheet.out);
            if (seed == 0)
                QCOMPARE(tool(*c.suite, args).out, sheet.out); // the same seed, the same sheet
        }
        QVERIFY(sheets.size() > 3);
        roles << QString::fromUtf8(*sheets.begin()).count(QStringLiteral("\tknown\n"));
    }
    // Pupil 5 knows enough pairs for six known places; the others do not.
    QCOMPARE(roles, QList<int>({0, 6, 0, 0}));
    QVERIFY(!QFile::exists(answerLogPath(empty.programDataFolder()))); // reading creates nothing
    QCOMPARE(tool(suite, {"practice"}).code, 2);                       // whose sheet?
}

namespace {

// The bytes of every file of the folders the score files live in, by name.
std::map<QString, QByteArray> scoreFiles(const test::TempSuite& suite) {
    std::map<QString, QByteArray> files;
    for (const QString& folder : {suite.programDataFolder(), suite.commonFolder()})
        for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::Files))
            if (!info.fileName().startsWith(QStringLiteral("解答記録"))) {
                QFile file(info.filePath());
                file.open(QIODevice::ReadOnly);
                files[info.filePath()] = file.readAll();
            }
    return files;
}

} // namespace

// A log exported, then brought into another folder: the same export; brought in again: still the same.
void AnswersToolTest::importTwiceIsImportOnce() {
    test::TempSuite from;
    writeLog(from);
    DrillLog practice;
    practice.pupil = 1;
    practice.level = 4;
    practice.kind = DrillKind::Practice;
    practice.start = QDateTime(QDate(2024, 6, 1), QTime(8, 0));
    practice.end = practice.start.addSecs(30);
    practice.result = 30;
    practice.questions.push_back({1, {7, 5, 3}, QStringLiteral("7"), QStringLiteral("3"), true, 4100});
    practice.questions.push_back({2, {9, 9, 0}, QStringLiteral("8"), QStringLiteral("0"), false, 9000});
    QVERIFY(keepDrillLog(from.programDataFolder(), practice, practice.end));
    const Run original = tool(from, {"export", "--answers"});
    QCOMPARE(original.code, 0);
    QVERIFY(original.out.contains(",practice\r\n"));
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("answers.csv"));
    QFile file(csv);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(original.out);
    file.close();

    test::TempSuite to;
    to.writeRoster(QStringLiteral("1,2016,0,0,\"たろう\",0,\"\",\"\"\n"
                                  "2,2013,0,0,\"=はなこ\",0,\"\",\"\"\n"));
    const std::map<QString, QByteArray> before = scoreFiles(to);
    const Run first = tool(to, {"import", "--answers", csv});
    QVERIFY2(first.code == 0, first.err.constData());
    QVERIFY2(first.out.contains("41 回分"), first.out.constData());
    const QByteArray once = tool(to, {"export", "--answers"}).out;
    QCOMPARE(once, original.out);
    const Run second = tool(to, {"import", "--answers", csv});
    QCOMPARE(second.code, 0);
    QVERIFY2(second.out.contains("0 回分"), second.out.constData());
    QCOMPARE(tool(to, {"export", "--answers"}).out, once);
    QVERIFY(scoreFiles(to) == before); // the score files are never touched

    // A file from before the kind: every drill is a drill, and the same drills are still found again.
    QString withoutKind = QString::fromUtf8(original.out);
    withoutKind.replace(QStringLiteral(",kind\r\n"), QStringLiteral("\r\n"));
    withoutKind.replace(QStringLiteral(",drill\r\n"), QStringLiteral("\r\n"));
    withoutKind.replace(QStringLiteral(",practice\r\n"), QStringLiteral("\r\n"));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(withoutKind.toUtf8());
    file.close();
    test::TempSuite old;
    QCOMPARE(tool(old, {"import", "--answers", csv}).code, 0);
    const QByteArray oldExport = tool(old, {"export", "--answers"}).out;
    QCOMPARE(oldExport.count(",practice\r\n"), 0);
    QCOMPARE(oldExport.count("\r\n"), original.out.count("\r\n"));
    QVERIFY(tool(to, {"import", "--answers", csv}).out.contains("1 回分")); // only the practice sheet is new
}

// What a log set aside as damaged still holds goes back into the new log: exported from the set-aside file,
// then imported.
void AnswersToolTest::setAsideLogTakenBack() {
    test::TempSuite suite;
    writeLog(suite);
    const QByteArray original = tool(suite, {"export", "--answers"}).out;
    const QString log = answerLogPath(suite.programDataFolder());
    const QString setAside = log + QStringLiteral(".damaged-20240410-100000");
    QVERIFY(QFile::rename(log, setAside));
    QCOMPARE(tool(suite, {"export", "--log", setAside}).code, 2);         // only with --answers
    QCOMPARE(tool(suite, {"export", "--answers", "--log", log}).code, 1); // no such file
    const Run held = tool(suite, {"export", "--answers", "--log", setAside});
    QCOMPARE(held.code, 0);
    QCOMPARE(held.out, original);
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("held.csv"));
    QFile file(csv);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(held.out);
    file.close();
    QCOMPARE(tool(suite, {"import", "--answers", csv}).code, 0);
    QCOMPARE(tool(suite, {"export", "--answers"}).out, original);
}

void AnswersToolTest::importRefusesABadLine_data() {
    QTest::addColumn<int>("line");     // of the file, the header being line 1
    QTest::addColumn<QString>("from"); // what is changed on that line
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("where"); // as the refusal names it
    QTest::newRow("a divisor that is no number") << 3 << ",35,7,5,0,"
                                                 << ",35,x,5,0,"
                                                 << "3 行目、7 列目（divisor）";
    QTest::newRow("a dividend that does not add up") << 4 << ",35,7,5,0,"
                                                     << ",36,7,5,0,"
                                                     << "4 行目、6 列目（dividend）";
    QTest::newRow("a remainder of the divisor") << 2 << ",35,7,5,0,"
                                                << ",42,7,5,7,"
                                                << "2 行目、9 列目（remainder）";
    QTest::newRow("correct neither 1 nor 0") << 3 << ",1,1500,"
                                             << ",2,1500,"
                                             << "3 行目、12 列目（correct）";
    QTest::newRow("an unknown kind") << 4 << ",drill"
                                     << ",test"
                                     << "4 行目、14 列目（kind）";
    QTest::newRow("a date that is none") << 2 << "2024-04-01 09:00:00"
                                         << "2024-04-31 09:00:00"
                                         << "2 行目、4 列目（drill_start）";
    QTest::newRow("a field missing") << 3 << ",1,1500,drill"
                                     << ",1500,drill"
                                     << "3 行目:";
    QTest::newRow("a quote never closed") << 4 << ",\"7\","
                                          << ",\"7,"
                                          << "4 行目:";
    QTest::newRow("a header without ms") << 1 << ",ms,"
                                         << ",msec,"
                                         << "1 行目、13 列目（msec）";
}

// A bad line refuses the whole file, naming its line and column, and the log stays as it was.
void AnswersToolTest::importRefusesABadLine() {
    QFETCH(int, line);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, where);
    QStringList lines = {
        QStringLiteral("\uFEFFpupil,name,level,drill_start,question,dividend,divisor,quotient,remainder,"
                       "typed_quotient,typed_remainder,correct,ms,kind"),
        QStringLiteral("1,たろう,2,2024-04-01 09:00:00,1,35,7,5,0,5,0,1,1500,drill"),
        QStringLiteral("1,たろう,2,2024-04-01 09:00:00,2,35,7,5,0,5,0,1,1500,drill"),
        QStringLiteral("2,,3,2024-04-02 09:00:00,1,35,7,5,0,\"7\",0,0,2500,drill"),
    };
    QString& changed = lines[line - 1];
    QVERIFY(changed.contains(from));
    changed.replace(changed.indexOf(from), from.size(), to);
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("answers.csv"));
    QFile file(csv);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write((lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
    file.close();
    test::TempSuite suite;
    writeLog(suite);
    const QByteArray before = tool(suite, {"export", "--answers"}).out;
    const Run refused = tool(suite, {"import", "--answers", csv});
    QCOMPARE(refused.code, 1);
    QVERIFY2(QString::fromUtf8(refused.err).contains(where), refused.err.constData());
    QVERIFY(refused.err.contains("何も取り込んでいません"));
    QCOMPARE(tool(suite, {"export", "--answers"}).out, before);
}

void AnswersToolTest::weakSheetSaysWhatItWasMadeFrom_data() {
    QTest::addColumn<int>("weakPairs"); // pairs the pupil answered wrong
    QTest::newRow("no answers yet") << 0;
    QTest::newRow("one weak pair") << 1;
    QTest::newRow("forty weak pairs, over several lines") << 40;
}

// The practice sheet's line under its title, as printed: a pupil without answers gets a sheet of all pairs
// and is told so; the weak pairs are listed, none of them cut at a line's end.
void AnswersToolTest::weakSheetSaysWhatItWasMadeFrom() {
    QFETCH(int, weakPairs);
    if (const QString why = test::cannotRunLinuxTools(); !why.isEmpty())
        QSKIP(qPrintable(why));
    test::TempSuite suite;
    suite.writeRoster(QStringLiteral("1,2016,0,0,\"たろう\",0,\"\",\"\"\n"));
    QStringList pairs;
    if (weakPairs > 0) {
        DrillRecorder recorder;
        const QDateTime start(QDate(2024, 4, 1), QTime(9, 0));
        recorder.start(1, 4, start);
        for (int k = 0; k < weakPairs; ++k) {
            const Question q{2 + k / 8, 2 + k % 8, 1};
            recorder.questionShown(q, k * 2000);
            recorder.judged(QStringLiteral("0"), QStringLiteral("0"), false, k * 2000 + 1500);
            pairs << QStringLiteral("÷%1で商%2").arg(q.divisor).arg(q.quotient);
        }
        QVERIFY(keepDrillLog(suite.programDataFolder(), recorder.finish(start.addSecs(300), 99999),
                             start.addSecs(300)));
    }
    const QString pdf = suite.root() + QStringLiteral("/sheet.pdf");
    QCOMPARE(tool(suite, {"worksheet", "--pupil", "1", "--weak", "--seed", "3", "--pdf", pdf}).code, 0);
    if (qEnvironmentVariableIsSet("WARIZAN_KEEP_PDF"))
        QFile::copy(pdf, qEnvironmentVariable("WARIZAN_KEEP_PDF") +
                             QStringLiteral("/weak_sheet_%1.pdf").arg(weakPairs));
    QProcess text;
    text.start(QStringLiteral("pdftotext"),
               {QStringLiteral("-l"), QStringLiteral("1"), pdf, QStringLiteral("-")});
    QVERIFY(text.waitForFinished(60000));
    const QString page = QString::fromUtf8(text.readAllStandardOutput());
    const qsizetype name = page.indexOf(QStringLiteral("なまえ"));
    QVERIFY(name > 0);
    const QString note = page.left(name);
    if (weakPairs == 0) {
        QVERIFY2(note.contains(QStringLiteral("まだ答えの記録がないので、すべての組から")), qPrintable(note));
        QVERIFY2(!note.contains(QStringLiteral("苦手な組を多めに")), qPrintable(note));
        return;
    }
    QVERIFY2(note.contains(QStringLiteral("苦手な組を多めにして作りました")), qPrintable(note));
    QVERIFY(pairs.size() == weakPairs);
    for (const QString& pair : pairs)
        QVERIFY2(note.contains(pair), qPrintable(pair + u'\n' + note));
    if (weakPairs > 20)
        QVERIFY2(note.count(u'\n') > 2, qPrintable(note)); // the list does run over several lines
}

void AnswersToolTest::pdfs() {
    test::TempSuite suite;
    writeLog(suite);
    const QString map = suite.root() + QStringLiteral("/map.pdf");
    const QString sheet = suite.root() + QStringLiteral("/sheet.pdf");
    QCOMPARE(tool(suite, {"facts", "--pupil", "1", "--level", "3", "--pdf", map}).code, 0);
    QCOMPARE(tool(suite, {"worksheet", "--pupil", "1", "--weak", "--seed", "1", "--pdf", sheet}).code, 0);
    for (const QString& path : {map, sheet})
        QVERIFY(test::readBytes(path).startsWith("%PDF"));
    if (qEnvironmentVariableIsSet("WARIZAN_KEEP_PDF")) {
        QFile::copy(map, qEnvironmentVariable("WARIZAN_KEEP_PDF") + QStringLiteral("/facts.pdf"));
        QFile::copy(sheet, qEnvironmentVariable("WARIZAN_KEEP_PDF") + QStringLiteral("/weak_sheet.pdf"));
    }
}

QTEST_GUILESS_MAIN(AnswersToolTest)
#include "tst_answers_tool.moc"
