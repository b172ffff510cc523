// The count runs every time the pupil list, the level menu or the result screen is shown, so it must stay
// quick however long the score file grows. Each size is measured beside a plain read of the same file.

#include "records/score_count.h"
#include "records/score_record.h"
#include "test_doubles.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>
#include <random>

using namespace warizan;

namespace {

class SilentSound final : public SoundDevice {
public:
    Outcome play(const QString&) override { return {true, {}}; }
};

// A family of 30 pupils on four levels, a year of runs, a few that ran out of time.
struct ScoreFolder {
    QTemporaryDir dir;
    QString path;
    explicit ScoreFolder(int records) {
        path = dir.path() + QStringLiteral("/") + kScoreFileName;
        std::mt19937 random(records);
        const double today = dateValue(QDate::currentDate());
        QByteArray bytes;
        bytes.reserve(static_cast<qsizetype>(records) * kScoreRecordLength);
        for (int i = 0; i < records; ++i) {
            ScoreRecord record;
            record.date = today - static_cast<double>(random() % 365);
            record.clockTime = static_cast<double>(random() % 86400) / 86400.0;
            record.pupil = static_cast<qint16>(1 + random() % 30);
            record.level = static_cast<qint16>(1 + random() % 4);
            record.result = random() % 20 == 0 ? kNoResult : static_cast<qint32>(30 + random() % 600);
            bytes += encodeScoreRecord(record);
        }
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the score file");
    }
};

ScoreFolder& folderOf(int records) {
    static std::map<int, std::unique_ptr<ScoreFolder>> folders;
    auto& folder = folders[records];
    if (!folder)
        folder = std::make_unique<ScoreFolder>(records);
    return *folder;
}

void countScoresBench(benchmark::State& bench) {
    ScoreFolder& folder = folderOf(static_cast<int>(bench.range(0)));
    auto state = std::make_unique<ProgramState>();
    state->config.programDataFolder = folder.dir.path() + QStringLiteral("/");
    for (int level = 1; level <= 4; ++level) {
        state->levels.levelGoal[level] = 60 * level;
        state->levels.levelBonusFactor[level] = 1.5f;
        state->levels.levelRecentDays[level] = 7;
        state->levels.levelQuotaDays[level] = 30;
    }
    SystemClock clock;
    RecordingDialogs dialogs;
    SilentSound sound;
    SystemProcessStarter starter;
    RandomSource random;
    AppContext context{*state, clock, dialogs, sound, starter, random};
    for (auto _ : bench) {
        if (!countScores(context))
            bench.SkipWithError("count failed");
        benchmark::DoNotOptimize(state->figures.totalPoints.at(1, 1));
    }
    bench.counters["loaded"] = state->figures.loaded.loadedRecordCount;
}

void plainReadBench(benchmark::State& bench) {
    ScoreFolder& folder = folderOf(static_cast<int>(bench.range(0)));
    for (auto _ : bench) {
        QFile file(folder.path);
        if (!file.open(QIODevice::ReadOnly))
            bench.SkipWithError("cannot open");
        const QByteArray bytes = file.readAll();
        quint64 sum = 0;
        for (char c : bytes)
            sum += static_cast<unsigned char>(c);
        benchmark::DoNotOptimize(sum);
    }
}

} // namespace

BENCHMARK(countScoresBench)->Name("countScores")->Arg(20000)->Arg(200000)->Unit(benchmark::kMicrosecond);
BENCHMARK(plainReadBench)->Name("plainRead")->Arg(20000)->Arg(200000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
