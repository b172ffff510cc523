#include "report/pages/worksheet_document.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace warizan {

namespace {

constexpr int kRowsPerColumn = 10;
constexpr int kQuestionsPerPage = 2 * kRowsPerColumn;

QFont sheetFont(double points, bool bold = false) {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic")});
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// One page of questions, `first` being the index of its first question; with `answers`, the boxes hold them.
void paintPage(QPainter& painter, QSizeF page, const WorksheetDocument& sheet, qsizetype first, bool answers,
               int pageNumber, int pageCount) {
    const double margin = page.width() * 0.07;
    const double width = page.width() - 2 * margin;
    const double dpi = painter.device()->logicalDpiY();

    painter.setPen(Qt::black);
    painter.setFont(sheetFont(16, true));
    const QRectF titleBox(margin, margin * 0.8, width, dpi * 0.45);
    painter.drawText(titleBox, Qt::AlignLeft | Qt::AlignVCenter,
                     answers ? sheet.title + QStringLiteral("　こたえ") : sheet.title);
    painter.setFont(sheetFont(11));
    painter.drawText(titleBox, Qt::AlignRight | Qt::AlignVCenter,
                     sheet.date.toString(QStringLiteral("yyyy年M月d日")));
    double nameTop = titleBox.bottom() + dpi * 0.1;
    if (!sheet.note.isEmpty()) {
        // As many lines as the note needs; the rows below share what room is left.
        painter.setFont(sheetFont(9));
        const QFontMetricsF noteMetrics(painter.font(), painter.device());
        for (const QString& line : worksheetNoteLines(sheet.note, noteMetrics, width)) {
            painter.drawText(QRectF(margin, nameTop, width, noteMetrics.height()),
                             Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, line);
            nameTop += noteMetrics.height();
        }
        painter.setFont(sheetFont(11));
        nameTop += dpi * 0.05;
    }
    painter.drawText(
        QRectF(margin, nameTop, width, dpi * 0.35), Qt::AlignLeft | Qt::AlignVCenter,
        QStringLiteral("なまえ　＿＿＿＿＿＿＿＿＿＿＿＿　　　%1 / %2").arg(pageNumber).arg(pageCount));
    painter.drawLine(QPointF(margin, nameTop + dpi * 0.45), QPointF(margin + width, nameTop + dpi * 0.45));

    const double top = nameTop + dpi * 0.65;
    const double rowHeight = (page.height() - margin - top) / kRowsPerColumn;
    const double columnWidth = width / 2;
    // The largest type (15 pt at most) at which the widest row fits its column with room to spare.
    const auto rowWidth = [&](double points, double box) {
        const QFontMetricsF m(sheetFont(points), painter.device());
        double w =
            m.horizontalAdvance(QStringLiteral("(20) 99 ÷ 9 = ")) + box * 1.2 + m.horizontalAdvance(u' ');
        if (sheet.withRemainder)
            w += m.horizontalAdvance(QStringLiteral("あまり ")) + box * 1.2;
        return w;
    };
    double points = 15;
    double box = std::min(rowHeight * 0.62, dpi * 0.55);
    const double fits = rowWidth(points, box) / (columnWidth * 0.94);
    if (fits > 1) {
        points /= fits;
        box /= fits;
    }
    const QFont font = sheetFont(points);
    const QFont answerFont = sheetFont(points, true);
    const QFontMetricsF metrics(font, painter.device());

    for (int i = 0; i < kQuestionsPerPage && first + i < sheet.questions.size(); ++i) {
        const Question& q = sheet.questions[first + i];
        double x = margin + (i / kRowsPerColumn) * columnWidth;
        const double y = top + (i % kRowsPerColumn) * rowHeight;
        const double middle = y + rowHeight / 2;
        const auto write = [&](const QString& text) {
            painter.setFont(font);
            painter.setPen(Qt::black);
            painter.drawText(QPointF(x, middle + metrics.ascent() / 2 - metrics.descent() / 2), text);
            x += metrics.horizontalAdvance(text);
        };
        const auto answerBox = [&](int value) {
            const QRectF r(x, middle - box / 2, box * 1.2, box);
            painter.setPen(QPen(Qt::black, dpi / 96.0));
            painter.drawRect(r);
            if (answers) {
                painter.setPen(QColor(255, 0, 0));
                painter.setFont(answerFont);
                painter.drawText(r, Qt::AlignCenter, QString::number(value));
            }
            x += r.width() + metrics.horizontalAdvance(u' ');
        };
        write(QStringLiteral("(%1)").arg(first + i + 1, 2) + u' ');
        write(QStringLiteral("%1 ÷ %2 = ").arg(q.dividend(), 2).arg(q.divisor));
        answerBox(q.quotient);
        if (sheet.withRemainder) {
            write(QStringLiteral("あまり "));
            answerBox(q.remainder);
        }
    }
}

} // namespace

QStringList worksheetNoteLines(const QString& note, const QFontMetricsF& metrics, double width) {
    // The pieces that may not be broken: each runs up to and including a break character.
    QStringList pieces;
    QString piece;
    for (const QChar c : note) {
        piece += c;
        if (c == u'、' || c == u'。' || c == u':' || c == u'：' || c == u' ' || c == u'　') {
            pieces << piece;
            piece.clear();
        }
    }
    if (!piece.isEmpty())
        pieces << piece;
    QStringList lines;
    QString line;
    for (const QString& next : pieces) {
        if (!line.isEmpty() && metrics.horizontalAdvance(line + next) > width) {
            lines << line;
            line.clear();
        }
        line += next;
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

bool printWorksheet(QPagedPaintDevice& device, const WorksheetDocument& sheet) {
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageOrientation(QPageLayout::Portrait);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.setRenderHint(QPainter::Antialiasing);
    const QSizeF page(device.width(), device.height());
    const int pages = std::max<int>(
        1, static_cast<int>((sheet.questions.size() + kQuestionsPerPage - 1) / kQuestionsPerPage));
    for (int answers = 0; answers < 2; ++answers) {
        for (int p = 0; p < pages; ++p) {
            if (answers || p)
                device.newPage();
            paintPage(painter, page, sheet, static_cast<qsizetype>(p) * kQuestionsPerPage, answers != 0,
                      p + 1, pages);
        }
    }
    return painter.end();
}

} // namespace warizan
