#pragma once

#include "report/pages/report_painter.h"

#include <QDate>
#include <functional>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace warizan {

// A page the printed report ends with, after its sections: given the painter and the page's size in device
// units, it draws one page.
using ReportPagePainter = std::function<void(QPainter& painter, QSizeF pageSize)>;

// Paints the report on a printer or PDF page by page, A4 portrait, in the printed style: the sections three
// to a page, then each of `closingPages` on a page of its own. Returns false when the device cannot be
// painted on (nothing was written). When `drawn` is given, it receives every item of the sections drawn,
// with its page.
[[nodiscard]] bool printReport(QPagedPaintDevice& device, const ReportDocument& report,
                               const std::vector<ReportPagePainter>& closingPages = {},
                               ReportDrawnItems* drawn = nullptr);

} // namespace warizan
