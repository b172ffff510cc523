#pragma once

#include "report/report_painter.h"

#include <QDate>
#include <functional>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace warizan {

// A page drawn after the report's sections, on a page of its own: given the painter and the page's size.
using ReportLastPage = std::function<void(QPainter&, QSizeF)>;

// Paints the report on a printer or PDF page by page, A4 portrait, in the printed style. Returns false
// when the device cannot be painted on (nothing was written).
[[nodiscard]] bool printReport(QPagedPaintDevice& device, const ReportDocument& report,
                               const ReportLastPage& lastPage = {});

// Where a report is saved when there is no printer: in the program's data folder, named after the pupil and
// the day, with characters a file name cannot hold replaced.
QString reportPdfPath(const QString& programDataFolder, const QString& pupilName, const QDate& day);

} // namespace warizan
