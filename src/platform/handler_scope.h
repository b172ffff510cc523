#pragma once

class QObject;

namespace warizan {

// Forms are deleted only when none of their handlers can still be on the stack. Any call that lets events
// run (processEvents, a message box, a nested event loop) may run a handler that unloads the very form whose
// handler is waiting; deleting the form then would leave that handler running on freed memory.
//
// Every event the application delivers is one level of handlers (the application object counts its
// deliveries), and so is every call into the form owner from outside an event. For an object handed to
// deleteWhenHandlersReturn(), deletion is asked for (deleteLater) only once the count is back to zero,
// that is when the outermost handler has returned; the event loop then deletes it as usual.
class HandlerScope final {
public:
    HandlerScope();
    ~HandlerScope();
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;

    // Set by the application object that counts its event deliveries. Without it, the count does not see
    // every handler, and deleteWhenHandlersReturn() leaves the deletion to the event loop (deleteLater).
    static void setEventsCounted(bool counted);
    // Levels of handlers on the stack now.
    static int depth();
};

// Asks for `object` to be deleted (deleteLater) at once when no handler is running, otherwise when the
// outermost one has returned. The object may be deleted by its parent meanwhile; it is then left alone.
void deleteWhenHandlersReturn(QObject* object);

} // namespace warizan
