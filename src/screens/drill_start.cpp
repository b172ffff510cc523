#include "screens/drill_start.h"

#include <QCoreApplication>
#include <cmath>

namespace warizan {

namespace {

bool startSheet(FormContext& forms, bool practice) {
    RunningDrill& drill = forms.app.state.drill;
    drill.practice = practice;
    drill.sheetFinished = 0;
    drill.drillEnding = 0;
    drill.judgingBusy = 0;
    drill.correctionState = 0;
    drill.solvedCount = 0;
    drill.timeUp = 0;
    QCoreApplication::processEvents();
    return forms.owner.show(FormId::MainFrm);
}

} // namespace

bool startDrill(FormContext& forms) {
    return startSheet(forms, false);
}

bool startPractice(FormContext& forms) {
    return startSheet(forms, true);
}

bool waitThenShowResult(FormContext& forms, double seconds) {
    forms.app.clock.waitLettingEventsRun(static_cast<int>(std::ceil(seconds * 1000.0)));
    forms.owner.unload(FormId::MainFrm);
    return forms.owner.show(FormId::FrmSyuuryou);
}

} // namespace warizan
