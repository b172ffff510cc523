#pragma once

#include "records/score_record.h"

#include <QFile>
#include <optional>

namespace warizan {

// Every append leaves a run's score record and, for pupils below 4900, its home record; an append cut off
// between the two (the program killed, the machine switched off) leaves the home file one run behind. The
// two files are compared at their ends: the last score record of a pupil below 4900 against the last home
// record this program wrote (other programs of the suite append to the home file too).

// How many records from the end are looked at: enough for a family's files, few enough to be read at every
// append.
inline constexpr int kScoreTailRecords = 64;
inline constexpr int kHomeTailRecords = 4096;

enum class HomeTail {
    InStep,        // the home file holds the score file's last run
    NothingToTell, // no run of a pupil below 4900 in the score file's tail
    MissesLastRun, // the home file holds every run but the last: an append was cut off between the two
    OutOfStep,     // the ends hold different runs in any other way
};

struct HomeTailFinding {
    HomeTail state = HomeTail::NothingToTell;
    // With MissesLastRun: the home record the last run lacks, made from its score record (the run's own
    // date and time).
    std::optional<HomeScoreRecord> missing;
};

// The last whole records of an open file, at most `count` of them; `all` tells whether they are all the
// whole records it holds. False when the file cannot be read.
bool readRecordTail(QFile& file, int recordLength, int count, QByteArray* tail, bool* all);

// Compares the ends of the two files. `folderText` is this program's folder field of the home records.
HomeTailFinding compareHomeTail(const QByteArray& scoreTail, bool allScores, const QByteArray& homeTail,
                                bool allHome, const Configuration& config);

// Whether the home record is the one an append wrote for this score record. Older copies of the program
// stamped the home record a moment after the score record; a minute's difference is still the same run.
bool isHomeRecordOf(const HomeScoreRecord& home, const ScoreRecord& score);

// The home record an append writes for a score record, stamped as the score record is.
HomeScoreRecord homeRecordFor(const Configuration& config, const ScoreRecord& score);

} // namespace warizan
