#include "platform/widget_dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>

namespace warizan {

void WidgetDialogs::showMessage(const QString& title, const QString& text, Icon icon) {
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    switch (icon) {
    case Icon::None:
        break;
    case Icon::Information:
        boxIcon = QMessageBox::Information;
        break;
    case Icon::Warning:
        boxIcon = QMessageBox::Warning;
        break;
    case Icon::Critical:
        boxIcon = QMessageBox::Critical;
        break;
    }
    // A child of the program's window, so the box stays above the full-screen window under any window
    // manager; before the window exists, of whatever window is active.
    QWidget* parent = m_parent ? m_parent.data() : QApplication::activeWindow();
    QMessageBox box(boxIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

void WidgetDialogs::endProgram(int exitCode) {
    for (auto& cleanUp : m_cleanUps)
        cleanUp();
    std::fflush(nullptr);
    // Every file of the program is closed when its routine ends, so nothing is lost by ending here; the
    // event loop and its half-finished handlers are not resumed.
    std::_Exit(exitCode);
}

} // namespace warizan
