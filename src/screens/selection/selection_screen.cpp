#include "screens/selection/selection_screen.h"

#include "platform/gui/display.h"
#include "platform/gui/document_opener.h"
#include "platform/single_instance.h"
#include "roster/pupil_list.h"
#include "roster/roster_display.h"
#include "roster/roster_file.h"
#include "screens/control_names.h"
#include "screens/drill_icon.h"
#include "sound/sound_cues.h"
#include "state/content_levels.h"
#include "state/program_identity.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

namespace warizan {

namespace {
const QString kPrompt = QStringLiteral("名前を選びなさい");
const QString kAllGrades = QStringLiteral("全学年");
const QString kAlreadyRunning =
    QStringLiteral("このプログラムと同じプログラムがすでに起動され、完全に終了されていません。"
                   "同じプログラムを完全に終了させてから実行してください。");
// Characters of a list line that a click shows as the chosen pupil: the grade label and the name.
constexpr int kChosenTextLength = 10;
// Display mode every activation starts from: today's and all points.
constexpr int kStartDisplayMode = 1;

void setWhiteText(QWidget* widget) {
    QPalette pal = widget->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    widget->setPalette(pal);
}
} // namespace

const QStringList& SelectionScreen::gradeFilterEntries() {
    static const QStringList entries = {kAllGrades,
                                        QStringLiteral("中学生全体"),
                                        QStringLiteral("小学生全体"),
                                        QStringLiteral("中３"),
                                        QStringLiteral("中２"),
                                        QStringLiteral("中１"),
                                        QStringLiteral("小６"),
                                        QStringLiteral("小５"),
                                        QStringLiteral("小４"),
                                        QStringLiteral("小３"),
                                        QStringLiteral("小２"),
                                        QStringLiteral("小１")};
    return entries;
}

SelectionScreen::SelectionScreen(FormContext& context, QWidget* parent)
    : DesignForm(context.app.state.config.themeColour, parent)
    , m_forms(context)
    , m_context(context.app) {
    setObjectName(QStringLiteral("namesel"));
    buildControls();
}

void SelectionScreen::buildMenuBar() {
    menuBar = named(new QMenuBar(canvas()), "menuBar");
    menuBar->setGeometry(display::rect(0, 0, display::kDesignWidth, 24));
    menuBar->setFont(display::font(display::Face::PGothic, 11));
    menuBar->setAutoFillBackground(true);
    menuBar->setPalette(QApplication::palette());
    menuFile = menuBar->addMenu(QStringLiteral("file"));
    menuFile->setObjectName(QStringLiteral("menufile"));
    menuname = menuFile->addAction(QStringLiteral("名前の変更"));
    menuname->setObjectName(QStringLiteral("menuname"));
    connect(menuname, &QAction::triggered, this, &SelectionScreen::openRosterEditor);
    menuend = menuFile->addAction(QStringLiteral("終了"));
    menuend->setObjectName(QStringLiteral("menuend"));
    connect(menuend, &QAction::triggered, this, &SelectionScreen::exitToLauncher);
    menuHelp0 = menuBar->addMenu(QStringLiteral("ヘルプ"));
    menuHelp0->setObjectName(QStringLiteral("menuHelp0"));
    menuHelp2 = menuHelp0->addAction(QStringLiteral("目次"));
    menuHelp2->setObjectName(QStringLiteral("menuHelp2"));
    connect(menuHelp2, &QAction::triggered, this, &SelectionScreen::openHelp);
    menuspt = menuHelp0->addAction(QStringLiteral("バージョン情報"));
    menuspt->setObjectName(QStringLiteral("menuspt"));
    connect(menuspt, &QAction::triggered, this, [this] { m_forms.owner.runModal(DialogId::frmver, false); });
}

void SelectionScreen::buildControls() {
    QWidget* c = canvas();
    const QColor theme = display::colour(m_context.state.config.themeColour);

    buildMenuBar();
    Image1 = named(new QLabel(c), "Image1");
    Image1->setGeometry(display::rect(40, 44, 64, 64));

    Label4 = named(new QLabel(c), "Label4");
    Label4->setGeometry(display::rect(112, 34, 800, 84));
    Label4->setAlignment(Qt::AlignCenter);
    Label4->setFont(display::font(display::Face::PGothic, 48, true));
    setWhiteText(Label4);

    Label1 = named(new QLabel(c), "Label1");
    Label1->setGeometry(display::rect(40, 126, 944, 72));
    Label1->setFont(display::font(display::Face::Mincho, 39.75));
    setWhiteText(Label1);
    Label1->setText(kPrompt);

    Label2 = named(new QLabel(c), "Label2");
    Label2->hide();

    List1 = named(new QListWidget(c), "List1");
    List1->setGeometry(display::rect(40, 208, 640, 520));
    List1->setFont(display::font(display::Face::Gothic, 24));
    List1->addItem(kPupilListPlaceholder);
    // A click shows the pupil as the selection moves (by mouse or arrow keys). Not on the click itself:
    // Qt reports a click again after a double-click, which would undo the double-click's text.
    connect(List1, &QListWidget::currentRowChanged, this, &SelectionScreen::listClicked);
    connect(List1, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { listDoubleClicked(List1->row(item)); });

    List3 = named(new QListWidget(c), "List3");
    List3->hide();

    Combo1 = named(new QComboBox(c), "Combo1");
    Combo1->setGeometry(display::rect(712, 208, 272, 40));
    Combo1->setFont(display::font(display::Face::PGothic, 18));
    Combo1->setMaxVisibleItems(12);
    connect(Combo1, &QComboBox::activated, this, &SelectionScreen::chooseGradeFilter);

    static const char16_t* const modeTexts[] = {u"回数(今日／今まで）", u"ポイント（今日／今まで）",
                                                u"本日（ポイント／回数）", u"今まで（ポイント／回数）"};
    for (int i = 0; i < int(Option1.size()); ++i) {
        Option1[i] = named(new QRadioButton(QString::fromUtf16(modeTexts[i]), c), "Option1", i);
        Option1[i]->setGeometry(display::rect(712, 272 + 52 * i, 300, 44));
        Option1[i]->setFont(display::font(display::Face::PGothic, 14, true));
        setWhiteText(Option1[i]);
        connect(Option1[i], &QRadioButton::clicked, this, [this, i] { chooseDisplayMode(i); });
    }

    Command14 = named(new QPushButton(QStringLiteral("O.K."), c), "Command14");
    Command14->setGeometry(display::rect(744, 520, 240, 88));
    Command14->setFont(display::font(display::Face::PGothic, 24, true));
    connect(Command14, &QPushButton::clicked, this, &SelectionScreen::confirmPupil);

    Command7 = named(new QPushButton(QStringLiteral("終了"), c), "Command7");
    Command7->setGeometry(display::rect(744, 640, 240, 88));
    Command7->setFont(display::font(display::Face::PGothic, 24, true));
    connect(Command7, &QPushButton::clicked, this, &SelectionScreen::exitToLauncher);

    Picture5 = named(new QWidget(c), "Picture5");
    Picture5->setGeometry(display::rect(0, 0, 400, 60));
    Picture5->setAutoFillBackground(true);
    QPalette pal = Picture5->palette();
    pal.setColor(QPalette::Window, theme);
    Picture5->setPalette(pal);
    Label19 = named(new QLabel(QStringLiteral("Just a moment, please."), Picture5), "Label19");
    Label19->setGeometry(display::rect(8, 8, 384, 44));
    Label19->setFont(display::font(display::Face::PGothic, 18));
    setWhiteText(Label19);
    Picture5->hide();
}

bool SelectionScreen::load() {
    Picture5->move(0, 0);
    showWaitingPanel();
    m_context.random.seed(static_cast<quint64>(m_context.clock.now().time().msecsSinceStartOfDay()));

    if (!m_forms.singleInstance.acquire()) {
        m_context.dialogs.showMessage(QStringLiteral("注意"), kAlreadyRunning, Dialogs::Icon::Critical);
        m_context.dialogs.endProgram(1);
        return false;
    }

    // The list is built by the activation that follows at once, after the roster recovery: built here,
    // before it, a roster left missing by an interrupted save would only be retried and end the program.
    m_forms.owner.present();
    Label4->setText(m_context.state.config.contentHeading);
    List1->setCurrentRow(0);
    QCoreApplication::processEvents();
    Picture5->hide();
    return true;
}

void SelectionScreen::activate() {
    const Configuration& config = m_context.state.config;
    RosterFileError error;
    if (名簿ファイル処理(config, &error) == RosterRecovery::Failed) {
        m_context.dialogs.showMessage(config.contentHeading,
                                      rosterFailureText(rosterPath(config), error, kRosterStageOpen),
                                      Dialogs::Icon::Critical);
        m_context.dialogs.endProgram(1);
        return;
    }
    List1->setCurrentRow(-1);

    // The filter starts again from "全学年" before the list is rebuilt, so the list always shows what the
    // filter box says. The box is emptied first so each entry is listed once.
    Combo1->clear();
    Combo1->addItems(gradeFilterEntries());
    Combo1->setCurrentIndex(0);
    m_gradeFilter = kAllGrades;

    m_displayMode = kStartDisplayMode;
    Option1[kStartDisplayMode]->setChecked(true);
    if (!rebuildList())
        return;
    if (m_listedCount == 0) {
        m_context.dialogs.showMessage(config.contentHeading, emptyRosterText(rosterPath(config)),
                                      Dialogs::Icon::Information);
        if (!isFrontPage())
            return;
    }

    Image1->setPixmap(
        drillIcon().pixmap(QSize(display::px(64), display::px(64)), Image1->devicePixelRatioF()));
    m_forms.owner.unload(FormId::seisekitime1);
    Label1->setText(kPrompt);
    Picture5->hide();
}

bool SelectionScreen::rebuildList() {
    showWaitingPanel();
    PupilList list;
    // A roster that another program is replacing is read again after a wait: the panel says so meanwhile.
    // The waits let events run: a pupil may be confirmed meanwhile and the level menu come up in front.
    if (!名簿表示(m_context, m_displayMode, m_gradeFilter, &list,
                  [this](const RosterWait&) {
                      if (isFrontPage())
                          showWaitingPanel();
                  }) ||
        !isFrontPage())
        return false;
    {
        const QSignalBlocker blocker(List1);
        List1->clear();
        List1->addItems(list.visible);
        List1->setCurrentRow(0);
    }
    m_listedCount = list.listedCount;
    List3->clear();
    List3->addItems(list.keys);
    listClicked(0);
    Picture5->hide();
    return true;
}

void SelectionScreen::showWaitingPanel() {
    Picture5->show();
    Picture5->raise();
}

void SelectionScreen::chooseDisplayMode(int mode) {
    m_displayMode = mode;
    (void)rebuildList();
}

void SelectionScreen::chooseGradeFilter(int index) {
    m_gradeFilter = Combo1->itemText(index);
    if (!rebuildList())
        return;
    List1->setFocus();
}

void SelectionScreen::listClicked(int row) {
    if (row < 0 || row >= List1->count())
        return;
    if (row == 0 || row > List3->count()) {
        Label1->setText(kPrompt);
        return;
    }
    Label1->setText(withoutBlanksAround(leftChars(List1->item(row)->text(), kChosenTextLength)));
    const QString key = List3->item(row - 1)->text();
    Label2->setText(key.mid(key.indexOf(u'*') + 1));
}

void SelectionScreen::listDoubleClicked(int row) {
    listClicked(row);
    if (row <= 0 || row > List3->count())
        return;
    const QString line = List1->item(row)->text();
    Label1->setText(withoutBlanksAround(line.left(line.indexOf(u'/'))));
    confirmPupil();
}

void SelectionScreen::confirmPupil() {
    bool numbered = false;
    const int pupil = Label2->text().toInt(&numbered);
    if (Label1->text() == kPrompt || Label1->text().isEmpty() || !numbered || !isPupilNumber(pupil)) {
        (void)playWrongCue(m_context);
        return;
    }
    ProgramState& state = m_context.state;
    state.pupil.startTimer = static_cast<qint32>(std::lround(m_context.clock.secondsSinceMidnight()));
    // The status bar's minutes since the pupil began count on the monotonic clock, across midnight too.
    state.pupil.startTimerMs = m_context.clock.monotonicMs();
    state.pupil.currentPupil = static_cast<qint16>(pupil);
    state.pupil.currentPupilName = state.roster.pupilName[pupil];
    state.pupil.currentGradeLabel = state.roster.pupilGradeLabel[pupil];

    Command14->hide();
    showWaitingPanel();
    QCoreApplication::processEvents();
    // A key handled meanwhile may have confirmed a pupil already or left the program.
    if (!isFrontPage())
        return;

    // The level menu's lists start with the grade filter chosen here.
    state.levelMenu.gradeFilter = m_gradeFilter;
    PrepareContent(state.levels);
    // The level menu closes this screen when it becomes active.
    (void)m_forms.owner.show(FormId::seisekitime1);
}

void SelectionScreen::exitToLauncher() {
    // A launcher that cannot be started is no reason to stay: the program ends either way.
    startLauncher(m_context.state.config, m_context.processStarter);
    m_context.dialogs.endProgram(0);
}

void SelectionScreen::closeRequested() {
    if (!Command7->isHidden())
        exitToLauncher();
}

void SelectionScreen::openRosterEditor() {
    FormOwner& owner = m_forms.owner;
    if (!owner.show(FormId::FrmName2))
        return;
    // An editor that could not read the roster has already brought this screen back.
    if (owner.isLoaded(FormId::FrmName2) && owner.currentForm() == owner.form(FormId::FrmName2))
        owner.unload(FormId::namesel);
}

void SelectionScreen::openHelp() {
    const Configuration& config = m_context.state.config;
    const QString base = config.programFolder + QDir::separator() + config.contentHeading;
    // The first of the help files that opens; a missing file does nothing.
    for (const QString& file : helpFileCandidates(base)) {
        if (m_forms.documents.open(file))
            return;
    }
}

bool SelectionScreen::previewKey(QKeyEvent* event) {
    if (event->text() == u"1" && !Command14->isHidden()) {
        confirmPupil();
        return true;
    }
    if (event->text() == u"0" && !Command7->isHidden()) {
        exitToLauncher();
        return true;
    }
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) &&
        QApplication::focusWidget() == List1) {
        confirmPupil();
        return true;
    }
    return false;
}

bool SelectionScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label4 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        m_forms.owner.runModal(DialogId::frmver, true);
        return true;
    }
    return DesignForm::eventFilter(watched, event);
}

} // namespace warizan
