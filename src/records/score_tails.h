#pragma once

#include "records/score_record.h"

#include <QFile>
#include <vector>

namespace warizan {

// Every append leaves a run's score record and, for pupils below 4900, its home record; an append cut off
// between the two (the program killed, the machine switched off) leaves the home file behind. The two files
// are compared run by run: each run of the score file that has a home record is paired with the home record
// this program wrote for it (other programs of the suite append to the home file too).

// How many records from the end an append compares: enough for a family's files, few enough to be read at
// every append.
inline constexpr int kScoreTailRecords = 1024;
inline constexpr int kHomeTailRecords = 4096;

// The last whole records of an open file, at most `count` of them; `all` tells whether they are all the
// whole records it holds. False when the file cannot be read.
bool readRecordTail(QFile& file, int recordLength, int count, QByteArray* tail, bool* all);

// Whether a run of this pupil leaves a home record.
bool hasHomeRecord(qint16 pupil);

// Whether the home record is the one an append wrote for this score record. Older copies of the program
// stamped the home record a moment after the score record; a minute's difference is still the same run.
bool isHomeRecordOf(const HomeScoreRecord& home, const ScoreRecord& score);

// The home record an append writes for a score record, stamped as the score record is.
HomeScoreRecord homeRecordFor(const Configuration& config, const ScoreRecord& score);

// The runs of some of the score file's records and this program's records of some of the home file's,
// paired one to one: in file order, each run takes the first home record not yet taken that was written for
// it.
struct HomePairing {
    std::vector<ScoreRecord> runs;     // the runs that have a home record, in file order
    std::vector<HomeScoreRecord> ours; // this program's home records, in file order
    std::vector<int> homeOfRun;        // for each run, the index of its home record in `ours`, or -1
    std::vector<bool> paired;          // for each of `ours`: taken by a run
    // The newest run that has its home record (the files were in step up to it); -1 when none has.
    int lastInStep() const;
};
HomePairing pairHomeRecords(const QByteArray& scoreRecords, const QByteArray& homeRecords,
                            const Configuration& config);

// The home records an append completes, in order: those of every run after the last one the files were in
// step at. Where no run of the records compared has its home record, nothing is known of where they parted,
// and only a score file whose one run has none (both files seen whole) is completed.
std::vector<HomeScoreRecord> homeRecordsToComplete(const HomePairing& pairing, bool allScores, bool allHome,
                                                   const Configuration& config);

} // namespace warizan
