#include "app/program_forms.h"

#include "screens/selection/selection_screen.h"

namespace warizan {

void setProgramForms(FormWindow& window, FormContext& context) {
    window.setFactory(FormId::namesel, [&context] { return new SelectionScreen(context); });
}

} // namespace warizan
