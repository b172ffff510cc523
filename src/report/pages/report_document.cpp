#include "report/pages/report_document.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace warizan {

namespace {

// "作成日：…" at the foot of a page of sections, right-aligned below the last section, so a page taken out
// of a pile still says when it was printed.
void drawMadeOn(QPainter& painter, QSizeF size, const QDate& madeOn, int page, ReportDrawnItems* drawn) {
    if (!madeOn.isValid())
        return;
    const QString text = QStringLiteral("作成日：") + madeOn.toString(QStringLiteral("yyyy年M月d日"));
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic")});
    font.setPointSizeF(7);
    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QRectF foot(0, size.height() * 0.955, size.width() * 0.98, size.height() * 0.035);
    const QRectF taken = painter.boundingRect(foot, Qt::AlignRight | Qt::AlignVCenter, text);
    painter.drawText(foot, Qt::AlignRight | Qt::AlignVCenter, text);
    painter.restore();
    if (drawn)
        drawn->push_back({ReportDrawnItem::Kind::Text, taken, {}, text, kReportPageFoot, 0, page});
}

} // namespace

bool printReport(QPagedPaintDevice& device, const ReportDocument& report,
                 const std::vector<ReportPagePainter>& closingPages, ReportDrawnItems* drawn) {
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageOrientation(QPageLayout::Portrait);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const QSizeF size(device.width(), device.height());
    ReportStyle style;
    style.printer = true;
    style.pixelScale = device.logicalDpiX() / 96.0;
    int page = 0;
    for (std::size_t i = 0; i < report.placement.size(); ++i) {
        const ReportSlot& slot = report.placement[i];
        for (; page < slot.page; ++page) {
            drawMadeOn(painter, size, report.madeOn, page, drawn);
            device.newPage();
        }
        const std::size_t before = drawn ? drawn->size() : 0;
        drawReportSection(painter, size, slot.slot, report.sections[i], report.titles[i], report.pupilName,
                          style, drawn);
        if (drawn)
            for (std::size_t k = before; k < drawn->size(); ++k)
                (*drawn)[k].page = page;
    }
    bool pageUsed = !report.placement.empty();
    if (pageUsed)
        drawMadeOn(painter, size, report.madeOn, page, drawn);
    for (const ReportPagePainter& closingPage : closingPages) {
        if (pageUsed)
            device.newPage();
        pageUsed = true;
        painter.save();
        closingPage(painter, size);
        painter.restore();
    }
    return painter.end();
}

} // namespace warizan
