#include "screens/levelmenu/level_menu_screen.h"

#include "lists/level_columns.h"
#include "platform/gui/display.h"
#include "records/score_count.h"
#include "screens/control_names.h"
#include "screens/drill_start.h"
#include "screens/levelmenu/columns_panel.h"
#include "screens/levelmenu/report_panel.h"
#include "state/pupil_minutes.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>

namespace warizan {

namespace {

// Columns share 14592 twips; from five levels on, four are in view and the scroll bar moves them.
constexpr double kColumnsTwips = 14592;
constexpr int kColumnsInView = 4;

// How to work a drill. The lines that name keys say what the drill form does with them: Space moves to the
// next cell and judges on the last one, Enter judges, "+" twice goes on after a wrong answer.
const QStringList kInstructions = {
    QStringLiteral("①の指示で計算します"),
    QStringLiteral("②計算の答えを入力します"),
    QStringLiteral("　スペースキーで次のますへ移動できます"),
    QStringLiteral("　（矢印キーでも他のますへ移動できます）"),
    QStringLiteral("　間違いは"),
    QStringLiteral("　　DELETEキー"),
    QStringLiteral("　または"),
    QStringLiteral("　　シフトを押しながら方向キー"),
    QStringLiteral("　で消せます"),
    QStringLiteral("③すべて入力したら"),
    QStringLiteral("　最後のますでスペースキーを押すか"),
    QStringLiteral("　エンターキーを押します"),
    QStringLiteral("判定後"),
    QStringLiteral("　間違っていたら"),
    QStringLiteral("　　正解が出ます"),
    QStringLiteral("　　\"+\"キーを２回"),
    QStringLiteral("　を押して"),
    QStringLiteral("　次の問題へ進みます"),
    QString(),
    QStringLiteral("では、スタートボタンを押してはじめよう"),
};

QLabel* whiteLabel(QWidget* parent, const QString& name, double points, bool bold = false) {
    auto* label = named(new QLabel(parent), name);
    label->setFont(display::font(display::Face::PGothic, points, bold));
    label->setStyleSheet(QStringLiteral("color: white;"));
    return label;
}

} // namespace

LevelMenuScreen::LevelMenuScreen(FormContext& context, QWidget* parent)
    : DesignForm(context.app.state.config.themeColour, parent)
    , m_forms(context)
    , m_context(context.app) {
    setObjectName(QStringLiteral("seisekitime1"));
    buildControls();
}

void LevelMenuScreen::buildControls() {
    QWidget* c = canvas();
    // The menu's own captions, white on the theme colour, in design pixels.
    const struct {
        QLabel* LevelMenuScreen::*label;
        const char* name;
        double x, y, width, height;
        double points;
        bool bold;
        const char16_t* text;
    } captions[] = {
        {&LevelMenuScreen::Label11, "Label11", 16, 6, 430, 44, 24, true, nullptr},
        {&LevelMenuScreen::Label12, "Label12", 452, 8, 330, 26, 14, true, nullptr},
        {&LevelMenuScreen::Label13, "Label13", 452, 34, 330, 20, 11, false, nullptr},
        {&LevelMenuScreen::Label17, "Label17", 792, 8, 220, 24, 12, false, nullptr},
        {&LevelMenuScreen::Label18, "Label18", 792, 32, 220, 24, 12, true, nullptr},
        {&LevelMenuScreen::Label4, "Label4", 16, 650, 200, 20, 11, true, u"説明"},
        {&LevelMenuScreen::Label6, "Label6", 460, 650, 340, 20, 10, false,
         u"GRPH+A,B,C,D..でも選択できます。"},
    };
    for (const auto& caption : captions) {
        QLabel* label = whiteLabel(c, QString::fromLatin1(caption.name), caption.points, caption.bold);
        label->setGeometry(display::rect(caption.x, caption.y, caption.width, caption.height));
        if (caption.text)
            label->setText(QString::fromUtf16(caption.text));
        this->*caption.label = label;
    }

    m_columns = new ColumnsPanel(m_context.state, c, this);
    connect(m_columns, &ColumnsPanel::startClicked, this, [this](int level) { startLevel(level, true); });
    connect(m_columns, &ColumnsPanel::nameClicked, this, [this](int level) { startLevel(level, false); });
    m_options = new ListOptions(m_forms, *this, *m_columns);

    HScroll1 = named(new QScrollBar(Qt::Horizontal, c), "HScroll1");
    HScroll1->setGeometry(display::rect(16, 632, 992, 16));
    connect(HScroll1, &QScrollBar::valueChanged, this, [this](int value) {
        m_context.state.levelMenu.firstVisibleRow = value > m_levelCount ? 1 : value;
        placeColumns();
    });
    List6 = named(new QListWidget(c), "List6");
    List6->setGeometry(display::rect(16, 670, 430, 94));
    List6->setFont(display::font(display::Face::Gothic, 10.5));
    List6->setFocusPolicy(Qt::NoFocus);

    // Beside the lists' buttons, under the level columns; Tab reaches it before the way back.
    CommandPractice = named(new QPushButton(QStringLiteral("苦手れんしゅう(P)"), c), "CommandPractice");
    CommandPractice->setGeometry(display::rect(460, 712, 342, 50));
    CommandPractice->setFont(display::font(display::Face::PGothic, 16, true));
    CommandPractice->setToolTip(
        QStringLiteral("苦手な組を、覚えた組にまぜて10問れんしゅうします（成績には入りません）"));
    connect(CommandPractice, &QPushButton::clicked, this, &LevelMenuScreen::startPractice);
    Command1 = named(new QPushButton(QStringLiteral("戻る(0)"), c), "Command1");
    Command1->setGeometry(display::rect(820, 660, 188, 100));
    Command1->setFont(display::font(display::Face::PGothic, 20, true));
    connect(Command1, &QPushButton::clicked, this, &LevelMenuScreen::goBack);
    Command9 = named(new QPushButton(c), "Command9");
    Command9->setGeometry(display::rect(0, 0, 1, 1));
    Command9->hide();
    connect(Command9, &QPushButton::clicked, this, &LevelMenuScreen::Command9_Click);

    Picture11 = new ReportPanel(m_forms, *this, c);
    connect(m_options, &ListOptions::wayBackOffered, Command1, &QWidget::setEnabled);
    connect(m_options, &ListOptions::modeChosen, Picture11, &QWidget::hide);
    connect(m_options, &ListOptions::reportAsked, this, [this] { Picture11->open(m_levelCount); });
    connect(m_options, &ListOptions::listsShown, this, &LevelMenuScreen::Command9_Click);
    buildWaitPanel();
}

// The wait panel over everything, while a drill is started or the pupil leaves.
void LevelMenuScreen::buildWaitPanel() {
    Picture2 = named(new QWidget(canvas()), "Picture2");
    Picture2->setGeometry(display::rect(0, 0, 400, 60));
    Picture2->setAutoFillBackground(true);
    QPalette pal = Picture2->palette();
    pal.setColor(QPalette::Window, display::colour(m_context.state.config.themeColour));
    Picture2->setPalette(pal);
    auto* moment = whiteLabel(Picture2, QStringLiteral("Label19"), 18);
    moment->setText(QStringLiteral("Just a moment, please."));
    moment->setGeometry(display::rect(8, 2, 384, 34));
    ProgressBar1 = named(new QProgressBar(Picture2), "ProgressBar1");
    ProgressBar1->setGeometry(display::rect(8, 38, 384, 16));
    Picture2->hide();
}

bool LevelMenuScreen::load() {
    m_levelCount = std::clamp<int>(m_context.state.levels.levelCount, 0, kMaxLevel);
    // Fewer than five levels share the width; more are scrolled four at a time.
    const int shared = std::max(1, std::min(m_levelCount, kColumnsInView));
    HScroll1->setVisible(m_levelCount > kColumnsInView);
    const QSignalBlocker blocker(HScroll1); // the columns are placed on activation
    HScroll1->setRange(1, std::max(1, m_levelCount - kColumnsInView + 1));
    m_options->load(m_levelCount);
    m_columns->build(m_levelCount, kColumnsTwips / shared / 15);
    return true;
}

void LevelMenuScreen::activate() {
    ProgramState& state = m_context.state;
    List6->clear();
    List6->addItems(kInstructions);
    Picture11->showTeacherButtons(state.pupil.currentPupilName.contains(QStringLiteral("先生")));
    // The same minutes as the drill's status bar: on the monotonic counter from the moment the pupil was
    // confirmed.
    Label17->setText(
        elapsedText(minutesSinceStart(m_context.clock, state.pupil.startTimerMs, state.pupil.startTimer)));

    m_busy = false;
    showWaitPanel();
    m_options->resetCaptions();
    m_forms.owner.unload(FormId::namesel);
    // The count may wait for another copy's append, letting events run: "0" may take the pupil back to
    // the names meanwhile.
    if (!countScores(m_context) || !isFrontPage())
        return;
    Label18->setText(todayTotalText(state));

    ProgressBar1->setMaximum(std::max(1, m_levelCount));
    m_options->chooseFirstLists();
    m_columns->showLists(true);

    Label12->setText(state.pupil.currentGradeLabel + u' ' + state.pupil.currentPupilName.trimmed());
    Label13->setText(state.config.schoolName + u':' + QString::number(state.pupil.currentPupil));
    const QString& heading = state.config.contentHeading;
    Label11->setText(heading);
    Label11->setFont(display::font(display::Face::PGothic, heading.size() > 9 ? 20 : 24, true));

    int& first = state.levelMenu.firstVisibleRow;
    if (first == 0 || first > HScroll1->maximum())
        first = 1;
    const QSignalBlocker blocker(HScroll1);
    HScroll1->setValue(first);
    placeColumns();

    m_columns->showFigures();
    Command9_Click();
    Picture2->hide();
}

void LevelMenuScreen::placeColumns() {
    m_columns->place(std::max(1, m_context.state.levelMenu.firstVisibleRow));
}

void LevelMenuScreen::showWaitPanel() {
    Picture2->show();
    Picture2->raise();
}

void LevelMenuScreen::startLevel(int level, bool fromStartButton) {
    if (!m_columns->startEnabled(level))
        return;
    if (fromStartButton) {
        showWaitPanel();
        m_busy = true;
    }
    m_context.state.pupil.currentLevel = static_cast<qint16>(level);
    if (!startDrill(m_forms))
        return;
    if (fromStartButton)
        m_forms.owner.unload(FormId::seisekitime1);
}

void LevelMenuScreen::startPractice() {
    if (m_busy)
        return;
    showWaitPanel();
    m_busy = true;
    if (!warizan::startPractice(m_forms))
        return;
    m_forms.owner.unload(FormId::seisekitime1);
}

void LevelMenuScreen::goBack() {
    showWaitPanel();
    if (!m_forms.owner.show(FormId::namesel))
        return;
    // Loaded afresh for the next pupil: the columns' lines are those of the pupil they were built for.
    m_forms.owner.unload(FormId::seisekitime1);
}

void LevelMenuScreen::closeRequested() {
    if (!m_busy && Command1->isEnabled())
        goBack();
}

bool LevelMenuScreen::previewKey(QKeyEvent* event) {
    if (m_busy)
        return false;
    const QString text = event->text();
    if (text.size() != 1)
        return false;
    const QChar key = text.at(0);
    int level = 0;
    if (key >= u'1' && key <= u'9')
        level = key.unicode() - u'0';
    else if (key >= u'a' && key <= u'd')
        level = 10 + key.unicode() - u'a';
    else if (key >= u'A' && key <= u'D')
        level = 10 + key.unicode() - u'A';
    if (level > 0) {
        if (level <= m_levelCount)
            startLevel(level, false);
        return true;
    }
    if (key == u'0') {
        if (Command1->isEnabled())
            goBack();
        return true;
    }
    if (key == u'p' || key == u'P') {
        startPractice();
        return true;
    }
    return false;
}

void LevelMenuScreen::Command9_Click() {
    ProgramState& state = m_context.state;
    const Unlocking unlocking = unlockingPass(state);
    state.pupil.goalLevelCleared = unlocking.goalLevelCleared;
    m_columns->showUnlocking(unlocking);
    m_options->raiseProgressPanel();
}

} // namespace warizan
