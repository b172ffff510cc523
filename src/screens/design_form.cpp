#include "screens/design_form.h"

#include "platform/gui/display.h"

#include <QApplication>
#include <QKeyEvent>
#include <QStackedWidget>

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
}

DesignForm::~DesignForm() = default;

bool DesignForm::load() {
    return true;
}

void DesignForm::activate() {}

void DesignForm::closeRequested() {}

bool DesignForm::isFrontPage() const {
    const auto* stack = qobject_cast<const QStackedWidget*>(parentWidget());
    return stack && stack->currentWidget() == this;
}

bool DesignForm::isLoadedPage() const {
    const auto* stack = qobject_cast<const QStackedWidget*>(parentWidget());
    return stack && stack->indexOf(this) >= 0;
}

bool DesignForm::previewKey(QKeyEvent*) {
    return false;
}

bool DesignForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() && isVisible()) {
        // A typed key is delivered to the focus widget (or to the window when nothing has the focus) and
        // then offered to each parent that ignores it, and the filter sees every one of those: preview it
        // only at the first, and only when it was typed into this page.
        const QWidget* focus = QApplication::focusWidget();
        const bool firstReceiver = focus ? watched == focus && isAncestorOf(focus) : watched == window();
        if (firstReceiver)
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

} // namespace warizan
