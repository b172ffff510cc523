#pragma once

#include <QApplication>

namespace warizan {

// The program's application object. It counts every event it delivers as a level of running handlers
// (see platform/handler_scope.h), so the form owner knows when no handler of an unloaded form is left on
// the stack and the form may be deleted.
class Application final : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    ~Application() override;

    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace warizan
