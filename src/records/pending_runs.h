#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace warizan {

// What a drill's end has still to bring to the files of the suite: the run's records, until both score files
// hold them, and the drill's answers, until the answer log holds them. A drill's end keeps it here first, and
// whatever fails or is killed after that (a read-only folder, a full disk, a log another program holds, the
// program stopped half-way) the next drill's end or the next start brings what is missing, once. Runs are
// kept in the user's own data folder, outside the suite's folders. The records are the exact bytes the append
// writes, so a run keeps the drill's own date and time.
struct PendingRun {
    // The run's identity: the same for every copy of it in the list and for its drill in the answer log.
    QString id{};
    QString scoreFile{};      // the score file it belongs to, as placeOfFile() gives it
    QString homeFile{};       // the home score file; empty when the run has no home record
    QByteArray scoreRecord{}; // one whole score record; empty once both score files hold the run
    QByteArray homeRecord{};  // one whole home score record, or empty (pupils from 4900 on have none)
    // The run can only be in the files from these bytes on: the whole records the files held when it was
    // kept (an append only ever writes after them). 0 where that is not known.
    qint64 scoreFileFrom = 0;
    qint64 homeFileFrom = 0;
    QString answerLog{};   // the answer log its drill's answers belong to; empty when none wait
    QJsonObject answers{}; // the drill and its answers, in the answer log's own form (answers/kept_answers.h)

    bool waitsForScoreFiles() const { return !scoreRecord.isEmpty(); }
    bool waitsForAnswerLog() const { return !answerLog.isEmpty(); }
    bool operator==(const PendingRun&) const = default;
};

// The file the program keeps such runs in: a file of the user's own data folder (on Linux under
// $XDG_DATA_HOME), shared by every copy of the program and the data tool. $WARIZAN_DATA_HOME, where set,
// names that folder on every system, so a second copy (or a test) can keep its runs apart: Windows has no
// variable of its own for it. Empty when the system names no such folder.
QString defaultPendingRunsFile();

// Where lines of the list that cannot be read (damaged from outside: the list itself is only ever replaced
// whole) are moved, beside the list: they are never dropped.
QString unreadableRunsFile(const QString& file);

// A file's path in the form runs are filed under: absolute, with links and ".." of its folder resolved
// where the folder exists, so that two spellings of one folder name the same score files.
QString placeOfFile(const QString& path);

// A new identity for a run.
QString newRunId();

// The runs kept in `file`, in the order they were kept, each identity once; read line by line, whatever its
// size. A missing file holds none. Lines that are no kept run are passed over (the next change of the list
// moves them aside) and counted in `unreadableLines`. False, with the reason, when the file exists but
// cannot be read. Changes nothing.
bool readPendingRuns(const QString& file, std::vector<PendingRun>* runs, QString* why,
                     int* unreadableLines = nullptr);

// The runs of `runs` that wait for the given score files (as placeOfFile() gives them).
std::vector<PendingRun> pendingRunsFor(const std::vector<PendingRun>& runs, const QString& scoreFile,
                                       const QString& homeFile);

// Adds `run` after the runs already kept. The list is rewritten whole through a temporary file, flushed to
// the disk and put in place by an atomic replace, under a lock against other copies of the program: a crash
// leaves the old list or the new one. Unreadable lines are moved aside on the way. False, with the reason,
// when it cannot be written; the list is then as it was.
bool keepPendingRun(const QString& file, const PendingRun& run, QString* why);

// Rewrites the list as keepPendingRun() does, passing every kept run to `settle`, which may change what still
// waits of it; a run with nothing left waiting leaves the list, as do second copies of one identity. The
// file is removed once it holds nothing.
bool settlePendingRuns(const QString& file, const std::function<void(PendingRun&)>& settle, QString* why);

// Clears what of `done` the files now hold (the records when `scoresLanded`, the answers of the runs whose
// identities are in `answersLanded`), keeping every other run and line: settlePendingRuns() for the usual
// case.
bool settleLandedRuns(const QString& file, const std::vector<PendingRun>& done, bool scoresLanded,
                      const QStringList& answersLanded, QString* why);

// How many unreadable lines were moved aside since the family was last told; the count starts again at 0.
// Run at start-up, which tells the family once.
int takeUntoldUnreadableLines(const QString& file);

} // namespace warizan
