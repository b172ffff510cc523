#pragma once

#include "state/program_state.h"

#include <QStringList>

namespace warizan::tool {

// What one check of a data folder found: notes say what was read, problems what the program would
// stumble on or pass over. Each check reads each of its files once and changes nothing.
struct Findings {
    QStringList notes;
    QStringList problems;
};

// The start-up files as read into `state` (settings, common data, time-count table, sound configuration).
Findings checkSettings(const ProgramState& state);
// The roster: entries the list cannot show and numbers used twice.
Findings checkRoster(const Configuration& config);
// Both score files: partial records at the end and records the count passes over.
Findings checkScoreFiles(const Configuration& config);

} // namespace warizan::tool
