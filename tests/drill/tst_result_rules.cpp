#include "drill/result_rules.h"
#include "records/points.h"

#include <QtTest>

using namespace warizan;

// The result screen's rules: the points line, the time line, the banner with its cue, the cleared and
// quota conditions, and what is offered after the delay.
class ResultRulesTest final : public QObject {
    Q_OBJECT
private slots:
    void pointsAndTime_data();
    void pointsAndTime();
    void banner_data();
    void banner();
    void clearedAndQuota_data();
    void clearedAndQuota();
    void retryOffer_data();
    void retryOffer();
};

void ResultRulesTest::pointsAndTime_data() {
    QTest::addColumn<int>("goal");
    QTest::addColumn<float>("factor");
    QTest::addColumn<int>("time");
    QTest::addColumn<QString>("points");
    QTest::addColumn<QString>("timeText");
    // The points themselves are the rule's (tst_points); these rows hold the lines the screen writes.
    QTest::newRow("half the goal") << 120 << 1.5f << 60 << "獲得ポイント：11点×1.5→16点"
                                   << "今の成績：60秒";
    QTest::newRow("at the goal") << 120 << 2.0f << 120 << "獲得ポイント：5点×2→10点"
                                 << "今の成績：120秒";
    // The whole time sits on the curve here, not its first three digits.
    QTest::newRow("four-digit time") << 2000 << 1.0f << 1000 << "獲得ポイント：11点×1→11点"
                                     << "今の成績：1000秒";
    QTest::newRow("time ran out") << 120 << 1.5f << 99999 << "獲得ポイント：0点×1.5→0点"
                                  << "記録なし";
    QTest::newRow("99998") << 120 << 1.0f << 99998 << "獲得ポイント：0点×1→0点"
                           << "記録なし";
    QTest::newRow("factor in shortest form") << 60 << 1.1f << 0 << "獲得ポイント：55点×1.1→60点"
                                             << "今の成績：0秒";
}

void ResultRulesTest::pointsAndTime() {
    QFETCH(int, goal);
    QFETCH(float, factor);
    QFETCH(int, time);
    QFETCH(QString, points);
    QFETCH(QString, timeText);
    // As the result screen puts them together.
    const qint32 run = basePoints(goal, time);
    QCOMPARE(pointsText(run, factor, pointsAfterFactor(run, factor)), points);
    QCOMPARE(resultTimeText(time), timeText);
}

void ResultRulesTest::banner_data() {
    QTest::addColumn<bool>("timeUp");
    QTest::addColumn<bool>("personal");
    QTest::addColumn<bool>("levelBest");
    QTest::addColumn<int>("time");
    QTest::addColumn<int>("banner");
    QTest::addColumn<bool>("failCue");
    using B = ResultBanner;
    QTest::newRow("time up wins, silent") << true << true << true << 99999 << int(B::TimeUp) << false;
    QTest::newRow("both records") << false << true << true << 50 << int(B::TopRecord) << false;
    QTest::newRow("personal record") << false << true << false << 50 << int(B::PersonalBest) << false;
    QTest::newRow("level record alone") << false << false << true << 50 << int(B::TopRecord) << false;
    QTest::newRow("no record, at the second time") << false << false << false << 90 << int(B::None) << true;
    QTest::newRow("no record, slower") << false << false << false << 91 << int(B::None) << false;
}

void ResultRulesTest::banner() {
    QFETCH(bool, timeUp);
    QFETCH(bool, personal);
    QFETCH(bool, levelBest);
    QFETCH(int, time);
    QFETCH(int, banner);
    QFETCH(bool, failCue);
    const BannerChoice choice = chooseBanner(timeUp, personal, levelBest, time, 90);
    QCOMPARE(int(choice.banner), banner);
    QCOMPARE(choice.failCue, failCue);
}

void ResultRulesTest::clearedAndQuota_data() {
    QTest::addColumn<int>("recentRuns");
    QTest::addColumn<int>("recentPoints");
    QTest::addColumn<int>("quotaRuns");   // asked for (0: nothing)
    QTest::addColumn<int>("quotaPoints"); // asked for (0: nothing)
    QTest::addColumn<bool>("cleared");
    QTest::addColumn<bool>("quota");
    // The level asks for 10 runs and 100 points in the recent window; the pupil's quota window holds 5 runs
    // and 50 points.
    QTest::newRow("enough of both") << 10 << 100 << 5 << 0 << true << true;
    QTest::newRow("runs short") << 9 << 100 << 6 << 0 << false << false;
    QTest::newRow("points short") << 10 << 99 << 0 << 50 << false << true;
    QTest::newRow("no quota asked") << 10 << 100 << 0 << 0 << true << false;
    QTest::newRow("points quota met, runs not") << 10 << 100 << 6 << 50 << true << true;
}

void ResultRulesTest::clearedAndQuota() {
    QFETCH(int, recentRuns);
    QFETCH(int, recentPoints);
    QFETCH(int, quotaRuns);
    QFETCH(int, quotaPoints);
    QFETCH(bool, cleared);
    QFETCH(bool, quota);
    auto state = std::make_unique<ProgramState>();
    state->levels.levelBonusRuns[2] = 10;
    state->levels.levelBonusPoints[2] = 100;
    state->levels.levelQuotaRuns[2] = quotaRuns;
    state->levels.levelQuotaPoints[2] = quotaPoints;
    state->figures.recentCount.at(2, 7) = static_cast<qint16>(recentRuns);
    state->figures.recentPoints.at(2, 7) = recentPoints;
    state->figures.quotaCount.at(2, 7) = 5;
    state->figures.quotaPoints.at(2, 7) = 50;
    QCOMPARE(levelCleared(*state, 2, 7), cleared);
    QCOMPARE(quotaMet(*state, 2, 7), quota);
    QVERIFY(!levelCleared(*state, 2, 8) || recentRuns == 0);
    QVERIFY(goalMessageAllowed(state->levels));
    state->levels.levelBonusRuns[35] = 9999;
    QVERIFY(!goalMessageAllowed(state->levels));
}

void ResultRulesTest::retryOffer_data() {
    QTest::addColumn<bool>("quota");
    QTest::addColumn<bool>("cleared");
    QTest::addColumn<bool>("goalLevel");
    QTest::addColumn<bool>("goalCleared");
    QTest::addColumn<int>("offer");
    using R = RetryOffer;
    QTest::newRow("not cleared") << true << false << false << false << int(R::Offer);
    QTest::newRow("quota not met") << false << true << false << false << int(R::Offer);
    QTest::newRow("goal level done") << true << true << true << false << int(R::OfferAndHideClearedText);
    QTest::newRow("move on to the next level") << true << true << false << false << int(R::MoveOn);
    QTest::newRow("goal already cleared") << true << true << false << true << int(R::Offer);
}

void ResultRulesTest::retryOffer() {
    QFETCH(bool, quota);
    QFETCH(bool, cleared);
    QFETCH(bool, goalLevel);
    QFETCH(bool, goalCleared);
    QFETCH(int, offer);
    QCOMPARE(int(warizan::retryOffer(quota, cleared, goalLevel, goalCleared)), offer);
}

QTEST_GUILESS_MAIN(ResultRulesTest)
#include "tst_result_rules.moc"
