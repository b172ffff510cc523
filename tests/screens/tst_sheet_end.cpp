#include "answers/answer_database.h"
#include "controls.h"
#include "drill_suite.h"
#include "records/score_record.h"
#include "screens/drill_start.h"
#include "screens/result/result_screen.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtEndian>
#include <sqlite3.h>

using namespace warizan;
using test::control;
using test::DrillSuite;

// The end of a drill driven with real keys: the two score records byte for byte, the answer log with every
// question as typed, the result screen and the next sheet from it.
class SheetEndTest final : public QObject {
    Q_OBJECT
private slots:
    void wholeSheetThroughTheFormOwner_data();
    void wholeSheetThroughTheFormOwner();
    void answerLog_data();
    void answerLog();
};

namespace {

bool visible(const QWidget* w) {
    return w->isVisibleTo(w->window());
}
QByteArray little(double value) {
    QByteArray bytes(8, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// The score record and the home record of pupil 3's run of `result` seconds on level 2, written at `when`.
std::pair<QByteArray, QByteArray> expectedRecords(const QDateTime& when, qint32 result) {
    const double dayValue = QDate(1899, 12, 30).daysTo(when.date());
    const QTime time = when.time();
    const double clock = QTime(0, 0).secsTo(QTime(time.hour(), time.minute(), time.second())) / 86400.0;
    QByteArray fields(8, '\0');
    qToLittleEndian<qint16>(3, fields.data());
    qToLittleEndian<qint16>(2, fields.data() + 2);
    qToLittleEndian<qint32>(result, fields.data() + 4);
    return {little(dayValue) + little(clock) + fields + "12345" + "     " + " 0   " + QByteArray(5, '\0'),
            QByteArray("drill\\").leftJustified(20, ' ') + QByteArray(2, '\0') + little(dayValue) +
                little(clock) + fields + "12345" + QByteArray(15, '\0')};
}

// What was typed for one question of the sheet, and how long the pupil thought before the judging request.
struct Typed {
    QString quotient, remainder;
    qint64 ms;
    bool right;
};

// Types the answers of a sheet as a pupil might and keeps what was asked and typed.
struct SheetTyping {
    explicit SheetTyping(DrillSuite& suite)
        : s(suite) {}
    void answer(const QString& quotient, const QString& remainder, int thinkMs, bool right) {
        s.clock().advanceMs(thinkMs);
        asked << s.drill()->question();
        test::typeText(s.window(), quotient);
        test::typeKey(s.window(), Qt::Key_Space);
        test::typeText(s.window(), remainder);
        test::typeKey(s.window(), Qt::Key_Space);
        typed << Typed{quotient, remainder, thinkMs, right};
    }
    // Three right answers with leading zeros and a trailing minus (read as the number, kept as typed), then
    // a wrong one corrected with "++": its time is the first judging request's, whatever the correction
    // takes.
    void firstFour() {
        for (int k = 0; k < 3; ++k) {
            const Question q = s.drill()->question();
            answer(QStringLiteral("0") + QString::number(q.quotient), QString::number(q.remainder) + u'-',
                   2000 + 500 * k, true);
        }
        const Question q = s.drill()->question();
        answer(QString::number(q.quotient + 1), QString::number(q.remainder), 7000, false);
        s.clock().advanceMs(3000);
        test::typeText(s.window(), QStringLiteral("++"));
    }
    DrillSuite& s;
    QList<Typed> typed;
    QList<Question> asked;
};

// The log's rows of the drill against what was asked and typed; a question asked but never answered is
// logged as unanswered.
void checkLoggedAnswers(const QString& log, const QDateTime& now, const SheetTyping& sheet) {
    AnswerDatabase db;
    QVERIFY(db.open(log, AnswerDatabase::Access::Read, now));
    std::vector<LoggedAnswer> rows;
    QVERIFY(db.readAnswers(0, &rows));
    QCOMPARE(rows.size(), static_cast<size_t>(sheet.asked.size()));
    for (int k = 0; k < sheet.asked.size(); ++k) {
        const LoggedAnswer& row = rows[static_cast<size_t>(k)];
        QCOMPARE(row.pupil, 3);
        QCOMPARE(row.level, 3);
        QCOMPARE(row.drillStart, QDateTime(QDate(2024, 4, 10), QTime(10, 0)));
        QCOMPARE(row.number, k + 1);
        QCOMPARE(row.question, sheet.asked[k]);
        if (k < sheet.typed.size()) {
            QCOMPARE(row.typedQuotient, sheet.typed[k].quotient);
            QCOMPARE(row.typedRemainder, sheet.typed[k].remainder);
            QCOMPARE(row.correct, sheet.typed[k].right ? 1 : 0);
            QCOMPARE(row.ms, sheet.typed[k].ms);
        } else {
            QCOMPARE(row.correct, -1);
        }
    }
}

// The drill itself, as the score file has it.
void checkLoggedDrill(const QString& log, int result) {
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

} // namespace

void SheetEndTest::wholeSheetThroughTheFormOwner_data() {
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<int>("wrongs");
    QTest::newRow("morning, two mistakes") << QDateTime(QDate(2024, 4, 10), QTime(10, 0)) << 2;
    QTest::newRow("across midnight") << QDateTime(QDate(2024, 4, 10), QTime(23, 59, 50)) << 0;
}

void SheetEndTest::wholeSheetThroughTheFormOwner() {
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
    QVERIFY(drill && !control<QTimer>(*drill, "sTimer1")->isActive());
    QCOMPARE(s.state().drill.finalTime, lastTick);
    QCOMPARE(lastTick, static_cast<qint32>(std::nearbyint((10 + wrongs) * 1.5)));
    auto* result = s.forms.shown<ResultScreen>(FormId::FrmSyuuryou);
    QVERIFY(result);
    QCOMPARE(s.forms.window.currentForm(), result);
    QVERIFY(!s.forms.window.isLoaded(FormId::MainFrm) && !s.forms.window.isLoaded(FormId::BASEFRM));
    QCOMPARE(test::shownText(*result, "Label18"), QStringLiteral("今の成績：%1秒").arg(lastTick));
    QVERIFY(s.clock().totalWaitedMs() >= 1000);

    // The two appended records, byte for byte: stamped when written, after the one-second wait.
    const QDateTime written = s.clock().now().addMSecs(-s.clock().totalWaitedMs());
    const auto [record, homeRecord] = expectedRecords(written, lastTick);
    QCOMPARE(test::readBytes(s.suite.programDataFolder() + kScoreFileName), record);
    QCOMPARE(test::readBytes(s.suite.commonFolder() + kHomeScoreFileName), homeRecord);
    if (wrongs == 0)
        QCOMPARE(written.date(), QDate(2024, 4, 11));

    // "もう一度": the next sheet on the same level, its first question unlike the last one.
    const qint32 lastQuotient = s.state().drill.previousQuotient;
    const qint32 lastDivisor = s.state().drill.previousDivisor;
    result->Timer1_Timer();
    QPushButton* again = control<QPushButton>(*result, "Command5");
    QVERIFY(visible(again));
    QTest::mouseClick(again, Qt::LeftButton);
    QVERIFY(s.drill());
    QCOMPARE(s.forms.window.currentForm(), s.drill());
    QVERIFY(s.drill()->question().quotient != lastQuotient && s.drill()->question().divisor != lastDivisor);
    QCOMPARE(s.state().drill.solvedCount, 0);
    QCOMPARE(test::shownText(*s.drill(), "sLabel12"), QStringLiteral("2"));
}

void SheetEndTest::answerLog_data() {
    QTest::addColumn<QString>("ending");  // how the drill ends: sheet, time-up, cut short
    QTest::addColumn<bool>("damagedLog"); // the log's file is no database when the drill ends
    QTest::newRow("whole sheet") << "sheet" << false;
    QTest::newRow("time runs out with a question on the screen") << "time-up" << false;
    QTest::newRow("program gone before the end: nothing kept") << "cut short" << false;
    QTest::newRow("damaged log: set aside, score records written") << "sheet" << true;
}

// Every question judged in a drill lands in the answer log exactly as typed, with the time from its showing
// to the judging request, once the drill has ended and after the score records.
void SheetEndTest::answerLog() {
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
    SheetTyping sheet(s);
    sheet.firstFour();
    QPointer<DrillForm> form = s.drill();
    if (ending == u"cut short") {
        s.forms.window.unload(FormId::MainFrm);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!form);
        QVERIFY(!QFile::exists(log));
        return;
    }
    if (ending == u"time-up") {
        sheet.asked << s.drill()->question(); // still on the screen
        s.clock().advanceMs(3600 * 1000);
        s.tick();
    } else {
        // Two counted answers are left after the mistake: eight more finish the sheet.
        for (int k = 0; k < 8; ++k) {
            const Question q = s.drill()->question();
            sheet.answer(QString::number(q.quotient), QString::number(q.remainder), 1000, true);
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
    checkLoggedAnswers(log, s.clock().now(), sheet);
    if (QTest::currentTestFailed())
        return;
    checkLoggedDrill(log, result);
}

WARIZAN_FORMS_TEST_MAIN(SheetEndTest)
#include "tst_sheet_end.moc"
