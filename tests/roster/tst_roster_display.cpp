#include "app/configuration.h"
#include "records/points.h"
#include "records/score_record.h"
#include "roster/roster_display.h"
#include "roster/roster_file.h"
#include "test_support.h"

#include <QFile>
#include <QtTest>
#include <functional>

using namespace warizan;
using namespace warizan::test;

Q_DECLARE_METATYPE(TextEncoding)

namespace {

const QDate kToday(2024, 4, 10);

// たろう is a third grader and はなこ in her last pre-school year on kToday; pupil 3 is inactive.
const QString kFamily = QStringLiteral("1,2015,0,0,\"たろう\",0,\"\",\"\"\n"
                                       "2,2018,0,0,\"はなこ\",0,\"\",\"\"\n"
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
    void encodingsReadAlike_data();
    void encodingsReadAlike();
    void gradeFollowsTheSchoolYear_data();
    void gradeFollowsTheSchoolYear();
    void failureEndsTheProgram_data();
    void failureEndsTheProgram();
    void rosterBackWithinTheRetries();

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
    appendRuns(config, QDate(2024, 1, 5), 1, 1, 30, 333);
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

void RosterDisplayTest::encodingsReadAlike_data() {
    QTest::addColumn<TextEncoding>("encoding");
    QTest::newRow("Shift-JIS") << TextEncoding::ShiftJis;
    QTest::newRow("UTF-8") << TextEncoding::Utf8;
    QTest::newRow("UTF-8 with BOM") << TextEncoding::Utf8WithBom;
}

void RosterDisplayTest::encodingsReadAlike() {
    QFETCH(TextEncoding, encoding);
    Setup s;
    s.suite.writeRoster(kFamily, encoding);
    s.test.state->roster.rosterEncoding =
        encoding == TextEncoding::ShiftJis ? TextEncoding::Utf8 : TextEncoding::ShiftJis;
    PupilList list;
    QVERIFY(名簿表示(s.test.context, 0, QStringLiteral("全学年"), &list));
    QCOMPARE(list.visible,
             QStringList({QStringLiteral("－－－－－－"), QStringLiteral("小3 たろう　　　     /     　"),
                          QStringLiteral("幼3 はなこ　　　　　     /     　")}));
    QCOMPARE(s.test.state->roster.rosterEncoding, encoding);
    QCOMPARE(s.test.state->roster.pupilName[3], QStringLiteral("ちち                  "));
}

void RosterDisplayTest::gradeFollowsTheSchoolYear_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("before April") << QDate(2024, 3, 15) << "全学年" << QStringList{"小2", "幼2"};
    QTest::newRow("from April") << QDate(2024, 4, 1) << "全学年" << QStringList{"小3", "幼3"};
    QTest::newRow("second graders before April") << QDate(2024, 3, 15) << "小２" << QStringList{"小2"};
    QTest::newRow("no second grader from April") << QDate(2024, 4, 1) << "小２" << QStringList{};
}

void RosterDisplayTest::gradeFollowsTheSchoolYear() {
    QFETCH(QDate, today);
    QFETCH(QString, filter);
    QFETCH(QStringList, labels);
    Setup s;
    s.test.clock.setNow(QDateTime(today, QTime(8, 0)));
    PupilList list;
    QVERIFY(名簿表示(s.test.context, 0, filter, &list));
    QCOMPARE(s.test.state->roster.gradeBaseYear, today.month() < 4 ? 2023 : 2024);
    QStringList shown;
    for (qsizetype k = 1; k < list.visible.size(); ++k)
        shown.append(list.visible.at(k).left(2));
    QCOMPARE(shown, labels);
}

void RosterDisplayTest::failureEndsTheProgram_data() {
    QTest::addColumn<bool>("rosterExists");
    QTest::addColumn<QString>("message");
    QTest::newRow("roster missing") << false << "名簿表示2ファイルが見つかりません53";
    QTest::newRow("last entry cut short") << true << "名簿表示3ファイルの終わりを越えて読もうとしました62";
}

void RosterDisplayTest::failureEndsTheProgram() {
    QFETCH(bool, rosterExists);
    QFETCH(QString, message);
    Setup s;
    if (rosterExists)
        s.suite.writeRoster(kFamily + QStringLiteral("4,2016,0,0,\"じろう\"\n"));
    else
        QVERIFY(QFile::remove(rosterPath(s.test.state->config)));
    PupilList list{{QStringLiteral("前の一覧")}, {}, 0};
    QVERIFY(!名簿表示(s.test.context, 0, QStringLiteral("全学年"), &list));
    // Five retries five seconds apart, the sixth failure ends the program.
    QCOMPARE(s.test.clock.waitCount(), 6);
    QCOMPARE(s.test.clock.totalWaitedMs(), 30000);
    QCOMPARE(s.test.dialogs.messages.size(), size_t(1));
    QCOMPARE(s.test.dialogs.messages[0].text, message);
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
    s.suite.writeRoster(QStringLiteral("1,2015,0,0,\"たろう\",0"));
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

QTEST_GUILESS_MAIN(RosterDisplayTest)
#include "tst_roster_display.moc"
