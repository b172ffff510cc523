#include "screens/selection/selection_screen.h"

#include "state/program_identity.h"
#include "platform/display.h"
#include "platform/single_instance.h"
#include "screens/drill_icon.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace warizan {

namespace {
const QString kPrompt = QStringLiteral("名前を選びなさい");
const QString kPlaceholder = QStringLiteral("－－－－－－");
const QString kAlreadyRunning =
    QStringLiteral("このプログラムと同じプログラムがすでに起動され、完全に終了されていません。"
                   "同じプログラムを完全に終了させてから実行してください。");

template <typename T> T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}
} // namespace

SelectionScreen::SelectionScreen(FormContext& context, QWidget* parent)
    : DesignForm(context.app.state.config.themeColour, parent)
    , m_forms(context)
    , m_context(context.app) {
    setObjectName(QStringLiteral("namesel"));
    buildControls();
}

void SelectionScreen::buildControls() {
    QWidget* c = canvas();
    const QColor theme = display::colour(m_context.state.config.themeColour);

    menuBar = named(new QMenuBar(c), "menuBar");
    menuBar->setGeometry(display::rect(0, 0, display::kDesignWidth, 24));
    menuBar->setFont(display::font(display::Face::PGothic, 11));
    menuBar->setAutoFillBackground(true);
    menuBar->setPalette(QApplication::palette());
    menuFile = menuBar->addMenu(QStringLiteral("file"));
    menuFile->setObjectName(QStringLiteral("menufile"));
    menuend = menuFile->addAction(QStringLiteral("終了"));
    menuend->setObjectName(QStringLiteral("menuend"));
    connect(menuend, &QAction::triggered, this, &SelectionScreen::exitToLauncher);

    Image1 = named(new QLabel(c), "Image1");
    Image1->setGeometry(display::rect(40, 44, 64, 64));
    Image1->setPixmap(drillIcon().pixmap(display::px(64), display::px(64)));

    Label4 = named(new QLabel(c), "Label4");
    Label4->setGeometry(display::rect(112, 34, 800, 84));
    Label4->setAlignment(Qt::AlignCenter);
    Label4->setFont(display::font(display::Face::PGothic, 48, true));
    Label4->setStyleSheet(QStringLiteral("color: white;"));

    Label1 = named(new QLabel(c), "Label1");
    Label1->setGeometry(display::rect(40, 132, 640, 64));
    Label1->setFont(display::font(display::Face::Mincho, 39.75));
    Label1->setStyleSheet(QStringLiteral("color: white;"));
    Label1->setText(kPrompt);

    List1 = named(new QListWidget(c), "List1");
    List1->setGeometry(display::rect(40, 208, 640, 520));
    List1->setFont(display::font(display::Face::Gothic, 24));
    List1->addItem(kPlaceholder);

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
    Label19->setStyleSheet(QStringLiteral("color: white;"));
    Picture5->hide();
}

bool SelectionScreen::load() {
    Picture5->move(0, 0);
    Picture5->show();
    Picture5->raise();
    m_context.random.seed(static_cast<quint64>(m_context.clock.now().time().msecsSinceStartOfDay()));

    if (!m_forms.singleInstance.acquire()) {
        m_context.dialogs.showMessage(QStringLiteral("注意"), kAlreadyRunning, Dialogs::Icon::Critical);
        m_context.dialogs.endProgram(1);
        return false;
    }

    m_forms.owner.present();
    Label4->setText(m_context.state.config.contentHeading);
    List1->setCurrentRow(0);
    QCoreApplication::processEvents();
    Picture5->hide();
    return true;
}

void SelectionScreen::exitToLauncher() {
    // A launcher that cannot be started is no reason to stay: the program ends either way.
    startLauncher(m_context.state.config, m_context.processStarter);
    m_context.dialogs.endProgram(0);
}

bool SelectionScreen::previewKey(QKeyEvent* event) {
    if (event->text() == u"0" && Command7->isVisible()) {
        exitToLauncher();
        return true;
    }
    return false;
}

} // namespace warizan
