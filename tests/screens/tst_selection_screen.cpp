#include "controls.h"
#include "platform/single_instance.h"
#include "roster/roster_display.h"
#include "screenshot.h"
#include "selection_suite.h"
#include "state/program_identity.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace warizan;
using test::control;
using test::kSelectionPrompt;
using test::listedPupils;
using test::listLine;
using test::shownText;
using test::whenAboutBoxShown;

// The home screen: its heading, the ways out of the program, a second copy, a damaged roster, the help and
// the About box.
class SelectionScreenTest final : public QObject, private test::SelectionFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void showsHeadingOnThemeColour();
    void leavesForLauncher_data();
    void leavesForLauncher();
    void secondCopyShowsWarningAndEnds();
    void rosterTrouble_data();
    void rosterTrouble();
    void help_data();
    void help();
    void aboutBox_data();
    void aboutBox();
};

void SelectionScreenTest::init() {
    start();
}

void SelectionScreenTest::cleanup() {
    stop();
}

void SelectionScreenTest::showsHeadingOnThemeColour() {
    QVERIFY(forms->window.show(FormId::namesel));
    QVERIFY(!t->dialogs.ended);
    auto& screen = *forms->shown<SelectionScreen>(FormId::namesel);
    QCOMPARE(forms->window.currentForm(), &screen);
    QVERIFY(screen.isVisible());
    QCOMPARE(screen.objectName(), QStringLiteral("namesel"));
    QCOMPARE(shownText(screen, "Label4"), QStringLiteral("あまりのあるわり算"));
    QCOMPARE(control<QLabel>(screen, "Label4")->font().pixelSize(), 64); // 48 pt at 96 dots to the inch
    QCOMPARE(shownText(screen, "Label1"), QStringLiteral("名前を選びなさい"));
    QCOMPARE(listLine(screen, 0), QStringLiteral("－－－－－－"));
    QCOMPARE(list(screen).currentRow(), 0);
    QCOMPARE(control<QPushButton>(screen, "Command7")->text(), QStringLiteral("終了"));
    QVERIFY(!control<QWidget>(screen, "Picture5")->isVisible());
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
        list(screen).setFocus();
        test::typeKey(forms->window, Qt::Key_0);
    } else if (how == u"menu") {
        control<QAction>(screen, "menuend")->trigger();
    } else {
        QTest::mouseClick(control<QPushButton>(screen, "Command7"), Qt::LeftButton);
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
        panelUp = control<QWidget>(forms->window, "Picture5")->isVisible();
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
    QCOMPARE(list(screen).count(), 1);
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
    control<QAction>(screen, "menuHelp2")->trigger();
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
            QCOMPARE(control<QLabel>(box, "Label1")->text(), QStringLiteral("あまりのあるわり算"));
            QCOMPARE(control<QLabel>(box, "lblVersion")->text(), QStringLiteral("Version1.0.17"));
            QCOMPARE(control<QLabel>(box, "lblProduct")->text(), QStringLiteral("Sorabune"));
            QVERIFY(!control<QLabel>(box, "lblNotice")->text().isEmpty());
            QCOMPARE(control<QLabel>(box, "Label6")->text(), QStringLiteral("お問い合わせは下記まで"));
            QVERIFY(control<QLabel>(box, "Label3")->text().contains(QStringLiteral("@sorabune.example.com")));
            QVERIFY(control<QPushButton>(box, "Command2")->isHidden());
            QVERIFY(box.isModal());
            // The address is no link: a click leaves the box as it is.
            QTest::mouseClick(control<QLabel>(box, "Label3"), Qt::LeftButton);
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
            QTest::mouseClick(control<QLabel>(screen, "Label4"), Qt::LeftButton);
        else
            control<QAction>(screen, "menuspt")->trigger();
        QVERIFY(checked);
        QCOMPARE(forms->window.currentForm(), &screen);
        QCOMPARE(shownText(screen, "Label1"), kSelectionPrompt);
        QVERIFY(!forms->window.findChild<AboutBox*>());
    }
    QVERIFY(t->dialogs.messages.empty());
}

WARIZAN_FORMS_TEST_MAIN(SelectionScreenTest)
#include "tst_selection_screen.moc"
