#pragma once

#include "state/app_context.h"
#include "textdata/file_access.h"

#include <QFile>

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

// Appends one score record for the working pupil's run (`currentLevel`, `finalTime`) and, for pupils
// below 4900, one home score record. Both files are opened and locked (waiting for other copies of the
// program to finish their appends) before either is written, so a run is on file in both or in neither:
// when the home file cannot be opened, locked or written, the score file is left as it was. Each record
// goes after the last whole record, so records of concurrent writers never overlap and a partial record
// left by a cut-off writer is overwritten. Before the run, under the same locks, the home record of a
// run whose append was cut off between the two files is completed, and the runs kept from failed appends
// to these files (see recordDrillResult) are appended in the order they were kept, each once. Ends the
// program when a file cannot be used, naming it.
[[nodiscard]] bool writeScoreRecords(AppContext& context);

// Appends the runs kept from failed appends to this folder's score files, as writeScoreRecords() does
// before its own run; false, with what went wrong, when they could not be (they stay kept). Never shows
// anything: run at start-up.
bool appendPendingRuns(const Configuration& config, const Clock& clock, AppendFailure* failure = nullptr);

// End-of-drill bookkeeping for the working pupil on `level`: sets alreadyCleared from the figures of the
// last count (which do not yet hold this run), patches bestResult and levelBestResult when the run beats
// them (raising newPersonalBest / newLevelBest) and appends the records as writeScoreRecords() does. When
// the files cannot take them (a read-only folder, a full disk), the run is not lost: its records, with the
// drill's own date and time, are kept in `pendingRunsFile` for the next append, and the pupil is told in
// plain words that the result is kept and will be recorded later; the drill then goes on as usual. Only
// when the run cannot be kept either does the program end (false).
[[nodiscard]] bool recordDrillResult(AppContext& context, int level);

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
