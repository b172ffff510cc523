#include "controls.h"
#include "records/points.h"
#include "screenshot.h"
#include "selection_suite.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace warizan;
using test::chooseFilter;
using test::clickRow;
using test::control;
using test::kSelectionPrompt;
using test::kSelectionToday;
using test::listedPupils;
using test::listLine;
using test::rowOf;
using test::shownText;
using test::whenAboutBoxShown;

// The home screen's family list: what it lists under each grade filter and display mode, choosing a pupil by
// click or double-click and confirming with O.K. or its keys.
class SelectionListTest final : public QObject, private test::SelectionFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void activationListsTheFamily();
    void gradeFilter_data();
    void gradeFilter();
    void displayModes_data();
    void displayModes();
    void returningResetsModeAndFilter_data();
    void returningResetsModeAndFilter();
    void clickAndDoubleClick_data();
    void clickAndDoubleClick();
    void okAction_data();
    void okAction();
    void sampleFamilyScreenshots();
};

void SelectionListTest::init() {
    start();
}

void SelectionListTest::cleanup() {
    stop();
}

void SelectionListTest::activationListsTheFamily() {
    SelectionScreen& screen = shownScreen();
    QCOMPARE(listedPupils(screen), QList<int>({4, 2, 5, 1, 3}));
    QCOMPARE(list(screen).count(), 6);
    QCOMPARE(listLine(screen, 0), QStringLiteral("－－－－－－"));
    QCOMPARE(listLine(screen, 2), QStringLiteral("中2 さくら　　　  　/       "));
    QCOMPARE(list(screen).font().families().value(1), QStringLiteral("IPAGothic"));
    QCOMPARE(screen.displayMode(), 1);
    QVERIFY(control<QRadioButton>(screen, "Option1", 1)->isChecked());
    QCOMPARE(screen.gradeFilter(), QStringLiteral("全学年"));
    QCOMPARE(control<QComboBox>(screen, "Combo1")->currentText(), QStringLiteral("全学年"));
    QStringList entries;
    for (int i = 0; i < control<QComboBox>(screen, "Combo1")->count(); ++i)
        entries.append(control<QComboBox>(screen, "Combo1")->itemText(i));
    QCOMPARE(entries, SelectionScreen::gradeFilterEntries());
    QCOMPARE(entries.size(), 12);
    QVERIFY(!control<QWidget>(screen, "Picture5")->isVisible());
    QVERIFY(!control<QLabel>(screen, "Label2")->isVisible());
    QVERIFY(!control<QListWidget>(screen, "List3")->isVisible());
    QVERIFY(t->dialogs.messages.empty());
}

void SelectionListTest::gradeFilter_data() {
    QTest::addColumn<QStringList>("choices");
    QTest::addColumn<QList<int>>("pupils");
    QTest::newRow("中２: grade offset 8 only") << QStringList{"中２"} << QList<int>{2};
    QTest::newRow("中１") << QStringList{"中１"} << QList<int>{5};
    QTest::newRow("中学生全体") << QStringList{"中学生全体"} << QList<int>{2, 5};
    QTest::newRow("小学生全体") << QStringList{"小学生全体"} << QList<int>{1};
    QTest::newRow("小２") << QStringList{"小２"} << QList<int>{1};
    QTest::newRow("小１: nobody") << QStringList{"小１"} << QList<int>{};
    QTest::newRow("中２ then 全学年: everyone, pre-school and senior high too")
        << QStringList{"中２", "全学年"} << QList<int>{4, 2, 5, 1, 3};
}

void SelectionListTest::gradeFilter() {
    QFETCH(QStringList, choices);
    QFETCH(QList<int>, pupils);
    SelectionScreen& screen = shownScreen();
    for (const QString& choice : choices)
        chooseFilter(screen, choice);
    QCOMPARE(listedPupils(screen), pupils);
    QCOMPARE(list(screen).count(), pupils.size() + 1);
    QCOMPARE(screen.gradeFilter(), choices.last());
    QCOMPARE(screen.displayMode(), 1);
    QCOMPARE(list(screen).currentRow(), 0);
    QCOMPARE(shownText(screen, "Label1"), kSelectionPrompt);
    QVERIFY(list(screen).hasFocus());
}

void SelectionListTest::displayModes_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("left"); // the two columns of さくら's line
    QTest::addColumn<QString>("right");
    // さくら: 2 runs today and 5 earlier, each of 30 seconds on level 1; "today4" and "total7" stand for
    // her points of today and of all days in their 4 and 7 characters.
    QTest::newRow("回数(今日／今まで）") << 0 << QStringLiteral("  2回") << QStringLiteral("    7回");
    QTest::newRow("ポイント（今日／今まで）") << 1 << QStringLiteral("today4") << QStringLiteral("total7");
    QTest::newRow("本日（ポイント／回数）") << 2 << QStringLiteral("today4") << QStringLiteral("  2回");
    QTest::newRow("今まで（ポイント／回数）") << 3 << QStringLiteral("total7") << QStringLiteral("    7回");
}

void SelectionListTest::displayModes() {
    QFETCH(int, mode);
    QFETCH(QString, left);
    QFETCH(QString, right);
    setup->appendRuns(kSelectionToday, 2, 1, 30, 2);
    setup->appendRuns(QDate(2023, 11, 5), 2, 1, 30, 5);
    const qint64 points = recordPoints(t->state->levels, 30, 1);
    QVERIFY(points > 0);
    const auto column = [points](const QString& text) {
        if (text == u"today4")
            return (QStringLiteral("   ") + QString::number(2 * points)).right(4);
        if (text == u"total7")
            return (QStringLiteral("      ") + QString::number(7 * points)).right(7);
        return text;
    };
    SelectionScreen& screen = shownScreen();
    chooseFilter(screen, QStringLiteral("中学生全体"));
    QTest::mouseClick(control<QRadioButton>(screen, "Option1", mode), Qt::LeftButton);
    QCOMPARE(screen.displayMode(), mode);
    QVERIFY(control<QRadioButton>(screen, "Option1", mode)->isChecked());
    // The list is rebuilt under the filter chosen before.
    QCOMPARE(listedPupils(screen), QList<int>({2, 5}));
    QCOMPARE(listLine(screen, 1), QStringLiteral("中2 さくら　　　") + column(left) + u'/' + column(right));
}

void SelectionListTest::returningResetsModeAndFilter_data() {
    QTest::addColumn<bool>("fromLevelMenu"); // else the About box closed over the screen: nothing resets
    QTest::newRow("from the level menu: reset") << true;
    QTest::newRow("after the About box: kept") << false;
}

void SelectionListTest::returningResetsModeAndFilter() {
    QFETCH(bool, fromLevelMenu);
    SelectionScreen* screen = &shownScreen();
    QTest::mouseClick(control<QRadioButton>(*screen, "Option1", 3), Qt::LeftButton);
    chooseFilter(*screen, QStringLiteral("中２"));
    QCOMPARE(listedPupils(*screen), QList<int>{2});
    clickRow(list(*screen), 1);
    const QString chosen = shownText(*screen, "Label1");
    if (!fromLevelMenu) {
        // The About box leaves the screen as it was, and reads no file again: a roster changed meanwhile
        // is not listed until the screen itself comes back.
        setup->suite.writeRoster(QStringLiteral("9,2010,0,0,\"あたらしい\",0,\"\",\"\"\n"));
        whenAboutBoxShown(forms->window, [](AboutBox&) {});
        control<QAction>(*screen, "menuspt")->trigger();
        QCOMPARE(forms->shown<SelectionScreen>(FormId::namesel), screen);
        QCOMPARE(screen->displayMode(), 3);
        QVERIFY(control<QRadioButton>(*screen, "Option1", 3)->isChecked());
        QCOMPARE(screen->gradeFilter(), QStringLiteral("中２"));
        QCOMPARE(control<QComboBox>(*screen, "Combo1")->currentText(), QStringLiteral("中２"));
        QCOMPARE(listedPupils(*screen), QList<int>{2});
        QCOMPARE(shownText(*screen, "Label1"), chosen);
        QCOMPARE(shownText(*screen, "Label2"), QStringLiteral("2"));
        return;
    }
    QTest::mouseClick(control<QPushButton>(*screen, "Command14"), Qt::LeftButton);
    QVERIFY(forms->window.isLoaded(FormId::seisekitime1));
    // The level menu closes this screen when it comes up and shows it again when it is left.
    forms->window.unload(FormId::namesel);
    test::SuiteForms::settle();
    screen = &shownScreen();
    QVERIFY(!forms->window.isLoaded(FormId::seisekitime1));
    QVERIFY(control<QPushButton>(*screen, "Command14")->isVisible());
    QCOMPARE(screen->displayMode(), 1);
    QVERIFY(control<QRadioButton>(*screen, "Option1", 1)->isChecked());
    QCOMPARE(screen->gradeFilter(), QStringLiteral("全学年"));
    QCOMPARE(control<QComboBox>(*screen, "Combo1")->currentText(), QStringLiteral("全学年"));
    QCOMPARE(control<QComboBox>(*screen, "Combo1")->count(), 12);
    QCOMPARE(listedPupils(*screen), QList<int>({4, 2, 5, 1, 3}));
    QCOMPARE(shownText(*screen, "Label1"), kSelectionPrompt);
}

void SelectionListTest::clickAndDoubleClick_data() {
    QTest::addColumn<int>("pupil"); // 0: the placeholder
    QTest::addColumn<bool>("twice");
    QTest::addColumn<QString>("label1");
    QTest::addColumn<QString>("label2");
    QTest::newRow("click the placeholder") << 0 << false << kSelectionPrompt << QString();
    QTest::newRow("click: first 10 characters, full-width blanks kept")
        << 2 << false << QStringLiteral("中2 さくら　　　") << QStringLiteral("2");
    QTest::newRow("click a pre-school pupil")
        << 3 << false << QStringLiteral("幼- ゆい　　　　") << QStringLiteral("3");
    QTest::newRow("double-click: the text before the slash")
        << 2 << true << QStringLiteral("中2 さくら　　　  　") << QStringLiteral("2");
    QTest::newRow("double-click the placeholder") << 0 << true << kSelectionPrompt << QString();
}

void SelectionListTest::clickAndDoubleClick() {
    QFETCH(int, pupil);
    QFETCH(bool, twice);
    QFETCH(QString, label1);
    QFETCH(QString, label2);
    SelectionScreen& screen = shownScreen();
    clickRow(list(screen), pupil == 0 ? 0 : rowOf(screen, pupil), twice);
    QCOMPARE(shownText(screen, "Label1"), label1);
    QCOMPARE(shownText(screen, "Label2"), label2);
    const bool confirmed = twice && pupil != 0;
    QCOMPARE(forms->window.isLoaded(FormId::seisekitime1), confirmed);
    QVERIFY(t->sound.played.isEmpty());
    if (!confirmed)
        return;
    const ProgramState& state = *t->state;
    QCOMPARE(forms->window.currentForm(), forms->window.form(FormId::seisekitime1));
    QCOMPARE(state.pupil.currentPupil, qint16(pupil));
    QCOMPARE(state.pupil.currentPupilName, QStringLiteral("さくら").leftJustified(20, u' '));
    QCOMPARE(state.pupil.currentGradeLabel, QStringLiteral("中２"));
    QCOMPARE(state.pupil.startTimer, 36000);
    QCOMPARE(state.pupil.startTimerMs, t->clock.monotonicMs());
    QCOMPARE(state.levels.levelCount, qint16(4));
    QCOMPARE(state.levels.levelName[2], QStringLiteral("あまりその１"));
    QVERIFY(control<QPushButton>(screen, "Command14")->isHidden());
    QVERIFY(!control<QWidget>(screen, "Picture5")->isHidden());
}

void SelectionListTest::okAction_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("chosen");
    for (const bool chosen : {false, true}) {
        const char* who = chosen ? "a pupil chosen" : "nobody chosen";
        QTest::addRow("button, %s", who) << "button" << chosen;
        QTest::addRow("key 1, %s", who) << "1" << chosen;
        QTest::addRow("Enter in the list, %s", who) << "enter" << chosen;
        QTest::addRow("space in the list, %s", who) << "space" << chosen;
    }
    QTest::newRow("key 1 in the filter box, a pupil chosen") << "1 in combo" << true;
}

void SelectionListTest::okAction() {
    QFETCH(QString, how);
    QFETCH(bool, chosen);
    SelectionScreen& screen = shownScreen();
    list(screen).setFocus();
    if (chosen)
        clickRow(list(screen), rowOf(screen, 5));
    if (how == u"button") {
        QTest::mouseClick(control<QPushButton>(screen, "Command14"), Qt::LeftButton);
    } else if (how == u"enter") {
        test::typeKey(forms->window, Qt::Key_Return);
    } else if (how == u"space") {
        test::typeKey(forms->window, Qt::Key_Space);
    } else {
        if (how == u"1 in combo")
            control<QComboBox>(screen, "Combo1")->setFocus();
        test::typeKey(forms->window, Qt::Key_1);
    }
    QCOMPARE(forms->window.isLoaded(FormId::seisekitime1), chosen);
    if (chosen) {
        QCOMPARE(t->state->pupil.currentPupil, qint16(5));
        QCOMPARE(t->state->pupil.currentGradeLabel, QStringLiteral("中１"));
        QVERIFY(t->sound.played.isEmpty());
        return;
    }
    // Refused: the wrong-answer cue, and nothing else changes.
    QCOMPARE(t->sound.played, QStringList{setup->config().soundFolder + QStringLiteral("machigai1.wav")});
    QCOMPARE(shownText(screen, "Label1"), kSelectionPrompt);
    QCOMPARE(list(screen).currentRow(), 0);
    QVERIFY(control<QPushButton>(screen, "Command14")->isVisible());
    QVERIFY(!control<QWidget>(screen, "Picture5")->isVisible());
    QCOMPARE(t->state->pupil.startTimer, 0);
    QCOMPARE(t->state->levels.levelCount, qint16(0));
    QCOMPARE(forms->window.currentForm(), &screen);
    QVERIFY(!t->dialogs.ended);
}

void SelectionListTest::sampleFamilyScreenshots() {
    stop();
    start(QString(), QStringLiteral(DEMO_DIR), QTime(16, 30));
    setup->appendRuns(kSelectionToday, 1, 2, 50, 3);
    setup->appendRuns(kSelectionToday, 2, 1, 70, 1);
    setup->appendRuns(QDate(2024, 3, 20), 1, 1, 40, 12);
    setup->appendRuns(QDate(2024, 3, 21), 2, 1, 90, 4);
    setup->appendRuns(QDate(2024, 3, 22), 3, 1, 200, 2);
    // The help page ships beside the program, where the menu looks for it.
    QVERIFY(QFile::exists(setup->config().programFolder + QStringLiteral("/あまりのあるわり算.html")));

    SelectionScreen& screen = shownScreen();
    QCOMPARE(listedPupils(screen), QList<int>({1, 2, 3}));
    clickRow(list(screen), 1);
    QCOMPARE(shownText(screen, "Label1"), QStringLiteral("小4 はると　　　"));
    test::saveScreenshot(forms->window, QStringLiteral("selection_sample_points"));
    QTest::mouseClick(control<QRadioButton>(screen, "Option1", 0), Qt::LeftButton);
    QCOMPARE(listLine(screen, 1), QStringLiteral("小4 はると　　　  3回/   15回"));
    test::saveScreenshot(forms->window, QStringLiteral("selection_sample_runs"));
}

WARIZAN_FORMS_TEST_MAIN(SelectionListTest)
#include "tst_selection_list.moc"
