#include "answers/answer_database.h"
#include "answers/kept_answers.h"
#include "controls.h"
#include "drill_suite.h"
#include "records/pending_runs.h"
#include "records/score_file.h"
#include "records/score_record.h"
#include "screens/drill_start.h"
#include "screens/result/result_screen.h"
#include "screenshot.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

using namespace warizan;
using test::control;
using test::DrillSuite;
using test::shownText;

// The result screen after a drill's bookkeeping, on records written to a temporary suite: texts, banner,
// cues, the cleared messages and what is offered after the delay.
class ResultScreenTest final : public QObject {
    Q_OBJECT
private slots:
    void showsTheRun_data();
    void showsTheRun();
    void menuButtonShowsTheLevelMenu();
    void runTheFilesRefuseReachesTheResultScreen_data();
    void runTheFilesRefuseReachesTheResultScreen();
};

namespace {

bool visible(const QWidget* w) {
    return w->isVisibleTo(w->window());
}
bool visible(const ResultScreen& screen, const char* name) {
    return visible(control<QWidget>(screen, name));
}

// Holds back the screen's real half-second delay, so that the test alone says when it has passed (by
// calling Timer1_Timer), however slowly a busy machine gets through the screen's activation.
class DelayHeldBack final : public QObject {
public:
    DelayHeldBack() { qApp->installEventFilter(this); }
    ~DelayHeldBack() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        return event->type() == QEvent::Timer && watched->objectName() == u"Timer1" && watched->parent() &&
               watched->parent()->objectName() == u"FrmSyuuryou";
    }
};

// Levels 0 to 4: goal 120, second time 180, no points needed, `runs` runs in 7 days to clear, factor 1.5,
// `quota` runs in 30 days for the quota; level 1 may carry the run count 9999.
QString levelTable(int runs, int quota, bool level1Has9999) {
    QString text;
    for (int level = 0; level <= 4; ++level)
        text += QStringLiteral("120,180,0,%1,1.5,%2,0,7,30,0,0,0\n")
                    .arg(level == 1 && level1Has9999 ? 9999 : runs)
                    .arg(quota);
    return text;
}

// Appends a run of pupil `pupil` on `level` as the drill does, without its bookkeeping.
void appendRun(DrillSuite& s, int pupil, int result, int level) {
    const qint16 working = s.state().pupil.currentPupil;
    const qint16 workingLevel = s.state().pupil.currentLevel;
    s.state().pupil.currentPupil = static_cast<qint16>(pupil);
    s.state().pupil.currentLevel = static_cast<qint16>(level);
    s.state().drill.finalTime = result;
    QVERIFY(writeScoreRecords(s.forms.test.context));
    s.state().pupil.currentPupil = working;
    s.state().pupil.currentLevel = workingLevel;
}

} // namespace

void ResultScreenTest::showsTheRun_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<QList<int>>("earlier"); // the pupil's earlier runs on the level today
    QTest::addColumn<int>("other");          // another pupil's run on the level (0: none)
    QTest::addColumn<int>("time");           // this run; 99999: the time ran out
    QTest::addColumn<QString>("rules");  // runs to clear, quota runs, "9999" on level 1, goal level cleared
    QTest::addColumn<QString>("banner"); // empty: no banner
    QTest::addColumn<QString>("cues");
    QTest::addColumn<QString>("shown");   // before the delay: C = level cleared, G = goal-level message
    QTest::addColumn<QString>("offered"); // after it: R = "もう一度", or the text of Label2
    const QList<int> none;
    QTest::newRow("first run, beaten by another pupil") << 2 << none << 50 << 60 << "10,0,0,0"
                                                        << "新記録おめでとう"
                                                        << "jiko1"
                                                        << ""
                                                        << "R";
    QTest::newRow("first run, best of all") << 2 << none << 70 << 60 << "10,0,0,0"
                                            << "！！！最高新記録！！！"
                                            << "最高1"
                                            << ""
                                            << "R";
    QTest::newRow("time ran out") << 2 << QList<int>{50} << 0 << 99999 << "10,0,0,0"
                                  << "時間切れ"
                                  << ""
                                  << ""
                                  << "R";
    QTest::newRow("no record within the second time") << 2 << QList<int>{50} << 0 << 180 << "10,0,0,0"
                                                      << ""
                                                      << "fugoukaku1"
                                                      << ""
                                                      << "R";
    QTest::newRow("no record, slower") << 2 << QList<int>{50} << 0 << 181 << "10,0,0,0"
                                       << ""
                                       << ""
                                       << ""
                                       << "R";
    QTest::newRow("goal level cleared the first time") << 4 << none << 50 << 60 << "1,0,0,0"
                                                       << "新記録おめでとう"
                                                       << "jiko1,合格"
                                                       << "CG"
                                                       << "このレベルクリアR";
    QTest::newRow("goal level cleared again") << 4 << QList<int>{50} << 0 << 60 << "1,0,0,0"
                                              << ""
                                              << "fugoukaku1"
                                              << "CG"
                                              << "このレベルクリアR";
    QTest::newRow("a level with 9999 runs: no goal message") << 4 << QList<int>{50} << 0 << 60 << "1,0,9999,0"
                                                             << ""
                                                             << "fugoukaku1"
                                                             << "C"
                                                             << "このレベルクリアR";
    QTest::newRow("cleared with the quota: move on") << 2 << QList<int>{50} << 0 << 60 << "1,1,0,0"
                                                     << ""
                                                     << "fugoukaku1"
                                                     << "C"
                                                     << "次のレベルへ進みましょう";
    QTest::newRow("cleared with the quota, goal done") << 2 << QList<int>{50} << 0 << 60 << "1,1,0,1"
                                                       << ""
                                                       << "fugoukaku1"
                                                       << "C"
                                                       << "このレベルクリアR";
    QTest::newRow("goal level with the quota") << 4 << QList<int>{50} << 0 << 60 << "1,1,0,0"
                                               << ""
                                               << "fugoukaku1"
                                               << "CG"
                                               << "R";
}

void ResultScreenTest::showsTheRun() {
    QFETCH(int, level);
    QFETCH(QList<int>, earlier);
    QFETCH(int, other);
    QFETCH(int, time);
    QFETCH(QString, rules);
    QFETCH(QString, banner);
    QFETCH(QString, cues);
    QFETCH(QString, shown);
    QFETCH(QString, offered);
    const QStringList r = rules.split(u',');
    DrillSuite s(level, QDateTime(QDate(2024, 4, 10), QTime(10, 0)),
                 levelTable(r[0].toInt(), r[1].toInt(), r[2] == u"9999"));
    s.state().pupil.goalLevelCleared = static_cast<qint16>(r[3].toInt());
    for (int result : earlier)
        appendRun(s, 3, result, level);
    if (other)
        appendRun(s, 4, other, level);
    // The pupil's runs on another level today: one counted, one too slow to count. The day's count holds
    // the counted one; the level's count holds neither.
    const int otherLevel = level == 1 ? 2 : 1;
    appendRun(s, 3, 40, otherLevel);
    appendRun(s, 3, 7000, otherLevel);
    // As the level menu counts before a drill, and the drill's end does its bookkeeping.
    QVERIFY(countScores(s.forms.test.context));
    s.state().drill.timeUp = time == 99999 ? 1 : 0;
    s.state().drill.finalTime = time;
    QVERIFY(recordDrillResult(s.forms.test.context, level));
    QVERIFY(s.forms.window.show(FormId::BASEFRM));
    const DelayHeldBack delay;
    QVERIFY(s.forms.window.show(FormId::FrmSyuuryou));

    auto& screen = *s.forms.shown<ResultScreen>(FormId::FrmSyuuryou);
    QVERIFY(!s.forms.window.isLoaded(FormId::BASEFRM));
    const int runsToday = earlier.size() + (time < 6000 ? 1 : 0);
    const QString texts[][2] = {
        {"Label17", "たろう"},
        {"Label15", "あまりのあるわり算"},
        {"Label16", s.state().levels.levelName[level]},
        {"Label13", QStringLiteral(" (このレベル　%1回目)").arg(runsToday)},
        {"Label14", QStringLiteral("（%1回目)").arg(runsToday + 1)},
        {"Label18", time == 99999 ? QStringLiteral("記録なし") : QStringLiteral("今の成績：%1秒").arg(time)},
    };
    for (const auto& [name, text] : texts)
        QCOMPARE(shownText(screen, name), text);
    if (time == 60)
        QCOMPARE(shownText(screen, "Label19"), QStringLiteral("獲得ポイント：11点×1.5→16点"));
    QCOMPARE(visible(screen, "Label20"), !banner.isEmpty());
    if (!banner.isEmpty())
        QCOMPARE(shownText(screen, "Label20"), banner);
    QCOMPARE(s.soundsPlayed(), cues);
    QCOMPARE(visible(screen, "Label2"), shown.contains(u'C'));
    QCOMPARE(visible(screen, "Picture1"), shown.contains(u'G'));
    QVERIFY(!visible(screen, "Command4") && !visible(screen, "Command5"));
    const QTimer* timer1 = control<QTimer>(screen, "Timer1");
    QVERIFY(timer1->isActive());
    QCOMPARE(s.state().figures.newPersonalBest, qint16(0));
    QCOMPARE(s.state().figures.newLevelBest, qint16(0));
    if (QTest::currentDataTag() == QByteArrayLiteral("first run, best of all"))
        test::saveScreenshot(s.window(), QStringLiteral("result_new_record"));
    if (QTest::currentDataTag() == QByteArrayLiteral("goal level cleared the first time"))
        test::saveScreenshot(s.window(), QStringLiteral("result_goal_level"));

    // Becoming current again runs the evaluation again, without a second record banner or cue.
    s.forms.test.sound.played.clear();
    screen.activate();
    QVERIFY(!s.soundsPlayed().contains(QStringLiteral("jiko1")) &&
            !s.soundsPlayed().contains(QStringLiteral("最高1")));

    screen.Timer1_Timer();
    QVERIFY(!timer1->isActive());
    QVERIFY(!visible(screen, "Picture1"));
    QVERIFY(visible(screen, "Command4"));
    QCOMPARE(QApplication::focusWidget(), control<QWidget>(screen, "Command4"));
    QCOMPARE(visible(screen, "Command5"), offered.endsWith(u'R'));
    const QString label2 = offered.chopped(offered.endsWith(u'R') ? 1 : 0);
    QCOMPARE(visible(screen, "Label2") ? shownText(screen, "Label2") : QString(), label2);
    if (offered == u"次のレベルへ進みましょう")
        test::saveScreenshot(s.window(), QStringLiteral("result_move_on"));
}

void ResultScreenTest::menuButtonShowsTheLevelMenu() {
    DrillSuite s(1);
    s.state().drill.finalTime = 100;
    QVERIFY(recordDrillResult(s.forms.test.context, 1));
    QVERIFY(s.forms.window.show(FormId::FrmSyuuryou));
    auto& screen = *s.forms.shown<ResultScreen>(FormId::FrmSyuuryou);
    screen.Timer1_Timer();
    QPushButton* toMenu = control<QPushButton>(screen, "Command4");
    QTest::mouseClick(toMenu, Qt::LeftButton);
    QVERIFY(s.forms.window.currentForm());
    QCOMPARE(s.forms.window.currentForm()->objectName(), QStringLiteral("seisekitime1"));
    QVERIFY(!s.forms.window.isLoaded(FormId::FrmSyuuryou));
    QVERIFY(!toMenu->isEnabled());
}

void ResultScreenTest::runTheFilesRefuseReachesTheResultScreen_data() {
    QTest::addColumn<bool>("readOnly"); // a read-only data folder, else a folder in the home file's place
    QTest::newRow("read-only data folder") << true;
    QTest::newRow("a folder where the home file should be") << false;
}

// A whole drill on folders that refuse its records: the pupil is told the result is kept, sees the result
// screen as usual, and the run lands in both files once they can be written again.
void ResultScreenTest::runTheFilesRefuseReachesTheResultScreen() {
    QFETCH(bool, readOnly);
    DrillSuite s(2);
    QTemporaryDir userData;
    Configuration& config = s.state().config;
    config.pendingRunsFile = userData.filePath(QStringLiteral("kept.jsonl"));
    const QString scores = scoreFilePath(config);
    const QString home = homeScoreFilePath(config);
    std::unique_ptr<test::SmallDisk> disk;
    if (readOnly) {
        disk = std::make_unique<test::SmallDisk>(config.programDataFolder);
        if (!disk->isMounted())
            QSKIP("a read-only file system of its own needs root");
        QVERIFY(disk->setReadOnly(true));
    } else {
        QFile::remove(home);
        QVERIFY(QDir().mkpath(home));
    }

    QVERIFY(startDrill(s.forms.context));
    for (int i = 0; i < 10; ++i) {
        s.tick(2000);
        s.answer(true);
    }
    auto* result = s.forms.shown<ResultScreen>(FormId::FrmSyuuryou);
    QVERIFY(result);
    QCOMPARE(shownText(*result, "Label18"), QStringLiteral("今の成績：20秒"));
    QVERIFY(!s.forms.test.dialogs.ended);
    QCOMPARE(s.forms.test.dialogs.messages.size(), std::size_t(1));
    QVERIFY(s.forms.test.dialogs.messages[0].text.startsWith(
        QStringLiteral("今回の成績は、いまは記録できませんでした。")));
    if (readOnly)
        test::saveScreenshot(s.window(), QStringLiteral("result_after_kept_run"));

    if (readOnly) {
        QVERIFY(disk->setReadOnly(false));
    } else {
        QVERIFY(QDir(home).removeRecursively());
    }
    // As at the next start: the run and its answers.
    QVERIFY(appendPendingRuns(config, nullptr, answerLogPart(config, s.clock().now())));
    const std::vector<ScoreRecord> onFile = decodeScoreRecords(test::readBytes(scores));
    QCOMPARE(onFile.size(), std::size_t(1));
    QCOMPARE(onFile[0].pupil, qint16(3));
    QCOMPARE(onFile[0].level, qint16(2));
    QCOMPARE(onFile[0].result, 20);
    const QByteArray homeBytes = test::readBytes(home);
    QCOMPARE(homeBytes.size(), kHomeScoreRecordLength);
    QCOMPARE(decodeHomeScoreRecord(homeBytes.constData()).result, 20);
    AnswerDatabase log;
    QVERIFY(log.open(answerLogPath(config.programDataFolder), AnswerDatabase::Access::Read, s.clock().now()));
    QCOMPARE(log.drillCount(), qint64(1));
    QCOMPARE(log.questionCount(), qint64(10));
    QVERIFY(!QFileInfo::exists(config.pendingRunsFile));
}

WARIZAN_FORMS_TEST_MAIN(ResultScreenTest)
#include "tst_result_screen.moc"
