#include "drill/answer.h"
#include "drill/drill_clock.h"
#include "drill/question.h"
#include "state/pupil_minutes.h"
#include "test_doubles.h"

#include <QtTest>

using namespace warizan;

// The drill's rules without a screen: questions per level, reading and judging answers, and the clock's
// seconds, minutes and countdown boxes. The answer cells' keys are tested through the drill form's keys.
class DrillLogicTest final : public QObject {
    Q_OBJECT
private slots:
    void questionsFollowTheLevelRule_data();
    void questionsFollowTheLevelRule();
    void sameSeedSameSheet();
    void readsAnswers_data();
    void readsAnswers();
    void elapsedSeconds_data();
    void elapsedSeconds();
    void minutesSinceStart_data();
    void minutesSinceStart();
    void countdownBoxes_data();
    void countdownBoxes();
};

void DrillLogicTest::questionsFollowTheLevelRule_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("minProduct"); // exclusive bounds of quotient x divisor
    QTest::addColumn<int>("maxProduct");
    QTest::addColumn<bool>("remainder");
    QTest::newRow("level 1: any pair, exact") << 1 << 3 << 82 << false;
    QTest::newRow("level 2: below 20") << 2 << 3 << 20 << true;
    QTest::newRow("level 3: between 10 and 30") << 3 << 10 << 30 << true;
    QTest::newRow("level 4: above 30") << 4 << 30 << 82 << true;
}

void DrillLogicTest::questionsFollowTheLevelRule() {
    QFETCH(int, level);
    QFETCH(int, minProduct);
    QFETCH(int, maxProduct);
    QFETCH(bool, remainder);
    RandomSource random;
    random.seed(static_cast<quint64>(level) * 7919);
    // The history comes from "an earlier drill" on another level: it carries over into this one.
    qint32 previousQuotient = 9;
    qint32 previousDivisor = 2;
    bool sawZeroRemainder = false;
    bool sawRemainder = false;
    QSet<int> quotients;
    for (int i = 0; i < 3000; ++i) {
        const qint32 lastQuotient = previousQuotient;
        const qint32 lastDivisor = previousDivisor;
        const Question q = drawQuestion(level, random, previousQuotient, previousDivisor);
        QVERIFY2(q.quotient != lastQuotient && q.divisor != lastDivisor, qPrintable(QString::number(i)));
        QVERIFY(q.quotient >= 2 && q.quotient <= 9 && q.divisor >= 2 && q.divisor <= 9);
        const int product = q.quotient * q.divisor;
        QVERIFY2(product > minProduct && product < maxProduct, qPrintable(QString::number(product)));
        QVERIFY(q.remainder >= 0 && q.remainder < q.divisor);
        QCOMPARE(q.dividend(), product + q.remainder);
        QCOMPARE(previousQuotient, q.quotient);
        QCOMPARE(previousDivisor, q.divisor);
        (q.remainder == 0 ? sawZeroRemainder : sawRemainder) = true;
        quotients.insert(q.quotient);
    }
    QCOMPARE(sawRemainder, remainder);
    QVERIFY(sawZeroRemainder);
    QVERIFY(quotients.size() >= 3); // the draws spread over the level's pairs
}

void DrillLogicTest::sameSeedSameSheet() {
    const auto sheet = [](quint64 seed) {
        RandomSource random;
        random.seed(seed);
        qint32 q = 0;
        qint32 d = 0;
        return drawQuestions(3, 20, random, q, d);
    };
    QCOMPARE(sheet(42).size(), 20);
    QCOMPARE(sheet(42), sheet(42));
    QVERIFY(sheet(42) != sheet(43));
    QCOMPARE(worksheetLine({7, 3, 2}), QStringLiteral("23\t3\t7\t2"));
}

void DrillLogicTest::readsAnswers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("correctFor7");
    QTest::newRow("empty") << "" << 0.0 << false;
    QTest::newRow("07") << "07" << 7.0 << true;
    QTest::newRow("7.0") << "7.0" << 7.0 << true;
    QTest::newRow("007") << "007" << 7.0 << true;
    QTest::newRow("7- stops at the minus") << "7-" << 7.0 << true;
    QTest::newRow("-7") << "-7" << -7.0 << false;
    QTest::newRow(".5") << ".5" << 0.5 << false;
    QTest::newRow("second point stops") << "7.0.1" << 7.0 << true;
    QTest::newRow("slash stops") << "7/2" << 7.0 << true;
    QTest::newRow("nothing readable") << "*7" << 0.0 << false;
    QTest::newRow("minus alone") << "-" << 0.0 << false;
    QTest::newRow("twenty-three digits") << "00000000000000000000007" << 7.0 << true;
}

void DrillLogicTest::readsAnswers() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QFETCH(bool, correctFor7);
    QCOMPARE(readAnswerNumber(text), value);
    QCOMPARE(answerIsCorrect(text, QString(), 7, 0), correctFor7);
    // An empty remainder cell answers "no remainder" and nothing else.
    QCOMPARE(answerIsCorrect(QStringLiteral("7"), text, 7, 0), value == 0.0);
}

void DrillLogicTest::elapsedSeconds_data() {
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<int>("seconds");
    QTest::newRow("nothing yet") << qint64(0) << 0;
    QTest::newRow("just below a half") << qint64(1499) << 1;
    QTest::newRow("half to even (down)") << qint64(2500) << 2;
    QTest::newRow("half to even (up)") << qint64(3500) << 4;
    QTest::newRow("a day and more") << qint64(90'000'000) << 90'000;
    QTest::newRow("counter behind the start") << qint64(-5000) << 0;
}

void DrillLogicTest::elapsedSeconds() {
    QFETCH(qint64, ms);
    QFETCH(int, seconds);
    QCOMPARE(elapsedWholeSeconds(1'000'000, 1'000'000 + ms), seconds);
}

void DrillLogicTest::minutesSinceStart_data() {
    QTest::addColumn<qint64>("startMs");
    QTest::addColumn<QTime>("startTime");
    QTest::addColumn<qint64>("later"); // ms the clock moves on
    QTest::addColumn<int>("minutes");
    QTest::newRow("monotonic") << qint64(1'000'000) << QTime(10, 0) << qint64(599'999) << 9;
    QTest::newRow("monotonic across midnight")
        << qint64(1'000'000) << QTime(23, 55) << qint64(20 * 60'000) << 20;
    QTest::newRow("time of day") << qint64(-1) << QTime(10, 0) << qint64(60'000 * 61) << 61;
    QTest::newRow("time of day across midnight") << qint64(-1) << QTime(23, 55) << qint64(20 * 60'000) << 20;
    // Confirmed at 10:00:00.6, the start is rounded up to 10:00:01; the menu appears 0.2 s later.
    QTest::newRow("time of day, start rounded ahead of the clock")
        << qint64(-1) << QTime(10, 0, 0, 600) << qint64(200) << 0;
    QTest::newRow("time of day, a full second behind is yesterday")
        << qint64(-1) << QTime(10, 0, 1) << qint64(-1000) << 1439;
}

void DrillLogicTest::minutesSinceStart() {
    QFETCH(qint64, startMs);
    QFETCH(QTime, startTime);
    QFETCH(qint64, later);
    QFETCH(int, minutes);
    ManualClock clock(QDateTime(QDate(2024, 4, 10), startTime));
    const qint32 startSeconds = static_cast<qint32>(std::lround(startTime.msecsSinceStartOfDay() / 1000.0));
    clock.advanceMs(later);
    QCOMPARE(warizan::minutesSinceStart(clock, startMs, startSeconds), minutes);
}

void DrillLogicTest::countdownBoxes_data() {
    QTest::addColumn<int>("elapsed");
    QTest::addColumn<QList<int>>("hidden");
    // Best 20, your best 99999 (none yet), goal 40, second time 45.
    QTest::newRow("ten seconds before the best") << 10 << QList<int>{};
    QTest::newRow("nine before the best") << 11 << QList<int>{10};
    QTest::newRow("at the best") << 20 << QList<int>{10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
    QTest::newRow("past the best") << 21 << QList<int>{};
    QTest::newRow("goal minus 9") << 31 << QList<int>{30};
    QTest::newRow("goal minus 5, second time minus 14") << 35 << QList<int>{30, 31, 32, 33, 34};
    QTest::newRow("goal minus 1, second time minus 6")
        << 39 << QList<int>{30, 31, 32, 33, 34, 35, 36, 37, 38, 33};
    QTest::newRow("at the second time") << 45 << QList<int>{39};
}

void DrillLogicTest::countdownBoxes() {
    QFETCH(int, elapsed);
    QFETCH(QList<int>, hidden);
    QCOMPARE(countdownBoxesToHide({20, 99999, 40, 45}, elapsed), hidden);
}

QTEST_GUILESS_MAIN(DrillLogicTest)
#include "tst_drill_logic.moc"
