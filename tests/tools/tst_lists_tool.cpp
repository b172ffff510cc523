#include "records/score_record.h"
#include "system_files.h"
#include "test_support.h"

#include <QFile>
#include <QProcess>
#include <QtTest>

using namespace warizan;

// The data tool's ranking and list commands as scripts use them: real processes on a suite folder with a
// family and its runs, printing the level menu's lines.
class ListsToolTest final : public QObject {
    Q_OBJECT
private slots:
    void printsTheMenusLines_data();
    void printsTheMenusLines();
    void refusesBadArguments_data();
    void refusesBadArguments();
    void reportHoldsTheFiguresBlock();
};

namespace {

struct Run {
    int code;
    QString out;
    QString err;
};

Run tool(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(DATA_TOOL), args);
    process.waitForFinished(60000);
    if (process.state() != QProcess::NotRunning)
        return {-1, {}, {}};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// The family in roster order 2, 1, 3, 4, and its runs (school year 2024); with `ownerless`, a run filed
// under pupil 0 too.
void writeFamily(test::TempSuite& suite, bool ownerless = false) {
    suite.writeRoster(QStringLiteral("2,2012,0,0,\"はなこ\",0,\"\",\"\"\n"
                                     "1,2016,0,0,\"たろう\",0,\"\",\"\"\n"
                                     "3,2010,0,0,\"じろうきちべえ\",0,\"\",\"\"\n"
                                     "4,1980,0,0,\"先生\",0,\"\",\"\"\n"));
    QStringList runs = {"2024-04-02 10:00:00 2 1 30", "2024-04-03 10:00:00 3 1 45",
                        "2024-04-08 08:00:00 2 2 99999", "2024-04-10 09:05:03 1 1 30",
                        "2024-04-10 09:30:00 4 2 99998"};
    if (ownerless)
        runs.append(QStringLiteral("2024-03-01 10:00:00 0 1 50"));
    QFile file(suite.programDataFolder() + kScoreFileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    Configuration config;
    for (const QString& run : runs) {
        const QStringList f = run.split(u' ');
        file.write(encodeScoreRecord(makeScoreRecord(
            config, QDate::fromString(f[0], Qt::ISODate), QTime::fromString(f[1], QStringLiteral("HH:mm:ss")),
            static_cast<qint16>(f[2].toInt()), static_cast<qint16>(f[3].toInt()), f[4].toInt())));
    }
}

} // namespace

void ListsToolTest::printsTheMenusLines_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("out");
    QTest::newRow("best times") << QStringList{"ranking", "--level", "1", "--mode", "time", "--pupil", "1"}
                                << " 1⑥はなこ　　    30 　\n 1●たろう　　    30 ●\n 3Ⅱじろうきち    45 　\n"
                                   "--　先生　　　------ 　\n";
    QTest::newRow("points today, no working pupil")
        << QStringList{"ranking", "--level", "1", "--mode", "points", "--order", "2"}
        << " 1②たろう　　 26/   26\n";
    QTest::newRow("a filter with a half-width digit")
        << QStringList{"ranking", "--level", "1", "--mode", "time", "--filter", "中2"}
        << " 3Ⅱじろうきち    45 　\n";
    QTest::newRow("today's runs") << QStringList{"list", "today", "--pupil", "4"}
                                  << "1\t  30秒 09:05②たろう　　②26\n2\t　　× 09:30●先生　　　●\n";
    QTest::newRow("this week in points")
        << QStringList{"list", "period", "--period", "1", "--mode", "points"}
        << "1\t   26 04/10②たろう　　②30秒\n2\t　　×  04/08⑥はなこ　　⑥\n2\t　　×  04/10　先生　　　　\n";
    // Runs filed under pupil 0 belong to nobody: without --pupil nobody is marked.
    QTest::newRow("a year, no working pupil")
        << QStringList{"list", "period", "--period", "4"}
        << "1\t  30秒 04/02⑥はなこ　　⑥26\n1\t  45秒 04/03ⅡじろうきちⅡ17\n1\t  30秒 04/10②たろう　　②26\n"
           "1\t  50秒 03/01　　　　　　14\n2\t　　× 04/08⑥はなこ　　⑥\n2\t　　× 04/10　先生　　　　\n";
    QTest::newRow("own times") << QStringList{"list", "personal", "--pupil", "2"}
                               << "1\t2024/04/02 10:00:00  30秒\n2\t2024/04/08 8:00:00　　× \n";
}

void ListsToolTest::printsTheMenusLines() {
    QFETCH(QStringList, args);
    QFETCH(QString, out);
    test::TempSuite suite;
    writeFamily(suite, true);
    const Run run = tool(args << "--program-folder" << suite.programFolder() << "--today"
                              << "2024-04-10");
    QVERIFY2(run.code == 0, qPrintable(run.err));
    QCOMPARE(run.out, out);
}

void ListsToolTest::refusesBadArguments_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("said");
    QTest::newRow("level without a column")
        << QStringList{"ranking", "--level", "5", "--mode", "time"} << "--level";
    QTest::newRow("unknown mode") << QStringList{"ranking", "--level", "1", "--mode", "fast"} << "--mode";
    QTest::newRow("unknown filter") << QStringList{"ranking", "--level",  "1",   "--mode",
                                                   "time",    "--filter", "大人"}
                                    << "中学生全体";
    QTest::newRow("personal without a pupil") << QStringList{"list", "personal"} << "--pupil";
    QTest::newRow("unknown list") << QStringList{"list", "week"} << "today";
    QTest::newRow("no list named") << QStringList{"list"} << "today|period|personal";
    QTest::newRow("period out of range") << QStringList{"list", "period", "--period", "6"} << "--period";
    QTest::newRow("report on a level the content lacks")
        << QStringList{"report", "--pupil", "2", "--levels", "1,9", "--pdf", "r.pdf"} << "--levels";
    QTest::newRow("report without a file") << QStringList{"report", "--pupil", "2"} << "--pdf";
}

void ListsToolTest::refusesBadArguments() {
    QFETCH(QStringList, args);
    QFETCH(QString, said);
    test::TempSuite suite;
    writeFamily(suite);
    const Run run = tool(args << "--program-folder" << suite.programFolder());
    QCOMPARE(run.code, 2);
    QVERIFY2(run.err.contains(said), qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
}

void ListsToolTest::reportHoldsTheFiguresBlock() {
    test::TempSuite suite;
    writeFamily(suite);
    const QString pdf = suite.root() + "/はなこ.pdf";
    const Run run = tool({"report", "--pupil", "2", "--levels", "1,2", "--pdf", pdf, "--program-folder",
                          suite.programFolder(), "--today", "2024-04-10"});
    QVERIFY2(run.code == 0, qPrintable(run.err));
    if (const QString why = test::cannotRunLinuxTools(); !why.isEmpty())
        QSKIP(qPrintable(why));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {"-layout", pdf, "-"});
    QVERIFY(text.waitForFinished(60000));
    // Blanks are laid out anew by the extraction: compare the words of each line.
    const auto words = [](QString s) { return s.replace(QChar(0x3000), u' ').simplified(); };
    const QString page = words(QString::fromUtf8(text.readAllStandardOutput()));
    const QStringList expected{"はなこ",
                               "あまりのあるわり算 あまりなし",
                               "回数 1回",
                               "順位 1位",
                               "最高 30秒 / 30秒",
                               "平均 30秒 / 35秒",
                               "獲得ポイント 26点",
                               "/ 23点",
                               "(全平均)",
                               "あまりのあるわり算 あまりその１",
                               "回数 0回",
                               "順位 --",
                               "最高 / --"};
    for (const QString& line : expected)
        QVERIFY2(page.contains(words(line)), qPrintable(line + "\n" + page));
    // No figure made of the markers of "no time", and a place carries no mark.
    QVERIFY2(!page.contains("9999"), qPrintable(page));
    QVERIFY2(!page.contains(QRegularExpression(QStringLiteral("[●①-⑥Ⅰ-Ⅲ]位"))), qPrintable(page));
}

QTEST_GUILESS_MAIN(ListsToolTest)
#include "tst_lists_tool.moc"
