#include "answers/answer_database.h"
#include "answers/week_summary.h"
#include "menu_suite.h"
#include "report/pages/week_page.h"
#include "screenshot.h"
#include "system_files.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace warizan;
using test::control;
using test::shownText;

// The level menu's personal report panel: opened from the pupil's own times, drawn on the screen, printed
// or kept as a PDF, with the fact map of the answer log beside it.
class ReportPanelTest final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void opensAndCloses();
    void reportPrints_data();
    void reportPrints();
    void factMap_data();
    void factMap();
    void week_data();
    void week();

private:
    // The menu of `pupil` with the report panel opened by "個人ﾀｲﾑ" and "グラフ".
    QWidget& openPanel(int pupil) {
        LevelMenuScreen& menu = s->showMenu(pupil, test::kMenuFamilyRuns);
        control<QRadioButton>(menu, "Option2", 2)->click();
        QTest::mouseClick(control<QPushButton>(menu, "Command17"), Qt::LeftButton);
        return *control<QWidget>(menu, "Picture11");
    }
    static void click(QWidget& panel, const QString& button) {
        QTest::mouseClick(control<QPushButton>(panel, button), Qt::LeftButton);
    }
    std::unique_ptr<test::MenuSuite> s;
};

void ReportPanelTest::init() {
    s = std::make_unique<test::MenuSuite>();
}

void ReportPanelTest::opensAndCloses() {
    LevelMenuScreen& menu = s->showMenu(1, test::kMenuFamilyRuns);
    QPushButton* graph = control<QPushButton>(menu, "Command17");
    QVERIFY(!graph->isVisible());
    control<QRadioButton>(menu, "Option2", 2)->click();
    QVERIFY(graph->isVisible());
    QCOMPARE(menu.chartFigures().count, 1);
    QCOMPARE(menu.chartFigures().largest, 30);
    QTest::mouseClick(graph, Qt::LeftButton);
    QWidget& panel = *control<QWidget>(menu, "Picture11");
    QVERIFY(panel.isVisible());
    test::saveScreenshot(s->forms.window, QStringLiteral("level_menu_report_panel"));
    QCOMPARE(control<QListWidget>(panel, "List3")->selectedItems().size(), 3);
    QVERIFY(!control<QPushButton>(panel, "Command24", 1)->isVisible()); // the second button is the teacher's
    // Drawn at once on the screen: the pupil's name heads the picture, which is no longer blank.
    const QImage picture = control<QLabel>(panel, "reportPicture")->pixmap().toImage();
    QCOMPARE(picture.size(), control<QWidget>(panel, "Picture12")->size());
    QVERIFY(picture.pixelColor(picture.width() / 2, picture.height() * 5 / 100) != QColor(Qt::white));
    click(panel, "Command18");
    QVERIFY(!panel.isVisible());
}

void ReportPanelTest::reportPrints_data() {
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

void ReportPanelTest::reportPrints() {
    QFETCH(QString, printer);
    QFETCH(QStringList, chosen);
    QFETCH(bool, levelChosen);
    QFETCH(int, jobs);
    s->forms.printer.name = printer;
    s->forms.printer.pdfPath = s->suite.root() + "/printed.pdf";
    QWidget& panel = openPanel(4); // the teacher may print anybody's report
    click(panel, "Command25");
    QListWidget* pupils = control<QListWidget>(panel, "List2");
    QVERIFY(pupils->isVisible());
    for (const QString& entry : chosen)
        pupils->findItems(entry, Qt::MatchExactly).first()->setSelected(true);
    if (!levelChosen)
        control<QListWidget>(panel, "List3")->clearSelection();
    click(panel, chosen.isEmpty() ? QStringLiteral("Command21_1") : QStringLiteral("Command24_1"));

    QCOMPARE(s->forms.printer.jobs.size(), jobs);
    const auto& messages = s->forms.test.dialogs.messages;
    if (!levelChosen) {
        QCOMPARE(messages.size(), size_t(1));
        QCOMPARE(messages[0].text, QStringLiteral("レベルを選んでください"));
        QVERIFY(!QFile::exists(s->forms.printer.pdfPath));
        QVERIFY(QDir(s->forms.test.state->config.programDataFolder).entryList({"*.pdf"}).isEmpty());
        return;
    }
    if (jobs > 0) {
        QVERIFY(messages.empty());
        QVERIFY(test::readBytes(s->forms.printer.pdfPath).startsWith("%PDF"));
        if (jobs == 2)
            QVERIFY(s->forms.printer.jobs.last().contains("先生"));
        return;
    }
    // Never silently: the message says where the report went, among the family's documents.
    const QString kept = s->suite.root() + "/書類/成績レポート_先生_20240410.pdf";
    QCOMPARE(messages.size(), size_t(1));
    QCOMPARE(messages[0].offeredFile, QDir::toNativeSeparators(kept));
    QVERIFY(test::readBytes(kept).startsWith("%PDF"));
    QVERIFY(QDir(s->forms.test.state->config.programDataFolder).entryList({"*.pdf"}).isEmpty());
}

void ReportPanelTest::factMap_data() {
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

// The fact map "苦手チェック" of the report panel, from an answer log of pupil 1: 7 by 5 weak by wrong
// answers, 8 by 6 weak by slow right ones, 3 by 4 known.
void ReportPanelTest::factMap() {
    QFETCH(QString, button);
    QFETCH(QString, printer);
    QFETCH(QString, kept);
    QFETCH(int, presses);
    QFETCH(bool, open);
    LevelMenuScreen& menu = s->showMenu(1, test::kMenuFamilyRuns);
    DrillRecorder recorder;
    recorder.start(1, 2, QDateTime(QDate(2024, 4, 9), QTime(17, 0)));
    for (int k = 0; k < 3; ++k) {
        recorder.questionShown({7, 5, 1}, 50000 * k);
        recorder.judged("7", "2", false, 50000 * k + 9000);
        recorder.questionShown({3, 4, 1}, 50000 * k + 10000);
        recorder.judged("3", "1", true, 50000 * k + 12000);
        recorder.questionShown({8, 6, 1}, 50000 * k + 20000);
        recorder.judged("8", "1", true, 50000 * k + 40000);
    }
    const QString folder = s->forms.test.state->config.programDataFolder;
    QVERIFY(keepDrillLog(folder, recorder.finish(QDateTime(QDate(2024, 4, 9), QTime(17, 2)), 120),
                         QDateTime(QDate(2024, 4, 9), QTime(17, 2))));
    s->forms.printer.name = printer;
    s->forms.printer.pdfPath = s->suite.root() + "/printed.pdf";
    control<QRadioButton>(menu, "Option2", 2)->click();
    QTest::mouseClick(control<QPushButton>(menu, "Command17"), Qt::LeftButton);
    QWidget& panel = *control<QWidget>(menu, "Picture11");
    QCOMPARE(shownText(panel, "Label20"), QStringLiteral("苦手チェック"));
    QCOMPARE(control<QComboBox>(panel, "Combo3")->count(), 5);
    const QLabel* picture = control<QLabel>(panel, "reportPicture");
    const QImage report = picture->pixmap().toImage();
    s->forms.test.dialogs.openOffered = open;
    // What each press kept, as it was right after it.
    QList<QByteArray> keptBefore;
    for (int press = 1; press <= presses; ++press) {
        click(panel, button);
        if (press < presses && !s->forms.test.dialogs.messages.empty())
            keptBefore.append(test::readBytes(s->forms.test.dialogs.messages.back().offeredFile));
    }

    const auto& messages = s->forms.test.dialogs.messages;
    if (button == u"Command26_0") {
        QVERIFY(messages.empty());
        const QImage map = picture->pixmap().toImage();
        QVERIFY(map != report);
        // One red cell for the pair answered wrong, one orange for the slow one, one green for the known
        // pair, grey ones for the rest: each colour once in the grid and once in the legend, so the red,
        // orange and green areas are alike (a slow pair drawn as a wrong one would double the red).
        QMap<QRgb, int> area;
        for (int y = 0; y < map.height(); ++y)
            for (int x = 0; x < map.width(); ++x)
                ++area[map.pixel(x, y)];
        const int green = area.value(QColor(128, 224, 128).rgb());
        QVERIFY(green > 0);
        for (const QColor c : {QColor(255, 128, 128), QColor(255, 192, 128)})
            QVERIFY2(qAbs(area.value(c.rgb()) - green) < green / 5, qPrintable(c.name()));
        QVERIFY(area.value(QColor(208, 208, 208).rgb()) > 20 * green);
        test::saveScreenshot(s->forms.window, QStringLiteral("level_menu_fact_map"));
        return;
    }
    if (kept.isEmpty()) {
        QCOMPARE(s->forms.printer.jobs.size(), 1);
        QVERIFY(s->forms.printer.jobs[0].contains(QStringLiteral("苦手チェック")));
        QVERIFY(test::readBytes(s->forms.printer.pdfPath).startsWith("%PDF"));
        return;
    }
    // Each press said where its PDF went, by a clean path of the system's own form, and offered to open it.
    const QString documents = s->suite.root() + "/書類/";
    QCOMPARE(messages.size(), size_t(presses));
    QCOMPARE(messages.back().offeredFile, QDir::toNativeSeparators(documents + kept));
    QVERIFY(!messages.back().text.contains(u".."));
    QCOMPARE(s->forms.documents.opened, open ? QStringList{messages.back().offeredFile} : QStringList{});
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

void ReportPanelTest::week_data() {
    QTest::addColumn<QString>("printer"); // the default printer; empty: none; "-": nothing printed
    QTest::newRow("shown, moved back and on") << "-";
    QTest::newRow("the week before printed") << "Office";
    QTest::newRow("no printer: kept as a PDF") << "";
}

// "今週のまとめ" of pupil 1: drills on Tuesday of this week (Wednesday 10 April 2024) and on Tuesday of the
// week before, the week drawn as the page draws it, moved a week back and on, printed with its figures and
// the day it was made.
void ReportPanelTest::week() {
    QFETCH(QString, printer);
    LevelMenuScreen& menu = s->showMenu(1, test::kMenuFamilyRuns);
    const QString folder = s->forms.test.state->config.programDataFolder;
    const struct {
        QDate day;
        int questions;
    } drills[] = {{QDate(2024, 4, 2), 2}, {QDate(2024, 4, 9), 5}};
    for (const auto& drill : drills) {
        DrillRecorder recorder;
        const QDateTime start(drill.day, QTime(17, 0));
        recorder.start(1, 2, start);
        for (int k = 0; k < drill.questions; ++k) {
            recorder.questionShown({3 + k, 4, 1}, 5000 * k);
            recorder.judged(QString::number(k == 1 ? 9 : 3 + k), "1", k != 1, 5000 * k + 2500);
        }
        QVERIFY(keepDrillLog(folder, recorder.finish(start.addSecs(60), 60), start.addSecs(60)));
    }
    s->forms.printer.name = printer == u"-" ? QString() : printer;
    s->forms.printer.pdfPath = s->suite.root() + "/printed.pdf";
    control<QRadioButton>(menu, "Option2", 2)->click();
    QTest::mouseClick(control<QPushButton>(menu, "Command17"), Qt::LeftButton);
    QWidget& panel = *control<QWidget>(menu, "Picture11");
    const QLabel* picture = control<QLabel>(panel, "reportPicture");
    QPushButton* back = control<QPushButton>(panel, "Command32", 0);
    QPushButton* on = control<QPushButton>(panel, "Command32", 1);
    QVERIFY(!back->isEnabled() && !on->isEnabled()); // the report is shown
    // The week exactly as its page draws it from the log.
    const auto weekPicture = [&](const QDate& day) {
        WeekPage page;
        QString error;
        if (!readWeekSummary(folder, 1, day, &page.summary, &error))
            return QImage();
        page.pupilName = s->forms.test.state->roster.pupilName[1];
        for (int level = 0; level <= s->forms.test.state->levels.levelCount; ++level)
            page.levelNames << (level > 0 ? s->forms.test.state->levels.levelName[level] : QString());
        page.madeOn = QDate(2024, 4, 10);
        return weekImage(page, control<QWidget>(panel, "Picture12")->size(), picture->devicePixelRatioF());
    };
    const QImage thisWeek = weekPicture(QDate(2024, 4, 10));
    const QImage weekBefore = weekPicture(QDate(2024, 4, 3));
    QVERIFY(!thisWeek.isNull() && thisWeek != weekBefore);

    click(panel, "Command31");
    QCOMPARE(picture->pixmap().toImage(), thisWeek);
    QVERIFY(back->isEnabled() && !on->isEnabled()); // no week after this one yet
    if (printer == u"-")
        test::saveScreenshot(s->forms.window, QStringLiteral("level_menu_week"));
    click(panel, "Command32_0");
    QCOMPARE(picture->pixmap().toImage(), weekBefore);
    QVERIFY(on->isEnabled());
    if (printer == u"-") {
        click(panel, "Command32_1");
        QCOMPARE(picture->pixmap().toImage(), thisWeek);
        QVERIFY(!on->isEnabled());
        click(panel, "Command26_0"); // the fact map takes the picture: the week's arrows stop
        QVERIFY(!back->isEnabled());
        QVERIFY(s->forms.test.dialogs.messages.empty());
        return;
    }

    click(panel, "Command32_2");
    const auto& messages = s->forms.test.dialogs.messages;
    QString pdf = s->forms.printer.pdfPath;
    if (printer.isEmpty()) {
        const QString kept = s->suite.root() + "/書類/今週のまとめ_たろう_20240410.pdf";
        QCOMPARE(messages.size(), size_t(1));
        QCOMPARE(messages[0].offeredFile, QDir::toNativeSeparators(kept));
        QVERIFY(messages[0].text.contains(QStringLiteral("たろう さんの今週のまとめ")));
        QVERIFY(QDir(folder).entryList({"*.pdf"}).isEmpty());
        pdf = kept;
    } else {
        QVERIFY(messages.empty());
        QCOMPARE(s->forms.printer.jobs.size(), 1);
        QVERIFY(s->forms.printer.jobs[0].contains(QStringLiteral("今週のまとめ")));
    }
    QVERIFY(test::readBytes(pdf).startsWith("%PDF"));
    if (const QString why = test::cannotRunLinuxTools(); !why.isEmpty())
        QSKIP(qPrintable(why));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    QVERIFY(text.waitForFinished(60000));
    const QString page = QString::fromUtf8(text.readAllStandardOutput()).remove(u' ');
    // The week before: one drill of two answers, the second (17 ÷ 4) wrong.
    for (const QString& shown :
         {QStringLiteral("作成日：2024年4月10日"), QStringLiteral("2024年4月1日（月）"),
          QStringLiteral("2問"), QStringLiteral("1問"), QStringLiteral("17÷4")})
        QVERIFY2(page.contains(shown), qPrintable(shown + u'\n' + page));
    QCOMPARE(page.count(u'\f'), 1);
}

WARIZAN_FORMS_TEST_MAIN(ReportPanelTest)
#include "tst_report_panel.moc"
