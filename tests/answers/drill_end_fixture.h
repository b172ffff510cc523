#pragma once

#include "answers/answer_log.h"
#include "records/score_file.h"
#include "startup/configuration.h"
#include "test_support.h"

#include <optional>

// The drill that a real copy of the program ends in the tests of a drill's end, and the program started as
// that copy starts it: shared by the test and its child so both speak of the same run.
namespace warizan::test {

inline const QDateTime kKeptDrillEnd(QDate(2024, 4, 10), QTime(10, 0, 5));
inline constexpr int kKeptPupil = 4;
inline constexpr int kKeptLevel = 2;
inline constexpr qint32 kKeptResult = 61;

// Pupil 4's drill on level 2: three questions, the last one wrong, ended at kKeptDrillEnd.
inline DrillLog keptDrill() {
    DrillRecorder recorder;
    recorder.start(kKeptPupil, kKeptLevel, kKeptDrillEnd.addSecs(-kKeptResult));
    recorder.questionShown({7, 5, 2}, 1000);
    recorder.judged(QStringLiteral("7"), QStringLiteral("2"), true, 4000);
    recorder.questionShown({3, 8, 1}, 5000);
    recorder.judged(QStringLiteral("3"), QStringLiteral("1"), true, 9500);
    recorder.questionShown({9, 2, 0}, 10000);
    recorder.judged(QStringLiteral("8"), QString(), false, 17000);
    return recorder.finish(kKeptDrillEnd, kKeptResult);
}

// `t` as the program has it after start-up on `programFolder`, its runs kept in `pendingRuns`, with the
// given pupil's drill on `level` just ended in `result` seconds.
inline bool startedOn(TestContext& t, const QString& programFolder, const QString& pendingRuns, int pupil,
                      int level, qint32 result) {
    ConfigurationError error;
    if (!StartUpConfiguration(*t.state, programFolder, &error))
        return false;
    t.state->config.pendingRunsFile = pendingRuns;
    t.state->pupil.currentPupil = static_cast<qint16>(pupil);
    t.state->pupil.currentLevel = static_cast<qint16>(level);
    t.state->drill.finalTime = result;
    PupilFigures& figures = t.state->figures;
    figures.levelBestResult[level] = kNoResult;
    figures.bestResult.at(level, pupil) = kNoResult;
    return true;
}

// The steps of a drill's end by the names the child is given; "inside-log-write" is the moment the log's
// commit has begun writing the file (its journal on the disk, the file half-written).
inline std::optional<DrillEndStep> drillEndStepNamed(const QString& name) {
    const std::pair<const char*, DrillEndStep> steps[] = {
        {"kept", DrillEndStep::RunKept},         {"scores", DrillEndStep::ScoresWritten},
        {"log-begun", DrillEndStep::LogWriting}, {"inside-log-write", DrillEndStep::LogWriting},
        {"log", DrillEndStep::LogWritten},       {"removed", DrillEndStep::KeptCopyRemoved},
    };
    for (const auto& [stepName, step] : steps)
        if (name == QLatin1String(stepName))
            return step;
    return std::nullopt;
}

// The exit code of a child stopped at its step.
inline constexpr int kStoppedExitCode = 42;

} // namespace warizan::test
