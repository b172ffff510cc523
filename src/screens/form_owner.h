#pragma once

#include "state/app_context.h"

class QDialog;
class QWidget;

namespace warizan {

class DesignForm;
class DocumentOpener;
class Printer;
class SingleInstance;

// The program's forms, each a page of the one window. The names are the forms' design names.
enum class FormId {
    namesel,      // selection screen
    FrmName2,     // roster editor
    seisekitime1, // level menu
    MainFrm,      // drill
    FrmSyuuryou,  // result screen
    BASEFRM,      // backdrop shown while screens change
};

// The program's own modal forms, run above the window.
enum class DialogId {
    frmver, // About box
};

// The only code that creates, shows and deletes forms. Screens reach each other through it and never
// construct or include each other.
class FormOwner {
public:
    virtual ~FormOwner() = default;

    // Loads the form when it is not loaded (creates the page and runs its load steps), makes it the current
    // page, then runs its activation when it was not already current. Returns false when the program is
    // ending (the load steps ended it); the caller returns at once.
    [[nodiscard]] virtual bool show(FormId id) = 0;
    // Removes the page and deletes it once the event that is running has been handled, so a form may
    // unload itself from its own handler. Nothing happens when the form is not loaded.
    virtual void unload(FormId id) = 0;
    virtual bool isLoaded(FormId id) const = 0;
    // The loaded form, or nullptr.
    virtual DesignForm* form(FormId id) const = 0;
    // The form that is the current page, or nullptr.
    virtual DesignForm* currentForm() const = 0;
    // Runs one of the program's own modal forms (the About box) above the window. The current page is left
    // as it was when the form closes: its activation runs only when the page itself becomes current.
    virtual void runModal(QDialog& dialog) = 0;
    // Builds the form `id` and runs it as above; `centred` places it in the middle of the window rather than
    // where the window system puts a new dialog.
    virtual void runModal(DialogId id, bool centred) = 0;
    // Shows the window, full screen on a real display; the forms' load steps call it once they may be seen.
    virtual void present() = 0;
    // The one window: the parent of message boxes and dialog forms.
    virtual QWidget* window() = 0;
};

// What every form is built with: the program's state and services, the form owner, and the services only
// forms use.
struct FormContext {
    AppContext& app;
    FormOwner& owner;
    Printer& printer;
    SingleInstance& singleInstance;
    DocumentOpener& documents;
};

} // namespace warizan
