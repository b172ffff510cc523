#include "test_support.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

using namespace warizan;

// The data tool as parents and scripts use it: a real process on a real suite folder.
class DataToolTest final : public QObject {
    Q_OBJECT
private slots:
    void configPrintsTheStartUpConfiguration();
    void configErrorNamesTheFile();
    void appendedRunsAreCounted();
    void pupilsListsTheFamily_data();
    void pupilsListsTheFamily();
    void exportWritesEveryRecord();
    void checkReportsProblems();
    void refusesBadOptions_data();
    void refusesBadOptions();
    void helpMatchesTheReadme();

private:
    struct Run {
        int code;
        QByteArray out;
        QByteArray err;
    };
    static Run tool(const QStringList& args);
    static QStringList withFolder(const test::TempSuite& suite, QStringList args) {
        return args << QStringLiteral("--program-folder") << suite.programFolder();
    }
    static void writeRoster(test::TempSuite& suite) {
        suite.writeRoster(QStringLiteral("1,2016,0,0,\"たろう\",0,\"\",\"\"\n"
                                         "2,2013,0,0,\"はなこ\",0,\"\",\"\"\n"
                                         "3,2017,0,0,\"じろう\",2,\"\",\"\"\n"));
    }
};

DataToolTest::Run DataToolTest::tool(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(DATA_TOOL), args);
    if (!test::finishedWithin(process, 60000))
        return {-1, {}, {}};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

void DataToolTest::configPrintsTheStartUpConfiguration() {
    test::TempSuite suite(1);
    const Run run = tool(withFolder(suite, {"config"}) << "--program-folder" << suite.programFolder() + "/");
    QCOMPARE(run.code, 0);
    const QJsonObject o = QJsonDocument::fromJson(run.out).object();
    QCOMPARE(o["programFolder"].toString(), suite.programFolder());
    QCOMPARE(o["programFolderName"].toString(), QStringLiteral("drill"));
    QCOMPARE(o["layoutMode"].toInt(), 1);
    QCOMPARE(o["commonFolder"].toString(), suite.programFolder() + "/../files/");
    QCOMPARE(o["programDataFolder"].toString(), suite.programFolder() + "/");
    QCOMPARE(o["soundFolder"].toString(), suite.programFolder() + "/../files/../files/");
    QCOMPARE(o["schoolCode"].toString(), QStringLiteral("12345"));
    QCOMPARE(o["schoolName"].toString(), QStringLiteral("テスト家"));
    QCOMPARE(o["schoolYearStartMonth"].toInt(), 4);
    QCOMPARE(o["showInactivePupils"].toInt(), 0);
    QCOMPARE(o["contentHeading"].toString(), QStringLiteral("あまりのあるわり算"));
    const QJsonArray levels = o["levels"].toArray();
    QCOMPARE(levels.size(), 5);
    QCOMPARE(levels[2].toObject()["level"].toInt(), 2);
    QCOMPARE(levels[2].toObject()["levelGoal"].toInt(), 180);
    QCOMPARE(levels[2].toObject()["levelQuotaDays"].toInt(), 30);
    const QJsonObject sounds = o["sounds"].toObject();
    QCOMPARE(sounds.keys().size(), 4);
    QCOMPARE(sounds["正解音2"].toArray(), QJsonArray({"seikai1", "seikai2"}));
}

void DataToolTest::configErrorNamesTheFile() {
    test::TempSuite suite;
    suite.writeLevelTable("1,2,3\n");
    const Run run = tool(withFolder(suite, {"config"}));
    QVERIFY(run.code != 0);
    QVERIFY2(QString::fromUtf8(run.err).contains("タイム回数データ.txt"), run.err.constData());
    QVERIFY(run.out.isEmpty());
}

void DataToolTest::appendedRunsAreCounted() {
    test::TempSuite suite;
    QCOMPARE(tool(withFolder(suite, {"append", "--pupil", "7", "--level", "2", "--result", "90", "--today",
                                     "2024-05-01", "--now", "10:30:00"}))
                 .code,
             0);
    QCOMPARE(tool(withFolder(suite, {"append", "--pupil", "7", "--level", "2", "--result", "99999", "--today",
                                     "2024-04-30"}))
                 .code,
             0);
    QCOMPARE(test::readBytes(suite.programDataFolder() + "成績累積データ.dat").size(), 2 * 44);
    QCOMPARE(test::readBytes(suite.commonFolder() + "成績累積データ家庭用.dat").size(), 2 * 66);

    const Run run = tool(withFolder(suite, {"figures", "--today", "2024-05-01"}));
    QCOMPARE(run.code, 0);
    const QJsonObject o = QJsonDocument::fromJson(run.out).object();
    QCOMPARE(o["loadedRecordCount"].toInt(), 2);
    QCOMPARE(o["levelBestResult"].toObject(), QJsonObject({{"2", 90}}));
    const QJsonArray rows = o["figures"].toArray();
    QCOMPARE(rows.size(), 1);
    const QJsonObject row = rows[0].toObject();
    QCOMPARE(row["pupil"].toInt(), 7);
    QCOMPARE(row["level"].toInt(), 2);
    QCOMPARE(row["todayCount"].toInt(), 1);
    QCOMPARE(row["totalCount"].toInt(), 1); // the run that timed out is no counted run
    QCOMPARE(row["bestResult"].toInt(), 90);
    QCOMPARE(row["todayPoints"].toInt(), 11); // goal 180: Int((90/180)^3 x 50 + 5)
    QCOMPARE(row["recentCount"].toInt(), 1);
}

void DataToolTest::pupilsListsTheFamily_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("defaults: points, everyone")
        << QStringList{}
        << QStringList{"－－－－－－", "小5 はなこ　　　  　/       ", "小2 たろう　　　  　/       "};
    QTest::newRow("runs, third grade only") << QStringList{"--mode", "0", "--filter", "小２"}
                                            << QStringList{"－－－－－－", "小2 たろう　　　     /     　"};
}

void DataToolTest::pupilsListsTheFamily() {
    QFETCH(QStringList, options);
    QFETCH(QStringList, lines);
    test::TempSuite suite;
    writeRoster(suite);
    const Run run = tool(withFolder(suite, QStringList{"pupils", "--today", "2024-05-01"} + options));
    QCOMPARE(run.code, 0);
    QCOMPARE(QString::fromUtf8(run.out).split(u'\n', Qt::SkipEmptyParts), lines);
}

void DataToolTest::exportWritesEveryRecord() {
    test::TempSuite suite;
    writeRoster(suite);
    QCOMPARE(tool(withFolder(suite, {"append", "--pupil", "2", "--level", "1", "--result", "30", "--today",
                                     "2024-05-01", "--now", "08:15:00"}))
                 .code,
             0);
    const Run run = tool(withFolder(suite, {"export"}));
    QCOMPARE(run.code, 0);
    QVERIFY(run.out.startsWith("\xEF\xBB\xBF")); // a BOM, so spreadsheets read the Japanese right
    QCOMPARE(QString::fromUtf8(run.out.mid(3)),
             QStringLiteral("日付,時刻,番号,名前,レベル,レベル名,結果,ポイント\r\n"
                            "2024-05-01,08:15:00,2,はなこ,1,あまりなし,30,26\r\n"));
}

void DataToolTest::checkReportsProblems() {
    test::TempSuite suite;
    writeRoster(suite);
    QCOMPARE(tool(withFolder(suite, {"check"})).code, 0);

    suite.writeRoster(
        "1,2016,0,0,\"a\",0,\"\",\"\"\n1,2016,0,0,\"b\",0,\"\",\"\"\n6000,2016,0,0,\"c\",0,\"\",\"\"\n"
        "7,70000,0,0,\"d\",0,\"\",\"\"\n");
    QFile scores(suite.programDataFolder() + "成績累積データ.dat");
    QVERIFY(scores.open(QIODevice::WriteOnly));
    QByteArray record(44, '\0');
    record[16] = char(0x88); // pupil 5000 + 0x100: outside the tables
    record[17] = char(0x14);
    scores.write(record + QByteArray(3, 'x'));
    scores.close();
    const QByteArray before = test::readBytes(scores.fileName());

    const Run run = tool(withFolder(suite, {"check"}));
    QCOMPARE(run.code, 1);
    const QString report = QString::fromUtf8(run.out);
    QVERIFY2(report.contains("番号 1 が2回以上"), qPrintable(report));
    QVERIFY2(report.contains("6000"), qPrintable(report));
    QVERIFY2(report.contains("番号 7「d」の生まれ年 70000"), qPrintable(report)); // a year the list cannot hold
    QVERIFY2(report.contains("3 バイトの書きかけ"), qPrintable(report));
    QVERIFY2(report.contains("1 件目の 番号 5256"), qPrintable(report));
    QCOMPARE(test::readBytes(scores.fileName()), before); // it changes nothing
}

void DataToolTest::refusesBadOptions_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("named"); // what the message must name
    const QString folder = QStringLiteral("--program-folder=/nonexistent");
    QTest::newRow("no command") << QStringList{} << "使い方";
    QTest::newRow("unknown command") << QStringList{"delete"} << "delete";
    QTest::newRow("unknown option") << QStringList{"config", "--colour", "red"} << "--colour";
    QTest::newRow("option without value") << QStringList{"config", "--program-folder"} << "--program-folder";
    QTest::newRow("required option missing") << QStringList{"append", folder, "--level", "1"} << "--pupil";
    QTest::newRow("stray argument") << QStringList{"check", folder, "now"} << "now";
    QTest::newRow("pupil out of range")
        << QStringList{"append", "--pupil", "5001", "--level", "1", "--result", "3", folder} << "--pupil";
    QTest::newRow("mode out of range") << QStringList{"pupils", "--mode", "4", folder} << "--mode";
    QTest::newRow("day before the first day of the files")
        << QStringList{"figures", folder, "--today", "1899-12-29"} << "--today";
    QTest::newRow("no such time of day")
        << QStringList{"append", folder, "--pupil", "1", "--level", "1", "--result", "3", "--now", "24:00:00"}
        << "--now";
}

void DataToolTest::refusesBadOptions() {
    QFETCH(QStringList, args);
    QFETCH(QString, named);
    const Run run = tool(args);
    QCOMPARE(run.code, 2);
    QVERIFY2(QString::fromUtf8(run.err).contains(named), run.err.constData());
    QVERIFY(run.out.isEmpty());
}

// The help of the tool and of each command comes from the command table; the README's table of the data
// tool must show each command exactly as its help does.
void DataToolTest::helpMatchesTheReadme() {
    const Run help = tool({"--help"});
    QCOMPARE(help.code, 0);
    // A "|" inside a table cell is escaped with a backslash, also within backticks.
    const QString readme = QString::fromUtf8(test::readBytes(QStringLiteral(SOURCE_DIR "/README.md")))
                               .replace(QStringLiteral("\\|"), QStringLiteral("|"));
    const QString list = QString::fromUtf8(help.out);
    const QStringList lines = list.section(QStringLiteral("コマンド:\n"), 1)
                                  .section(QStringLiteral("\n\n"), 0, 0)
                                  .split(u'\n', Qt::SkipEmptyParts);
    QVERIFY(lines.size() >= 6);
    for (const QString& line : lines) {
        const QString name = line.trimmed().section(u' ', 0, 0);
        const Run one = tool({name, "--help"});
        QCOMPARE(one.code, 0);
        const QString usage = QString::fromUtf8(one.out).section(u'\n', 0, 0);
        QVERIFY2(usage.startsWith(QStringLiteral("使い方: warizan-data ") + name), qPrintable(usage));
        const QString synopsis = usage.section(QStringLiteral("warizan-data "), 1);
        QVERIFY2(readme.contains(u'`' + synopsis + u'`'), qPrintable(synopsis));
    }
    // The default display mode of the pupil list is said the same way in both.
    QVERIFY(QString::fromUtf8(tool({"pupils", "--help"}).out).contains(QStringLiteral("省略すると 1")));
    QVERIFY(readme.contains(QStringLiteral("1 points today / in all (the default)")));
}

QTEST_GUILESS_MAIN(DataToolTest)
#include "tst_data_tool.moc"
