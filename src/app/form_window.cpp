#include "app/form_window.h"

#include "platform/gui/display.h"
#include "platform/handler_scope.h"
#include "screens/design_form.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

namespace warizan {

FormWindow::FormWindow(quint32 backgroundRgb)
    : m_stack(new QStackedWidget(this)) {
    setObjectName(QStringLiteral("formWindow"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, display::colour(backgroundRgb));
    setPalette(pal);
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_stack);
    // A blank page under the forms: a form is loaded out of sight and only then made current, and the
    // window shows its own colour when no form is.
    auto* blank = new QWidget(m_stack);
    blank->setObjectName(QStringLiteral("blankPage"));
    m_stack->addWidget(blank);
    resize(display::designSize());
    // A shutdown or log-off: Windows says the session ends (after which it may end the process at any
    // moment) and Qt then closes every window. Nothing is asked of the forms then; files are only ever
    // written whole, so the program may go wherever it stands.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { m_closing = true; });
}

FormWindow::~FormWindow() {
    // Forms go last loaded first, as at the end of the program.
    while (!m_loaded.empty()) {
        DesignForm* form = m_loaded.back().second;
        m_loaded.pop_back();
        delete form;
    }
}

void FormWindow::present() {
    if (QGuiApplication::platformName() == u"offscreen") {
        QWidget::show();
    } else {
        // Cover the whole screen even where no window manager honours the full-screen request.
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            setGeometry(screen->geometry());
        showFullScreen();
    }
    raise();
    activateWindow();
}

DesignForm* FormWindow::form(FormId id) const {
    const auto it =
        std::find_if(m_loaded.begin(), m_loaded.end(), [id](const auto& f) { return f.first == id; });
    return it == m_loaded.end() ? nullptr : it->second;
}

DesignForm* FormWindow::currentForm() const {
    return qobject_cast<DesignForm*>(m_stack->currentWidget());
}

std::vector<DesignForm*> FormWindow::formsInLoadingOrder() const {
    std::vector<DesignForm*> out;
    for (const auto& f : m_loaded)
        out.push_back(f.second);
    return out;
}

void FormWindow::closeForms() {
    m_closing = true;
    for (auto it = m_loaded.rbegin(); it != m_loaded.rend(); ++it)
        it->second->close();
    close();
}

void FormWindow::closeEvent(QCloseEvent* event) {
    if (m_closing) {
        event->accept();
        return;
    }
    event->ignore();
    if (DesignForm* page = currentForm())
        page->closeRequested();
}

bool FormWindow::show(FormId id) {
    // Called from outside any event too (the start of the program): the forms' load and activation steps
    // are handlers all the same.
    const HandlerScope scope;
    DesignForm* page = form(id);
    const bool fresh = page == nullptr;
    if (fresh) {
        const auto factory = m_factories.find(id);
        Q_ASSERT_X(factory != m_factories.end(), "FormWindow::show", "no factory for the form");
        if (factory == m_factories.end())
            return false;
        page = factory->second();
        m_loaded.emplace_back(id, page);
        m_stack->addWidget(page);
        if (!page->load()) {
            unload(id);
            return false;
        }
        // The load steps may have moved on to another form already; the form is shown all the same.
        if (!form(id))
            return true;
    }
    if (!fresh && m_stack->currentWidget() == page)
        return true;
    m_stack->setCurrentWidget(page);
    page->activate();
    return true;
}

void FormWindow::unload(FormId id) {
    DesignForm* page = form(id);
    if (!page)
        return;
    m_loaded.erase(
        std::find_if(m_loaded.begin(), m_loaded.end(), [id](const auto& f) { return f.first == id; }));
    m_stack->removeWidget(page);
    page->hide();
    // Keys and clicks queued for its controls before it went are not handled: it takes no more input.
    page->setEnabled(false);
    // A form's timers stop with it, though the page itself lives until its running handler returns.
    for (QTimer* timer : page->findChildren<QTimer*>())
        timer->stop();
    // The form may be unloading itself from one of its own handlers, or another form's handler may unload
    // it while one of its own waits for events to run: it goes once every running handler has returned.
    deleteWhenHandlersReturn(page);
}

void FormWindow::runModal(DialogId id, bool centred) {
    const auto factory = m_dialogFactories.find(id);
    Q_ASSERT_X(factory != m_dialogFactories.end(), "FormWindow::runModal", "no factory for the form");
    if (factory == m_dialogFactories.end())
        return;
    const std::unique_ptr<QDialog> dialog(factory->second(this));
    if (centred) {
        dialog->adjustSize();
        const QRect area = geometry();
        dialog->move(area.x() + (area.width() - dialog->width()) / 2,
                     area.y() + (area.height() - dialog->height()) / 2);
    }
    runModal(*dialog);
}

void FormWindow::runModal(QDialog& dialog) {
    const HandlerScope scope;
    if (dialog.parentWidget() != this)
        dialog.setParent(this, dialog.windowFlags() | Qt::Dialog);
    // The page under the form is left as it was: what the family had chosen there stays chosen.
    dialog.exec();
}

} // namespace warizan
