// The level menu on the real screen with 2000 listed pupils and 20000 records, offscreen: its activation
// (count, four rankings filled into the column lists, the columns and the unlocking pass), also with other
// lines to show, and a whole visit with the load.

#include "family_folder.h"
#include "screens/levelmenu/level_menu_screen.h"
#include "test_forms.h"

#include <QApplication>
#include <QListWidget>
#include <benchmark/benchmark.h>

using namespace warizan;

namespace {

// The program's window on the doubles, with the large family's folder, roster and level table.
struct MenuBench {
    MenuBench()
        : folder(2000, 20000) {
        forms.test.clock.setNow(QDateTime(bench::kBenchToday, QTime(10, 0)));
        ProgramState& state = *forms.test.state;
        state.config.programDataFolder = folder.state->config.programDataFolder;
        state.levels = folder.state->levels;
        state.roster = folder.state->roster;
        state.pupil = folder.state->pupil;
        forms.window.present();
    }
    // The menu shown (loaded when it is not), or null.
    LevelMenuScreen* show() {
        if (!forms.window.show(FormId::seisekitime1))
            return nullptr;
        return forms.shown<LevelMenuScreen>(FormId::seisekitime1);
    }
    bench::FamilyFolder folder;
    test::TestForms forms;
};

// The menu becoming current again: the count, the four rankings filled into the columns' lists, the
// columns' figures and the unlocking pass.
void screenActivationBench(benchmark::State& bench) {
    MenuBench b;
    LevelMenuScreen* menu = b.show();
    const auto* firstList = menu ? menu->findChild<QListWidget*>(QStringLiteral("List5_1")) : nullptr;
    if (!firstList) {
        bench.SkipWithError("the menu did not load");
        return;
    }
    for (auto _ : bench)
        menu->activate();
    bench.counters["lines"] = firstList->count();
}

// The same with the grade filter changed before each activation, so that the lists' lines change too.
void screenActivationOtherFilterBench(benchmark::State& bench) {
    MenuBench b;
    LevelMenuScreen* menu = b.show();
    if (!menu) {
        bench.SkipWithError("the menu did not load");
        return;
    }
    bool primary = false;
    for (auto _ : bench) {
        b.forms.test.state->levelMenu.gradeFilter =
            primary ? QStringLiteral("小学生全体") : QStringLiteral("全学年");
        primary = !primary;
        menu->activate();
    }
}

// A visit as the program makes it after every drill: the menu loaded afresh (its columns built) and
// activated; unloading it is not timed.
void screenVisitBench(benchmark::State& bench) {
    MenuBench b;
    for (auto _ : bench) {
        if (!b.show()) {
            bench.SkipWithError("the menu did not load");
            return;
        }
        bench.PauseTiming();
        b.forms.window.unload(FormId::seisekitime1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        bench.ResumeTiming();
    }
}

} // namespace

BENCHMARK(screenActivationBench)->Name("screen/activation")->Unit(benchmark::kMillisecond);
BENCHMARK(screenActivationOtherFilterBench)
    ->Name("screen/activation, filter changed")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(screenVisitBench)->Name("screen/load and activation")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
