#include "report/pages/report_output.h"

#include "platform/gui/printer.h"
#include "platform/shown_path.h"
#include "report/pages/report_document.h"

#include <QDir>
#include <QFileInfo>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace warizan {

QImage reportScreenImage(const ReportDocument& report, QSize size, double baseFontPoints,
                         ReportDrawnItems* drawn, qreal devicePixelRatio) {
    QImage image(size * devicePixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
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

namespace {

// Makes a new empty file at `wanted` or, when that name is taken, at the first free numbered name beside it,
// and returns its path; empty when none could be made (`why` says why). The file is created only where no
// file is, in one step of the system (another copy of the program saving at the same moment takes the
// next number), so nothing that is there is ever opened for writing.
QString reserveFreshFile(const QString& wanted, QString* why) {
    const QFileInfo info(wanted);
    const QString stem = info.dir().filePath(info.completeBaseName());
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    constexpr int kLastNumber = 999;
    for (int number = 1; number <= kLastNumber; ++number) {
        const QString path =
            number == 1 ? wanted : QStringLiteral("%1(%2)%3").arg(stem).arg(number).arg(suffix);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return path;
        if (!QFileInfo::exists(path)) {
            *why = file.errorString();
            return {};
        }
    }
    *why = QStringLiteral("同じ名前のファイルが多すぎます");
    return {};
}

} // namespace

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
    QString whyNoFile;
    const QString pdf = reserveFreshFile(fallbackPdf, &whyNoFile);
    bool written = false;
    if (!pdf.isEmpty()) {
        QPdfWriter writer(pdf);
        writer.setTitle(documentName);
        written = paint(writer);
    } // the file is complete once the writer is gone
    if (!written || QFileInfo(pdf).size() == 0) {
        if (!pdf.isEmpty())
            QFile::remove(pdf); // only the empty file made for this sheet
        outcome.error = QStringLiteral("プリンターがなく、PDF も %1 に書けませんでした。")
                            .arg(shownPath(pdf.isEmpty() ? fallbackPdf : pdf));
        if (!whyNoFile.isEmpty())
            outcome.error += QStringLiteral("（%1）").arg(whyNoFile);
        return outcome;
    }
    outcome.pdfPath = pdf;
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
