#include "screens/levelmenu/list_options.h"

#include "lists/list_text.h"
#include "lists/rankings.h"
#include "platform/gui/display.h"
#include "roster/pupil_list.h"
#include "screens/control_names.h"
#include "screens/design_form.h"
#include "screens/levelmenu/columns_panel.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

namespace warizan {

namespace {

// White captions on the theme colour; a style sheet would paint the option buttons' dots white as well.
void whiteText(QWidget* widget) {
    QPalette pal = widget->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    widget->setPalette(pal);
}

QComboBox* combo(QWidget* canvas, const char* name, QRect design) {
    auto* box = named(new QComboBox(canvas), name);
    box->setGeometry(design);
    box->setFont(display::font(display::Face::PGothic, 11));
    return box;
}

} // namespace

ListOptions::ListOptions(FormContext& context, DesignForm& form, ColumnsPanel& columns)
    : QObject(&form)
    , m_context(context.app)
    , m_form(form)
    , m_columns(columns) {
    buildOptionPanel(form.canvas());
    buildListButtons(form.canvas());
    buildProgressPanel(form.canvas());
    connect(&m_columns, &ColumnsPanel::rankingAsked, this, &ListOptions::showRanking);
}

void ListOptions::buildOptionPanel(QWidget* canvas) {
    // The display modes above, the lists of the mode below.
    Picture1 = named(new QWidget(canvas), "Picture1");
    Picture1->setGeometry(display::rect(16, 56, 560, 56));
    m_modeGroup = new QButtonGroup(this);
    m_listGroup = new QButtonGroup(this);
    const QStringList modeCaptions = {QStringLiteral("ﾀｲﾑ表示"), QStringLiteral("ﾎﾟｲﾝﾄ表示"),
                                      QStringLiteral("個人ﾀｲﾑ")};
    for (int k = 0; k < 3; ++k) {
        Option2[k] = named(new QRadioButton(modeCaptions[k], Picture1), "Option2", k);
        Option2[k]->setGeometry(display::rect(4 + 180 * k, 2, 120, 24));
        Option2[k]->setFont(display::font(display::Face::PGothic, 11, true));
        whiteText(Option2[k]);
        m_modeGroup->addButton(Option2[k], k);
    }
    const QStringList listCaptions = {QString(), QStringLiteral("累計順"), QStringLiteral("本日順"),
                                      QStringLiteral("すべて")};
    for (int k = 1; k <= 3; ++k) {
        Option1[k] = named(new QRadioButton(listCaptions[k], Picture1), "Option1", k);
        Option1[k]->setGeometry(display::rect(4 + 180 * (k - 1), 29, 120, 24));
        Option1[k]->setFont(display::font(display::Face::PGothic, 11));
        whiteText(Option1[k]);
        m_listGroup->addButton(Option1[k], k);
    }
    connect(m_modeGroup, &QButtonGroup::idClicked, this, &ListOptions::onDisplayMode);
    connect(m_listGroup, &QButtonGroup::idClicked, this, &ListOptions::onListChoice);

    Combo1 = combo(canvas, "Combo1", display::rect(590, 60, 150, 26));
    Combo1->setToolTip(QStringLiteral("表示する学年を選びます"));
    connect(Combo1, &QComboBox::activated, this, &ListOptions::onGradeFilter);
    Combo2 = combo(canvas, "Combo2", display::rect(750, 60, 258, 26));
    connect(Combo2, &QComboBox::activated, this, &ListOptions::onWholePeriod);
    Combo2->hide();

    Command17 = named(new QPushButton(QStringLiteral("グラフ"), canvas), "Command17");
    Command17->setGeometry(display::rect(750, 90, 120, 24));
    Command17->setFont(display::font(display::Face::PGothic, 11));
    connect(Command17, &QPushButton::clicked, this, &ListOptions::reportAsked);
    Command17->hide();

    Label5 = named(new QLabel(canvas), "Label5");
    Label5->setGeometry(display::rect(16, 113, 560, 21));
    Label5->setFont(display::font(display::Face::PGothic, 11, true));
    Label5->setStyleSheet(QStringLiteral("color: yellow;"));
}

void ListOptions::buildListButtons(QWidget* canvas) {
    const struct {
        QPushButton* ListOptions::*button;
        const char* name;
        const char16_t* caption;
        double left;
        bool (ListOptions::*show)();
    } buttons[] = {
        {&ListOptions::Command5, "Command5", u"本日成績表示", 460, &ListOptions::showTodayList},
        {&ListOptions::Command7, "Command7", u"全成績", 546, &ListOptions::showPeriodList},
        {&ListOptions::Command6, "Command6", u"過去最高表示", 632, &ListOptions::showBestList},
        {&ListOptions::Command16, "Command16", u"個人別ﾀｲﾑ", 718, &ListOptions::showPersonalList},
    };
    for (const auto& b : buttons) {
        auto* button = named(new QPushButton(QString::fromUtf16(b.caption), canvas), b.name);
        button->setGeometry(display::rect(b.left, 676, 84, 30));
        button->setFont(display::font(display::Face::PGothic, 9));
        connect(button, &QPushButton::clicked, this, b.show);
        this->*b.button = button;
    }
}

// The progress panel over the lists.
void ListOptions::buildProgressPanel(QWidget* canvas) {
    Picture6 = named(new QWidget(canvas), "Picture6");
    Picture6->setGeometry(display::rect(312, 360, 400, 84));
    Picture6->setAutoFillBackground(true);
    QPalette pal = Picture6->palette();
    pal.setColor(QPalette::Window, QColor(255, 255, 224));
    Picture6->setPalette(pal);
    auto* momento = named(new QLabel(QStringLiteral("Just a momento, please."), Picture6), "Label16");
    momento->setGeometry(display::rect(12, 8, 376, 32));
    momento->setFont(display::font(display::Face::PGothic, 16));
    ProgressBar2 = named(new QProgressBar(Picture6), "ProgressBar2");
    ProgressBar2->setGeometry(display::rect(12, 48, 376, 24));
    Picture6->hide();
}

void ListOptions::load(int levelCount) {
    LevelMenuState& menu = m_context.state.levelMenu;
    m_levelCount = levelCount;
    if (menu.gradeFilter.isEmpty() || !isListFilter(menu.gradeFilter))
        menu.gradeFilter = QStringLiteral("全学年");
    Combo1->clear();
    Combo1->addItems(gradeFilterNames());
    const int filterIndex = Combo1->findText(menu.gradeFilter);
    Combo1->setCurrentIndex(std::max(0, filterIndex));
    menu.gradeFilter = Combo1->currentText();
    Combo2->clear();
    Combo2->addItem(QStringLiteral("　　今までの全成績"));
    menu.resultsPeriod = 5;
}

void ListOptions::resetCaptions() {
    Option1[1]->setText(QStringLiteral("累計順"));
    Option1[2]->setText(QStringLiteral("本日順"));
}

void ListOptions::chooseFirstLists() {
    LevelMenuState& menu = m_context.state.levelMenu;
    menu.displayMode = kPointsMode;
    menu.listMode = 1;
    m_loading = true;
    Option1[1]->setChecked(true);
    onListChoice(1);
    Option2[1]->setChecked(true);
    onDisplayMode(1);
    emit wayBackOffered(true);
    m_loading = false;
    Picture6->hide();
}

void ListOptions::raiseProgressPanel() {
    Picture6->raise();
}

void ListOptions::showProgressPanel() {
    Picture6->show();
    Picture6->raise();
}

int ListOptions::selectedListChoice() const {
    const int id = m_listGroup->checkedId();
    return id < 1 ? 1 : id;
}

void ListOptions::onDisplayMode(int k) {
    LevelMenuState& menu = m_context.state.levelMenu;
    Command17->hide();
    emit modeChosen();
    emit wayBackOffered(false);
    m_columns.showLists(false);
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
        if (!showPersonalList())
            return;
        // The option panel's list changes end by giving the menu back; so does this one.
        finishListChange();
    }
}

void ListOptions::onListChoice(int k) {
    LevelMenuState& menu = m_context.state.levelMenu;
    emit wayBackOffered(false);
    m_columns.showLists(false);
    showProgressPanel();
    Combo2->hide();
    Picture1->setEnabled(false);
    menu.listMode = 1;
    bool inFront = true;
    if (menu.displayMode == kTimesMode) {
        if (k == 1)
            showBestList();
        else if (k == 2)
            inFront = showTodayList();
        else
            inFront = showPeriodList();
    } else if (k == 3) {
        inFront = showPeriodList();
    } else {
        menu.pointsOrder = k == 1 ? kByPointsSoFar : kByPointsToday;
        Label5->setText(k == 1 ? QStringLiteral("獲得ポイント（今まで順位）")
                               : QStringLiteral("獲得ポイント（今日の順位）"));
        showRankings();
    }
    if (inFront)
        finishListChange();
}

void ListOptions::finishListChange() {
    Picture1->setEnabled(true);
    emit wayBackOffered(true);
    emit listsShown();
    m_columns.showLists(true);
    Picture6->hide();
}

void ListOptions::onGradeFilter() {
    m_context.state.levelMenu.gradeFilter = Combo1->currentText();
    if (Option2[0]->isChecked()) {
        onDisplayMode(0);
    } else {
        Option2[1]->setChecked(true);
        onDisplayMode(1);
    }
    if (m_form.isFrontPage())
        m_columns.focusStart(1);
}

void ListOptions::onWholePeriod() {
    if (!Option1[3]->isChecked())
        return;
    m_context.state.levelMenu.resultsPeriod = 5;
    onListChoice(3);
}

void ListOptions::showRanking(int level) {
    const LevelMenuState& menu = m_context.state.levelMenu;
    RankingChoice choice;
    choice.displayMode = menu.displayMode;
    choice.pointsOrder = menu.pointsOrder;
    choice.gradeFilter = menu.gradeFilter;
    m_columns.showRanking(level, rankingLines(m_context.state, level, choice));
}

void ListOptions::showRankings() {
    ProgressBar2->setRange(0, std::max(1, m_levelCount));
    for (int level = 1; level <= m_levelCount; ++level) {
        showRanking(level);
        ProgressBar2->setValue(level);
    }
}

bool ListOptions::showBestList() {
    Label5->setText(QStringLiteral("ベスト成績"));
    m_context.state.levelMenu.listMode = 1;
    m_columns.clearLists();
    showRankings();
    Picture1->setEnabled(true);
    return true;
}

// The lists of single runs: the choice made on the menu, read from the score file.
bool ListOptions::fillScoreLists(ScoreListKind kind) {
    const LevelMenuState& menu = m_context.state.levelMenu;
    ScoreListChoice choice;
    choice.kind = kind;
    choice.displayMode = menu.displayMode;
    choice.period = menu.resultsPeriod;
    choice.gradeFilter = menu.gradeFilter;
    choice.today = m_context.clock.today();
    const ScoreLists lists = buildScoreLists(m_context.state, choice, [this](int value, int maximum) {
        ProgressBar2->setRange(0, maximum);
        ProgressBar2->setValue(value);
        ProgressBar2->repaint();
    });
    if (!lists.error.isEmpty()) {
        m_context.dialogs.showMessage(m_context.state.config.contentHeading, lists.error,
                                      Dialogs::Icon::Warning);
        if (!m_form.isFrontPage())
            return false;
    }
    for (int level = 1; level <= m_levelCount && level < static_cast<int>(lists.byLevel.size()); ++level)
        m_columns.addLines(level, lists.byLevel[static_cast<size_t>(level)]);
    m_chart = {lists.chartCount, lists.chartSum, lists.chartLargest};
    return true;
}

bool ListOptions::showTodayList() {
    Label5->setText(QStringLiteral("本日の成績"));
    m_context.state.levelMenu.listMode = 2;
    m_columns.clearLists();
    if (!fillScoreLists(ScoreListKind::Today))
        return false;
    Picture1->setEnabled(true);
    return true;
}

bool ListOptions::showPeriodList() {
    Label5->clear();
    m_columns.clearLists();
    if (!fillScoreLists(ScoreListKind::Period))
        return false;
    Picture1->setEnabled(true);
    Combo2->show();
    return true;
}

bool ListOptions::showPersonalList() {
    Label5->setText(QStringLiteral("個人別ﾀｲﾑ"));
    m_context.state.levelMenu.listMode = 3;
    m_columns.clearLists();
    return fillScoreLists(ScoreListKind::Personal);
}

} // namespace warizan
