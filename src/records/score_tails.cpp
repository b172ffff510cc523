#include "records/score_tails.h"

#include <QHash>
#include <cmath>

namespace warizan {

namespace {

// Pupils from this number on are guests of the site and leave no record in the home score file.
constexpr int kFirstPupilWithoutHomeRecord = 4900;
// The longest gap between the stamps of a run's two records that still counts as the same run.
constexpr double kSameRunDays = 60.0 / 86'400.0;

// Runs that can share a home record: the same pupil, level and result.
quint64 runKey(qint16 pupil, qint16 level, qint32 result) {
    return (quint64(quint16(pupil)) << 48) | (quint64(quint16(level)) << 32) | quint32(result);
}

TextField20 ourFolderText(const Configuration& config) {
    return makeHomeScoreRecord(config, QDate(), QTime(), 0, 0, 0).folderText;
}

double stampOf(double date, double clock) {
    return date + clock;
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

bool hasHomeRecord(qint16 pupil) {
    return pupil >= 0 && pupil < kFirstPupilWithoutHomeRecord;
}

bool isHomeRecordOf(const HomeScoreRecord& home, const ScoreRecord& score) {
    return home.pupil == score.pupil && home.level == score.level && home.result == score.result &&
           std::fabs(stampOf(home.date, home.clockTime) - stampOf(score.date, score.clockTime)) <=
               kSameRunDays;
}

HomeScoreRecord homeRecordFor(const Configuration& config, const ScoreRecord& score) {
    HomeScoreRecord home =
        makeHomeScoreRecord(config, QDate(), QTime(), score.pupil, score.level, score.result);
    home.date = score.date;
    home.clockTime = score.clockTime;
    home.schoolCodeText = score.schoolCodeText;
    return home;
}

int HomePairing::lastInStep() const {
    for (int i = static_cast<int>(runs.size()) - 1; i >= 0; --i)
        if (homeOfRun[static_cast<std::size_t>(i)] >= 0)
            return i;
    return -1;
}

HomePairing pairHomeRecords(const QByteArray& scoreRecords, const QByteArray& homeRecords,
                            const Configuration& config) {
    HomePairing pairing;
    for (qsizetype at = 0; at + kScoreRecordLength <= scoreRecords.size(); at += kScoreRecordLength) {
        const ScoreRecord record = decodeScoreRecord(scoreRecords.constData() + at);
        if (hasHomeRecord(record.pupil))
            pairing.runs.push_back(record);
    }
    const TextField20 ours = ourFolderText(config);
    QHash<quint64, std::vector<int>> candidates; // indexes into `ours`, in file order
    for (qsizetype at = 0; at + kHomeScoreRecordLength <= homeRecords.size(); at += kHomeScoreRecordLength) {
        const HomeScoreRecord record = decodeHomeScoreRecord(homeRecords.constData() + at);
        if (record.folderText != ours)
            continue;
        candidates[runKey(record.pupil, record.level, record.result)].push_back(
            static_cast<int>(pairing.ours.size()));
        pairing.ours.push_back(record);
    }
    pairing.paired.assign(pairing.ours.size(), false);
    pairing.homeOfRun.assign(pairing.runs.size(), -1);
    for (std::size_t r = 0; r < pairing.runs.size(); ++r) {
        const ScoreRecord& run = pairing.runs[r];
        const auto found = candidates.constFind(runKey(run.pupil, run.level, run.result));
        if (found == candidates.cend())
            continue;
        for (int h : *found) {
            if (!pairing.paired[static_cast<std::size_t>(h)] &&
                isHomeRecordOf(pairing.ours[static_cast<std::size_t>(h)], run)) {
                pairing.paired[static_cast<std::size_t>(h)] = true;
                pairing.homeOfRun[r] = h;
                break;
            }
        }
    }
    return pairing;
}

std::vector<HomeScoreRecord> homeRecordsToComplete(const HomePairing& pairing, bool allScores, bool allHome,
                                                   const Configuration& config) {
    std::vector<HomeScoreRecord> missing;
    const int last = pairing.lastInStep();
    if (last < 0) {
        // Never in step as far as the records reach. A score file of one run and a home file without
        // any of this program's records is an append cut off at the very first run; more than that is not
        // guessed at (the data tool's check names the runs).
        if (pairing.runs.size() == 1 && pairing.ours.empty() && allScores && allHome)
            missing.push_back(homeRecordFor(config, pairing.runs.front()));
        return missing;
    }
    for (std::size_t r = static_cast<std::size_t>(last) + 1; r < pairing.runs.size(); ++r)
        missing.push_back(homeRecordFor(config, pairing.runs[r]));
    return missing;
}

} // namespace warizan
