#include "app/program_forms.h"

#include "screens/about/about_box.h"
#include "screens/backdrop/backdrop_form.h"
#include "screens/drill/drill_form.h"
#include "screens/levelmenu/level_menu_screen.h"
#include "screens/result/result_screen.h"
#include "screens/roster_editor/roster_editor.h"
#include "screens/selection/selection_screen.h"

namespace warizan {

void setProgramForms(FormWindow& window, FormContext& context) {
    window.setDialogFactory(DialogId::frmver, [&context](QWidget* parent) {
        return new AboutBox(context.app.state.config.contentHeading, parent);
    });
    window.setFactory(FormId::namesel, [&context] { return new SelectionScreen(context); });
    window.setFactory(FormId::FrmName2, [&context] { return new RosterEditor(context); });
    window.setFactory(FormId::seisekitime1, [&context] { return new LevelMenuScreen(context); });
    window.setFactory(FormId::MainFrm, [&context] { return new DrillForm(context); });
    window.setFactory(FormId::FrmSyuuryou, [&context] { return new ResultScreen(context); });
    window.setFactory(FormId::BASEFRM, [&context] { return new BackdropForm(context); });
}

} // namespace warizan
