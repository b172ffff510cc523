#include "controls.h"
#include "drill_suite.h"
#include "records/score_record.h"
#include "screens/drill_start.h"
#include "screens/result/result_screen.h"
#include "screenshot.h"

#include <QLabel>
#include <QPointer>
#include <QTimer>

using namespace warizan;
using test::control;
using test::DrillSuite;

// The drill form driven as a pupil drives it: real keys, the test clock's ticks and the silent sound device.
class DrillFormTest final : public QObject {
    Q_OBJECT
private slots:
    void showsTheQuestion_data();
    void showsTheQuestion();
    void keys_data();
    void keys();
    void judging_data();
    void judging();
    void correctionNeedsTwoPlusInARow();
    void enterJudges_data();
    void enterJudges();
    void panelAsPlaced_data();
    void panelAsPlaced();
    void countdownBoxes_data();
    void countdownBoxes();
    void timeRunsOutDuringJudging();
    void endDrillTwiceRecordsOnce();
    void soundFailureEndsWithoutARecord();
};

namespace {

bool visible(const QWidget* w) {
    return w->isVisibleTo(w->window());
}
QLabel* cell(const DrillForm& form, int index) {
    return control<QLabel>(form, "Keisan2Lbl1", index);
}
QString cellTexts(const DrillForm& form) {
    return cell(form, 0)->text() + u'|' + cell(form, 1)->text();
}
QTimer* drillClock(const DrillForm& form) {
    return control<QTimer>(form, "sTimer1");
}

// The key of each letter of a keys row: digits and signs are typed as they are.
struct KeyOfLetter {
    QChar letter;
    Qt::Key key;
    bool takesShift;
};
const KeyOfLetter kKeyLetters[] = {
    {u'R', Qt::Key_Right, true},      {u'L', Qt::Key_Left, true},   {u'U', Qt::Key_Up, true},
    {u'D', Qt::Key_Down, true},       {u'X', Qt::Key_Delete, true}, {u'S', Qt::Key_Space, false},
    {u'B', Qt::Key_Backspace, false},
};

void typeKeys(QWidget& window, const QString& keys, Qt::KeyboardModifiers shift) {
    for (QChar c : keys) {
        const auto* named = std::find_if(std::begin(kKeyLetters), std::end(kKeyLetters),
                                         [c](const KeyOfLetter& k) { return k.letter == c; });
        if (named == std::end(kKeyLetters))
            test::typeText(window, c);
        else
            test::typeKey(window, named->key, named->takesShift ? shift : Qt::NoModifier);
    }
}

} // namespace

void DrillFormTest::showsTheQuestion_data() {
    QTest::addColumn<int>("level");
    QTest::newRow("level 1, no remainder") << 1;
    QTest::newRow("level 3") << 3;
}

void DrillFormTest::showsTheQuestion() {
    QFETCH(int, level);
    DrillSuite s(level);
    QVERIFY(startDrill(s.forms.context));
    DrillForm& form = *s.drill();
    QCOMPARE(s.forms.window.currentForm(), &form);
    const bool remainder = level > 1;
    const Question q = form.question();
    QCOMPARE(test::shownText(form, "Keisan2Lbl2_0"), QString::number(q.dividend()));
    QCOMPARE(test::shownText(form, "Keisan2Lbl2_1"), QString::number(q.divisor));
    QCOMPARE(test::shownText(form, "Keisan2Lbl3_0"), QStringLiteral("÷"));
    QCOMPARE(test::shownText(form, "Keisan2Lbl3_2"), remainder ? QStringLiteral("あまり") : QString());
    QCOMPARE(visible(cell(form, 1)), remainder);
    QCOMPARE(visible(control<QLabel>(form, "Label3")), remainder);
    for (const char* hidden : {"Label1", "Line1", "sPicture2"})
        QVERIFY2(!visible(control<QWidget>(form, hidden)), hidden);
    // Status bar.
    const QString texts[][2] = {
        {"sLabel2", "あまりのあるわり算"},
        {"sLabel7", "たろう"},
        {"sLabel14", "テスト家"},
        {"sLabel8", s.state().levels.levelName[level]},
        {"sLabel9", "10"},
        {"sLabel10", "0"},
        {"sLabel13", "5"},
        {"sLabel12", "1"},
        {"sLabel11", "1"},
    };
    for (const auto& [name, text] : texts)
        QCOMPARE(test::shownText(form, name), text);
    QVERIFY(drillClock(form)->isActive() && control<QTimer>(form, "sTimer2")->isActive());
    // Places in the window: the panel starts below the 115-pixel status bar.
    QCOMPARE(cell(form, 0)->mapTo(&s.window(), QPoint(0, 0)), QPoint(188, 115 + 222));
    QCOMPARE(cell(form, 0)->size(), QSize(275, 97));
    QCOMPARE(control<QWidget>(form, "sShape5")->geometry(), QRect(6, 84, 999, 10));
    // Goal 60 x level + 60, limit five times the second time (90 x level + 90): marks of a fifth and less.
    QCOMPARE(s.state().drill.timeLimitSeconds, 5 * 90 * (level + 1));
    QCOMPARE(control<QWidget>(form, "sShape4")->width(), 999 / 5);
    QCOMPARE(control<QWidget>(form, "sShape3")->width(), 60 * 999 / (5 * 90));
    const QImage image = s.window().grab().toImage();
    QCOMPARE(image.pixelColor(188 + 5, 115 + 222 + 5), QColor(0, 192, 0)); // cursor on the quotient cell
    QCOMPARE(image.pixelColor(2, 760), QColor(0, 192, 192));
    QCOMPARE(image.pixelColor(1020, 2), QColor(192, 255, 192));
    test::saveScreenshot(s.window(), QStringLiteral("drill_level%1").arg(level));
}

void DrillFormTest::keys_data() {
    QTest::addColumn<QString>(
        "keys"); // one key per character: digits as typed, R L U D X(Delete) S(Space) B(Backspace)
    QTest::addColumn<bool>("shift"); // Shift held on the arrow and clearing keys
    QTest::addColumn<QString>("texts");
    QTest::addColumn<int>("cursor");
    QTest::newRow("typed into the quotient") << "12" << false << "12|" << 0;
    QTest::newRow("Space moves, then types") << "12S3" << false << "12|3" << 1;
    QTest::newRow("back onto 12 and type 3") << "12R4L3" << false << "123|4" << 0;
    QTest::newRow("Shift+Right onto 12 empties it") << "12R4R3" << true << "3|4" << 0;
    QTest::newRow("Down clears the cursor cell") << "12R4D" << false << "12|" << 1;
    QTest::newRow("Shift+Delete clears both, cursor stays") << "12R4X" << true << "|" << 1;
    QTest::newRow("Up clears both, cursor home") << "12R4U" << false << "|" << 0;
    QTest::newRow("Backspace") << "123B" << false << "12|" << 0;
    QTest::newRow("+ and letters are not typed") << "1+a2" << false << "12|" << 0;
    QTest::newRow("*,-./ are typed") << "1*,-./" << false << "1*,-./|" << 0;
}

void DrillFormTest::keys() {
    QFETCH(QString, keys);
    QFETCH(bool, shift);
    QFETCH(QString, texts);
    QFETCH(int, cursor);
    DrillSuite s(2);
    QVERIFY(startDrill(s.forms.context));
    DrillForm& form = *s.drill();
    typeKeys(s.window(), keys, shift ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(cellTexts(form), texts);
    QCOMPARE(form.cells().cursorCell(), cursor);
    for (int index = 0; index < 2; ++index)
        QCOMPARE(cell(form, index)->palette().color(QPalette::Window),
                 index == cursor ? QColor(0, 192, 0) : QColor(128, 255, 255));
    QCOMPARE(s.state().drill.solvedCount, 0);

    // The 24th character is refused with the warning cue; Backspace still works; a long text stays whole.
    QLabel* quotient = cell(form, 0);
    test::typeKey(s.window(), Qt::Key_Up);
    test::typeText(s.window(), QString(23, u'7'));
    QVERIFY(s.soundsPlayed().isEmpty());
    test::typeText(s.window(), QStringLiteral("7"));
    QCOMPARE(s.soundsPlayed(), QStringLiteral("警告1"));
    QCOMPARE(quotient->text(), QString(23, u'7'));
    QVERIFY(QFontMetrics(quotient->font()).horizontalAdvance(quotient->text()) <= quotient->width());
    test::typeKey(s.window(), Qt::Key_Backspace);
    QCOMPARE(quotient->text(), QString(22, u'7'));

    // Keys mashed while a warning plays come after it: refused ones play no cue of their own, and none is
    // lost (the Backspace among them is taken). A refused key after the cue warns again.
    test::typeText(s.window(), QStringLiteral("7"));
    s.forms.test.sound.whilePlaying = [&](const QString&) {
        s.forms.test.sound.whilePlaying = nullptr;
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &s.window();
        for (int i = 0; i < 20; ++i)
            QCoreApplication::postEvent(
                target, new QKeyEvent(QEvent::KeyPress, Qt::Key_8, Qt::NoModifier, QStringLiteral("8")));
        QCoreApplication::postEvent(target,
                                    new QKeyEvent(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier));
    };
    s.forms.test.sound.played.clear();
    test::typeText(s.window(), QStringLiteral("7"));
    QCOMPARE(s.soundsPlayed(), QStringLiteral("警告1"));
    QCOMPARE(quotient->text(), QString(22, u'7'));
    test::typeText(s.window(), QStringLiteral("78"));
    QCOMPARE(s.soundsPlayed(), QStringLiteral("警告1,警告1"));
}

void DrillFormTest::judging_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("rightFirst");   // right answers before the judged one
    QTest::addColumn<QString>("quotient"); // %1: the right quotient
    QTest::addColumn<QString>("remainder");
    QTest::addColumn<bool>("right");
    QTest::addColumn<QString>("remaining");
    QTest::newRow("07 is 7") << 2 << 0 << "0%1"
                             << "%2" << true << "9";
    QTest::newRow("7.0 is 7") << 2 << 0 << "%1.0"
                              << "%2" << true << "9";
    QTest::newRow("7- reads as 7") << 2 << 0 << "%1-"
                                   << "%2" << true << "9";
    QTest::newRow("-7 is wrong, stays at 10") << 2 << 0 << "-%1"
                                              << "%2" << false << "10";
    QTest::newRow(".5 is wrong") << 2 << 0 << ".5"
                                 << "%2" << false << "10";
    QTest::newRow("empty cells are wrong") << 2 << 0 << ""
                                           << "" << false << "10";
    QTest::newRow("three right then 8 after a wrong") << 3 << 3 << "%1"
                                                      << "%2+1" << false << "8";
    QTest::newRow("level 1 wrong shows no remainder") << 1 << 1 << "%1+1"
                                                      << "" << false << "10";
}

void DrillFormTest::judging() {
    QFETCH(int, level);
    QFETCH(int, rightFirst);
    QFETCH(QString, quotient);
    QFETCH(QString, remainder);
    QFETCH(bool, right);
    QFETCH(QString, remaining);
    DrillSuite s(level);
    QVERIFY(startDrill(s.forms.context));
    DrillForm& form = *s.drill();
    for (int i = 0; i < rightFirst; ++i)
        s.answer(true);
    QCOMPARE(test::shownText(form, "sLabel9"), QString::number(10 - rightFirst));
    const Question q = form.question();
    const auto fill = [&q](QString text) {
        text.replace(QStringLiteral("%1+1"), QString::number(q.quotient + 1));
        text.replace(QStringLiteral("%2+1"), QString::number(q.remainder + 1));
        return text.replace(QStringLiteral("%1"), QString::number(q.quotient))
            .replace(QStringLiteral("%2"), QString::number(q.remainder));
    };
    test::typeText(s.window(), fill(quotient));
    if (level > 1) {
        test::typeKey(s.window(), Qt::Key_Space);
        test::typeText(s.window(), fill(remainder));
    }
    s.forms.test.sound.played.clear();
    test::typeKey(s.window(), Qt::Key_Space);
    QCOMPARE(test::shownText(form, "sLabel9"), remaining);
    QCOMPARE(s.state().drill.judgingBusy, qint16(0));
    QCOMPARE(s.soundsPlayed().startsWith(QStringLiteral("seikai")), right);
    QCOMPARE(s.state().drill.correctionState, qint16(right ? 0 : 1));
    if (right) {
        QVERIFY(form.question().quotient != q.quotient && form.question().divisor != q.divisor);
        QCOMPARE(cell(form, 0)->text(), QString());
        return;
    }
    QCOMPARE(s.soundsPlayed(), QStringLiteral("machigai1"));
    QCOMPARE(test::shownText(form, "Keisan2Lbl4_0"), QString::number(q.quotient));
    for (const char* shown : {"Keisan2Lbl4_0", "Label1", "Keisan2Lbl3_4", "Line1", "Line2", "Keisan2Lbl5_0"})
        QVERIFY2(visible(control<QWidget>(form, shown)), shown);
    QCOMPARE(visible(control<QWidget>(form, "Keisan2Lbl4_1")), level > 1);
    QCOMPARE(visible(control<QWidget>(form, "Keisan2Lbl3_3")), level > 1);
    // The wrong answer stays underneath; arrows, Delete, Space and digits do nothing now.
    const QString typed = cell(form, 0)->text();
    test::typeKey(s.window(), Qt::Key_Up);
    test::typeKey(s.window(), Qt::Key_Space);
    test::typeText(s.window(), QStringLiteral("5"));
    QCOMPARE(cell(form, 0)->text(), typed);
    QCOMPARE(form.question(), q);
    if (level == 3)
        test::saveScreenshot(s.window(), QStringLiteral("drill_wrong_answer"));
}

void DrillFormTest::correctionNeedsTwoPlusInARow() {
    DrillSuite s(4);
    QVERIFY(startDrill(s.forms.context));
    DrillForm& form = *s.drill();
    const Question q = form.question();
    s.answer(false);
    test::typeText(s.window(), QStringLiteral("+5+"));
    QCOMPARE(form.question(), q);
    QVERIFY(visible(control<QWidget>(form, "Line1")));
    QCOMPARE(s.state().drill.correctionState, qint16(2));
    test::typeText(s.window(), QStringLiteral("+"));
    QCOMPARE(s.state().drill.correctionState, qint16(0));
    for (const char* hidden : {"Line1", "Keisan2Lbl4_0", "Keisan2Lbl5_0"})
        QVERIFY2(!visible(control<QWidget>(form, hidden)), hidden);
    QVERIFY(form.question().quotient != q.quotient && form.question().divisor != q.divisor);
    QCOMPARE(cell(form, 0)->text(), QString());
    QCOMPARE(test::shownText(form, "sLabel9"), QStringLiteral("10"));
}

void DrillFormTest::enterJudges_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("inRemainderCell"); // the remainder typed and the cursor on its cell
    QTest::addColumn<bool>("right");
    QTest::newRow("level 1, Enter") << 1 << int(Qt::Key_Return) << false << true;
    QTest::newRow("level 1, the keypad's Enter") << 1 << int(Qt::Key_Enter) << false << true;
    QTest::newRow("level 3, Enter on the remainder cell") << 3 << int(Qt::Key_Return) << true << true;
    // Unlike Space, Enter judges on the quotient cell too: what has been typed is the answer.
    QTest::newRow("level 3, Enter on the quotient cell") << 3 << int(Qt::Key_Return) << false << false;
    QTest::newRow("level 2, wrong, keypad Enter") << 2 << int(Qt::Key_Enter) << true << false;
}

// Enter judges as Space does on the last cell; after a wrong answer it does nothing, and "+" twice goes on,
// as the level menu's instructions say.
void DrillFormTest::enterJudges() {
    QFETCH(int, level);
    QFETCH(int, key);
    QFETCH(bool, inRemainderCell);
    QFETCH(bool, right);
    DrillSuite s(level);
    QVERIFY(startDrill(s.forms.context));
    DrillForm& form = *s.drill();
    auto* remaining = form.findChild<QLabel*>(QStringLiteral("sLabel9"));
    QVERIFY(remaining);
    const Question q = form.question();
    test::typeText(s.window(), QString::number(right ? q.quotient : q.quotient + 1));
    if (inRemainderCell) {
        test::typeKey(s.window(), Qt::Key_Space);
        test::typeText(s.window(), QString::number(q.remainder));
    }
    s.forms.test.sound.played.clear();
    test::typeKey(s.window(), Qt::Key(key));
    QCOMPARE(s.soundsPlayed(), right ? QStringLiteral("seikai1") : QStringLiteral("machigai1"));
    QCOMPARE(remaining->text(), right ? QStringLiteral("9") : QStringLiteral("10"));
    if (right) {
        QVERIFY(form.question().quotient != q.quotient);
        return;
    }
    QCOMPARE(s.state().drill.correctionState, qint16(1));
    test::typeKey(s.window(), Qt::Key(key));
    QCOMPARE(form.question(), q);
    QCOMPARE(s.state().drill.correctionState, qint16(1));
    test::typeText(s.window(), QStringLiteral("++"));
    QCOMPARE(s.state().drill.correctionState, qint16(0));
    QVERIFY(form.question().quotient != q.quotient && form.question().divisor != q.divisor);
}

void DrillFormTest::panelAsPlaced_data() {
    QTest::addColumn<int>("level");
    QTest::newRow("level 1") << 1;
    QTest::newRow("level 4") << 4;
}

// The drill panel's controls where the design places them (panel pixels); on level 1 the remainder's place
// shows nothing at all; and after a wrong answer "正解は" leaves the "＝" box under it whole.
void DrillFormTest::panelAsPlaced() {
    QFETCH(int, level);
    DrillSuite s(level);
    QVERIFY(startDrill(s.forms.context));
    DrillForm& form = *s.drill();
    const struct {
        const char* name;
        QRect place;
    } design[] = {
        {"Keisan2Lbl2_0", {188, 58, 275, 97}},  {"Keisan2Lbl3_0", {490, 74, 73, 73}},
        {"Keisan2Lbl2_1", {588, 62, 275, 97}},  {"Keisan2Lbl3_1", {106, 246, 73, 73}},
        {"Keisan2Lbl1_0", {188, 222, 275, 97}}, {"Keisan2Lbl3_2", {470, 276, 97, 41}},
        {"Keisan2Lbl1_1", {588, 220, 274, 97}}, {"Label3", {588, 318, 274, 43}},
        {"Label2", {260, 534, 555, 19}},        {"Label1", {72, 390, 103, 33}},
        {"Keisan2Lbl3_4", {104, 408, 73, 73}},  {"Keisan2Lbl4_0", {188, 390, 275, 97}},
        {"Keisan2Lbl3_3", {476, 446, 97, 41}},  {"Keisan2Lbl4_1", {588, 392, 275, 97}},
        {"Keisan2Lbl5_0", {260, 558, 553, 41}},
    };
    QWidget* panel = control<QWidget>(form, "Keisan2BasePic");
    QCOMPARE(panel->geometry(), QRect(0, 115, 1024, 768 - 115));
    for (const auto& placed : design)
        QCOMPARE(control<QWidget>(*panel, placed.name)->geometry(), placed.place);
    QCOMPARE(visible(control<QLabel>(*panel, "Keisan2Lbl3_2")), level > 1);

    s.answer(false);
    QVERIFY(visible(control<QLabel>(*panel, "Keisan2Lbl3_4")));
    const QImage picture = panel->grab().toImage();
    // The top strip of the "＝" box, right of the word's last letter and inside Label1's place.
    for (int y = 409; y < 421; ++y)
        QCOMPARE(picture.pixelColor(174, y), QColor(255, 255, 192));
}

void DrillFormTest::countdownBoxes_data() {
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QList<int>>("hidden");
    // Level 1: goal 120, second time 180; pupil's best 100, anybody's best 95 (earlier runs).
    QTest::newRow("nothing yet") << 85 << QList<int>{};
    QTest::newRow("best minus 9") << 86 << QList<int>{10};
    QTest::newRow("your best minus 9") << 91 << QList<int>{10, 11, 12, 13, 14, 15, 20};
    QTest::newRow("goal minus 9") << 111 << QList<int>{10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20,
                                                       21, 22, 23, 24, 25, 26, 27, 28, 29, 30};
    QTest::newRow("at the goal") << 120
                                 << QList<int>{10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24,
                                               25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39};
}

void DrillFormTest::countdownBoxes() {
    QFETCH(int, seconds);
    QFETCH(QList<int>, hidden);
    DrillSuite s(1);
    s.state().figures.levelBestResult[1] = 95;
    s.state().figures.bestResult.at(1, 3) = 100;
    QVERIFY(startDrill(s.forms.context));
    DrillForm& form = *s.drill();
    for (int t = 1; t <= seconds; ++t)
        s.tick();
    QList<int> gone;
    for (int box = kFirstCountdownBox; box <= kLastCountdownBox; ++box) {
        if (!visible(control<QWidget>(form, "sPicture3", box)))
            gone.append(box);
    }
    QCOMPARE(gone, hidden);
    QCOMPARE(test::shownText(form, "sLabel10"), QString::number(seconds));
    QCOMPARE(control<QWidget>(form, "sShape2")->width(), seconds * 999 / 900);
}

void DrillFormTest::timeRunsOutDuringJudging() {
    DrillSuite s(2);
    QVERIFY(startDrill(s.forms.context));
    DrillForm* form = s.drill();
    QPointer<DrillForm> guard(form);
    s.answer(true);
    // The limit (5 x 270 s) passes; a tick arrives while the wrong answer's screen is being drawn.
    s.clock().advanceMs(1350 * 1000);
    QTimer::singleShot(0, form, &DrillForm::sTimer1_Timer);
    s.answer(false);
    QCOMPARE(s.state().drill.timeUp, qint16(0));
    QVERIFY(drillClock(*form)->isActive());
    QCOMPARE(control<QWidget>(*form, "sShape2")->width(), 999);
    // Judging after the time is up changes nothing and leaves no busy flag.
    s.tick();
    QCOMPARE(s.state().drill.timeUp, qint16(1));
    QCOMPARE(s.state().drill.finalTime, 99999);
    QVERIFY(guard && !drillClock(*guard)->isActive());
    QVERIFY(!control<QWidget>(*guard, "sPicture2")->isHidden());
    QVERIFY(!control<QWidget>(*guard, "lblsss2")->isHidden() &&
            control<QWidget>(*guard, "lblsss1")->isHidden());
    test::saveScreenshot(*guard, QStringLiteral("drill_time_up"));
    QVERIFY(s.forms.shown<ResultScreen>(FormId::FrmSyuuryou));
    QVERIFY(!s.forms.window.isLoaded(FormId::MainFrm));
    // A late tick or a late judging changes nothing and leaves no busy flag behind.
    const qint32 solved = s.state().drill.solvedCount;
    guard->sTimer1_Timer();
    s.state().drill.judgingBusy = 1;
    guard->判定();
    guard->判定後処理();
    QCOMPARE(s.state().drill.judgingBusy, qint16(0));
    QCOMPARE(s.state().drill.solvedCount, solved);
    QCOMPARE(s.state().drill.correctionState, qint16(1));
    QCOMPARE(test::readBytes(s.suite.programDataFolder() + kScoreFileName).size(), kScoreRecordLength);
}

void DrillFormTest::endDrillTwiceRecordsOnce() {
    DrillSuite s(3);
    QVERIFY(startDrill(s.forms.context));
    DrillForm* form = s.drill();
    s.tick();
    s.state().drill.sheetFinished = 1;
    int resultsShown = 0;
    // The second end arrives while the first lets events run.
    bool secondEnd = false;
    QTimer::singleShot(0, form, [form, &secondEnd] {
        secondEnd = true;
        form->endDrill();
    });
    form->endDrill();
    for (const auto* page : s.forms.window.formsInLoadingOrder())
        resultsShown += page->objectName() == u"FrmSyuuryou";
    QVERIFY(secondEnd);
    QCOMPARE(resultsShown, 1);
    QCOMPARE(s.state().drill.finalTime, 1);
    QCOMPARE(test::readBytes(s.suite.programDataFolder() + kScoreFileName).size(), kScoreRecordLength);
    QCOMPARE(test::readBytes(s.suite.commonFolder() + kHomeScoreFileName).size(), kHomeScoreRecordLength);
}

void DrillFormTest::soundFailureEndsWithoutARecord() {
    DrillSuite s(1);
    QVERIFY(startDrill(s.forms.context));
    s.forms.test.sound.failNext(QStringLiteral("no device"), 4);
    for (int i = 0; i < 3; ++i)
        s.answer(true);
    QVERIFY(!s.forms.test.dialogs.ended);
    QCOMPARE(s.state().drill.solvedCount, 3);
    s.answer(true);
    QVERIFY(s.forms.test.dialogs.ended);
    QCOMPARE(s.forms.test.dialogs.messages.size(), size_t(1));
    // Nothing more happens on this form, and no record of the drill is written.
    QCOMPARE(s.state().drill.solvedCount, 3);
    const QString typed = cell(*s.drill(), 0)->text();
    test::typeText(s.window(), QStringLiteral("5"));
    QCOMPARE(cell(*s.drill(), 0)->text(), typed);
    QVERIFY(!QFile::exists(s.suite.programDataFolder() + kScoreFileName) ||
            test::readBytes(s.suite.programDataFolder() + kScoreFileName).isEmpty());
}

WARIZAN_FORMS_TEST_MAIN(DrillFormTest)
#include "tst_drill_form.moc"
