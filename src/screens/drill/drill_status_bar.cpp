#include "screens/drill/drill_status_bar.h"

#include "platform/gui/display.h"
#include "screens/control_names.h"
#include "screens/drill/drill_controls.h"

#include <QFrame>
#include <QLabel>

namespace warizan {

namespace {

constexpr quint32 kStatusBarColour = 0xC0FFC0;
constexpr quint32 kFieldColour = 0x00C000;
constexpr int kTitleLengthForSmallFont = 9;

// A caption in black on the bar, top left in its box.
QLabel* caption(QWidget* bar, const QString& name, QRect design, double points, const QString& text) {
    QLabel* label = makeDrillLabel(bar, name, design, points, std::nullopt, Qt::black, false,
                                   Qt::AlignLeft | Qt::AlignTop);
    label->setText(text);
    return label;
}

} // namespace

DrillStatusBar::DrillStatusBar(QWidget* parent)
    : QWidget(parent) {
    shapeDrillBlock(this, QStringLiteral("sPicture1"), QRect(0, 0, 1024, kDrillStatusBarHeight),
                    kStatusBarColour);
    buildFields();
    buildTimeBar();
}

void DrillStatusBar::buildFields() {
    makeDrillLabel(this, QStringLiteral("sLabel1"), QRect(3, 4, 638, 39), 9, kFieldColour);
    sLabel2 = makeDrillLabel(this, QStringLiteral("sLabel2"), QRect(6, 10, 629, 27), 16.8, kFieldColour,
                             Qt::white, true, Qt::AlignLeft | Qt::AlignVCenter);
    sLabel14 =
        makeDrillLabel(this, QStringLiteral("sLabel14"), QRect(686, 9, 120, 27), 12, kFieldColour, Qt::white);
    sLabel7 = makeDrillLabel(this, QStringLiteral("sLabel7"), QRect(810, 9, 198, 27), 15, kFieldColour,
                             Qt::white, true);
    caption(this, QStringLiteral("sLabel3"), QRect(656, 42, 40, 12), 8.25, QStringLiteral("レベル"));
    sLabel8 = makeDrillLabel(this, QStringLiteral("sLabel8"), QRect(687, 52, 119, 28), 14, kFieldColour,
                             Qt::white, true);
    caption(this, QStringLiteral("sLabel4"), QRect(812, 66, 24, 14), 9, QStringLiteral("残り"));
    sLabel9 = makeDrillLabel(this, QStringLiteral("sLabel9"), QRect(835, 52, 55, 28), 18, kFieldColour,
                             Qt::white, true);
    caption(this, QStringLiteral("sLabel6"), QRect(892, 68, 16, 14), 9, QStringLiteral("問"));
    caption(this, QStringLiteral("sLabel5"), QRect(914, 66, 36, 14), 9, QStringLiteral("タイム"));
    sLabel10 = makeDrillLabel(this, QStringLiteral("sLabel10"), QRect(950, 52, 66, 28), 18, kFieldColour,
                              Qt::white, true);

    const struct {
        int index;
        int x;
        const char* text;
    } captions[] = {{0, 3, "起動後"}, {1, 78, "分"},          {2, 244, "本日"},
                    {3, 318, "回目"}, {4, 463, "このレベル"}, {5, 564, "回目"}};
    for (const auto& c : captions)
        caption(this, arrayName("sLabel16", c.index), QRect(c.x, 62, 60, 14), 9, QString::fromUtf8(c.text));
    sLabel13 = makeDrillLabel(this, QStringLiteral("sLabel13"), QRect(39, 50, 38, 28), 18, kStatusBarColour);
    sLabel12 = makeDrillLabel(this, QStringLiteral("sLabel12"), QRect(274, 48, 42, 30), 18, kStatusBarColour);
    sLabel11 = makeDrillLabel(this, QStringLiteral("sLabel11"), QRect(521, 48, 42, 30), 18, kStatusBarColour);
    for (QLabel* field : {sLabel13, sLabel12, sLabel11})
        field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void DrillStatusBar::buildTimeBar() {
    sShape5 = makeDrillBlock(this, QStringLiteral("sShape5"), QRect(6, 84, 999, 10), 0xFFFFFF);
    sShape4 = makeDrillBlock(this, QStringLiteral("sShape4"), QRect(6, 84, 0, 10), 0x80FF80);
    sShape3 = makeDrillBlock(this, QStringLiteral("sShape3"), QRect(6, 84, 0, 10), 0x00FF00);
    sShape2 = makeDrillBlock(this, QStringLiteral("sShape2"), QRect(6, 84, 0, 10), 0x0000FF);
    sShape7 = makeDrillBlock(this, QStringLiteral("sShape7"), QRect(6, 84, 0, 10), 0x0000FF);

    const struct {
        int index;
        int x;
        const char* text;
    } groups[] = {{1, 8, "Best"}, {0, 210, "YourBest"}, {2, 432, "Pass"}};
    for (const auto& g : groups)
        caption(this, arrayName("sLabel17", g.index), QRect(g.x, 96, 46, 12), 8.25,
                QString::fromLatin1(g.text));
    const struct {
        int first;
        int x;
        quint32 colour;
    } boxes[] = {{10, 38, 0x008000}, {20, 256, 0xC0C000}, {30, 456, 0xC00000}};
    for (const auto& b : boxes) {
        for (int i = 0; i < 10; ++i) {
            auto* box = named(new QFrame(this), "sPicture3", b.first + i);
            box->setGeometry(display::rect(b.x + 17 * i, 96, 17, 9));
            box->setFrameShape(QFrame::Box);
            setDrillColours(box, b.colour, QColor(0, 64, 0));
            sPicture3[static_cast<std::size_t>(b.first + i)] = box;
        }
    }
}

void DrillStatusBar::startSheet(const SheetHeading& sheet) {
    sLabel10->setText(QStringLiteral("0"));
    const int bar = sShape5->width();
    for (QWidget* mark : {sShape2, sShape7, sShape3, sShape4})
        mark->move(sShape5->pos());
    sShape2->resize(0, sShape2->height());
    sShape7->resize(0, sShape7->height());
    sShape3->resize(timeBarLength(sheet.goal, sheet.limit, bar), sShape3->height());
    sShape4->resize(timeBarLength(sheet.secondTime, sheet.limit, bar), sShape4->height());
    for (int box = kFirstCountdownBox; box <= kLastCountdownBox; ++box)
        sPicture3[static_cast<std::size_t>(box)]->show();
    sLabel2->setFont(display::font(display::Face::PGothic,
                                   sheet.heading.size() > kTitleLengthForSmallFont ? 14 : 16.8, true));
    sLabel2->setText(sheet.heading);
    sLabel7->setText(sheet.pupilName);
    sLabel8->setText(sheet.levelName);
    sLabel14->setText(sheet.siteName);
    sLabel12->setText(QString::number(sheet.runToday));
    sLabel11->setText(QString::number(sheet.runOnLevel));
}

void DrillStatusBar::showUntimed() {
    for (QWidget* part : {sShape5, sShape4, sShape3, sShape2, sShape7, static_cast<QWidget*>(sLabel11),
                          static_cast<QWidget*>(sLabel12)})
        part->hide();
    for (QWidget* box : sPicture3)
        if (box)
            box->hide();
    for (const char* group : {"sLabel16", "sLabel17"})
        for (QLabel* label : findChildren<QLabel*>())
            if (label->objectName().startsWith(QLatin1String(group) + u'_') &&
                label->objectName() != QLatin1String("sLabel16_0") &&
                label->objectName() != QLatin1String("sLabel16_1"))
                label->hide();
}

void DrillStatusBar::showRemaining(int questions) {
    sLabel9->setText(QString::number(questions));
}

void DrillStatusBar::showMinutes(qint32 minutes) {
    sLabel13->setText(QString::number(minutes));
}

void DrillStatusBar::showElapsed(qint32 seconds, const QList<int>& boxesToHide) {
    for (int box : boxesToHide)
        sPicture3[static_cast<std::size_t>(box)]->hide();
    sLabel10->setText(QString::number(seconds));
}

void DrillStatusBar::showTimeUsed(qint32 seconds, qint32 limit) {
    const int bar = sShape5->width();
    sShape2->resize(seconds < limit ? timeBarLength(seconds, limit, bar) : bar, sShape2->height());
}

} // namespace warizan
