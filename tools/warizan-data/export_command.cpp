#include "tool_support.h"

#include "answers/answer_database.h"
#include "records/points.h"
#include "records/score_record.h"
#include "roster/roster_file.h"
#include "state/content_levels.h"
#include "textdata/file_access.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <map>

namespace warizan::tool {

namespace {

// Records read from the score file at a time: the file may be far larger than memory should hold.
constexpr qint64 kRecordsPerBlock = 4096;

// A field for a spreadsheet: quoted when it holds a comma, quote or line break.
QString csvField(const QString& text) {
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

// A text field (a name): a spreadsheet runs a field that begins with "=", "+", "-" or "@" as a formula,
// so such a text is led by an apostrophe, which keeps it text, and quoted.
QString csvText(const QString& text) {
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (!text.isEmpty() && formulaStarts.contains(text.front())) {
        QString quoted = u'\'' + text;
        quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
        return u'"' + quoted + u'"';
    }
    return csvField(text);
}

bool dateIsUsable(double value) {
    return value >= 0 && dateFromValue(value).isValid();
}

// The answer log (or the log file `log`, such as one set aside as damaged, whose readable drills can then be
// imported back), one asked question a line, oldest drill first; nothing but the header when there is no log.
int exportAnswers(const Configuration& config, const std::map<int, QString>& names, const QString& log) {
    const QString path = log.isEmpty() ? answerLogPath(config.programDataFolder) : log;
    if (!log.isEmpty() && !QFileInfo(log).isFile()) {
        err() << QStringLiteral("解答記録 %1 がありません").arg(log) << Qt::endl;
        return 1;
    }
    std::vector<LoggedAnswer> answers;
    if (QFileInfo::exists(path)) {
        // Read from a copy taken in short steps: a long export never holds up the end of a drill.
        AnswerDatabase db;
        if (!db.open(path, AnswerDatabase::Access::Snapshot, QDateTime::currentDateTime()) ||
            (db.schemaVersion() > 0 && !db.readAnswers(0, &answers))) {
            err() << QStringLiteral("解答記録 %1 を読めません（%2）").arg(path, db.error()) << Qt::endl;
            return 1;
        }
    }
    out() << QChar(0xFEFF)
          << QStringLiteral("pupil,name,level,drill_start,question,dividend,divisor,quotient,remainder,"
                            "typed_quotient,typed_remainder,correct,ms,kind\r\n");
    for (const LoggedAnswer& a : answers) {
        const auto name = names.find(a.pupil);
        const bool answered = a.correct >= 0;
        const QStringList row{QString::number(a.pupil),
                              csvText(name == names.end() ? QString() : name->second),
                              QString::number(a.level),
                              a.drillStart.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                              QString::number(a.number),
                              QString::number(a.question.dividend()),
                              QString::number(a.question.divisor),
                              QString::number(a.question.quotient),
                              QString::number(a.question.remainder),
                              csvField(a.typedQuotient),
                              csvField(a.typedRemainder),
                              answered ? QString::number(a.correct) : QString(),
                              answered ? QString::number(a.ms) : QString(),
                              drillKindName(a.kind)};
        out() << row.join(u',') << QStringLiteral("\r\n");
    }
    out().flush();
    return 0;
}

int run(const CommandLine& line, ToolContext& tool) {
    ProgramState& state = *tool.state;
    PrepareContent(state.levels);

    // Names by pupil number. A missing roster leaves the names empty (the runs are exported all the same);
    // a roster that is there but cannot be read is an error, not a sheet of nameless runs.
    std::map<int, QString> names;
    std::vector<RosterEntry> entries;
    TextEncoding encoding;
    RosterFileError rosterError;
    if (readRosterFile(rosterPath(state.config), &entries, &encoding, &rosterError)) {
        for (const RosterEntry& e : entries)
            names.emplace(e.number, e.name.trimmed());
    } else if (rosterError.number == kErrorFileNotFound) {
        err() << QStringLiteral("名簿 %1 がないため、名前の欄は空です").arg(rosterPath(state.config))
              << Qt::endl;
    } else {
        const QString line =
            rosterError.line > 0 ? QStringLiteral("（%1 行目）").arg(rosterError.line) : QString();
        err() << QStringLiteral("名簿 %1%2 を読めません（%3）")
                     .arg(rosterPath(state.config), line, rosterError.description)
              << Qt::endl;
        return 1;
    }

    if (line.has(QStringLiteral("log")) && !line.has(QStringLiteral("answers"))) {
        err() << QStringLiteral("--log は --answers と一緒に指定してください") << Qt::endl;
        return 2;
    }
    if (line.has(QStringLiteral("answers")))
        return exportAnswers(state.config, names, line.value(QStringLiteral("log")));

    // Read without creating or locking the file; a missing file has no records.
    const QString path = scoreFilePath(state.config);
    QFile file;
    FileFailure failure;
    if (!openDataFile(file, path, FileOpen::Read, &failure) && failure.fault != FileFault::Missing) {
        err() << QStringLiteral("成績ファイル %1 を読めません（%2）").arg(path, failure.description)
              << Qt::endl;
        return 1;
    }
    out() << QChar(0xFEFF) << QStringLiteral("日付,時刻,番号,名前,レベル,レベル名,結果,ポイント\r\n");
    while (file.isOpen()) {
        const QByteArray block = file.read(kRecordsPerBlock * kScoreRecordLength);
        if (block.size() < kScoreRecordLength)
            break;
        for (const ScoreRecord& r : decodeScoreRecords(block)) {
            const QDate date = dateIsUsable(r.date) ? dateFromValue(r.date) : QDate();
            const QTime time = clockFromValue(r.clockTime);
            const bool knownLevel = isLevelNumber(r.level);
            const auto name = names.find(r.pupil);
            const QStringList row{
                date.isValid() ? date.toString(Qt::ISODate) : QString(),
                time.isValid() ? time.toString(QStringLiteral("HH:mm:ss")) : QString(),
                QString::number(r.pupil), csvText(name == names.end() ? QString() : name->second),
                QString::number(r.level), csvText(knownLevel ? state.levels.levelName[r.level] : QString()),
                QString::number(r.result),
                // A result below 0 is no run: the count passes it over, so it earns nothing here either.
                QString::number(knownLevel && r.result >= 0 ? recordPoints(state.levels, r.result, r.level)
                                                            : 0)};
            out() << row.join(u',') << QStringLiteral("\r\n");
        }
        if (block.size() % kScoreRecordLength != 0)
            break;
    }
    out().flush();
    return 0;
}

} // namespace

const Command& exportCommand() {
    static const Command command{
        .name = QStringLiteral("export"),
        .summary = QStringLiteral("成績ファイルの全記録を CSV（BOM 付き UTF-8）で出力します"),
        .details = QStringLiteral("--answers を付けると、解答記録の全問題を1行に1問で出力します。"),
        .options =
            {programFolderOption(),
             {QStringLiteral("answers"), QString(),
              QStringLiteral("成績ファイルのかわりに解答記録を出力します")},
             {QStringLiteral("log"), QStringLiteral("FILE"),
              QStringLiteral(
                  "--answers で、データフォルダの解答記録のかわりに FILE（別名で取っておいた解答記録など）"
                  "を読みます")}},
        .run = run};
    return command;
}

} // namespace warizan::tool
