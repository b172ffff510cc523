// The level menu's work in core: the count, rankings and column texts of an activation with 2000 listed
// pupils and 20000 records, and the run lists, which must cost what they read (the last 1000 or 20000
// records), not what the file holds.

#include "family_folder.h"
#include "lists/level_columns.h"
#include "lists/rankings.h"
#include "lists/score_lists.h"
#include "records/score_count.h"
#include "test_doubles.h"

#include <benchmark/benchmark.h>
#include <map>

using namespace warizan;
using namespace warizan::bench;

namespace {

class SilentSound final : public SoundDevice {
public:
    Outcome play(const QString&) override { return {true, {}}; }
};

FamilyFolder& folderOf(int pupils, int records) {
    static std::map<std::pair<int, int>, std::unique_ptr<FamilyFolder>> folders;
    auto& folder = folders[{pupils, records}];
    if (!folder)
        folder = std::make_unique<FamilyFolder>(pupils, records);
    return *folder;
}

struct Services {
    ManualClock clock{QDateTime(kBenchToday, QTime(10, 0))};
    RecordingDialogs dialogs;
    SilentSound sound;
    SystemProcessStarter starter;
    RandomSource random;
};

// What an activation computes besides the count: four rankings, the columns' texts, today's total and the
// unlocking pass.
void menuLines(const ProgramState& state) {
    RankingChoice choice;
    for (int level = 1; level <= 4; ++level) {
        benchmark::DoNotOptimize(rankingLines(state, level, choice));
        benchmark::DoNotOptimize(levelColumnTexts(state, level));
    }
    benchmark::DoNotOptimize(todayTotalText(state));
    benchmark::DoNotOptimize(unlockingPass(state));
}

void activationBench(benchmark::State& bench) {
    FamilyFolder& folder = folderOf(2000, 20000);
    Services s;
    AppContext context{*folder.state, s.clock, s.dialogs, s.sound, s.starter, s.random};
    const bool withCount = bench.range(0) == 1;
    for (auto _ : bench) {
        if (withCount && !countScores(context))
            bench.SkipWithError("count failed");
        menuLines(*folder.state);
    }
}

void countBench(benchmark::State& bench) {
    FamilyFolder& folder = folderOf(2000, 20000);
    Services s;
    AppContext context{*folder.state, s.clock, s.dialogs, s.sound, s.starter, s.random};
    for (auto _ : bench)
        if (!countScores(context))
            bench.SkipWithError("count failed");
}

void listBench(benchmark::State& bench) {
    FamilyFolder& folder = folderOf(2000, static_cast<int>(bench.range(1)));
    ScoreListChoice choice;
    choice.kind = static_cast<ScoreListKind>(bench.range(0));
    choice.today = kBenchToday;
    qint64 read = 0;
    for (auto _ : bench) {
        const ScoreLists lists = buildScoreLists(*folder.state, choice);
        read = lists.recordsRead;
        benchmark::DoNotOptimize(lists.byLevel.data());
    }
    bench.counters["read"] = static_cast<double>(read);
}

} // namespace

BENCHMARK(activationBench)->Name("activation/count+lines")->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(countBench)->Name("activation/count")->Unit(benchmark::kMillisecond);
BENCHMARK(activationBench)->Name("activation/lines")->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(listBench)
    ->Name("list")
    ->ArgNames({"kind", "records"})
    ->ArgsProduct({{0, 1, 2}, {20000, 200000}})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
