#include "platform/single_instance.h"
#include "screens/selection/selection_screen.h"
#include "screenshot.h"
#include "state/program_identity.h"
#include "test_forms.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

using namespace warizan;

class SelectionScreenTest final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void showsHeadingOnThemeColour();
    void leavesForLauncher_data();
    void leavesForLauncher();
    void secondCopyShowsWarningAndEnds();

private:
    std::unique_ptr<test::TestForms> forms;
    test::TestContext* t = nullptr;
};

void SelectionScreenTest::init() {
    forms = std::make_unique<test::TestForms>();
    t = &forms->test;
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
}

QTEST_MAIN(SelectionScreenTest)
#include "tst_selection_screen.moc"
