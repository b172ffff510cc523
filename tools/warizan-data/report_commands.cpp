#include "commands.h"
#include "tool_support.h"

#include "records/points.h"
#include "records/score_file.h"
#include "records/score_record.h"
#include "roster/roster_display.h"
#include "roster/roster_file.h"
#include "state/content_levels.h"

#include <QFile>
#include <QSaveFile>
#include <map>

namespace warizan::tool {

namespace {

// The whole score file as it is, read without creating or locking it; an empty block when it is missing.
bool readWholeFile(const QString& path, QByteArray* bytes, bool* exists) {
    QFile file(path);
    *exists = file.exists();
    if (!*exists) {
        bytes->clear();
        return true;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        err() << QStringLiteral("%1 を開けません（%2）").arg(path, file.errorString()) << Qt::endl;
        return false;
    }
    *bytes = file.readAll();
    return true;
}

// A field for a spreadsheet: quoted when it holds a comma, quote or line break.
QString csvField(const QString& text) {
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

bool dateIsUsable(double value) {
    return value >= 0 && dateFromValue(value).isValid();
}

} // namespace

int pupilsCommand(const QStringList& args) {
    const auto options = parseOrComplain(args, {kProgramFolderOption, QStringLiteral("today"),
                                                QStringLiteral("mode"), QStringLiteral("filter")});
    if (!options)
        return 2;
    int mode = 1;
    if (options->has(QStringLiteral("mode"))) {
        bool ok = false;
        mode = options->value(QStringLiteral("mode")).toInt(&ok);
        if (!ok || mode < 0 || mode > 3) {
            err() << QStringLiteral("--mode には 0 から 3 までを指定してください") << Qt::endl;
            return 2;
        }
    }
    const QString filter = options->has(QStringLiteral("filter")) ? options->value(QStringLiteral("filter"))
                                                                  : QStringLiteral("全学年");
    ToolContext tool;
    if (!applyDateOptions(*options, tool.clock) || !loadConfiguration(*options, *tool.state))
        return 1;
    if (名簿ファイル処理(tool.state->config) == RosterRecovery::Failed) {
        err() << QStringLiteral("名簿ファイル %1 がありません").arg(rosterPath(tool.state->config))
              << Qt::endl;
        return 1;
    }
    PupilList list;
    if (!名簿表示(tool.context, mode, filter, &list))
        return 1;
    for (const QString& line : list.visible)
        out() << line << '\n';
    out().flush();
    return 0;
}

int exportCommand(const QStringList& args) {
    const auto options = parseOrComplain(args, {kProgramFolderOption});
    if (!options)
        return 2;
    ToolContext tool;
    if (!loadConfiguration(*options, *tool.state))
        return 1;
    ProgramState& state = *tool.state;
    PrepareContent(state.levels);

    // Names by pupil number; the roster may be missing, the runs are exported all the same.
    std::map<int, QString> names;
    std::vector<RosterEntry> entries;
    TextEncoding encoding;
    RosterFileError rosterError;
    if (readRosterFile(rosterPath(state.config), &entries, &encoding, &rosterError))
        for (const RosterEntry& e : entries)
            names.emplace(e.number, e.name.trimmed());

    QByteArray bytes;
    bool exists = false;
    if (!readWholeFile(scoreFilePath(state.config), &bytes, &exists))
        return 1;
    out() << QChar(0xFEFF) << QStringLiteral("日付,時刻,番号,名前,レベル,レベル名,結果,ポイント\r\n");
    for (const ScoreRecord& r : decodeScoreRecords(bytes)) {
        const QDate date = dateIsUsable(r.date) ? dateFromValue(r.date) : QDate();
        const QTime time = clockFromValue(r.clockTime);
        const bool knownLevel = isLevelNumber(r.level);
        const auto name = names.find(r.pupil);
        QStringList row{date.isValid() ? date.toString(Qt::ISODate) : QString(),
                        time.isValid() ? time.toString(QStringLiteral("HH:mm:ss")) : QString(),
                        QString::number(r.pupil),
                        name == names.end() ? QString() : name->second,
                        QString::number(r.level),
                        knownLevel ? state.levels.levelName[r.level] : QString(),
                        QString::number(r.result),
                        QString::number(knownLevel ? recordPoints(state.levels, r.result, r.level) : 0)};
        for (QString& field : row)
            field = csvField(field);
        out() << row.join(u',') << QStringLiteral("\r\n");
    }
    out().flush();
    return 0;
}

int checkCommand(const QStringList& args) {
    const auto options = parseOrComplain(args, {kProgramFolderOption});
    if (!options)
        return 2;
    ToolContext tool;
    if (!loadConfiguration(*options, *tool.state)) {
        out() << QStringLiteral("設定を読めません。上のメッセージを見てください。") << Qt::endl;
        return 1;
    }
    const Configuration& config = tool.state->config;
    QStringList problems;
    out() << QStringLiteral("設定: よみこめました（レベルの設定 %1 組、音の設定あり）")
                 .arg(tool.state->levels.groupsLoaded)
          << Qt::endl;

    // The roster: every entry must have its own number within the tables.
    std::vector<RosterEntry> entries;
    TextEncoding encoding;
    RosterFileError rosterError;
    if (!readRosterFile(rosterPath(config), &entries, &encoding, &rosterError)) {
        problems
            << QStringLiteral("名簿 %1 を読めません（%2）").arg(rosterPath(config), rosterError.description);
    } else {
        std::map<int, int> seen;
        for (const RosterEntry& e : entries) {
            if (!isPupilNumber(e.number))
                problems << QStringLiteral("名簿: 「%1」の番号 %2 は 0 から 5000 の外です（一覧に出ません）")
                                .arg(e.name.trimmed())
                                .arg(e.number);
            else if (++seen[e.number] == 2)
                problems << QStringLiteral("名簿: 番号 %1 が2回以上使われています").arg(e.number);
        }
        out() << QStringLiteral("名簿: %1 人").arg(entries.size()) << Qt::endl;
    }

    // The score files: whole records only, and every record inside the tables.
    const struct {
        QString path;
        int length;
    } files[] = {{scoreFilePath(config), kScoreRecordLength},
                 {homeScoreFilePath(config), kHomeScoreRecordLength}};
    for (const auto& f : files) {
        QByteArray bytes;
        bool exists = false;
        if (!readWholeFile(f.path, &bytes, &exists)) {
            problems << QStringLiteral("%1 を読めません").arg(f.path);
            continue;
        }
        if (!exists) {
            out() << QStringLiteral("%1: まだありません（最初の練習で作られます）").arg(f.path) << Qt::endl;
            continue;
        }
        out() << QStringLiteral("%1: %2 件").arg(f.path).arg(bytes.size() / f.length) << Qt::endl;
        if (bytes.size() % f.length != 0)
            problems << QStringLiteral("%1: 最後に %2 バイトの書きかけがあります（次の記録で上書きされます）")
                            .arg(f.path)
                            .arg(bytes.size() % f.length);
    }
    QByteArray bytes;
    bool exists = false;
    if (readWholeFile(scoreFilePath(config), &bytes, &exists)) {
        const std::vector<ScoreRecord> records = decodeScoreRecords(bytes);
        int reported = 0, outside = 0;
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
            ++outside;
            if (++reported <= 20)
                problems << QStringLiteral("成績: %1 件目の %2 が範囲の外です（数えません）")
                                .arg(i + 1)
                                .arg(why.join(QStringLiteral("、")));
        }
        if (outside > 20)
            problems << QStringLiteral("成績: 範囲の外の記録はほかにも %1 件あります").arg(outside - 20);
    }

    if (problems.isEmpty()) {
        out() << QStringLiteral("問題は見つかりませんでした。") << Qt::endl;
        return 0;
    }
    out() << QStringLiteral("見つかった問題: %1 件").arg(problems.size()) << Qt::endl;
    for (const QString& p : problems)
        out() << QStringLiteral("・") << p << Qt::endl;
    return 1;
}

} // namespace warizan::tool
