#include "checks.h"

#include "answers/answer_database.h"
#include "records/level_table_file.h"
#include "records/score_record.h"
#include "roster/roster_file.h"
#include "sound/sound_table.h"
#include "state/content_levels.h"
#include "textdata/file_access.h"
#include "textdata/text_data.h"

#include <QDateTime>
#include <QFileInfo>
#include <QStorageInfo>
#include <cmath>
#include <map>

namespace warizan::tool {

namespace {

// Problems of one kind past this many are summed up in one line.
constexpr int kListedPerKind = 20;
// A score file is checked up to this many bytes from its end: far more than the count ever reads.
constexpr qint64 kScoreCheckLimit = 64LL * 1024 * 1024;

bool dateIsUsable(double value) {
    return value >= 0 && dateFromValue(value).isValid();
}

bool fitsSixteenBits(int value) {
    return value >= -32768 && value <= 32767;
}

// Whether a value holds a number where the program reads one (a text gives 0 there).
bool holdsNumber(const QString& value) {
    return value.trimmed().isEmpty() || leadingNumber(value) != 0 || value.trimmed().front().isDigit() ||
           value.trimmed().front() == u'０';
}

QString at(const QString& fileName, int line) {
    return line > 0 ? QStringLiteral("%1（%2 行目）").arg(fileName).arg(line) : fileName;
}

// Counts the problems of one kind, listing the first few and summing up the rest.
class ProblemList final {
public:
    explicit ProblemList(QStringList& problems)
        : m_problems(problems) {}
    void add(const QString& text) {
        if (++m_count <= kListedPerKind)
            m_problems << text;
    }
    void finish(const QString& rest) {
        if (m_count > kListedPerKind)
            m_problems << rest.arg(m_count - kListedPerKind);
    }

private:
    QStringList& m_problems;
    int m_count = 0;
};

void checkStartUpValues(const StartUpSources& sources, Findings& found) {
    const QString settings = QStringLiteral("設定.txt");
    const QString common = QStringLiteral("共通データ.txt");
    if (!sources.settingsValues.isEmpty() && !holdsNumber(sources.settingsValues.at(0)))
        found.problems << QStringLiteral(
                              "%1: 1 番目の値「%2」が数ではありません（フォルダの配置 0 として読みます）")
                              .arg(at(settings, sources.settingsLines.value(0)),
                                   sources.settingsValues.at(0));
    if (sources.commonValues.size() < 3)
        return;
    const QString month = sources.commonValues.at(0);
    const double value = leadingNumber(month);
    if (!holdsNumber(month) || value < 1 || value > 12 || value != std::trunc(value))
        found.problems << QStringLiteral(
                              "%1: 1 番目の値（学年の始まる月）「%2」は 1 から 12 の月ではありません"
                              "（学年が正しく出ません）")
                              .arg(at(common, sources.commonLines.value(0)), month);
    const QString inactive = sources.commonValues.at(2);
    if (!holdsNumber(inactive))
        found.problems
            << QStringLiteral(
                   "%1: 3 番目の値（休みの人を出すか）「%2」が数ではありません（0 として読みます）")
                   .arg(at(common, sources.commonLines.value(2)), inactive);
}

void checkLevelTable(const LevelTable& levels, const StartUpSources& sources, Findings& found) {
    for (int level = 1; level < kMinLevelGroups; ++level) {
        const QString where = at(kLevelTableFileName, sources.levelGroupLines.value(level));
        if (levels.levelGoal[level] <= 0)
            found.problems << QStringLiteral(
                                  "%1: レベル %2 の合格タイム %3 が 0 以下です（ポイントが出せません）")
                                  .arg(where)
                                  .arg(level)
                                  .arg(levels.levelGoal[level]);
        if (levels.levelGoal2[level] <= 0)
            found.problems << QStringLiteral(
                                  "%1: レベル %2 の 2 番目のタイム %3 が 0 以下です（制限時間がありません）")
                                  .arg(where)
                                  .arg(level)
                                  .arg(levels.levelGoal2[level]);
        if (!(levels.levelBonusFactor[level] >= 0))
            found.problems << QStringLiteral(
                                  "%1: レベル %2 のポイントの倍率 %3 が 0 より小さいか数ではありません")
                                  .arg(where)
                                  .arg(level)
                                  .arg(double(levels.levelBonusFactor[level]));
    }
}

void checkSounds(const Configuration& config, const SoundState& sound, Findings& found) {
    int groups = 0;
    for (int event = 1; event <= kSoundEvents; ++event)
        if (!sound.soundTable[event][kSoundCountRow].isEmpty())
            ++groups;
    const QString table = config.soundFolder + kSoundTableFileName;
    if (groups == 0) {
        found.problems << QStringLiteral("%1: 音の組が一つもありません（練習の音が鳴りません）").arg(table);
        return;
    }
    QStringList wanted;
    for (int event : {kCorrect2, kWrong2, kPersonal2, kFail1}) {
        const int count = soundFileCount(sound, event);
        if (count == 0)
            found.problems << QStringLiteral("%1: 「%2」の音がありません（その音は鳴りません）")
                                  .arg(table, soundEventName(event));
        for (int i = 1; i <= count; ++i)
            wanted << sound.soundTable[event][i] + QStringLiteral(".wav");
    }
    wanted << QStringLiteral("最高1.wav") << QStringLiteral("合格.wav") << QStringLiteral("警告1.wav");
    wanted.removeDuplicates();
    // Told, but not counted as a problem: a folder may leave the sounds out on purpose (a machine without
    // speakers), and the program goes on after a failed cue.
    QStringList missing;
    for (const QString& name : wanted)
        if (!QFileInfo(config.soundFolder + name).isFile())
            missing << name;
    if (!missing.isEmpty())
        found.notes << QStringLiteral("注意: 音のファイルが %1 にありません（鳴らすと失敗します）: %2")
                           .arg(config.soundFolder, missing.join(QStringLiteral("、")));
    found.notes << QStringLiteral("音: %1 組").arg(groups);
}

} // namespace

Findings checkSettings(const ProgramState& state, const StartUpSources& sources) {
    Findings found;
    found.notes
        << QStringLiteral("設定: よみこめました（レベルの設定 %1 組）").arg(state.levels.groupsLoaded);
    checkStartUpValues(sources, found);
    checkLevelTable(state.levels, sources, found);
    checkSounds(state.config, state.sound, found);
    return found;
}

Findings checkRoster(const Configuration& config) {
    Findings found;
    const QString path = rosterPath(config);
    RosterReader reader;
    RosterFileError error;
    if (!reader.open(path, &error)) {
        if (error.number == kErrorFileNotFound && QFileInfo::exists(rosterTempPath(config)))
            found.problems << QStringLiteral(
                                  "名簿 %1 がありません（プログラムが起動すると %2 が名簿に戻されます）")
                                  .arg(path, kRosterTempFileName);
        else
            found.problems << QStringLiteral("名簿 %1 を読めません（%2）").arg(path, error.description);
        return found;
    }
    std::map<int, int> seen;
    int count = 0;
    RosterEntry e;
    while (!reader.atEnd()) {
        if (!reader.readEntry(&e, &error)) {
            found.problems << QStringLiteral(
                                  "%1: 名簿の項目がとちゅうで切れています。引用符（\"）や項目の数を"
                                  "確かめてください（プログラムは名簿を読めずに止まります）")
                                  .arg(at(path, error.line));
            break;
        }
        ++count;
        const QString where = at(kRosterFileName, reader.entryLine());
        if (!isPupilNumber(e.number))
            found.problems << QStringLiteral("%1: 「%2」の番号 %3 は 0 から 5000 の外です（一覧に出ません）")
                                  .arg(where, e.name.trimmed())
                                  .arg(e.number);
        else if (!fitsSixteenBits(e.birthYear))
            found.problems << QStringLiteral("%1: 番号 %2「%3」の生まれ年 %4 は -32768 から 32767 の外です"
                                             "（一覧に出ません）")
                                  .arg(where)
                                  .arg(e.number)
                                  .arg(e.name.trimmed())
                                  .arg(e.birthYear);
        else if (++seen[e.number] == 2)
            found.problems << QStringLiteral("%1: 番号 %2 が2回以上使われています").arg(where).arg(e.number);
    }
    found.notes << QStringLiteral("名簿: %1 人").arg(count);
    if (count == 0 && found.problems.isEmpty())
        found.problems << QStringLiteral("名簿 %1 は空です（選べる人がひとりもいません）").arg(path);
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
        FileFailure failure;
        if (!isWritablePlace(f.path, &failure))
            found.problems << QStringLiteral("%1 に書き込めません（%2）。練習の記録を残せません")
                                  .arg(f.path, failure.description);
        QFile file;
        if (!openDataFile(file, f.path, FileOpen::Read, &failure)) {
            if (failure.fault == FileFault::Missing)
                found.notes << QStringLiteral("%1: まだありません（最初の練習で作られます）").arg(f.path);
            else
                found.problems << QStringLiteral("%1 を読めません（%2）").arg(f.path, failure.description);
            continue;
        }
        const qint64 size = file.size();
        found.notes << QStringLiteral("%1: %2 件").arg(f.path).arg(size / f.length);
        if (size % f.length != 0)
            found.problems << QStringLiteral(
                                  "%1: 最後に %2 バイトの書きかけがあります（次の記録で上書きされます）")
                                  .arg(f.path)
                                  .arg(size % f.length);
        if (!f.isScoreFile)
            continue;

        // Whole records from the end, within the limit; the count reads fewer still.
        const qint64 whole = size / f.length;
        const qint64 checked = std::min(whole, kScoreCheckLimit / f.length);
        const qint64 first = whole - checked; // records before this one are not looked at
        if (first > 0)
            found.notes << QStringLiteral("%1: 古い %2 件は調べていません").arg(f.path).arg(first);
        if (!file.seek(first * f.length)) {
            found.problems << QStringLiteral("%1 を読めません").arg(f.path);
            continue;
        }
        const QByteArray bytes = file.read(checked * f.length);
        if (bytes.size() != checked * f.length) {
            found.problems << QStringLiteral("%1 を最後まで読めません").arg(f.path);
            continue;
        }
        const QByteArray zeros(f.length, '\0');
        ProblemList outside(found.problems), empty(found.problems), negative(found.problems);
        for (qint64 i = 0; i < checked; ++i) {
            const char* raw = bytes.constData() + i * f.length;
            const qint64 number = first + i + 1;
            if (std::memcmp(raw, zeros.constData(), static_cast<size_t>(f.length)) == 0) {
                empty.add(QStringLiteral(
                              "成績: %1 件目は中身がすべて 0 のバイトです（こわれた記録です。数えません）")
                              .arg(number));
                continue;
            }
            const ScoreRecord r = decodeScoreRecord(raw);
            QStringList why;
            if (!isPupilNumber(r.pupil))
                why << QStringLiteral("番号 %1").arg(r.pupil);
            if (!isLevelNumber(r.level))
                why << QStringLiteral("レベル %1").arg(r.level);
            if (!dateIsUsable(r.date))
                why << QStringLiteral("日付 %1").arg(r.date);
            if (!why.isEmpty())
                outside.add(QStringLiteral("成績: %1 件目の %2 が範囲の外です（数えません）")
                                .arg(number)
                                .arg(why.join(QStringLiteral("、"))));
            else if (r.result < 0)
                negative.add(QStringLiteral("成績: %1 件目の結果 %2 が 0 より小さいです（数えません）")
                                 .arg(number)
                                 .arg(r.result));
        }
        outside.finish(QStringLiteral("成績: 範囲の外の記録はほかにも %1 件あります"));
        empty.finish(QStringLiteral("成績: 中身がすべて 0 の記録はほかにも %1 件あります"));
        negative.finish(QStringLiteral("成績: 結果が 0 より小さい記録はほかにも %1 件あります"));
    }
    checkHomeRecords(config, found);
    checkPendingRuns(config, found);
    return found;
}

Findings checkAnswerLog(const Configuration& config) {
    Findings found;
    const QString path = answerLogPath(config.programDataFolder);
    const QString lost = QStringLiteral("練習の解答が記録されません");
    FileFailure failure;
    if (!isWritablePlace(path, &failure))
        found.problems
            << QStringLiteral("%1 に書き込めません（%2）。%3").arg(path, failure.description, lost);
    const QStorageInfo storage(QFileInfo(path).absolutePath());
    // A drill's questions take a few kilobytes; a journal of the pages it touches a few more.
    if (storage.isValid() && storage.bytesAvailable() >= 0 && storage.bytesAvailable() < 1024 * 1024)
        found.problems << QStringLiteral("%1 のディスクがいっぱいです。%2").arg(path, lost);
    checkSetAsideLogs(config, found);
    if (!QFileInfo::exists(path)) {
        found.notes << QStringLiteral("%1: まだありません（最初の練習で作られます）").arg(path);
        return found;
    }
    // Read from a copy taken in short steps, so that a drill ending meanwhile is not held up.
    AnswerDatabase db;
    if (!db.open(path, AnswerDatabase::Access::Snapshot, QDateTime::currentDateTime())) {
        found.problems << (db.damaged()
                               ? QStringLiteral(
                                     "%1 を読めません（%2）。次の練習で別名にして新しく作り直します")
                                     .arg(path, db.error())
                               : QStringLiteral("%1 を読めません（%2）。%3").arg(path, db.error(), lost));
        return found;
    }
    if (db.rolledBackCutOffWrite())
        found.notes << QStringLiteral("%1: とちゅうで止まった書き込みがあったので、その前の状態に戻しました")
                           .arg(path);
    if (!db.quickCheck()) {
        found.problems
            << QStringLiteral("%1: %2。次の練習で別名にして新しく作り直します").arg(path, db.error());
        return found;
    }
    const int version = db.schemaVersion();
    if (version > AnswerDatabase::kSchemaVersion)
        found.problems << QStringLiteral("%1 は新しい版のプログラムのものです（版 %2）。%3")
                              .arg(path)
                              .arg(version)
                              .arg(lost);
    if (const qint64 questions = version >= 1 ? db.questionCount() : 0; questions >= 0)
        found.notes << QStringLiteral("%1: %2 問").arg(path).arg(questions);
    QString error;
    if (!AnswerDatabase::probeWrite(path, AnswerDatabase::kDefaultBusyTimeoutMs, &error))
        found.problems << QStringLiteral("%1 に書き込めません（%2）。%3").arg(path, error, lost);
    return found;
}

} // namespace warizan::tool
