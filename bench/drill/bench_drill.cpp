// What a child feels on the drill form: a typed digit must reach its cell, and a right answer must bring the
// next question, each well within a millisecond; and the form must sit nearly idle while it waits for the
// next tick or before the result screen (CPU time over wall time read from getrusage).

#include "app/form_window.h"
#include "app/program_forms.h"
#include "drill/drill_clock.h"
#include "platform/gui/display.h"
#include "platform/single_instance.h"
#include "records/score_count.h"
#include "screens/drill/drill_form.h"
#include "screens/drill_start.h"
#include "startup/configuration.h"
#include "state/content_levels.h"
#include "test_forms.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

using namespace warizan;

namespace {

class SilentSound final : public SoundDevice {
public:
    Outcome play(const QString&) override { return {true, {}}; }
};

// The program's window with every form on the system clock, pupil 3 on level 3 of a temporary suite.
struct DrillWindow {
    test::TempSuite suite;
    std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
    SystemClock clock;
    RecordingDialogs dialogs;
    SilentSound sound;
    test::TestContext::RecordingStarter starter;
    RandomSource random;
    AppContext app{*state, clock, dialogs, sound, starter, random};
    QTemporaryDir guard;
    SingleInstance single{guard.path()};
    test::TestPrinter printer;
    test::RecordingDocumentOpener documents;
    FormWindow window{0x008080};
    FormContext context{app, window, printer, single, documents};

    DrillWindow() {
        ConfigurationError error;
        if (!StartUpConfiguration(*state, suite.programFolder(), &error))
            qFatal("configuration: %s", qPrintable(error.message));
        PrepareContent(state->levels);
        state->pupil.currentPupil = 3;
        state->pupil.currentPupilName = QStringLiteral("たろう");
        state->pupil.currentLevel = 3;
        state->pupil.startTimerMs = clock.monotonicMs();
        setProgramForms(window, context);
        window.setFactory(FormId::seisekitime1, [] { return new DesignForm(0x008080); });
        if (!countScores(app))
            qFatal("count failed");
        window.present();
        if (!window.show(FormId::seisekitime1) || !startDrill(context))
            qFatal("no drill");
    }
    DrillForm& drill() { return *qobject_cast<DrillForm*>(window.form(FormId::MainFrm)); }
    void key(Qt::Key key, const QString& text = {}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(&window, &press);
    }
    void type(const QString& text) {
        for (QChar c : text)
            key(static_cast<Qt::Key>(c.unicode()), c);
    }
};

DrillWindow& drillWindow() {
    static DrillWindow window;
    return window;
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs `wait` and reports the process's CPU time over it as a share of the wall time.
template <typename Wait> void measureShare(benchmark::State& state, Wait wait) {
    for (auto _ : state) {
        QElapsedTimer wall;
        const double cpu0 = cpuSeconds();
        wall.start();
        wait();
        const double cpu = cpuSeconds() - cpu0;
        const double seconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
        state.SetIterationTime(seconds);
        state.counters["cpu_percent"] = 100.0 * cpu / seconds;
        state.counters["wall_s"] = seconds;
    }
}

void BM_TypedDigitToCell(benchmark::State& state) {
    DrillWindow& w = drillWindow();
    const auto* cell = w.drill().findChild<QLabel*>(QStringLiteral("Keisan2Lbl1_0"));
    if (!cell) {
        state.SkipWithError("no quotient cell");
        return;
    }
    w.key(Qt::Key_Up);
    for (auto _ : state) {
        w.key(Qt::Key_7, QStringLiteral("7"));
        benchmark::DoNotOptimize(cell->text());
        w.key(Qt::Key_Backspace, QStringLiteral("\b"));
    }
    if (!cell->text().isEmpty())
        state.SkipWithError("the cell did not follow the keys");
    state.SetItemsProcessed(2 * state.iterations());
    state.SetLabel("per pair of keys: a digit and Backspace");
}

void BM_CorrectAnswerToNextQuestion(benchmark::State& state) {
    DrillWindow& w = drillWindow();
    const auto* dividend = w.drill().findChild<QLabel*>(QStringLiteral("Keisan2Lbl2_0"));
    if (!dividend) {
        state.SkipWithError("no dividend");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        w.state->drill.solvedCount = 0;
        const Question q = w.drill().question();
        w.key(Qt::Key_Up);
        w.type(QString::number(q.quotient));
        w.key(Qt::Key_Space, QStringLiteral(" "));
        w.type(QString::number(q.remainder));
        state.ResumeTiming();
        w.key(Qt::Key_Space, QStringLiteral(" "));
        benchmark::DoNotOptimize(dividend->text());
    }
    if (w.state->drill.solvedCount != 1)
        state.SkipWithError("the answer was not judged right");
}

void BM_DrillFormWaitingCpuShare(benchmark::State& state) {
    DrillWindow& w = drillWindow();
    const auto* drillClock = w.drill().findChild<QTimer*>(QStringLiteral("sTimer1"));
    if (!drillClock || !drillClock->isActive())
        state.SkipWithError("the drill clock is not running");
    measureShare(state, [] {
        QEventLoop loop;
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        loop.exec();
    });
    state.SetLabel("five ticks of the drill clock");
}

void BM_WaitBeforeResultCpuShare(benchmark::State& state) {
    DrillWindow& w = drillWindow();
    measureShare(state, [&w] { w.clock.waitLettingEventsRun(1000); });
    state.SetLabel("the one-second wait");
}

} // namespace

BENCHMARK(BM_TypedDigitToCell);
BENCHMARK(BM_CorrectAnswerToNextQuestion);
BENCHMARK(BM_DrillFormWaitingCpuShare)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WaitBeforeResultCpuShare)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    display::setScale(1.0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
