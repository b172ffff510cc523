#include "app/application.h"

#include "platform/handler_scope.h"

namespace warizan {

Application::Application(int& argc, char** argv)
    : QApplication(argc, argv) {
    HandlerScope::setEventsCounted(true);
}

Application::~Application() {
    HandlerScope::setEventsCounted(false);
}

bool Application::notify(QObject* receiver, QEvent* event) {
    const HandlerScope scope;
    return QApplication::notify(receiver, event);
}

} // namespace warizan
