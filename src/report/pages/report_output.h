#pragma once

#include "report/pages/report_document.h"
#include "report/pages/report_painter.h"

#include <QImage>
#include <functional>

namespace warizan {

class Printer;

// The report as the screen shows it: drawn section by section in the screen's style; a page that fills up
// is cleared and drawing goes on, as on paper, so the picture holds the last page. `size` is in logical
// pixels; the image has the screen's `devicePixelRatio`, so it stays sharp at 150 % and 200 %. When `drawn`
// is given, it receives every item drawn (in logical pixels), with its page.
QImage reportScreenImage(const ReportDocument& report, QSize size, double baseFontPoints,
                         ReportDrawnItems* drawn = nullptr, qreal devicePixelRatio = 1.0);

struct PrintOutcome {
    bool printed = false; // went to the default printer
    QString pdfPath;      // saved here instead, there being no printer
    QString error;        // Japanese; neither worked
};

// Prints the pages `paint` draws on the default printer, or keeps them as a PDF when there is no printer: as
// `fallbackPdf`, or, when a file of that name is there already (a second sheet of the same day), as the
// first free "name(2).pdf", "name(3).pdf"...; an earlier file is never replaced. `paint` returns false when
// the device cannot be painted on. Never fails silently.
PrintOutcome printOrSavePages(Printer& printer, const QString& documentName, const QString& fallbackPdf,
                              const std::function<bool(QPagedPaintDevice&)>& paint);

// Prints the report on the default printer; where there is none, saves it as a PDF at `fallbackPdf` (or a
// numbered name beside it, as above). Never fails silently: the outcome says which happened.
// `closingPages` are printed after the sections, each on a page of its own.
PrintOutcome printOrSaveReport(Printer& printer, const ReportDocument& report, const QString& documentName,
                               const QString& fallbackPdf,
                               const std::vector<ReportPagePainter>& closingPages = {});

} // namespace warizan
