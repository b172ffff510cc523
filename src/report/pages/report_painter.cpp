#include "report/pages/report_painter.h"

#include <QFont>
#include <QPainter>
#include <QPainterPathStroker>
#include <QPen>

#include <algorithm>

namespace warizan {

namespace {

const QColor kBestColour(255, 0, 0);
const QColor kOtherColour(0, 0, 255);
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;

// The report's fixed-pitch Japanese face: the figures block lines up with full-width blanks.
QFont reportFont(double points) {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic")});
    font.setPointSizeF(points);
    return font;
}

// The section as it is drawn: every text and mark goes through here, which paints it and keeps where it
// went, so that a later label can be left out rather than drawn over what is already there.
class SectionCanvas final {
public:
    SectionCanvas(QPainter& painter, int slot)
        : m_painter(painter)
        , m_slot(slot) {}

    const ReportDrawnItems& items() const { return m_items; }

    // The box `text` takes in the painter's font with its top-left corner at `at`.
    QRectF box(QPointF at, const QString& text) const {
        return m_painter.boundingRect(QRectF(at, QSizeF(1e6, 1e6)), kTextFlags, text);
    }

    // Sets the font of `points`, made smaller where `text` in it would not fit `room`.
    void setFittedFont(double points, const QString& text, QSizeF room) {
        QFont font = reportFont(points);
        m_painter.setFont(font);
        for (int attempt = 0; attempt < 4; ++attempt) {
            const QRectF taken = box(QPointF(), text);
            const double factor =
                std::min({room.height() / taken.height(), room.width() / taken.width(), 1.0});
            if (factor >= 1 || room.isEmpty())
                return;
            font.setPointSizeF(font.pointSizeF() * factor * 0.98);
            m_painter.setFont(font);
        }
    }

    void text(const QRectF& box, const QString& text, int run = 0, int slot = kThisSection) {
        m_painter.setPen(Qt::black);
        m_painter.drawText(box, kTextFlags, text);
        ReportDrawnItem item;
        item.kind = ReportDrawnItem::Kind::Text;
        item.rect = box;
        item.text = text;
        item.slot = slot == kThisSection ? m_slot : slot;
        item.run = run;
        m_items.push_back(item);
    }

    // Draws a chart label of `run` (0: of the chart itself) when it lies inside `area` and covers no text
    // and no mark but its own run's; otherwise draws nothing and says so.
    bool label(const QRectF& box, const QString& text, int run, const QRectF& area) {
        if (!area.contains(box))
            return false;
        for (const ReportDrawnItem& item : m_items) {
            const bool covers = item.kind == ReportDrawnItem::Kind::Text
                                    ? item.rect.intersects(box)
                                    : (item.run == 0 || item.run != run) && item.rect.intersects(box) &&
                                          item.shape.intersects(box);
            if (covers)
                return false;
        }
        this->text(box, text, run);
        return true;
    }

    // Lines end flat at their points, so a stroke never reaches past the ends it is drawn between.
    void line(QPointF from, QPointF to, const QColor& colour, double width) {
        QPen pen(colour, width);
        pen.setCapStyle(Qt::FlatCap);
        QPainterPath path(from);
        path.lineTo(to);
        QPainterPathStroker stroker(pen);
        m_painter.setPen(pen);
        m_painter.drawLine(from, to);
        mark(stroker.createStroke(path), 0);
    }

    void fill(const QPainterPath& shape, const QColor& colour, int run) {
        m_painter.fillPath(shape, colour);
        mark(shape, run);
    }

    static constexpr int kThisSection = -2;

private:
    void mark(const QPainterPath& shape, int run) {
        ReportDrawnItem item;
        item.kind = ReportDrawnItem::Kind::Mark;
        item.shape = shape;
        item.rect = shape.boundingRect();
        item.slot = m_slot;
        item.run = run;
        m_items.push_back(item);
    }

    QPainter& m_painter;
    int m_slot = 0;
    ReportDrawnItems m_items;
};

} // namespace

double reportSectionTop(int slot, double height) {
    return 0.05 * height + slot * 0.3 * height;
}

void drawReportSection(QPainter& painter, QSizeF size, int slot, const ReportSection& section,
                       const QString& title, const QString& pupilName, const ReportStyle& style,
                       ReportDrawnItems* drawn) {
    const double width = size.width();
    const double u = width / 2;
    const double v = size.height() / 3;
    const double top = reportSectionTop(slot, size.height());
    const double base = style.baseFontPoints;
    const double frame = (style.printer ? 2 : 5) * style.pixelScale;
    // The band between the two frame lines holds the title; the rest of the section down to the next
    // section's frame line holds the chart and the figures. Texts keep a pixel clear of the frame lines.
    const double clear = style.pixelScale;
    const double bandTop = top + frame / 2 + clear;
    const double bandBottom = top + 0.09 * v - frame / 2 - clear;
    const double bodyTop = top + 0.09 * v + frame / 2 + clear;
    const double bodyBottom = top + 0.9 * v - frame / 2 - clear;
    const QRectF body(0, bodyTop, width, bodyBottom - bodyTop);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    SectionCanvas canvas(painter, slot);

    // Marks first, so that the labels can keep clear of them.
    canvas.line(QPointF(0, top), QPointF(width, top), Qt::black, frame);
    canvas.line(QPointF(0, top + 0.09 * v), QPointF(width, top + 0.09 * v), Qt::black, frame);
    const QPointF origin(0.2 * u, top + 0.8 * v);
    canvas.line(origin, QPointF(0.9 * u, origin.y()), Qt::black, style.pixelScale);
    canvas.line(origin, QPointF(origin.x(), top + 0.1 * v), Qt::black, style.pixelScale);

    const auto at = [&](const ReportPoint& p) { return QPointF(p.x * u, top + p.y * v); };
    for (std::size_t i = 1; i < section.bests.size(); ++i)
        canvas.line(at(section.bests[i - 1]), at(section.bests[i]), kBestColour, 3 * style.pixelScale);
    const double dot = 2.5 * style.pixelScale;
    for (const ReportPoint& p : section.points) {
        const QPointF centre = at(p);
        QPainterPath shape;
        if (p.beyondScale) {
            // Slower than the chart's top: a small triangle pointing up, on the top edge.
            const double s = 1.4 * dot;
            shape.moveTo(centre.x(), centre.y() - s);
            shape.lineTo(centre.x() + s, centre.y() + 0.8 * s);
            shape.lineTo(centre.x() - s, centre.y() + 0.8 * s);
            shape.closeSubpath();
        } else {
            shape.addEllipse(centre, dot, dot);
        }
        canvas.fill(shape, p.personalBest ? kBestColour : kOtherColour, p.run);
    }

    // The pupil's name heads the page, above the first section's frame line.
    if (slot == 0) {
        const QPointF nameAt(0.01 * u, 0.02 * v);
        canvas.setFittedFont(3 * base, pupilName,
                             QSizeF(width - nameAt.x(), top - frame / 2 - clear - nameAt.y()));
        canvas.text(canvas.box(nameAt, pupilName), pupilName, 0, -1);
    }

    // The title, between the frame lines; on a small output its type is made smaller to fit the band.
    const QPointF titleAt(0.7 * u, std::max(top + 0.01 * v, bandTop));
    canvas.setFittedFont((style.printer ? 3 : 2) * base, title,
                         QSizeF(width - titleAt.x(), bandBottom - titleAt.y()));
    canvas.text(canvas.box(titleAt, title), title);

    // Figures block: rows as designed, closer where the section would not hold them all, the last half a
    // row lower.
    const QStringList& lines = section.figureLines;
    if (!lines.isEmpty()) {
        double fontPoints = 1.5 * base;
        double row = 0;
        double first = 0;
        double lineHeight = 0;
        for (int attempt = 0; attempt < 4; ++attempt) {
            painter.setFont(reportFont(fontPoints));
            lineHeight = canvas.box(QPointF(), lines.first()).height();
            const double rows = lines.size() - 0.5; // from the first line's top to the last line's top
            row = (style.printer ? 0.06 : 0.08) * v;
            first = std::max(top + 0.05 * v + row, bodyTop);
            if (first + rows * row + lineHeight > bodyBottom) {
                row = (bodyBottom - lineHeight - (top + 0.05 * v)) / (rows + 1);
                first = std::max(top + 0.05 * v + row, bodyTop);
                row = std::min(row, (bodyBottom - lineHeight - first) / rows);
            }
            if (row >= lineHeight || row <= 0)
                break;
            fontPoints *= std::max(row, 0.0) / lineHeight * 0.98;
        }
        double y = first;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                y += i + 1 == lines.size() ? 1.5 * row : row;
            canvas.text(canvas.box(QPointF(1.05 * u, y), lines[i]), lines[i]);
        }
    }

    // Labels of the chart, most important first; one that would cover what is already there is left out.
    if (!section.bests.empty()) {
        painter.setFont(reportFont(base));
        const auto labelAt = [&](double x, double y, const QString& text, int run) {
            return canvas.label(canvas.box(QPointF(x, std::max(y, bodyTop)), text), text, run, body);
        };
        const double dateY = top + 0.815 * v;
        labelAt(0.12 * u, top + 0.79 * v, QStringLiteral("0秒"), 0);
        labelAt(0.12 * u, top + 0.1 * v, QString::number(section.scaleTop) + u'秒', 0);
        const ReportPoint& last = section.points.back();
        labelAt((last.x - 0.025) * u, dateY, section.newestDateText, last.run);
        const ReportPoint& first = section.bests.front();
        labelAt(0.12 * u, top + (first.y - 0.01) * v, first.timeText, first.run);
        labelAt((first.x - 0.025) * u, dateY, first.dateText, first.run);
        // With many bests, every third from the third to the last but two: its date under the axis and its
        // time next to the point, on the first side of it that is free (below and to the left lies nothing
        // earlier, since every earlier run was slower).
        if (section.bests.size() > 5) {
            const double gap = 2 * dot;
            for (std::size_t i = 2; i + 2 < section.bests.size(); i += 3) {
                const ReportPoint& p = section.bests[i];
                const QPointF centre = at(p);
                const QSizeF taken = canvas.box(QPointF(), p.timeText).size();
                const QPointF corners[] = {
                    QPointF(centre.x() - 0.025 * u, centre.y() - 0.06 * v),
                    QPointF(centre.x() - gap - taken.width(), centre.y() + gap),
                    QPointF(centre.x() - gap - taken.width(), centre.y() - gap - taken.height()),
                    QPointF(centre.x() + gap, centre.y() + gap),
                    QPointF(centre.x() + gap, centre.y() - gap - taken.height()),
                };
                for (const QPointF& corner : corners)
                    if (canvas.label(canvas.box(corner, p.timeText), p.timeText, p.run, body))
                        break;
                labelAt((p.x - 0.025) * u, dateY, p.dateText, p.run);
            }
        }
    }
    painter.restore();
    if (drawn)
        drawn->insert(drawn->end(), canvas.items().begin(), canvas.items().end());
}

} // namespace warizan
