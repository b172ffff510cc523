#include "screens/design_form.h"

#include "platform/display.h"
#include "platform/widget_dialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

namespace warizan {

DesignForm::DesignForm(quint32 backgroundRgb, QWidget* parent)
    : QWidget(parent)
    , m_canvas(new QWidget(this)) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, display::colour(backgroundRgb));
    setPalette(pal);
    setAutoFillBackground(true);
    m_canvas->setObjectName(QStringLiteral("canvas"));
    m_canvas->setGeometry(QRect(QPoint(0, 0), display::designSize()));
    resize(display::designSize());
    qApp->installEventFilter(this);
    OpenForms::opened(this);
}

DesignForm::~DesignForm() {
    OpenForms::closed(this);
}

void DesignForm::present() {
    if (QGuiApplication::platformName() == u"offscreen") {
        show();
    } else {
        // Cover the whole screen even where no window manager honours the full-screen request.
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            setGeometry(screen->geometry());
        showFullScreen();
    }
    raise();
    activateWindow();
}

bool DesignForm::previewKey(QKeyEvent*) {
    return false;
}

bool DesignForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        // Only keys typed into this form, and only once (the event reaches the filter for each receiver).
        if (widget->window() == this && (widget == this || widget == focusWidget() || !focusWidget()))
            return previewKey(static_cast<QKeyEvent*>(event));
    }
    return QWidget::eventFilter(watched, event);
}

void DesignForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const QSize size = display::designSize();
    m_canvas->setGeometry((width() - size.width()) / 2, (height() - size.height()) / 2, size.width(),
                          size.height());
}

void DesignForm::closeEvent(QCloseEvent* event) {
    OpenForms::closed(this);
    QWidget::closeEvent(event);
}

} // namespace warizan
