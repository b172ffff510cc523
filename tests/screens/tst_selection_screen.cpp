#include "platform/single_instance.h"
#include "records/points.h"
#include "roster/roster_display.h"
#include "screens/about/about_box.h"
#include "screens/selection/selection_screen.h"
#include "screenshot.h"
#include "state/program_identity.h"
#include "suite_forms.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <functional>

using namespace warizan;

namespace {

// On the test clock's day (10 April 2024, school year from April) the family is, oldest first: けんた in
// senior high, さくら 中2, みお 中1, はると 小2 and ゆい before school; ちち is inactive.
const QString kFamily = QStringLiteral("1,2016,0,0,\"はると\",0,\"\",\"\"\n"
                                       "2,2010,0,0,\"さくら\",0,\"\",\"\"\n"
                                       "3,2021,0,0,\"ゆい\",0,\"\",\"\"\n"
                                       "4,2007,0,0,\"けんた\",0,\"\",\"\"\n"
                                       "5,2011,0,0,\"みお\",0,\"\",\"\"\n"
                                       "6,1980,0,0,\"ちち\",2,\"\",\"\"\n");
const QDate kToday(2024, 4, 10);
const QString kPrompt = QStringLiteral("名前を選びなさい");

// The pupil numbers the list shows, in list order.
QList<int> listedPupils(const SelectionScreen& screen) {
    QList<int> pupils;
    for (int i = 0; i < screen.List3->count(); ++i) {
        const QString key = screen.List3->item(i)->text();
        pupils.append(key.mid(key.indexOf(u'*') + 1).toInt());
    }
    return pupils;
}

int rowOf(const SelectionScreen& screen, int pupil) {
    return int(listedPupils(screen).indexOf(pupil)) + 1;
}

void chooseFilter(SelectionScreen& screen, const QString& entry) {
    const int index = screen.Combo1->findText(entry);
    QVERIFY(index >= 0);
    screen.Combo1->setCurrentIndex(index);
    emit screen.Combo1->activated(index);
}

void clickRow(QListWidget& list, int row, bool twice = false) {
    QListWidgetItem* item = list.item(row);
    list.scrollToItem(item);
    const QPoint at = list.visualItemRect(item).center();
    // A double-click arrives as a press, a release, the double-click and a second release.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    if (twice) {
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, at);
    }
}

// Runs `check` on the About box once it is up, then closes it with "O.K.".
void whenAboutBoxShown(QWidget& window, std::function<void(AboutBox&)> check) {
    auto* poll = new QTimer(&window);
    QObject::connect(poll, &QTimer::timeout, &window, [poll, &window, check] {
        AboutBox* box = window.findChild<AboutBox*>();
        if (!box || !box->isVisible())
            return;
        poll->deleteLater();
        poll->stop();
        check(*box);
        QTest::mouseClick(box->Command1, Qt::LeftButton);
    });
    poll->start(5);
}

} // namespace

class SelectionScreenTest final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void showsHeadingOnThemeColour();
    void leavesForLauncher_data();
    void leavesForLauncher();
    void secondCopyShowsWarningAndEnds();
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
    void rosterTrouble_data();
    void rosterTrouble();
    void help_data();
    void help();
    void aboutBox_data();
    void aboutBox();
    void sampleFamilyScreenshots();

private:
    SelectionScreen& shownScreen() {
        if (!forms->window.show(FormId::namesel))
            qFatal("the selection screen did not come up");
        return *forms->shown<SelectionScreen>(FormId::namesel);
    }
    std::unique_ptr<test::SuiteForms> setup;
    test::TestForms* forms = nullptr;
    test::TestContext* t = nullptr;
};

void SelectionScreenTest::init() {
    setup = std::make_unique<test::SuiteForms>(kFamily);
    forms = &setup->forms;
    t = &forms->test;
    t->clock.setNow(QDateTime(kToday, QTime(10, 0)));
}

void SelectionScreenTest::cleanup() {
    setup.reset();
}

void SelectionScreenTest::showsHeadingOnThemeColour() {
    QVERIFY(forms->window.show(FormId::namesel));
    QVERIFY(!t->dialogs.ended);
    auto& screen = *forms->shown<SelectionScreen>(FormId::namesel);
    QCOMPARE(forms->window.currentForm(), &screen);
    QVERIFY(screen.isVisible());
    QCOMPARE(screen.objectName(), QStringLiteral("namesel"));
    QCOMPARE(screen.Label4->text(), QStringLiteral("あまりのあるわり算"));
    QCOMPARE(screen.Label4->font().pixelSize(), 64); // 48 pt at 96 dots to the inch
    QCOMPARE(screen.Label1->text(), QStringLiteral("名前を選びなさい"));
    QCOMPARE(screen.List1->item(0)->text(), QStringLiteral("－－－－－－"));
    QCOMPARE(screen.List1->currentRow(), 0);
    QCOMPARE(screen.Command7->text(), QStringLiteral("終了"));
    QVERIFY(!screen.Picture5->isVisible());
    QCOMPARE(screen.palette().color(QPalette::Window), QColor(0, 128, 128));
    QCOMPARE(screen.canvas()->size(), QSize(1024, 768));
    const QImage image = screen.grab().toImage();
    QCOMPARE(image.pixelColor(2, 760), QColor(0, 128, 128));
    test::saveScreenshot(forms->window, QStringLiteral("selection"));
}

void SelectionScreenTest::leavesForLauncher_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("exit button") << "button";
    QTest::newRow("key 0 on the list") << "key";
    QTest::newRow("menu") << "menu";
    QTest::newRow("launcher missing") << "missing";
}

void SelectionScreenTest::leavesForLauncher() {
    QFETCH(QString, how);
    QVERIFY(forms->window.show(FormId::namesel));
    auto& screen = *forms->shown<SelectionScreen>(FormId::namesel);
    t->starter.result = how != u"missing";
    if (how == u"key") {
        screen.List1->setFocus();
        test::typeKey(forms->window, Qt::Key_0);
    } else if (how == u"menu") {
        screen.menuend->trigger();
    } else {
        QTest::mouseClick(screen.Command7, Qt::LeftButton);
    }
    QCOMPARE(t->starter.starts.size(), size_t(1));
    QCOMPARE(t->starter.starts[0].first, launcherPath(t->state->config.programFolder));
    QCOMPARE(t->starter.starts[0].second, QStringList{"001"});
    QVERIFY(t->dialogs.ended);
    QCOMPARE(t->dialogs.endCode, 0);
    QVERIFY(t->dialogs.messages.empty());
}

void SelectionScreenTest::secondCopyShowsWarningAndEnds() {
    SingleInstance first(forms->guardFolder.path());
    QVERIFY(first.acquire());
    QVERIFY(!forms->window.show(FormId::namesel));
    QVERIFY(t->dialogs.ended);
    QCOMPARE(t->dialogs.messages.size(), size_t(1));
    QCOMPARE(t->dialogs.messages[0].title, QStringLiteral("注意"));
    QCOMPARE(t->dialogs.messages[0].text,
             QStringLiteral("このプログラムと同じプログラムがすでに起動され、完全に終了されていません。"
                            "同じプログラムを完全に終了させてから実行してください。"));
    QVERIFY(t->dialogs.messages[0].icon == Dialogs::Icon::Critical);
    // Nothing else was built: the page is dropped and the window never shown.
    QVERIFY(!forms->window.isLoaded(FormId::namesel));
    QVERIFY(!forms->window.isVisible());
    QVERIFY(!QFile::exists(scoreFilePath(setup->config())));
}

void SelectionScreenTest::activationListsTheFamily() {
    SelectionScreen& screen = shownScreen();
    QCOMPARE(listedPupils(screen), QList<int>({4, 2, 5, 1, 3}));
    QCOMPARE(screen.List1->count(), 6);
    QCOMPARE(screen.List1->item(0)->text(), QStringLiteral("－－－－－－"));
    QCOMPARE(screen.List1->item(2)->text(), QStringLiteral("中2 さくら　　　  　/       "));
    QCOMPARE(screen.List1->font().families().value(1), QStringLiteral("IPAGothic"));
    QCOMPARE(screen.displayMode(), 1);
    QVERIFY(screen.Option1[1]->isChecked());
    QCOMPARE(screen.gradeFilter(), QStringLiteral("全学年"));
    QCOMPARE(screen.Combo1->currentText(), QStringLiteral("全学年"));
    QStringList entries;
    for (int i = 0; i < screen.Combo1->count(); ++i)
        entries.append(screen.Combo1->itemText(i));
    QCOMPARE(entries, SelectionScreen::gradeFilterEntries());
    QCOMPARE(entries.size(), 12);
    QVERIFY(!screen.Picture5->isVisible());
    QVERIFY(!screen.Label2->isVisible());
    QVERIFY(!screen.List3->isVisible());
    QVERIFY(t->dialogs.messages.empty());
}

void SelectionScreenTest::gradeFilter_data() {
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

void SelectionScreenTest::gradeFilter() {
    QFETCH(QStringList, choices);
    QFETCH(QList<int>, pupils);
    SelectionScreen& screen = shownScreen();
    for (const QString& choice : choices)
        chooseFilter(screen, choice);
    QCOMPARE(listedPupils(screen), pupils);
    QCOMPARE(screen.List1->count(), pupils.size() + 1);
    QCOMPARE(screen.gradeFilter(), choices.last());
    QCOMPARE(screen.displayMode(), 1);
    QCOMPARE(screen.List1->currentRow(), 0);
    QCOMPARE(screen.Label1->text(), kPrompt);
    QVERIFY(screen.List1->hasFocus());
}

void SelectionScreenTest::displayModes_data() {
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

void SelectionScreenTest::displayModes() {
    QFETCH(int, mode);
    QFETCH(QString, left);
    QFETCH(QString, right);
    setup->appendRuns(kToday, 2, 1, 30, 2);
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
    QTest::mouseClick(screen.Option1[mode], Qt::LeftButton);
    QCOMPARE(screen.displayMode(), mode);
    QVERIFY(screen.Option1[mode]->isChecked());
    // The list is rebuilt under the filter chosen before.
    QCOMPARE(listedPupils(screen), QList<int>({2, 5}));
    QCOMPARE(screen.List1->item(1)->text(),
             QStringLiteral("中2 さくら　　　") + column(left) + u'/' + column(right));
}

void SelectionScreenTest::returningResetsModeAndFilter_data() {
    QTest::addColumn<bool>("fromLevelMenu"); // else the About box closed over the screen: nothing resets
    QTest::newRow("from the level menu: reset") << true;
    QTest::newRow("after the About box: kept") << false;
}

void SelectionScreenTest::returningResetsModeAndFilter() {
    QFETCH(bool, fromLevelMenu);
    SelectionScreen* screen = &shownScreen();
    QTest::mouseClick(screen->Option1[3], Qt::LeftButton);
    chooseFilter(*screen, QStringLiteral("中２"));
    QCOMPARE(listedPupils(*screen), QList<int>{2});
    clickRow(*screen->List1, 1);
    const QString chosen = screen->Label1->text();
    if (!fromLevelMenu) {
        // The About box leaves the screen as it was, and reads no file again: a roster changed meanwhile
        // is not listed until the screen itself comes back.
        setup->suite.writeRoster(QStringLiteral("9,2010,0,0,\"あたらしい\",0,\"\",\"\"\n"));
        whenAboutBoxShown(forms->window, [](AboutBox&) {});
        screen->menuspt->trigger();
        QCOMPARE(forms->shown<SelectionScreen>(FormId::namesel), screen);
        QCOMPARE(screen->displayMode(), 3);
        QVERIFY(screen->Option1[3]->isChecked());
        QCOMPARE(screen->gradeFilter(), QStringLiteral("中２"));
        QCOMPARE(screen->Combo1->currentText(), QStringLiteral("中２"));
        QCOMPARE(listedPupils(*screen), QList<int>{2});
        QCOMPARE(screen->Label1->text(), chosen);
        QCOMPARE(screen->Label2->text(), QStringLiteral("2"));
        return;
    }
    QTest::mouseClick(screen->Command14, Qt::LeftButton);
    QVERIFY(forms->window.isLoaded(FormId::seisekitime1));
    // The level menu closes this screen when it comes up and shows it again when it is left.
    forms->window.unload(FormId::namesel);
    test::SuiteForms::settle();
    screen = &shownScreen();
    QVERIFY(!forms->window.isLoaded(FormId::seisekitime1));
    QVERIFY(screen->Command14->isVisible());
    QCOMPARE(screen->displayMode(), 1);
    QVERIFY(screen->Option1[1]->isChecked());
    QCOMPARE(screen->gradeFilter(), QStringLiteral("全学年"));
    QCOMPARE(screen->Combo1->currentText(), QStringLiteral("全学年"));
    QCOMPARE(screen->Combo1->count(), 12);
    QCOMPARE(listedPupils(*screen), QList<int>({4, 2, 5, 1, 3}));
    QCOMPARE(screen->Label1->text(), kPrompt);
}

void SelectionScreenTest::clickAndDoubleClick_data() {
    QTest::addColumn<int>("pupil"); // 0: the placeholder
    QTest::addColumn<bool>("twice");
    QTest::addColumn<QString>("label1");
    QTest::addColumn<QString>("label2");
    QTest::newRow("click the placeholder") << 0 << false << kPrompt << QString();
    QTest::newRow("click: first 10 characters, full-width blanks kept")
        << 2 << false << QStringLiteral("中2 さくら　　　") << QStringLiteral("2");
    QTest::newRow("click a pre-school pupil")
        << 3 << false << QStringLiteral("幼- ゆい　　　　") << QStringLiteral("3");
    QTest::newRow("double-click: the text before the slash")
        << 2 << true << QStringLiteral("中2 さくら　　　  　") << QStringLiteral("2");
    QTest::newRow("double-click the placeholder") << 0 << true << kPrompt << QString();
}

void SelectionScreenTest::clickAndDoubleClick() {
    QFETCH(int, pupil);
    QFETCH(bool, twice);
    QFETCH(QString, label1);
    QFETCH(QString, label2);
    SelectionScreen& screen = shownScreen();
    clickRow(*screen.List1, pupil == 0 ? 0 : rowOf(screen, pupil), twice);
    QCOMPARE(screen.Label1->text(), label1);
    QCOMPARE(screen.Label2->text(), label2);
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
    QVERIFY(screen.Command14->isHidden());
    QVERIFY(!screen.Picture5->isHidden());
}

void SelectionScreenTest::okAction_data() {
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

void SelectionScreenTest::okAction() {
    QFETCH(QString, how);
    QFETCH(bool, chosen);
    SelectionScreen& screen = shownScreen();
    screen.List1->setFocus();
    if (chosen)
        clickRow(*screen.List1, rowOf(screen, 5));
    if (how == u"button") {
        QTest::mouseClick(screen.Command14, Qt::LeftButton);
    } else if (how == u"enter") {
        test::typeKey(forms->window, Qt::Key_Return);
    } else if (how == u"space") {
        test::typeKey(forms->window, Qt::Key_Space);
    } else {
        if (how == u"1 in combo")
            screen.Combo1->setFocus();
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
    QCOMPARE(screen.Label1->text(), kPrompt);
    QCOMPARE(screen.List1->currentRow(), 0);
    QVERIFY(screen.Command14->isVisible());
    QVERIFY(!screen.Picture5->isVisible());
    QCOMPARE(t->state->pupil.startTimer, 0);
    QCOMPARE(t->state->levels.levelCount, qint16(0));
    QCOMPARE(forms->window.currentForm(), &screen);
    QVERIFY(!t->dialogs.ended);
}

void SelectionScreenTest::rosterTrouble_data() {
    QTest::addColumn<QString>("trouble");
    QTest::newRow("missing, restored from the copy an interrupted save left") << "copy";
    QTest::newRow("missing, no copy: the program ends") << "missing";
    QTest::newRow("cut short: retried with the waiting panel up, then the end") << "damaged";
    QTest::newRow("empty: said so, and the program goes on") << "empty";
}

void SelectionScreenTest::rosterTrouble() {
    QFETCH(QString, trouble);
    const QString roster = setup->rosterPath();
    if (trouble == u"copy")
        QVERIFY(QFile::rename(roster, setup->config().commonFolder + QStringLiteral("生徒用名簿temp.txt")));
    else if (trouble == u"missing")
        QVERIFY(QFile::remove(roster));
    else if (trouble == u"empty")
        test::writeTextFile(roster, QString());
    else
        test::writeTextFile(roster, QStringLiteral("1,2016,0,0,\"はると\",0,\"\"\n"));
    bool panelUp = false;
    t->dialogs.onMessage = [&](const RecordingDialogs::Message&) {
        panelUp = forms->window.findChild<QWidget*>(QStringLiteral("Picture5"))->isVisible();
    };
    QVERIFY(forms->window.show(FormId::namesel));
    auto& screen = *forms->shown<SelectionScreen>(FormId::namesel);
    QCOMPARE(t->dialogs.ended, trouble != u"copy" && trouble != u"empty");
    if (trouble == u"copy") {
        QVERIFY(QFile::exists(roster));
        QCOMPARE(listedPupils(screen), QList<int>({4, 2, 5, 1, 3}));
        QVERIFY(t->dialogs.messages.empty());
        return;
    }
    QCOMPARE(t->dialogs.messages.size(), size_t(1));
    // The roster as a family reads its path: without the program folder's "..", in the system's form.
    const QString shownRoster = QDir::toNativeSeparators(setup->suite.root() + u"/生徒用名簿.txt"_qs);
    if (trouble == u"missing") {
        // The same text as when the roster goes missing while the program runs.
        QCOMPARE(t->dialogs.messages[0].text,
                 QStringLiteral(
                     "名簿ファイル（生徒用名簿.txt）を開けません。\n名簿表示2ファイルが見つかりません53\n") +
                     shownRoster);
        QCOMPARE(t->clock.waitCount(), 0);
    } else if (trouble == u"empty") {
        QCOMPARE(t->dialogs.messages[0].text,
                 QStringLiteral("名簿ファイル（生徒用名簿.txt）に、選べる人がひとりもいません。"
                                "名簿が空になっていないか確かめてください。\n") +
                     shownRoster);
        QCOMPARE(forms->window.currentForm(), &screen);
    } else {
        QVERIFY(t->dialogs.messages[0].text.startsWith(
            QStringLiteral("名簿ファイル（生徒用名簿.txt）を読めません。\n名簿表示3")));
        QCOMPARE(t->clock.waitCount(), kRosterFailuresBeforeEnd);
        QVERIFY(panelUp);
    }
    QCOMPARE(screen.List1->count(), 1);
}

void SelectionScreenTest::help_data() {
    QTest::addColumn<bool>("opens");
    QTest::newRow("the page opens") << true;
    QTest::newRow("no help file: nothing happens") << false;
}

void SelectionScreenTest::help() {
    QFETCH(bool, opens);
    SelectionScreen& screen = shownScreen();
    forms->documents.result = opens;
    screen.menuHelp2->trigger();
    const QString base =
        setup->config().programFolder + QDir::separator() + QStringLiteral("あまりのあるわり算");
    QStringList expected;
#ifdef Q_OS_WIN
    expected << base + QStringLiteral(".HLP");
    if (!opens)
#endif
        expected << base + QStringLiteral(".html");
    QCOMPARE(forms->documents.opened, expected);
    QVERIFY(t->dialogs.messages.empty());
    QVERIFY(!t->dialogs.ended);
    QCOMPARE(forms->window.currentForm(), &screen);
}

void SelectionScreenTest::aboutBox_data() {
    QTest::addColumn<bool>("byHeading");
    QTest::newRow("menu バージョン情報") << false;
    QTest::newRow("click on the heading: centred") << true;
}

void SelectionScreenTest::aboutBox() {
    QFETCH(bool, byHeading);
    SelectionScreen& screen = shownScreen();
    for (int time = 1; time <= 2; ++time) {
        bool checked = false;
        whenAboutBoxShown(forms->window, [&](AboutBox& box) {
            checked = true;
            QCOMPARE(box.objectName(), QStringLiteral("frmver"));
            QCOMPARE(box.windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
            QCOMPARE(box.Label1->text(), QStringLiteral("あまりのあるわり算"));
            QCOMPARE(box.lblVersion->text(), QStringLiteral("Version1.0.17"));
            QCOMPARE(box.lblProduct->text(), QStringLiteral("Sorabune"));
            QVERIFY(!box.lblNotice->text().isEmpty());
            QCOMPARE(box.Label6->text(), QStringLiteral("お問い合わせは下記まで"));
            QVERIFY(box.Label3->text().contains(QStringLiteral("@sorabune.example.com")));
            QVERIFY(box.Command2->isHidden());
            QVERIFY(box.isModal());
            // The address is no link: a click leaves the box as it is.
            QTest::mouseClick(box.Label3, Qt::LeftButton);
            QVERIFY(box.isVisible());
            if (byHeading) {
                const QPoint offset = box.geometry().center() - forms->window.geometry().center();
                // Within the frame the platform adds around the box.
                QVERIFY2(qAbs(offset.x()) <= 4 && qAbs(offset.y()) <= 4,
                         qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
            }
            test::saveScreenshot(box, QStringLiteral("about_box"));
        });
        if (byHeading)
            QTest::mouseClick(screen.Label4, Qt::LeftButton);
        else
            screen.menuspt->trigger();
        QVERIFY(checked);
        QCOMPARE(forms->window.currentForm(), &screen);
        QCOMPARE(screen.Label1->text(), kPrompt);
        QVERIFY(!forms->window.findChild<AboutBox*>());
    }
    QVERIFY(t->dialogs.messages.empty());
}

void SelectionScreenTest::sampleFamilyScreenshots() {
    setup.reset();
    setup = std::make_unique<test::SuiteForms>(QString(), QStringLiteral(DEMO_DIR));
    forms = &setup->forms;
    t = &forms->test;
    t->clock.setNow(QDateTime(kToday, QTime(16, 30)));
    setup->appendRuns(kToday, 1, 2, 50, 3);
    setup->appendRuns(kToday, 2, 1, 70, 1);
    setup->appendRuns(QDate(2024, 3, 20), 1, 1, 40, 12);
    setup->appendRuns(QDate(2024, 3, 21), 2, 1, 90, 4);
    setup->appendRuns(QDate(2024, 3, 22), 3, 1, 200, 2);
    // The help page ships beside the program, where the menu looks for it.
    QVERIFY(QFile::exists(setup->config().programFolder + QStringLiteral("/あまりのあるわり算.html")));

    SelectionScreen& screen = shownScreen();
    QCOMPARE(listedPupils(screen), QList<int>({1, 2, 3}));
    clickRow(*screen.List1, 1);
    QCOMPARE(screen.Label1->text(), QStringLiteral("小4 はると　　　"));
    test::saveScreenshot(forms->window, QStringLiteral("selection_sample_points"));
    QTest::mouseClick(screen.Option1[0], Qt::LeftButton);
    QCOMPARE(screen.List1->item(1)->text(), QStringLiteral("小4 はると　　　  3回/   15回"));
    test::saveScreenshot(forms->window, QStringLiteral("selection_sample_runs"));
}

WARIZAN_FORMS_TEST_MAIN(SelectionScreenTest)
#include "tst_selection_screen.moc"
