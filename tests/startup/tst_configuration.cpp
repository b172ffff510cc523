#include "records/level_table_file.h"
#include "sound/sound_table.h"
#include "startup/configuration.h"
#include "test_support.h"

#include <QDir>
#include <QtTest>

using namespace warizan;

class ConfigurationTest final : public QObject {
    Q_OBJECT
private slots:
    void folderSet_data();
    void folderSet();
    void schoolValue_data();
    void schoolValue();
    void readsStartUpFiles_data();
    void readsStartUpFiles();
    void refusesBrokenFiles_data();
    void refusesBrokenFiles();
    void loadsLevelTableGroups();
    void levelTableLimits_data();
    void levelTableLimits();
};

void ConfigurationTest::folderSet_data() {
    QTest::addColumn<int>("layout");
    QTest::addColumn<QString>("common");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("sound");
    QTest::newRow("suite layout") << 1 << "/home/k/suite/drill/../files/"
                                  << "/home/k/suite/drill/"
                                  << "/home/k/suite/drill/../files/../files/";
    for (int layout : {0, 2, -1})
        QTest::addRow("flat layout %d", layout) << layout << "/home/k/suite/drill/../"
                                                << "/home/k/suite/drill/../drill/"
                                                << "/home/k/suite/drill/../音フォルダ/";
}

void ConfigurationTest::folderSet() {
    QFETCH(int, layout);
    QFETCH(QString, common);
    QFETCH(QString, data);
    QFETCH(QString, sound);
    const QString programFolder = QStringLiteral("/home/k/suite/drill");
    const FolderSet folders = folderSetFor(programFolder, layout);
    // What the program adds to the folder it was given is written with the system's own separator.
    const auto native = [&](const QString& path) {
        return programFolder + QString(path).mid(programFolder.size()).replace(u'/', QDir::separator());
    };
    QCOMPARE(folders.commonFolder, native(common));
    QCOMPARE(folders.programDataFolder, native(data));
    QCOMPARE(folders.soundFolder, native(sound));
    QCOMPARE(lastPathComponent(QStringLiteral("/home/k/suite/drill")), QStringLiteral("drill"));
}

void ConfigurationTest::schoolValue_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::newRow("code and name") << "12345North"
                                   << "12345"
                                   << "North";
    QTest::newRow("name alone") << "North"
                                << ""
                                << "North";
    QTest::newRow("zero code kept in name") << "00000North"
                                            << ""
                                            << "00000North";
    QTest::newRow("Japanese name") << "01234やまだ小"
                                   << "01234"
                                   << "やまだ小";
    QTest::newRow("short number") << "12"
                                  << "12"
                                  << "";
    // Five characters as the text counts them would split the emoji's surrogate pair.
    QTest::newRow("emoji across the cut") << QStringLiteral("1234😀家")
                                          << "1234"
                                          << QStringLiteral("😀家");
}

void ConfigurationTest::schoolValue() {
    QFETCH(QString, value);
    QFETCH(QString, code);
    QFETCH(QString, name);
    QString gotCode = QStringLiteral("stale"), gotName;
    splitSchoolValue(value, &gotCode, &gotName);
    QCOMPARE(gotCode, code);
    QCOMPARE(gotName, name);
}

void ConfigurationTest::readsStartUpFiles_data() {
    QTest::addColumn<int>("layout");
    QTest::addColumn<int>("encoding");
    QTest::newRow("flat, Shift-JIS") << 0 << int(TextEncoding::ShiftJis);
    QTest::newRow("suite, UTF-8") << 1 << int(TextEncoding::Utf8);
    QTest::newRow("suite, UTF-8 with BOM") << 1 << int(TextEncoding::Utf8WithBom);
    QTest::newRow("flat, UTF-16 (Notepad's Unicode)") << 0 << int(TextEncoding::Utf16LE);
}

void ConfigurationTest::readsStartUpFiles() {
    QFETCH(int, layout);
    QFETCH(int, encoding);
    test::TempSuite suite(layout);
    // More than ten values: the extras are never read (an eleventh that is not a number does no harm).
    test::writeTextFile(suite.programFolder() + "/設定.txt",
                        QStringLiteral("%1,9,9,9,9,9,9,9,9,9,\"余分\",99\n").arg(layout),
                        TextEncoding(encoding));
    test::writeTextFile(suite.commonFolder() + "共通データ.txt",
                        "4,\"54321みどり家\",1,7,\"a\",\"b\",\"c\",\"d\",\"e\",\"f\",\"g\"\n",
                        TextEncoding(encoding));
    ProgramState state;
    ConfigurationError error;
    QVERIFY2(StartUpConfiguration(state, suite.programFolder(), &error), qPrintable(error.message));
    const Configuration& c = state.config;
    QCOMPARE(c.layoutMode, layout);
    QCOMPARE(c.schoolYearStartMonth, 4);
    QCOMPARE(c.schoolCode, QStringLiteral("54321"));
    QCOMPARE(c.schoolName, QStringLiteral("みどり家"));
    QCOMPARE(c.showInactivePupils, 1);
    QCOMPARE(c.commonSpares, QStringList({"a", "b", "c", "d", "e", "f"}));
    QCOMPARE(c.programFolderName, QStringLiteral("drill"));
    QCOMPARE(c.contentHeading, contentTitle());
    QCOMPARE(QDir(c.commonFolder).canonicalPath(), QDir(suite.commonFolder()).canonicalPath());
    QCOMPARE(QDir(c.programDataFolder).canonicalPath(), QDir(suite.programDataFolder()).canonicalPath());
    QCOMPARE(QDir(c.soundFolder).canonicalPath(), QDir(suite.soundFolder()).canonicalPath());
    QCOMPARE(state.levels.groupsLoaded, 5);
    QCOMPARE(state.levels.levelGoal[2], 180);
    QCOMPARE(state.sound.soundTable[kCorrect2][2], QStringLiteral("seikai2"));
}

void ConfigurationTest::refusesBrokenFiles_data() {
    QTest::addColumn<QString>("file"); // relative to the suite root; empty text = removed
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("named"); // the file the message must name
    QTest::newRow("settings missing") << "drill/設定.txt" << QString() << "設定.txt";
    QTest::newRow("settings with nine values") << "drill/設定.txt"
                                               << "0,0,0,0,0,0,0,0,0"
                                               << "設定.txt";
    QTest::newRow("common data missing") << "共通データ.txt" << QString() << "共通データ.txt";
    QTest::newRow("common data short") << "共通データ.txt"
                                       << "4,\"x\"\n0"
                                       << "共通データ.txt";
    QTest::newRow("time table missing")
        << "drill/タイム回数データ.txt" << QString() << "タイム回数データ.txt";
    QTest::newRow("sound configuration missing")
        << "音フォルダ/新音ファイル.txt" << QString() << "新音ファイル.txt";
}

void ConfigurationTest::refusesBrokenFiles() {
    QFETCH(QString, file);
    QFETCH(QString, content);
    QFETCH(QString, named);
    test::TempSuite suite(0);
    const QString path = suite.root() + u'/' + file;
    if (content.isNull())
        QVERIFY(QFile::remove(path));
    else
        test::writeTextFile(path, content);
    ProgramState state;
    ConfigurationError error;
    QVERIFY(!StartUpConfiguration(state, suite.programFolder(), &error));
    QCOMPARE(error.fileName, named);
    QVERIFY2(error.message.contains(named), qPrintable(error.message));
}

void ConfigurationTest::loadsLevelTableGroups() {
    test::TempSuite suite;
    suite.writeLevelTable(QStringLiteral("0,0,0,0,0,0,0,0,0,k1,k2,k3\n"
                                         "60,90,100,5,1.5,3,20,7,14,x,y,z\n"
                                         "1,2,3,4,5,6,7,8,9,10,11,12\n"
                                         "1,2,3,4,5,6,7,8,9,10,11,12\n"
                                         "1000,2000,3,9999,0.5,0,0,0,1,\"\",\"\",\"\"\n"));
    LevelTable levels;
    QString error;
    QVERIFY2(loadLevelTable(suite.programDataFolder() + kLevelTableFileName, levels, &error),
             qPrintable(error));
    QCOMPARE(levels.groupsLoaded, 5);
    QCOMPARE(levels.levelKeptColumns[0][0], QStringLiteral("k1"));
    QCOMPARE(levels.levelGoal[1], 60);
    QCOMPARE(levels.levelGoal2[1], 90);
    QCOMPARE(levels.levelBonusPoints[1], 100);
    QCOMPARE(levels.levelBonusRuns[1], qint16(5));
    QCOMPARE(levels.levelBonusFactor[1], 1.5f);
    QCOMPARE(levels.levelQuotaRuns[1], 3.0);
    QCOMPARE(levels.levelQuotaPoints[1], 20.0);
    QCOMPARE(levels.levelRecentDays[1], 7.0);
    QCOMPARE(levels.levelQuotaDays[1], 14.0);
    QCOMPARE(levels.levelKeptColumns[1][2], QStringLiteral("z"));
    QCOMPARE(levels.levelBonusRuns[4], qint16(9999));
    QCOMPARE(levels.levelBonusFactor[4], 0.5f);
    QCOMPARE(levels.levelGoal[5], 0); // beyond the file: untouched
}

void ConfigurationTest::levelTableLimits_data() {
    QTest::addColumn<int>("fields");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("four groups") << 4 * 12 << false;
    QTest::newRow("five groups") << 5 * 12 << true;
    QTest::newRow("a group cut short") << 5 * 12 + 7 << false;
    QTest::newRow("36 groups") << 36 * 12 << true;
    QTest::newRow("37 groups") << 37 * 12 << false;
}

void ConfigurationTest::levelTableLimits() {
    QFETCH(int, fields);
    QFETCH(bool, accepted);
    test::TempSuite suite;
    QStringList values;
    for (int i = 0; i < fields; ++i)
        values << QString::number(i % 12 + 1);
    suite.writeLevelTable(values.join(u',') + u'\n');
    LevelTable levels;
    levels.levelGoal[1] = 777;
    QString error;
    QCOMPARE(loadLevelTable(suite.programDataFolder() + kLevelTableFileName, levels, &error), accepted);
    if (!accepted) {
        QVERIFY(error.contains(kLevelTableFileName));
        QCOMPARE(levels.levelGoal[1], 777); // a refused file changes nothing
    }
}

QTEST_GUILESS_MAIN(ConfigurationTest)
#include "tst_configuration.moc"
