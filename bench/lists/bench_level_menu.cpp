// The level menu's activation on the real screen (count, four rankings filled into the column lists, the
// columns and the unlocking pass) with 2000 listed pupils and 20000 records, offscreen.

#include "family_folder.h"
#include "screens/levelmenu/level_menu_screen.h"
#include "test_forms.h"

#include <QApplication>
#include <QListWidget>
#include <benchmark/benchmark.h>

using namespace warizan;

namespace {

void screenActivationBench(benchmark::State& bench) {
    bench::FamilyFolder folder(2000, 20000);
    test::TestForms forms;
    forms.test.clock.setNow(QDateTime(bench::kBenchToday, QTime(10, 0)));
    ProgramState& state = *forms.test.state;
    state.config.programDataFolder = folder.state->config.programDataFolder;
    state.levels = folder.state->levels;
    state.roster = folder.state->roster;
    state.pupil = folder.state->pupil;
    forms.window.present();
    if (!forms.window.show(FormId::seisekitime1)) {
        bench.SkipWithError("the menu did not load");
        return;
    }
    auto* menu = forms.shown<LevelMenuScreen>(FormId::seisekitime1);
    for (auto _ : bench)
        menu->activate();
    bench.counters["lines"] = menu->List5[1]->count();
}

} // namespace

BENCHMARK(screenActivationBench)->Name("screen/activation")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
