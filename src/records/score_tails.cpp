#include "records/score_tails.h"

#include <cmath>

namespace warizan {

namespace {

// Pupils from this number on are guests of the site and leave no record in the home score file.
constexpr int kFirstPupilWithoutHomeRecord = 4900;
// The longest gap between the stamps of a run's two records that still counts as the same run.
constexpr double kSameRunDays = 60.0 / 86'400.0;

bool hasHomeRecord(const ScoreRecord& record) {
    return record.pupil >= 0 && record.pupil < kFirstPupilWithoutHomeRecord;
}

} // namespace

bool readRecordTail(QFile& file, int recordLength, int count, QByteArray* tail, bool* all) {
    const qint64 whole = file.size() / recordLength;
    const qint64 taken = std::min<qint64>(whole, count);
    *all = taken == whole;
    if (!file.seek((whole - taken) * recordLength))
        return false;
    *tail = file.read(taken * recordLength);
    return tail->size() == taken * recordLength;
}

bool isHomeRecordOf(const HomeScoreRecord& home, const ScoreRecord& score) {
    return home.pupil == score.pupil && home.level == score.level && home.result == score.result &&
           std::fabs((home.date + home.clockTime) - (score.date + score.clockTime)) <= kSameRunDays;
}

HomeScoreRecord homeRecordFor(const Configuration& config, const ScoreRecord& score) {
    HomeScoreRecord home =
        makeHomeScoreRecord(config, QDate(), QTime(), score.pupil, score.level, score.result);
    home.date = score.date;
    home.clockTime = score.clockTime;
    home.schoolCodeText = score.schoolCodeText;
    return home;
}

HomeTailFinding compareHomeTail(const QByteArray& scoreTail, bool allScores, const QByteArray& homeTail,
                                bool allHome, const Configuration& config) {
    // The last two runs that have a home record, newest first.
    std::vector<ScoreRecord> runs;
    for (qsizetype at = scoreTail.size() - kScoreRecordLength; at >= 0 && runs.size() < 2;
         at -= kScoreRecordLength) {
        const ScoreRecord record = decodeScoreRecord(scoreTail.constData() + at);
        if (hasHomeRecord(record))
            runs.push_back(record);
    }
    if (runs.empty())
        return {};

    // This program's last home record.
    const TextField20 ours = makeHomeScoreRecord(config, QDate(), QTime(), 0, 0, 0).folderText;
    std::optional<HomeScoreRecord> lastOurs;
    for (qsizetype at = homeTail.size() - kHomeScoreRecordLength; at >= 0; at -= kHomeScoreRecordLength) {
        const HomeScoreRecord record = decodeHomeScoreRecord(homeTail.constData() + at);
        if (record.folderText == ours) {
            lastOurs = record;
            break;
        }
    }

    if (lastOurs && isHomeRecordOf(*lastOurs, runs[0]))
        return {HomeTail::InStep, std::nullopt};
    // One run behind: the home file's last run is the one before, or (with both files seen whole) the
    // score file's only run has no home record at all.
    const bool oneBehind = lastOurs ? runs.size() == 2 && isHomeRecordOf(*lastOurs, runs[1])
                                    : runs.size() == 1 && allScores && allHome;
    if (oneBehind)
        return {HomeTail::MissesLastRun, homeRecordFor(config, runs[0])};
    return {HomeTail::OutOfStep, std::nullopt};
}

} // namespace warizan
