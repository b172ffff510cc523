#pragma once

#include "startup/configuration.h"
#include "state/program_state.h"

#include <QStringList>

namespace warizan::tool {

// What one check of a data folder found: notes say what was read, problems what the program would
// stumble on, pass over or be unable to do. Each check reads each of its files once and changes nothing;
// a problem names the file and, for a text file, the line.
struct Findings {
    QStringList notes;
    QStringList problems;
};

// The start-up files as read into `state` (settings, common data, time-count table, sound configuration),
// with the lines the values came from, and the sound files the cues would play.
Findings checkSettings(const ProgramState& state, const StartUpSources& sources);
// The roster: whether it can be read, and entries the list cannot show or that share a number.
Findings checkRoster(const Configuration& config);
// Both score files: whether they can be read and written, partial records at the end, and records the
// count passes over.
Findings checkScoreFiles(const Configuration& config);
// The answer log: whether the program could read and write it at the end of a drill, and whether it is
// damaged (the program would then set it aside and start a new one).
Findings checkAnswerLog(const Configuration& config);

// Parts of the checks above (kept_checks.cpp).
// Runs and answers kept for this folder's files, lines of the list of kept runs that cannot be read, and
// those moved aside.
void checkPendingRuns(const Configuration& config, Findings& found);
// The score file's runs over the window the count reads against this program's home records: each run
// missing from the home file and each home record with no run.
void checkHomeRecords(const Configuration& config, Findings& found);
// Every set-aside copy of a damaged answer log, with when it was set aside and how many drills it holds.
void checkSetAsideLogs(const Configuration& config, Findings& found);

} // namespace warizan::tool
