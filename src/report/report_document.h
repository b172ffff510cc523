#pragma once

#include "report/report_painter.h"

#include <QDate>
#include <vector>

class QPagedPaintDevice;

namespace warizan {

// Paints the report on a printer or PDF page by page, A4 portrait, in the printed style. Returns false
// when the device cannot be painted on (nothing was written).
[[nodiscard]] bool printReport(QPagedPaintDevice& device, const ReportDocument& report);

// Where a report is saved when there is no printer: in the program's data folder, named after the pupil and
// the day, with characters a file name cannot hold replaced.
QString reportPdfPath(const QString& programDataFolder, const QString& pupilName, const QDate& day);

} // namespace warizan
