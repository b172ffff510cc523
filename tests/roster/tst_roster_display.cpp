#include "records/points.h"
#include "records/score_record.h"
#include "roster/roster_display.h"
#include "roster/roster_file.h"
#include "startup/configuration.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QtTest>
#include <functional>

using namespace warizan;
using namespace warizan::test;

Q_DECLARE_METATYPE(TextEncoding)
Q_DECLARE_METATYPE(RosterRecovery)

namespace {

const QDate kToday(2024, 3, 15); // before the school year of 2024 starts in April

// たろう is a third grader and はなこ in her last pre-school year on kToday; pupil 3 is inactive.
const QString kFamily =
    QStringLiteral("1,2014,7,8,\"たろう\",0,\"よび\",\"予備の欄がとても長くて二十文字を越えてしまう\"\n"
                   "2,2017,0,0,\"はなこ\",0,\"\",\"\"\n"
                   "3,1980,0,0,\"ちち\",2,\"\",\"\"\n");

// A manual clock that also lets a test act at each wait.
class HookedClock final : public Clock {
public:
    QDateTime now() const override { return inner.now(); }
    qint64 monotonicMs() const override { return inner.monotonicMs(); }
    void waitLettingEventsRun(int ms) override {
        inner.waitLettingEventsRun(ms);
        if (onWait)
            onWait(inner.waitCount());
    }
    ManualClock inner;
    std::function<void(int)> onWait;
};

void appendRuns(const Configuration& config, const QDate& date, int pupil, int level, int result, int runs) {
    QFile file(scoreFilePath(config));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Append));
    for (int i = 0; i < runs; ++i)
        file.write(encodeScoreRecord(
            makeScoreRecord(config, date, QTime(9, 0, i % 60), qint16(pupil), qint16(level), result)));
}

} // namespace

class RosterDisplayTest final : public QObject {
    Q_OBJECT
private slots:
    void countsFromTheScoreFile();
    void readsAnyRoster_data();
    void readsAnyRoster();
    void failureEndsTheProgram_data();
    void failureEndsTheProgram();
    void rosterBackWithinTheRetries();
    void recovery_data();
    void recovery();

private:
    // A started-up suite with the family roster in it.
    struct Setup {
        TempSuite suite;
        TestContext test;
        Setup() {
            suite.writeRoster(kFamily);
            ConfigurationError error;
            if (!StartUpConfiguration(*test.state, suite.programFolder(), &error))
                qFatal("start-up failed: %s", qPrintable(error.message));
            test.clock.setNow(QDateTime(kToday, QTime(10, 0)));
        }
    };
};

void RosterDisplayTest::countsFromTheScoreFile() {
    Setup s;
    const Configuration& config = s.test.state->config;
    appendRuns(config, kToday, 1, 1, 30, 10);
    appendRuns(config, kToday, 1, 2, 40, 2);
    appendRuns(config, QDate(2023, 11, 5), 1, 1, 30, 333);
    appendRuns(config, kToday, 9, 1, 30, 5); // nobody in the roster

    PupilList list;
    QVERIFY(名簿表示(s.test.context, 0, QStringLiteral("全学年"), &list));
    QCOMPARE(list.visible,
             QStringList({QStringLiteral("－－－－－－"), QStringLiteral("小3 たろう　　　 12回/  345回"),
                          QStringLiteral("幼3 はなこ　　　　　     /     　")}));
    QCOMPARE(list.keys, QStringList({QStringLiteral("小3 たろう　　　 12回/  345回*1"),
                                     QStringLiteral("幼3 はなこ　　　　　     /     　*2")}));

    const LevelTable& levels = s.test.state->levels;
    const qint64 today = 10 * recordPoints(levels, 30, 1) + 2 * recordPoints(levels, 40, 2);
    const qint64 total = today + 333 * recordPoints(levels, 30, 1);
    QVERIFY(today > 0);
    QVERIFY(名簿表示(s.test.context, 1, QStringLiteral("小３"), &list));
    QCOMPARE(list.visible, QStringList({QStringLiteral("－－－－－－"),
                                        QStringLiteral("小3 たろう　　　") +
                                            (QStringLiteral("   ") + QString::number(today)).right(4) + u'/' +
                                            (QStringLiteral("      ") + QString::number(total)).right(7)}));
    QCOMPARE(s.test.clock.waitCount(), 0);
    QVERIFY(s.test.dialogs.messages.empty());
}

void RosterDisplayTest::readsAnyRoster_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::newRow("as the editor writes, Shift-JIS") << kFamily << TextEncoding::ShiftJis;
    QTest::newRow("as the editor writes, UTF-8") << kFamily << TextEncoding::Utf8;
    QTest::newRow("as the editor writes, UTF-8 with BOM") << kFamily << TextEncoding::Utf8WithBom;
    QTest::newRow("one field a line, blank lines between")
        << QString(kFamily).replace(u',', QStringLiteral("\n\n")) << TextEncoding::ShiftJis;
    QTest::newRow("all on one line, blanks around fields")
        << kFamily.trimmed().replace(u'\n', u',').replace(u',', QStringLiteral(" , ")) << TextEncoding::Utf8;
}

void RosterDisplayTest::readsAnyRoster() {
    QFETCH(QString, text);
    QFETCH(TextEncoding, encoding);
    Setup s;
    s.suite.writeRoster(text, encoding);
    RosterTables& roster = s.test.state->roster;
    roster.rosterEncoding = encoding == TextEncoding::ShiftJis ? TextEncoding::Utf8 : TextEncoding::ShiftJis;
    PupilList list;
    QVERIFY(名簿表示(s.test.context, 0, QStringLiteral("全学年"), &list));
    QCOMPARE(list.visible,
             QStringList({QStringLiteral("－－－－－－"), QStringLiteral("小3 たろう　　　     /     　"),
                          QStringLiteral("幼3 はなこ　　　　　     /     　")}));
    QCOMPARE(roster.rosterEncoding, encoding);
    // What the roster editor writes back: text fields at their 20 characters, the rest as read.
    const RosterEntry& taro = roster.entries[1];
    QCOMPARE(taro.name, QStringLiteral("たろう") + QString(17, u' '));
    QCOMPARE(QList<int>({taro.number, taro.birthYear, taro.reserved3, taro.reserved4, taro.status}),
             QList<int>({1, 2014, 7, 8, 0}));
    QCOMPARE(taro.reserved7, QStringLiteral("よび") + QString(18, u' '));
    QCOMPARE(taro.reserved8, QStringLiteral("予備の欄がとても長くて二十文字を越えてし"));
    QCOMPARE(roster.pupilName[3], QStringLiteral("ちち") + QString(18, u' '));
}

void RosterDisplayTest::failureEndsTheProgram_data() {
    // "" for none, "folder" for a folder in its place, "cut Shift-JIS" / "cut UTF-8" for the family and a
    // fourth entry cut inside a character of its name
    QTest::addColumn<QString>("roster");
    QTest::addColumn<QString>("message"); // the step and number; the first line says what, the last where
    QTest::addColumn<int>("line");        // the line the message points at; 0 for none
    QTest::addColumn<int>("waits");
    QTest::newRow("roster missing") << QString() << "名簿表示2ファイルが見つかりません53" << 0 << 6;
    QTest::newRow("cut inside a Shift-JIS character")
        << "cut Shift-JIS"
        << "名簿表示3ファイルの終わりを越えて読もうとしました62" << 4 << 6;
    QTest::newRow("cut inside a UTF-8 character")
        << "cut UTF-8"
        << "名簿表示3ファイルの終わりを越えて読もうとしました62" << 4 << 6;
    QTest::newRow("last entry cut short") << kFamily + QStringLiteral("4,2016,0,0,\"じろう\"\n")
                                          << "名簿表示3ファイルの終わりを越えて読もうとしました62" << 4 << 6;
    QTest::newRow("lone quote") << QStringLiteral(
                                       "1,2014,0,0,\"たろう\",0,\"\",\"\"\n2,2017,0,0,\"はなこ,0,\"\",\"\"\n"
                                       "3,1980,0,0,\"ちち\",0,\"\",\"\"\n")
                                << "名簿表示3ファイルの終わりを越えて読もうとしました62" << 2 << 6;
    QTest::newRow("field missing on a line")
        << QStringLiteral("1,2014,0,0,\"たろう\",0,\"\",\"\"\n2,2017,0,\"はなこ\",0,\"\",\"\"\n"
                          "3,1980,0,0,\"ちち\",0,\"\",\"\"\n")
        << "名簿表示3ファイルの終わりを越えて読もうとしました62" << 2 << 6;
    QTest::newRow("a folder, which no wait mends")
        << QStringLiteral("folder") << "名簿表示2ファイルではなくフォルダです75" << 0 << 0;
}

void RosterDisplayTest::failureEndsTheProgram() {
    QFETCH(QString, roster);
    QFETCH(QString, message);
    QFETCH(int, line);
    QFETCH(int, waits);
    Setup s;
    const QString path = rosterPath(s.test.state->config);
    QVERIFY(QFile::remove(path));
    if (roster == u"folder") {
        QVERIFY(QDir().mkpath(path));
    } else if (roster.startsWith(u"cut")) {
        // The whole family, then a fourth entry broken off one byte into the last character of its name.
        const TextEncoding encoding = roster.endsWith(u"UTF-8") ? TextEncoding::Utf8 : TextEncoding::ShiftJis;
        s.suite.writeRoster(kFamily + QStringLiteral("4,2016,0,0,\"じろう\",0,\"\",\"\"\n"), encoding);
        QByteArray bytes = readBytes(path);
        const qsizetype lastCharacter = bytes.lastIndexOf(encodeText(QStringLiteral("う"), encoding));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes.left(lastCharacter + 1));
    } else if (!roster.isEmpty()) {
        s.suite.writeRoster(roster);
    }
    PupilList list{{QStringLiteral("前の一覧")}, {}, 0};
    std::vector<RosterWait> told;
    QVERIFY(!名簿表示(s.test.context, 0, QStringLiteral("全学年"), &list,
                      [&](const RosterWait& wait) { told.push_back(wait); }));
    // Five retries five seconds apart, the sixth failure ends the program; each wait is told beforehand.
    QCOMPARE(s.test.clock.waitCount(), waits);
    QCOMPARE(s.test.clock.totalWaitedMs(), waits * 5000LL);
    QCOMPARE(int(told.size()), waits);
    for (int i = 0; i < waits; ++i) {
        QCOMPARE(told[size_t(i)].failures, i + 1);
        QCOMPARE(told[size_t(i)].path, path);
        QVERIFY(told[size_t(i)].reason.contains(line > 0 ? QStringLiteral("%1 行目").arg(line) : QString()));
    }
    QCOMPARE(s.test.dialogs.messages.size(), size_t(1));
    // The roster named as a family reads it: the common folder without its "..", the system's separators.
    const QString shown = QDir::toNativeSeparators(s.suite.root() + QStringLiteral("/生徒用名簿.txt"));
    const QString place = line > 0 ? QStringLiteral("%1（%2 行目）").arg(shown).arg(line) : shown;
    const QString what = message.startsWith(QStringLiteral("名簿表示2")) ? QStringLiteral("開けません")
                                                                         : QStringLiteral("読めません");
    QCOMPARE(s.test.dialogs.messages[0].text,
             QStringLiteral("名簿ファイル（生徒用名簿.txt）を%1。\n").arg(what) + message + u'\n' + place);
    QCOMPARE(s.test.dialogs.messages[0].icon, Dialogs::Icon::None);
    QVERIFY(s.test.dialogs.ended);
    QCOMPARE(list.visible, QStringList{QStringLiteral("前の一覧")});
}

void RosterDisplayTest::rosterBackWithinTheRetries() {
    Setup s;
    HookedClock clock;
    clock.inner.setNow(QDateTime(kToday, QTime(10, 0)));
    AppContext context{*s.test.state, clock, s.test.dialogs, s.test.sound, s.test.starter, s.test.random};
    // Another program is halfway through replacing the roster.
    s.suite.writeRoster(QStringLiteral("1,2014,0,0,\"たろう\",0"));
    clock.onWait = [&](int waits) {
        if (waits == 5)
            s.suite.writeRoster(kFamily, TextEncoding::Utf8);
    };
    PupilList list;
    QVERIFY(名簿表示(context, 0, QStringLiteral("全学年"), &list));
    QCOMPARE(clock.inner.waitCount(), 5);
    QCOMPARE(list.visible.size(), 3);
    QCOMPARE(s.test.state->roster.rosterEncoding, TextEncoding::Utf8);
    QVERIFY(s.test.dialogs.messages.empty());
    QVERIFY(!s.test.dialogs.ended);
}

void RosterDisplayTest::recovery_data() {
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

void RosterDisplayTest::recovery() {
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

QTEST_GUILESS_MAIN(RosterDisplayTest)
#include "tst_roster_display.moc"
