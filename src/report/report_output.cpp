#include "report/report_output.h"

#include "platform/printer.h"
#include "report/report_document.h"

#include <QDir>
#include <QFileInfo>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace warizan {

QImage reportScreenImage(const ReportDocument& report, QSize size, double baseFontPoints,
                         ReportDrawnItems* drawn) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    ReportStyle style;
    style.baseFontPoints = baseFontPoints;
    int page = 0;
    for (std::size_t i = 0; i < report.placement.size(); ++i) {
        const ReportSlot& slot = report.placement[i];
        if (slot.page != page) {
            image.fill(Qt::white);
            page = slot.page;
        }
        const std::size_t before = drawn ? drawn->size() : 0;
        drawReportSection(painter, QSizeF(size), slot.slot, report.sections[i], report.titles[i],
                          report.pupilName, style, drawn);
        if (drawn)
            for (std::size_t k = before; k < drawn->size(); ++k)
                (*drawn)[k].page = page;
    }
    return image;
}

PrintOutcome printOrSavePages(Printer& printer, const QString& documentName, const QString& fallbackPdf,
                              const std::function<bool(QPagedPaintDevice&)>& paint) {
    PrintOutcome outcome;
    QString why;
    if (std::unique_ptr<QPagedPaintDevice> job = printer.startJob(documentName, &why)) {
        outcome.printed = paint(*job);
        if (!outcome.printed)
            outcome.error =
                QStringLiteral("プリンター「%1」に印刷できませんでした。").arg(printer.defaultPrinterName());
        return outcome;
    }
    if (!printer.defaultPrinterName().isEmpty()) {
        outcome.error = why;
        return outcome;
    }
    QDir().mkpath(QFileInfo(fallbackPdf).absolutePath());
    bool written = false;
    {
        QPdfWriter writer(fallbackPdf);
        writer.setTitle(documentName);
        written = paint(writer);
    } // the file is complete once the writer is gone
    if (!written || QFileInfo(fallbackPdf).size() == 0) {
        outcome.error = QStringLiteral("プリンターがなく、PDF も %1 に書けませんでした。").arg(fallbackPdf);
        return outcome;
    }
    outcome.pdfPath = fallbackPdf;
    return outcome;
}

PrintOutcome printOrSaveReport(Printer& printer, const ReportDocument& report, const QString& documentName,
                               const QString& fallbackPdf,
                               const std::vector<ReportPagePainter>& closingPages) {
    // Where there is no printer, the report is kept as a PDF the family can print elsewhere.
    return printOrSavePages(printer, documentName, fallbackPdf, [&](QPagedPaintDevice& device) {
        return printReport(device, report, closingPages);
    });
}

} // namespace warizan
