#pragma once

#include "platform/dialogs.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

namespace warizan {

// Real message boxes (Japanese buttons) and the real end of the program.
class WidgetDialogs final : public Dialogs {
public:
    void showMessage(const QString& title, const QString& text, Icon icon) override;
    // The buttons "開く" and "閉じる"; the path is laid out unbroken, the box as wide as it needs.
    bool offerToOpen(const QString& title, const QString& text, const QString& path) override;
    // Runs the clean-ups set with atEnd() in the order they were set (the program's window closes its forms,
    // last loaded first), and ends the process.
    [[noreturn]] void endProgram(int exitCode) override;
    void atEnd(std::function<void()> cleanUp) { m_cleanUps.push_back(std::move(cleanUp)); }
    // The program's one window: message boxes are its children, so they stay above it.
    void setParentWindow(QWidget* window) { m_parent = window; }

private:
    std::vector<std::function<void()>> m_cleanUps;
    QPointer<QWidget> m_parent;
};

} // namespace warizan
