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

StateLook lookOf(FactState state) {
    switch (state) {
    case FactState::Unseen:
        return {QColor(208, 208, 208), QStringLiteral("－"), QStringLiteral("まだ")};
    case FactState::Weak:
        return {QColor(255, 128, 128), QStringLiteral("×"), QStringLiteral("苦手")};
    case FactState::Learning:
        return {QColor(255, 240, 112), QStringLiteral("△"), QStringLiteral("練習中")};
    case FactState::Known:
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

} // namespace

QString factMapHeading(const QString& pupilName, const QString& levelName) {
    QString heading = QStringLiteral("苦手チェック　") + pupilName.trimmed();
    return heading + QStringLiteral("　") + (levelName.isEmpty() ? QStringLiteral("すべての組") : levelName);
}

void paintFactMap(QPainter& painter, const QRectF& area, const FactMap& map, const QString& heading) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // A square grid of nine by nine (the heads and the 8 x 8 facts) under the heading, the legend below: a
    // row of swatches and the lines that explain them.
    bool someBlank = false;
    for (const auto& row : map.cells)
        for (const FactCell& fact : row)
            someBlank = someBlank || !fact.drawn;
    QStringList notes{QStringLiteral("各ますの数字: 答えた回数と、最近3回にかかった時間のまん中の値（秒）")};
    if (someBlank)
        notes << QStringLiteral("白います: このレベルでは出ない組");
    if (!map.setAsideLogs.isEmpty())
        notes << QStringLiteral("こわれて別名で取っておいた解答記録の答えは、この表に入っていません");
    const double headingHeight = area.height() * 0.07;
    const double swatch = area.height() * 0.033;
    const double legendHeight = std::max(area.height() * 0.11, swatch * (1.3 + notes.size()));
    const double side = std::min(area.width(), area.height() - headingHeight - legendHeight);
    const double cell = side / (kFactSide + 1);
    const double left = area.left() + (area.width() - side) / 2;
    const double top = area.top() + headingHeight;

    painter.setPen(Qt::black);
    painter.setFont(mapFont(headingHeight * 0.5, true));
    painter.drawText(QRectF(area.left(), area.top(), area.width(), headingHeight), Qt::AlignCenter, heading);

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
            const StateLook look = lookOf(fact.state);
            painter.setBrush(look.colour);
            painter.drawRect(box);
            painter.setPen(Qt::black);
            painter.setFont(mapFont(cell * 0.34, true));
            if (fact.answers == 0) {
                painter.drawText(box, Qt::AlignCenter, look.mark); // no figures: the mark alone, centred
                continue;
            }
            painter.drawText(QRectF(box.left(), box.top() + cell * 0.04, cell, cell * 0.42), Qt::AlignCenter,
                             look.mark);
            painter.setFont(mapFont(cell * 0.19));
            painter.drawText(
                QRectF(box.left(), box.top() + cell * 0.46, cell, cell * 0.52), Qt::AlignCenter,
                QStringLiteral("%1回\n%2秒").arg(fact.answers).arg(*fact.medianMs / 1000.0, 0, 'f', 1));
        }
    }

    // The legend: each state's colour, mark and name, and what the figures are.
    const double legendTop = top + side + legendHeight * 0.03;
    const FactState states[] = {FactState::Unseen, FactState::Weak, FactState::Learning, FactState::Known};
    painter.setFont(mapFont(swatch * 0.8));
    const double step = side / 4;
    for (int k = 0; k < 4; ++k) {
        const StateLook look = lookOf(states[k]);
        const QRectF box(left + k * step, legendTop, swatch, swatch);
        painter.setPen(grid);
        painter.setBrush(look.colour);
        painter.drawRect(box);
        painter.setPen(Qt::black);
        painter.drawText(box, Qt::AlignCenter, look.mark);
        painter.drawText(QRectF(box.right() + swatch * 0.3, legendTop, step - swatch * 1.3, swatch),
                         Qt::AlignLeft | Qt::AlignVCenter, look.name);
    }
    painter.setFont(mapFont(swatch * 0.6));
    for (qsizetype k = 0; k < notes.size(); ++k)
        painter.drawText(QRectF(left, legendTop + swatch * (1.2 + k), side, swatch),
                         Qt::AlignLeft | Qt::AlignVCenter, notes[k]);
    painter.restore();
}

QImage factMapImage(const FactMap& map, QSize size, const QString& heading, qreal devicePixelRatio) {
    QImage image(size * devicePixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintFactMap(painter, QRectF(QPointF(0, 0), QSizeF(size)).adjusted(8, 8, -8, -8), map, heading);
    return image;
}

bool printFactMap(QPagedPaintDevice& device, const FactMap& map, const QString& heading) {
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageOrientation(QPageLayout::Portrait);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    paintFactMapPage(painter, QSizeF(device.width(), device.height()), map, heading);
    return painter.end();
}

void paintFactMapPage(QPainter& painter, QSizeF page, const FactMap& map, const QString& heading) {
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
