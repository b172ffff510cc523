#include "screens/drill/drill_form.h"

#include "answers/kept_answers.h"
#include "platform/display.h"
#include "records/score_file.h"
#include "screens/control_names.h"
#include "screens/drill_start.h"
#include "sound/sound_cues.h"
#include "state/pupil_minutes.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGraphicsDropShadowEffect>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <optional>

namespace warizan {

namespace {

constexpr int kStatusBarHeight = 115;
constexpr quint32 kStatusBarColour = 0xC0FFC0;
constexpr quint32 kFieldColour = 0x00C000;
constexpr quint32 kPanelColour = 0x00C0C0;
constexpr quint32 kQuestionColour = 0x80FFFF;
constexpr quint32 kSignColour = 0xFFFFC0;
constexpr quint32 kCorrectAnswerColour = 0xFF8080;
constexpr quint32 kPlusHintColour = 0xFFFF00;
constexpr quint32 kCellColour = 0x80FFFF;
constexpr quint32 kCursorColour = 0x00C000;
constexpr int kTitleLengthForSmallFont = 9;
constexpr int kDrillClockMs = 1000;
constexpr int kMinutesTimerMs = 10000;
constexpr qint32 kTimeLimitFactor = 5;
constexpr int kCellFontPoints = 72;

const QString kPlusHint = QStringLiteral("\"+\"を２回押しなさい");

// A straight red line between two points of its parent, the width of its pen; it paints nothing else, so
// what lies underneath stays visible.
class LineShape final : public QWidget {
public:
    LineShape(QWidget* parent, QPoint from, QPoint to, int penWidth)
        : QWidget(parent) {
        const QRect box = QRect(from, to).normalized().adjusted(-penWidth, -penWidth, penWidth, penWidth);
        setGeometry(box);
        m_from = from - box.topLeft();
        m_to = to - box.topLeft();
        m_pen = penWidth;
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::red, m_pen, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(m_from, m_to);
    }

private:
    QPoint m_from;
    QPoint m_to;
    int m_pen = 1;
};

QString arrayName(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

void setColours(QWidget* widget, std::optional<quint32> background, QColor text = Qt::black) {
    QPalette pal = widget->palette();
    pal.setColor(QPalette::WindowText, text);
    if (background)
        pal.setColor(QPalette::Window, display::colour(*background));
    widget->setPalette(pal);
    widget->setAutoFillBackground(background.has_value());
}

// A label placed in design pixels, in "ＭＳ Ｐゴシック".
QLabel* makeLabel(QWidget* parent, const QString& name, QRect design, double points,
                  std::optional<quint32> background = std::nullopt, QColor text = Qt::black,
                  bool bold = false, Qt::Alignment align = Qt::AlignCenter) {
    auto* label = named(new QLabel(parent), name);
    label->setGeometry(display::rect(design.x(), design.y(), design.width(), design.height()));
    label->setFont(display::font(display::Face::PGothic, points, bold));
    label->setAlignment(align);
    setColours(label, background, text);
    return label;
}

QWidget* makeBlock(QWidget* parent, const QString& name, QRect design, quint32 colour) {
    auto* block = named(new QWidget(parent), name);
    block->setGeometry(display::rect(design.x(), design.y(), design.width(), design.height()));
    setColours(block, colour);
    return block;
}

// Writes `text` into a 72-point cell; a text too long for the cell gets a smaller font, so the whole of
// it stays visible.
void setCellText(QLabel* cell, const QString& text) {
    QFont font = display::font(display::Face::PGothic, kCellFontPoints);
    const double room = cell->width() - display::px(8);
    const double width = QFontMetricsF(font).horizontalAdvance(text);
    if (width > room && width > 0)
        font.setPixelSize(std::max(6, static_cast<int>(font.pixelSize() * room / width)));
    if (cell->font() != font)
        cell->setFont(font);
    cell->setText(text);
}

void setCellColour(QLabel* cell, quint32 rgb) {
    const QColor colour = display::colour(rgb);
    if (cell->palette().color(QPalette::Window) == colour)
        return;
    QPalette pal = cell->palette();
    pal.setColor(QPalette::Window, colour);
    cell->setPalette(pal);
}

} // namespace

DrillForm::DrillForm(FormContext& context, QWidget* parent)
    : DesignForm(kPanelColour, parent)
    , m_forms(context)
    , m_context(context.app) {
    setObjectName(QStringLiteral("MainFrm"));
    buildStatusBar();
    buildPanel();

    sPicture2 = makeBlock(canvas(), QStringLiteral("sPicture2"), QRect(0, 0, 640, 480), 0xFFFFC0);
    auto* frame = new QFrame(sPicture2);
    frame->setGeometry(sPicture2->rect());
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(display::px(3));
    lblsss2 = makeLabel(sPicture2, QStringLiteral("lblsss2"), QRect(40, 190, 560, 100), 36, std::nullopt,
                        Qt::red, true);
    lblsss2->setText(QStringLiteral("時間切れ"));
    lblsss1 = makeLabel(sPicture2, QStringLiteral("lblsss1"), QRect(40, 190, 560, 100), 36, std::nullopt,
                        QColor(0, 0, 160), true);
    lblsss1->setText(QStringLiteral("成績記録中"));
    sPicture2->hide();

    sTimer1 = named(new QTimer(this), QStringLiteral("sTimer1"));
    sTimer1->setInterval(kDrillClockMs);
    connect(sTimer1, &QTimer::timeout, this, &DrillForm::sTimer1_Timer);
    sTimer2 = named(new QTimer(this), QStringLiteral("sTimer2"));
    sTimer2->setInterval(kMinutesTimerMs);
    connect(sTimer2, &QTimer::timeout, this, &DrillForm::sTimer2_Timer);
}

void DrillForm::buildStatusBar() {
    sPicture1 = makeBlock(canvas(), QStringLiteral("sPicture1"), QRect(0, 0, 1024, kStatusBarHeight),
                          kStatusBarColour);
    QWidget* bar = sPicture1;
    sLabel1 = makeLabel(bar, QStringLiteral("sLabel1"), QRect(3, 4, 638, 39), 9, kFieldColour);
    sLabel2 = makeLabel(bar, QStringLiteral("sLabel2"), QRect(6, 10, 629, 27), 16.8, kFieldColour, Qt::white,
                        true, Qt::AlignLeft | Qt::AlignVCenter);
    sLabel14 =
        makeLabel(bar, QStringLiteral("sLabel14"), QRect(686, 9, 120, 27), 12, kFieldColour, Qt::white);
    sLabel7 =
        makeLabel(bar, QStringLiteral("sLabel7"), QRect(810, 9, 198, 27), 15, kFieldColour, Qt::white, true);
    sLabel3 = makeLabel(bar, QStringLiteral("sLabel3"), QRect(656, 42, 40, 12), 8.25, std::nullopt, Qt::black,
                        false, Qt::AlignLeft | Qt::AlignTop);
    sLabel3->setText(QStringLiteral("レベル"));
    sLabel8 =
        makeLabel(bar, QStringLiteral("sLabel8"), QRect(687, 52, 119, 28), 14, kFieldColour, Qt::white, true);
    sLabel4 = makeLabel(bar, QStringLiteral("sLabel4"), QRect(812, 66, 24, 14), 9, std::nullopt, Qt::black,
                        false, Qt::AlignLeft | Qt::AlignTop);
    sLabel4->setText(QStringLiteral("残り"));
    sLabel9 =
        makeLabel(bar, QStringLiteral("sLabel9"), QRect(835, 52, 55, 28), 18, kFieldColour, Qt::white, true);
    sLabel6 = makeLabel(bar, QStringLiteral("sLabel6"), QRect(892, 68, 16, 14), 9, std::nullopt, Qt::black,
                        false, Qt::AlignLeft | Qt::AlignTop);
    sLabel6->setText(QStringLiteral("問"));
    sLabel5 = makeLabel(bar, QStringLiteral("sLabel5"), QRect(914, 66, 36, 14), 9, std::nullopt, Qt::black,
                        false, Qt::AlignLeft | Qt::AlignTop);
    sLabel5->setText(QStringLiteral("タイム"));
    sLabel10 =
        makeLabel(bar, QStringLiteral("sLabel10"), QRect(950, 52, 66, 28), 18, kFieldColour, Qt::white, true);

    const struct {
        int index;
        int x;
        const char* text;
    } captions[] = {{0, 3, "起動後"}, {1, 78, "分"},          {2, 244, "本日"},
                    {3, 318, "回目"}, {4, 463, "このレベル"}, {5, 564, "回目"}};
    for (const auto& c : captions) {
        sLabel16[c.index] = makeLabel(bar, arrayName("sLabel16", c.index), QRect(c.x, 62, 60, 14), 9,
                                      std::nullopt, Qt::black, false, Qt::AlignLeft | Qt::AlignTop);
        sLabel16[c.index]->setText(QString::fromUtf8(c.text));
    }
    sLabel13 = makeLabel(bar, QStringLiteral("sLabel13"), QRect(39, 50, 38, 28), 18, kStatusBarColour);
    sLabel12 = makeLabel(bar, QStringLiteral("sLabel12"), QRect(274, 48, 42, 30), 18, kStatusBarColour);
    sLabel11 = makeLabel(bar, QStringLiteral("sLabel11"), QRect(521, 48, 42, 30), 18, kStatusBarColour);
    for (QLabel* field : {sLabel13, sLabel12, sLabel11})
        field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    sShape5 = makeBlock(bar, QStringLiteral("sShape5"), QRect(6, 84, 999, 10), 0xFFFFFF);
    sShape4 = makeBlock(bar, QStringLiteral("sShape4"), QRect(6, 84, 0, 10), 0x80FF80);
    sShape3 = makeBlock(bar, QStringLiteral("sShape3"), QRect(6, 84, 0, 10), 0x00FF00);
    sShape2 = makeBlock(bar, QStringLiteral("sShape2"), QRect(6, 84, 0, 10), 0x0000FF);
    sShape7 = makeBlock(bar, QStringLiteral("sShape7"), QRect(6, 84, 0, 10), 0x0000FF);

    const struct {
        int index;
        int x;
        const char* text;
    } groups[] = {{1, 8, "Best"}, {0, 210, "YourBest"}, {2, 432, "Pass"}};
    for (const auto& g : groups) {
        sLabel17[g.index] = makeLabel(bar, arrayName("sLabel17", g.index), QRect(g.x, 96, 46, 12), 8.25,
                                      std::nullopt, Qt::black, false, Qt::AlignLeft | Qt::AlignTop);
        sLabel17[g.index]->setText(QString::fromLatin1(g.text));
    }
    const struct {
        int first;
        int x;
        quint32 colour;
    } boxes[] = {{10, 38, 0x008000}, {20, 256, 0xC0C000}, {30, 456, 0xC00000}};
    for (const auto& b : boxes) {
        for (int i = 0; i < 10; ++i) {
            auto* box = named(new QFrame(bar), arrayName("sPicture3", b.first + i));
            box->setGeometry(display::rect(b.x + 17 * i, 96, 17, 9));
            box->setFrameShape(QFrame::Box);
            setColours(box, b.colour, QColor(0, 64, 0));
            sPicture3[static_cast<std::size_t>(b.first + i)] = box;
        }
    }
}

void DrillForm::buildPanel() {
    Keisan2BasePic = makeBlock(canvas(), QStringLiteral("Keisan2BasePic"),
                               QRect(0, kStatusBarHeight, 1024, 768 - kStatusBarHeight), kPanelColour);
    QWidget* p = Keisan2BasePic;
    Keisan2Lbl2[0] = makeLabel(p, arrayName("Keisan2Lbl2", 0), QRect(188, 58, 275, 97), 72, kQuestionColour);
    Keisan2Lbl3[0] = makeLabel(p, arrayName("Keisan2Lbl3", 0), QRect(490, 74, 73, 73), 48, kSignColour);
    Keisan2Lbl2[1] = makeLabel(p, arrayName("Keisan2Lbl2", 1), QRect(588, 62, 275, 97), 72, kQuestionColour);
    Keisan2Lbl3[1] = makeLabel(p, arrayName("Keisan2Lbl3", 1), QRect(106, 246, 73, 73), 48, kSignColour);
    Keisan2Lbl1[0] =
        makeLabel(p, arrayName("Keisan2Lbl1", 0), QRect(188, 222, 275, 97), kCellFontPoints, kCellColour);
    Keisan2Lbl3[2] = makeLabel(p, arrayName("Keisan2Lbl3", 2), QRect(470, 276, 97, 41), 21.75, kSignColour);
    Keisan2Lbl1[1] =
        makeLabel(p, arrayName("Keisan2Lbl1", 1), QRect(588, 220, 274, 97), kCellFontPoints, kCellColour);
    Label3 = makeLabel(p, QStringLiteral("Label3"), QRect(588, 318, 274, 43), 12, std::nullopt, Qt::black,
                       false, Qt::AlignLeft | Qt::AlignTop);
    Label3->setWordWrap(true);
    Label3->setText(QStringLiteral("あまりがない場合は０または何も入力しないでスペースを押しなさい"));
    Label2 = makeLabel(p, QStringLiteral("Label2"), QRect(260, 534, 555, 19), 11.25, std::nullopt, Qt::black,
                       false, Qt::AlignLeft | Qt::AlignVCenter);
    Label2->setText(QStringLiteral("←→＝移動　　↓＝クリア　　↑＝オールクリア 　スペース＝右移動と判定"));
    // "正解は" reaches over the top of the "＝" box below it. It has no background of its own and its text
    // stands at the top of its place, so the box shows whole and the word stays readable above it.
    Label1 = makeLabel(p, QStringLiteral("Label1"), QRect(72, 390, 103, 33), 21.75, std::nullopt,
                       QColor(255, 255, 0), true, Qt::AlignHCenter | Qt::AlignTop);
    Label1->setText(QStringLiteral("正解は"));
    // A dark rim keeps the yellow letters readable where they lie over the pale box.
    auto* rim = new QGraphicsDropShadowEffect(Label1);
    rim->setOffset(0, 0);
    rim->setBlurRadius(display::px(4));
    rim->setColor(QColor(0, 80, 80));
    Label1->setGraphicsEffect(rim);
    Keisan2Lbl3[4] = makeLabel(p, arrayName("Keisan2Lbl3", 4), QRect(104, 408, 73, 73), 48, kSignColour);
    Keisan2Lbl3[4]->setText(QStringLiteral("＝"));
    Keisan2Lbl4[0] =
        makeLabel(p, arrayName("Keisan2Lbl4", 0), QRect(188, 390, 275, 97), 72, kCorrectAnswerColour);
    Keisan2Lbl3[3] = makeLabel(p, arrayName("Keisan2Lbl3", 3), QRect(476, 446, 97, 41), 21.75, kSignColour);
    Keisan2Lbl3[3]->setText(QStringLiteral("あまり"));
    Keisan2Lbl4[1] =
        makeLabel(p, arrayName("Keisan2Lbl4", 1), QRect(588, 392, 275, 97), 72, kCorrectAnswerColour);
    Keisan2Lbl5[0] = makeLabel(p, arrayName("Keisan2Lbl5", 0), QRect(260, 558, 553, 41), 24, kPlusHintColour);
    Keisan2Lbl5[0]->setText(kPlusHint);
    Label1->raise();
    const auto at = [](int x, int y) { return QPoint(display::px(x), display::px(y)); };
    Line1 = named(new LineShape(p, at(338, 224), at(730, 328), display::px(5)), QStringLiteral("Line1"));
    Line2 = named(new LineShape(p, at(334, 322), at(722, 224), display::px(5)), QStringLiteral("Line2"));
    Commandkakunin = named(new QPushButton(QStringLiteral("確認"), p), QStringLiteral("Commandkakunin"));
    connect(Commandkakunin, &QPushButton::clicked, this, &DrillForm::Commandkakunin_Click);
    for (QWidget* hidden :
         std::initializer_list<QWidget*>{Label1, Keisan2Lbl3[4], Keisan2Lbl4[0], Keisan2Lbl3[3],
                                         Keisan2Lbl4[1], Line1, Line2, Keisan2Lbl5[0], Commandkakunin})
        hidden->hide();
}

bool DrillForm::load() {
    m_context.random.seed(static_cast<quint64>(m_context.clock.now().time().msecsSinceStartOfDay()));
    sPicture1->move(0, 0);
    sPicture2->move(0, 0);
    Keisan2BasePic->setGeometry(0, sPicture1->height(), display::px(display::kDesignWidth),
                                display::px(display::kDesignHeight) - sPicture1->height());
    Keisan2BasePic->show();
    sPicture2->raise();
    sTimer2->start();
    return true;
}

void DrillForm::activate() {
    初期設定();
    レベル別設定();
    スタート();
    問題作成表示();
}

void DrillForm::初期設定() {
    m_forms.owner.unload(FormId::seisekitime1);
    m_forms.owner.unload(FormId::BASEFRM);
    ProgramState& state = m_context.state;
    RunningDrill& drill = state.drill;
    const int level = state.pupil.currentLevel;
    const int pupil = state.pupil.currentPupil;
    drill.sheetFinished = 0;
    drill.drillEnding = 0;
    drill.judgement = 0;
    m_cells.clearEditBuffer();

    // Every level of this content is timed.
    drill.timeLimitSeconds = kTimeLimitFactor * state.levels.levelGoal2[level];
    sLabel10->setText(QStringLiteral("0"));
    const int bar = sShape5->width();
    for (QWidget* mark : {sShape2, sShape7, sShape3, sShape4})
        mark->move(sShape5->pos());
    sShape2->resize(0, sShape2->height());
    sShape7->resize(0, sShape7->height());
    sShape3->resize(timeBarLength(state.levels.levelGoal[level], drill.timeLimitSeconds, bar),
                    sShape3->height());
    sShape4->resize(timeBarLength(state.levels.levelGoal2[level], drill.timeLimitSeconds, bar),
                    sShape4->height());
    for (int box = kFirstCountdownBox; box <= kLastCountdownBox; ++box)
        sPicture3[static_cast<std::size_t>(box)]->show();
    m_thresholds = {state.figures.levelBestResult[level], state.figures.bestResult.at(level, pupil),
                    state.levels.levelGoal[level], state.levels.levelGoal2[level]};

    const QString& heading = state.config.contentHeading;
    sLabel2->setFont(
        display::font(display::Face::PGothic, heading.size() > kTitleLengthForSmallFont ? 14 : 16.8, true));
    sLabel2->setText(heading);
    sLabel7->setText(state.pupil.currentPupilName.trimmed());
    sLabel8->setText(state.levels.levelName[level]);

    float today = 0;
    for (int i = 1; i <= 15; ++i)
        today += state.figures.todayCount.at(i, pupil);
    todayRunTotal = static_cast<qint32>(today);
    sLabel14->setText(state.config.schoolName);
    sTimer2_Timer();
    sLabel12->setText(QString::number(todayRunTotal + 1));
    sLabel11->setText(QString::number(static_cast<qint32>(state.figures.todayCount.at(level, pupil)) + 1));
}

void DrillForm::レベル別設定() {
    m_context.state.drill.questionsPerSheet = 10;
    sLabel9->setText(QStringLiteral("10"));
}

void DrillForm::スタート() {
    RunningDrill& drill = m_context.state.drill;
    drill.drillStartTime = m_context.clock.secondsSinceMidnight();
    drill.drillStartMs = m_context.clock.monotonicMs();
    // The time of the sheet before must not stand for this one until the first tick.
    drill.elapsedSeconds = 0;
    m_recorder.start(m_context.state.pupil.currentPupil, m_context.state.pupil.currentLevel,
                     m_context.clock.now());
    sTimer1->start();
}

void DrillForm::問題作成表示() {
    ProgramState& state = m_context.state;
    RunningDrill& drill = state.drill;
    if (drill.timeUp || drill.sheetFinished || drill.judgingBusy)
        return;
    const int level = state.pupil.currentLevel;
    m_question = drawQuestion(level, m_context.random, drill.previousQuotient, drill.previousDivisor);
    m_recorder.questionShown(m_question, m_context.clock.monotonicMs());
    Keisan2Lbl2[0]->setText(QString::number(m_question.dividend()));
    Keisan2Lbl2[1]->setText(QString::number(m_question.divisor));
    Keisan2Lbl3[0]->setText(QStringLiteral("÷"));
    Keisan2Lbl3[1]->setText(QStringLiteral("＝"));
    Keisan2Lbl3[2]->setText(QStringLiteral("あまり"));
    const bool remainder = levelHasRemainder(level);
    // Emptied on a level without a remainder, and hidden too: an empty box beside the answer would ask for
    // something that is not there.
    if (!remainder)
        Keisan2Lbl3[2]->clear();
    Keisan2Lbl3[2]->setVisible(remainder);
    Keisan2Lbl1[1]->setVisible(remainder);
    Label3->setVisible(remainder);
    m_cells.newQuestion(remainder ? 2 : 1);
    showCells();
}

void DrillForm::showCells() {
    for (int cell = 0; cell < m_cells.cellCount(); ++cell) {
        QLabel* label = Keisan2Lbl1[static_cast<std::size_t>(cell)];
        setCellText(label, m_cells.text(cell));
        setCellColour(label, cell == m_cells.cursorCell() ? kCursorColour : kCellColour);
    }
}

void DrillForm::showRemaining() {
    const RunningDrill& drill = m_context.state.drill;
    sLabel9->setText(QString::number(drill.questionsPerSheet - drill.solvedCount));
}

bool DrillForm::previewKey(QKeyEvent* event) {
    if (m_ending)
        return true;
    const bool modifier =
        (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) != 0;
    keyDown(event->key(), modifier);
    if (m_ending)
        return true;
    // Delete types no character on the keyboards the drill was made for; Backspace types code 8.
    if (event->key() == Qt::Key_Backspace)
        character(AnswerCells::kBackspace);
    else if (event->key() != Qt::Key_Delete && !event->text().isEmpty())
        character(event->text().at(0).unicode());
    return true;
}

void DrillForm::keyDown(int key, bool modifier) {
    if (m_context.state.drill.correctionState > 0)
        return;
    AnswerCells::Key cellKey;
    switch (key) {
    case Qt::Key_Delete:
    case Qt::Key_Down:
        cellKey = AnswerCells::Key::Clear;
        break;
    case Qt::Key_Up:
        cellKey = AnswerCells::Key::Up;
        break;
    case Qt::Key_Right:
        cellKey = AnswerCells::Key::Right;
        break;
    case Qt::Key_Left:
        cellKey = AnswerCells::Key::Left;
        break;
    case Qt::Key_Space:
        cellKey = AnswerCells::Key::Space;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        cellKey = AnswerCells::Key::Enter;
        break;
    default:
        return;
    }
    if (m_cells.keyDown(cellKey, modifier) == AnswerCells::KeyOutcome::Judge)
        judgeOnRequest();
    else
        showCells();
}

void DrillForm::judgeOnRequest() {
    RunningDrill& drill = m_context.state.drill;
    const qint64 requestedMs = m_context.clock.monotonicMs();
    answerText = {m_cells.text(0), m_cells.text(1)};
    const bool judged = !drill.timeUp && !drill.sheetFinished;
    drill.judgingBusy = 1;
    判定();
    if (judged)
        m_recorder.judged(answerText[0], answerText[1], drill.judgement == 1, requestedMs);
    判定後処理();
    drill.judgingBusy = 0;
}

void DrillForm::character(char16_t code) {
    RunningDrill& drill = m_context.state.drill;
    if (drill.timeUp || drill.sheetFinished || drill.judgingBusy)
        return;
    if (drill.correctionState == 1 || drill.correctionState == 2) {
        correctionKey(code);
        return;
    }
    switch (m_cells.character(code)) {
    case AnswerCells::CharOutcome::Refused:
        // The cue blocks the window while it plays, so keys a child mashes meanwhile arrive only after it.
        // They are handled at once, and those refused too play no further cue: otherwise every mashed key
        // would queue one more warning and the window would not answer for seconds.
        if (m_refusedKeysSilent)
            break;
        playWarningCue(m_context);
        m_refusedKeysSilent = true;
        QCoreApplication::processEvents();
        m_refusedKeysSilent = false;
        break;
    case AnswerCells::CharOutcome::Typed:
        showCells();
        break;
    case AnswerCells::CharOutcome::Ignored:
        break;
    }
}

void DrillForm::correctionKey(char16_t code) {
    RunningDrill& drill = m_context.state.drill;
    // The two "+" must come in a row.
    if (code != u'+') {
        drill.correctionState = 1;
    } else if (drill.correctionState == 1) {
        drill.correctionState = 2;
    } else {
        drill.correctionState = 3;
        Keisan2Lbl5[0]->hide();
        Commandkakunin_Click();
    }
}

void DrillForm::判定() {
    RunningDrill& drill = m_context.state.drill;
    if (drill.timeUp || drill.sheetFinished) {
        drill.judgingBusy = 0;
        return;
    }
    drill.judgement =
        answerIsCorrect(answerText[0], answerText[1], m_question.quotient, m_question.remainder) ? 1 : 2;
}

void DrillForm::判定後処理() {
    ProgramState& state = m_context.state;
    RunningDrill& drill = state.drill;
    if (drill.timeUp || drill.sheetFinished)
        return;
    if (drill.judgement == 1) {
        drill.judgement = 0;
        if (!playCorrectCue(m_context))
            return programEnding();
        ++drill.solvedCount;
        showRemaining();
        if (drill.solvedCount < drill.questionsPerSheet) {
            drill.judgingBusy = 0;
            m_cells.clearEditBuffer();
            問題作成表示();
        } else {
            sTimer1->stop();
            drill.sheetFinished = 1;
            endDrill();
        }
    } else if (drill.judgement == 2) {
        drill.correctionState = 1;
        Keisan2Lbl4[0]->setText(QString::number(m_question.quotient));
        Keisan2Lbl4[1]->setText(QString::number(m_question.remainder));
        Keisan2Lbl4[0]->show();
        if (levelHasRemainder(state.pupil.currentLevel)) {
            Keisan2Lbl4[1]->show();
            Keisan2Lbl3[3]->show();
        }
        Keisan2Lbl3[4]->show();
        Label1->show();
        Line1->show();
        Line2->show();
        Line1->raise();
        Line2->raise();
        QCoreApplication::processEvents();
        if (!playWrongCue(m_context))
            return programEnding();
        drill.solvedCount = std::max(0, drill.solvedCount - 1);
        showRemaining();
        drill.judgingBusy = 0;
        Keisan2Lbl5[0]->show();
    }
}

void DrillForm::Commandkakunin_Click() {
    m_context.state.drill.correctionState = 0;
    for (QWidget* w : std::initializer_list<QWidget*>{Keisan2Lbl4[0], Keisan2Lbl4[1], Keisan2Lbl3[3],
                                                      Keisan2Lbl3[4], Label1, Line1, Line2, Keisan2Lbl5[0]})
        w->hide();
    m_cells.clearEditBuffer();
    問題作成表示();
}

// The program holds no data file open between its own steps: every routine closes what it opens before it
// returns. So the points of the drill that would close the open files (a tick after the time ran out, a
// character typed after the end, every tenth minute, a second end) have nothing to do.
void DrillForm::sTimer1_Timer() {
    RunningDrill& drill = m_context.state.drill;
    drill.elapsedSeconds = elapsedWholeSeconds(drill.drillStartMs, m_context.clock.monotonicMs());
    for (int box : countdownBoxesToHide(m_thresholds, drill.elapsedSeconds))
        sPicture3[static_cast<std::size_t>(box)]->hide();
    sLabel10->setText(QString::number(drill.elapsedSeconds));
    QCoreApplication::processEvents();
    if (m_ending || !isFrontPage())
        return;
    if (drill.elapsedSeconds < drill.timeLimitSeconds) {
        sShape2->resize(timeBarLength(drill.elapsedSeconds, drill.timeLimitSeconds, sShape5->width()),
                        sShape2->height());
        return;
    }
    sShape2->resize(sShape5->width(), sShape2->height());
    // While an answer is being judged the clock stays on, and the next tick ends the drill.
    if (!drill.drillEnding && !drill.sheetFinished && !drill.judgingBusy) {
        drill.timeUp = 1;
        sTimer1->stop();
        endDrill();
    }
}

void DrillForm::sTimer2_Timer() {
    const WorkingPupil& pupil = m_context.state.pupil;
    sLabel13->setText(
        QString::number(minutesSinceStart(m_context.clock, pupil.startTimerMs, pupil.startTimer)));
}

void DrillForm::endDrill() {
    ProgramState& state = m_context.state;
    RunningDrill& drill = state.drill;
    QCoreApplication::processEvents();
    if (drill.drillEnding || m_ending || !isFrontPage())
        return;
    drill.drillEnding = 1;
    sPicture2->show();
    sPicture2->raise();
    lblsss1->setVisible(!drill.timeUp);
    lblsss2->setVisible(drill.timeUp);
    QCoreApplication::processEvents();

    sTimer1->stop();
    drill.finalTime = drill.timeUp ? kNoResult : drill.elapsedSeconds;
    // The answers are kept with the run, so they reach the log even when it cannot take them now; that is
    // the data tool's to report, not the child's to see.
    const QDateTime end = m_context.clock.now();
    if (!recordDrillResult(m_context, state.pupil.currentLevel,
                           answerLogPart(state.config, end, m_recorder.finish(end, drill.finalTime))))
        return programEnding();
    if (!m_forms.owner.show(FormId::BASEFRM))
        return programEnding();
    QCoreApplication::processEvents();
    if (!waitThenShowResult(m_forms, 1.0))
        programEnding();
}

} // namespace warizan
