// How long the selection screen waits for its list: 名簿表示 over a roster of 2000 pupils, with the count
// of an empty score file and of a full one (the 20000 records the count loads at most), and the list
// building alone.
#include "records/score_count.h"
#include "records/score_record.h"
#include "roster/grade.h"
#include "roster/roster_display.h"
#include "roster/roster_file.h"
#include "test_doubles.h"
#include "textdata/encoding.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

using namespace warizan;

namespace {

constexpr int kPupils = 2000;
const QDate kToday(2024, 6, 12);

class SilentSound final : public SoundDevice {
public:
    Outcome play(const QString&) override { return {true, {}}; }
};

class NoProcesses final : public ProcessStarter {
public:
    bool startDetached(const QString&, const QStringList&) override { return false; }
};

// A family folder with a roster of 2000 pupils of every age and a score file of `records` runs.
struct Bench {
    QTemporaryDir dir;
    std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
    ManualClock clock{QDateTime(kToday, QTime(10, 0))};
    RecordingDialogs dialogs;
    SilentSound sound;
    NoProcesses starter;
    RandomSource random;
    AppContext context{*state, clock, dialogs, sound, starter, random};

    explicit Bench(int records) {
        Configuration& config = state->config;
        config.commonFolder = dir.path() + u'/';
        config.programDataFolder = dir.path() + QStringLiteral("/drill/");
        config.schoolYearStartMonth = 4;
        QDir(dir.path()).mkpath(QStringLiteral("drill"));
        for (int level = 1; level <= 4; ++level) {
            state->levels.levelGoal[level] = 60 * level;
            state->levels.levelGoal2[level] = 90 * level;
            state->levels.levelBonusFactor[level] = 1;
            state->levels.levelRecentDays[level] = 7;
            state->levels.levelQuotaDays[level] = 30;
        }

        const QString kana = QStringLiteral("あいうえおかきくけこさしすせそたちつてと");
        QString roster;
        for (int pupil = 1; pupil <= kPupils; ++pupil) {
            QString name;
            for (int k = 0; k < 2 + pupil % 5; ++k)
                name += kana.at((pupil * 7 + k * 3) % kana.size());
            roster += QStringLiteral("%1,%2,0,0,\"%3\",%4,\"\",\"\"\r\n")
                          .arg(pupil)
                          .arg(1970 + pupil % 52)
                          .arg(name)
                          .arg(pupil % 50 == 0 ? 2 : 0);
        }
        QFile rosterFile(rosterPath(config));
        rosterFile.open(QIODevice::WriteOnly);
        rosterFile.write(encodeText(roster, TextEncoding::ShiftJis));

        QFile scores(scoreFilePath(config));
        scores.open(QIODevice::WriteOnly);
        for (int i = 0; i < records; ++i)
            scores.write(
                encodeScoreRecord(makeScoreRecord(config, kToday.addDays(-(i % 60)), QTime(9, 0),
                                                  qint16(1 + i % kPupils), qint16(1 + i % 4), 30 + i % 200)));
    }
};

void BM_名簿表示(benchmark::State& bench) {
    Bench b(static_cast<int>(bench.range(0)));
    PupilList list;
    for (auto _ : bench) {
        if (!名簿表示(b.context, 0, QStringLiteral("全学年"), &list))
            bench.SkipWithError("the list build ended the program");
        benchmark::DoNotOptimize(list.visible.size());
    }
    bench.counters["listed"] = static_cast<double>(list.keys.size());
}
BENCHMARK(BM_名簿表示)->Arg(0)->Arg(kMaxLoadedRecords)->Unit(benchmark::kMillisecond);

// The lines alone, from entries already read and figures already counted.
void BM_buildPupilList(benchmark::State& bench) {
    Bench b(kMaxLoadedRecords);
    std::vector<RosterEntry> entries;
    readRosterFile(rosterPath(b.state->config), &entries, nullptr, nullptr);
    if (!countScores(b.context)) {
        bench.SkipWithError("the count ended the program");
        return;
    }
    b.state->roster.gradeBaseYear = gradeBaseYear(kToday, b.state->config.schoolYearStartMonth);
    for (auto _ : bench) {
        PupilList list = buildPupilList(*b.state, entries, 0, QStringLiteral("全学年"));
        benchmark::DoNotOptimize(list.visible.size());
    }
}
BENCHMARK(BM_buildPupilList)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
