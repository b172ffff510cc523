#pragma once

#include "records/score_record.h"
#include "state/content_levels.h"
#include "state/program_state.h"

#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <random>

namespace warizan::bench {

inline const QDate kBenchToday(2024, 4, 10);

// A large family: `pupils` listed pupils of every school age, four levels with goals 60..240 s, and a score
// file of `records` runs over the last year, a tenth of them today and a few that ran out of time.
struct FamilyFolder {
    QTemporaryDir dir;
    std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();

    FamilyFolder(int pupils, int records) {
        ProgramState& s = *state;
        s.config.programDataFolder = dir.path() + QStringLiteral("/");
        PrepareContent(s.levels);
        for (int level = 1; level <= 4; ++level) {
            s.levels.levelGoal[level] = 60 * level;
            s.levels.levelBonusFactor[level] = 1.5f;
            s.levels.levelBonusPoints[level] = 100;
            s.levels.levelBonusRuns[level] = 10;
            s.levels.levelRecentDays[level] = 7;
            s.levels.levelQuotaDays[level] = 30;
        }
        s.roster.gradeBaseYear = 2024;
        s.roster.listedCount = pupils;
        for (int k = 1; k <= pupils; ++k) {
            s.roster.rosterPupilNumber[static_cast<size_t>(k)] = static_cast<qint16>(k);
            s.roster.pupilName[k] = QStringLiteral("なまえ%1").arg(k).leftJustified(20, u' ');
            s.roster.pupilBirthYear[k] = static_cast<qint16>(2004 + k % 16);
        }
        s.pupil.currentPupil = 1;
        s.pupil.currentPupilName = s.roster.pupilName[1];

        std::mt19937 random(static_cast<unsigned>(records));
        const double today = dateValue(kBenchToday);
        QByteArray bytes;
        bytes.reserve(static_cast<qsizetype>(records) * kScoreRecordLength);
        for (int i = 0; i < records; ++i) {
            ScoreRecord r;
            r.date = random() % 10 == 0 ? today : today - static_cast<double>(random() % 365);
            r.clockTime = static_cast<double>(random() % 86400) / 86400.0;
            r.pupil = static_cast<qint16>(1 + random() % static_cast<unsigned>(pupils));
            r.level = static_cast<qint16>(1 + random() % 4);
            r.result = random() % 20 == 0 ? kNoResult : static_cast<qint32>(30 + random() % 600);
            bytes += encodeScoreRecord(r);
        }
        QFile file(s.config.programDataFolder + kScoreFileName);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the score file");
    }
};

} // namespace warizan::bench
