#include "report/pages/week_page.h"

#include <QPdfWriter>
#include <QTemporaryDir>
#include <QtTest>

using namespace warizan;

namespace {

const QDate kMonday(2024, 4, 8);

// A busy week: drills on five days at three levels, more wrong answers than the page lists, many pairs learnt
// and weak, and the weeks before it; or nothing at all.
WeekPage weekOf(bool busy) {
    std::vector<WeekDrill> drills;
    if (busy) {
        // Before the week a drill on most days, answered slowly; in it two drills a day from Monday to
        // Friday, answered quickly but for every fifth question.
        for (int d = 0; d < 59; ++d) {
            const bool thisWeek = d >= 49;
            if (!thisWeek && d % 4 == 3)
                continue;
            WeekDrill drill;
            const QDate day = thisWeek ? kMonday.addDays((d - 49) / 2) : kMonday.addDays(d - 49);
            drill.start = QDateTime(day, QTime(thisWeek && d % 2 ? 19 : 7, 30));
            drill.level = 1 + d % 3;
            for (int k = 0; k < 12; ++k) {
                LoggedAnswer answer;
                answer.level = drill.level;
                answer.drillStart = drill.start;
                answer.number = k + 1;
                answer.question = {2 + (d + k) % 8, 2 + (k * 3 + d / 3) % 8, drill.level == 1 ? 0 : k % 2};
                answer.correct = thisWeek && k % 5 == 0 ? 0 : 1;
                answer.typedQuotient = QString::number(answer.question.quotient + (answer.correct ? 0 : 11));
                answer.typedRemainder = drill.level == 1 ? QString() : QStringLiteral("1");
                answer.ms = !thisWeek ? 7000 + k * 300 : answer.correct ? 1500 + k * 200 : 18000;
                drill.durationMs += answer.ms;
                drill.answers.push_back(answer);
            }
            drills.push_back(drill);
        }
    }
    WeekPage page;
    page.summary = summarizeWeek(drills, kMonday.addDays(2));
    page.pupilName = busy ? QStringLiteral("ながいなまえのたろうたろう") : QStringLiteral("はなこ");
    page.levelNames = {QString(), QStringLiteral("あまりなし"), QStringLiteral("あまりその1"),
                       QStringLiteral("あまりその2")};
    page.madeOn = QDate(2024, 4, 10);
    return page;
}

QString describe(const WeekDrawnText& text) {
    const QRectF r = text.rect;
    return QStringLiteral("\"%1\" section %2 (%3,%4 %5x%6)")
        .arg(text.text)
        .arg(static_cast<int>(text.section))
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height());
}

} // namespace

// The week's page on the panel's picture and on A4 paper: every text inside its box and its section, none
// over another, the figures and the day it was made among them.
class WeekPageTest final : public QObject {
    Q_OBJECT
private slots:
    void textsStayInside_data();
    void textsStayInside();
};

void WeekPageTest::textsStayInside_data() {
    QTest::addColumn<QSize>("size"); // the screen's picture; empty: A4 paper
    QTest::addColumn<bool>("busy");
    for (const bool busy : {true, false}) {
        const char* week = busy ? "busy week" : "empty week";
        QTest::addRow("screen 1024x768, %s", week) << QSize(700, 614) << busy;
        QTest::addRow("screen 1920x1080, %s", week) << QSize(984, 863) << busy;
        QTest::addRow("A4 paper, %s", week) << QSize() << busy;
    }
}

void WeekPageTest::textsStayInside() {
    QFETCH(QSize, size);
    QFETCH(bool, busy);
    const WeekPage page = weekOf(busy);
    if (busy) { // the week the rows were laid out for
        QVERIFY(page.summary.missed.size() > size_t(kWeekPageMissed));
        QVERIFY(page.summary.becameKnown.size() > 3 && page.summary.weakAtEnd.size() > 3);
    }
    WeekDrawing drawing;
    QRectF sheet;
    if (size.isValid()) {
        const QImage image = weekImage(page, size, 1.0, &drawing);
        sheet = QRectF(QPointF(0, 0), QSizeF(size));
        if (const QString dir = qEnvironmentVariable("WARIZAN_SCREENSHOT_DIR"); !dir.isEmpty())
            image.save(QStringLiteral("%1/week_%2x%3_%4.png")
                           .arg(dir)
                           .arg(size.width())
                           .arg(size.height())
                           .arg(busy ? QStringLiteral("busy") : QStringLiteral("empty")));
    } else {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QPdfWriter writer(dir.filePath(QStringLiteral("week.pdf")));
        QVERIFY(printWeek(writer, page, &drawing));
        sheet = QRectF(0, 0, writer.width(), writer.height());
        if (const QString keep = qEnvironmentVariable("WARIZAN_KEEP_PDF"); !keep.isEmpty())
            QFile::copy(dir.filePath(QStringLiteral("week.pdf")),
                        QStringLiteral("%1/week_a4_%2.pdf")
                            .arg(keep, busy ? QStringLiteral("busy") : QStringLiteral("empty")));
    }
    for (const QRectF& section : drawing.sections)
        QVERIFY(sheet.contains(section));
    const auto& texts = drawing.texts;
    for (const WeekDrawnText& text : texts) {
        QVERIFY2(text.box.contains(text.rect), qPrintable(describe(text)));
        QVERIFY2(drawing.sections[static_cast<size_t>(text.section)].contains(text.rect),
                 qPrintable(describe(text)));
    }
    for (size_t i = 0; i < texts.size(); ++i)
        for (size_t k = i + 1; k < texts.size(); ++k)
            QVERIFY2(!texts[i].rect.intersects(texts[k].rect),
                     qPrintable(describe(texts[i]) + u'\n' + describe(texts[k])));

    const auto drawn = [&](const QString& text) {
        return std::any_of(texts.begin(), texts.end(),
                           [&](const WeekDrawnText& t) { return t.text == text; });
    };
    QVERIFY(drawn(QStringLiteral("作成日：2024年4月10日")));
    QVERIFY(drawn(QStringLiteral("2024年4月8日（月）～4月14日（日）")));
    const WeekFigures& week = page.summary.week;
    QVERIFY(drawn(QStringLiteral("%1問").arg(week.answers)));
    if (!busy) {
        QVERIFY(drawn(QStringLiteral("まちがえた問題：なし")));
        return;
    }
    QVERIFY(drawn(QStringLiteral("%1日／7日").arg(week.days)));
    // Twenty of the week's wrong answers are listed, the newest first, and the rest counted.
    QVERIFY(drawn(QStringLiteral("ほか %1 問").arg(page.summary.missed.size() - kWeekPageMissed)));
    const MissedAnswer& newest = page.summary.missed.front();
    QVERIFY(drawn(QStringLiteral("%1÷%2").arg(newest.question.dividend()).arg(newest.question.divisor)));
    const FactPair learnt = page.summary.becameKnown.front();
    QVERIFY(std::any_of(texts.begin(), texts.end(), [&](const WeekDrawnText& t) {
        return t.text.startsWith(
            QStringLiteral("%1÷%2").arg(learnt.quotient * learnt.divisor).arg(learnt.divisor));
    }));
}

QTEST_MAIN(WeekPageTest)
#include "tst_week_page.moc"
