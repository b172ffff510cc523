#include "tool_support.h"

#include "records/points.h"
#include "records/score_record.h"
#include "roster/roster_file.h"
#include "state/content_levels.h"

#include <QFile>
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

int run(const CommandLine& line) {
    ToolContext tool;
    if (!loadConfiguration(line, *tool.state))
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

} // namespace

const Command& exportCommand() {
    static const Command command{QStringLiteral("export"),
                                 QStringLiteral("成績ファイルの全記録を CSV（BOM 付き UTF-8）で出力します"),
                                 QString(),
                                 {programFolderOption()},
                                 run};
    return command;
}

} // namespace warizan::tool
