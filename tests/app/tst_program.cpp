#include "app/program.h"
#include "controls.h"
#include "platform/gui/display.h"
#include "records/pending_runs.h"
#include "records/score_record.h"
#include "screens/screenshot.h"
#include "screens/selection/selection_screen.h"
#include "test_forms.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

using namespace warizan;

// The whole start-up sequence on a real suite folder, up to the selection screen.
class ProgramTest final : public QObject {
    Q_OBJECT
private slots:
    void startsOnTheSelectionScreen();
    void keptRunsReachTheFilesAtStart();
    void unreadableKeptRunsAreToldOnce();
};

void ProgramTest::startsOnTheSelectionScreen() {
    test::TempSuite suite(1);
    suite.writeRoster(QStringLiteral("1,2014,0,0,\"たろう\",0,\"\",\"\"\n"));
    Program program(std::make_unique<test::ScriptedSoundDevice>(), suite.programFolder());
    QVERIFY(program.start());
    QCOMPARE(program.state().config.themeColour, quint32(0x008080));
    QCOMPARE(program.state().config.schoolName, QStringLiteral("テスト家"));
    QCOMPARE(program.state().levels.groupsLoaded, 5);
    QCOMPARE(display::scale(), 1.0);

    // The selection screen is the current page of the program's one window.
    FormWindow* window = program.window();
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY2(w == window || !w->isVisible(), qPrintable(w->objectName()));
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("あまりのあるわり算"));
    auto* screen = qobject_cast<SelectionScreen*>(window->currentForm());
    QVERIFY(screen != nullptr);
    QCOMPARE(screen->window(), window);
    QCOMPARE(test::shownText(*screen, "Label4"), QStringLiteral("あまりのあるわり算"));
    // Its activation has listed the family.
    QCOMPARE(test::control<QListWidget>(*screen, "List1")->count(), 2);
}

// A run kept when the score files could not take it is on file before the first screen counts.
void ProgramTest::keptRunsReachTheFilesAtStart() {
    test::TempSuite suite(1);
    suite.writeRoster(QStringLiteral("1,2014,0,0,\"たろう\",0,\"\",\"\"\n"));
    QTemporaryDir userData;
    const QByteArray oldUserData = qgetenv("WARIZAN_DATA_HOME");
    qputenv("WARIZAN_DATA_HOME", QFile::encodeName(userData.path()));
    const QString scores = suite.programDataFolder() + kScoreFileName;
    const QString home = suite.commonFolder() + kHomeScoreFileName;
    Configuration config;
    config.programFolderName = QStringLiteral("drill");
    const QDate day(2024, 4, 9);
    const PendingRun kept{
        .id = newRunId(),
        .scoreFile = placeOfFile(scores),
        .homeFile = placeOfFile(home),
        .scoreRecord = encodeScoreRecord(makeScoreRecord(config, day, QTime(17, 0), 1, 1, 42)),
        .homeRecord = encodeHomeScoreRecord(makeHomeScoreRecord(config, day, QTime(17, 0), 1, 1, 42))};
    QString why;
    QVERIFY2(keepPendingRun(defaultPendingRunsFile(), kept, &why), qPrintable(why));

    Program program(std::make_unique<test::ScriptedSoundDevice>(), suite.programFolder());
    const bool started = program.start();
    qputenv("WARIZAN_DATA_HOME", oldUserData);
    QVERIFY(started);
    QCOMPARE(test::readBytes(scores), kept.scoreRecord);
    QCOMPARE(test::readBytes(home), kept.homeRecord);
    QCOMPARE(program.state().figures.totalCount.at(1, 1), qint16(1));
}

// Lines of the kept-runs list that cannot be read are moved beside it at the start, and the family is told
// once how many and where, in a message box of the program's own kind.
void ProgramTest::unreadableKeptRunsAreToldOnce() {
    test::TempSuite suite(1);
    suite.writeRoster(QStringLiteral("1,2014,0,0,\"たろう\",0,\"\",\"\"\n"));
    QTemporaryDir userData;
    const QByteArray oldUserData = qgetenv("WARIZAN_DATA_HOME");
    qputenv("WARIZAN_DATA_HOME", QFile::encodeName(userData.path()));
    const QString list = defaultPendingRunsFile();
    QVERIFY(QDir().mkpath(QFileInfo(list).absolutePath()));
    test::writeTextFile(list, QStringLiteral("not a run\n{\"scoreFile\":\"/x\"\n"), TextEncoding::Utf8);

    QStringList told;
    const auto startOnce = [&] {
        // The message box is modal: its text is taken and it is closed as soon as it is up.
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                told << box->text();
                test::saveScreenshot(*box, QStringLiteral("start_unreadable_kept_runs"));
                box->accept();
            }
        });
        closer.start(20);
        Program program(std::make_unique<test::ScriptedSoundDevice>(), suite.programFolder());
        return program.start();
    };
    const bool first = startOnce();
    const bool second = startOnce();
    qputenv("WARIZAN_DATA_HOME", oldUserData);
    QVERIFY(first && second);
    QCOMPARE(told.size(), 1);
    QVERIFY2(told[0].startsWith(QStringLiteral("取っておいた成績のうち 2 回分が読めませんでした。")),
             qPrintable(told[0]));
    QVERIFY2(told[0].contains(QStringLiteral("（おうちの方へ）")), qPrintable(told[0]));
    QVERIFY2(told[0].contains(QDir::toNativeSeparators(unreadableRunsFile(list))), qPrintable(told[0]));
    QVERIFY(!QFileInfo::exists(list));
    QCOMPARE(test::readBytes(unreadableRunsFile(list)), QByteArray("not a run\n{\"scoreFile\":\"/x\"\n"));
}

WARIZAN_FORMS_TEST_MAIN(ProgramTest)
#include "tst_program.moc"
