#include "answers/answer_database.h"
#include "drill_suite.h"
#include "records/score_record.h"
#include "screens/drill_start.h"
#include "screens/result/result_screen.h"
#include "screenshot.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtEndian>
#include <sqlite3.h>

using namespace warizan;
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
    void wholeSheetThroughTheFormOwner_data();
    void wholeSheetThroughTheFormOwner();
    void answerLog_data();
    void answerLog();
};

namespace {
bool visible(QWidget* w) {
    return w->isVisibleTo(w->window());
}
QByteArray little(double value) {
    QByteArray bytes(8, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
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
    QCOMPARE(form.Keisan2Lbl2[0]->text(), QString::number(q.dividend()));
    QCOMPARE(form.Keisan2Lbl2[1]->text(), QString::number(q.divisor));
    QCOMPARE(form.Keisan2Lbl3[0]->text(), QStringLiteral("÷"));
    QCOMPARE(form.Keisan2Lbl3[2]->text(), remainder ? QStringLiteral("あまり") : QString());
    QCOMPARE(visible(form.Keisan2Lbl1[1]), remainder);
    QCOMPARE(visible(form.Label3), remainder);
    QVERIFY(!visible(form.Label1) && !visible(form.Line1) && !visible(form.sPicture2));
    // Status bar.
    QCOMPARE(form.sLabel2->text(), QStringLiteral("あまりのあるわり算"));
    QCOMPARE(form.sLabel7->text(), QStringLiteral("たろう"));
    QCOMPARE(form.sLabel14->text(), QStringLiteral("テスト家"));
    QCOMPARE(form.sLabel8->text(), s.state().levels.levelName[level]);
    QCOMPARE(form.sLabel9->text(), QStringLiteral("10"));
    QCOMPARE(form.sLabel10->text(), QStringLiteral("0"));
    QCOMPARE(form.sLabel13->text(), QStringLiteral("5"));
    QCOMPARE(form.sLabel12->text(), QStringLiteral("1"));
    QCOMPARE(form.sLabel11->text(), QStringLiteral("1"));
    QVERIFY(form.sTimer1->isActive() && form.sTimer2->isActive());
    // Places in the window: the panel starts below the 115-pixel status bar.
    QCOMPARE(form.Keisan2Lbl1[0]->mapTo(&s.window(), QPoint(0, 0)), QPoint(188, 115 + 222));
    QCOMPARE(form.Keisan2Lbl1[0]->size(), QSize(275, 97));
    QCOMPARE(form.sShape5->geometry(), QRect(6, 84, 999, 10));
    // Goal 60 x level + 60, limit five times the second time (90 x level + 90): marks of a fifth and less.
    QCOMPARE(s.state().drill.timeLimitSeconds, 5 * 90 * (level + 1));
    QCOMPARE(form.sShape4->width(), 999 / 5);
    QCOMPARE(form.sShape3->width(), 60 * 999 / (5 * 90));
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
    const Qt::KeyboardModifiers mod = shift ? Qt::ShiftModifier : Qt::NoModifier;
    for (QChar c : keys) {
        switch (c.unicode()) {
        case u'R':
            test::typeKey(s.window(), Qt::Key_Right, mod);
            break;
        case u'L':
            test::typeKey(s.window(), Qt::Key_Left, mod);
            break;
        case u'U':
            test::typeKey(s.window(), Qt::Key_Up, mod);
            break;
        case u'D':
            test::typeKey(s.window(), Qt::Key_Down, mod);
            break;
        case u'X':
            test::typeKey(s.window(), Qt::Key_Delete, mod);
            break;
        case u'S':
            test::typeKey(s.window(), Qt::Key_Space);
            break;
        case u'B':
            test::typeKey(s.window(), Qt::Key_Backspace);
            break;
        default:
            test::typeText(s.window(), c);
            break;
        }
    }
    QCOMPARE(form.Keisan2Lbl1[0]->text() + u'|' + form.Keisan2Lbl1[1]->text(), texts);
    QCOMPARE(form.cells().cursorCell(), cursor);
    for (int cell = 0; cell < 2; ++cell)
        QCOMPARE(form.Keisan2Lbl1[cell]->palette().color(QPalette::Window),
                 cell == cursor ? QColor(0, 192, 0) : QColor(128, 255, 255));
    QCOMPARE(s.state().drill.solvedCount, 0);

    // The 24th character is refused with the warning cue; Backspace still works; a long text stays whole.
    test::typeKey(s.window(), Qt::Key_Up);
    test::typeText(s.window(), QString(23, u'7'));
    QVERIFY(s.soundsPlayed().isEmpty());
    test::typeText(s.window(), QStringLiteral("7"));
    QCOMPARE(s.soundsPlayed(), QStringLiteral("警告1"));
    QCOMPARE(form.Keisan2Lbl1[0]->text(), QString(23, u'7'));
    QVERIFY(QFontMetrics(form.Keisan2Lbl1[0]->font()).horizontalAdvance(form.Keisan2Lbl1[0]->text()) <=
            form.Keisan2Lbl1[0]->width());
    test::typeKey(s.window(), Qt::Key_Backspace);
    QCOMPARE(form.Keisan2Lbl1[0]->text(), QString(22, u'7'));

    // Keys mashed while a warning plays come after it: refused ones play no cue of their own, and none is
    // lost (the Backspace among them is taken). A refused key after the cue warns again.
    test::typeText(s.window(), QStringLiteral("7"));
    s.forms.test.sound.whilePlaying = [&](const QString&) {
        s.forms.test.sound.whilePlaying = nullptr;
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &s.window();
        for (int i = 0; i < 20; ++i)
            QCoreApplication::postEvent(target,
                                        new QKeyEvent(QEvent::KeyPress, Qt::Key_8, Qt::NoModifier, QStringLiteral("8")));
        QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier));
    };
    s.forms.test.sound.played.clear();
    test::typeText(s.window(), QStringLiteral("7"));
    QCOMPARE(s.soundsPlayed(), QStringLiteral("警告1"));
    QCOMPARE(form.Keisan2Lbl1[0]->text(), QString(22, u'7'));
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
    QCOMPARE(form.sLabel9->text(), QString::number(10 - rightFirst));
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
    QCOMPARE(form.sLabel9->text(), remaining);
    QCOMPARE(s.state().drill.judgingBusy, qint16(0));
    QCOMPARE(s.soundsPlayed().startsWith(QStringLiteral("seikai")), right);
    QCOMPARE(s.state().drill.correctionState, qint16(right ? 0 : 1));
    if (right) {
        QVERIFY(form.question().quotient != q.quotient && form.question().divisor != q.divisor);
        QCOMPARE(form.Keisan2Lbl1[0]->text(), QString());
        return;
    }
    QCOMPARE(s.soundsPlayed(), QStringLiteral("machigai1"));
    QCOMPARE(form.Keisan2Lbl4[0]->text(), QString::number(q.quotient));
    for (QWidget* w : {(QWidget*)form.Keisan2Lbl4[0], (QWidget*)form.Label1, (QWidget*)form.Keisan2Lbl3[4],
                       form.Line1, form.Line2, (QWidget*)form.Keisan2Lbl5[0]})
        QVERIFY(visible(w));
    QCOMPARE(visible(form.Keisan2Lbl4[1]), level > 1);
    QCOMPARE(visible(form.Keisan2Lbl3[3]), level > 1);
    // The wrong answer stays underneath; arrows, Delete, Space and digits do nothing now.
    const QString typed = form.Keisan2Lbl1[0]->text();
    test::typeKey(s.window(), Qt::Key_Up);
    test::typeKey(s.window(), Qt::Key_Space);
    test::typeText(s.window(), QStringLiteral("5"));
    QCOMPARE(form.Keisan2Lbl1[0]->text(), typed);
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
    QVERIFY(visible(form.Line1));
    QCOMPARE(s.state().drill.correctionState, qint16(2));
    test::typeText(s.window(), QStringLiteral("+"));
    QCOMPARE(s.state().drill.correctionState, qint16(0));
    QVERIFY(!visible(form.Line1) && !visible(form.Keisan2Lbl4[0]) && !visible(form.Keisan2Lbl5[0]));
    QVERIFY(form.question().quotient != q.quotient && form.question().divisor != q.divisor);
    QCOMPARE(form.Keisan2Lbl1[0]->text(), QString());
    QCOMPARE(form.sLabel9->text(), QStringLiteral("10"));
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
        {"Keisan2Lbl2(0)", {188, 58, 275, 97}},  {"Keisan2Lbl3(0)", {490, 74, 73, 73}},
        {"Keisan2Lbl2(1)", {588, 62, 275, 97}},  {"Keisan2Lbl3(1)", {106, 246, 73, 73}},
        {"Keisan2Lbl1(0)", {188, 222, 275, 97}}, {"Keisan2Lbl3(2)", {470, 276, 97, 41}},
        {"Keisan2Lbl1(1)", {588, 220, 274, 97}}, {"Label3", {588, 318, 274, 43}},
        {"Label2", {260, 534, 555, 19}},         {"Label1", {72, 390, 103, 33}},
        {"Keisan2Lbl3(4)", {104, 408, 73, 73}},  {"Keisan2Lbl4(0)", {188, 390, 275, 97}},
        {"Keisan2Lbl3(3)", {476, 446, 97, 41}},  {"Keisan2Lbl4(1)", {588, 392, 275, 97}},
        {"Keisan2Lbl5(0)", {260, 558, 553, 41}},
    };
    auto* panel = form.findChild<QWidget*>(QStringLiteral("Keisan2BasePic"));
    QVERIFY(panel);
    QCOMPARE(panel->geometry(), QRect(0, 115, 1024, 768 - 115));
    for (const auto& control : design) {
        auto* widget = panel->findChild<QWidget*>(QString::fromLatin1(control.name));
        QVERIFY2(widget, control.name);
        QCOMPARE(widget->geometry(), control.place);
    }
    auto* remainderWord = panel->findChild<QLabel*>(QStringLiteral("Keisan2Lbl3(2)"));
    QCOMPARE(visible(remainderWord), level > 1);

    s.answer(false);
    auto* equals = panel->findChild<QLabel*>(QStringLiteral("Keisan2Lbl3(4)"));
    QVERIFY(visible(equals));
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
        if (!visible(form.sPicture3[box]))
            gone.append(box);
    }
    QCOMPARE(gone, hidden);
    QCOMPARE(form.sLabel10->text(), QString::number(seconds));
    QCOMPARE(form.sShape2->width(), seconds * 999 / 900);
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
    QVERIFY(form->sTimer1->isActive());
    QCOMPARE(form->sShape2->width(), 999);
    // Judging after the time is up changes nothing and leaves no busy flag.
    s.tick();
    QCOMPARE(s.state().drill.timeUp, qint16(1));
    QCOMPARE(s.state().drill.finalTime, 99999);
    QVERIFY(guard && !guard->sTimer1->isActive());
    QVERIFY(!guard->sPicture2->isHidden() && !guard->lblsss2->isHidden() && guard->lblsss1->isHidden());
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
    const QString typed = s.drill()->Keisan2Lbl1[0]->text();
    test::typeText(s.window(), QStringLiteral("5"));
    QCOMPARE(s.drill()->Keisan2Lbl1[0]->text(), typed);
    QVERIFY(!QFile::exists(s.suite.programDataFolder() + kScoreFileName) ||
            test::readBytes(s.suite.programDataFolder() + kScoreFileName).isEmpty());
}

void DrillFormTest::wholeSheetThroughTheFormOwner_data() {
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<int>("wrongs");
    QTest::newRow("morning, two mistakes") << QDateTime(QDate(2024, 4, 10), QTime(10, 0)) << 2;
    QTest::newRow("across midnight") << QDateTime(QDate(2024, 4, 10), QTime(23, 59, 50)) << 0;
}

void DrillFormTest::wholeSheetThroughTheFormOwner() {
    QFETCH(QDateTime, start);
    QFETCH(int, wrongs);
    DrillSuite s(2, start);
    QVERIFY(startDrill(s.forms.context));
    QCOMPARE(s.forms.window.currentForm(), s.drill());
    // Two mistakes after a right answer each cost a counted answer: 10 + 2 right answers finish the sheet.
    for (int w = 0; w < wrongs; ++w) {
        s.answer(true);
        s.tick(1500);
        s.answer(false);
        test::typeText(s.window(), QStringLiteral("++"));
    }
    for (int i = 0; i < 9; ++i) {
        s.tick(1500);
        s.answer(true);
    }
    QCOMPARE(s.state().drill.solvedCount, 9);
    s.tick(1500);
    const qint32 lastTick = s.state().drill.elapsedSeconds;
    // The tenth answer is judged 0.8 s after the last tick, and no tick follows it.
    s.clock().advanceMs(800);
    QPointer<DrillForm> drill = s.drill();
    s.answer(true);
    QCOMPARE(s.state().drill.sheetFinished, qint16(1));
    QVERIFY(drill && !drill->sTimer1->isActive());
    QCOMPARE(s.state().drill.finalTime, lastTick);
    QCOMPARE(lastTick, static_cast<qint32>(std::nearbyint((10 + wrongs) * 1.5)));
    auto* result = s.forms.shown<ResultScreen>(FormId::FrmSyuuryou);
    QVERIFY(result);
    QCOMPARE(s.forms.window.currentForm(), result);
    QVERIFY(!s.forms.window.isLoaded(FormId::MainFrm) && !s.forms.window.isLoaded(FormId::BASEFRM));
    QCOMPARE(result->Label18->text(), QStringLiteral("今の成績：%1秒").arg(lastTick));
    QVERIFY(s.clock().totalWaitedMs() >= 1000);

    // The two appended records, byte for byte: stamped when written, after the one-second wait.
    const QDateTime written = s.clock().now().addMSecs(-s.clock().totalWaitedMs());
    const QDate day = written.date();
    const double dayValue = QDate(1899, 12, 30).daysTo(day);
    const double clock =
        QTime(0, 0).secsTo(QTime(written.time().hour(), written.time().minute(), written.time().second())) /
        86400.0;
    QByteArray fields(8, '\0');
    qToLittleEndian<qint16>(3, fields.data());
    qToLittleEndian<qint16>(2, fields.data() + 2);
    qToLittleEndian<qint32>(lastTick, fields.data() + 4);
    QCOMPARE(test::readBytes(s.suite.programDataFolder() + kScoreFileName),
             little(dayValue) + little(clock) + fields + "12345" + "     " + " 0   " + QByteArray(5, '\0'));
    QCOMPARE(test::readBytes(s.suite.commonFolder() + kHomeScoreFileName),
             QByteArray("drill\\").leftJustified(20, ' ') + QByteArray(2, '\0') + little(dayValue) +
                 little(clock) + fields + "12345" + QByteArray(15, '\0'));
    if (wrongs == 0)
        QCOMPARE(day, QDate(2024, 4, 11));

    // "もう一度": the next sheet on the same level, its first question unlike the last one.
    const qint32 lastQuotient = s.state().drill.previousQuotient;
    const qint32 lastDivisor = s.state().drill.previousDivisor;
    result->Timer1_Timer();
    QVERIFY(visible(result->Command5));
    QTest::mouseClick(result->Command5, Qt::LeftButton);
    QVERIFY(s.drill());
    QCOMPARE(s.forms.window.currentForm(), s.drill());
    QVERIFY(s.drill()->question().quotient != lastQuotient && s.drill()->question().divisor != lastDivisor);
    QCOMPARE(s.state().drill.solvedCount, 0);
    QCOMPARE(s.drill()->sLabel12->text(), QStringLiteral("2"));
}

void DrillFormTest::answerLog_data() {
    QTest::addColumn<QString>("ending");  // how the drill ends: sheet, time-up, cut short
    QTest::addColumn<bool>("damagedLog"); // the log's file is no database when the drill ends
    QTest::newRow("whole sheet") << "sheet" << false;
    QTest::newRow("time runs out with a question on the screen") << "time-up" << false;
    QTest::newRow("program gone before the end: nothing kept") << "cut short" << false;
    QTest::newRow("damaged log: set aside, score records written") << "sheet" << true;
}

// Every question judged in a drill lands in the answer log exactly as typed, with the time from its showing
// to the judging request, once the drill has ended and after the score records.
void DrillFormTest::answerLog() {
    QFETCH(QString, ending);
    QFETCH(bool, damagedLog);
    DrillSuite s(3);
    const QString log = answerLogPath(s.suite.programDataFolder());
    if (damagedLog) {
        QFile file(log);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a database");
    }
    QVERIFY(startDrill(s.forms.context));
    // Typed as a pupil might: leading zeros and a trailing minus read as the number and are kept as typed.
    struct Typed {
        QString quotient, remainder;
        qint64 ms;
        bool right;
    };
    QList<Typed> typed;
    QList<Question> asked;
    auto answer = [&](const QString& quotient, const QString& remainder, int thinkMs) {
        s.clock().advanceMs(thinkMs);
        asked << s.drill()->question();
        test::typeText(s.window(), quotient);
        test::typeKey(s.window(), Qt::Key_Space);
        test::typeText(s.window(), remainder);
        test::typeKey(s.window(), Qt::Key_Space);
    };
    for (int k = 0; k < 3; ++k) {
        const Question q = s.drill()->question();
        const QString quotient = QStringLiteral("0") + QString::number(q.quotient);
        const QString remainder = QString::number(q.remainder) + u'-';
        answer(quotient, remainder, 2000 + 500 * k);
        typed << Typed{quotient, remainder, 2000 + 500 * k, true};
    }
    {
        // A wrong one: its time is the first judging request's, whatever the correction takes.
        const Question q = s.drill()->question();
        answer(QString::number(q.quotient + 1), QString::number(q.remainder), 7000);
        typed << Typed{QString::number(q.quotient + 1), QString::number(q.remainder), 7000, false};
        s.clock().advanceMs(3000);
        test::typeText(s.window(), QStringLiteral("++"));
    }
    QPointer<DrillForm> form = s.drill();
    if (ending == u"cut short") {
        s.forms.window.unload(FormId::MainFrm);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!form);
        QVERIFY(!QFile::exists(log));
        return;
    }
    if (ending == u"time-up") {
        asked << s.drill()->question(); // still on the screen
        s.clock().advanceMs(3600 * 1000);
        s.tick();
    } else {
        // Two counted answers are left after the mistake: eight more finish the sheet.
        for (int k = 0; k < 8; ++k) {
            const Question q = s.drill()->question();
            answer(QString::number(q.quotient), QString::number(q.remainder), 1000);
            typed << Typed{QString::number(q.quotient), QString::number(q.remainder), 1000, true};
        }
    }
    QVERIFY(s.forms.shown<ResultScreen>(FormId::FrmSyuuryou));
    const int result = s.state().drill.finalTime;
    QCOMPARE(result, ending == u"time-up" ? 99999 : static_cast<int>(s.state().drill.elapsedSeconds));
    QCOMPARE(test::readBytes(s.suite.programDataFolder() + kScoreFileName).size(), kScoreRecordLength);
    QCOMPARE(test::readBytes(s.suite.commonFolder() + kHomeScoreFileName).size(), kHomeScoreRecordLength);
    if (damagedLog) {
        const QStringList aside =
            QDir(s.suite.programDataFolder()).entryList({QStringLiteral("解答記録.db.damaged-*")});
        QCOMPARE(aside.size(), 1);
        QCOMPARE(test::readBytes(s.suite.programDataFolder() + aside[0]), QByteArray("not a database"));
    }

    AnswerDatabase db;
    QVERIFY(db.open(log, AnswerDatabase::Access::Read, s.clock().now()));
    std::vector<LoggedAnswer> rows;
    QVERIFY(db.readAnswers(0, &rows));
    QCOMPARE(rows.size(), static_cast<size_t>(asked.size()));
    for (int k = 0; k < asked.size(); ++k) {
        const LoggedAnswer& row = rows[static_cast<size_t>(k)];
        QCOMPARE(row.pupil, 3);
        QCOMPARE(row.level, 3);
        QCOMPARE(row.drillStart, QDateTime(QDate(2024, 4, 10), QTime(10, 0)));
        QCOMPARE(row.number, k + 1);
        QCOMPARE(row.question, asked[k]);
        if (k < typed.size()) {
            QCOMPARE(row.typedQuotient, typed[k].quotient);
            QCOMPARE(row.typedRemainder, typed[k].remainder);
            QCOMPARE(row.correct, typed[k].right ? 1 : 0);
            QCOMPARE(row.ms, typed[k].ms);
        } else {
            QCOMPARE(row.correct, -1);
        }
    }
    // The drill itself, as the score file has it.
    sqlite3* raw = nullptr;
    QCOMPARE(sqlite3_open(log.toUtf8().constData(), &raw), SQLITE_OK);
    sqlite3_stmt* drill = nullptr;
    sqlite3_prepare_v2(raw, "SELECT pupil, level, start, result FROM drills", -1, &drill, nullptr);
    QCOMPARE(sqlite3_step(drill), SQLITE_ROW);
    QCOMPARE(sqlite3_column_int(drill, 0), 3);
    QCOMPARE(sqlite3_column_int(drill, 1), 3);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(drill, 2))),
             QByteArray("2024-04-10 10:00:00"));
    QCOMPARE(sqlite3_column_int(drill, 3), result);
    QCOMPARE(sqlite3_step(drill), SQLITE_DONE);
    sqlite3_finalize(drill);
    sqlite3_close(raw);
}

WARIZAN_FORMS_TEST_MAIN(DrillFormTest)
#include "tst_drill_form.moc"
