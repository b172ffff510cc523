#pragma once

#include "platform/dialogs.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

namespace warizan {

// The forms that are open, in the order they were opened, so the end of the program can unload them
// last opened first.
class OpenForms final {
public:
    static void opened(QWidget* form);
    static void closed(QWidget* form);
    static std::vector<QWidget*> inOpeningOrder();
};

// Real message boxes (Japanese buttons) and the real end of the program.
class WidgetDialogs final : public Dialogs {
public:
    void showMessage(const QString& title, const QString& text, Icon icon) override;
    // Closes every open form, last opened first, runs the clean-up set with atEnd(), and ends the process.
    [[noreturn]] void endProgram(int exitCode) override;
    void atEnd(std::function<void()> cleanUp) { m_cleanUps.push_back(std::move(cleanUp)); }
    // The program's one window: message boxes are its children, so they stay above it.
    void setParentWindow(QWidget* window) { m_parent = window; }

private:
    std::vector<std::function<void()>> m_cleanUps;
    QPointer<QWidget> m_parent;
};

} // namespace warizan
