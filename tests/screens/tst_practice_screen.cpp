#include "answers/answer_database.h"
#include "answers/kept_answers.h"
#include "controls.h"
#include "menu_suite.h"
#include "records/score_record.h"
#include "screens/drill/drill_form.h"
#include "screenshot.h"

#include <QLabel>
#include <QPushButton>

using namespace warizan;
using test::control;

// A 苦手れんしゅう sheet from the level menu through the drill form with real keys: its questions, the
// question that comes back, the short result, the answer log, and score files left byte for byte as they
// were.
class PracticeScreenTest final : public QObject {
    Q_OBJECT
private slots:
    void wholeSheet_data();
    void wholeSheet();
};

namespace {

bool visible(const QWidget* w) {
    return w->isVisibleTo(w->window());
}

// Pupil 1's earlier drill on level 2: 3x4 wrong (weak), 2x8 right twice in 2 s (learning).
void writeEarlierDrill(const QString& folder) {
    DrillRecorder recorder;
    const QDateTime start(QDate(2024, 4, 9), QTime(17, 0));
    recorder.start(1, 2, start);
    const Question asked[] = {{3, 4, 1}, {2, 8, 3}, {2, 8, 0}};
    qint64 ms = 0;
    for (const Question& q : asked) {
        recorder.questionShown(q, ms);
        ms += 2000;
        const bool right = q.quotient == 2;
        recorder.judged(QString::number(right ? q.quotient : 9), QString::number(q.remainder), right, ms);
    }
    QVERIFY(keepDrillLog(folder, recorder.finish(start.addSecs(10), 99999), start.addSecs(10)));
}

} // namespace

void PracticeScreenTest::wholeSheet_data() {
    QTest::addColumn<bool>("answered"); // the pupil has answers in the log
    QTest::addColumn<bool>("byKey");    // "P" rather than the button
    QTest::newRow("no answers yet, by the button") << false << false;
    QTest::newRow("a weak and a learning pair, by the key") << true << true;
}

void PracticeScreenTest::wholeSheet() {
    QFETCH(bool, answered);
    QFETCH(bool, byKey);
    test::MenuSuite s;
    if (answered)
        writeEarlierDrill(s.suite.programDataFolder());
    LevelMenuScreen& menu = s.showMenu(1, test::kMenuFamilyRuns);
    ProgramState& state = *s.forms.test.state;
    // A kept-runs list of this test's own: the tests running beside it keep theirs in the shared one.
    QTemporaryDir keptFolder;
    state.config.pendingRunsFile = keptFolder.filePath(QStringLiteral("保存待ちの成績.jsonl"));
    const QString scoreFile = s.suite.programDataFolder() + kScoreFileName;
    const QString homeFile = s.suite.commonFolder() + kHomeScoreFileName;
    const QByteArray scores = test::readBytes(scoreFile);
    const QByteArray homeScores = test::readBytes(homeFile);
    QVERIFY(!scores.isEmpty() && !homeScores.isEmpty());
    const QString today = test::shownText(menu, "Label18");

    QPushButton* button = control<QPushButton>(menu, "CommandPractice");
    QCOMPARE(button->text(), QStringLiteral("苦手れんしゅう(P)"));
    QVERIFY(visible(button));
    test::saveScreenshot(s.forms.window, QStringLiteral("practice_menu"));
    if (byKey)
        test::typeText(s.forms.window, QStringLiteral("p"));
    else
        QTest::mouseClick(button, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    DrillForm* drill = s.forms.shown<DrillForm>(FormId::MainFrm);
    QVERIFY(drill);
    QCOMPARE(s.forms.window.currentForm(), drill);
    QVERIFY(!s.forms.window.isLoaded(FormId::seisekitime1));
    QCOMPARE(test::shownText(*drill, "sLabel2"), QStringLiteral("苦手れんしゅう"));
    QCOMPARE(test::shownText(*drill, "sLabel8"), state.levels.levelName[answered ? 2 : 1]);
    QCOMPARE(test::shownText(*drill, "sLabel9"), QStringLiteral("10"));
    QVERIFY(!visible(control<QWidget>(*drill, "sShape5"))); // no time bar: no limit
    QCOMPARE(visible(control<QLabel>(*drill, "lblPracticeStart")), !answered);
    test::saveScreenshot(s.forms.window, answered ? QStringLiteral("practice_start")
                                                  : QStringLiteral("practice_start_no_answers"));

    // Every question right in 2 s but the first appearance of 3x4, which is corrected with "++" and comes
    // back at the end; the clock counts up past any limit a drill would have.
    const bool remainder = answered;
    QList<Question> asked;
    bool wrongDone = false;
    int wrongAt = -1;
    for (int n = 0; n < 12 && s.forms.shown<DrillForm>(FormId::MainFrm) &&
                    !visible(control<QWidget>(*drill, "PracticeResult"));
         ++n) {
        const Question q = drill->question();
        asked << q;
        s.forms.test.clock.advanceMs(2000);
        drill->sTimer1_Timer();
        const bool wrong = answered && !wrongDone && q.quotient == 3 && q.divisor == 4;
        wrongDone = wrongDone || wrong;
        if (wrong)
            wrongAt = n;
        test::typeText(s.forms.window, QString::number(wrong ? 9 : q.quotient));
        if (remainder) {
            test::typeKey(s.forms.window, Qt::Key_Space);
            test::typeText(s.forms.window, QString::number(q.remainder));
        }
        test::typeKey(s.forms.window, Qt::Key_Space);
        if (wrong) {
            QCOMPARE(test::shownText(*drill, "sLabel9"), QStringLiteral("%1").arg(11 - n));
            test::typeText(s.forms.window, QStringLiteral("++"));
        }
        if (n == 0)
            s.forms.test.clock.advanceMs(600 * 1000); // ten minutes of thinking: no time-up
    }
    QCOMPARE(asked.size(), answered ? 11 : 10);
    QCOMPARE(wrongDone, answered);
    for (int k = 1; k < asked.size(); ++k)
        QVERIFY(asked[k].quotient != asked[k - 1].quotient || asked[k].divisor != asked[k - 1].divisor);
    if (answered) {
        QCOMPARE(asked.last().quotient * 10 + asked.last().divisor, 34); // the extra at the end
    }

    // The short result.
    QVERIFY(visible(control<QWidget>(*drill, "PracticeResult")));
    const QString targets = test::shownText(*drill, "lblPracticeTargets");
    const QString risen = test::shownText(*drill, "lblPracticeRisen");
    const QString note = test::shownText(*drill, "lblPracticeNote");
    if (answered) {
        QVERIFY2(targets.contains(QStringLiteral("◆ ÷4 で 商3 の組")), qPrintable(targets));
        QVERIFY2(targets.contains(QStringLiteral("＝ 9 あまり")) && targets.contains(QStringLiteral("×")),
                 qPrintable(targets));
        QVERIFY2(targets.contains(QStringLiteral("◆ ÷8 で 商2 の組")), qPrintable(targets));
        QVERIFY2(risen.contains(QStringLiteral("おぼえた！　÷8\u00A0で\u00A0商2")), qPrintable(risen));
        QVERIFY(!risen.contains(QStringLiteral("商3")));
    } else {
        QVERIFY2(targets.contains(QStringLiteral("◆ ÷2 で 商2 の組")), qPrintable(targets));
        QVERIFY2(risen.contains(QStringLiteral("のびた！")), qPrintable(risen));
        QVERIFY(note.contains(QStringLiteral("まだ答えの記録がなかった")));
    }
    test::saveScreenshot(s.forms.window, answered ? QStringLiteral("practice_result")
                                                  : QStringLiteral("practice_result_no_answers"));

    // The log holds the sheet as a practice, its result the seconds it took.
    AnswerDatabase db;
    QVERIFY(db.open(answerLogPath(s.suite.programDataFolder()), AnswerDatabase::Access::Read,
                    s.forms.test.clock.now()));
    std::vector<LoggedAnswer> rows;
    QVERIFY(db.readAnswers(1, &rows));
    const size_t earlier = answered ? 3 : 0;
    QCOMPARE(rows.size(), earlier + static_cast<size_t>(asked.size()));
    for (size_t k = earlier; k < rows.size(); ++k) {
        const LoggedAnswer& row = rows[k];
        QCOMPARE(row.kind, DrillKind::Practice);
        QCOMPARE(row.level, answered ? 2 : 1);
        QCOMPARE(row.question, asked[static_cast<int>(k - earlier)]);
        QCOMPARE(row.ms, k == earlier + 1 ? qint64(602000) : qint64(2000));
        QCOMPARE(row.correct, static_cast<int>(k - earlier) == wrongAt ? 0 : 1);
        QCOMPARE(row.result, static_cast<qint32>(2 * asked.size() + 600));
    }
    // Nothing went to the score files, and nothing is left waiting.
    QCOMPARE(test::readBytes(scoreFile), scores);
    QCOMPARE(test::readBytes(homeFile), homeScores);
    std::vector<PendingRun> kept;
    QString why;
    QVERIFY(readPendingRuns(state.config.pendingRunsFile, &kept, &why));
    QCOMPARE(kept.size(), size_t(0));

    // Back to the level menu, which counts the same runs as before.
    test::typeKey(s.forms.window, Qt::Key_Return);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    auto* back = s.forms.shown<LevelMenuScreen>(FormId::seisekitime1);
    QVERIFY(back);
    QCOMPARE(s.forms.window.currentForm(), back);
    QVERIFY(!s.forms.window.isLoaded(FormId::MainFrm));
    QCOMPARE(test::shownText(*back, "Label18"), today);
}

WARIZAN_FORMS_TEST_MAIN(PracticeScreenTest)
#include "tst_practice_screen.moc"
