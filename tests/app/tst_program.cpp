#include "app/program.h"
#include "platform/display.h"
#include "screens/selection/selection_screen.h"
#include "test_support.h"

#include <QApplication>
#include <QLabel>
#include <QtTest>

using namespace warizan;

// The whole start-up sequence on a real suite folder, up to the selection screen.
class ProgramTest final : public QObject {
    Q_OBJECT
private slots:
    void startsOnTheSelectionScreen();
};

void ProgramTest::startsOnTheSelectionScreen() {
    test::TempSuite suite(1);
    Program program(std::make_unique<test::ScriptedSoundDevice>(), suite.programFolder());
    QVERIFY(program.start());
    QCOMPARE(program.state().config.themeColour, quint32(0x008080));
    QCOMPARE(program.state().config.schoolName, QStringLiteral("テスト家"));
    QCOMPARE(program.state().levels.groupsLoaded, 5);
    QCOMPARE(display::scale(), 1.0);

    SelectionScreen* screen = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == u"namesel")
            screen = qobject_cast<SelectionScreen*>(w);
    QVERIFY(screen != nullptr);
    QVERIFY(screen->isVisible());
    QCOMPARE(screen->Label4->text(), QStringLiteral("あまりのあるわり算"));
    QCOMPARE(screen->windowTitle(), QStringLiteral("あまりのあるわり算"));
}

QTEST_MAIN(ProgramTest)
#include "tst_program.moc"
