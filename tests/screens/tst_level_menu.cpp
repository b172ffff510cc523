#include "menu_suite.h"
#include "screens/selection/selection_screen.h"
#include "screenshot.h"

#include <QComboBox>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QtTest>

using namespace warizan;
using test::control;
using test::shownText;

// The level menu as a pupil sees it, on a suite folder with a family and its runs, through the form owner.
class LevelMenuTest final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void columnsAndHeader();
    void instructionsNameTheDrillsKeys();
    void tabOrder_data();
    void tabOrder();
    void activationCreatesNoControl();
    void startsAndLeaves_data();
    void startsAndLeaves();
    void unlocking_data();
    void unlocking();
    void lists_data();
    void lists();
    void anotherChoiceChoosesNoLine();
    void todayListReadsTheLast1000();
    void sampleFamilyPictures();
    void selectionFilterCarriesOver();

private:
    LevelMenuScreen& showMenu(int pupil, const QStringList& records) { return s->showMenu(pupil, records); }
    std::unique_ptr<test::MenuSuite> s;
};

void LevelMenuTest::init() {
    s = std::make_unique<test::MenuSuite>();
}

void LevelMenuTest::columnsAndHeader() {
    // A run on level slot 30 counts in today's total though no column shows it.
    LevelMenuScreen& menu = showMenu(1, test::kMenuFamilyRuns + QStringList{"2024-04-10 09:40:00 1 30 50"});
    QCOMPARE(s->forms.window.currentForm(), &menu);
    QCOMPARE(menu.objectName(), QStringLiteral("seisekitime1"));
    // Four columns and the hidden template they are laid out from.
    QVERIFY(!control<QListWidget>(menu, "List5", 0)->isVisible());
    QVERIFY(!menu.findChild<QListWidget*>(QStringLiteral("List5_5")));
    QVERIFY(!control<QScrollBar>(menu, "HScroll1")->isVisible());
    const int firstLeft = control<QListWidget>(menu, "List5", 1)->x();
    for (int level = 1; level <= 4; ++level) {
        // 3648 twips each, side by side.
        const QListWidget* list = control<QListWidget>(menu, "List5", level);
        QVERIFY(qAbs(list->x() - firstLeft - (level - 1) * 3648 / 15.0) <= 1);
        QVERIFY(list->isVisible());
        QVERIFY(control<QPushButton>(menu, "Command4", level)->isEnabled());
    }
    const struct {
        const char* control;
        const char* text;
    } texts[] = {
        {"Command4_3", "ｽﾀｰﾄ(&3)"},
        {"Label3_2", "あまりその１"},
        {"Label7_1", "目標=120秒 10回/100点(×1)"},
        {"Label8_1", "最近7日=1回 / 26点"},
        {"Label14_1", "1回/26点"},
        {"Label15_1", "1回/26点"},
        {"Label14_2", "-----"},
        {"Label15_2", "------"},
        {"Label18", "本日総回数＝2回"},
        {"Label17", "起動後2分"},
        {"Label12", "小２ たろう"},
        {"Label13", "テスト家:1"},
        {"Label11", "あまりのあるわり算"},
        {"Label5", "獲得ポイント（今まで順位）"},
        {"Option1_1", "累計順"},
    };
    for (const auto& t : texts)
        QCOMPARE(shownText(menu, QString::fromLatin1(t.control)), QString::fromUtf8(t.text));
    const QListWidget* instructions = control<QListWidget>(menu, "List6");
    QCOMPARE(instructions->count(), 20);
    QCOMPARE(instructions->item(19)->text(), QStringLiteral("では、スタートボタンを押してはじめよう"));
    QVERIFY(control<QRadioButton>(menu, "Option2", 1)->isChecked());
    QVERIFY(control<QRadioButton>(menu, "Option1", 1)->isChecked());
    const QComboBox* filter = control<QComboBox>(menu, "Combo1");
    QCOMPARE(filter->currentText(), QStringLiteral("全学年"));
    QCOMPARE(filter->count(), 12);
    QVERIFY(!control<QWidget>(menu, "Picture2")->isVisible());
    QVERIFY(!control<QWidget>(menu, "Picture6")->isVisible());
    QVERIFY(control<QPushButton>(menu, "Command1")->isEnabled());
    QCOMPARE(s->forms.test.state->levelMenu.firstVisibleRow, 1);
    QVERIFY(!s->forms.window.isLoaded(FormId::namesel));
    test::saveScreenshot(s->forms.window, QStringLiteral("level_menu_points"));
    control<QRadioButton>(menu, "Option2", 0)->click();
    QVERIFY(control<QRadioButton>(menu, "Option2", 0)->isChecked());
    QCOMPARE(shownText(menu, "Label5"), QStringLiteral("ベスト成績"));
    test::saveScreenshot(s->forms.window, QStringLiteral("level_menu_times"));
}

// The order the Tab key walks the menu's controls: the options, the filter, the list buttons, 苦手れんしゅう,
// the way back, then each column's start button, list and "成績表示". Shown controls only; labels take no
// focus.
void LevelMenuTest::tabOrder_data() {
    QTest::addColumn<QString>("option"); // clicked first; empty: as activation leaves the menu
    QTest::addColumn<QStringList>("chain");
    const QStringList columns = {"Command4_1", "List5_1",    "Command3_1", "Command4_2",
                                 "List5_2",    "Command3_2", "Command4_3", "List5_3",
                                 "Command3_3", "Command4_4", "List5_4",    "Command3_4"};
    const QStringList options = {"Option2_0", "Option2_1", "Option2_2",
                                 "Option1_1", "Option1_2", "Option1_3"};
    QTest::newRow("on activation") << QString()
                                   << options +
                                          QStringList{"Combo1",    "Command5",        "Command7", "Command6",
                                                      "Command16", "CommandPractice", "Command1"} +
                                          columns;
    QTest::newRow("runs of the period: the whole period after the filter")
        << "Option1_3"
        << options + QStringList{"Combo1",   "Combo2",    "Command5",        "Command7",
                                 "Command6", "Command16", "CommandPractice", "Command1"} +
               columns;
    QTest::newRow("own times: グラフ after the filter")
        << "Option2_2"
        << options + QStringList{"Combo1",   "Command17", "Command5",        "Command7",
                                 "Command6", "Command16", "CommandPractice", "Command1"} +
               columns;
}

void LevelMenuTest::tabOrder() {
    QFETCH(QString, option);
    QFETCH(QStringList, chain);
    LevelMenuScreen& menu = showMenu(1, test::kMenuFamilyRuns);
    if (!option.isEmpty())
        control<QRadioButton>(menu, option)->click();
    QStringList walked;
    for (QWidget* w = menu.nextInFocusChain(); w != &menu; w = w->nextInFocusChain()) {
        if (w->isVisibleTo(&menu) && (w->focusPolicy() & Qt::TabFocus))
            walked << w->objectName();
    }
    QCOMPARE(walked, chain);
}

// The columns are built when the menu loads; becoming current again only fills them.
void LevelMenuTest::activationCreatesNoControl() {
    LevelMenuScreen& menu = showMenu(1, test::kMenuFamilyRuns);
    const QList<QWidget*> before = menu.findChildren<QWidget*>();
    menu.activate();
    QCOMPARE(menu.findChildren<QWidget*>(), before);
    QCOMPARE(test::MenuSuite::listLines(menu, 1).size(), 4);
}

// The instructions send the child to keys the drill form has (its own tests show what each does): no
// judging or going-on button, which the drill has not.
void LevelMenuTest::instructionsNameTheDrillsKeys() {
    LevelMenuScreen& menu = showMenu(1, test::kMenuFamilyRuns);
    QListWidget* list = control<QListWidget>(menu, "List6");
    const QStringList drillKeys = {QStringLiteral("スペースキー"), QStringLiteral("エンターキー"),
                                   QStringLiteral("DELETEキー"),   QStringLiteral("方向キー"),
                                   QStringLiteral("矢印キー"),     QStringLiteral("\"+\"キー")};
    QStringList lines;
    for (int row = 0; row < list->count(); ++row)
        lines << list->item(row)->text();
    const QString all = lines.join(u'\n');
    for (const QString& line : lines) {
        QString rest = line;
        for (const QString& key : drillKeys)
            rest.remove(key);
        QVERIFY2(!rest.contains(QStringLiteral("キー")), qPrintable(line));
        QVERIFY2(!rest.contains(QStringLiteral("ボタン")) || line.contains(QStringLiteral("スタートボタン")),
                 qPrintable(line));
    }
    for (const QString& said : {QStringLiteral("エンターキー"), QStringLiteral("\"+\"キーを２回"),
                                QStringLiteral("最後のますでスペースキー")})
        QVERIFY2(all.contains(said), qPrintable(all));
    list->scrollToItem(list->item(list->count() - 1));
    test::saveScreenshot(*list, QStringLiteral("level_menu_instructions_end"));
}

void LevelMenuTest::startsAndLeaves_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("shown"); // the form in front afterwards
    QTest::addColumn<int>("level"); // currentLevel afterwards; 0 none chosen
    const int drill = static_cast<int>(FormId::MainFrm);
    const int menu = static_cast<int>(FormId::seisekitime1);
    const int selection = static_cast<int>(FormId::namesel);
    QTest::newRow("key 2") << "2" << drill << 2;
    QTest::newRow("key 5 with four levels") << "5" << menu << 0;
    QTest::newRow("key d with four levels") << "d" << menu << 0;
    QTest::newRow("start button 3") << "Command4_3" << drill << 3;
    QTest::newRow("level name 4") << "Label3_4" << drill << 4;
    QTest::newRow("key 0") << "0" << selection << 0;
    QTest::newRow("back button") << "Command1" << selection << 0;
}

void LevelMenuTest::startsAndLeaves() {
    QFETCH(QString, how);
    QFETCH(int, shown);
    QFETCH(int, level);
    LevelMenuScreen& menu = showMenu(1, test::kMenuFamilyRuns);
    s->forms.test.state->pupil.currentLevel = 0;
    if (how.size() > 1) {
        QTest::mouseClick(control<QWidget>(menu, how), Qt::LeftButton);
    } else {
        control<QListWidget>(menu, "List5", 1)->setFocus();
        test::typeText(s->forms.window, how);
    }
    const auto front = static_cast<FormId>(shown);
    QVERIFY(s->forms.window.isLoaded(front));
    QCOMPARE(s->forms.window.currentForm(), s->forms.window.form(front));
    QCOMPARE(s->forms.test.state->pupil.currentLevel, qint16(level));
    // The menu stays only while it is in front: a drill or the selection screen unloads it.
    QCOMPARE(s->forms.window.isLoaded(FormId::seisekitime1), front == FormId::seisekitime1);
}

void LevelMenuTest::unlocking_data() {
    QTest::addColumn<int>("pupil");
    QTest::addColumn<QStringList>("runs");
    QTest::addColumn<int>("goalCleared");
    QTest::addColumn<QString>("markers"); // levels 1..4: "-" hidden, else the first letter of the text
    QTest::newRow("new pupil") << 1 << QStringList{} << 0 << "ちままま";
    QTest::newRow("teacher opens every level") << 4 << QStringList{} << 0 << "----";
    QTest::newRow("goal level one point short")
        << 1 << QStringList{"2024-04-09 10:00:00 1 4 300", "2024-04-09 11:00:00 1 4 400"} << 0 << "ちままま";
    QTest::newRow("goal level cleared")
        << 1 << QStringList{"2024-04-09 10:00:00 1 4 300", "2024-04-09 11:00:00 1 4 300"} << 1 << "ちままま";
}

void LevelMenuTest::unlocking() {
    QFETCH(int, pupil);
    QFETCH(QStringList, runs);
    QFETCH(int, goalCleared);
    QFETCH(QString, markers);
    // Level 4 clears with 10 points in 2 runs: 5 points at its goal of 300 s, 4 above it.
    QString table;
    for (int level = 0; level <= 4; ++level)
        table += level == 4 ? QStringLiteral("300,450,10,2,1,0,0,7,30,0,0,0\n")
                            : QStringLiteral("%1,%2,100,10,1,0,0,7,30,0,0,0\n").arg(60 * (level + 1)).arg(90);
    s->suite.writeLevelTable(table);
    LevelMenuScreen& menu = showMenu(pupil, runs);
    QCOMPARE(s->forms.test.state->pupil.goalLevelCleared, qint16(goalCleared));
    QString shown;
    for (int level = 1; level <= 4; ++level) {
        QVERIFY(control<QPushButton>(menu, "Command4", level)->isEnabled());
        const QLineEdit* marker = control<QLineEdit>(menu, "Text1", level);
        shown += marker->isVisible() ? marker->text().at(0) : QChar(u'-');
    }
    QCOMPARE(shown, markers);
}

void LevelMenuTest::lists_data() {
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<int>("level");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("points so far, shown on activation")
        << QStringList{} << 1
        << QStringList{" 1●たろう　　 26/   26", " 1⑥はなこ　　  0/   26", " 3Ⅱじろうきち  0/   17",
                       " 4　先生　　　  0/    0"};
    QTest::newRow("points today leave out no points today")
        << QStringList{"Option1_2"} << 1 << QStringList{" 1●たろう　　 26/   26"};
    QTest::newRow("best times: ties, working pupil, a name cut to five, no result last")
        << QStringList{"Option2_0"} << 1
        << QStringList{" 1⑥はなこ　　    30 　", " 1●たろう　　    30 ●", " 3Ⅱじろうきち    45 　",
                       "--　先生　　　------ 　"};
    QTest::newRow("failed before no result")
        << QStringList{"Option2_0"} << 2
        << QStringList{" 1　先生　　　*失敗* 　", "--⑥はなこ　　------ 　", "--●たろう　　------ ●",
                       "--Ⅱじろうきち------ 　"};
    QTest::newRow("a hidden pupil still takes a place")
        << QStringList{"Option2_0", "filter中学生全体"} << 1 << QStringList{" 3Ⅱじろうきち    45 　"};
    QTest::newRow("one level's ranking again")
        << QStringList{"Option2_0", "Command3_1"} << 1
        << QStringList{" 1⑥はなこ　　    30 　", " 1●たろう　　    30 ●", " 3Ⅱじろうきち    45 　",
                       "--　先生　　　------ 　"};
    QTest::newRow("today's runs") << QStringList{"Option2_0", "Option1_2"} << 2
                                  << QStringList{"　　× 09:30　先生　　　　"};
    QTest::newRow("runs of the period")
        << QStringList{"Option2_0", "Option1_3"} << 1
        << QStringList{"  30秒 04/02⑥はなこ　　⑥26", "  45秒 04/03ⅡじろうきちⅡ17",
                       "  30秒 04/10●たろう　　●26"};
    QTest::newRow("runs of the period in points")
        << QStringList{"Option1_3", "period"} << 2
        << QStringList{"　　×  04/08⑥はなこ　　⑥", "　　×  04/10　先生　　　　"};
    QTest::newRow("own times") << QStringList{"Option2_2"} << 1 << QStringList{"2024/04/10 9:05:03  30秒"};
}

void LevelMenuTest::lists() {
    QFETCH(QStringList, clicks);
    QFETCH(int, level);
    QFETCH(QStringList, lines);
    LevelMenuScreen& menu = showMenu(1, test::kMenuFamilyRuns);
    for (const QString& click : clicks) {
        if (click.startsWith(u"Option")) {
            control<QRadioButton>(menu, click)->click();
        } else if (click.startsWith(u"filter")) {
            QComboBox* filter = control<QComboBox>(menu, "Combo1");
            const int index = filter->findText(click.mid(6));
            filter->setCurrentIndex(index);
            emit filter->activated(index);
        } else if (click == u"period") {
            QComboBox* period = control<QComboBox>(menu, "Combo2");
            QVERIFY(period->isVisible());
            emit period->activated(0);
        } else {
            // A column's "成績表示" fills its list again.
            control<QListWidget>(menu, "List5", level)->clear();
            QTest::mouseClick(control<QPushButton>(menu, click), Qt::LeftButton);
        }
    }
    QCOMPARE(test::MenuSuite::listLines(menu, level), lines);
    const QListWidget* list = control<QListWidget>(menu, "List5", level);
    QVERIFY(list->isVisible());
    QCOMPARE(list->currentRow(), -1);
    QVERIFY(control<QPushButton>(menu, "Command1")->isEnabled());
    QVERIFY(control<QWidget>(menu, "Picture1")->isEnabled());
    QVERIFY(!control<QWidget>(menu, "Picture6")->isVisible());
    QCOMPARE(shownText(menu, arrayName("Label9", level)), QStringLiteral("今日"));
    test::saveScreenshot(s->forms.window,
                         QStringLiteral("level_menu_list_") + QString::fromUtf8(QTest::currentDataTag()));
}

// A line chosen in a list is no longer chosen once the lists are made anew for another choice.
void LevelMenuTest::anotherChoiceChoosesNoLine() {
    LevelMenuScreen& menu = showMenu(1, test::kMenuFamilyRuns);
    QListWidget* list = control<QListWidget>(menu, "List5", 1);
    list->setCurrentRow(2);
    QCOMPARE(list->selectedItems().size(), 1);
    // The points ranking made again, line for line the same.
    control<QRadioButton>(menu, "Option1", 1)->click();
    QCOMPARE(test::MenuSuite::listLines(menu, 1).size(), 4);
    QVERIFY(list->selectedItems().isEmpty());
    QCOMPARE(list->currentRow(), -1);
}

void LevelMenuTest::todayListReadsTheLast1000() {
    QStringList runs;
    for (int k = 1; k <= 1500; ++k)
        runs << QStringLiteral("2024-04-10 09:00:00 1 1 %1").arg(k);
    LevelMenuScreen& menu = showMenu(1, runs);
    control<QRadioButton>(menu, "Option2", 0)->click();
    control<QRadioButton>(menu, "Option1", 2)->click();
    QCOMPARE(shownText(menu, "Label5"), QStringLiteral("本日の成績"));
    const QStringList lines = test::MenuSuite::listLines(menu, 1);
    QCOMPARE(lines.size(), 1000);
    QVERIFY(lines[0].startsWith(QStringLiteral(" 501秒 09:00")));
    const QProgressBar* progress = control<QProgressBar>(menu, "ProgressBar2");
    QCOMPARE(progress->maximum(), 1651);
    QCOMPARE(progress->value(), 1500);
    QCOMPARE(s->forms.test.state->levelMenu.listMode, qint16(2));
}

// The sample family's folder with a week of runs, pictured in points mode and in times mode.
void LevelMenuTest::sampleFamilyPictures() {
    QTemporaryDir dir;
    QDirIterator files(QStringLiteral(SOURCE_DIR "/demo"), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString from = files.next();
        const QString to = dir.filePath(QDir(QStringLiteral(SOURCE_DIR "/demo")).relativeFilePath(from));
        QDir().mkpath(QFileInfo(to).absolutePath());
        QVERIFY(QFile::copy(from, to));
    }
    ConfigurationError error;
    QVERIFY(StartUpConfiguration(*s->forms.test.state, dir.filePath(QStringLiteral("warizan")), &error));
    QStringList runs;
    for (int day = 7; day >= 0; --day) {
        const QString date = QDate(2024, 4, 10).addDays(-day).toString(Qt::ISODate);
        runs << date + QStringLiteral(" 07:10:00 1 1 %1").arg(40 + 3 * day)
             << date + QStringLiteral(" 07:20:00 1 2 %1").arg(70 + 4 * day)
             << date + QStringLiteral(" 17:30:00 2 1 %1").arg(65 + 5 * day);
        if (day % 2 == 0)
            runs << date + QStringLiteral(" 18:00:00 3 1 %1").arg(day == 4 ? 99999 : 110 + day);
    }
    test::writeRuns(s->forms.test.context, s->forms.test.clock, runs);
    LevelMenuScreen& menu = s->confirmAndShow(1, 10 * 3600 - 600);
    QStringList lines = test::MenuSuite::listLines(menu, 1);
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines[0].contains(QStringLiteral("●はると")));
    test::saveScreenshot(s->forms.window, QStringLiteral("level_menu_sample_points"));
    control<QRadioButton>(menu, "Option2", 0)->click();
    QVERIFY(test::MenuSuite::listLines(menu, 1).value(0).contains(QStringLiteral("●はると")));
    test::saveScreenshot(s->forms.window, QStringLiteral("level_menu_sample_times"));
    control<QRadioButton>(menu, "Option2", 2)->click();
    QTest::mouseClick(control<QPushButton>(menu, "Command17"), Qt::LeftButton);
    test::saveScreenshot(s->forms.window, QStringLiteral("level_menu_sample_report"));
}

// A pupil confirmed under a grade filter of the selection screen finds the menu's lists filtered alike.
void LevelMenuTest::selectionFilterCarriesOver() {
    s->suite.writeRoster(test::kMenuFamily);
    ConfigurationError error;
    QVERIFY(StartUpConfiguration(*s->forms.test.state, s->suite.programFolder(), &error));
    test::writeRuns(s->forms.test.context, s->forms.test.clock, test::kMenuFamilyRuns);
    QVERIFY(s->forms.window.show(FormId::namesel));
    auto& selection = *s->forms.shown<SelectionScreen>(FormId::namesel);
    QComboBox* filter = control<QComboBox>(selection, "Combo1");
    const int index = filter->findText(QStringLiteral("小２"));
    filter->setCurrentIndex(index);
    emit filter->activated(index);
    QListWidget& list = *control<QListWidget>(selection, "List1");
    QCOMPARE(list.count(), 2); // the placeholder and たろう
    const QPoint at = list.visualItemRect(list.item(1)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, at);

    auto* menu = s->forms.shown<LevelMenuScreen>(FormId::seisekitime1);
    QVERIFY(menu != nullptr);
    QCOMPARE(s->forms.window.currentForm(), menu);
    QTRY_VERIFY(!s->forms.window.isLoaded(FormId::namesel));
    QCOMPARE(shownText(*menu, "Label12"), QStringLiteral("小２ たろう"));
    QCOMPARE(control<QComboBox>(*menu, "Combo1")->currentText(), QStringLiteral("小２"));
    QCOMPARE(test::MenuSuite::listLines(*menu, 1), QStringList{" 1●たろう　　 26/   26"});
}

WARIZAN_FORMS_TEST_MAIN(LevelMenuTest)
#include "tst_level_menu.moc"
