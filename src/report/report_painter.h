#pragma once

#include "report/report_figures.h"

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

// Draws one section whose top lies at `top` on an output of `size` (device units). The pupil's name heads
// the first section of a page. The same routine draws on the screen and on the printer.
void drawReportSection(QPainter& painter, QSizeF size, double top, const ReportSection& section,
                       const QString& title, const QString& pupilName, const ReportStyle& style);

// The top of the section in `slot` (0 to 2) of a page of height `height`.
double reportSectionTop(int slot, double height);

} // namespace warizan
