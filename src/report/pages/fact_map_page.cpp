#include "report/pages/fact_map_page.h"

#include "platform/gui/printer.h"

#include <QDir>
#include <QFileInfo>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace warizan {

namespace {

struct StateLook {
    QColor colour;
    QString mark; // readable without colour
    QString name;
};

// How a cell of the map looks. A pair weak only because it was slow has a look of its own: a parent must
// not read it as a wrong answer.
enum class Look { Unseen, WeakWrong, WeakSlow, Learning, Known };

Look lookFor(const FactCell& cell) {
    switch (cell.state) {
    case FactState::Unseen:
        return Look::Unseen;
    case FactState::Weak:
        return cell.weakByTime ? Look::WeakSlow : Look::WeakWrong;
    case FactState::Learning:
        return Look::Learning;
    case FactState::Known:
        return Look::Known;
    }
    return Look::Unseen;
}

StateLook lookOf(Look look) {
    switch (look) {
    case Look::Unseen:
        return {QColor(208, 208, 208), QStringLiteral("－"), QStringLiteral("まだ")};
    case Look::WeakWrong:
        return {QColor(255, 128, 128), QStringLiteral("×"), QStringLiteral("まちがい")};
    case Look::WeakSlow:
        return {QColor(255, 192, 128), QStringLiteral("遅"), QStringLiteral("おそい")};
    case Look::Learning:
        return {QColor(255, 240, 112), QStringLiteral("△"), QStringLiteral("練習中")};
    case Look::Known:
        return {QColor(128, 224, 128), QStringLiteral("◎"), QStringLiteral("覚えた")};
    }
    return {};
}

QFont mapFont(double pixels, bool bold = false) {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic")});
    font.setPixelSize(std::max(1, static_cast<int>(pixels)));
    font.setBold(bold);
    return font;
}

QString dayText(const QDate& day) {
    return day.toString(QStringLiteral("yyyy年M月d日"));
}

// The line under the title: when the map was made, and the days its answers come from.
QString madeAndSpanLine(const FactMap& map, const QDate& madeOn) {
    QString line;
    if (madeOn.isValid())
        line = QStringLiteral("作成日：") + dayText(madeOn) + QStringLiteral("　");
    if (!map.firstAnswerDay.isValid())
        return line + QStringLiteral("答えの記録はまだありません");
    if (map.firstAnswerDay == map.lastAnswerDay)
        return line + QStringLiteral("%1の答えから").arg(dayText(map.firstAnswerDay));
    return line + QStringLiteral("%1から%2までの答えから")
                      .arg(dayText(map.firstAnswerDay), dayText(map.lastAnswerDay));
}

// One pair's cell: its look's colour and mark, and under the mark its answers, wrong ones and median.
void paintCell(QPainter& painter, const QRectF& box, const FactCell& fact) {
    const double cell = box.width();
    const StateLook look = lookOf(lookFor(fact));
    painter.setBrush(look.colour);
    painter.drawRect(box);
    painter.setPen(Qt::black);
    painter.setFont(mapFont(cell * 0.34, true));
    if (fact.answers == 0) {
        painter.drawText(box, Qt::AlignCenter, look.mark); // no figures: the mark alone, centred
        return;
    }
    painter.drawText(QRectF(box.left(), box.top() + cell * 0.04, cell, cell * 0.42), Qt::AlignCenter,
                     look.mark);
    painter.setFont(mapFont(cell * 0.19));
    const QString answered = fact.wrong > 0 ? QStringLiteral("%1回 ×%2").arg(fact.answers).arg(fact.wrong)
                                            : QStringLiteral("%1回").arg(fact.answers);
    painter.drawText(QRectF(box.left(), box.top() + cell * 0.46, cell, cell * 0.52), Qt::AlignCenter,
                     answered + QStringLiteral("\n%1秒").arg(*fact.medianMs / 1000.0, 0, 'f', 1));
}

// The legend in `area`: each look's colour, mark and name in a row of swatches, then the notes a line each.
void paintLegend(QPainter& painter, const QRectF& area, double swatch, const QPen& grid,
                 const QStringList& notes) {
    const Look looks[] = {Look::Unseen, Look::WeakWrong, Look::WeakSlow, Look::Learning, Look::Known};
    painter.setFont(mapFont(swatch * 0.7));
    const double step = area.width() / 5;
    for (int k = 0; k < 5; ++k) {
        const StateLook look = lookOf(looks[k]);
        const QRectF box(area.left() + k * step, area.top(), swatch, swatch);
        painter.setPen(grid);
        painter.setBrush(look.colour);
        painter.drawRect(box);
        painter.setPen(Qt::black);
        painter.drawText(box, Qt::AlignCenter, look.mark);
        painter.drawText(QRectF(box.right() + swatch * 0.3, area.top(), step - swatch * 1.3, swatch),
                         Qt::AlignLeft | Qt::AlignVCenter, look.name);
    }
    painter.setFont(mapFont(swatch * 0.6));
    for (qsizetype k = 0; k < notes.size(); ++k)
        painter.drawText(QRectF(area.left(), area.top() + swatch * (1.2 + k), area.width(), swatch),
                         Qt::AlignLeft | Qt::AlignVCenter, notes[k]);
}

} // namespace

FactMapHeading factMapHeading(const QString& pupilName, const QString& levelName, const QDate& madeOn) {
    QString title = QStringLiteral("苦手チェック　") + pupilName.trimmed();
    title += QStringLiteral("　") + (levelName.isEmpty() ? QStringLiteral("すべての組") : levelName);
    return {title, madeOn};
}

void paintFactMap(QPainter& painter, const QRectF& area, const FactMap& map, const FactMapHeading& heading) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // A square grid of nine by nine (the heads and the 8 x 8 facts) under the heading, the legend below: a
    // row of swatches and the lines that explain them.
    bool someBlank = false;
    for (const auto& row : map.cells)
        for (const FactCell& fact : row)
            someBlank = someBlank || !fact.drawn;
    QStringList notes{
        QStringLiteral("ますの読み方: 行が商、列がわる数。たとえば 9 の行の「÷7」のますは 63÷7＝9 の問題"),
        QStringLiteral("×と遅が苦手な組: ×は最近3回にまちがいがある組、遅は正しいが答えるのに時間がかかる組"),
        QStringLiteral(
            "ますの数字: 答えた回数（×のあとはまちがえた回数）と、最近3回にかかった時間のまん中の値（秒）")};
    if (someBlank)
        notes << QStringLiteral("白います: このレベルでは出ない組");
    if (!map.setAsideLogs.isEmpty())
        notes << QStringLiteral("こわれて別名で取っておいた解答記録の答えは、この表に入っていません");
    const double headingHeight = area.height() * 0.1;
    const double swatch = area.height() * 0.033;
    const double legendHeight = std::max(area.height() * 0.11, swatch * (1.3 + notes.size()));
    const double side = std::min(area.width(), area.height() - headingHeight - legendHeight);
    const double cell = side / (kFactSide + 1);
    const double left = area.left() + (area.width() - side) / 2;
    const double top = area.top() + headingHeight;

    painter.setPen(Qt::black);
    painter.setFont(mapFont(headingHeight * 0.36, true));
    painter.drawText(QRectF(area.left(), area.top(), area.width(), headingHeight * 0.55), Qt::AlignCenter,
                     heading.title);
    painter.setFont(mapFont(headingHeight * 0.22));
    painter.drawText(
        QRectF(area.left(), area.top() + headingHeight * 0.55, area.width(), headingHeight * 0.4),
        Qt::AlignCenter, madeAndSpanLine(map, heading.madeOn));

    painter.setFont(mapFont(cell * 0.3, true));
    painter.drawText(QRectF(left, top, cell, cell), Qt::AlignCenter, QStringLiteral("商＼÷"));
    for (int k = 0; k < kFactSide; ++k) {
        const QString number = QString::number(kMinFactor + k);
        painter.drawText(QRectF(left + (k + 1) * cell, top, cell, cell), Qt::AlignCenter,
                         QStringLiteral("÷") + number);
        painter.drawText(QRectF(left, top + (k + 1) * cell, cell, cell), Qt::AlignCenter, number);
    }
    const QPen grid(QColor(96, 96, 96), std::max(1.0, cell / 60));
    for (int q = kMinFactor; q <= kMaxFactor; ++q) {
        for (int d = kMinFactor; d <= kMaxFactor; ++d) {
            const FactCell& fact = map.cell(q, d);
            const QRectF box(left + (d - kMinFactor + 1) * cell, top + (q - kMinFactor + 1) * cell, cell,
                             cell);
            painter.setPen(grid);
            if (!fact.drawn) {
                painter.setBrush(Qt::white);
                painter.drawRect(box);
                continue;
            }
            paintCell(painter, box, fact);
        }
    }

    paintLegend(painter, QRectF(left, top + side + legendHeight * 0.03, side, legendHeight), swatch, grid,
                notes);
    painter.restore();
}

QImage factMapImage(const FactMap& map, QSize size, const FactMapHeading& heading, qreal devicePixelRatio) {
    QImage image(size * devicePixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintFactMap(painter, QRectF(QPointF(0, 0), QSizeF(size)).adjusted(8, 8, -8, -8), map, heading);
    return image;
}

bool printFactMap(QPagedPaintDevice& device, const FactMap& map, const FactMapHeading& heading) {
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageOrientation(QPageLayout::Portrait);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    paintFactMapPage(painter, QSizeF(device.width(), device.height()), map, heading);
    return painter.end();
}

void paintFactMapPage(QPainter& painter, QSizeF page, const FactMap& map, const FactMapHeading& heading) {
    const double margin = page.width() * 0.07;
    paintFactMap(painter, QRectF(margin, margin, page.width() - 2 * margin, page.width() * 1.05), map,
                 heading);
}

QString keptPdfPath(const QString& folder, const QString& kind, const QString& pupilName, const QDate& day) {
    QString name = pupilName.trimmed();
    for (QChar& c : name)
        if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.unicode() < 0x20)
            c = u'_';
    if (name.isEmpty())
        name = QStringLiteral("名前なし");
    return folder + kind + u'_' + name + u'_' + day.toString(QStringLiteral("yyyyMMdd")) +
           QStringLiteral(".pdf");
}

} // namespace warizan
