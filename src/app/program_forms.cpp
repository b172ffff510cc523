#include "app/program_forms.h"

#include "screens/roster_editor/roster_editor.h"
#include "screens/selection/selection_screen.h"

namespace warizan {

void setProgramForms(FormWindow& window, FormContext& context) {
    window.setFactory(FormId::namesel, [&context] { return new SelectionScreen(context); });
    window.setFactory(FormId::FrmName2, [&context] { return new RosterEditor(context); });
}

} // namespace warizan
