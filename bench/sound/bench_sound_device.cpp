// How soon a cue starts: the time from the play call to the moment its samples are in the device's queue
// (the device then takes them at its next buffer). A cue should start within 30 ms of the key press.
#include "sound/sdl_sound_device.h"
#include "wav_file.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>

using namespace warizan;

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kCueSeconds = 0.1;

QTemporaryDir& folder() {
    static QTemporaryDir dir;
    return dir;
}

// A short tone in the format the device is asked for (no conversion) or in one it must be converted from.
QString cueFile(bool deviceFormat) {
    const int rate = deviceFormat ? 44100 : 22050;
    const int channels = deviceFormat ? 2 : 1;
    const QString path = folder().filePath(QStringLiteral("cue-%1-%2.wav").arg(rate).arg(channels));
    if (!QFile::exists(path))
        test::writeWav(path, rate, channels, 16, test::toneSamples(rate, channels, 16, kCueSeconds));
    return path;
}

// Times one play on `device`; false (and the benchmark marked failed) when it did not play.
bool timePlay(benchmark::State& state, SdlSoundDevice& device, const QString& path) {
    Clock::time_point queued{};
    device.setQueuedObserver([&queued] { queued = Clock::now(); });
    const Clock::time_point start = Clock::now();
    const SoundDevice::Outcome outcome = device.play(path);
    if (!outcome.ok) {
        state.SkipWithError(outcome.errorText.toStdString().c_str());
        return false;
    }
    state.SetIterationTime(std::chrono::duration<double>(queued - start).count());
    return true;
}

// The usual case: the device has been open since the first cue of the run.
void BM_PlayToQueued(benchmark::State& state) {
    const QString path = cueFile(state.range(0) == 1);
    SdlSoundDevice device;
    if (!device.play(path).ok) {
        state.SkipWithError("the device does not play");
        return;
    }
    for (auto _ : state) {
        if (!timePlay(state, device, path))
            break;
    }
}
BENCHMARK(BM_PlayToQueued)
    ->ArgName("deviceFormat")
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(30);

// The first cue of a run, which also starts SDL's audio and opens the device.
void BM_FirstPlayToQueued(benchmark::State& state) {
    const QString path = cueFile(true);
    for (auto _ : state) {
        SdlSoundDevice device;
        if (!timePlay(state, device, path))
            break;
    }
}
BENCHMARK(BM_FirstPlayToQueued)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char** argv) {
    // Plays into SDL's dummy driver, which keeps real time without a sound card, unless a driver is named.
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
