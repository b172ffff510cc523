#include "records/points.h"

#include <QtTest>
#include <cmath>
#include <limits>

using namespace warizan;

// The points rule: the base points of a run against the goal, and the points after the level's factor, as
// the count, the score lists and the result screen take them.
class PointsTest final : public QObject {
    Q_OBJECT
private slots:
    void rule_data();
    void rule();
};

void PointsTest::rule_data() {
    QTest::addColumn<int>("goal");
    QTest::addColumn<float>("factor");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("base");   // before the factor
    QTest::addColumn<int>("points"); // after it
    constexpr int most = std::numeric_limits<qint32>::max();
    QTest::newRow("no time at all") << 120 << 1.5f << 0 << 55 << 82;
    QTest::newRow("half the goal") << 120 << 1.5f << 60 << 11 << 16;
    QTest::newRow("at the goal") << 120 << 1.5f << 120 << 5 << 7;
    QTest::newRow("at the goal, factor 2") << 120 << 2.0f << 120 << 5 << 10;
    QTest::newRow("just past the goal") << 120 << 1.0f << 121 << 4 << 4;
    QTest::newRow("past the goal") << 120 << 1.5f << 200 << 4 << 6;
    QTest::newRow("just below twice the goal") << 120 << 1.5f << 239 << 4 << 6;
    QTest::newRow("twice the goal") << 120 << 1.5f << 240 << 1 << 1;
    QTest::newRow("below ten times the goal") << 120 << 1.5f << 300 << 1 << 1;
    QTest::newRow("just below ten times the goal") << 120 << 1.0f << 1199 << 1 << 1;
    QTest::newRow("ten times the goal") << 120 << 1.5f << 1200 << 0 << 0;
    QTest::newRow("factor 0.3 rounds down") << 120 << 0.3f << 60 << 11 << 3;
    QTest::newRow("factor 0.3 of one point is none") << 120 << 0.3f << 240 << 1 << 0;
    QTest::newRow("factor in shortest form") << 60 << 1.1f << 0 << 55 << 60;
    QTest::newRow("uncounted run below ten times the goal") << 1000 << 1.0f << 6000 << 1 << 1;
    QTest::newRow("99997 on a long goal still earns") << 10000 << 1.0f << 99997 << 1 << 1;
    QTest::newRow("99998 earns nothing") << 99999 << 1.0f << 99998 << 0 << 0;
    QTest::newRow("time ran out") << 99999 << 1.0f << 99999 << 0 << 0;
    QTest::newRow("time ran out on a short goal") << 120 << 1.5f << 99999 << 0 << 0;
    // The whole value sits on the curve: half of a 2000-second goal is 11 points, not those of "100".
    QTest::newRow("goal of 1000 seconds and more") << 2000 << 1.0f << 1000 << 11 << 11;
    QTest::newRow("four-digit run on a four-digit goal") << 1500 << 1.0f << 1200 << 5 << 5;
    QTest::newRow("no goal time, no time taken") << 0 << 1.0f << 0 << 0 << 0;
    QTest::newRow("no goal time") << 0 << 1.0f << 50 << 0 << 0;
    QTest::newRow("a goal below 0 is none") << -60 << 1.0f << 30 << 0 << 0;
    QTest::newRow("absurd factor saturates") << 60 << 1e9f << 0 << 55 << most;
    QTest::newRow("damaged negative result saturates")
        << 60 << 1.0f << std::numeric_limits<qint32>::min() << most << most;
    QTest::newRow("a factor that is no number earns nothing") << 120 << std::nanf("") << 60 << 11 << 0;
    QTest::newRow("an infinite factor on no points earns nothing")
        << 120 << std::numeric_limits<float>::infinity() << 1200 << 0 << 0;
}

void PointsTest::rule() {
    QFETCH(int, goal);
    QFETCH(float, factor);
    QFETCH(int, result);
    QFETCH(int, base);
    QFETCH(int, points);
    QCOMPARE(basePoints(goal, result), base);
    QCOMPARE(pointsAfterFactor(base, factor), points);
    // A run on a level of the table, and on none.
    LevelTable levels;
    levels.levelGoal.fill(goal);
    levels.levelBonusFactor.fill(factor);
    QCOMPARE(recordPoints(levels, result, 2), points);
    QCOMPARE(recordPoints(levels, result, kMaxLevel), points);
    QCOMPARE(recordPoints(levels, result, 0), points);
    QCOMPARE(recordPoints(levels, result, -1), 0);
    QCOMPARE(recordPoints(levels, result, kMaxLevel + 1), 0);
}

QTEST_GUILESS_MAIN(PointsTest)
#include "tst_points.moc"
