#include "report/report_figures.h"

#include <QtTest>

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

QString colours(const ReportSection& s) {
    QString out;
    for (const ReportPoint& p : s.points)
        out += p.personalBest ? u'R' : u'B';
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
    void figuresFromRankings();
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
                                    run(1, 7, 9, 5), run(1, 7, 2, -5), run(1, 6000, 2, 3)}
        << "R" << 90 << QStringList{"回数　　　　　　　  1回", "　　最高　　　　   80秒 /   80秒"}
        << QStringList{};
}

void ReportFiguresTest::section() {
    QFETCH(std::vector<ScoreRecord>, records);
    QFETCH(QString, colours);
    QFETCH(int, scaleTop);
    QFETCH(QStringList, someLines);
    QFETCH(QStringList, noLines);
    ReportRankingFigures ranking;
    const ReportSection s = reportSection(records, kToday, 4, 2, 7, true, ranking);
    QCOMPARE(::colours(s), colours);
    QCOMPARE(s.scaleTop, scaleTop);
    for (const QString& line : someLines)
        QVERIFY2(s.figureLines.contains(line), qPrintable(s.figureLines.join(u'\n')));
    for (const QString& start : noLines)
        for (const QString& line : s.figureLines)
            QVERIFY2(!line.startsWith(start), qPrintable(line));
    // The bests are joined in order, each lower on the chart (faster) than the one before.
    for (std::size_t i = 1; i < s.bests.size(); ++i)
        QVERIFY(s.bests[i].y > s.bests[i - 1].y);
    // A pupil hidden by the grade filter is counted but not plotted, so has no best on the chart.
    const ReportSection hidden = reportSection(records, kToday, 4, 2, 7, false, ranking);
    QVERIFY(hidden.points.empty() && hidden.bests.empty());
    QCOMPARE(hidden.figureLines.first(), s.figureLines.first());
}

void ReportFiguresTest::figuresFromRankings() {
    // Pupil 12's name is longer than its column: the line is found by number all the same.
    const QStringList points{" 1①たろうたろ 10/  120", " 2●はなこ　　  0/   60", " 3②じろう　　  0/    0"};
    const QStringList times{" 1●はなこ　　    45 ●", " 2①たろうたろ    50 　"};
    const ReportRankingFigures f = reportRankingFigures(times, {5, 12}, points, {12, 5, 9}, 12);
    QCOMPARE(f.pointsPlace, QStringLiteral(" 1①"));
    QCOMPARE(f.pupilPoints, 120);
    QCOMPARE(f.timePlace, QStringLiteral(" 2①"));
    QCOMPARE(f.pointsPupilCount, 2);
    QCOMPARE(f.pointsSum, 180);

    // Nobody with points: only the caption stands where the average would be.
    const ReportRankingFigures none = reportRankingFigures({}, {}, {" 1①たろう　　  0/    0"}, {12}, 12);
    const ReportSection s = reportSection({run(1, 12, 1, 40)}, kToday, 4, 1, 12, true, none);
    QCOMPARE(s.figureLines.mid(s.figureLines.size() - 2),
             (QStringList{"　　獲得ポイント    0点", "　　　　　　　　　　　　 (全平均)"}));
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
