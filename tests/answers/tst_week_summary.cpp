#include "answers/week_summary.h"

#include <QtTest>

using namespace warizan;

namespace {

// The week of Wednesday 10 April 2024 runs from Monday the 8th to Sunday the 14th.
const QDate kMonday(2024, 4, 8);

struct Answer {
    int quotient;
    int divisor;
    int correct; // 1, 0, -1 unanswered
    qint64 ms;
};

WeekDrill drill(const QDateTime& start, const QList<Answer>& answers, int level = 2) {
    WeekDrill d;
    d.start = start;
    d.level = level;
    int number = 0;
    for (const Answer& a : answers) {
        LoggedAnswer row;
        row.pupil = 1;
        row.level = level;
        row.drillStart = start;
        row.number = ++number;
        row.question = {a.quotient, a.divisor, 1};
        row.typedQuotient = QString::number(a.correct == 0 ? a.quotient + 1 : a.quotient);
        row.typedRemainder = QStringLiteral("1");
        row.correct = a.correct;
        row.ms = a.correct < 0 ? 0 : a.ms;
        d.durationMs += row.ms;
        d.answers.push_back(row);
    }
    return d;
}

QDateTime at(const QDate& day, int hour, int minute = 0, int second = 0) {
    return {day, QTime(hour, minute, second)};
}

} // namespace

// A parent's week: the figures of one pupil's week from the drills of the answer log.
class WeekSummaryTest final : public QObject {
    Q_OBJECT
private slots:
    void boundaries_data();
    void boundaries();
    void becameKnownAndWeak();
    void comparedWithTheWeekBefore();
    void emptyWeek();
    void drillsFromLogRows();
};

void WeekSummaryTest::boundaries_data() {
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<int>(
        "weekOffset"); // the week it belongs to: 0 this week, -1 the week before, 1 the next
    QTest::addColumn<QDate>("askedDay"); // the day the summary is asked for
    QTest::newRow("Monday at midnight") << at(kMonday, 0) << 0 << QDate(2024, 4, 10);
    QTest::newRow("Sunday late, asked on the Sunday")
        << at(QDate(2024, 4, 14), 23, 59, 59) << 0 << QDate(2024, 4, 14);
    QTest::newRow("the Sunday before") << at(QDate(2024, 4, 7), 12) << -1 << QDate(2024, 4, 8);
    // Started a minute before midnight, answered after it: the day it started.
    QTest::newRow("started before midnight on the Sunday before")
        << at(QDate(2024, 4, 7), 23, 59) << -1 << QDate(2024, 4, 12);
    QTest::newRow("the next Monday") << at(QDate(2024, 4, 15), 7) << 1 << QDate(2024, 4, 9);
}

void WeekSummaryTest::boundaries() {
    QFETCH(QDateTime, start);
    QFETCH(int, weekOffset);
    QFETCH(QDate, askedDay);
    // Three questions, the last answered well after midnight of the start's day.
    const std::vector<WeekDrill> drills{drill(start, {{3, 4, 1, 2000}, {7, 5, 0, 9000}, {6, 6, 1, 120000}})};
    const WeekSummary summary = summarizeWeek(drills, askedDay);
    QCOMPARE(summary.week.monday, mondayOf(askedDay));
    const WeekFigures& week = weekOffset == 0 ? summary.week : summary.before;
    if (weekOffset == 1) {
        QCOMPARE(summary.week.answers + summary.before.answers, 0);
        QVERIFY(summary.missed.empty());
        return;
    }
    QCOMPARE(week.days, 1);
    QCOMPARE(week.drills, 1);
    QCOMPARE(week.drillsByLevel.at(2), 1);
    QCOMPARE(week.answers, 3);
    QCOMPARE(week.wrong, 1);
    QCOMPARE(week.medianMs, std::optional<qint64>(9000));
    QCOMPARE(summary.missed.size(), size_t(weekOffset == 0 ? 1 : 0));
    QCOMPARE((weekOffset == 0 ? summary.before : summary.week).answers, 0);
    // The trend's last week is the week itself; the week before is the one ahead of it.
    QCOMPARE(summary.trend.size(), size_t(8));
    QCOMPARE(summary.trend.back().answers, summary.week.answers);
    QCOMPARE(summary.trend[6].answers, summary.before.answers);
    QCOMPARE(summary.trend.front().monday, mondayOf(askedDay).addDays(-49));
}

// 3 x 4 learnt this week; 6 x 6 known already before it; 9 x 9 weak at the end though it was known before;
// 2 x 8 answered quickly three times but the third only on the next Monday.
void WeekSummaryTest::becameKnownAndWeak() {
    const QDate before = kMonday.addDays(-3);
    const std::vector<WeekDrill> drills{
        drill(at(before, 17), {{3, 4, 1, 9000},
                               {6, 6, 1, 2000},
                               {6, 6, 1, 2000},
                               {6, 6, 1, 2000},
                               {9, 9, 1, 1000},
                               {9, 9, 1, 1000},
                               {9, 9, 1, 1000},
                               {2, 8, 1, 1000}}),
        drill(at(kMonday, 17), {{3, 4, 1, 3000}, {3, 4, 1, 6000}, {3, 4, 1, 5000}, {9, 9, 0, 1000}}),
        drill(at(kMonday.addDays(6), 20), {{2, 8, 1, 1000}, {6, 6, 1, 3000}}),
        drill(at(kMonday.addDays(7), 8), {{2, 8, 1, 1000}, {9, 9, 1, 1000}}),
    };
    WeekSummary summary = summarizeWeek(drills, kMonday.addDays(3));
    QCOMPARE(summary.becameKnown, (std::vector<FactPair>{{3, 4}}));
    QCOMPARE(summary.weakAtEnd, (std::vector<FactPair>{{9, 9}}));
    const QStringList lines = weekSummaryLines(summary);
    QCOMPARE(lines[7], QStringLiteral("became_known\t3,4"));
    QCOMPARE(lines[8], QStringLiteral("weak\t9,9"));
    // The one wrong answer of the week: the day, dividend, divisor and what was typed.
    QCOMPARE(lines[9], QStringLiteral("missed\t2024-04-08\t82\t9\t10\t1"));
    QCOMPARE(lines.size(), 10 + 8);
    // A typed text from an imported log cannot split the line.
    summary.missed[0].typedQuotient = QStringLiteral("1\t0\n");
    QCOMPARE(weekSummaryLines(summary)[9], QStringLiteral("missed\t2024-04-08\t82\t9\t1 0 \t1"));
}

void WeekSummaryTest::comparedWithTheWeekBefore() {
    const QDate last = kMonday.addDays(-7);
    const std::vector<WeekDrill> drills{
        // The week before: two days, three drills (one a level 3 drill), five judged answers.
        drill(at(last, 9), {{2, 2, 1, 4000}, {3, 3, 0, 8000}}),
        drill(at(last, 19), {{4, 4, 1, 2000}, {5, 5, -1, 0}}),
        drill(at(last.addDays(2), 9), {{6, 6, 1, 1000}, {7, 7, 1, 5000}}, 3),
        // This week: one day, one drill, four judged answers, the median the lower middle one.
        drill(at(kMonday.addDays(4), 16),
              {{2, 2, 1, 1000}, {3, 3, 1, 7000}, {4, 4, 0, 3000}, {5, 5, 1, 9000}}),
    };
    const WeekSummary summary = summarizeWeek(drills, kMonday);
    QCOMPARE(summary.before.days, 2);
    QCOMPARE(summary.before.drills, 3);
    QCOMPARE(summary.before.drillsByLevel, (std::map<int, int>{{2, 2}, {3, 1}}));
    QCOMPARE(summary.before.answers, 5);
    QCOMPARE(summary.before.wrong, 1);
    QCOMPARE(summary.before.medianMs, std::optional<qint64>(4000));
    QCOMPARE(summary.before.ms, 20000);
    QCOMPARE(summary.week.days, 1);
    QCOMPARE(summary.week.answers, 4);
    QCOMPARE(summary.week.medianMs, std::optional<qint64>(3000));
    QCOMPARE(summary.week.minutes(), 0);
    QCOMPARE(summary.trend[6].wrong, 1);
}

void WeekSummaryTest::emptyWeek() {
    const std::vector<WeekDrill> drills{drill(at(kMonday.addDays(-20), 9), {{2, 2, 0, 4000}})};
    const QStringList lines = weekSummaryLines(summarizeWeek(drills, kMonday.addDays(6)));
    QStringList expected{"week\t2024-04-08", "days\t0",     "drills\t0",      "practice\t0", "answers\t0",
                         "wrong\t0",         "median_ms\t", "became_known\t", "weak\t2,2"};
    for (int k = 7; k >= 0; --k)
        expected << QStringLiteral("trend\t%1\t%2\t%2\t%3")
                        .arg(kMonday.addDays(-7 * k).toString(Qt::ISODate))
                        .arg(k == 3 ? 1 : 0)
                        .arg(k == 3 ? QStringLiteral("4000") : QString());
    QCOMPARE(lines, expected);
}

// The log's rows in its order make one drill each, also two drills started in the same second.
void WeekSummaryTest::drillsFromLogRows() {
    std::vector<LoggedAnswer> rows;
    const auto add = [&](const QDateTime& start, int level, int number, qint64 ms) {
        LoggedAnswer row;
        row.level = level;
        row.drillStart = start;
        row.number = number;
        row.correct = ms > 0 ? 1 : -1;
        row.ms = ms;
        rows.push_back(row);
    };
    const QDateTime start = at(kMonday, 9);
    add(start, 1, 1, 1000);
    add(start, 1, 2, 2000);
    add(start, 1, 1, 3000); // another drill in the same second
    add(start, 2, 1, 500);  // of another level
    add(start.addSecs(60), 2, 1, 4000);
    add(start.addSecs(60), 2, 2, 0);
    const std::vector<WeekDrill> drills = weekDrills(rows);
    QCOMPARE(drills.size(), size_t(4));
    QCOMPARE(drills[0].durationMs, 3000);
    QCOMPARE(drills[1].answers.size(), size_t(1));
    QCOMPARE(drills[3].answers.size(), size_t(2));
    QVERIFY(!drills[3].practice);
    QCOMPARE(lowerMedian({5, 1, 4, 2}), std::optional<qint64>(2));
    QCOMPARE(lowerMedian({}), std::nullopt);
}

QTEST_GUILESS_MAIN(WeekSummaryTest)
#include "tst_week_summary.moc"
