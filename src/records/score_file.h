#pragma once

#include "records/pending_runs.h"
#include "state/app_context.h"
#include "textdata/file_access.h"

#include <QFile>
#include <QJsonObject>
#include <QStringList>
#include <functional>
#include <vector>

namespace warizan {

// Routines here that may end the program return false once they have done so (message shown, program
// end asked for); the caller must then return at once without touching the files or the figures again.

// Opens the score file of the program's data folder for reading and writing, creating it empty when it is
// missing. Only a regular file is opened; returns false with the reason in `failure` otherwise.
bool openScoreFile(const Configuration& config, QFile& file, FileFailure* failure);

// Why an append wrote nothing: what went wrong (e.g. "成績ファイルを開けません。"), the file, and why in
// words a family can read (a full disk says "ディスクがいっぱいです").
struct AppendFailure {
    QString what;
    QString path;
    QString why;
};

// The steps of a drill's end, in order. A test stops a real copy of the program at each of them (and inside
// the answer log's write) to show that nothing is lost or written twice whatever the moment.
enum class DrillEndStep {
    RunKept,         // the run and its answers are kept, flushed to the disk
    ScoresWritten,   // the score records are appended
    LogWriting,      // the answer log's write has begun and not yet been committed (answers/kept_answers.h)
    LogWritten,      // the answers are in the log
    KeptCopyRemoved, // what reached the files has left the list of kept runs
};
using DrillEndProbe = std::function<void(DrillEndStep)>;

// The answer log's part in a drill's end. The records keep the drill's answers with its run and hand every
// kept run whose answers wait for `answerLog` to `land`, which writes them (each drill once, in the order
// kept) and returns the identities of the runs whose answers the log now holds. The answer log fills this
// in (answers/kept_answers.h); without `land` no answers are kept.
struct DrillAnswers {
    QString answerLog;   // as placeOfFile() gives it
    QJsonObject answers; // the drill's own; empty at start-up
    std::function<QStringList(const QString& answerLog, const std::vector<PendingRun>& runs,
                              const DrillEndProbe& probe)>
        land;
};

// Appends one score record for the working pupil's run (`currentLevel`, `finalTime`) and, for pupils
// below 4900, one home score record. Both files are opened and locked (waiting for other copies of the
// program to finish their appends) before either is written, so a run is on file in both or in neither:
// when the home file cannot be opened, locked or written, the score file is left as it was. Each record
// goes after the last whole record, so records of concurrent writers never overlap and a partial record
// left by a cut-off writer is overwritten. Before the run, under the same locks, the home records of runs
// whose appends were cut off between the two files are completed, and the runs kept from failed appends
// to these files (see recordDrillResult) are appended in the order they were kept, each once to each file.
// Ends the program when a file cannot be used, naming it; the run is then not kept (the data tool's append).
[[nodiscard]] bool writeScoreRecords(AppContext& context);

// Brings what is kept for this folder to its files, as the end of a drill does before its own run: the
// kept runs to the score files, their answers to the log of `answers` (when it has `land`). False, with
// what went wrong, when the score files could not take the runs (they stay kept, as do answers the log
// could not take). Never shows anything: run at start-up.
bool appendPendingRuns(const Configuration& config, AppendFailure* failure = nullptr,
                       const DrillAnswers& answers = {}, const DrillEndProbe& probe = {});

// End-of-drill bookkeeping for the working pupil on `level`: sets alreadyCleared from the figures of the
// last count (which do not yet hold this run) and patches bestResult and levelBestResult when the run beats
// them (raising newPersonalBest / newLevelBest). Then, in this order: the run (with the drill's own date and
// time) and its answers are kept in `pendingRunsFile`, flushed to the disk; the kept runs are appended as
// writeScoreRecords() does; the kept answers go to the answer log; what reached the files leaves the list.
// When the score files cannot take the run (a read-only folder, a full disk) it stays kept for the next
// append and the pupil is told in plain words that the result is kept and will be recorded later; the drill
// then goes on as usual. Answers the log cannot take (locked, read-only, full) stay kept without a word.
// Only when the run could be neither appended nor kept does the program end (false).
[[nodiscard]] bool recordDrillResult(AppContext& context, int level, const DrillAnswers& answers = {},
                                     const DrillEndProbe& probe = {});

// Loads the newest 20000 records of the score file into the loaded-record tables and rebuilds bestResult
// and levelBestResult from them. The file is opened for reading only; a missing file is created empty
// (or, where the folder cannot be written, taken as empty). While another copy of the program is
// appending, waits a second at a time (letting events run) for as long as that takes; a file that is
// missing and cannot be created is retried every five seconds and ends the program at the fourth failure
// ("ファイルがありません", the stage, the description and 53). A file that exists but cannot be used (no
// permission, a folder, a pipe or device) ends the program at once with a message naming it. Records
// naming a pupil or level outside the tables, or with a result below 0, are passed over.
[[nodiscard]] bool loadScoreRecords(AppContext& context);

} // namespace warizan
