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

ReportPrintOutcome printOrSaveReport(Printer& printer, const ReportDocument& report,
                                     const QString& documentName, const QString& fallbackPdf,
                                     const std::vector<ReportPagePainter>& closingPages) {
    ReportPrintOutcome outcome;
    QString why;
    if (std::unique_ptr<QPagedPaintDevice> job = printer.startJob(documentName, &why)) {
        outcome.printed = printReport(*job, report, closingPages);
        if (!outcome.printed)
            outcome.error =
                QStringLiteral("プリンター「%1」に印刷できませんでした。").arg(printer.defaultPrinterName());
        return outcome;
    }
    if (!printer.defaultPrinterName().isEmpty()) {
        outcome.error = why;
        return outcome;
    }
    // No printer at all: the report is kept as a PDF the family can print elsewhere.
    QDir().mkpath(QFileInfo(fallbackPdf).absolutePath());
    bool written = false;
    {
        QPdfWriter writer(fallbackPdf);
        writer.setTitle(documentName);
        written = printReport(writer, report, closingPages);
    } // the file is complete once the writer is gone
    if (!written || QFileInfo(fallbackPdf).size() == 0) {
        outcome.error = QStringLiteral("プリンターがなく、PDF も %1 に書けませんでした。").arg(fallbackPdf);
        return outcome;
    }
    outcome.pdfPath = fallbackPdf;
    return outcome;
}

} // namespace warizan
