#include "roster/roster_file.h"
#include "test_support.h"

#include <QFile>
#include <QtTest>

using namespace warizan;
using namespace warizan::test;

Q_DECLARE_METATYPE(TextEncoding)
Q_DECLARE_METATYPE(RosterRecovery)

class RosterFileTest final : public QObject {
    Q_OBJECT
private slots:
    void readsAnyLayout_data();
    void readsAnyLayout();
    void refusesCutShortEntry();
    void recovery_data();
    void recovery();
};

void RosterFileTest::readsAnyLayout_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<TextEncoding>("encoding");
    const QString editorLines = QStringLiteral(
        "1,2015,0,0,\"たろう              \",0,\"                    \",\"                    \"\n"
        "2,1980,7,8,\"おとうさん\",2,\"よび\",\"予備の欄がとても長くて二十文字を越えてしまう\"\n");
    QTest::newRow("as the editor writes, Shift-JIS") << editorLines << TextEncoding::ShiftJis;
    QTest::newRow("as the editor writes, UTF-8") << editorLines << TextEncoding::Utf8;
    QTest::newRow("as the editor writes, UTF-8 with BOM") << editorLines << TextEncoding::Utf8WithBom;
    QTest::newRow("one field a line, blank lines between")
        << QStringLiteral(
               "1\n2015\n0\n0\nたろう\n0\n\"\"\n\n\n\"\"\n\n2\n1980\n7\n8\n\"おとうさん\"\n2\nよび\n"
               "予備の欄がとても長くて二十文字を越えてしまう\n")
        << TextEncoding::ShiftJis;
    QTest::newRow("both entries on one line, blanks around fields")
        << QStringLiteral(" 1 , 2015 ,0,0, \"たろう\" ,0,\"\",\"\",2,1980.4,7,8,おとうさん,2,よび,"
                          "予備の欄がとても長くて二十文字を越えてしまう\n")
        << TextEncoding::Utf8;
}

void RosterFileTest::readsAnyLayout() {
    QFETCH(QString, text);
    QFETCH(TextEncoding, encoding);
    TempSuite suite;
    suite.writeRoster(text, encoding);
    std::vector<RosterEntry> entries;
    TextEncoding read = TextEncoding::ShiftJis;
    RosterFileError error;
    QVERIFY(readRosterFile(suite.commonFolder() + kRosterFileName, &entries, &read, &error));
    QCOMPARE(read, encoding);
    QCOMPARE(entries.size(), size_t(2));
    QCOMPARE(entries[0].number, 1);
    QCOMPARE(entries[0].birthYear, 2015);
    QCOMPARE(entries[0].name, QStringLiteral("たろう                 "));
    QCOMPARE(entries[0].status, 0);
    QCOMPARE(entries[0].reserved7, QString(20, u' '));
    QCOMPARE(entries[1].number, 2);
    QCOMPARE(entries[1].birthYear, 1980);
    QCOMPARE(entries[1].reserved3, 7);
    QCOMPARE(entries[1].reserved4, 8);
    QCOMPARE(entries[1].name, QStringLiteral("おとうさん               "));
    QCOMPARE(entries[1].status, 2);
    QCOMPARE(entries[1].reserved7, QStringLiteral("よび                  "));
    QCOMPARE(entries[1].reserved8, QStringLiteral("予備の欄がとても長くて二十文字を越えてし"));
}

void RosterFileTest::refusesCutShortEntry() {
    TempSuite suite;
    suite.writeRoster(QStringLiteral("1,2015,0,0,\"たろう\",0,\"\",\"\"\n2,2016,0,0,\"じろう\",0,\"\"\n"));
    std::vector<RosterEntry> entries(1);
    RosterFileError error;
    QVERIFY(!readRosterFile(suite.commonFolder() + kRosterFileName, &entries, nullptr, &error));
    QCOMPARE(error.number, kErrorInputPastEnd);
    QCOMPARE(entries.size(), size_t(1)); // nothing half-read is handed out

    QVERIFY(!readRosterFile(suite.commonFolder() + QStringLiteral("ない.txt"), &entries, nullptr, &error));
    QCOMPARE(error.number, kErrorFileNotFound);
}

void RosterFileTest::recovery_data() {
    QTest::addColumn<bool>("roster");
    QTest::addColumn<bool>("temp");
    QTest::addColumn<RosterRecovery>("outcome");
    QTest::addColumn<QByteArray>("rosterAfter");
    QTest::addColumn<bool>("tempAfter");
    QTest::newRow("roster readable") << true << true << RosterRecovery::Readable << QByteArray("roster")
                                     << true;
    QTest::newRow("interrupted save")
        << false << true << RosterRecovery::Restored << QByteArray("temp") << false;
    QTest::newRow("nothing to restore") << false << false << RosterRecovery::Failed << QByteArray() << false;
}

void RosterFileTest::recovery() {
    QFETCH(bool, roster);
    QFETCH(bool, temp);
    QFETCH(RosterRecovery, outcome);
    QFETCH(QByteArray, rosterAfter);
    QFETCH(bool, tempAfter);
    TempSuite suite;
    Configuration config;
    config.commonFolder = suite.commonFolder();
    if (roster)
        writeTextFile(rosterPath(config), QStringLiteral("roster"));
    if (temp)
        writeTextFile(rosterTempPath(config), QStringLiteral("temp"));
    RosterFileError error;
    QCOMPARE(名簿ファイル処理(config, &error), outcome);
    QCOMPARE(readBytes(rosterPath(config)), rosterAfter);
    QCOMPARE(QFile::exists(rosterTempPath(config)), tempAfter);
    if (outcome == RosterRecovery::Failed)
        QCOMPARE(error.number, kErrorFileNotFound);
}

QTEST_GUILESS_MAIN(RosterFileTest)
#include "tst_roster_file.moc"
