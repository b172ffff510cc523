#include "screens/levelmenu/level_menu_screen.h"

#include "lists/level_columns.h"
#include "lists/list_text.h"
#include "lists/rankings.h"
#include "lists/score_lists.h"
#include "platform/display.h"
#include "records/score_count.h"
#include "roster/pupil_list.h"
#include "screens/control_names.h"
#include "screens/drill_start.h"
#include "screens/levelmenu/report_panel.h"
#include "state/pupil_minutes.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <algorithm>

namespace warizan {

namespace {

// Columns share 14592 twips; from five levels on, four are in view and the scroll bar moves them.
constexpr double kColumnsTwips = 14592;
constexpr int kColumnsInView = 4;
// Left edge of the template column (List5(0)), design pixels.
constexpr double kColumnsLeft = 25.6;

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

QLabel* whiteLabel(QWidget* parent, const char* name, double points, bool bold = false) {
    auto* label = named(new QLabel(parent), name);
    label->setFont(display::font(display::Face::PGothic, points, bold));
    label->setStyleSheet(QStringLiteral("color: white;"));
    return label;
}

void fillPanel(QWidget* panel, const QColor& colour) {
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, colour);
    panel->setPalette(pal);
}

// White captions on the theme colour; a style sheet would paint the option buttons' dots white as well.
void whiteText(QWidget* widget) {
    QPalette pal = widget->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    widget->setPalette(pal);
}

// Design-pixel geometry of a widget, as placed with display::rect.
double designX(const QWidget* w) {
    return w->x() / display::scale();
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
    const QColor theme = display::colour(m_context.state.config.themeColour);

    Label11 = whiteLabel(c, "Label11", 24, true);
    Label11->setGeometry(display::rect(16, 6, 430, 44));
    Label12 = whiteLabel(c, "Label12", 14, true);
    Label12->setGeometry(display::rect(452, 8, 330, 26));
    Label13 = whiteLabel(c, "Label13", 11);
    Label13->setGeometry(display::rect(452, 34, 330, 20));
    Label17 = whiteLabel(c, "Label17", 12);
    Label17->setGeometry(display::rect(792, 8, 220, 24));
    Label18 = whiteLabel(c, "Label18", 12, true);
    Label18->setGeometry(display::rect(792, 32, 220, 24));

    // The option panel: display modes above, the lists of the mode below.
    Picture1 = named(new QWidget(c), "Picture1");
    Picture1->setGeometry(display::rect(16, 56, 560, 56));
    m_modeGroup = new QButtonGroup(this);
    m_listGroup = new QButtonGroup(this);
    const QStringList modeCaptions = {QStringLiteral("ﾀｲﾑ表示"), QStringLiteral("ﾎﾟｲﾝﾄ表示"),
                                      QStringLiteral("個人ﾀｲﾑ")};
    for (int k = 0; k < 3; ++k) {
        Option2[k] = named(new QRadioButton(modeCaptions[k], Picture1), QStringLiteral("Option2_%1").arg(k));
        Option2[k]->setGeometry(display::rect(4 + 180 * k, 2, 120, 24));
        Option2[k]->setFont(display::font(display::Face::PGothic, 11, true));
        whiteText(Option2[k]);
        m_modeGroup->addButton(Option2[k], k);
    }
    const QStringList listCaptions = {QString(), QStringLiteral("累計順"), QStringLiteral("本日順"),
                                      QStringLiteral("すべて")};
    for (int k = 1; k <= 3; ++k) {
        Option1[k] = named(new QRadioButton(listCaptions[k], Picture1), QStringLiteral("Option1_%1").arg(k));
        Option1[k]->setGeometry(display::rect(4 + 180 * (k - 1), 29, 120, 24));
        Option1[k]->setFont(display::font(display::Face::PGothic, 11));
        whiteText(Option1[k]);
        m_listGroup->addButton(Option1[k], k);
    }
    connect(m_modeGroup, &QButtonGroup::idClicked, this, &LevelMenuScreen::onDisplayMode);
    connect(m_listGroup, &QButtonGroup::idClicked, this, &LevelMenuScreen::onListChoice);

    Combo1 = named(new QComboBox(c), "Combo1");
    Combo1->setGeometry(display::rect(590, 60, 150, 26));
    Combo1->setFont(display::font(display::Face::PGothic, 11));
    Combo1->setToolTip(QStringLiteral("表示する学年を選びます"));
    connect(Combo1, &QComboBox::activated, this, &LevelMenuScreen::onGradeFilter);
    Combo2 = named(new QComboBox(c), "Combo2");
    Combo2->setGeometry(display::rect(750, 60, 258, 26));
    Combo2->setFont(display::font(display::Face::PGothic, 11));
    connect(Combo2, &QComboBox::activated, this, &LevelMenuScreen::onWholePeriod);
    Combo2->hide();

    Command17 = named(new QPushButton(QStringLiteral("グラフ"), c), "Command17");
    Command17->setGeometry(display::rect(750, 90, 120, 24));
    Command17->setFont(display::font(display::Face::PGothic, 11));
    connect(Command17, &QPushButton::clicked, this, &LevelMenuScreen::openPersonalReport);
    Command17->hide();

    Label5 = named(new QLabel(c), "Label5");
    Label5->setGeometry(display::rect(16, 113, 560, 21));
    Label5->setFont(display::font(display::Face::PGothic, 11, true));
    Label5->setStyleSheet(QStringLiteral("color: yellow;"));

    // The template column, element 0: never shown, the columns are laid out from it.
    m_columnWidth = 3648.0 / 15;
    const double x = kColumnsLeft;
    const double w = m_columnWidth;
    const double half = (w - 8) / 2;
    auto* label1 = whiteLabel(c, "Label1_0", 18, true);
    label1->setGeometry(display::rect(x, 136, 30, 28));
    auto* label3 = whiteLabel(c, "Label3_0", 15, true);
    label3->setGeometry(display::rect(x + 30, 136, w - 38, 28));
    auto* command4 = named(new QPushButton(c), "Command4_0");
    command4->setGeometry(display::rect(x, 166, 140, 38));
    command4->setFont(display::font(display::Face::PGothic, 14, true));
    auto* text1 = named(new QLineEdit(c), "Text1_0");
    text1->setGeometry(display::rect(x + 144, 170, w - 152, 30));
    text1->setFont(display::font(display::Face::PGothic, 10, true));
    text1->setReadOnly(true);
    text1->setFocusPolicy(Qt::NoFocus);
    text1->setAlignment(Qt::AlignCenter);
    auto greyLabel = [&](const char* name, double y) {
        auto* label = named(new QLabel(c), name);
        label->setGeometry(display::rect(x, y, w - 8, 20));
        label->setFont(display::font(display::Face::PGothic, 9));
        return label;
    };
    auto* label7 = greyLabel("Label7_0", 208);
    auto* label8 = greyLabel("Label8_0", 230);
    auto* label9 = whiteLabel(c, "Label9_0", 10);
    label9->setGeometry(display::rect(x, 253, half, 20));
    auto* label10 = whiteLabel(c, "Label10_0", 10);
    label10->setGeometry(display::rect(x + half, 253, half, 20));
    auto* label14 = whiteLabel(c, "Label14_0", 11, true);
    label14->setGeometry(display::rect(x, 274, half, 22));
    auto* label15 = whiteLabel(c, "Label15_0", 11, true);
    label15->setGeometry(display::rect(x + half, 274, half, 22));
    auto* list5 = named(new QListWidget(c), "List5_0");
    list5->setGeometry(display::rect(x, 298, w - 8, 300));
    list5->setFont(display::font(display::Face::Gothic, 10.5));
    list5->setUniformItemSizes(true); // single lines of one font: thousands of pupils lay out at once
    auto* command3 = named(new QPushButton(QStringLiteral("成績表示"), c), "Command3_0");
    command3->setGeometry(display::rect(x, 602, w - 8, 26));
    command3->setFont(display::font(display::Face::PGothic, 10));
    Label1 = {label1};
    Label3 = {label3};
    Command4 = {command4};
    Text1 = {text1};
    Label7 = {label7};
    Label8 = {label8};
    Label9 = {label9};
    Label10 = {label10};
    Label14 = {label14};
    Label15 = {label15};
    List5 = {list5};
    Command3 = {command3};
    for (QWidget* w0 : std::initializer_list<QWidget*>{label1, label3, command4, text1, label7, label8,
                                                       label9, label10, label14, label15, list5, command3})
        w0->hide();

    HScroll1 = named(new QScrollBar(Qt::Horizontal, c), "HScroll1");
    HScroll1->setGeometry(display::rect(16, 632, 992, 16));
    connect(HScroll1, &QScrollBar::valueChanged, this, [this](int value) {
        m_context.state.levelMenu.firstVisibleRow = value > m_levelCount ? 1 : value;
        placeColumns();
    });

    Label4 = whiteLabel(c, "Label4", 11, true);
    Label4->setText(QStringLiteral("説明"));
    Label4->setGeometry(display::rect(16, 650, 200, 20));
    List6 = named(new QListWidget(c), "List6");
    List6->setGeometry(display::rect(16, 670, 430, 94));
    List6->setFont(display::font(display::Face::Gothic, 10.5));
    List6->setFocusPolicy(Qt::NoFocus);
    Label6 = whiteLabel(c, "Label6", 10);
    Label6->setText(QStringLiteral("GRPH+A,B,C,D..でも選択できます。"));
    Label6->setGeometry(display::rect(460, 650, 340, 20));

    auto listButton = [&](const char* name, const QString& caption, double left) {
        auto* button = named(new QPushButton(caption, c), name);
        button->setGeometry(display::rect(left, 676, 84, 30));
        button->setFont(display::font(display::Face::PGothic, 9));
        return button;
    };
    Command5 = listButton("Command5", QStringLiteral("本日成績表示"), 460);
    Command7 = listButton("Command7", QStringLiteral("全成績"), 546);
    Command6 = listButton("Command6", QStringLiteral("過去最高表示"), 632);
    Command16 = listButton("Command16", QStringLiteral("個人別ﾀｲﾑ"), 718);
    connect(Command5, &QPushButton::clicked, this, &LevelMenuScreen::showTodayList);
    connect(Command7, &QPushButton::clicked, this, &LevelMenuScreen::showPeriodList);
    connect(Command6, &QPushButton::clicked, this, &LevelMenuScreen::showBestList);
    connect(Command16, &QPushButton::clicked, this, &LevelMenuScreen::showPersonalList);

    Command1 = named(new QPushButton(QStringLiteral("戻る(0)"), c), "Command1");
    Command1->setGeometry(display::rect(820, 660, 188, 100));
    Command1->setFont(display::font(display::Face::PGothic, 20, true));
    connect(Command1, &QPushButton::clicked, this, &LevelMenuScreen::goBack);

    Command9 = named(new QPushButton(c), "Command9");
    Command9->setGeometry(display::rect(0, 0, 1, 1));
    Command9->hide();
    connect(Command9, &QPushButton::clicked, this, &LevelMenuScreen::Command9_Click);

    Picture11 = new ReportPanel(m_forms, c);

    // The progress panel over the lists, and the wait panel over everything.
    Picture6 = named(new QWidget(c), "Picture6");
    Picture6->setGeometry(display::rect(312, 360, 400, 84));
    fillPanel(Picture6, QColor(255, 255, 224));
    auto* momento = named(new QLabel(QStringLiteral("Just a momento, please."), Picture6), "Label16");
    momento->setGeometry(display::rect(12, 8, 376, 32));
    momento->setFont(display::font(display::Face::PGothic, 16));
    ProgressBar2 = named(new QProgressBar(Picture6), "ProgressBar2");
    ProgressBar2->setGeometry(display::rect(12, 48, 376, 24));
    Picture6->hide();

    Picture2 = named(new QWidget(c), "Picture2");
    Picture2->setGeometry(display::rect(0, 0, 400, 60));
    fillPanel(Picture2, theme);
    auto* moment = whiteLabel(Picture2, "Label19", 18);
    moment->setText(QStringLiteral("Just a moment, please."));
    moment->setGeometry(display::rect(8, 2, 384, 34));
    ProgressBar1 = named(new QProgressBar(Picture2), "ProgressBar1");
    ProgressBar1->setGeometry(display::rect(8, 38, 384, 16));
    Picture2->hide();
}

void LevelMenuScreen::buildColumn(int level) {
    QWidget* c = canvas();
    const QString n = QString::number(level);
    auto copyLabel = [&](std::vector<QLabel*>& array, const char* base) {
        QLabel* t = array[0];
        auto* label = named(new QLabel(c), QString::fromLatin1(base) + u'_' + n);
        label->setGeometry(t->geometry());
        label->setFont(t->font());
        label->setStyleSheet(t->styleSheet());
        label->show();
        array.push_back(label);
        return label;
    };
    copyLabel(Label1, "Label1");
    copyLabel(Label3, "Label3"); // clicks reach eventFilter through the form's application-wide filter
    auto* start = named(new QPushButton(c), QStringLiteral("Command4_") + n);
    start->setGeometry(Command4[0]->geometry());
    start->setFont(Command4[0]->font());
    connect(start, &QPushButton::clicked, this, [this, level] { startLevel(level, true); });
    start->show();
    Command4.push_back(start);
    auto* marker = named(new QLineEdit(c), QStringLiteral("Text1_") + n);
    marker->setGeometry(Text1[0]->geometry());
    marker->setFont(Text1[0]->font());
    marker->setReadOnly(true);
    marker->setFocusPolicy(Qt::NoFocus);
    marker->setAlignment(Qt::AlignCenter);
    marker->hide();
    Text1.push_back(marker);
    copyLabel(Label7, "Label7");
    copyLabel(Label8, "Label8");
    copyLabel(Label9, "Label9");
    copyLabel(Label10, "Label10");
    copyLabel(Label14, "Label14");
    copyLabel(Label15, "Label15");
    auto* list = named(new QListWidget(c), QStringLiteral("List5_") + n);
    list->setGeometry(List5[0]->geometry());
    list->setFont(List5[0]->font());
    list->setUniformItemSizes(true);
    list->show();
    List5.push_back(list);
    auto* show = named(new QPushButton(Command3[0]->text(), c), QStringLiteral("Command3_") + n);
    show->setGeometry(Command3[0]->geometry());
    show->setFont(Command3[0]->font());
    connect(show, &QPushButton::clicked, this, [this, level] { showRanking(level); });
    show->show();
    Command3.push_back(show);

    const LevelColumnTexts texts = levelColumnTexts(m_context.state, level);
    Label1[level]->setText(texts.number);
    Label3[level]->setText(texts.name);
    Label3[level]->setToolTip(texts.name);
    Command4[level]->setText(texts.start);
    Label8[level]->setText(texts.recent);
    Label7[level]->setText(texts.goal);
}

bool LevelMenuScreen::load() {
    ProgramState& state = m_context.state;
    m_levelCount = std::clamp<int>(state.levels.levelCount, 0, kMaxLevel);

    // Fewer than five levels share the width; more are scrolled four at a time.
    const int shared = std::max(1, std::min(m_levelCount, kColumnsInView));
    m_columnWidth = kColumnsTwips / shared / 15;
    HScroll1->setVisible(m_levelCount > kColumnsInView);
    const QSignalBlocker blocker(HScroll1); // the columns are placed on activation
    HScroll1->setRange(1, std::max(1, m_levelCount - kColumnsInView + 1));
    // Widen the template, so every column is laid out at the shared width.
    const double ratio = m_columnWidth / (3648.0 / 15);
    for (QWidget* t :
         std::initializer_list<QWidget*>{Label3[0], Label7[0], Label8[0], List5[0], Command3[0], Text1[0],
                                         Label9[0], Label10[0], Label14[0], Label15[0]}) {
        QRect r = t->geometry();
        r.setWidth(static_cast<int>(r.width() * ratio));
        t->setGeometry(r);
    }
    QPalette grey = Label7[0]->palette();
    grey.setColor(QPalette::Window, QColor(224, 224, 224));
    Label7[0]->setPalette(grey);
    Label8[0]->setPalette(grey);

    if (state.levelMenu.gradeFilter.isEmpty() || !isListFilter(state.levelMenu.gradeFilter))
        state.levelMenu.gradeFilter = QStringLiteral("全学年");
    Combo1->clear();
    Combo1->addItems(gradeFilterNames());
    const int filterIndex = Combo1->findText(state.levelMenu.gradeFilter);
    Combo1->setCurrentIndex(std::max(0, filterIndex));
    state.levelMenu.gradeFilter = Combo1->currentText();
    Combo2->clear();
    Combo2->addItem(QStringLiteral("　　今までの全成績"));
    state.levelMenu.resultsPeriod = 5;

    for (int level = 1; level <= m_levelCount; ++level)
        buildColumn(level);
    return true;
}

void LevelMenuScreen::activate() {
    ProgramState& state = m_context.state;
    List6->clear();
    List6->addItems(kInstructions);
    Picture11->Command24[1]->setVisible(state.pupil.currentPupilName.contains(QStringLiteral("先生")));
    // The same minutes as the drill's status bar: on the monotonic counter from the moment the pupil was
    // confirmed.
    Label17->setText(elapsedText(
        minutesSinceStart(m_context.clock, state.pupil.startTimerMs, state.pupil.startTimer)));

    m_busy = false;
    showWaitPanel();
    Option1[1]->setText(QStringLiteral("累計順"));
    Option1[2]->setText(QStringLiteral("本日順"));
    m_forms.owner.unload(FormId::namesel);
    // The count may wait for another copy's append, letting events run: "0" may take the pupil back to
    // the names meanwhile.
    if (!countScores(m_context) || !isFrontPage())
        return;
    Label18->setText(todayTotalText(state));

    ProgressBar1->setMaximum(std::max(1, m_levelCount));
    state.levelMenu.displayMode = kPointsMode;
    state.levelMenu.listMode = 1;
    m_loading = true;
    Option1[1]->setChecked(true);
    onListChoice(1);
    Option2[1]->setChecked(true);
    onDisplayMode(1);
    Command1->setEnabled(true);
    m_loading = false;
    Picture6->hide();

    for (int level = 1; level <= m_levelCount; ++level)
        List5[level]->show();

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

    for (int level = 1; level <= m_levelCount; ++level) {
        Label7[level]->setAutoFillBackground(true);
        Label8[level]->setAutoFillBackground(true);
        Label7[level]->setPalette(Label7[0]->palette());
        Label8[level]->setPalette(Label8[0]->palette());
        Command4[level]->setEnabled(true);
        const LevelColumnTexts texts = levelColumnTexts(state, level);
        Label15[level]->setText(texts.soFar);
        Label14[level]->setText(texts.today);
        // The markers are worked out afresh for every visit; the unlocking pass hides those not needed.
        Text1[level]->show();
    }
    Command9_Click();
    Picture2->hide();
}

void LevelMenuScreen::placeColumns() {
    const int first = std::max(1, m_context.state.levelMenu.firstVisibleRow);
    const double offscreen = display::kDesignWidth;
    for (int level = 1; level <= m_levelCount; ++level) {
        double left = kColumnsLeft + (level - first) * m_columnWidth;
        if (left < 0)
            left = offscreen;
        auto place = [&](QWidget* w, QWidget* t, double dx = 0) { w->move(display::px(left + dx), t->y()); };
        place(Label1[level], Label1[0]);
        place(Label3[level], Label3[0], Label1[0]->width() / display::scale());
        place(Command4[level], Command4[0]);
        place(Text1[level], Text1[0], designX(Text1[0]) - kColumnsLeft);
        place(Label7[level], Label7[0]);
        place(Label8[level], Label8[0]);
        place(Label9[level], Label9[0]);
        place(Label10[level], Label10[0], Label9[0]->width() / display::scale());
        place(Label14[level], Label14[0]);
        place(Label15[level], Label15[0], Label14[0]->width() / display::scale());
        place(List5[level], List5[0]);
        place(Command3[level], Command3[0]);
    }
}

void LevelMenuScreen::showWaitPanel() {
    Picture2->show();
    Picture2->raise();
}

void LevelMenuScreen::showProgressPanel() {
    Picture6->show();
    Picture6->raise();
}

void LevelMenuScreen::startLevel(int level, bool fromStartButton) {
    if (level < 1 || level > m_levelCount || !Command4[level]->isEnabled())
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
    return false;
}

bool LevelMenuScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto it = std::find(Label3.begin() + 1, Label3.end(), watched);
        if (it != Label3.end()) {
            startLevel(static_cast<int>(it - Label3.begin()), false);
            return true;
        }
    }
    return DesignForm::eventFilter(watched, event);
}

void LevelMenuScreen::回数など表示() {
    for (int level = 1; level <= m_levelCount; ++level) {
        Label9[level]->setText(QStringLiteral("今日"));
        Label10[level]->setText(QStringLiteral("今まで"));
        List5[level]->clear();
    }
}

void LevelMenuScreen::Command9_Click() {
    ProgramState& state = m_context.state;
    const Unlocking unlocking = unlockingPass(state);
    state.pupil.goalLevelCleared = unlocking.goalLevelCleared;
    for (int level = 1; level <= m_levelCount; ++level) {
        const auto at = static_cast<size_t>(level);
        if (unlocking.open[at])
            Command4[level]->setEnabled(true);
        if (!unlocking.markerShown[at])
            Text1[level]->hide();
        const QString marker = markerText(unlocking, level);
        Text1[level]->setText(marker);
        Text1[level]->setStyleSheet(marker == u"まだ" ? QStringLiteral("background: #c0c0c0; color: #404040;")
                                    : marker == u"ノルマ達成"
                                        ? QStringLiteral("background: #ffff80; color: #c00000;")
                                        : QStringLiteral("background: #c0e0ff; color: #003080;"));
    }
    Picture6->raise();
}

int LevelMenuScreen::selectedListChoice() const {
    const int id = m_listGroup->checkedId();
    return id < 1 ? 1 : id;
}

void LevelMenuScreen::onDisplayMode(int k) {
    LevelMenuState& menu = m_context.state.levelMenu;
    Command17->hide();
    Picture11->hide();
    Command1->setEnabled(false);
    for (int level = 1; level <= m_levelCount; ++level)
        List5[level]->hide();
    showProgressPanel();
    if (m_loading)
        return;
    if (k == 0) {
        Option1[1]->setText(QStringLiteral("BEST表示"));
        Option1[2]->setText(QStringLiteral("本日のみ"));
        Option1[3]->show();
        menu.displayMode = kTimesMode;
        onListChoice(selectedListChoice());
    } else if (k == 1) {
        Combo2->hide();
        Option1[1]->setText(QStringLiteral("合計累計"));
        Option1[2]->setText(QStringLiteral("合計本日"));
        Option1[3]->setText(QStringLiteral("すべて"));
        Option1[3]->show();
        menu.displayMode = kPointsMode;
        const int choice = selectedListChoice();
        if (choice == 1)
            menu.pointsOrder = kByPointsSoFar;
        else if (choice == 2)
            menu.pointsOrder = kByPointsToday;
        onListChoice(choice);
    } else {
        Command17->show();
        Combo2->hide();
        showPersonalList();
        // The option panel's list changes end by giving the menu back; so does this one.
        finishListChange();
    }
}

void LevelMenuScreen::onListChoice(int k) {
    LevelMenuState& menu = m_context.state.levelMenu;
    Command1->setEnabled(false);
    for (int level = 1; level <= m_levelCount; ++level)
        List5[level]->hide();
    showProgressPanel();
    Combo2->hide();
    Picture1->setEnabled(false);
    menu.listMode = 1;
    if (menu.displayMode == kTimesMode) {
        if (k == 1)
            showBestList();
        else if (k == 2)
            showTodayList();
        else
            showPeriodList();
    } else if (k == 3) {
        showPeriodList();
    } else {
        menu.pointsOrder = k == 1 ? kByPointsSoFar : kByPointsToday;
        Label5->setText(k == 1 ? QStringLiteral("獲得ポイント（今まで順位）")
                               : QStringLiteral("獲得ポイント（今日の順位）"));
        showRankings();
    }
    finishListChange();
}

void LevelMenuScreen::finishListChange() {
    Picture1->setEnabled(true);
    Command1->setEnabled(true);
    Command9_Click();
    for (int level = 1; level <= m_levelCount; ++level)
        List5[level]->show();
    Picture6->hide();
}

void LevelMenuScreen::onGradeFilter() {
    m_context.state.levelMenu.gradeFilter = Combo1->currentText();
    if (Option2[0]->isChecked()) {
        onDisplayMode(0);
    } else {
        Option2[1]->setChecked(true);
        onDisplayMode(1);
    }
    if (m_levelCount >= 1)
        Command4[1]->setFocus();
}

void LevelMenuScreen::onWholePeriod() {
    if (!Option1[3]->isChecked())
        return;
    m_context.state.levelMenu.resultsPeriod = 5;
    onListChoice(3);
}

void LevelMenuScreen::showRanking(int level) {
    const LevelMenuState& menu = m_context.state.levelMenu;
    Label9[level]->setText(QStringLiteral("今日"));
    Label10[level]->setText(QStringLiteral("今まで"));
    RankingChoice choice;
    choice.displayMode = menu.displayMode;
    choice.pointsOrder = menu.pointsOrder;
    choice.gradeFilter = menu.gradeFilter;
    List5[level]->clear();
    List5[level]->addItems(rankingLines(m_context.state, level, choice));
    List5[level]->setCurrentRow(-1);
}

void LevelMenuScreen::showRankings() {
    ProgressBar2->setRange(0, std::max(1, m_levelCount));
    for (int level = 1; level <= m_levelCount; ++level) {
        showRanking(level);
        ProgressBar2->setValue(level);
    }
}

void LevelMenuScreen::showBestList() {
    Label5->setText(QStringLiteral("ベスト成績"));
    m_context.state.levelMenu.listMode = 1;
    回数など表示();
    showRankings();
    Picture1->setEnabled(true);
}

void LevelMenuScreen::fillScoreLists(const ScoreListChoice& choice) {
    const ScoreLists lists = buildScoreLists(m_context.state, choice, [this](int value, int maximum) {
        ProgressBar2->setRange(0, maximum);
        ProgressBar2->setValue(value);
        ProgressBar2->repaint();
    });
    if (!lists.error.isEmpty())
        m_context.dialogs.showMessage(m_context.state.config.contentHeading, lists.error,
                                      Dialogs::Icon::Warning);
    for (int level = 1; level <= m_levelCount && level < static_cast<int>(lists.byLevel.size()); ++level) {
        List5[level]->addItems(lists.byLevel[static_cast<size_t>(level)]);
        List5[level]->setCurrentRow(-1);
    }
    chartCount = lists.chartCount;
    chartSum = lists.chartSum;
    chartLargest = lists.chartLargest;
}

void LevelMenuScreen::showTodayList() {
    LevelMenuState& menu = m_context.state.levelMenu;
    Label5->setText(QStringLiteral("本日の成績"));
    menu.listMode = 2;
    回数など表示();
    ScoreListChoice choice;
    choice.kind = ScoreListKind::Today;
    choice.gradeFilter = menu.gradeFilter;
    choice.today = m_context.clock.today();
    fillScoreLists(choice);
    Picture1->setEnabled(true);
}

void LevelMenuScreen::showPeriodList() {
    const LevelMenuState& menu = m_context.state.levelMenu;
    Label5->clear();
    回数など表示();
    ScoreListChoice choice;
    choice.kind = ScoreListKind::Period;
    choice.displayMode = menu.displayMode;
    choice.period = menu.resultsPeriod;
    choice.gradeFilter = menu.gradeFilter;
    choice.today = m_context.clock.today();
    fillScoreLists(choice);
    Picture1->setEnabled(true);
    Combo2->show();
}

void LevelMenuScreen::showPersonalList() {
    LevelMenuState& menu = m_context.state.levelMenu;
    Label5->setText(QStringLiteral("個人別ﾀｲﾑ"));
    menu.listMode = 3;
    回数など表示();
    ScoreListChoice choice;
    choice.kind = ScoreListKind::Personal;
    choice.period = menu.resultsPeriod;
    choice.today = m_context.clock.today();
    fillScoreLists(choice);
}

void LevelMenuScreen::openPersonalReport() {
    Picture11->open(m_levelCount);
}

} // namespace warizan
