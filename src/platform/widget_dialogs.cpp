#include "platform/widget_dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace warizan {

namespace {
std::vector<QPointer<QWidget>>& forms() {
    static std::vector<QPointer<QWidget>> list;
    return list;
}
} // namespace

void OpenForms::opened(QWidget* form) {
    closed(form);
    forms().emplace_back(form);
}

void OpenForms::closed(QWidget* form) {
    auto& list = forms();
    list.erase(std::remove_if(list.begin(), list.end(),
                              [form](const QPointer<QWidget>& p) { return p.isNull() || p.data() == form; }),
               list.end());
}

std::vector<QWidget*> OpenForms::inOpeningOrder() {
    std::vector<QWidget*> out;
    for (const auto& p : forms())
        if (!p.isNull())
            out.push_back(p.data());
    return out;
}

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
    std::vector<QWidget*> open = OpenForms::inOpeningOrder();
    for (auto it = open.rbegin(); it != open.rend(); ++it)
        (*it)->close();
    for (auto& cleanUp : m_cleanUps)
        cleanUp();
    std::fflush(nullptr);
    // Every file of the program is closed when its routine ends, so nothing is lost by ending here; the
    // event loop and its half-finished handlers are not resumed.
    std::_Exit(exitCode);
}

} // namespace warizan
