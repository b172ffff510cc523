#include "answers/answer_database.h"
#include "app/configuration.h"
#include "records/score_file.h"
#include "roster/roster_display.h"
#include "screens/levelmenu/level_menu_screen.h"
#include "screens/levelmenu/report_panel.h"
#include "screens/selection/selection_screen.h"
#include "screenshot.h"
#include "state/content_levels.h"
#include "test_forms.h"

#include <QComboBox>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QtTest>

using namespace warizan;

// The level menu as a pupil sees it, on a suite folder with a family and its runs, through the form owner.
class LevelMenuTest final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void columnsAndHeader();
    void instructionsNameTheDrillsKeys();
    void startsAndLeaves_data();
    void startsAndLeaves();
    void unlocking_data();
    void unlocking();
    void lists_data();
    void lists();
    void todayListReadsTheLast1000();
    void reportPanelOpensAndCloses();
    void reportPrints_data();
    void reportPrints();
    void factMap_data();
    void factMap();
    void sampleFamilyPictures();
    void selectionFilterCarriesOver();

private:
    // Writes the suite, confirms `pupil` as the selection screen does and shows the menu.
    LevelMenuScreen& showMenu(int pupil, const QStringList& records);
    std::unique_ptr<test::TestForms> forms;
    std::unique_ptr<test::TempSuite> suite;
};

namespace {

// The family in roster order 2, 1, 3, 4; school year 2024 (the test clock stands at 10 April 2024).
const QString kRoster = QStringLiteral("2,2012,0,0,\"はなこ\",0,\"\",\"\"\n"
                                       "1,2016,0,0,\"たろう\",0,\"\",\"\"\n"
                                       "3,2010,0,0,\"じろうきちべえ\",0,\"\",\"\"\n"
                                       "4,1980,0,0,\"先生\",0,\"\",\"\"\n");

// Their runs, oldest first: "yyyy-MM-dd HH:mm:ss pupil level result".
const QStringList kFamilyRuns = {
    "2024-04-02 10:00:00 2 1 30", "2024-04-03 10:00:00 3 1 45",    "2024-04-08 08:00:00 2 2 99999",
    "2024-04-10 09:05:03 1 1 30", "2024-04-10 09:30:00 4 2 99998",
};

// Appends the runs with the program's own record writer, the test clock set to each run's time.
void writeRuns(AppContext& context, ManualClock& clock, const QStringList& runs) {
    const QDateTime now = clock.now();
    for (const QString& run : runs) {
        const QStringList f = run.split(u' ');
        clock.setNow(QDateTime(QDate::fromString(f[0], Qt::ISODate),
                               QTime::fromString(f[1], QStringLiteral("HH:mm:ss"))));
        context.state.pupil.currentPupil = static_cast<qint16>(f[2].toInt());
        context.state.pupil.currentLevel = static_cast<qint16>(f[3].toInt());
        context.state.drill.finalTime = f[4].toInt();
        QVERIFY(writeScoreRecords(context));
    }
    clock.setNow(now);
}

} // namespace

void LevelMenuTest::init() {
    forms = std::make_unique<test::TestForms>();
    suite = std::make_unique<test::TempSuite>();
}

LevelMenuScreen& LevelMenuTest::showMenu(int pupil, const QStringList& records) {
    ProgramState& state = *forms->test.state;
    suite->writeRoster(kRoster);
    ConfigurationError error;
    if (!StartUpConfiguration(state, suite->programFolder(), &error))
        qFatal("%s", qPrintable(error.message));
    // Kept PDFs go to a folder of the test's own, named with a ".." that messages must not show.
    state.config.keptDocumentsFolder = QDir::toNativeSeparators(suite->root() + "/drill/../書類/");
    writeRuns(forms->test.context, forms->test.clock, records);
    PupilList list;
    if (!名簿表示(forms->test.context, 1, QStringLiteral("全学年"), &list))
        qFatal("no pupil list");
    state.pupil.currentPupil = static_cast<qint16>(pupil);
    state.pupil.currentPupilName = state.roster.pupilName[pupil];
    state.pupil.currentGradeLabel = state.roster.pupilGradeLabel[pupil];
    state.pupil.startTimer = 10 * 3600 - 150; // confirmed two and a half minutes ago
    PrepareContent(state.levels);
    // The road into the menu: the selection screen is in front, the menu replaces it.
    if (!forms->window.show(FormId::namesel))
        qFatal("no selection screen");
    if (!forms->window.show(FormId::seisekitime1))
        qFatal("the menu did not load");
    return *forms->shown<LevelMenuScreen>(FormId::seisekitime1);
}

void LevelMenuTest::columnsAndHeader() {
    // A run on level slot 30 counts in today's total though no column shows it.
    LevelMenuScreen& menu = showMenu(1, kFamilyRuns + QStringList{"2024-04-10 09:40:00 1 30 50"});
    QCOMPARE(forms->window.currentForm(), &menu);
    QCOMPARE(menu.objectName(), QStringLiteral("seisekitime1"));
    QCOMPARE(menu.List5.size(), size_t(5));
    QVERIFY(!menu.List5[0]->isVisible());
    QVERIFY(!menu.HScroll1->isVisible());
    for (int level = 1; level <= 4; ++level) {
        // 3648 twips each, side by side.
        QVERIFY(qAbs(menu.List5[level]->x() - menu.List5[1]->x() - (level - 1) * 3648 / 15.0) <= 1);
        QVERIFY(menu.List5[level]->isVisible());
        QVERIFY(menu.Command4[level]->isEnabled());
    }
    QCOMPARE(menu.Command4[3]->text(), QStringLiteral("ｽﾀｰﾄ(&3)"));
    QCOMPARE(menu.Label3[2]->text(), QStringLiteral("あまりその１"));
    QCOMPARE(menu.Label7[1]->text(), QStringLiteral("目標=120秒 10回/100点(×1)"));
    QCOMPARE(menu.Label8[1]->text(), QStringLiteral("最近7日=1回 / 26点"));
    QCOMPARE(menu.Label14[1]->text(), QStringLiteral("1回/26点"));
    QCOMPARE(menu.Label15[1]->text(), QStringLiteral("1回/26点"));
    QCOMPARE(menu.Label14[2]->text(), QStringLiteral("-----"));
    QCOMPARE(menu.Label15[2]->text(), QStringLiteral("------"));
    QCOMPARE(menu.Label18->text(), QStringLiteral("本日総回数＝2回"));
    QCOMPARE(menu.Label17->text(), QStringLiteral("起動後2分"));
    QCOMPARE(menu.Label12->text(), QStringLiteral("小２ たろう"));
    QCOMPARE(menu.Label13->text(), QStringLiteral("テスト家:1"));
    QCOMPARE(menu.Label11->text(), QStringLiteral("あまりのあるわり算"));
    QCOMPARE(menu.List6->count(), 20);
    QCOMPARE(menu.List6->item(19)->text(), QStringLiteral("では、スタートボタンを押してはじめよう"));
    QCOMPARE(menu.Label5->text(), QStringLiteral("獲得ポイント（今まで順位）"));
    QVERIFY(menu.Option2[1]->isChecked() && menu.Option1[1]->isChecked());
    QCOMPARE(menu.Option1[1]->text(), QStringLiteral("累計順"));
    QCOMPARE(menu.Combo1->currentText(), QStringLiteral("全学年"));
    QCOMPARE(menu.Combo1->count(), 12);
    QVERIFY(!menu.Picture2->isVisible() && !menu.Picture6->isVisible());
    QVERIFY(menu.Command1->isEnabled());
    QCOMPARE(forms->test.state->levelMenu.firstVisibleRow, 1);
    QVERIFY(!forms->window.isLoaded(FormId::namesel));
    test::saveScreenshot(forms->window, QStringLiteral("level_menu_points"));
    menu.Option2[0]->click();
    QVERIFY(menu.Option2[0]->isChecked());
    QCOMPARE(menu.Label5->text(), QStringLiteral("ベスト成績"));
    test::saveScreenshot(forms->window, QStringLiteral("level_menu_times"));
}

// The instructions send the child to keys the drill form has (its own tests show what each does): no
// judging or going-on button, which the drill has not.
void LevelMenuTest::instructionsNameTheDrillsKeys() {
    showMenu(1, kFamilyRuns);
    auto* list = forms->window.findChild<QListWidget*>(QStringLiteral("List6"));
    QVERIFY(list);
    const QStringList drillKeys = {QStringLiteral("スペースキー"), QStringLiteral("エンターキー"),
                                   QStringLiteral("DELETEキー"), QStringLiteral("方向キー"),
                                   QStringLiteral("矢印キー"), QStringLiteral("\"+\"キー")};
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
    QTest::newRow("start button 3") << "button3" << drill << 3;
    QTest::newRow("level name 4") << "name4" << drill << 4;
    QTest::newRow("key 0") << "0" << selection << 0;
    QTest::newRow("back button") << "back" << selection << 0;
}

void LevelMenuTest::startsAndLeaves() {
    QFETCH(QString, how);
    QFETCH(int, shown);
    QFETCH(int, level);
    LevelMenuScreen& menu = showMenu(1, kFamilyRuns);
    forms->test.state->pupil.currentLevel = 0;
    if (how == u"button3") {
        QTest::mouseClick(menu.Command4[3], Qt::LeftButton);
    } else if (how == u"name4") {
        QTest::mouseClick(menu.Label3[4], Qt::LeftButton);
    } else if (how == u"back") {
        QTest::mouseClick(menu.Command1, Qt::LeftButton);
    } else {
        menu.List5[1]->setFocus();
        test::typeText(forms->window, how);
    }
    const auto front = static_cast<FormId>(shown);
    QVERIFY(forms->window.isLoaded(front));
    QCOMPARE(forms->window.currentForm(), forms->window.form(front));
    QCOMPARE(forms->test.state->pupil.currentLevel, qint16(level));
    // The menu stays only while it is in front: a drill or the selection screen unloads it.
    QCOMPARE(forms->window.isLoaded(FormId::seisekitime1), front == FormId::seisekitime1);
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
    suite->writeLevelTable(table);
    LevelMenuScreen& menu = showMenu(pupil, runs);
    QCOMPARE(forms->test.state->pupil.goalLevelCleared, qint16(goalCleared));
    QString shown;
    for (int level = 1; level <= 4; ++level) {
        QVERIFY(menu.Command4[level]->isEnabled());
        shown += menu.Text1[level]->isVisible() ? menu.Text1[level]->text().at(0) : QChar(u'-');
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
        << QStringList{"list2"} << 1 << QStringList{" 1●たろう　　 26/   26"};
    QTest::newRow("best times: ties, working pupil, a name cut to five, no result last")
        << QStringList{"mode0"} << 1
        << QStringList{" 1⑥はなこ　　    30 　", " 1●たろう　　    30 ●", " 3Ⅱじろうきち    45 　",
                       "--　先生　　　------ 　"};
    QTest::newRow("failed before no result")
        << QStringList{"mode0"} << 2
        << QStringList{" 1　先生　　　*失敗* 　", "--⑥はなこ　　------ 　", "--●たろう　　------ ●",
                       "--Ⅱじろうきち------ 　"};
    QTest::newRow("a hidden pupil still takes a place")
        << QStringList{"mode0", "filter中学生全体"} << 1 << QStringList{" 3Ⅱじろうきち    45 　"};
    QTest::newRow("one level's ranking again")
        << QStringList{"mode0", "command3"} << 1
        << QStringList{" 1⑥はなこ　　    30 　", " 1●たろう　　    30 ●", " 3Ⅱじろうきち    45 　",
                       "--　先生　　　------ 　"};
    QTest::newRow("today's runs") << QStringList{"mode0", "list2"} << 2
                                  << QStringList{"　　× 09:30　先生　　　　"};
    QTest::newRow("runs of the period")
        << QStringList{"mode0", "list3"} << 1
        << QStringList{"  30秒 04/02⑥はなこ　　⑥26", "  45秒 04/03ⅡじろうきちⅡ17",
                       "  30秒 04/10●たろう　　●26"};
    QTest::newRow("runs of the period in points")
        << QStringList{"list3", "period"} << 2
        << QStringList{"　　×  04/08⑥はなこ　　⑥", "　　×  04/10　先生　　　　"};
    QTest::newRow("own times") << QStringList{"mode2"} << 1 << QStringList{"2024/04/10 9:05:03  30秒"};
}

void LevelMenuTest::lists() {
    QFETCH(QStringList, clicks);
    QFETCH(int, level);
    QFETCH(QStringList, lines);
    LevelMenuScreen& menu = showMenu(1, kFamilyRuns);
    for (const QString& click : clicks) {
        if (click.startsWith(u"mode")) {
            menu.Option2[click.back().digitValue()]->click();
        } else if (click.startsWith(u"list")) {
            menu.Option1[click.back().digitValue()]->click();
        } else if (click.startsWith(u"filter")) {
            const int index = menu.Combo1->findText(click.mid(6));
            menu.Combo1->setCurrentIndex(index);
            emit menu.Combo1->activated(index);
        } else if (click == u"period") {
            QVERIFY(menu.Combo2->isVisible());
            emit menu.Combo2->activated(0);
        } else if (click == u"command3") {
            menu.List5[level]->clear();
            QTest::mouseClick(menu.Command3[level], Qt::LeftButton);
        }
    }
    QStringList got;
    for (int row = 0; row < menu.List5[level]->count(); ++row)
        got << menu.List5[level]->item(row)->text();
    QCOMPARE(got, lines);
    QVERIFY(menu.List5[level]->isVisible());
    QCOMPARE(menu.List5[level]->currentRow(), -1);
    QVERIFY(menu.Command1->isEnabled());
    QVERIFY(menu.Picture1->isEnabled());
    QVERIFY(!menu.Picture6->isVisible());
    QCOMPARE(menu.Label9[level]->text(), QStringLiteral("今日"));
    test::saveScreenshot(forms->window,
                         QStringLiteral("level_menu_list_") + QString::fromUtf8(QTest::currentDataTag()));
}

void LevelMenuTest::todayListReadsTheLast1000() {
    QStringList runs;
    for (int k = 1; k <= 1500; ++k)
        runs << QStringLiteral("2024-04-10 09:00:00 1 1 %1").arg(k);
    LevelMenuScreen& menu = showMenu(1, runs);
    menu.Option2[0]->click();
    menu.Option1[2]->click();
    QCOMPARE(menu.Label5->text(), QStringLiteral("本日の成績"));
    QCOMPARE(menu.List5[1]->count(), 1000);
    QVERIFY(menu.List5[1]->item(0)->text().startsWith(QStringLiteral(" 501秒 09:00")));
    QCOMPARE(menu.ProgressBar2->maximum(), 1651);
    QCOMPARE(menu.ProgressBar2->value(), 1500);
    QCOMPARE(forms->test.state->levelMenu.listMode, qint16(2));
}

void LevelMenuTest::reportPanelOpensAndCloses() {
    LevelMenuScreen& menu = showMenu(1, kFamilyRuns);
    QVERIFY(!menu.Command17->isVisible());
    menu.Option2[2]->click();
    QVERIFY(menu.Command17->isVisible());
    QCOMPARE(menu.chartCount, 1);
    QCOMPARE(menu.chartLargest, 30);
    QTest::mouseClick(menu.Command17, Qt::LeftButton);
    QVERIFY(menu.Picture11->isVisible());
    test::saveScreenshot(forms->window, QStringLiteral("level_menu_report_panel"));
    QCOMPARE(menu.Picture11->List3->selectedItems().size(), 3);
    QVERIFY(!menu.Picture11->Command24[1]->isVisible()); // the second button is the teacher's
    // Drawn at once on the screen: the pupil's name heads the picture, which is no longer blank.
    const QImage picture = menu.Picture11->reportPicture->pixmap().toImage();
    QCOMPARE(picture.size(), menu.Picture11->Picture12->size());
    QVERIFY(picture.pixelColor(picture.width() / 2, picture.height() * 5 / 100) != QColor(Qt::white));
    QTest::mouseClick(menu.Picture11->Command18, Qt::LeftButton);
    QVERIFY(!menu.Picture11->isVisible());
}

void LevelMenuTest::reportPrints_data() {
    QTest::addColumn<QString>("printer");    // the default printer's name; empty: none installed
    QTest::addColumn<QStringList>("chosen"); // List2 entries chosen before Command24's print button
    QTest::addColumn<bool>("levelChosen");   // false: every level of List3 unchosen before printing
    QTest::addColumn<int>("jobs");
    QTest::newRow("to the printer") << "Office" << QStringList{} << true << 1;
    QTest::newRow("two chosen pupils, one job each")
        << "Office" << QStringList{"はなこ/2", "先生/4"} << true << 2;
    QTest::newRow("no printer: kept as a PDF") << "" << QStringList{} << true << 0;
    QTest::newRow("no level chosen: nothing printed") << "Office" << QStringList{} << false << 0;
    QTest::newRow("no level chosen, pupils chosen: said once") << "" << QStringList{"はなこ/2"} << false << 0;
}

void LevelMenuTest::reportPrints() {
    QFETCH(QString, printer);
    QFETCH(QStringList, chosen);
    QFETCH(bool, levelChosen);
    QFETCH(int, jobs);
    LevelMenuScreen& menu = showMenu(4, kFamilyRuns); // the teacher may print anybody's report
    forms->printer.name = printer;
    forms->printer.pdfPath = suite->root() + "/printed.pdf";
    menu.Option2[2]->click();
    QTest::mouseClick(menu.Command17, Qt::LeftButton);
    QTest::mouseClick(menu.Picture11->Command25, Qt::LeftButton);
    QVERIFY(menu.Picture11->List2->isVisible());
    for (const QString& entry : chosen)
        menu.Picture11->List2->findItems(entry, Qt::MatchExactly).first()->setSelected(true);
    if (!levelChosen)
        menu.Picture11->List3->clearSelection();
    QTest::mouseClick(chosen.isEmpty() ? menu.Picture11->Command21[1] : menu.Picture11->Command24[1],
                      Qt::LeftButton);

    QCOMPARE(forms->printer.jobs.size(), jobs);
    const auto& messages = forms->test.dialogs.messages;
    if (!levelChosen) {
        QCOMPARE(messages.size(), size_t(1));
        QCOMPARE(messages[0].text, QStringLiteral("レベルを選んでください"));
        QVERIFY(!QFile::exists(forms->printer.pdfPath));
        QVERIFY(QDir(forms->test.state->config.programDataFolder).entryList({"*.pdf"}).isEmpty());
        return;
    }
    if (jobs > 0) {
        QVERIFY(messages.empty());
        QVERIFY(test::readBytes(forms->printer.pdfPath).startsWith("%PDF"));
        if (jobs == 2)
            QVERIFY(forms->printer.jobs.last().contains("先生"));
        return;
    }
    // Never silently: the message says where the report went, among the family's documents.
    const QString kept = suite->root() + "/書類/成績レポート_先生_20240410.pdf";
    QCOMPARE(messages.size(), size_t(1));
    QCOMPARE(messages[0].offeredFile, QDir::toNativeSeparators(kept));
    QVERIFY(test::readBytes(kept).startsWith("%PDF"));
    QVERIFY(QDir(forms->test.state->config.programDataFolder).entryList({"*.pdf"}).isEmpty());
}

void LevelMenuTest::factMap_data() {
    QTest::addColumn<QString>("button"); // the panel's button pressed, by design name
    QTest::addColumn<QString>("printer");
    QTest::addColumn<QString>("kept"); // the PDF kept among the documents, or empty when printed or drawn
    QTest::addColumn<int>("presses");  // the button pressed so many times
    QTest::addColumn<bool>("open");    // the family asks for the kept PDF to be opened
    QTest::newRow("shown on the screen") << "Command26_0"
                                         << ""
                                         << "" << 1 << false;
    QTest::newRow("printed") << "Command26_1"
                             << "Office"
                             << "" << 1 << false;
    QTest::newRow("no printer: kept as a PDF") << "Command26_1"
                                               << ""
                                               << "苦手チェック_たろう_20240410.pdf" << 1 << false;
    QTest::newRow("practice sheet kept as a PDF, and opened")
        << "Command27"
        << ""
        << "練習プリント_たろう_20240410.pdf" << 1 << true;
    // The second sheet of the day is another sheet: the first and its answers stay as they were.
    QTest::newRow("a second practice sheet the same day")
        << "Command27"
        << ""
        << "練習プリント_たろう_20240410(2).pdf" << 2 << false;
    QTest::newRow("a third one") << "Command27"
                                 << ""
                                 << "練習プリント_たろう_20240410(3).pdf" << 3 << false;
    QTest::newRow("the printed report ends with the map") << "Command21_1"
                                                          << ""
                                                          << "成績レポート_たろう_20240410.pdf" << 1 << false;
}

// The fact map "苦手チェック" of the report panel, from an answer log of pupil 1: 7 by 5 weak, 3 by 4 known.
void LevelMenuTest::factMap() {
    QFETCH(QString, button);
    QFETCH(QString, printer);
    QFETCH(QString, kept);
    QFETCH(int, presses);
    QFETCH(bool, open);
    LevelMenuScreen& menu = showMenu(1, kFamilyRuns);
    DrillRecorder recorder;
    recorder.start(1, 2, QDateTime(QDate(2024, 4, 9), QTime(17, 0)));
    for (int k = 0; k < 3; ++k) {
        recorder.questionShown({7, 5, 1}, 20000 * k);
        recorder.judged("7", "2", false, 20000 * k + 9000);
        recorder.questionShown({3, 4, 1}, 20000 * k + 10000);
        recorder.judged("3", "1", true, 20000 * k + 12000);
    }
    const QString folder = forms->test.state->config.programDataFolder;
    QVERIFY(keepDrillLog(folder, recorder.finish(QDateTime(QDate(2024, 4, 9), QTime(17, 2)), 120),
                         QDateTime(QDate(2024, 4, 9), QTime(17, 2))));
    forms->printer.name = printer;
    forms->printer.pdfPath = suite->root() + "/printed.pdf";
    menu.Option2[2]->click();
    QTest::mouseClick(menu.Command17, Qt::LeftButton);
    auto* panel = menu.findChild<QWidget*>("Picture11");
    QCOMPARE(panel->findChild<QLabel*>("Label20")->text(), QStringLiteral("苦手チェック"));
    QCOMPARE(panel->findChild<QComboBox*>("Combo3")->count(), 5);
    auto* picture = panel->findChild<QLabel*>("reportPicture");
    const QImage report = picture->pixmap().toImage();
    forms->test.dialogs.openOffered = open;
    // What each press kept, as it was right after it.
    QList<QByteArray> keptBefore;
    for (int press = 1; press <= presses; ++press) {
        QTest::mouseClick(panel->findChild<QPushButton*>(button), Qt::LeftButton);
        if (press < presses && !forms->test.dialogs.messages.empty())
            keptBefore.append(test::readBytes(forms->test.dialogs.messages.back().offeredFile));
    }

    const auto& messages = forms->test.dialogs.messages;
    if (button == u"Command26_0") {
        QVERIFY(messages.empty());
        const QImage map = picture->pixmap().toImage();
        QVERIFY(map != report);
        // A red cell for the weak pair, a green one for the known pair, grey ones for the rest.
        QSet<QRgb> colours;
        for (int y = 0; y < map.height(); y += 2)
            for (int x = 0; x < map.width(); x += 2)
                colours.insert(map.pixel(x, y));
        for (const QColor c : {QColor(255, 128, 128), QColor(128, 224, 128), QColor(208, 208, 208)})
            QVERIFY2(colours.contains(c.rgb()), qPrintable(c.name()));
        test::saveScreenshot(forms->window, QStringLiteral("level_menu_fact_map"));
        return;
    }
    if (kept.isEmpty()) {
        QCOMPARE(forms->printer.jobs.size(), 1);
        QVERIFY(forms->printer.jobs[0].contains(QStringLiteral("苦手チェック")));
        QVERIFY(test::readBytes(forms->printer.pdfPath).startsWith("%PDF"));
        return;
    }
    // Each press said where its PDF went, by a clean path of the system's own form, and offered to open it.
    const QString documents = suite->root() + "/書類/";
    QCOMPARE(messages.size(), size_t(presses));
    QCOMPARE(messages.back().offeredFile, QDir::toNativeSeparators(documents + kept));
    QVERIFY(!messages.back().text.contains(u".."));
    QCOMPARE(forms->documents.opened, open ? QStringList{messages.back().offeredFile} : QStringList{});
    // Nothing kept earlier was touched: a new sheet draws new questions, and the first stays as it was.
    QCOMPARE(QDir(documents).entryList({"*.pdf"}).size(), presses);
    for (int k = 0; k < keptBefore.size(); ++k)
        QCOMPARE(test::readBytes(messages[size_t(k)].offeredFile), keptBefore[k]);
    QVERIFY(QDir(folder).entryList({"*.pdf"}).isEmpty());
    const QByteArray pdf = test::readBytes(documents + kept);
    QVERIFY(pdf.startsWith("%PDF"));
    // The report's three levels fill one page; the map is the page after it.
    if (button == u"Command21_1")
        QCOMPARE(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r"), 2);
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
    ProgramState& state = *forms->test.state;
    ConfigurationError error;
    QVERIFY(StartUpConfiguration(state, dir.filePath(QStringLiteral("warizan")), &error));
    QStringList runs;
    for (int day = 7; day >= 0; --day) {
        const QString date = QDate(2024, 4, 10).addDays(-day).toString(Qt::ISODate);
        runs << date + QStringLiteral(" 07:10:00 1 1 %1").arg(40 + 3 * day)
             << date + QStringLiteral(" 07:20:00 1 2 %1").arg(70 + 4 * day)
             << date + QStringLiteral(" 17:30:00 2 1 %1").arg(65 + 5 * day);
        if (day % 2 == 0)
            runs << date + QStringLiteral(" 18:00:00 3 1 %1").arg(day == 4 ? 99999 : 110 + day);
    }
    writeRuns(forms->test.context, forms->test.clock, runs);
    PupilList list;
    QVERIFY(名簿表示(forms->test.context, 1, QStringLiteral("全学年"), &list));
    state.pupil.currentPupil = 1;
    state.pupil.currentPupilName = state.roster.pupilName[1];
    state.pupil.currentGradeLabel = state.roster.pupilGradeLabel[1];
    state.pupil.startTimer = 10 * 3600 - 600;
    PrepareContent(state.levels);
    QVERIFY(forms->window.show(FormId::namesel));
    QVERIFY(forms->window.show(FormId::seisekitime1));
    LevelMenuScreen& menu = *forms->shown<LevelMenuScreen>(FormId::seisekitime1);
    QCOMPARE(menu.List5[1]->count(), 3);
    QVERIFY(menu.List5[1]->item(0)->text().contains(QStringLiteral("●はると")));
    test::saveScreenshot(forms->window, QStringLiteral("level_menu_sample_points"));
    menu.Option2[0]->click();
    QVERIFY(menu.List5[1]->item(0)->text().contains(QStringLiteral("●はると")));
    test::saveScreenshot(forms->window, QStringLiteral("level_menu_sample_times"));
    menu.Option2[2]->click();
    QTest::mouseClick(menu.Command17, Qt::LeftButton);
    test::saveScreenshot(forms->window, QStringLiteral("level_menu_sample_report"));
}

// A pupil confirmed under a grade filter of the selection screen finds the menu's lists filtered alike.
void LevelMenuTest::selectionFilterCarriesOver() {
    ProgramState& state = *forms->test.state;
    suite->writeRoster(kRoster);
    ConfigurationError error;
    QVERIFY(StartUpConfiguration(state, suite->programFolder(), &error));
    writeRuns(forms->test.context, forms->test.clock, kFamilyRuns);
    QVERIFY(forms->window.show(FormId::namesel));
    auto& selection = *forms->shown<SelectionScreen>(FormId::namesel);
    const int index = selection.Combo1->findText(QStringLiteral("小２"));
    selection.Combo1->setCurrentIndex(index);
    emit selection.Combo1->activated(index);
    QCOMPARE(selection.List1->count(), 2); // the placeholder and たろう
    QListWidget& list = *selection.List1;
    const QPoint at = list.visualItemRect(list.item(1)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, at);

    auto* menu = forms->shown<LevelMenuScreen>(FormId::seisekitime1);
    QVERIFY(menu != nullptr);
    QCOMPARE(forms->window.currentForm(), menu);
    QTRY_VERIFY(!forms->window.isLoaded(FormId::namesel));
    QCOMPARE(menu->Label12->text(), QStringLiteral("小２ たろう"));
    QCOMPARE(menu->Combo1->currentText(), QStringLiteral("小２"));
    QCOMPARE(menu->List5[1]->count(), 1);
    QCOMPARE(menu->List5[1]->item(0)->text(), QStringLiteral(" 1●たろう　　 26/   26"));
}

WARIZAN_FORMS_TEST_MAIN(LevelMenuTest)
#include "tst_level_menu.moc"
