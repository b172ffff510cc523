#include "controls.h"
#include "records/score_record.h"
#include "screens/drill/drill_form.h"
#include "screens/levelmenu/level_menu_screen.h"
#include "screens/result/result_screen.h"
#include "screens/selection/selection_screen.h"
#include "screenshot.h"
#include "startup/configuration.h"
#include "test_forms.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>
#include <functional>

using namespace warizan;
using test::control;
using test::shownText;

// The road a family walks through the real program, every form the program's own: a child picks her name,
// starts a level from the menu, answers the sheets, reads the result, goes back to the menu, takes another
// sheet from the result screen, returns to the names, and her brother takes his turn. Time runs on the test
// clock, sounds go to the test sound device.
class WholeRoadTest final : public QObject {
    Q_OBJECT
private slots:
    void aFamilyWalksTheWholeRoad();
    void aCloseRequestOnEachScreen_data();
    void aCloseRequestOnEachScreen();
};

namespace {

// Roster order: さくら (pupil 1), はると (pupil 2), ゆい (pupil 3); the test clock stands at 10 April 2024.
const QString kFamily = QStringLiteral("1,2012,0,0,\"さくら\",0,\"\",\"\"\n"
                                       "2,2016,0,0,\"はると\",0,\"\",\"\"\n"
                                       "3,2017,0,0,\"ゆい\",0,\"\",\"\"\n");
constexpr int kLevel = 2; // a level with remainders: goal 180 s, second time 270 s

// The names of the pages made current while `step` runs, in order, each change once: a zero-interval timer
// sees the window every time the forms let events run.
QStringList pagesDuring(FormWindow& window, const std::function<void()>& step) {
    QStringList pages;
    const auto look = [&] {
        const DesignForm* current = window.currentForm();
        const QString name = current ? current->objectName() : QString();
        if (pages.isEmpty() || pages.back() != name)
            pages.append(name);
    };
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, &window, look);
    look();
    watch.start();
    step();
    watch.stop();
    look();
    return pages;
}

// The points the result screen says were earned: "獲得ポイント：a点×f→b点" gives b.
int earnedPoints(const ResultScreen& screen) {
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("→(\\d+)点$")).match(shownText(screen, "Label19"));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

struct Road {
    Road() {
        suite.writeRoster(kFamily);
        ConfigurationError error;
        if (!StartUpConfiguration(state(), suite.programFolder(), &error))
            qFatal("start-up failed: %s", qPrintable(error.message));
    }

    ProgramState& state() { return *forms.test.state; }
    ManualClock& clock() { return forms.test.clock; }
    FormWindow& window() { return forms.window; }
    QString current() const {
        const DesignForm* form = forms.window.currentForm();
        return form ? form->objectName() : QString();
    }
    // Forms unloaded by a handler are deleted once it has returned, as the event loop would.
    static void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static qint64 records(const QString& path, int length) {
        const qint64 size = QFileInfo(path).size();
        return size % length == 0 ? size / length : -1;
    }
    const Configuration& config() const { return forms.test.state->config; }
    // The runs in the score file and in the family's file, counted in whole records (-1: a torn record).
    qint64 runsRecorded() const { return records(scoreFilePath(config()), kScoreRecordLength); }
    qint64 homeRunsRecorded() const { return records(homeScoreFilePath(config()), kHomeScoreRecordLength); }
    // The score file's runs as "pupil/level/result".
    QStringList runs() const {
        QStringList out;
        for (const ScoreRecord& r : decodeScoreRecords(test::readBytes(scoreFilePath(config()))))
            out << QStringLiteral("%1/%2/%3").arg(r.pupil).arg(r.level).arg(r.result);
        return out;
    }
    QStringList cuesPlayed() const {
        QStringList names;
        for (const QString& path : forms.test.sound.played)
            names.append(QFileInfo(path).completeBaseName());
        return names;
    }

    // Picks `name` in the list of the selection screen with the mouse.
    void pickPupil(const QString& name) {
        auto* screen = forms.shown<SelectionScreen>(FormId::namesel);
        QVERIFY(screen);
        QListWidget& list = *control<QListWidget>(*screen, "List1");
        int row = -1;
        for (int r = 1; r < list.count(); ++r) {
            if (list.item(r)->text().contains(name))
                row = r;
        }
        QVERIFY2(row > 0, qPrintable(name));
        const QPoint at = list.visualItemRect(list.item(row)).center();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
        QVERIFY(shownText(*screen, "Label1").contains(name));
    }

    // Answers one question as a child does: reads it off the panel, types the quotient, Space, the
    // remainder where the level asks for one, and Space to have it judged. A wrong answer is corrected
    // with "+" twice, as the drill asks.
    void answer(bool right) {
        DrillForm* drill = forms.shown<DrillForm>(FormId::MainFrm);
        QVERIFY(drill);
        bool ok1 = false, ok2 = false;
        const int dividend = shownText(*drill, "Keisan2Lbl2_0").toInt(&ok1);
        const int divisor = shownText(*drill, "Keisan2Lbl2_1").toInt(&ok2);
        QVERIFY(ok1 && ok2 && divisor > 0);
        QCOMPARE(shownText(*drill, "Keisan2Lbl3_0"), QStringLiteral("÷"));
        const bool remainderAsked = control<QLabel>(*drill, "Keisan2Lbl1", 1)->isVisibleTo(drill);
        test::typeText(window(), QString::number(dividend / divisor + (right ? 0 : 1)));
        if (remainderAsked) {
            test::typeKey(window(), Qt::Key_Space);
            test::typeText(window(), QString::number(dividend % divisor));
        }
        test::typeKey(window(), Qt::Key_Space);
        if (!right) {
            const QLabel* correctAnswer = control<QLabel>(*drill, "Label1");
            QCOMPARE(correctAnswer->text(), QStringLiteral("正解は"));
            QVERIFY(correctAnswer->isVisibleTo(drill));
            test::typeText(window(), QStringLiteral("++"));
            QVERIFY(!correctAnswer->isVisibleTo(drill));
        }
    }

    // A whole sheet: an answer every `seconds` on the drill clock, `wrongs` mistakes each after a right
    // answer (each costs a counted answer). Returns the pages seen while the last answer is judged; the
    // cues of the result screen are left in the sound device.
    QStringList answerSheet(int seconds, int wrongs) {
        const auto tick = [&] {
            clock().advanceMs(seconds * 1000);
            if (auto* drill = forms.shown<DrillForm>(FormId::MainFrm))
                drill->sTimer1_Timer();
        };
        for (int w = 0; w < wrongs && !QTest::currentTestFailed(); ++w) {
            tick();
            answer(true);
            tick();
            answer(false);
        }
        for (int i = 0; i < 9 && !QTest::currentTestFailed(); ++i) {
            tick();
            answer(true);
        }
        if (QTest::currentTestFailed())
            return {};
        tick();
        forms.test.sound.played.clear();
        return pagesDuring(window(), [&] { answer(true); });
    }

    // The legs of the road, in order. Each stops at its first failure; the test stops after it.

    // The program starts on the selection screen.
    void startOnTheNames() {
        QVERIFY(window().show(FormId::namesel));
        QCOMPARE(current(), QStringLiteral("namesel"));
        QCOMPARE(runsRecorded(), 0);
    }

    // さくら picks her name and confirms it with O.K.: her level menu replaces the selection screen.
    void sakuraOpensHerMenu() {
        pickPupil(QStringLiteral("さくら"));
        if (QTest::currentTestFailed())
            return;
        QTest::mouseClick(control<QPushButton>(*forms.shown<SelectionScreen>(FormId::namesel), "Command14"),
                          Qt::LeftButton);
        settle();
        QCOMPARE(current(), QStringLiteral("seisekitime1"));
        QVERIFY(!window().isLoaded(FormId::namesel));
        QCOMPARE(shownText(menu(), "Label12"), QStringLiteral("小６ さくら"));
        QCOMPARE(shownText(menu(), "Label18"), QStringLiteral("本日総回数＝0回"));
        QCOMPARE(shownText(menu(), arrayName("Label14", kLevel)), QStringLiteral("-----"));
        QVERIFY(control<QPushButton>(menu(), "Command4", kLevel)->isEnabled());
        QVERIFY(nothingEnded());
    }

    // Key "2" starts level 2: the drill asks its first question and the menu is gone. Ten right answers, one
    // every 4 seconds: the tenth ends the sheet; the backdrop stands while the run is recorded, then the
    // result screen.
    void firstSheetByKey() {
        test::typeText(window(), QString::number(kLevel));
        settle();
        QCOMPARE(current(), QStringLiteral("MainFrm"));
        QVERIFY(!window().isLoaded(FormId::seisekitime1));
        QCOMPARE(state().pupil.currentLevel, qint16(kLevel));
        QCOMPARE(shownText(drill(), "sLabel7"), QStringLiteral("さくら"));
        QCOMPARE(shownText(drill(), "sLabel12"), QStringLiteral("1"));

        QCOMPARE(answerSheet(4, 0), QStringList({"MainFrm", "BASEFRM", "FrmSyuuryou"}));
        settle();
        QVERIFY(!window().isLoaded(FormId::MainFrm) && !window().isLoaded(FormId::BASEFRM));
        QCOMPARE(runsRecorded(), 1);
        QCOMPARE(homeRunsRecorded(), 1);
        QCOMPARE(shownText(result(), "Label17"), QStringLiteral("さくら"));
        QCOMPARE(shownText(result(), "Label18"), QStringLiteral("今の成績：40秒"));
        QCOMPARE(shownText(result(), "Label13"), QStringLiteral(" (このレベル　1回目)"));
        QCOMPARE(shownText(result(), "Label20"), QStringLiteral("！！！最高新記録！！！"));
        // The tenth answer's cue, then the top-record cue of the result screen.
        QCOMPARE(cuesPlayed().size(), 2);
        QVERIFY(cuesPlayed().at(0).startsWith(QStringLiteral("seikai")));
        QCOMPARE(cuesPlayed().at(1), QStringLiteral("最高1"));
        earned = earnedPoints(result());
        QVERIFY(earned > 0);
        // The buttons come after the screen's delay.
        result().Timer1_Timer();
        QVERIFY(control<QWidget>(result(), "Command4")->isVisibleTo(&result()));
        QVERIFY(control<QWidget>(result(), "Command5")->isVisibleTo(&result()));
        test::saveScreenshot(window(), QStringLiteral("road_result_first"));
        QVERIFY(nothingEnded());
    }

    // "メニューへ", which has the focus, with the space bar: the menu again, its figures with the run.
    void backToTheMenuWithSpace() {
        QCOMPARE(QApplication::focusWidget(), control<QWidget>(result(), "Command4"));
        test::typeKey(window(), Qt::Key_Space);
        settle();
        QCOMPARE(current(), QStringLiteral("seisekitime1"));
        QVERIFY(!window().isLoaded(FormId::FrmSyuuryou));
        QCOMPARE(shownText(menu(), "Label18"), QStringLiteral("本日総回数＝1回"));
        QCOMPARE(shownText(menu(), arrayName("Label14", kLevel)), QStringLiteral("1回/%1点").arg(earned));
        QCOMPARE(shownText(menu(), arrayName("Label15", kLevel)), QStringLiteral("1回/%1点").arg(earned));
        const QListWidget* ranking = control<QListWidget>(menu(), "List5", kLevel);
        QVERIFY(ranking->count() > 0);
        QVERIFY(ranking->item(0)->text().contains(QStringLiteral("●さくら")));
        test::saveScreenshot(window(), QStringLiteral("road_menu_after_run"));
    }

    // Its start button this time; a slower sheet with one mistake: no record, the cue of a run within the
    // second time.
    void secondSheetByStartButton() {
        QTest::mouseClick(control<QPushButton>(menu(), "Command4", kLevel), Qt::LeftButton);
        settle();
        QCOMPARE(current(), QStringLiteral("MainFrm"));
        QVERIFY(!window().isLoaded(FormId::seisekitime1));
        QCOMPARE(shownText(drill(), "sLabel12"), QStringLiteral("2"));
        QCOMPARE(answerSheet(6, 1), QStringList({"MainFrm", "BASEFRM", "FrmSyuuryou"}));
        settle();
        QCOMPARE(runsRecorded(), 2);
        QCOMPARE(shownText(result(), "Label18"), QStringLiteral("今の成績：72秒"));
        QCOMPARE(shownText(result(), "Label13"), QStringLiteral(" (このレベル　2回目)"));
        QVERIFY(!control<QWidget>(result(), "Label20")->isVisibleTo(&result()));
        QCOMPARE(cuesPlayed().size(), 2);
        QCOMPARE(cuesPlayed().at(1), QStringLiteral("fugoukaku1"));
        earned += earnedPoints(result());
        result().Timer1_Timer();
        QVERIFY(nothingEnded());
    }

    // "もう一度": a third sheet on the same level straight from the result screen, the fastest yet; then
    // "メニューへ" with the mouse.
    void thirdSheetStraightFromTheResult() {
        QPushButton* again = control<QPushButton>(result(), "Command5");
        QVERIFY(again->isVisibleTo(&result()));
        const QStringList toSheet = pagesDuring(window(), [&] { QTest::mouseClick(again, Qt::LeftButton); });
        QCOMPARE(toSheet, QStringList({"FrmSyuuryou", "BASEFRM", "MainFrm"}));
        settle();
        QVERIFY(!window().isLoaded(FormId::FrmSyuuryou) && !window().isLoaded(FormId::BASEFRM));
        QCOMPARE(state().pupil.currentLevel, qint16(kLevel));
        QCOMPARE(shownText(drill(), "sLabel12"), QStringLiteral("3"));
        QCOMPARE(shownText(drill(), "sLabel11"), QStringLiteral("3"));
        QCOMPARE(shownText(drill(), "sLabel9"), QStringLiteral("10"));
        QCOMPARE(answerSheet(3, 0), QStringList({"MainFrm", "BASEFRM", "FrmSyuuryou"}));
        settle();
        QCOMPARE(runsRecorded(), 3);
        QCOMPARE(homeRunsRecorded(), 3);
        QCOMPARE(shownText(result(), "Label18"), QStringLiteral("今の成績：30秒"));
        QCOMPARE(shownText(result(), "Label14"), QStringLiteral("（3回目)"));
        QCOMPARE(shownText(result(), "Label20"), QStringLiteral("！！！最高新記録！！！"));
        QCOMPARE(cuesPlayed().size(), 2);
        QCOMPARE(cuesPlayed().at(1), QStringLiteral("最高1"));
        earned += earnedPoints(result());
        result().Timer1_Timer();
        QTest::mouseClick(control<QPushButton>(result(), "Command4"), Qt::LeftButton);
        settle();
        QCOMPARE(current(), QStringLiteral("seisekitime1"));
        QCOMPARE(shownText(menu(), "Label18"), QStringLiteral("本日総回数＝3回"));
        QCOMPARE(shownText(menu(), arrayName("Label14", kLevel)), QStringLiteral("3回/%1点").arg(earned));
        QCOMPARE(shownText(menu(), arrayName("Label15", kLevel)), QStringLiteral("3回/%1点").arg(earned));
        QVERIFY(nothingEnded());
    }

    // "戻る(0)" by its key: the selection screen, さくら first in it with today's points.
    void backToTheNames() {
        test::typeText(window(), QStringLiteral("0"));
        settle();
        QCOMPARE(current(), QStringLiteral("namesel"));
        QVERIFY(!window().isLoaded(FormId::seisekitime1));
        auto& selection = *forms.shown<SelectionScreen>(FormId::namesel);
        QVERIFY(control<QWidget>(selection, "Command14")->isVisibleTo(&selection));
        QCOMPARE(shownText(selection, "Label1"), QStringLiteral("名前を選びなさい"));
        const QString first = control<QListWidget>(selection, "List1")->item(1)->text();
        QVERIFY(first.contains(QStringLiteral("さくら")));
        QVERIFY2(first.contains(QString::number(earned)), qPrintable(first));
        QVERIFY(nothingEnded());
    }

    // はると takes his turn with key "1": his menu, none of his sister's figures, her run in the ranking.
    void herBrotherTakesHisTurn() {
        pickPupil(QStringLiteral("はると"));
        if (QTest::currentTestFailed())
            return;
        test::typeText(window(), QStringLiteral("1"));
        settle();
        QCOMPARE(current(), QStringLiteral("seisekitime1"));
        QVERIFY(!window().isLoaded(FormId::namesel));
        QCOMPARE(state().pupil.currentPupil, qint16(2));
        QCOMPARE(shownText(menu(), "Label12"), QStringLiteral("小２ はると"));
        QCOMPARE(shownText(menu(), "Label18"), QStringLiteral("本日総回数＝0回"));
        QCOMPARE(shownText(menu(), arrayName("Label14", kLevel)), QStringLiteral("-----"));
        QStringList ranking;
        const QListWidget* list = control<QListWidget>(menu(), "List5", kLevel);
        for (int row = 0; row < list->count(); ++row)
            ranking << list->item(row)->text();
        QVERIFY2(ranking.value(0).contains(QStringLiteral("さくら")) && !ranking.value(0).contains(u'●'),
                 qPrintable(ranking.join(u'|')));
        QVERIFY(ranking.filter(QStringLiteral("●はると")).size() == 1);
        test::saveScreenshot(window(), QStringLiteral("road_menu_second_pupil"));
    }

    bool nothingEnded() const {
        const RecordingDialogs& dialogs = forms.test.dialogs;
        return !dialogs.ended && dialogs.messages.empty() && forms.test.starter.starts.empty();
    }
    LevelMenuScreen& menu() const { return *forms.shown<LevelMenuScreen>(FormId::seisekitime1); }
    ResultScreen& result() const { return *forms.shown<ResultScreen>(FormId::FrmSyuuryou); }
    DrillForm& drill() const { return *forms.shown<DrillForm>(FormId::MainFrm); }

    int earned = 0; // さくら's points so far, as the result screens said

    test::TempSuite suite;
    test::TestForms forms;
};

} // namespace

void WholeRoadTest::aFamilyWalksTheWholeRoad() {
    Road road;
    for (void (Road::*leg)() :
         {&Road::startOnTheNames, &Road::sakuraOpensHerMenu, &Road::firstSheetByKey,
          &Road::backToTheMenuWithSpace, &Road::secondSheetByStartButton,
          &Road::thirdSheetStraightFromTheResult, &Road::backToTheNames, &Road::herBrotherTakesHisTurn}) {
        (road.*leg)();
        if (QTest::currentTestFailed())
            return;
    }
    // Only the three sheets were recorded, and nothing along the way ended the program.
    QCOMPARE(road.runsRecorded(), 3);
    QCOMPARE(road.runs(), QStringList({"1/2/40", "1/2/72", "1/2/30"}));
    QCOMPARE(road.homeRunsRecorded(), 3);
    QVERIFY(road.nothingEnded());
}

void WholeRoadTest::aCloseRequestOnEachScreen_data() {
    // Where the window system asks the window to close (Alt+F4, the title bar, the taskbar), and the page
    // in front afterwards: empty when the window closed. Only the selection screen leaves the program.
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("after");
    QTest::newRow("selection screen: its way out") << u"namesel"_qs << u"namesel"_qs;
    QTest::newRow("level menu: back to the names") << u"seisekitime1"_qs << u"namesel"_qs;
    QTest::newRow("drill: refused") << u"MainFrm"_qs << u"MainFrm"_qs;
    QTest::newRow("drill's end: refused") << u"BASEFRM"_qs << u"FrmSyuuryou"_qs;
    QTest::newRow("result screen, before its buttons: refused") << u"FrmSyuuryou"_qs << u"FrmSyuuryou"_qs;
    QTest::newRow("result screen: back to the menu") << u"FrmSyuuryou offered"_qs << u"seisekitime1"_qs;
    QTest::newRow("roster editor: back to the names") << u"FrmName2"_qs << u"namesel"_qs;
    // Windows says the session ends before Qt closes the windows: the drill does not hold it up.
    QTest::newRow("drill, the session ending") << u"MainFrm ending"_qs << QString();
}

void WholeRoadTest::aCloseRequestOnEachScreen() {
    QFETCH(QString, where);
    QFETCH(QString, after);
    Road road;
    RecordingDialogs& dialogs = road.forms.test.dialogs;
    QVERIFY(road.window().show(FormId::namesel));
    road.window().present();
    bool closed = false;
    const auto closeWindow = [&] { closed = road.window().close(); };

    if (where == u"FrmName2") {
        road.window().findChild<QAction*>(u"menuname"_qs)->trigger();
        Road::settle();
        QCOMPARE(road.current(), where);
    } else if (where != u"namesel") {
        road.pickPupil(QStringLiteral("さくら"));
        if (QTest::currentTestFailed())
            return;
        test::typeText(road.window(), QStringLiteral("1"));
        Road::settle();
        QCOMPARE(road.current(), QStringLiteral("seisekitime1"));
        if (where != u"seisekitime1") {
            test::typeText(road.window(), QString::number(kLevel));
            Road::settle();
            QCOMPARE(road.current(), QStringLiteral("MainFrm"));
        }
    }
    if (where == u"MainFrm ending")
        QVERIFY(QMetaObject::invokeMethod(qApp, "aboutToQuit", Qt::DirectConnection));

    if (where == u"BASEFRM") {
        // The close comes while the run is being recorded behind the backdrop.
        QTimer watch;
        watch.setInterval(0);
        QObject::connect(&watch, &QTimer::timeout, &road.window(), [&] {
            if (road.current() == u"BASEFRM" && !closed) {
                closeWindow();
                QCOMPARE(road.current(), QStringLiteral("BASEFRM"));
            }
        });
        watch.start();
        road.answerSheet(4, 0);
        watch.stop();
    } else if (where.startsWith(u"FrmSyuuryou")) {
        road.answerSheet(4, 0);
        QCOMPARE(road.current(), QStringLiteral("FrmSyuuryou"));
        if (where.endsWith(u"offered"))
            road.window().findChild<ResultScreen*>(u"FrmSyuuryou"_qs)->Timer1_Timer();
        closeWindow();
    } else {
        closeWindow();
    }
    Road::settle();

    QCOMPARE(closed, after.isEmpty());
    if (after.isEmpty()) {
        QVERIFY(!road.window().isVisible());
        QCOMPARE(road.runsRecorded(), 0);
    } else {
        QVERIFY(road.window().isVisible());
        QCOMPARE(road.current(), after);
    }
    const bool leaves = where == u"namesel";
    QCOMPARE(dialogs.ended, leaves);
    QCOMPARE(road.forms.test.starter.starts.size(), leaves ? 1 : 0);
    QVERIFY(dialogs.messages.empty());

    // A refused drill goes on to its end and its run is recorded once.
    if (where == u"MainFrm") {
        road.answerSheet(4, 0);
        Road::settle();
        QCOMPARE(road.current(), QStringLiteral("FrmSyuuryou"));
    }
    if (where == u"MainFrm" || where.startsWith(u"FrmSyuuryou") || where == u"BASEFRM")
        QCOMPARE(road.runsRecorded(), 1);
}

WARIZAN_FORMS_TEST_MAIN(WholeRoadTest)
#include "tst_whole_road.moc"
