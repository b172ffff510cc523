#include "lists/level_columns.h"
#include "lists/list_text.h"
#include "lists/rankings.h"
#include "lists/score_lists.h"
#include "records/score_record.h"
#include "state/content_levels.h"
#include "state/pupil_minutes.h"
#include "system_files.h"
#include "test_doubles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace warizan;

// The lines under the level columns: rankings from the figures, run lists from a real score file, the
// column texts and the unlocking pass.
class ListsTest final : public QObject {
    Q_OBJECT
private slots:
    void rankings_data();
    void rankings();
    void scoreLists_data();
    void scoreLists();
    void todayReadsOnlyTheLast1000();
    void personalChartFigures();
    void specialScoreFileIsRefused();
    void unlocking_data();
    void unlocking();
    void columnTexts_data();
    void columnTexts();
    void filtersAndMarks_data();
    void filtersAndMarks();
};

namespace {

// A clock showing `seconds` after midnight.
std::unique_ptr<ManualClock> clockAt(double seconds) {
    return std::make_unique<ManualClock>(
        QDateTime(QDate(2024, 4, 10), QTime::fromMSecsSinceStartOfDay(static_cast<int>(seconds * 1000))));
}

// Four pupils listed in the roster order 2, 1, 3, 4 (school year 2024):
// 1 たろう (grade 2), 2 はなこ (grade 6), 3 じろうきちべえ (grade 8), 4 先生 (an adult).
std::unique_ptr<ProgramState> family() {
    auto state = std::make_unique<ProgramState>();
    RosterTables& r = state->roster;
    r.gradeBaseYear = 2024;
    const QStringList names = {"", "たろう", "はなこ", "じろうきちべえ", "先生"};
    const int births[] = {0, 2016, 2012, 2010, 1980};
    for (int p = 1; p <= 4; ++p) {
        r.pupilName[p] = names[p].leftJustified(20, u' ');
        r.pupilBirthYear[p] = static_cast<qint16>(births[p]);
    }
    r.listedCount = 4;
    const int order[] = {0, 2, 1, 3, 4};
    for (int k = 1; k <= 4; ++k)
        r.rosterPupilNumber[static_cast<size_t>(k)] = static_cast<qint16>(order[k]);
    PrepareContent(state->levels);
    for (int level = 1; level <= 4; ++level) {
        state->levels.levelGoal[level] = 60 * level;
        state->levels.levelBonusFactor[level] = 2.0f; // the lists show the points without it
        state->levels.levelBonusPoints[level] = 100;
        state->levels.levelBonusRuns[level] = 10;
        state->levels.levelRecentDays[level] = 7;
    }
    state->figures.bestResult.fill(kNoResult);
    return state;
}

void writeRecords(const QString& folder, const QStringList& records) {
    QFile file(folder + kScoreFileName);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    Configuration config;
    for (const QString& text : records) {
        // "yyyy-MM-dd HH:mm:ss pupil level result"
        const QStringList f = text.split(u' ');
        file.write(encodeScoreRecord(makeScoreRecord(
            config, QDate::fromString(f[0], Qt::ISODate), QTime::fromString(f[1], QStringLiteral("HH:mm:ss")),
            static_cast<qint16>(f[2].toInt()), static_cast<qint16>(f[3].toInt()), f[4].toInt())));
    }
}

QStringList joined(const ScoreLists& lists) {
    QStringList out;
    for (size_t level = 1; level < lists.byLevel.size(); ++level)
        for (const QString& line : lists.byLevel[level])
            out << QString::number(level) + u'\t' + line;
    return out;
}

} // namespace

void ListsTest::rankings_data() {
    QTest::addColumn<QString>("mode");      // times, sofar, today
    QTest::addColumn<QList<int>>("first");  // times: best; points: so far (pupils 1..4)
    QTest::addColumn<QList<int>>("second"); // points: today
    QTest::addColumn<int>("working");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("lines");
    const QList<int> none;
    // Ties, failures, marks, hidden pupils and both points orders are shown on the real menu's tests.
    QTest::newRow("adult only under the whole family")
        << "times" << QList<int>{30, 20, 45, 99} << none << 0 << "家族"
        << QStringList{" 1⑥はなこ　　    20 　", " 2②たろう　　    30 　", " 3Ⅱじろうきち    45 　",
                       " 4　先生　　　    99 　"};
    QTest::newRow("unknown filter lists nobody")
        << "times" << QList<int>{30, 20, 45, 99} << none << 0 << "大人" << QStringList{};
    QTest::newRow("times of one and five digits, a failed run, no run")
        << "times" << QList<int>{12345, 5, 99998, 99999} << none << 0 << "全学年"
        << QStringList{" 1⑥はなこ　　    5 　", " 2②たろう　　 12345 　", " 3Ⅱじろうきち*失敗* 　",
                       "--　先生　　　------ 　"};
    QTest::newRow("points wider than their columns, and below 0")
        << "sofar" << QList<int>{123456, -12, 7, 0} << QList<int>{1234, -5, 0, 0} << 1 << "全学年"
        << QStringList{" 1●たろう　　234/23456", " 2Ⅱじろうきち  0/    7", " 3　先生　　　  0/    0",
                       " 4⑥はなこ　　 -5/  -12"};
    QTest::newRow("today's points outrank a thousand points so far")
        << "today" << QList<int>{5000, 5, 0, 0} << QList<int>{1, 5, 0, 0} << 0 << "全学年"
        << QStringList{" 1⑥はなこ　　  5/    5", " 2②たろう　　  1/ 5000"};
}

void ListsTest::rankings() {
    QFETCH(QString, mode);
    QFETCH(QList<int>, first);
    QFETCH(QList<int>, second);
    QFETCH(int, working);
    QFETCH(QString, filter);
    QFETCH(QStringList, lines);
    auto state = family();
    state->pupil.currentPupil = static_cast<qint16>(working);
    const int level = 2;
    for (int p = 1; p <= 4; ++p) {
        if (mode == u"times") {
            state->figures.bestResult.at(level, p) = first[p - 1];
        } else {
            state->figures.totalPoints.at(level, p) = first[p - 1];
            state->figures.todayPoints.at(level, p) = second[p - 1];
        }
    }
    RankingChoice choice;
    choice.displayMode = mode == u"times" ? kTimesMode : kPointsMode;
    choice.pointsOrder = mode == u"today" ? kByPointsToday : kByPointsSoFar;
    choice.gradeFilter = filter;
    QCOMPARE(rankingLines(*state, level, choice), lines);
}

void ListsTest::scoreLists_data() {
    QTest::addColumn<QString>("kind"); // today, period, points (the period list in points mode), personal
    QTest::addColumn<int>("period");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<int>("working");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("records");
    QTest::addColumn<QStringList>("lines");
    const QDate wednesday(2024, 4, 10);
    QTest::newRow("today: time, clock, marks, base points")
        << "today" << 5 << wednesday << 0 << "全学年"
        << QStringList{"2024-04-10 09:05:03 1 1 30", "2024-04-10 13:40:00 2 1 99999",
                       "2024-04-10 14:00:00 1 2 240"}
        << QStringList{"1\t  30秒 09:05②たろう　　②11", "1\t　　× 13:40⑥はなこ　　⑥",
                       "2\t 240秒 14:00②たろう　　②1"};
    QTest::newRow("today: other days, levels without a column, strangers, negative times left out")
        << "today" << 5 << wednesday << 0 << "全学年"
        << QStringList{"2024-04-09 09:00:00 1 1 30",  "2024-04-10 09:00:00 1 5 30",
                       "2024-04-10 09:00:00 1 0 30",  "2024-04-10 09:00:00 6000 1 30",
                       "2024-04-10 09:00:00 1 40 30", "2024-04-10 09:00:00 1 1 -5"}
        << QStringList{};
    QTest::newRow("today: working pupil, grade filter")
        << "today" << 5 << wednesday << 1 << "小２"
        << QStringList{"2024-04-10 09:05:03 1 1 60", "2024-04-10 10:00:00 2 1 30"}
        << QStringList{"1\t  60秒 09:05●たろう　　●5"};
    QTest::newRow("today: 90000 and more shown without points")
        << "today" << 5 << wednesday << 0 << "全学年"
        << QStringList{"2024-04-10 09:05:03 3 1 90000", "2024-04-10 09:06:00 3 1 89999"}
        << QStringList{"1\t　　× 09:05ⅡじろうきちⅡ", "1\t9999秒 09:06ⅡじろうきちⅡ0"};
    QTest::newRow("period: times mode")
        << "period" << 5 << wednesday << 0 << "全学年"
        << QStringList{"2024-03-02 09:00:00 2 2 120", "2014-04-01 09:00:00 2 2 120",
                       "2024-03-02 09:00:00 2 2 99999"}
        << QStringList{"2\t 120秒 03/02⑥はなこ　　⑥5", "2\t　　× 03/02⑥はなこ　　⑥"};
    QTest::newRow("period: points mode")
        << "points" << 5 << wednesday << 0 << "全学年"
        << QStringList{"2024-03-02 09:00:00 2 2 120", "2024-03-02 09:00:00 2 2 95000"}
        << QStringList{"2\t    5 03/02⑥はなこ　　⑥120秒", "2\t　　×  03/02⑥はなこ　　⑥"};
    QTest::newRow("period 1 on a Monday: today only")
        << "period" << 1 << QDate(2024, 4, 8) << 0 << "全学年"
        << QStringList{"2024-04-07 09:00:00 1 1 30", "2024-04-08 09:00:00 1 1 60"}
        << QStringList{"1\t  60秒 04/08②たろう　　②5"};
    QTest::newRow("period 1 on a Sunday: seven days")
        << "period" << 1 << QDate(2024, 4, 14) << 0 << "全学年"
        << QStringList{"2024-04-07 09:00:00 1 1 30", "2024-04-08 09:00:00 1 1 60"}
        << QStringList{"1\t  60秒 04/08②たろう　　②5"};
    QTest::newRow("period 2 on a Saturday: this and last week")
        << "period" << 2 << QDate(2024, 4, 13) << 0 << "全学年"
        << QStringList{"2024-03-31 09:00:00 1 1 30", "2024-04-01 09:00:00 1 1 60"}
        << QStringList{"1\t  60秒 04/01②たろう　　②5"};
    QTest::newRow("personal: own runs with date and clock")
        << "personal" << 5 << wednesday << 2 << "中１"
        << QStringList{"2024-04-09 09:05:03 2 1 40", "2024-04-09 09:06:00 1 1 40",
                       "2024-04-10 16:00:00 2 3 99999"}
        << QStringList{"1\t2024/04/09 9:05:03  40秒", "3\t2024/04/10 16:00:00　　× "};
}

void ListsTest::scoreLists() {
    QFETCH(QString, kind);
    QFETCH(int, period);
    QFETCH(QDate, today);
    QFETCH(int, working);
    QFETCH(QString, filter);
    QFETCH(QStringList, records);
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    auto state = family();
    state->config.programDataFolder = dir.path() + u'/';
    state->pupil.currentPupil = static_cast<qint16>(working);
    writeRecords(state->config.programDataFolder, records);
    ScoreListChoice choice;
    choice.kind = kind == u"today"      ? ScoreListKind::Today
                  : kind == u"personal" ? ScoreListKind::Personal
                                        : ScoreListKind::Period;
    choice.displayMode = kind == u"points" ? 2 : 1;
    choice.period = period;
    choice.gradeFilter = filter;
    choice.today = today;
    const ScoreLists lists = buildScoreLists(*state, choice);
    QVERIFY(lists.error.isEmpty());
    QCOMPARE(joined(lists), lines);
}

void ListsTest::todayReadsOnlyTheLast1000() {
    QTemporaryDir dir;
    auto state = family();
    state->config.programDataFolder = dir.path() + u'/';
    QStringList records;
    for (int k = 1; k <= 1500; ++k)
        records << QStringLiteral("2024-04-10 09:00:00 1 1 %1").arg(k);
    writeRecords(state->config.programDataFolder, records);
    ScoreListChoice choice;
    choice.today = QDate(2024, 4, 10);
    int lastValue = 0;
    int maximum = 0;
    const ScoreLists lists = buildScoreLists(*state, choice, [&](int value, int max) {
        QVERIFY(value > lastValue);
        lastValue = value;
        maximum = max;
    });
    QCOMPARE(lists.recordsRead, qint64(1000));
    QCOMPARE(lists.byLevel[1].size(), 1000);
    QVERIFY(lists.byLevel[1].first().startsWith(QStringLiteral(" 501秒")));
    QVERIFY(lists.byLevel[1].last().startsWith(QStringLiteral("1500秒")));
    QCOMPARE(lastValue, 1500);
    QCOMPARE(maximum, 1651); // (1500 + 1) x 1.1
}

void ListsTest::personalChartFigures() {
    QTemporaryDir dir;
    auto state = family();
    state->config.programDataFolder = dir.path() + u'/';
    state->pupil.currentPupil = 1;
    writeRecords(state->config.programDataFolder,
                 {"2024-04-09 09:00:00 1 1 40", "2024-04-09 09:00:00 1 1 1799",
                  "2024-04-09 09:00:00 1 1 1800", "2024-04-09 09:00:00 1 2 30", "2024-04-09 09:00:00 2 1 30",
                  "2010-04-09 09:00:00 1 1 30"});
    ScoreListChoice choice;
    choice.kind = ScoreListKind::Personal;
    choice.today = QDate(2024, 4, 10);
    const ScoreLists lists = buildScoreLists(*state, choice);
    QCOMPARE(lists.byLevel[1].size(), 3);
    QCOMPARE(lists.chartCount, 2);
    QCOMPARE(lists.chartSum, qint64(1839));
    QCOMPARE(lists.chartLargest, 1799);
}

void ListsTest::specialScoreFileIsRefused() {
    QTemporaryDir dir;
    auto state = family();
    state->config.programDataFolder = dir.path() + u'/';
    // A pipe in place of the score file: reading it would wait for a writer that never comes.
    if (const QString why = test::cannotMakeSpecialFiles(); !why.isEmpty())
        QSKIP(qPrintable(why));
    QVERIFY(test::makeFifo(state->config.programDataFolder + kScoreFileName));
    ScoreListChoice choice;
    choice.today = QDate(2024, 4, 10);
    const ScoreLists lists = buildScoreLists(*state, choice);
    QVERIFY2(lists.error.contains(kScoreFileName), qPrintable(lists.error));
    QCOMPARE(lists.recordsRead, qint64(0));
}

void ListsTest::unlocking_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QList<int>>("recentPoints"); // levels 1..4, 10 runs each when points are given
    QTest::addColumn<QList<int>>("quotaRuns");    // levelQuotaRuns 1..4 (quotaCount is 5 everywhere)
    QTest::addColumn<int>("ruleLess");            // a level whose point rule is 9999, or 0
    QTest::addColumn<int>("goalCleared");
    QTest::addColumn<QString>("open");    // one character per level: 1 open
    QTest::addColumn<QString>("markers"); // one character per level: 1 shown
    const QList<int> noQuota{0, 0, 0, 0};
    QTest::newRow("new pupil") << "たろう" << QList<int>{0, 0, 0, 0} << noQuota << 0 << 0 << "1000"
                               << "1111";
    QTest::newRow("teacher opens every level")
        << "先生" << QList<int>{0, 0, 0, 0} << noQuota << 0 << 0 << "1111"
        << "0000";
    QTest::newRow("level 1 passed") << "たろう" << QList<int>{100, 0, 0, 0} << noQuota << 0 << 0 << "1100"
                                    << "0011";
    QTest::newRow("quota met keeps the marker")
        << "たろう" << QList<int>{100, 0, 0, 0} << QList<int>{5, 0, 0, 0} << 0 << 0 << "1100"
        << "1011";
    QTest::newRow("quota not met") << "たろう" << QList<int>{100, 0, 0, 0} << QList<int>{6, 0, 0, 0} << 0 << 0
                                   << "1100"
                                   << "0011";
    QTest::newRow("goal level one point short")
        << "たろう" << QList<int>{100, 100, 100, 99} << noQuota << 0 << 0 << "1111"
        << "0000";
    QTest::newRow("goal level cleared hides a met quota")
        << "たろう" << QList<int>{100, 100, 100, 100} << QList<int>{5, 0, 0, 0} << 0 << 1 << "1111"
        << "0000";
    QTest::newRow("a level without a rule is opened")
        << "たろう" << QList<int>{0, 0, 0, 0} << noQuota << 2 << 0 << "1100"
        << "0011";
}

void ListsTest::unlocking() {
    QFETCH(QString, name);
    QFETCH(QList<int>, recentPoints);
    QFETCH(QList<int>, quotaRuns);
    QFETCH(int, ruleLess);
    QFETCH(int, goalCleared);
    QFETCH(QString, open);
    QFETCH(QString, markers);
    auto state = family();
    state->pupil.currentPupil = 1;
    state->pupil.currentPupilName = QStringLiteral(" %1 ").arg(name).leftJustified(20, u' ');
    if (ruleLess)
        state->levels.levelBonusPoints[ruleLess] = 9999;
    for (int level = 1; level <= 4; ++level) {
        state->figures.recentPoints.at(level, 1) = recentPoints[level - 1];
        state->figures.recentCount.at(level, 1) = recentPoints[level - 1] > 0 ? 10 : 0;
        state->levels.levelQuotaRuns[level] = quotaRuns[level - 1];
        state->figures.quotaCount.at(level, 1) = 5;
    }
    const Unlocking u = unlockingPass(*state);
    QCOMPARE(u.goalLevelCleared, qint16(goalCleared));
    QString gotOpen;
    QString gotMarkers;
    for (int level = 1; level <= 4; ++level) {
        gotOpen += u.open[static_cast<size_t>(level)] ? u'1' : u'0';
        gotMarkers += u.markerShown[static_cast<size_t>(level)] ? u'1' : u'0';
    }
    QCOMPARE(gotOpen, open);
    QCOMPARE(gotMarkers, markers);
    QCOMPARE(markerText(u, 1), u.quotaMet[1] ? QStringLiteral("ノルマ達成") : QStringLiteral("ちょうせん中"));
    QCOMPARE(markerText(u, 4), open.at(3) == u'1' ? QStringLiteral("ちょうせん中") : QStringLiteral("まだ"));
}

void ListsTest::columnTexts_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");
    QTest::newRow("start button") << "start"
                                  << "ｽﾀｰﾄ(&3)";
    QTest::newRow("goal with rule") << "goal"
                                    << "目標=180秒 10回/100点(×1.5)";
    QTest::newRow("goal without rule") << "goal9999"
                                       << " --------目標=180秒";
    QTest::newRow("recent") << "recent"
                            << "最近7日=4回 / 37点";
    QTest::newRow("no run today") << "today"
                                  << "-----";
    QTest::newRow("no run at all") << "soFar"
                                   << "------";
    QTest::newRow("runs today") << "today3"
                                << "3回/21点";
    QTest::newRow("today's total over 35 slots") << "total"
                                                 << "本日総回数＝5回";
    QTest::newRow("minutes since confirmed") << "elapsed"
                                             << "起動後2分";
    QTest::newRow("minutes across midnight") << "midnight"
                                             << "起動後3分";
}

void ListsTest::columnTexts() {
    QFETCH(QString, field);
    QFETCH(QString, expected);
    auto state = family();
    state->pupil.currentPupil = 1;
    state->levels.levelBonusFactor[3] = 1.5f;
    state->figures.recentCount.at(3, 1) = 4;
    state->figures.recentPoints.at(3, 1) = 37;
    if (field == u"goal9999")
        state->levels.levelBonusPoints[3] = 9999;
    if (field == u"today3") {
        state->figures.todayCount.at(3, 1) = 3;
        state->figures.todayPoints.at(3, 1) = 21;
    }
    state->figures.todayCount.at(4, 1) = 2;
    state->figures.todayCount.at(35, 1) = 3;
    const LevelColumnTexts t = levelColumnTexts(*state, 3);
    const QMap<QString, QString> got = {
        {"start", t.start},
        {"goal", t.goal},
        {"goal9999", t.goal},
        {"recent", t.recent},
        {"today", t.today},
        {"today3", t.today},
        {"soFar", t.soFar},
        {"total", todayTotalText(*state)},
        {"elapsed", elapsedText(minutesSinceStart(*clockAt(36179.9), -1, 36000))},
        {"midnight", elapsedText(minutesSinceStart(*clockAt(100), -1, 86300))}};
    QCOMPARE(got.value(field), expected);
}

void ListsTest::filtersAndMarks_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<int>("grade");
    QTest::addColumn<bool>("passes");
    QTest::addColumn<QString>("mark");
    QTest::newRow("grade 1") << "小１" << 1 << true << "①";
    QTest::newRow("half-width digit") << "小1" << 1 << true << "①";
    QTest::newRow("grade 6 not junior high") << "中学生全体" << 6 << false << "⑥";
    QTest::newRow("junior high 3") << "中３" << 9 << true << "Ⅲ";
    QTest::newRow("elementary stage") << "小学生全体" << 7 << false << "Ⅰ";
    QTest::newRow("adult under all grades") << "全学年" << 30 << true << "　";
    QTest::newRow("pre-school under the family") << "家族" << 0 << true << "　";
    QTest::newRow("empty filter") << "" << 3 << false << "③";
}

void ListsTest::filtersAndMarks() {
    QFETCH(QString, filter);
    QFETCH(int, grade);
    QFETCH(bool, passes);
    QFETCH(QString, mark);
    QCOMPARE(passesListFilter(filter, grade), passes);
    QCOMPARE(gradeMark(grade), mark);
    QCOMPARE(isListFilter(filter), !filter.isEmpty());
}

QTEST_GUILESS_MAIN(ListsTest)
#include "tst_lists.moc"
