#include "report/pages/week_page.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace warizan {

namespace {

// The sections' shares of the page's height, top to bottom.
constexpr std::array<double, kWeekSectionCount> kSectionShare = {0.10, 0.29, 0.13, 0.32, 0.16};
constexpr int kMissedRowsPerColumn = kWeekPageMissed / 2;

QFont pageFont(double pixels, bool bold = false) {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic")});
    font.setPixelSize(std::max(1, static_cast<int>(pixels)));
    font.setBold(bold);
    return font;
}

QString weekdayName(const QDate& day) {
    static const QString names = QStringLiteral("月火水木金土日");
    return names.mid(day.dayOfWeek() - 1, 1);
}

QString longDay(const QDate& day, bool withYear) {
    QString text = QStringLiteral("%1月%2日（%3）").arg(day.month()).arg(day.day()).arg(weekdayName(day));
    return withYear ? QStringLiteral("%1年").arg(day.year()) + text : text;
}

QString weekRange(const QDate& monday) {
    const QDate sunday = monday.addDays(6);
    return longDay(monday, true) + QStringLiteral("～") + longDay(sunday, sunday.year() != monday.year());
}

QString seconds(const std::optional<qint64>& ms) {
    return ms ? QStringLiteral("%1秒").arg(static_cast<double>(*ms) / 1000.0, 0, 'f', 1)
              : QStringLiteral("―");
}

// The arrow beside this week's figure: up when it grew, down when it fell, none when it stayed or one of the
// two is missing.
QString arrow(std::optional<qint64> now, std::optional<qint64> before) {
    if (!now || !before || *now == *before)
        return {};
    return *now > *before ? QStringLiteral("↑") : QStringLiteral("↓");
}

QString pairsText(const std::vector<FactPair>& pairs) {
    if (pairs.empty())
        return QStringLiteral("なし");
    QStringList words;
    for (const FactPair& pair : pairs)
        words << QStringLiteral("%1÷%2").arg(pair.quotient * pair.divisor).arg(pair.divisor);
    return words.join(QStringLiteral("  "));
}

QString answerText(int level, const QString& quotient, const QString& remainder) {
    const QString q = quotient.isEmpty() ? QStringLiteral("？") : quotient;
    if (!levelHasRemainder(level))
        return q;
    return q + QStringLiteral(" あまり ") + (remainder.isEmpty() ? QStringLiteral("？") : remainder);
}

// Draws texts fitted into their boxes (the font made smaller until the text fits) and notes each.
class PageWriter {
public:
    PageWriter(QPainter& painter, WeekDrawing* drawing)
        : m_painter(painter)
        , m_drawing(drawing) {}
    void setSection(WeekSection section) { m_section = section; }
    void text(const QRectF& box, int flags, const QString& text, double pixels, bool bold = false) {
        QFont font = pageFont(pixels, bold);
        QRectF need;
        for (;;) {
            m_painter.setFont(font);
            need = m_painter.boundingRect(box, flags, text);
            if ((need.width() <= box.width() && need.height() <= box.height()) || font.pixelSize() <= 2)
                break;
            font.setPixelSize(std::max(2, static_cast<int>(font.pixelSize() * 0.9)));
        }
        m_painter.drawText(box, flags, text);
        if (m_drawing)
            m_drawing->texts.push_back({box, need, text, m_section});
    }

private:
    QPainter& m_painter;
    WeekDrawing* m_drawing;
    WeekSection m_section = WeekSection::Head;
};

struct FigureRow {
    QString name;
    QString now;
    QString before;
    QString arrow;
};

std::vector<FigureRow> figureRows(const WeekFigures& now, const WeekFigures& before) {
    const auto count = [](int value, const QString& unit) { return QString::number(value) + unit; };
    const auto median = [](const WeekFigures& f) { return f.medianMs; };
    return {
        {QStringLiteral("練習した日"), count(now.days, QStringLiteral("日／7日")),
         count(before.days, QStringLiteral("日")), arrow(now.days, before.days)},
        {QStringLiteral("ドリル"), count(now.drills, QStringLiteral("回")),
         count(before.drills, QStringLiteral("回")), arrow(now.drills, before.drills)},
        {QStringLiteral("練習プリント"), count(now.practice, QStringLiteral("枚")),
         count(before.practice, QStringLiteral("枚")), arrow(now.practice, before.practice)},
        {QStringLiteral("答えた問題"), count(now.answers, QStringLiteral("問")),
         count(before.answers, QStringLiteral("問")), arrow(now.answers, before.answers)},
        {QStringLiteral("まちがい"), count(now.wrong, QStringLiteral("問")),
         count(before.wrong, QStringLiteral("問")), arrow(now.wrong, before.wrong)},
        {QStringLiteral("練習した時間"), count(now.minutes(), QStringLiteral("分")),
         count(before.minutes(), QStringLiteral("分")), arrow(now.minutes(), before.minutes())},
        {QStringLiteral("1問にかかった時間（まん中の値）"), seconds(median(now)), seconds(median(before)),
         arrow(now.medianMs, before.medianMs)},
    };
}

QString levelsLine(const WeekFigures& week, const QStringList& levelNames) {
    if (week.drillsByLevel.empty())
        return QStringLiteral("レベル別のドリル：なし");
    QStringList entries;
    for (const auto& [level, drills] : week.drillsByLevel) {
        const QString name = level >= 0 && level < levelNames.size() && !levelNames[level].trimmed().isEmpty()
                                 ? levelNames[level].trimmed()
                                 : QStringLiteral("レベル%1").arg(level);
        entries << QStringLiteral("%1（%2回）").arg(name).arg(drills);
    }
    return QStringLiteral("レベル別のドリル：") + entries.join(QStringLiteral("、"));
}

void paintFigures(QPainter& painter, PageWriter& out, const QRectF& area, const WeekPage& page, double unit) {
    const std::vector<FigureRow> rows = figureRows(page.summary.week, page.summary.before);
    const int lines = static_cast<int>(rows.size()) + 2; // the columns' heads and the levels' line
    const double row = area.height() / lines;
    const double font = std::min(row * 0.62, unit * 15);
    const double left = area.left();
    // Columns: the figure's name, this week with its arrow, the week before.
    const double nameWidth = area.width() * 0.46;
    const double nowWidth = area.width() * 0.27;
    const double beforeWidth = area.width() - nameWidth - nowWidth;
    const QRectF nameColumn(left, 0, nameWidth, 0);
    const auto cell = [&](double x, double width, int line) {
        return QRectF(x + unit * 4, area.top() + line * row, width - unit * 8, row);
    };
    painter.setPen(QPen(QColor(160, 160, 160), std::max(1.0, unit)));
    for (int k = 1; k <= static_cast<int>(rows.size()); ++k) {
        if (k % 2 == 1)
            painter.fillRect(QRectF(left, area.top() + k * row, area.width(), row), QColor(240, 244, 250));
    }
    painter.drawLine(QPointF(left, area.top() + row), QPointF(area.right(), area.top() + row));
    painter.setPen(Qt::black);
    // The arrows sit in a room of their own at the right of this week's column, so the figures line up.
    const double arrowWidth = font * 1.2;
    out.text(cell(left + nameWidth, nowWidth, 0).adjusted(0, 0, -arrowWidth, 0),
             Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("今週"), font, true);
    out.text(cell(left + nameWidth + nowWidth, beforeWidth, 0), Qt::AlignRight | Qt::AlignVCenter,
             QStringLiteral("前の週"), font, true);
    for (int k = 0; k < static_cast<int>(rows.size()); ++k) {
        const FigureRow& figure = rows[static_cast<size_t>(k)];
        out.text(cell(nameColumn.left(), nameWidth, k + 1), Qt::AlignLeft | Qt::AlignVCenter, figure.name,
                 font);
        const QRectF nowCell = cell(left + nameWidth, nowWidth, k + 1);
        out.text(nowCell.adjusted(0, 0, -arrowWidth, 0), Qt::AlignRight | Qt::AlignVCenter, figure.now, font,
                 true);
        if (!figure.arrow.isEmpty())
            out.text(QRectF(nowCell.right() - arrowWidth, nowCell.top(), arrowWidth, nowCell.height()),
                     Qt::AlignCenter, figure.arrow, font, true);
        out.text(cell(left + nameWidth + nowWidth, beforeWidth, k + 1), Qt::AlignRight | Qt::AlignVCenter,
                 figure.before, font);
    }
    out.text(cell(left, area.width(), lines - 1), Qt::AlignLeft | Qt::AlignVCenter,
             levelsLine(page.summary.week, page.levelNames), font * 0.9);
}

void paintFacts(PageWriter& out, const QRectF& area, const WeekSummary& summary, double unit) {
    const double half = area.height() / 2;
    const double font = std::min(half * 0.36, unit * 13);
    const double label = area.width() * 0.24;
    const QString learnt = QStringLiteral("今週覚えた組（%1）").arg(summary.becameKnown.size());
    const QString weak = QStringLiteral("苦手な組（%1）").arg(summary.weakAtEnd.size());
    const QString texts[2][2] = {{learnt, pairsText(summary.becameKnown)},
                                 {weak, pairsText(summary.weakAtEnd)}};
    for (int k = 0; k < 2; ++k) {
        const double top = area.top() + k * half;
        out.text(QRectF(area.left(), top, label, half * 0.9), Qt::AlignLeft | Qt::AlignTop, texts[k][0], font,
                 true);
        out.text(QRectF(area.left() + label, top, area.width() - label, half * 0.9),
                 Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, texts[k][1], font);
    }
}

void paintMissed(QPainter& painter, PageWriter& out, const QRectF& area, const WeekSummary& summary,
                 double unit) {
    const int lines = kMissedRowsPerColumn + 3; // the title, the columns' heads, the rows, how many more
    const double row = area.height() / lines;
    const double font = std::min(row * 0.72, unit * 12);
    const int missed = static_cast<int>(summary.missed.size());
    out.text(QRectF(area.left(), area.top(), area.width(), row), Qt::AlignLeft | Qt::AlignVCenter,
             missed == 0 ? QStringLiteral("まちがえた問題：なし")
                         : QStringLiteral("まちがえた問題（%1問）").arg(missed),
             std::min(row * 0.85, unit * 14), true);
    if (missed == 0)
        return;
    const double gap = area.width() * 0.04;
    const double columnWidth = (area.width() - gap) / 2;
    // Within a column: the day, the question, what was typed, the right answer.
    const std::array<double, 4> share = {0.2, 0.22, 0.29, 0.29};
    const QStringList heads = {QStringLiteral("日"), QStringLiteral("問題"), QStringLiteral("書いた答え"),
                               QStringLiteral("正しい答え")};
    const int shown = std::min(missed, kWeekPageMissed);
    const int columns = shown > kMissedRowsPerColumn ? 2 : 1;
    for (int column = 0; column < columns; ++column) {
        const double left = area.left() + column * (columnWidth + gap);
        const auto cellAt = [&](int field, int line) {
            double x = left;
            for (int f = 0; f < field; ++f)
                x += columnWidth * share[static_cast<size_t>(f)];
            return QRectF(x + unit * 2, area.top() + line * row,
                          columnWidth * share[static_cast<size_t>(field)] - unit * 4, row);
        };
        painter.setPen(QPen(QColor(160, 160, 160), std::max(1.0, unit)));
        painter.drawLine(QPointF(left, area.top() + 2 * row),
                         QPointF(left + columnWidth, area.top() + 2 * row));
        painter.setPen(Qt::black);
        for (int field = 0; field < 4; ++field)
            out.text(cellAt(field, 1), Qt::AlignLeft | Qt::AlignVCenter, heads[field], font, true);
        for (int k = 0; k < kMissedRowsPerColumn; ++k) {
            const int index = column * kMissedRowsPerColumn + k;
            if (index >= shown)
                break;
            const MissedAnswer& answer = summary.missed[static_cast<size_t>(index)];
            const QDate day = answer.drillStart.date();
            const QString texts[4] = {
                QStringLiteral("%1/%2（%3）").arg(day.month()).arg(day.day()).arg(weekdayName(day)),
                QStringLiteral("%1÷%2").arg(answer.question.dividend()).arg(answer.question.divisor),
                answerText(answer.level, answer.typedQuotient, answer.typedRemainder),
                answerText(answer.level, QString::number(answer.question.quotient),
                           QString::number(answer.question.remainder))};
            for (int field = 0; field < 4; ++field) {
                if (field == 2)
                    painter.setPen(QColor(200, 0, 0)); // what was typed, in red as a teacher marks it
                out.text(cellAt(field, k + 2), Qt::AlignLeft | Qt::AlignVCenter, texts[field], font);
                painter.setPen(Qt::black);
            }
        }
    }
    if (missed > shown)
        out.text(QRectF(area.left(), area.top() + (lines - 1) * row, area.width(), row),
                 Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("ほか %1 問").arg(missed - shown), font,
                 true);
}

// Bars of the judged answers of each week, a line of the median seconds, and under each week its Monday and
// both figures.
void paintTrend(QPainter& painter, PageWriter& out, const QRectF& area, const WeekSummary& summary,
                double unit) {
    const double titleHeight = area.height() * 0.15;
    const double labelsHeight = area.height() * 0.4;
    const double font = std::min(titleHeight * 0.75, unit * 12);
    out.text(QRectF(area.left(), area.top(), area.width(), titleHeight), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("この8週間　棒：答えた問題の数　線：1問にかかった時間（まん中の値）"), font,
             true);
    const int weeks = static_cast<int>(summary.trend.size());
    if (weeks == 0)
        return;
    // Room above and below the bars for the line's dots.
    const QRectF chart(area.left(), area.top() + titleHeight + unit * 6, area.width(),
                       area.height() - titleHeight - labelsHeight - unit * 10);
    const double step = chart.width() / weeks;
    int mostAnswers = 1;
    qint64 slowest = 1;
    for (const WeekFigures& week : summary.trend) {
        mostAnswers = std::max(mostAnswers, week.answers);
        slowest = std::max(slowest, week.medianMs.value_or(0));
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(160, 160, 160), std::max(1.0, unit)));
    painter.drawLine(chart.bottomLeft(), chart.bottomRight());
    QPainterPath line;
    bool lineStarted = false;
    std::vector<QPointF> dots;
    for (int k = 0; k < weeks; ++k) {
        const WeekFigures& week = summary.trend[static_cast<size_t>(k)];
        const double x = chart.left() + step * k;
        const double barHeight = chart.height() * week.answers / mostAnswers;
        painter.fillRect(QRectF(x + step * 0.25, chart.bottom() - barHeight, step * 0.5, barHeight),
                         k == weeks - 1 ? QColor(70, 130, 200) : QColor(160, 190, 225));
        if (week.medianMs) {
            const QPointF dot(x + step / 2, chart.bottom() - chart.height() *
                                                                 static_cast<double>(*week.medianMs) /
                                                                 static_cast<double>(slowest));
            lineStarted ? line.lineTo(dot) : line.moveTo(dot);
            lineStarted = true;
            dots.push_back(dot);
        } else {
            lineStarted = false; // a week without answers breaks the line
        }
    }
    painter.setPen(QPen(QColor(220, 90, 40), std::max(1.0, unit * 2)));
    painter.drawPath(line);
    painter.setBrush(QColor(220, 90, 40));
    for (const QPointF& dot : dots)
        painter.drawEllipse(dot, unit * 3, unit * 3);
    painter.restore();
    const double labelRow = labelsHeight / 3;
    const double labelFont = std::min(labelRow * 0.75, unit * 11);
    for (int k = 0; k < weeks; ++k) {
        const WeekFigures& week = summary.trend[static_cast<size_t>(k)];
        const double x = chart.left() + step * k;
        const double top = area.bottom() - labelsHeight;
        const QString texts[3] = {QStringLiteral("%1/%2").arg(week.monday.month()).arg(week.monday.day()),
                                  QStringLiteral("%1問").arg(week.answers), seconds(week.medianMs)};
        for (int line = 0; line < 3; ++line)
            out.text(QRectF(x + unit, top + line * labelRow, step - 2 * unit, labelRow), Qt::AlignCenter,
                     texts[line], labelFont, line == 0 && k == weeks - 1);
    }
}

} // namespace

QString weekHeading(const QString& pupilName) {
    return QStringLiteral("今週のまとめ　") + pupilName.trimmed();
}

QString madeOnText(const QDate& day) {
    return QStringLiteral("作成日：%1年%2月%3日").arg(day.year()).arg(day.month()).arg(day.day());
}

void paintWeek(QPainter& painter, const QRectF& area, const WeekPage& page, WeekDrawing* drawing) {
    painter.save();
    // One unit is a pixel of the screen's picture at its design size: fonts and lines grow with the page.
    const double unit = std::min(area.width() / 684.0, area.height() / 598.0);
    std::array<QRectF, kWeekSectionCount> sections;
    double top = area.top();
    for (int k = 0; k < kWeekSectionCount; ++k) {
        const double height = area.height() * kSectionShare[static_cast<size_t>(k)];
        // A little room between the sections.
        sections[static_cast<size_t>(k)] = QRectF(area.left(), top, area.width(), height - unit * 6);
        top += height;
    }
    if (drawing)
        drawing->sections = sections;
    PageWriter out(painter, drawing);
    painter.setPen(Qt::black);

    const QRectF head = sections[0];
    out.setSection(WeekSection::Head);
    out.text(QRectF(head.left(), head.top(), head.width() * 0.68, head.height() * 0.55),
             Qt::AlignLeft | Qt::AlignVCenter, weekHeading(page.pupilName), head.height() * 0.4, true);
    out.text(QRectF(head.left() + head.width() * 0.7, head.top(), head.width() * 0.3, head.height() * 0.55),
             Qt::AlignRight | Qt::AlignVCenter, madeOnText(page.madeOn), head.height() * 0.24);
    out.text(QRectF(head.left(), head.top() + head.height() * 0.58, head.width(), head.height() * 0.42),
             Qt::AlignLeft | Qt::AlignVCenter, weekRange(page.summary.week.monday), head.height() * 0.28);
    painter.setPen(QPen(QColor(70, 130, 200), std::max(1.0, unit * 2)));
    painter.drawLine(QPointF(head.left(), head.bottom() + unit * 2),
                     QPointF(head.right(), head.bottom() + unit * 2));
    painter.setPen(Qt::black);

    out.setSection(WeekSection::Figures);
    paintFigures(painter, out, sections[1], page, unit);
    out.setSection(WeekSection::Facts);
    paintFacts(out, sections[2], page.summary, unit);
    out.setSection(WeekSection::Missed);
    paintMissed(painter, out, sections[3], page.summary, unit);
    out.setSection(WeekSection::Trend);
    paintTrend(painter, out, sections[4], page.summary, unit);
    painter.restore();
}

QImage weekImage(const WeekPage& page, QSize size, qreal devicePixelRatio, WeekDrawing* drawing) {
    QImage image(size * devicePixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintWeek(painter, QRectF(QPointF(0, 0), QSizeF(size)).adjusted(8, 8, -8, -8), page, drawing);
    return image;
}

bool printWeek(QPagedPaintDevice& device, const WeekPage& page, WeekDrawing* drawing) {
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageOrientation(QPageLayout::Portrait);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const double margin = device.width() * 0.07;
    paintWeek(painter, QRectF(margin, margin, device.width() - 2 * margin, device.height() - 2 * margin),
              page, drawing);
    return painter.end();
}

} // namespace warizan
