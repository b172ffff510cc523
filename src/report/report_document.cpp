#include "report/report_document.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace warizan {

bool printReport(QPagedPaintDevice& device, const ReportDocument& report, const ReportLastPage& lastPage) {
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
        drawReportSection(painter, size, reportSectionTop(slot.slot, size.height()), report.sections[i],
                          report.titles[i], report.pupilName, style);
    }
    if (lastPage) {
        device.newPage();
        lastPage(painter, size);
    }
    return painter.end();
}

QString reportPdfPath(const QString& programDataFolder, const QString& pupilName, const QDate& day) {
    QString name = pupilName.trimmed();
    for (QChar& c : name)
        if (c == u'/' || c == u'\\' || c == u':' || c == u'*' || c == u'?' || c == u'"' || c == u'<' ||
            c == u'>' || c == u'|' || c.unicode() < 0x20)
            c = u'_';
    if (name.isEmpty())
        name = QStringLiteral("名前なし");
    return programDataFolder + QStringLiteral("成績レポート_") + name + u'_' + day.toString(QStringLiteral("yyyyMMdd")) +
           QStringLiteral(".pdf");
}

} // namespace warizan
