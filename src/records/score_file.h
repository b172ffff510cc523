#pragma once

#include "state/app_context.h"

#include <QFile>

namespace warizan {

// Routines here that may end the program return false once they have done so (message shown, program
// end asked for); the caller must then return at once without touching the files or the figures again.

// Opens the score file of the program's data folder for reading and writing, creating it empty when it is
// missing. Returns false, with the reason left in `file`, when it can be neither opened nor created.
bool openScoreFile(const Configuration& config, QFile& file);

// Appends one score record for the working pupil's run (`currentLevel`, `finalTime`) and, for pupils
// below 4900, one home score record. Each append holds an exclusive lock on its whole file (waiting for
// other copies of the program to finish theirs) and writes after the last whole record, so records of
// concurrent writers never overlap and a partial record left by a cut-off writer is overwritten.
// Ends the program when a file cannot be opened, locked or written.
[[nodiscard]] bool writeScoreRecords(AppContext& context);

// End-of-drill bookkeeping for the working pupil on `level`: sets alreadyCleared from the figures of the
// last count (which do not yet hold this run), patches bestResult and levelBestResult when the run beats
// them (raising newPersonalBest / newLevelBest) and appends the records.
[[nodiscard]] bool recordDrillResult(AppContext& context, int level);

// Loads the newest 20000 records of the score file into the loaded-record tables and rebuilds bestResult
// and levelBestResult from them. While another copy of the program is appending, waits a second at a time
// (letting events run) for as long as that takes; a file that cannot be opened or created is retried
// every five seconds and ends the program at the fourth failure. Records naming a pupil or level outside
// the tables are passed over.
[[nodiscard]] bool loadScoreRecords(AppContext& context);

} // namespace warizan
