#include "lists/rankings.h"
#include "report/report_figures.h"
#include "state/content_levels.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace warizan;

namespace {

const QDate kToday(2024, 4, 10);

ScoreRecord run(int daysAgo, int pupil, int level, qint32 result) {
    ScoreRecord r;
    r.date = dateValue(kToday) - daysAgo;
    r.pupil = static_cast<qint16>(pupil);
    r.level = static_cast<qint16>(level);
    r.result = result;
    return r;
}

// "R" for a personal best, "B" for another run, "^" after a run drawn on the top edge as beyond the scale.
QString colours(const ReportSection& s) {
    QString out;
    for (const ReportPoint& p : s.points) {
        out += p.personalBest ? u'R' : u'B';
        if (p.beyondScale)
            out += u'^';
    }
    return out;
}

} // namespace

// The report's figures: scale, runs on the chart, the figures block and the pages.
class ReportFiguresTest final : public QObject {
    Q_OBJECT
private slots:
    void scaleTop_data();
    void scaleTop();
    void section_data();
    void section();
    void figuresFromRankings_data();
    void figuresFromRankings();
    void reportFollowsThePupilNotTheMenu_data();
    void reportFollowsThePupilNotTheMenu();
    void fourthLevelStartsAPage();
};

void ReportFiguresTest::scaleTop_data() {
    QTest::addColumn<int>("largest");
    QTest::addColumn<int>("top");
    QTest::newRow("87 s") << 87 << 90;
    QTest::newRow("90 s, already a multiple of ten") << 90 << 100;
    QTest::newRow("989 s") << 989 << 990;
    QTest::newRow("990 s, the cap") << 990 << 1000;
    QTest::newRow("1799 s") << 1799 << 1000;
    QTest::newRow("nothing counted") << 0 << 10;
}

void ReportFiguresTest::scaleTop() {
    QFETCH(int, largest);
    QFETCH(int, top);
    QCOMPARE(reportScaleTop(largest), top);
}

void ReportFiguresTest::section_data() {
    QTest::addColumn<std::vector<ScoreRecord>>("records");
    QTest::addColumn<QString>("colours");
    QTest::addColumn<int>("scaleTop");
    QTest::addColumn<QStringList>("someLines"); // lines the figures block must hold
    QTest::addColumn<QStringList>("noLines");   // line starts it must not hold

    // Pupil 7 on level 2; pupil 8 is somebody else.
    QTest::newRow("bests red, slower runs blue")
        << std::vector<ScoreRecord>{run(9, 7, 2, 50), run(8, 7, 2, 40), run(7, 8, 2, 20), run(6, 7, 2, 45),
                                    run(5, 7, 2, 30)}
        << "RRBR" << 60
        << QStringList{"回数　　　　　　　  4回", "　　最高　　　　   30秒 /   20秒",
                       "　　平均　　　　   41秒 /   37秒"}
        << QStringList{};
    QTest::newRow("no run under 1800 s: no average, best shows only the others'")
        << std::vector<ScoreRecord>{run(3, 7, 2, 1800), run(2, 7, 2, 99999), run(1, 8, 2, 70)} << "" << 10
        << QStringList{"回数　　　　　　　  0回", "　　最高　　　　       /   70秒"}
        << QStringList{"　　平均"};
    QTest::newRow("ten-year window, other levels and damaged records passed over")
        << std::vector<ScoreRecord>{run(3650, 7, 2, 10), run(3649, 7, 2, 80), run(1, 7, 3, 5),
                                    run(1, 7, 9, 5),     run(1, 7, 2, -5),    run(1, 6000, 2, 3)}
        << "R" << 90 << QStringList{"回数　　　　　　　  1回", "　　最高　　　　   80秒 /   80秒"}
        << QStringList{};
    // Bests are judged on the times themselves: 1200 after 1500 is a best although both sit on the edge.
    QTest::newRow("runs of 1000 to 1799 s on the top edge")
        << std::vector<ScoreRecord>{run(4, 7, 2, 1500), run(3, 7, 2, 1200), run(2, 7, 2, 1700),
                                    run(1, 7, 2, 900)}
        << "R^R^B^R" << 1000 << QStringList{"　　最高　　　　  900秒 /  900秒"} << QStringList{};
    QTest::newRow("nobody with a time: no figure made of the markers")
        << std::vector<ScoreRecord>{run(2, 7, 2, 99998), run(1, 8, 2, 99999)} << "" << 10
        << QStringList{"　　最高　　　　       /   --", "　　順位　　　　   --"} << QStringList{};
}

void ReportFiguresTest::section() {
    QFETCH(std::vector<ScoreRecord>, records);
    QFETCH(QString, colours);
    QFETCH(int, scaleTop);
    QFETCH(QStringList, someLines);
    QFETCH(QStringList, noLines);
    ReportRankingFigures ranking;
    const ReportSection s = reportSection(records, kToday, 4, 2, 7, ranking);
    QCOMPARE(::colours(s), colours);
    QCOMPARE(s.scaleTop, scaleTop);
    for (const QString& line : someLines)
        QVERIFY2(s.figureLines.contains(line), qPrintable(s.figureLines.join(u'\n')));
    for (const QString& start : noLines)
        for (const QString& line : s.figureLines)
            QVERIFY2(!line.startsWith(start), qPrintable(line));
    // The bests are joined in order, each faster than the one before; every run stays on the chart.
    for (std::size_t i = 1; i < s.bests.size(); ++i)
        QVERIFY(s.bests[i].timeText.chopped(1).toInt() < s.bests[i - 1].timeText.chopped(1).toInt());
    for (const ReportPoint& p : s.points) {
        QVERIFY2(p.y >= 0.1 && p.y <= 0.8, qPrintable(p.timeText));
        if (p.beyondScale)
            QCOMPARE(p.y, 0.1);
    }
}

void ReportFiguresTest::figuresFromRankings_data() {
    QTest::addColumn<RankingList>("times");
    QTest::addColumn<RankingList>("points");       // the whole family, by points so far
    QTest::addColumn<RankingList>("listedPoints"); // as the grade filter lists them
    QTest::addColumn<QStringList>("lines");        // of the figures block, from its third line on

    // Pupil 12 is the one reported on; his name is longer than its column, so he is found by number.
    const RankingList points{{" 1①たろうたろ 10/  120", " 2●はなこ　　  0/   60", " 3②じろう　　  0/    0"},
                             {12, 5, 9}};
    QTest::newRow("places without their mark")
        << RankingList{{" 1●はなこ　　    45 ●", " 2①たろうたろ    50 　"}, {5, 12}} << points << points
        << QStringList{"　　順位　　　　    2位",
                       "　　最高　　　　       /   --",
                       "ポイント  　　　",
                       "　　順位　　　　    1位",
                       "　　獲得ポイント  120点",
                       "　　　　　　　　　　　　/   90点",
                       "　　　　　　　　　　　　 (全平均)"};
    QTest::newRow("hidden by the grade filter: his figures, the listed pupils' average")
        << RankingList{{" 1●はなこ　　    45 ●", " 2①たろうたろ    50 　"}, {5, 12}} << points
        << RankingList{{" 2●はなこ　　  0/   60"}, {5}} << QStringList{"　　順位　　　　    2位",
                                                                       "　　最高　　　　       /   --",
                                                                       "ポイント  　　　",
                                                                       "　　順位　　　　    1位",
                                                                       "　　獲得ポイント  120点",
                                                                       "　　　　　　　　　　　　/   60点",
                                                                       "　　　　　　　　　　　　 (全平均)"};
    QTest::newRow("no time, nobody with points: no place, no average")
        << RankingList{{"--①たろうたろ------ 　"}, {12}} << RankingList{{" 1①たろうたろ  0/    0"}, {12}}
        << RankingList{{" 1①たろうたろ  0/    0"}, {12}}
        << QStringList{"　　順位　　　　   --",   "　　最高　　　　       /   --",
                       "ポイント  　　　",        "　　順位　　　　    1位",
                       "　　獲得ポイント    0点", "　　　　　　　　　　　　 (全平均)"};
    QTest::newRow("not ranked at all")
        << RankingList{} << RankingList{} << RankingList{}
        << QStringList{"　　順位　　　　   --",   "　　最高　　　　       /   --",
                       "ポイント  　　　",        "　　順位　　　　   --",
                       "　　獲得ポイント    0点", "　　　　　　　　　　　　 (全平均)"};
}

void ReportFiguresTest::figuresFromRankings() {
    QFETCH(RankingList, times);
    QFETCH(RankingList, points);
    QFETCH(RankingList, listedPoints);
    QFETCH(QStringList, lines);
    const ReportRankingFigures figures = reportRankingFigures(times, points, listedPoints, 12);
    const ReportSection s = reportSection({}, kToday, 4, 1, 12, figures);
    QCOMPARE(s.figureLines.mid(2), lines);
}

namespace {

// Pupils 1 to 4 listed in that order (school year 2024): 1 grade 2, 2 grade 6, 3 grade 8, 4 an adult.
// Pupil 1 has the most points so far on level 1 but none today; pupil 2 has the points of today.
std::unique_ptr<ProgramState> rankedFamily(const QString& dataFolder) {
    auto state = std::make_unique<ProgramState>();
    state->config.programDataFolder = dataFolder;
    RosterTables& r = state->roster;
    r.gradeBaseYear = 2024;
    const int births[] = {0, 2016, 2012, 2010, 1980};
    for (int p = 1; p <= 4; ++p) {
        r.pupilName[p] = QStringLiteral("子%1").arg(p);
        r.pupilBirthYear[p] = static_cast<qint16>(births[p]);
        r.rosterPupilNumber[static_cast<size_t>(p)] = static_cast<qint16>(p);
    }
    r.listedCount = 4;
    PrepareContent(state->levels);
    state->figures.bestResult.fill(kNoResult);
    const int best[] = {0, 40, 30, 50, 99998};
    const int total[] = {0, 90, 20, 10, 0};
    const int today[] = {0, 0, 20, 0, 0};
    for (int p = 1; p <= 4; ++p) {
        state->figures.bestResult.at(1, p) = best[p];
        state->figures.totalPoints.at(1, p) = total[p];
        state->figures.todayPoints.at(1, p) = today[p];
    }
    state->pupil.currentPupil = 1;
    return state;
}

} // namespace

void ReportFiguresTest::reportFollowsThePupilNotTheMenu_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<int>("pointsOrder");
    QTest::addColumn<QStringList>("lines"); // of the figures block, from its third line on
    const QStringList whole{"　　順位　　　　    2位",          "　　最高　　　　   40秒 /   30秒",
                            "　　平均　　　　   40秒 /   35秒", "ポイント  　　　",
                            "　　順位　　　　    1位",          "　　獲得ポイント   90点"};
    QTest::newRow("by points so far") << "全学年" << kByPointsSoFar
                                      << (QStringList(whole) << "　　　　　　　　　　　　/   40点"
                                                             << "　　　　　　　　　　　　 (全平均)");
    // Under "today" the pupil has no line, yet keeps his place and points so far.
    QTest::newRow("menu by points today") << "全学年" << kByPointsToday
                                          << (QStringList(whole) << "　　　　　　　　　　　　/   40点"
                                                                 << "　　　　　　　　　　　　 (全平均)");
    // The filter hides the pupil (grade 2): his figures and chart stay, the average is of the grade-6 pupil.
    QTest::newRow("hidden by the grade filter")
        << "小６" << kByPointsSoFar
        << (QStringList(whole) << "　　　　　　　　　　　　/   20点"
                               << "　　　　　　　　　　　　 (全平均)");
}

void ReportFiguresTest::reportFollowsThePupilNotTheMenu() {
    QFETCH(QString, filter);
    QFETCH(int, pointsOrder);
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    auto state = rankedFamily(dir.path() + u'/');
    QFile file(scoreFilePath(state->config));
    QVERIFY(file.open(QIODevice::WriteOnly));
    Configuration config;
    for (const auto& [pupil, result] : std::vector<std::pair<int, int>>{{1, 40}, {2, 30}})
        file.write(encodeScoreRecord(makeScoreRecord(config, kToday.addDays(-1), QTime(10, 0),
                                                     static_cast<qint16>(pupil), 1, result)));
    file.close();

    ReportRequest request;
    request.pupil = 1;
    request.levels = {1};
    request.gradeFilter = filter;
    request.pointsOrder = pointsOrder;
    request.today = kToday;
    ReportDocument report;
    QString error;
    QVERIFY2(buildReport(*state, request, &report, &error), qPrintable(error));
    QCOMPARE(report.sections.size(), std::size_t(1));
    const ReportSection& s = report.sections.front();
    QCOMPARE(s.figureLines.mid(2), lines);
    QCOMPARE(colours(s), QStringLiteral("R"));
}

void ReportFiguresTest::fourthLevelStartsAPage() {
    const std::vector<ReportSlot> placed = reportLayout({1, 2, 3, 4}, 4);
    QCOMPARE(placed.size(), std::size_t(4));
    QCOMPARE(placed[2].page, 0);
    QCOMPARE(placed[2].slot, 2);
    QCOMPARE(placed[3].page, 1);
    QCOMPARE(placed[3].slot, 0);
    QCOMPARE(reportLayout({2, 5}, 4).size(), std::size_t(1)); // a level the content does not have
}

QTEST_GUILESS_MAIN(ReportFiguresTest)
#include "tst_report_figures.moc"
