#include "report/pages/report_document.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace warizan {

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
        for (; page < slot.page; ++page)
            device.newPage();
        const std::size_t before = drawn ? drawn->size() : 0;
        drawReportSection(painter, size, slot.slot, report.sections[i], report.titles[i], report.pupilName,
                          style, drawn);
        if (drawn)
            for (std::size_t k = before; k < drawn->size(); ++k)
                (*drawn)[k].page = page;
    }
    bool pageUsed = !report.placement.empty();
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
