// The answer log must not make the end of a drill feel slower (the child waits on it between the last answer
// and the result screen): the end is measured with and without the log, on a log that already holds a year of
// a family's drills, on this machine's disk and with full syncs, and with the log held by another reader. And the fact map of one pupil must draw at
// once from a log of ten years of five pupils (500,000 answers).

#include "answers/answer_database.h"
#include "answers/fact_map.h"
#include "answers/kept_answers.h"
#include "records/score_file.h"
#include "test_doubles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <random>
#include <sqlite3.h>

using namespace warizan;

namespace {

constexpr int kPupils = 5;
constexpr int kQuestionsPerDrill = 11;

class SilentSound final : public SoundDevice {
public:
    Outcome play(const QString&) override { return {true, {}}; }
};

// A log of `drills` drills of the family spread over `days` days up to today, filled in one transaction
// (the program itself writes one drill per transaction).
void fillLog(const QString& folder, int drills, int days) {
    const QDateTime now = QDateTime::currentDateTime();
    AnswerDatabase db;
    if (!db.open(answerLogPath(folder), AnswerDatabase::Access::ReadWrite, now))
        qFatal("cannot create the log: %s", qPrintable(db.error()));
    sqlite3* raw = nullptr;
    sqlite3_open(answerLogPath(folder).toUtf8().constData(), &raw);
    sqlite3_exec(raw, "PRAGMA synchronous=OFF; BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* drill = nullptr;
    sqlite3_stmt* answer = nullptr;
    sqlite3_prepare_v2(raw, "INSERT INTO drills(pupil, level, start, end, result) VALUES(?, ?, ?, ?, ?)", -1,
                       &drill, nullptr);
    sqlite3_prepare_v2(
        raw,
        "INSERT INTO answers(drill, question, dividend, divisor, quotient, remainder, typed_quotient, "
        "typed_remainder, correct, ms, pupil) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        -1, &answer, nullptr);
    std::mt19937 random(drills);
    const QDateTime first = now.addDays(-days);
    for (int d = 0; d < drills; ++d) {
        const QByteArray start = first.addSecs(static_cast<qint64>(days) * 86400 * d / drills)
                                     .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                     .toUtf8();
        sqlite3_reset(drill);
        sqlite3_bind_int(drill, 1, 1 + d % kPupils);
        sqlite3_bind_int(drill, 2, 1 + static_cast<int>(random() % 4));
        sqlite3_bind_text(drill, 3, start.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(drill, 4, start.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(drill, 5, 60);
        sqlite3_step(drill);
        const sqlite3_int64 id = sqlite3_last_insert_rowid(raw);
        for (int q = 1; q <= kQuestionsPerDrill; ++q) {
            const int quotient = 2 + static_cast<int>(random() % 8);
            const int divisor = 2 + static_cast<int>(random() % 8);
            const int remainder = static_cast<int>(random() % static_cast<unsigned>(divisor));
            const QByteArray typed = QByteArray::number(quotient);
            sqlite3_reset(answer);
            sqlite3_bind_int64(answer, 1, id);
            sqlite3_bind_int(answer, 2, q);
            sqlite3_bind_int(answer, 3, quotient * divisor + remainder);
            sqlite3_bind_int(answer, 4, divisor);
            sqlite3_bind_int(answer, 5, quotient);
            sqlite3_bind_int(answer, 6, remainder);
            sqlite3_bind_text(answer, 7, typed.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(answer, 8, "1", -1, SQLITE_STATIC);
            sqlite3_bind_int(answer, 9, random() % 6 != 0);
            sqlite3_bind_int(answer, 10, 1000 + static_cast<int>(random() % 20000));
            sqlite3_bind_int(answer, 11, 1 + d % kPupils);
            sqlite3_step(answer);
        }
    }
    sqlite3_finalize(drill);
    sqlite3_finalize(answer);
    sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(raw);
}

DrillLog aDrill() {
    DrillRecorder recorder;
    const QDateTime now = QDateTime::currentDateTime();
    recorder.start(3, 3, now.addSecs(-90));
    for (int q = 0; q < 12; ++q) {
        recorder.questionShown({2 + q % 8, 2 + (q * 3) % 8, 1}, q * 7000);
        recorder.judged(QStringLiteral("7"), QStringLiteral("1"), q % 5 != 0, q * 7000 + 5000);
    }
    return recorder.finish(now, 84);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// The end of a drill as the drill form runs it: the run and its answers kept, the score records, then (with
// the log) the answer log, and the kept copy taken off the list. With the log held by a reader in the middle
// of its reading (a parent's export), the answers stay kept: the end waits for the log no more than its
// busy budget.
void drillEnd(benchmark::State& bench) {
    const bool withLog = bench.range(0) != 0;
    const bool logHeld = bench.range(0) == 2;
    // On this machine's disk, not a memory file system: the syncs are the cost.
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-answers-XXXXXX"));
    const QString folder = dir.path() + u'/';
    QDir().mkpath(folder + QStringLiteral("common"));
    auto state = std::make_unique<ProgramState>();
    state->config.programDataFolder = folder;
    state->config.commonFolder = folder + QStringLiteral("common/");
    state->config.programFolderName = QStringLiteral("warizan");
    state->pupil.currentPupil = 3;
    state->pupil.currentLevel = 3;
    state->drill.finalTime = 84;
    state->config.pendingRunsFile = folder + QStringLiteral("kept/runs.jsonl");
    if (withLog)
        fillLog(folder, kPupils * 365 * 2, 365); // a year of the family: about 40,000 answers
    sqlite3* reader = nullptr;
    if (logHeld) {
        sqlite3_open(answerLogPath(folder).toUtf8().constData(), &reader);
        sqlite3_exec(reader, "BEGIN; SELECT count(*) FROM answers;", nullptr, nullptr, nullptr);
    }
    SystemClock clock;
    RecordingDialogs dialogs;
    SilentSound sound;
    SystemProcessStarter starter;
    RandomSource random;
    AppContext context{*state, clock, dialogs, sound, starter, random};
    const DrillLog drill = aDrill();
    std::vector<double> ms;
    for (auto _ : bench) {
        QElapsedTimer timer;
        timer.start();
        const bool ended =
            withLog ? recordDrillResult(context, 3, answerLogPart(state->config, clock.now(), drill))
                    : recordDrillResult(context, 3);
        if (!ended || !dialogs.messages.empty())
            bench.SkipWithError("the score records were not written");
        ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    if (reader)
        sqlite3_close(reader);
    bench.counters["median_ms"] = median(ms);
    bench.SetLabel(logHeld   ? "score records, the answer log held by a reader"
                   : withLog ? "score records and answer log"
                             : "score records only");
}

// The map of one pupil from a log of 500,000 answers of five pupils over ten years.
void factMapOfOnePupil(benchmark::State& bench) {
    static QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-answers-XXXXXX"));
    static const QString folder = dir.path() + u'/';
    static const bool filled = [] {
        fillLog(folder, 500000 / kQuestionsPerDrill, 3650);
        return true;
    }();
    benchmark::DoNotOptimize(filled);
    std::vector<double> ms;
    for (auto _ : bench) {
        QElapsedTimer timer;
        timer.start();
        FactMap map;
        QString error;
        if (!readFactMap(folder, 2, 0, &map, &error))
            bench.SkipWithError(error.toUtf8().constData());
        benchmark::DoNotOptimize(map.cell(7, 5).answers);
        ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    bench.counters["median_ms"] = median(ms);
}

} // namespace

BENCHMARK(drillEnd)
    ->Name("drillEnd")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Iterations(40)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(factMapOfOnePupil)
    ->Name("factMapOfOnePupil")
    ->Iterations(20)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
