#include "records/points.h"
#include "records/score_file.h"
#include "records/score_record.h"
#include "test_support.h"

#include <QDir>
#include <QtTest>

using namespace warizan;
using namespace warizan::test;

// The record layouts are shared with the suite's other programs, so they are checked against bytes worked
// out by hand, through the same append that a finished drill uses.
class RecordsLayoutTest final : public QObject {
    Q_OBJECT
private slots:
    void scoreRecordBytes_data();
    void scoreRecordBytes();
    void homeRecordBytes_data();
    void homeRecordBytes();
    void recordsDecodeAsWritten();
    void dateValues_data();
    void dateValues();
};

namespace {

// 2024-04-10 is day 45392; 10:05:07 is 36307/86400 of a day. The milliseconds are dropped on writing.
const QDateTime kWrittenAt(QDate(2024, 4, 10), QTime(10, 5, 7, 250));
const QByteArray kDateBytes = QByteArray::fromHex("00000000002ae640");
const QByteArray kClockBytes = QByteArray::fromHex("8159dc09e2e4da3f");

void pointAt(TestContext& t, const TempSuite& suite) {
    t.state->config.programDataFolder = suite.programDataFolder();
    t.state->config.commonFolder = suite.commonFolder();
    t.clock.setNow(kWrittenAt);
}

} // namespace

void RecordsLayoutTest::scoreRecordBytes_data() {
    QTest::addColumn<QString>("schoolCode");
    QTest::addColumn<QByteArray>("schoolBytes");
    QTest::newRow("empty code is five blanks") << QString() << QByteArray("     ");
    QTest::newRow("digits") << QStringLiteral("12345") << QByteArray("12345");
    QTest::newRow("Shift-JIS filling the field")
        << QStringLiteral("1学校") << QByteArray::fromHex("318a778d5a");
    QTest::newRow("Shift-JIS cut before a split character")
        << QStringLiteral("12学校") << QByteArray::fromHex("31328a7720");
}

void RecordsLayoutTest::scoreRecordBytes() {
    QFETCH(QString, schoolCode);
    QFETCH(QByteArray, schoolBytes);
    TempSuite suite;
    TestContext t;
    pointAt(t, suite);
    t.state->config.schoolCode = schoolCode;
    t.state->pupil.currentPupil = 4899;
    t.state->pupil.currentLevel = 3;
    t.state->drill.finalTime = 75;
    QVERIFY(writeScoreRecords(t.context));

    const QByteArray expected = kDateBytes + kClockBytes +
                                QByteArray::fromHex("2313"
                                                    "0300"
                                                    "4b000000") +
                                schoolBytes + QByteArray("     ") + QByteArray(" 0   ") + QByteArray(5, '\0');
    QCOMPARE(expected.size(), kScoreRecordLength);
    QCOMPARE(readBytes(suite.programDataFolder() + kScoreFileName), expected);
}

void RecordsLayoutTest::homeRecordBytes_data() {
    QTest::addColumn<QString>("folderName");
    QTest::addColumn<QByteArray>("folderBytes");
    const char separator = '\\'; // the suite's Windows programs read this field too
    QTest::newRow("short name padded")
        << QStringLiteral("warizan") << QByteArray("warizan") + separator + QByteArray(12, ' ');
    // 1 + 9 x 2 bytes leave one byte, too few for the tenth double-byte character.
    QTest::newRow("cut at a character boundary")
        << QStringLiteral("Xわりざんドリルですよ")
        << QByteArray::fromHex("5882ed82e882b482f18368838a838b82c582b7") + ' ';
}

void RecordsLayoutTest::homeRecordBytes() {
    QFETCH(QString, folderName);
    QFETCH(QByteArray, folderBytes);
    TempSuite suite;
    TestContext t;
    pointAt(t, suite);
    t.state->config.programFolderName = folderName;
    t.state->config.schoolCode = QStringLiteral("1学校");
    t.state->pupil.currentPupil = 4899;
    t.state->pupil.currentLevel = 3;
    t.state->drill.finalTime = 99999;
    QVERIFY(writeScoreRecords(t.context));

    const QByteArray expected = folderBytes + QByteArray(2, '\0') + kDateBytes + kClockBytes +
                                QByteArray::fromHex("2313"
                                                    "0300"
                                                    "9f860100"
                                                    "318a778d5a") +
                                QByteArray(15, '\0');
    QCOMPARE(expected.size(), kHomeScoreRecordLength);
    QCOMPARE(readBytes(suite.commonFolder() + kHomeScoreFileName), expected);
}

void RecordsLayoutTest::recordsDecodeAsWritten() {
    ScoreRecord record;
    record.date = -3.5;
    record.clockTime = 0.75;
    record.pupil = -2;
    record.level = 35;
    record.result = -70000;
    record.schoolCodeText = {'a', 'b', 'c', 'd', 'e'};
    record.pointsText = {'1', '2', '3', '4', '5'};
    const ScoreRecord back = decodeScoreRecord(encodeScoreRecord(record).constData());
    QCOMPARE(encodeScoreRecord(back), encodeScoreRecord(record));
    QCOMPARE(back.pupil, qint16(-2));
    QCOMPARE(back.result, -70000);

    HomeScoreRecord home;
    home.folderText.fill('x');
    home.contentNumber = 7;
    home.date = 45392;
    home.result = 123456;
    const HomeScoreRecord homeBack = decodeHomeScoreRecord(encodeHomeScoreRecord(home).constData());
    QCOMPARE(encodeHomeScoreRecord(homeBack), encodeHomeScoreRecord(home));
    QCOMPARE(homeBack.contentNumber, qint16(7));

    // A block cut inside its last record yields the whole records only.
    const QByteArray two = encodeScoreRecord(record) + encodeScoreRecord(record);
    QCOMPARE(decodeScoreRecords(two + QByteArray(43, 'z')).size(), std::size_t(2));
}

void RecordsLayoutTest::dateValues_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<double>("value");
    QTest::addColumn<QTime>("time");
    QTest::newRow("epoch") << QDate(1899, 12, 30) << 0.0 << QTime(0, 0);
    QTest::newRow("after the 1900 leap-year gap") << QDate(1900, 3, 1) << 61.0 << QTime(0, 0);
    QTest::newRow("a school day at noon") << QDate(2024, 4, 10) << 45392.5 << QTime(12, 0);
    // Before the epoch the fraction runs forward from the day named by the whole part.
    QTest::newRow("negative with a time") << QDate(1899, 12, 29) << -1.25 << QTime(6, 0);
    QTest::newRow("no date") << QDate() << std::nan("") << QTime();
}

void RecordsLayoutTest::dateValues() {
    QFETCH(QDate, date);
    QFETCH(double, value);
    QFETCH(QTime, time);
    QCOMPARE(dateFromValue(value), date);
    QCOMPARE(clockFromValue(value), time);
    if (date.isValid() && value >= 0) {
        QCOMPARE(dateValue(date), std::trunc(value));
        QCOMPARE(clockValue(time), value - std::trunc(value));
    }
}

QTEST_GUILESS_MAIN(RecordsLayoutTest)
#include "tst_records_layout.moc"
