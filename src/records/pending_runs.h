#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace warizan {

// A run whose records could not be appended when its drill ended (a read-only folder, a full disk, a
// folder where a score file should be). It is kept in the user's own data folder, outside the suite's
// folders, until the score files it belongs to can take it. The records are kept as the exact bytes the
// append would have written, so the run keeps the drill's own date and time.
struct PendingRun {
    QString scoreFile;      // the score file it belongs to, as placeOfFile() gives it
    QString homeFile;       // the home score file; empty when the run has no home record
    QByteArray scoreRecord; // one whole score record
    QByteArray homeRecord;  // one whole home score record, or empty (pupils from 4900 on have none)

    bool operator==(const PendingRun&) const = default;
};

// The file the program keeps such runs in: a file of the user's own data folder (on Linux under
// $XDG_DATA_HOME), shared by every copy of the program and the data tool. Empty when the system names no
// such folder.
QString defaultPendingRunsFile();

// A file's path in the form runs are filed under: absolute, with links and ".." of its folder resolved
// where the folder exists, so that two spellings of one folder name the same score files.
QString placeOfFile(const QString& path);

// The runs kept in `file`, in the order they were kept. A missing file holds none. Lines that are no
// kept run (a file damaged by hand) are passed over and counted in `damagedLines`. False, with the reason,
// when the file exists but cannot be read.
bool readPendingRuns(const QString& file, std::vector<PendingRun>* runs, QString* why,
                     int* damagedLines = nullptr);

// The runs of `runs` that belong to the given score files (as placeOfFile() gives them).
std::vector<PendingRun> pendingRunsFor(const std::vector<PendingRun>& runs, const QString& scoreFile,
                                       const QString& homeFile);

// Adds `run` after the runs already kept. The file is rewritten whole through a temporary file and an
// atomic replace, under a lock against other copies of the program: a crash leaves the old list or the new
// one. False, with the reason, when it cannot be written; the list is then as it was.
bool keepPendingRun(const QString& file, const PendingRun& run, QString* why);

// Removes the runs equal to those of `done` and keeps every other line (runs of other folders, damaged
// lines), rewriting the file as keepPendingRun() does; the file is removed once it holds nothing.
bool dropPendingRuns(const QString& file, const std::vector<PendingRun>& done, QString* why);

} // namespace warizan
