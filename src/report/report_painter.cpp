#include "report/report_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

#include <algorithm>

namespace warizan {

namespace {

const QColor kBestColour(255, 0, 0);
const QColor kOtherColour(0, 0, 255);

// The report's fixed-pitch Japanese face: the figures block lines up with full-width blanks.
QFont reportFont(double points) {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic")});
    font.setPointSizeF(points);
    return font;
}

// Writes text with its top-left corner at the point, as the report places every label.
void writeAt(QPainter& painter, double x, double y, const QString& text) {
    painter.drawText(QRectF(x, y, 1e6, 1e6), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

} // namespace

double reportSectionTop(int slot, double height) {
    return 0.05 * height + slot * 0.3 * height;
}

void drawReportSection(QPainter& painter, QSizeF size, double top, const ReportSection& section,
                       const QString& title, const QString& pupilName, const ReportStyle& style) {
    const double u = size.width() / 2;
    const double v = size.height() / 3;
    const double base = style.baseFontPoints;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, style.pixelScale));

    if (top < 0.08 * size.height()) {
        painter.setFont(reportFont(3 * base));
        writeAt(painter, 0.01 * u, 0.02 * v, pupilName);
    }

    // Frame and title. The title stands in the band between the two frame lines; on a small picture its
    // type is made smaller rather than let the lines cross it.
    const double frame = (style.printer ? 2 : 5) * style.pixelScale;
    painter.setPen(QPen(Qt::black, frame));
    painter.drawLine(QPointF(0, top), QPointF(size.width(), top));
    painter.drawLine(QPointF(0, top + 0.09 * v), QPointF(size.width(), top + 0.09 * v));
    painter.setPen(QPen(Qt::black, style.pixelScale));
    QFont titleFont = reportFont((style.printer ? 3 : 2) * base);
    const double band = 0.09 * v - frame;
    const double height = QFontMetricsF(titleFont, painter.device()).height();
    if (height > band && band > 0)
        titleFont.setPointSizeF(titleFont.pointSizeF() * band / height);
    painter.setFont(titleFont);
    writeAt(painter, 0.7 * u, std::max(top + 0.01 * v, top + frame / 2), title);

    // Axes.
    const QPointF origin(0.2 * u, top + 0.8 * v);
    painter.drawLine(origin, QPointF(0.9 * u, top + 0.8 * v));
    painter.drawLine(origin, QPointF(0.2 * u, top + 0.1 * v));

    // The runs, bests joined by a line.
    const auto at = [&](const ReportPoint& p) { return QPointF(p.x * u, top + p.y * v); };
    if (section.bests.size() > 1) {
        painter.setPen(QPen(kBestColour, 3 * style.pixelScale));
        for (std::size_t i = 1; i < section.bests.size(); ++i)
            painter.drawLine(at(section.bests[i - 1]), at(section.bests[i]));
    }
    const double dot = 2.5 * style.pixelScale;
    painter.setPen(Qt::NoPen);
    for (const ReportPoint& p : section.points) {
        painter.setBrush(p.personalBest ? kBestColour : kOtherColour);
        painter.drawEllipse(at(p), dot, dot);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, style.pixelScale));

    // Figures block.
    const double fontPoints = 1.5 * base;
    const double row = (style.printer ? 0.06 : 0.08) * v;
    painter.setFont(reportFont(fontPoints));
    double y = top + 0.05 * v;
    for (qsizetype i = 0; i < section.figureLines.size(); ++i) {
        y += i + 1 == section.figureLines.size() ? 1.5 * row : row;
        writeAt(painter, 1.05 * u, y, section.figureLines[i]);
    }

    // Labels of the chart.
    painter.setFont(reportFont(base));
    if (!section.bests.empty()) {
        writeAt(painter, section.points.back().x * u - 0.025 * u, top + 0.815 * v, section.newestDateText);
        writeAt(painter, 0.12 * u, top + 0.79 * v, QStringLiteral("0秒"));
        writeAt(painter, 0.12 * u, top + 0.1 * v, QString::number(section.scaleTop) + u'秒');
        const ReportPoint& first = section.bests.front();
        writeAt(painter, 0.12 * u, top + (first.y - 0.01) * v, first.timeText);
        writeAt(painter, (first.x - 0.025) * u, top + 0.815 * v, first.dateText);
        // With many bests, every third from the third to the last but two: its time just above the point
        // and its date under the axis.
        if (section.bests.size() > 5) {
            for (std::size_t i = 2; i + 2 < section.bests.size(); i += 3) {
                const ReportPoint& p = section.bests[i];
                writeAt(painter, (p.x - 0.025) * u, top + (p.y - 0.06) * v, p.timeText);
                writeAt(painter, (p.x - 0.025) * u, top + 0.815 * v, p.dateText);
            }
        }
    }
    painter.restore();
}

} // namespace warizan
