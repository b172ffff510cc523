#include "report/pages/report_document.h"
#include "report/pages/report_output.h"

#include "system_files.h"

#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <set>

using namespace warizan;

namespace {

const QDate kToday(2024, 4, 10);
constexpr int kPupil = 7;

ScoreRecord run(int daysAgo, int level, qint32 result, int pupil = kPupil) {
    ScoreRecord r;
    r.date = dateValue(kToday) - daysAgo;
    r.pupil = static_cast<qint16>(pupil);
    r.level = static_cast<qint16>(level);
    r.result = result;
    return r;
}

// A pupil who practised a lot: on level 1 many bests close together after a run of 1000-1799 s, a run of
// 1800 s or more, a failed run and a timed-out one; on levels 2 to 4 fewer runs, one of them slow.
// `slowFirst` makes the first run the slowest, so the first best sits on the chart's top edge.
ReportDocument busyPupil(bool slowFirst, const QList<qint32>& levelOne = {},
                         const std::vector<int>& levels = {1, 2, 3, 4}) {
    std::vector<ScoreRecord> records;
    int day = 400;
    if (slowFirst)
        records.push_back(run(day--, 1, 1250));
    const QList<qint32> busy = {400,   380, 1500, 350, 300, 320, 290,   260, 2100, 250, 240,
                                99998, 230, 210,  215, 200, 190, 99999, 185, 170,  175, 160,
                                150,   155, 140,  130, 125, 120, 118,   117, 116,  115};
    for (qint32 t : levelOne.isEmpty() ? busy : levelOne)
        records.push_back(run(day--, 1, t));
    for (qint32 t : {500, 450, 99998, 420, 1100, 400, 380})
        records.push_back(run(day--, 2, t));
    for (qint32 t : {90, 85, 95, 80, 70})
        records.push_back(run(day--, 1, t, 8)); // somebody faster
    records.push_back(run(3, 3, 99999));
    records.push_back(run(2, 4, 61));

    ReportRankingFigures ranking;
    ranking.timePlace = QStringLiteral("2");
    ranking.pointsPlace = QStringLiteral("1");
    ranking.pupilPoints = 1234;
    ranking.pointsPupilCount = 2;
    ranking.pointsSum = 1500;
    ReportDocument report;
    report.pupilName = QStringLiteral("たろうたろう");
    report.madeOn = kToday;
    report.placement = reportLayout(levels, 4);
    for (const ReportSlot& slot : report.placement) {
        report.sections.push_back(reportSection(records, kToday, 4, slot.level, kPupil, ranking));
        report.titles.push_back(QStringLiteral("あまりのあるわり算 あまりその%1").arg(slot.level));
    }
    return report;
}

QString describe(const ReportDrawnItem& item) {
    const QRectF r = item.rect;
    return QStringLiteral("%1 page %2 slot %3 run %4 (%5,%6 %7x%8)")
        .arg(item.kind == ReportDrawnItem::Kind::Text ? u'"' + item.text + u'"' : QStringLiteral("mark"))
        .arg(item.page)
        .arg(item.slot)
        .arg(item.run)
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height());
}

} // namespace

// The report's drawing as laid out on the screen's picture and on A4 paper: every text and mark it paints,
// taken from the drawing routine itself.
class ReportLayoutTest final : public QObject {
    Q_OBJECT
private slots:
    void nothingOverlaps_data();
    void nothingOverlaps();
    void closingPagesFollowTheSections_data();
    void closingPagesFollowTheSections();
};

void ReportLayoutTest::nothingOverlaps_data() {
    QTest::addColumn<QString>("output");
    QTest::addColumn<QSize>("size"); // the screen's picture; unused on paper
    QTest::addColumn<bool>("slowFirst");
    QTest::addColumn<QList<qint32>>("levelOne"); // the pupil's times on level 1; empty: the busy pupil's
    // The first best a little under the chart's top: its time label meets the scale's.
    const QList<qint32> nearTheTop = {123, 118, 110, 104, 98, 97, 95, 90};
    const struct {
        const char* name;
        bool slowFirst;
        QList<qint32> levelOne;
    } pupils[] = {
        {"busy", false, {}}, {"first run slow", true, {}}, {"first best near the top", false, nearTheTop}};
    for (const auto& pupil : pupils) {
        // The level menu's picture on a 1024 x 768 screen, on a 1920 x 1080 one, and at 1.5 times the design.
        QTest::addRow("screen 1024x768, %s", pupil.name)
            << "screen" << QSize(700, 614) << pupil.slowFirst << pupil.levelOne;
        QTest::addRow("screen 1920x1080, %s", pupil.name)
            << "screen" << QSize(984, 863) << pupil.slowFirst << pupil.levelOne;
        QTest::addRow("large screen, %s", pupil.name)
            << "screen" << QSize(1050, 921) << pupil.slowFirst << pupil.levelOne;
        QTest::addRow("A4 paper, %s", pupil.name) << "paper" << QSize() << pupil.slowFirst << pupil.levelOne;
    }
}

void ReportLayoutTest::nothingOverlaps() {
    QFETCH(QString, output);
    QFETCH(QSize, size);
    QFETCH(bool, slowFirst);
    QFETCH(QList<qint32>, levelOne);
    // The screen shows the last page: a pupil of the report's first page only.
    const ReportDocument report = busyPupil(
        slowFirst, levelOne, levelOne.isEmpty() ? std::vector<int>{1, 2, 3, 4} : std::vector<int>{1, 2, 3});
    ReportDrawnItems items;
    QSizeF page;
    QImage image;
    if (output == u"screen") {
        image = reportScreenImage(report, size, kReportBaseFontPoints, &items);
        page = image.size();
        // To be looked at, as the level menu's screenshots are.
        if (const QString dir = qEnvironmentVariable("WARIZAN_SCREENSHOT_DIR"); !dir.isEmpty())
            image.save(QStringLiteral("%1/report_%2x%3_%4.png")
                           .arg(dir)
                           .arg(size.width())
                           .arg(size.height())
                           .arg(QString::fromLatin1(QTest::currentDataTag()).section(u',', 1).trimmed()));
    } else {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QPdfWriter writer(dir.filePath(QStringLiteral("report.pdf")));
        QVERIFY(printReport(writer, report, {}, &items));
        page = QSizeF(writer.width(), writer.height());
    }
    const double v = page.height() / 3;
    const auto sectionArea = [&](int slot) {
        if (slot == kReportPageFoot)
            return QRectF(0, 0.95 * page.height(), page.width(), 0.05 * page.height());
        return slot < 0 ? QRectF(0, 0, page.width(), 0.05 * page.height())
                        : QRectF(0, (0.05 + 0.3 * slot) * page.height(), page.width(), 0.3 * page.height());
    };

    std::vector<const ReportDrawnItem*> texts;
    std::vector<const ReportDrawnItem*> marks;
    for (const ReportDrawnItem& item : items)
        (item.kind == ReportDrawnItem::Kind::Text ? texts : marks).push_back(&item);

    // Every section is drawn with its whole figures block and every plotted run.
    for (std::size_t i = 0; i < report.placement.size(); ++i) {
        const ReportSlot& slot = report.placement[i];
        const auto inSection = [&](const ReportDrawnItem* item) {
            return item->page == slot.page && item->slot == slot.slot;
        };
        for (const QString& line : report.sections[i].figureLines)
            QVERIFY2(std::any_of(texts.begin(), texts.end(),
                                 [&](const ReportDrawnItem* t) { return inSection(t) && t->text == line; }),
                     qPrintable(line));
        const auto dots = std::count_if(marks.begin(), marks.end(),
                                        [&](const ReportDrawnItem* m) { return inSection(m) && m->run > 0; });
        QCOMPARE(static_cast<std::size_t>(dots), report.sections[i].points.size());
    }
    QVERIFY(
        std::any_of(texts.begin(), texts.end(), [](const ReportDrawnItem* t) { return t->text == u"0秒"; }));
    // Every printed page says the day it was made, at its foot; the screen's picture does not.
    std::set<int> dated;
    for (const ReportDrawnItem* t : texts)
        if (t->slot == kReportPageFoot &&
            t->text == QStringLiteral("作成日：") + report.madeOn.toString(QStringLiteral("yyyy年M月d日")))
            dated.insert(t->page);
    const int pages = report.placement.empty() ? 0 : report.placement.back().page + 1;
    QCOMPARE(static_cast<int>(dated.size()), output == u"screen" ? 0 : pages);

    // Texts inside their section; marks too, but for the half of a frame line that lies on its edge.
    for (const ReportDrawnItem* text : texts)
        QVERIFY2(sectionArea(text->slot).contains(text->rect), qPrintable(describe(*text)));
    for (const ReportDrawnItem* mark : marks)
        QVERIFY2(sectionArea(mark->slot).adjusted(0, -0.015 * v, 0, 0.015 * v).contains(mark->rect),
                 qPrintable(describe(*mark)));

    // No text over another, nor over a mark that is not its own run's.
    for (std::size_t i = 0; i < texts.size(); ++i)
        for (std::size_t k = i + 1; k < texts.size(); ++k)
            if (texts[i]->page == texts[k]->page)
                QVERIFY2(!texts[i]->rect.intersects(texts[k]->rect),
                         qPrintable(describe(*texts[i]) + u'\n' + describe(*texts[k])));
    for (const ReportDrawnItem* text : texts)
        for (const ReportDrawnItem* mark : marks)
            if (text->page == mark->page && (mark->run == 0 || mark->run != text->run))
                QVERIFY2(!mark->shape.intersects(text->rect),
                         qPrintable(describe(*text) + u'\n' + describe(*mark)));

    // On the screen's picture, which holds the last page: every pixel drawn lies within a pixel of what the
    // drawing handed out, so no text reaches past the box the checks above were made on.
    if (image.isNull())
        return;
    QImage covered(image.size(), QImage::Format_Grayscale8);
    covered.fill(0);
    {
        QPainter mask(&covered);
        mask.setPen(QPen(Qt::white, 3));
        mask.setBrush(Qt::white);
        const int lastPage = report.placement.back().page;
        for (const ReportDrawnItem& item : items) {
            if (item.page != lastPage)
                continue;
            if (item.kind == ReportDrawnItem::Kind::Text)
                mask.fillRect(item.rect.adjusted(-1, -1, 1, 1), Qt::white);
            else
                mask.drawPath(item.shape);
        }
    }
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255) && qGray(covered.pixel(x, y)) == 0)
                QFAIL(qPrintable(QStringLiteral("drawn at %1,%2 outside every item").arg(x).arg(y)));
}

void ReportLayoutTest::closingPagesFollowTheSections_data() {
    QTest::addColumn<std::vector<int>>("levels");
    QTest::addColumn<int>("closingPages");
    QTest::addColumn<int>("pages");
    QTest::newRow("after a full page and one more section") << std::vector<int>{1, 2, 3, 4} << 1 << 3;
    QTest::newRow("two after one section") << std::vector<int>{1} << 2 << 3;
    QTest::newRow("no section: the closing page is the first") << std::vector<int>{} << 1 << 1;
}

void ReportLayoutTest::closingPagesFollowTheSections() {
    QFETCH(std::vector<int>, levels);
    QFETCH(int, closingPages);
    QFETCH(int, pages);
    ReportDocument report = busyPupil(false);
    report.placement = reportLayout(levels, 4);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    int drawn = 0;
    const std::vector<ReportPagePainter> closing(static_cast<std::size_t>(closingPages), [&](QPainter& p,
                                                                                             QSizeF size) {
        QVERIFY(size.width() > 0 && size.height() > 0);
        p.drawText(QPointF(size.width() / 4, size.height() / 4), QStringLiteral("closing %1").arg(++drawn));
    });
    {
        QPdfWriter writer(pdf);
        QVERIFY(printReport(writer, report, closing));
    }
    QCOMPARE(drawn, closingPages);
    if (const QString why = test::cannotRunLinuxTools(); !why.isEmpty())
        QSKIP(qPrintable(why));
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY(info.waitForFinished(60000));
    const QString out = QString::fromUtf8(info.readAllStandardOutput());
    QVERIFY2(out.contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(pages))), qPrintable(out));
    // Each closing page stands alone on the last pages.
    QProcess text;
    text.start(QStringLiteral("pdftotext"),
               {QStringLiteral("-f"), QString::number(pages - closingPages + 1), pdf, QStringLiteral("-")});
    QVERIFY(text.waitForFinished(60000));
    const QString last = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY2(last.contains(QStringLiteral("closing 1")) && !last.contains(QStringLiteral("回数")),
             qPrintable(last));
}

QTEST_MAIN(ReportLayoutTest)
#include "tst_report_layout.moc"
