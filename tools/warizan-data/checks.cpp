#include "checks.h"

#include "records/score_record.h"
#include "roster/roster_file.h"
#include "sound/sound_table.h"
#include "state/content_levels.h"

#include <QFile>
#include <map>

namespace warizan::tool {

namespace {

// Problems of one kind past this many are summed up in one line.
constexpr int kListedPerKind = 20;

bool dateIsUsable(double value) {
    return value >= 0 && dateFromValue(value).isValid();
}

bool fitsSixteenBits(int value) {
    return value >= -32768 && value <= 32767;
}

} // namespace

Findings checkSettings(const ProgramState& state) {
    Findings found;
    int soundGroups = 0;
    for (int event = 1; event <= kSoundEvents; ++event)
        if (!state.sound.soundTable[event][kSoundCountRow].isEmpty())
            ++soundGroups;
    found.notes << QStringLiteral("設定: よみこめました（レベルの設定 %1 組、音の設定 %2 組）")
                       .arg(state.levels.groupsLoaded)
                       .arg(soundGroups);
    return found;
}

Findings checkRoster(const Configuration& config) {
    Findings found;
    std::vector<RosterEntry> entries;
    TextEncoding encoding;
    RosterFileError rosterError;
    if (!readRosterFile(rosterPath(config), &entries, &encoding, &rosterError)) {
        found.problems
            << QStringLiteral("名簿 %1 を読めません（%2）").arg(rosterPath(config), rosterError.description);
        return found;
    }
    std::map<int, int> seen;
    for (const RosterEntry& e : entries) {
        if (!isPupilNumber(e.number))
            found.problems << QStringLiteral(
                                  "名簿: 「%1」の番号 %2 は 0 から 5000 の外です（一覧に出ません）")
                                  .arg(e.name.trimmed())
                                  .arg(e.number);
        else if (!fitsSixteenBits(e.birthYear))
            found.problems << QStringLiteral("名簿: 番号 %1「%2」の生まれ年 %3 は -32768 から 32767 の外です"
                                             "（一覧に出ません）")
                                  .arg(e.number)
                                  .arg(e.name.trimmed())
                                  .arg(e.birthYear);
        else if (++seen[e.number] == 2)
            found.problems << QStringLiteral("名簿: 番号 %1 が2回以上使われています").arg(e.number);
    }
    found.notes << QStringLiteral("名簿: %1 人").arg(entries.size());
    return found;
}

Findings checkScoreFiles(const Configuration& config) {
    Findings found;
    const struct {
        QString path;
        int length;
        bool isScoreFile;
    } files[] = {{scoreFilePath(config), kScoreRecordLength, true},
                 {homeScoreFilePath(config), kHomeScoreRecordLength, false}};
    for (const auto& f : files) {
        QFile file(f.path);
        if (!file.exists()) {
            found.notes << QStringLiteral("%1: まだありません（最初の練習で作られます）").arg(f.path);
            continue;
        }
        if (!file.open(QIODevice::ReadOnly)) {
            found.problems << QStringLiteral("%1 を読めません（%2）").arg(f.path, file.errorString());
            continue;
        }
        const QByteArray bytes = file.readAll();
        found.notes << QStringLiteral("%1: %2 件").arg(f.path).arg(bytes.size() / f.length);
        if (bytes.size() % f.length != 0)
            found.problems << QStringLiteral(
                                  "%1: 最後に %2 バイトの書きかけがあります（次の記録で上書きされます）")
                                  .arg(f.path)
                                  .arg(bytes.size() % f.length);
        if (!f.isScoreFile)
            continue;
        const std::vector<ScoreRecord> records = decodeScoreRecords(bytes);
        int outside = 0;
        for (size_t i = 0; i < records.size(); ++i) {
            const ScoreRecord& r = records[i];
            QStringList why;
            if (!isPupilNumber(r.pupil))
                why << QStringLiteral("番号 %1").arg(r.pupil);
            if (!isLevelNumber(r.level))
                why << QStringLiteral("レベル %1").arg(r.level);
            if (!dateIsUsable(r.date))
                why << QStringLiteral("日付 %1").arg(r.date);
            if (why.isEmpty())
                continue;
            if (++outside <= kListedPerKind)
                found.problems << QStringLiteral("成績: %1 件目の %2 が範囲の外です（数えません）")
                                      .arg(i + 1)
                                      .arg(why.join(QStringLiteral("、")));
        }
        if (outside > kListedPerKind)
            found.problems << QStringLiteral("成績: 範囲の外の記録はほかにも %1 件あります")
                                  .arg(outside - kListedPerKind);
    }
    return found;
}

} // namespace warizan::tool
