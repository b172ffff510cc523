#include "platform/handler_scope.h"

#include <QObject>
#include <QPointer>
#include <vector>

namespace warizan {

namespace {
// One user-interface thread: plain counters are enough.
int g_depth = 0;
bool g_eventsCounted = false;
std::vector<QPointer<QObject>> g_pending;

void deletePending() {
    // The deletion itself is left to the event loop as usual; it is only asked for now that no handler
    // runs. Take the list first, so a scope opened meanwhile never walks it while it is being emptied.
    while (!g_pending.empty()) {
        std::vector<QPointer<QObject>> pending;
        pending.swap(g_pending);
        for (QPointer<QObject>& object : pending) {
            if (object)
                object->deleteLater();
        }
    }
}
} // namespace

HandlerScope::HandlerScope() {
    ++g_depth;
}

HandlerScope::~HandlerScope() {
    if (--g_depth == 0)
        deletePending();
}

void HandlerScope::setEventsCounted(bool counted) {
    g_eventsCounted = counted;
}

int HandlerScope::depth() {
    return g_depth;
}

void deleteWhenHandlersReturn(QObject* object) {
    if (!g_eventsCounted || g_depth == 0) {
        object->deleteLater();
        return;
    }
    g_pending.emplace_back(object);
}

} // namespace warizan
