#include "records/pending_runs.h"
#include "records/score_record.h"
#include "system_files.h"
#include "test_support.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
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
    void damagedFolders_data();
    void damagedFolders();

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
    QCOMPARE(o["programFolder"].toString(), QDir::toNativeSeparators(suite.programFolder()));
    QCOMPARE(o["programFolderName"].toString(), QStringLiteral("drill"));
    QCOMPARE(o["layoutMode"].toInt(), 1);
    QCOMPARE(o["commonFolder"].toString(), QDir::toNativeSeparators(suite.programFolder() + "/../files/"));
    QCOMPARE(o["programDataFolder"].toString(), QDir::toNativeSeparators(suite.programFolder() + "/"));
    QCOMPARE(o["soundFolder"].toString(),
             QDir::toNativeSeparators(suite.programFolder() + "/../files/../files/"));
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
    QVERIFY2(report.contains("番号 7「d」の生まれ年 70000"),
             qPrintable(report)); // a year the list cannot hold
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

namespace {

// Every entry under `root` with what it is: a regular file by its contents and permissions, a link by its
// target, anything else by its kind. Two snapshots are equal when no command changed the folder.
QStringList snapshot(const QString& root) {
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        QString what = QString::number(int(info.permissions()), 16);
        if (info.isSymLink())
            what += QStringLiteral(" link ") + info.symLinkTarget();
        else if (info.isFile())
            what +=
                u' ' + QString::fromLatin1(
                           QCryptographicHash::hash(test::readBytes(path), QCryptographicHash::Sha1).toHex());
        else
            what += info.isDir() ? QStringLiteral(" folder") : QStringLiteral(" special");
        entries << path + u' ' + what;
    }
    entries.sort();
    return entries;
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray scoreBytes(int pupil, qint32 result) {
    ScoreRecord record;
    record.date = dateValue(QDate(2024, 5, 1));
    record.clockTime = 0.5;
    record.pupil = qint16(pupil);
    record.level = 1;
    record.result = result;
    return encodeScoreRecord(record);
}

} // namespace

// Data folders as families and schools damage them: every command ends in time, says in Japanese what is
// wrong and where, exits as a script can rely on, and changes no file.
void DataToolTest::damagedFolders_data() {
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("words"); // in the output or the messages
    QTest::addColumn<QString>("absent");    // never in either
    const QStringList day{"--today", "2024-05-01"};
    const QStringList run{"append", "--pupil", "1", "--level", "1", "--result", "30"};
    const auto row = [](const char* name) -> QTestData& { return QTest::newRow(name); };

    row("score file is a pipe: check")
        << "score fifo" << QStringList{"check"} << 1
        << QStringList{"成績累積データ.dat", "ふつうのファイルではありません"} << "";
    row("score file is a pipe: figures") << "score fifo" << (QStringList{"figures"} + day) << 1
                                         << QStringList{"成績累積データ.dat", "ふつうのファイル"} << "";
    row("score file is a pipe: export") << "score fifo" << QStringList{"export"} << 1
                                        << QStringList{"成績累積データ.dat", "ふつうのファイル"} << "";
    row("score file links to /dev/zero: figures")
        << "score zero" << (QStringList{"figures"} + day) << 1 << QStringList{"パイプや装置"} << "";
    row("score file links to /dev/zero: export")
        << "score zero" << QStringList{"export"} << 1 << QStringList{"パイプや装置"} << "";
    row("score file links to /dev/null: check") << "score null" << QStringList{"check"} << 1
                                                << QStringList{"成績累積データ.dat", "パイプや装置"} << "";
    row("score file links to /dev/null: append")
        << "score null" << run << 1 << QStringList{"成績ファイルを開けません", "パイプや装置"} << "";
    row("score file is a folder: figures") << "score folder" << (QStringList{"figures"} + day) << 1
                                           << QStringList{"成績累積データ.dat", "フォルダ"} << "";
    row("settings are a pipe") << "settings fifo" << QStringList{"config"} << 1
                               << QStringList{"設定.txt", "ふつうのファイル"} << "";
    row("roster is a pipe: check") << "roster fifo" << QStringList{"check"} << 1
                                   << QStringList{"生徒用名簿.txt", "ふつうのファイル"} << "";
    row("roster is a pipe: pupils") << "roster fifo" << (QStringList{"pupils"} + day) << 1
                                    << QStringList{"名簿", "ふつうのファイル"} << "";
    row("roster is a pipe: export") << "roster fifo" << QStringList{"export"} << 1
                                    << QStringList{"名簿", "ふつうのファイル"} << "日付,";
    row("common data beyond the size limit")
        << "common huge" << QStringList{"config"} << 1 << QStringList{"共通データ.txt", "大きすぎます"} << "";
    row("10 MB of commas in the common data") << "common commas" << QStringList{"check"} << 1
                                              << QStringList{"共通データ.txt（1 行目）", "1 から 12"} << "";
    row("negative result: figures") << "negative" << (QStringList{"figures"} + day) << 0
                                    << QStringList{"\"loadedRecordCount\": 1", "\"todayPoints\": 55"}
                                    << "2147483647";
    row("negative result: check") << "negative" << QStringList{"check"} << 1
                                  << QStringList{"2 件目の結果 -2147483648 が 0 より小さい"} << "";
    row("all-zero records: check") << "zeros" << QStringList{"check"} << 1
                                   << QStringList{"2 件目は中身がすべて 0"} << "";
    row("read-only folder: check") << "read-only" << QStringList{"check"} << 1
                                   << QStringList{"成績累積データ.dat に書き込めません", "許可"} << "";
    row("read-only folder: figures") << "read-only" << (QStringList{"figures"} + day) << 0
                                     << QStringList{"\"loadedRecordCount\": 1"} << "";
    row("read-only folder: append writes neither file")
        << "read-only" << run << 1 << QStringList{"成績ファイルを開けません", "許可"} << "";
    row("home file is a folder: append writes neither file")
        << "home folder" << run << 1 << QStringList{"家庭用成績ファイル", "フォルダ"} << "";
    row("home file links to /dev/null: append")
        << "home null" << run << 1 << QStringList{"家庭用成績ファイル", "パイプや装置"} << "";
    row("UTF-16 settings and common data") << "utf16 start-up" << QStringList{"config"} << 0
                                           << QStringList{"テスト家", "\"layoutMode\": 0"} << "";
    row("UTF-16 time table") << "utf16 levels" << QStringList{"config"} << 0
                             << QStringList{"\"levelGoal\": 180"} << "";
    row("UTF-16 roster") << "utf16 roster" << (QStringList{"pupils"} + day) << 0
                         << QStringList{"小2 たろう", "小5 はなこ"} << "";
    row("roster in no known encoding")
        << "roster junk" << QStringList{"check"} << 1 << QStringList{"生徒用名簿.txt", "文字コード"} << "";
    row("lone quote in the roster: check") << "roster quote" << QStringList{"check"} << 1
                                           << QStringList{"生徒用名簿.txt（2 行目）", "引用符"} << "";
    row("field missing in the roster: pupils waits, then names the line")
        << "roster short" << (QStringList{"pupils"} + day) << 1
        << QStringList{"5 秒待って", "名簿表示3ファイルの終わりを越えて読もうとしました62", "（2 行目）"}
        << "";
    row("full-width digits in the roster")
        << "roster full-width" << (QStringList{"pupils"} + day) << 0 << QStringList{"小2 たろう"} << "";
    row("sound table with no group") << "sound empty" << QStringList{"check"} << 1
                                     << QStringList{"新音ファイル.txt", "音の組が一つもありません"} << "";
    row("name that a spreadsheet would run")
        << "formula name" << QStringList{"export"} << 0 << QStringList{"\"'=1+2\""} << ",=1+2";
    row("emoji at the end of the name column")
        << "emoji name" << (QStringList{"pupils"} + day) << 0 << QStringList{"たろうじろう"} << "\uFFFD";
    row("empty roster: check") << "roster empty" << QStringList{"check"} << 1
                               << QStringList{"生徒用名簿.txt は空です"} << "";
    row("roster cut inside a character: check")
        << "roster cut" << QStringList{"check"} << 1
        << QStringList{"生徒用名簿.txt（3 行目）", "とちゅうで切れています"} << "文字コード";
    row("a run kept for later: check") << "kept run" << QStringList{"check"} << 1
                                       << QStringList{"記録を待っている練習が 1 回分あります"} << "";
    row("home file a run behind: check")
        << "home behind" << QStringList{"check"} << 1
        << QStringList{"成績ファイルと家庭用成績ファイルがそろっていません", "2024/05/01 12:00:00、番号 2"}
        << "";
    row("unknown grade filter") << "" << QStringList{"pupils", "--filter", "小7"} << 2
                                << QStringList{"--filter", "小学生全体"} << "";
}

void DataToolTest::damagedFolders() {
    QFETCH(QString, damage);
    QFETCH(QStringList, command);
    QFETCH(int, code);
    QFETCH(QStringList, words);
    QFETCH(QString, absent);
    if (const QString why = test::cannotRunLinuxTools(); !why.isEmpty())
        QSKIP(qPrintable(why));
    const bool special = damage.endsWith(u" fifo") || damage.endsWith(u" zero") || damage.endsWith(u" null");
    if (const QString why = test::cannotMakeSpecialFiles(); special && !why.isEmpty())
        QSKIP(qPrintable(why));
    if (const QString why = test::cannotRunAsAnotherUser(); damage == u"read-only" && !why.isEmpty())
        QSKIP(qPrintable(why));
    test::TempSuite suite;
    writeRoster(suite);
    const QString scores = suite.programDataFolder() + "成績累積データ.dat";
    const QString home = suite.commonFolder() + "成績累積データ家庭用.dat";
    const QString roster = suite.commonFolder() + "生徒用名簿.txt";
    writeBytes(scores, scoreBytes(1, 60));
    writeBytes(home, QByteArray(66, ' '));
    // The user's own data folder, where runs wait that the score files could not take.
    const QString userData = suite.root() + "/user-data";
    const QString familyRoster =
        QStringLiteral("1,2016,0,0,\"たろう\",0,\"\",\"\"\n2,2013,0,0,\"はなこ\",0,\"\",\"\"\n");
    const auto replaceBy = [](const QString& path, const QString& kind) {
        QFile::remove(path);
        if (kind == "fifo")
            QVERIFY(test::makeFifo(path));
        else if (kind == "folder")
            QVERIFY(QDir().mkpath(path));
        else
            QVERIFY(QFile::link(kind, path));
    };
    QStringList prefix; // how the command is started
    if (damage == "score fifo")
        replaceBy(scores, "fifo");
    else if (damage == "score zero")
        replaceBy(scores, "/dev/zero");
    else if (damage == "score null")
        replaceBy(scores, "/dev/null");
    else if (damage == "score folder")
        replaceBy(scores, "folder");
    else if (damage == "settings fifo")
        replaceBy(suite.programFolder() + "/設定.txt", "fifo");
    else if (damage == "roster fifo")
        replaceBy(roster, "fifo");
    else if (damage == "common huge") {
        QFile file(suite.commonFolder() + "共通データ.txt");
        QVERIFY(file.open(QIODevice::Append) && file.resize(17 * 1024 * 1024));
    } else if (damage == "common commas")
        writeBytes(suite.commonFolder() + "共通データ.txt", QByteArray(10 * 1000 * 1000, ','));
    else if (damage == "negative")
        writeBytes(scores, scoreBytes(1, 0) + scoreBytes(1, std::numeric_limits<qint32>::min()));
    else if (damage == "zeros")
        writeBytes(scores, scoreBytes(1, 60) + QByteArray(3 * 44, '\0'));
    else if (damage == "read-only") {
        // As a user who may read the folders but not write them.
        QVERIFY(QFile::setPermissions(suite.root(), QFile::permissions(suite.root()) | QFile::ReadOther |
                                                        QFile::ExeOther | QFile::ReadGroup |
                                                        QFile::ExeGroup));
        if (test::runningAsSuperUser())
            prefix = QStringList{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
        else
            for (const QString& folder : {suite.programDataFolder(), suite.commonFolder()})
                QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    } else if (damage == "home folder")
        replaceBy(home, "folder");
    else if (damage == "home null")
        replaceBy(home, "/dev/null");
    else if (damage == "utf16 start-up") {
        test::writeTextFile(suite.programFolder() + "/設定.txt", "0,0,0,0,0,0,0,0,0,0\n",
                            TextEncoding::Utf16LE);
        test::writeTextFile(suite.commonFolder() + "共通データ.txt", "4,\"12345テスト家\",0,0,0,0,0,0,0,0\n",
                            TextEncoding::Utf16LE);
    } else if (damage == "utf16 levels") {
        QString text;
        for (int level = 0; level <= 4; ++level)
            text +=
                QStringLiteral("%1,%2,100,10,1,0,0,7,30,0,0,0\n").arg(60 * (level + 1)).arg(90 * (level + 1));
        test::writeTextFile(suite.programDataFolder() + "タイム回数データ.txt", text, TextEncoding::Utf16LE);
    } else if (damage == "utf16 roster")
        suite.writeRoster(familyRoster, TextEncoding::Utf16LE);
    else if (damage == "roster junk")
        writeBytes(roster, "1,2016,0,0,\"\x80\xFF\",0,\"\",\"\"\r\n");
    else if (damage == "roster quote")
        suite.writeRoster(
            "1,2016,0,0,\"a\",0,\"\",\"\"\n2,2013,0,0,\"b,0,\"\",\"\"\n3,2013,0,0,\"c\",0,\"\",\"\"\n");
    else if (damage == "roster short")
        suite.writeRoster(
            "1,2016,0,0,\"a\",0,\"\",\"\"\n2,2013,0,\"b\",0,\"\",\"\"\n3,2013,0,0,\"c\",0,\"\",\"\"\n");
    else if (damage == "roster full-width")
        suite.writeRoster(QStringLiteral("１,２０１６,0,0,\"たろう\",０,\"\",\"\"\n"));
    else if (damage == "sound empty")
        suite.writeSoundTable("seikai1\n");
    else if (damage == "formula name")
        suite.writeRoster("1,2016,0,0,\"=1+2\",0,\"\",\"\"\n");
    else if (damage == "roster empty")
        writeBytes(roster, QByteArray());
    else if (damage == "roster cut") {
        // A third entry broken off one byte into the last character of its name.
        suite.writeRoster(familyRoster + QStringLiteral("3,2017,0,0,\"じろう\",0,\"\",\"\"\n"));
        const QByteArray bytes = test::readBytes(roster);
        writeBytes(
            roster,
            bytes.left(bytes.lastIndexOf(encodeText(QStringLiteral("う"), TextEncoding::ShiftJis)) + 1));
    } else if (damage == "kept run") {
        Configuration config;
        config.programFolderName = QStringLiteral("drill");
        const QByteArray score = scoreBytes(2, 45);
        const ScoreRecord run = decodeScoreRecord(score.constData());
        const QByteArray homeRecord = encodeHomeScoreRecord(
            makeHomeScoreRecord(config, dateFromValue(run.date), clockFromValue(run.clockTime), 2, 1, 45));
        QString why;
        QVERIFY2(keepPendingRun(userData + "/warizan/保存待ちの成績.jsonl",
                                {.id = newRunId(),
                                 .scoreFile = placeOfFile(scores),
                                 .homeFile = placeOfFile(home),
                                 .scoreRecord = score,
                                 .homeRecord = homeRecord},
                                &why),
                 qPrintable(why));
    } else if (damage == "home behind") {
        // Two runs on file; the home file holds the first only.
        Configuration config;
        config.programFolderName = QStringLiteral("drill");
        writeBytes(scores, scoreBytes(1, 60) + scoreBytes(2, 45));
        writeBytes(home, encodeHomeScoreRecord(
                             makeHomeScoreRecord(config, QDate(2024, 5, 1), QTime(12, 0), 1, 1, 60)));
    } else if (damage == "emoji name")
        suite.writeRoster(QStringLiteral("1,2016,0,0,\"たろうじろう😀\",0,\"\",\"\"\n"), TextEncoding::Utf8);
    if (QTest::currentTestFailed())
        return;

    const QStringList before = snapshot(suite.root());
    // Generous: the damaged roster waits five times five seconds, as the program does.
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("WARIZAN_DATA_HOME", userData);
    process.setProcessEnvironment(environment);
    process.start("timeout", QStringList{"60"} + prefix + QStringList{QStringLiteral(DATA_TOOL)} + command +
                                 QStringList{"--program-folder", suite.programFolder()});
    QVERIFY(process.waitForStarted());
    process.waitForFinished(120000);
    const QString said = QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    if (damage == "read-only" && !test::runningAsSuperUser())
        for (const QString& folder : {suite.programDataFolder(), suite.commonFolder()})
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QVERIFY2(process.exitCode() != 124, "timed out");
    QCOMPARE(process.exitCode(), code);
    for (const QString& word : words)
        QVERIFY2(said.contains(word), qPrintable(word + u'\n' + said.left(2000)));
    if (!absent.isEmpty())
        QVERIFY2(!said.contains(absent), qPrintable(said.left(2000)));
    // Japanese only: none of the system's or Qt's English texts.
    for (const char* english : {"Permission denied", "Is a directory", "No such file", "QIODevice", "QFile"})
        QVERIFY2(!said.contains(QLatin1String(english)), qPrintable(said.left(2000)));
    QCOMPARE(snapshot(suite.root()), before);
}

QTEST_GUILESS_MAIN(DataToolTest)
#include "tst_data_tool.moc"
