#pragma once

#include "report/report_figures.h"

#include <QPainterPath>
#include <QRectF>
#include <QSizeF>

class QPainter;

namespace warizan {

// How the report looks on one kind of output: the screen's picture or a printed page.
struct ReportStyle {
    double baseFontPoints = 6;
    bool printer = false; // larger title, tighter rows
    // Device pixels per design pixel (96 to the inch), so that line widths and dots look alike everywhere.
    double pixelScale = 1;
};

inline constexpr int kReportPageFoot = 3;

// One thing the report drew: where, and what it belongs to. The drawing routine lays every text and mark out
// through these, so a caller that asks for them gets exactly what was painted.
struct ReportDrawnItem {
    enum class Kind { Text, Mark };
    Kind kind = Kind::Text;
    QRectF rect;        // a text's box as laid out; a mark's bounds
    QPainterPath shape; // a mark's painted area (a line's stroke, a dot's disc); empty for texts
    QString text;
    // The section's slot on its page (0 to 2); -1 for the page's head (the pupil's name), kReportPageFoot for
    // its foot (the day the report was made).
    int slot = -1;
    int run = 0;  // the plotted run (ReportPoint::run) a dot or label belongs to; 0 for none
    int page = 0; // the page it is on, from 0
};
using ReportDrawnItems = std::vector<ReportDrawnItem>;

// Draws the section in `slot` (0 to 2) of a page of `size` (device units). The pupil's name heads the first
// section of a page. The same routine draws on the screen and on the printer. Texts never overlap: a chart
// label that would cover another text or a mark not its own is left out. When `drawn` is given, every item
// drawn is appended to it (with page 0).
void drawReportSection(QPainter& painter, QSizeF size, int slot, const ReportSection& section,
                       const QString& title, const QString& pupilName, const ReportStyle& style,
                       ReportDrawnItems* drawn = nullptr);

// The top of the section in `slot` (0 to 2) of a page of height `height`.
double reportSectionTop(int slot, double height);

} // namespace warizan
