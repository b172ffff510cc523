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

// Appends one score record for the working pupil's run (`currentLevel`, `finalTime`) and, for pupils
// below 4900, one home score record. Both files are opened and locked (waiting for other copies of the
// program to finish their appends) before either is written, so a run is on file in both or in neither:
// when the home file cannot be opened, locked or written, the score file is left as it was. Each record
// goes after the last whole record, so records of concurrent writers never overlap and a partial record
// left by a cut-off writer is overwritten. Ends the program when a file cannot be used, naming it.
[[nodiscard]] bool writeScoreRecords(AppContext& context);

// End-of-drill bookkeeping for the working pupil on `level`: sets alreadyCleared from the figures of the
// last count (which do not yet hold this run), patches bestResult and levelBestResult when the run beats
// them (raising newPersonalBest / newLevelBest) and appends the records.
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
