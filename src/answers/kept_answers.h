#pragma once

#include "answers/answer_log.h"
#include "records/score_file.h"

#include <QJsonObject>
#include <optional>

namespace warizan {

// A drill's answers as they wait with its run in the list of kept runs until the answer log takes them:
// the drill's row (pupil, level, start, end, result) and every question as the pupil met it.
QJsonObject keptFormOf(const DrillLog& drill);
// The drill read back; empty when the object holds no drill of this form.
std::optional<DrillLog> drillFromKeptForm(const QJsonObject& kept);

// The answer log's part in a drill's end (or, with no drill, in the start-up) for the data folder of
// `config`: the drill's answers kept with its run, and kept answers written to the log (stamping a log found
// damaged and set aside with `now`). The log is waited for AnswerDatabase::kDrillEndBusyTimeoutMs at most.
DrillAnswers answerLogPart(const Configuration& config, const QDateTime& now,
                           const std::optional<DrillLog>& drill = std::nullopt);

// Writes the answers of `runs` (kept runs whose answers wait for `answerLog`, in the order kept) into the log
// in one transaction, each drill once: a drill the log holds already is passed over. Returns the identities
// of the runs whose answers the log now holds: all of them, or none when the log cannot take them. The probe
// is told DrillEndStep::LogWriting once everything is written but not yet committed.
QStringList landKeptAnswers(const QString& answerLog, const std::vector<PendingRun>& runs,
                            const QDateTime& now, const DrillEndProbe& probe = {});

// The end of a practice sheet, which has no score record: its answers are kept in the list of kept runs
// first (flushed to the disk), then written to the answer log of `config` together with any answers kept
// for that log before, and leave the list once the log holds them; where the list cannot be written they go
// to the log directly. Returns false only when the answers could be neither kept nor written, with the
// reason in `error`: they are then lost, and the family should be told.
bool keepPracticeAnswers(const Configuration& config, const DrillLog& practice, const QDateTime& now,
                         QString* error = nullptr, const DrillEndProbe& probe = {});

} // namespace warizan
