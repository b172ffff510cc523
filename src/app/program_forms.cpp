#include "app/program_forms.h"

#include "screens/levelmenu/level_menu_screen.h"
#include "screens/selection/selection_screen.h"

namespace warizan {

void setProgramForms(FormWindow& window, FormContext& context) {
    window.setFactory(FormId::namesel, [&context] { return new SelectionScreen(context); });
    window.setFactory(FormId::seisekitime1, [&context] { return new LevelMenuScreen(context); });
}

} // namespace warizan
