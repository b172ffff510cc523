#include "screens/result/result_screen.h"

#include "drill/result_rules.h"
#include "platform/gui/display.h"
#include "records/points.h"
#include "records/score_count.h"
#include "screens/control_names.h"
#include "screens/drill_start.h"
#include "sound/sound_cues.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadialGradient>
#include <QTimer>
#include <cmath>

namespace warizan {

namespace {

constexpr int kDelayMs = 500;
constexpr quint32 kTextColour = 0x102060;

// A label placed in twips, in "ＭＳ Ｐゴシック", with a transparent background.
QLabel* makeLabel(QWidget* parent, const char* name, double left, double top, double width, double height,
                  double points, bool bold, quint32 colour, Qt::Alignment align = Qt::AlignCenter) {
    auto* label = named(new QLabel(parent), name);
    label->setGeometry(display::rect(left / 15, top / 15, width / 15, height / 15));
    label->setFont(display::font(display::Face::PGothic, points, bold));
    label->setAlignment(align);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, display::colour(colour));
    label->setPalette(pal);
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, double left) {
    auto* button = named(new QPushButton(caption, parent), name);
    button->setGeometry(display::rect(left / 15, 8325.0 / 15, 5235.0 / 15, 1005.0 / 15));
    button->setFont(display::font(display::Face::PGothic, 27.75));
    button->hide();
    return button;
}

} // namespace

QPixmap resultBackground(QSize size, qreal devicePixelRatio) {
    // Drawn at the screen's own pixels (150 % and 200 % screens), in the logical coordinates below.
    QPixmap picture(size * devicePixelRatio);
    picture.setDevicePixelRatio(devicePixelRatio);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = size.width();
    const double h = size.height();
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(120, 190, 255));
    sky.setColorAt(0.7, QColor(215, 240, 255));
    p.fillRect(QRectF(0, 0, w, h), sky);

    QRadialGradient sun(w * 0.9, h * 0.1, h * 0.12);
    sun.setColorAt(0, QColor(255, 250, 200));
    sun.setColorAt(0.6, QColor(255, 220, 90));
    sun.setColorAt(1, QColor(255, 220, 90, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sun);
    p.drawEllipse(QPointF(w * 0.9, h * 0.1), h * 0.12, h * 0.12);

    p.setBrush(QColor(255, 255, 255, 220));
    const struct {
        double x, y, r;
    } clouds[] = {{0.08, 0.12, 0.035}, {0.13, 0.11, 0.05},  {0.18, 0.13, 0.035},
                  {0.62, 0.06, 0.03},  {0.67, 0.05, 0.042}, {0.72, 0.065, 0.03}};
    for (const auto& c : clouds)
        p.drawEllipse(QPointF(w * c.x, h * c.y), h * c.r * 1.6, h * c.r);

    const auto hill = [&](double top, QColor colour, double phase) {
        QPainterPath path(QPointF(0, h));
        path.lineTo(0, h * top);
        path.cubicTo(w * (0.25 + phase), h * (top - 0.08), w * (0.55 + phase), h * (top + 0.06), w,
                     h * (top - 0.02));
        path.lineTo(w, h);
        path.closeSubpath();
        p.setBrush(colour);
        p.drawPath(path);
    };
    hill(0.80, QColor(140, 215, 120), 0.0);
    hill(0.88, QColor(90, 180, 90), 0.1);

    // Flowers along the bottom edge.
    const QColor petals[] = {QColor(255, 120, 150), QColor(255, 220, 80), QColor(250, 250, 250)};
    for (int i = 0; i < 14; ++i) {
        const QPointF centre(w * (0.04 + i * 0.07), h * (0.95 - (i % 3) * 0.015));
        const double r = h * 0.008;
        p.setBrush(petals[i % 3]);
        for (int k = 0; k < 5; ++k) {
            const double a = k * 2 * 3.14159265 / 5;
            p.drawEllipse(centre + QPointF(std::cos(a) * r * 1.4, std::sin(a) * r * 1.4), r, r);
        }
        p.setBrush(QColor(250, 180, 40));
        p.drawEllipse(centre, r * 0.8, r * 0.8);
    }
    return picture;
}

ResultScreen::ResultScreen(FormContext& context, QWidget* parent)
    : DesignForm(context.app.state.config.themeColour, parent)
    , m_forms(context)
    , m_context(context.app) {
    setObjectName(QStringLiteral("FrmSyuuryou"));
    setWindowTitle(QStringLiteral("終了"));
    QWidget* c = canvas();
    Image1 = named(new QLabel(c), "Image1");
    Image1->setGeometry(display::rect(0, 0, display::kDesignWidth, display::kDesignHeight));

    Label15 = makeLabel(c, "Label15", 1845, 405, 11490, 960, 48, false, kTextColour);
    Label14 = makeLabel(c, "Label14", 10215, 1395, 3135, 375, 14.25, true, kTextColour,
                        Qt::AlignRight | Qt::AlignVCenter);
    Label16 = makeLabel(c, "Label16", 1845, 1755, 11490, 960, 36, false, kTextColour);
    Label13 = makeLabel(c, "Label13", 10260, 2745, 3105, 405, 14.25, true, kTextColour,
                        Qt::AlignRight | Qt::AlignVCenter);
    Label17 = makeLabel(c, "Label17", 1845, 3255, 11490, 960, 48, false, kTextColour);
    Label18 = makeLabel(c, "Label18", 1845, 4440, 11490, 825, 36, false, kTextColour);
    Label19 = makeLabel(c, "Label19", 1845, 5280, 11490, 825, 36, false, kTextColour);
    Label20 = makeLabel(c, "Label20", 1845, 6390, 11490, 735, 27.75, true, 0xE00000);
    Label20->hide();
    Label2 = makeLabel(c, "Label2", 180, 7710, 15075, 555, 24, true, 0xC04000);
    Label2->setText(QStringLiteral("このレベルクリア"));
    Label2->hide();

    Picture1 = named(new QWidget(c), "Picture1");
    Picture1->setGeometry(display::rect(180.0 / 15, 8145.0 / 15, 15105.0 / 15, 1785.0 / 15));
    Picture1->setAutoFillBackground(true);
    QPalette pal = Picture1->palette();
    pal.setColor(QPalette::Window, QColor(255, 255, 160));
    Picture1->setPalette(pal);
    Label1 = makeLabel(Picture1, "Label1", 3330, 390, 8415, 615, 27.75, true, 0xE00000);
    Label1->setText(QStringLiteral("目標レベルクリア。おめでとう！"));
    Picture1->hide();

    Command4 = makeButton(c, "Command4", QStringLiteral("メニューへ"), 1890);
    Command5 = makeButton(c, "Command5", QStringLiteral("もう一度"), 8055);
    connect(Command4, &QPushButton::clicked, this, &ResultScreen::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &ResultScreen::Command5_Click);

    Timer1 = named(new QTimer(this), "Timer1");
    Timer1->setInterval(kDelayMs);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &ResultScreen::Timer1_Timer);
}

bool ResultScreen::load() {
    Image1->move(0, 0);
    Image1->resize(display::designSize());
    Image1->setPixmap(resultBackground(display::designSize(), Image1->devicePixelRatioF()));
    Image1->lower();
    return true;
}

void ResultScreen::activate() {
    ProgramState& state = m_context.state;
    PupilFigures& figures = state.figures;
    const int level = state.pupil.currentLevel;
    const int pupil = state.pupil.currentPupil;
    // Every step below that lets events run may see "メニューへ" or "もう一度" pressed (the buttons come up
    // after half a second) and another form come to the front: this screen then stops where it is.
    if (!countScores(m_context) || !isFrontPage())
        return;
    // The record flags are this drill's alone: taken now, so a screen left early cannot hand them on.
    const qint32 finalTime = state.drill.finalTime;
    const BannerChoice choice =
        chooseBanner(state.drill.timeUp != 0, figures.newPersonalBest != 0, figures.newLevelBest != 0,
                     finalTime, state.levels.levelGoal2[level]);
    figures.newPersonalBest = 0;
    figures.newLevelBest = 0;
    const bool cleared = levelCleared(state, level, pupil);
    const bool goalLevel = level == state.levels.goalLevel;
    if (cleared) {
        Label2->show();
        if (goalLevel && goalMessageAllowed(state.levels))
            Picture1->show();
    }
    QCoreApplication::processEvents();
    if (!isFrontPage())
        return;
    Timer1->start();

    const float factor = state.levels.levelBonusFactor[level];
    const qint32 runPoints = basePoints(state.levels.levelGoal[level], finalTime);
    Label19->setText(pointsText(runPoints, factor, pointsAfterFactor(runPoints, factor)));
    Label18->setText(resultTimeText(finalTime));
    Label17->setText(state.pupil.currentPupilName.trimmed());
    Label15->setText(state.config.contentHeading);
    Label16->setText(state.levels.levelName[level]);
    Label13->setText(
        QStringLiteral(" (このレベル　%1回目)").arg(shortestNumber(figures.todayCount.at(level, pupil))));
    double today = 0;
    for (int i = 1; i <= kMaxLevel; ++i)
        today += figures.todayCount.at(i, pupil);
    Label14->setText(QStringLiteral("（%1回目)").arg(static_cast<qint64>(today)));
    QCoreApplication::processEvents();
    if (!isFrontPage())
        return;

    if (choice.banner != ResultBanner::None) {
        Label20->setText(bannerText(choice.banner));
        Label20->show();
        if (choice.banner != ResultBanner::TimeUp) {
            QCoreApplication::processEvents();
            if (!isFrontPage())
                return;
            if (choice.banner == ResultBanner::TopRecord)
                playTopRecordCue(m_context);
            else
                playPersonalBestCue(m_context);
            QCoreApplication::processEvents();
            if (!isFrontPage())
                return;
        }
    } else if (choice.failCue) {
        playFailCue(m_context);
    }
    if (goalLevel && cleared) {
        // The pass cue greets the first clearing only: the totals before this drill had not met the rule.
        if (figures.alreadyCleared == 0)
            playPassCue(m_context);
    } else {
        Picture1->hide();
    }
    QCoreApplication::processEvents();
    if (!isFrontPage())
        return;
    m_forms.owner.unload(FormId::BASEFRM);
}

void ResultScreen::Timer1_Timer() {
    Picture1->hide();
    Command4->show();
    QCoreApplication::processEvents();
    if (!isFrontPage())
        return;
    Command4->setFocus();
    Timer1->stop();
    const ProgramState& state = m_context.state;
    const int level = state.pupil.currentLevel;
    const int pupil = state.pupil.currentPupil;
    switch (retryOffer(quotaMet(state, level, pupil), levelCleared(state, level, pupil),
                       level == state.levels.goalLevel, state.pupil.goalLevelCleared != 0)) {
    case RetryOffer::Offer:
        Command5->show();
        break;
    case RetryOffer::OfferAndHideClearedText:
        Label2->clear();
        Label2->hide();
        Command5->show();
        break;
    case RetryOffer::MoveOn:
        Label2->setText(kMoveOnText);
        Command5->hide();
        break;
    }
}

void ResultScreen::closeRequested() {
    if (!Command4->isHidden() && Command4->isEnabled())
        Command4_Click();
}

void ResultScreen::Command4_Click() {
    Command4->setEnabled(false);
    if (!m_forms.owner.show(FormId::seisekitime1))
        return;
    m_forms.owner.unload(FormId::FrmSyuuryou);
    QCoreApplication::processEvents();
}

void ResultScreen::Command5_Click() {
    Command4->setEnabled(false);
    if (!m_forms.owner.show(FormId::BASEFRM))
        return;
    m_forms.owner.unload(FormId::FrmSyuuryou);
    QCoreApplication::processEvents();
    // The screen is gone from the window; what follows is the next drill's.
    (void)startDrill(m_forms);
}

} // namespace warizan
