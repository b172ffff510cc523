#include "platform/gui/widget_dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
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

bool WidgetDialogs::offerToOpen(const QString& title, const QString& text, const QString& path) {
    QWidget* parent = m_parent ? m_parent.data() : QApplication::activeWindow();
    QMessageBox box(QMessageBox::Information, title, QString(), QMessageBox::NoButton, parent);
    // Rich text only for the layout: the words wrap where the label wraps, the path not at all (a file name
    // cut at the edge of the box reads as two names).
    box.setTextFormat(Qt::RichText);
    box.setText(text.toHtmlEscaped().replace(u'\n', QStringLiteral("<br>")) +
                QStringLiteral("<p style=\"white-space:pre\">%1</p>").arg(path.toHtmlEscaped()));
    QPushButton* open = box.addButton(QStringLiteral("開く"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("閉じる"), QMessageBox::RejectRole);
    box.setDefaultButton(open);
    box.exec();
    return box.clickedButton() == open;
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
