// Drills brought into the answer log from the CSV that `export --answers` writes: a child's history moved
// to a new computer, or restored.

#include "tool_support.h"

#include "answers/answer_database.h"

#include <QDateTime>
#include <QFile>
#include <QStringDecoder>
#include <cmath>
#include <map>

namespace warizan::tool {

namespace {

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// One record of the file: its fields and the line it begins on.
struct CsvRecord {
    int line = 0;
    QStringList fields;
};

// Splits the text into records: fields separated by commas, quoted with '"' where they hold a comma, a
// quote ("" inside) or a line break; lines end with CRLF or LF. False with the line when a quoted field is
// never closed.
bool splitCsv(const QString& text, std::vector<CsvRecord>* records, int* badLine) {
    CsvRecord record{1, {}};
    QString field;
    bool quoted = false;
    bool fieldStarted = false;
    int line = 1;
    const auto endRecord = [&] {
        record.fields << field;
        if (!(record.fields.size() == 1 && record.fields[0].isEmpty()))
            records->push_back(record); // a blank line is no record
        record = CsvRecord{line, {}};
        field.clear();
        fieldStarted = false;
    };
    for (qsizetype k = 0; k < text.size(); ++k) {
        const QChar c = text.at(k);
        if (quoted) {
            if (c == u'"' && k + 1 < text.size() && text.at(k + 1) == u'"') {
                field += u'"';
                ++k;
            } else if (c == u'"') {
                quoted = false;
            } else {
                if (c == u'\n')
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == u'"' && !fieldStarted) {
            quoted = true;
            fieldStarted = true;
        } else if (c == u',') {
            record.fields << field;
            field.clear();
            fieldStarted = false;
        } else if (c == u'\r' && k + 1 < text.size() && text.at(k + 1) == u'\n') {
            continue;
        } else if (c == u'\n') {
            ++line;
            endRecord();
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (quoted) {
        *badLine = record.line;
        return false;
    }
    if (fieldStarted || !record.fields.isEmpty())
        endRecord();
    return true;
}

// The columns the file must name, and the one it may leave out.
const QStringList kNeeded = {
    QStringLiteral("pupil"),           QStringLiteral("level"),     QStringLiteral("drill_start"),
    QStringLiteral("question"),        QStringLiteral("dividend"),  QStringLiteral("divisor"),
    QStringLiteral("quotient"),        QStringLiteral("remainder"), QStringLiteral("typed_quotient"),
    QStringLiteral("typed_remainder"), QStringLiteral("correct"),   QStringLiteral("ms")};
const QString kKindColumn = QStringLiteral("kind");
const QString kNameColumn = QStringLiteral("name"); // the roster's name, which the log does not keep

// What is wrong where: the file's line and the column by number and name.
struct Refusal {
    int line = 0;
    int column = 0;
    QString name;
    QString why;
};

class RowReader {
public:
    RowReader(const CsvRecord& record, const std::map<QString, int>& columns)
        : m_record(record)
        , m_columns(columns) {}

    bool has(const QString& name) const { return m_columns.count(name) > 0; }
    QString text(const QString& name) const { return m_record.fields.at(m_columns.at(name)); }
    // A whole number from `low` to `high`; otherwise the refusal is noted.
    std::optional<qint64> number(const QString& name, qint64 low, qint64 high) {
        bool ok = false;
        const qint64 value = text(name).toLongLong(&ok);
        if (ok && value >= low && value <= high)
            return value;
        refuse(name, QStringLiteral("%1 から %2 までの整数ではありません（「%3」）")
                         .arg(low)
                         .arg(high)
                         .arg(text(name)));
        return std::nullopt;
    }
    void refuse(const QString& name, const QString& why) {
        if (!m_refusal)
            m_refusal = Refusal{m_record.line, m_columns.at(name) + 1, name, why};
    }
    const std::optional<Refusal>& refusal() const { return m_refusal; }

private:
    const CsvRecord& m_record;
    const std::map<QString, int>& m_columns;
    std::optional<Refusal> m_refusal;
};

// One row read: the drill it belongs to and its question.
struct Row {
    int pupil = 0;
    int level = 0;
    QDateTime start;
    DrillKind kind = DrillKind::Drill;
    AskedQuestion asked;
};

std::optional<Row> rowOf(RowReader& r) {
    Row row;
    const auto pupil = r.number(QStringLiteral("pupil"), 1, kMaxPupil);
    const auto level = r.number(QStringLiteral("level"), 1, kMaxLevel);
    row.start = QDateTime::fromString(r.text(QStringLiteral("drill_start")), kTimeFormat);
    if (!row.start.isValid())
        r.refuse(QStringLiteral("drill_start"), QStringLiteral("YYYY-MM-DD HH:MM:SS の日時ではありません"));
    const auto number = r.number(QStringLiteral("question"), 1, 1000000);
    const auto dividend = r.number(QStringLiteral("dividend"), 0, 1000000);
    const auto divisor = r.number(QStringLiteral("divisor"), 1, 1000);
    const auto quotient = r.number(QStringLiteral("quotient"), 0, 1000);
    const auto remainder = r.number(QStringLiteral("remainder"), 0, 1000);
    if (divisor && remainder && *remainder >= *divisor)
        r.refuse(QStringLiteral("remainder"), QStringLiteral("あまりが わる数 より小さくありません"));
    if (dividend && divisor && quotient && remainder && *dividend != *quotient * *divisor + *remainder)
        r.refuse(QStringLiteral("dividend"), QStringLiteral("商 × わる数 ＋ あまり と合いません"));
    const QString correct = r.text(QStringLiteral("correct"));
    const QString ms = r.text(QStringLiteral("ms"));
    if (correct == u"1" || correct == u"0") {
        row.asked.correct = correct == u"1";
        if (const auto taken = r.number(QStringLiteral("ms"), 0, 24LL * 3600 * 1000))
            row.asked.ms = *taken;
    } else if (!correct.isEmpty()) {
        r.refuse(QStringLiteral("correct"), QStringLiteral("1、0 か空（答えなし）ではありません"));
    } else if (!ms.isEmpty()) {
        r.refuse(QStringLiteral("ms"), QStringLiteral("答えのない問題に時間があります"));
    }
    if (r.has(kKindColumn)) {
        const auto kind = drillKindOf(r.text(kKindColumn));
        if (!kind)
            r.refuse(kKindColumn, QStringLiteral("drill か practice ではありません"));
        else
            row.kind = *kind;
    }
    if (r.refusal())
        return std::nullopt;
    row.pupil = static_cast<int>(*pupil);
    row.level = static_cast<int>(*level);
    row.asked.number = static_cast<int>(*number);
    row.asked.question = {static_cast<int>(*quotient), static_cast<int>(*divisor),
                          static_cast<int>(*remainder)};
    row.asked.typedQuotient = r.text(QStringLiteral("typed_quotient"));
    row.asked.typedRemainder = r.text(QStringLiteral("typed_remainder"));
    return row;
}

// The file carries neither a drill's end nor its result: they are made from its answers' times, a drill
// with a question left unanswered being a time-out, as its score record says.
void finishDrill(DrillLog& drill) {
    qint64 ms = 0;
    bool unanswered = false;
    for (const AskedQuestion& asked : drill.questions) {
        ms += asked.ms;
        unanswered = unanswered || !asked.correct;
    }
    const qint32 seconds = static_cast<qint32>((ms + 999) / 1000);
    drill.end = drill.start.addSecs(seconds);
    drill.result = drill.kind == DrillKind::Drill && unanswered ? 99999 : seconds;
}

// The drills of the file, or the refusal of its first bad line.
bool drillsOf(const QString& text, std::vector<DrillLog>* drills, Refusal* refusal) {
    std::vector<CsvRecord> records;
    int badLine = 0;
    if (!splitCsv(text, &records, &badLine)) {
        *refusal = {badLine, 0, QString(), QStringLiteral("引用符 \" が閉じていません")};
        return false;
    }
    if (records.empty()) {
        *refusal = {1, 0, QString(), QStringLiteral("見出しの行がありません")};
        return false;
    }
    std::map<QString, int> columns;
    const QStringList& header = records.front().fields;
    for (int k = 0; k < header.size(); ++k) {
        const QString name = header[k].trimmed();
        if (!kNeeded.contains(name) && name != kKindColumn && name != kNameColumn) {
            *refusal = {1, k + 1, name, QStringLiteral("解答記録の列ではありません")};
            return false;
        }
        if (!columns.emplace(name, k).second) {
            *refusal = {1, k + 1, name, QStringLiteral("同じ列が2回あります")};
            return false;
        }
    }
    for (const QString& name : kNeeded)
        if (!columns.count(name)) {
            *refusal = {1, 0, name, QStringLiteral("列 %1 がありません").arg(name)};
            return false;
        }
    for (size_t k = 1; k < records.size(); ++k) {
        const CsvRecord& record = records[k];
        if (record.fields.size() != header.size()) {
            *refusal = {record.line, 0, QString(),
                        QStringLiteral("列の数が %1 で、見出しの %2 と違います")
                            .arg(record.fields.size())
                            .arg(header.size())};
            return false;
        }
        RowReader reader(record, columns);
        const std::optional<Row> row = rowOf(reader);
        if (!row) {
            *refusal = *reader.refusal();
            return false;
        }
        // A drill's questions come one after another in the order asked; anything else begins a new drill.
        DrillLog* last = drills->empty() ? nullptr : &drills->back();
        if (!last || last->pupil != row->pupil || last->level != row->level || last->start != row->start ||
            last->kind != row->kind || last->questions.back().number >= row->asked.number) {
            DrillLog drill;
            drill.pupil = row->pupil;
            drill.level = row->level;
            drill.start = row->start;
            drill.kind = row->kind;
            drills->push_back(drill);
            last = &drills->back();
        }
        last->questions.push_back(row->asked);
    }
    for (DrillLog& drill : *drills)
        finishDrill(drill);
    return true;
}

int run(const CommandLine& line, ToolContext& tool) {
    const QString path = line.value(QStringLiteral("answers"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        err() << QStringLiteral("%1 を読めません（%2）").arg(path, file.errorString()) << Qt::endl;
        return 1;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(file.readAll());
    if (decoder.hasError()) {
        err() << QStringLiteral("%1 は UTF-8 の CSV ではありません").arg(path) << Qt::endl;
        return 1;
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    std::vector<DrillLog> drills;
    Refusal refusal;
    if (!drillsOf(text, &drills, &refusal)) {
        const QString where = refusal.column > 0 ? QStringLiteral("%1 行目、%2 列目（%3）")
                                                       .arg(refusal.line)
                                                       .arg(refusal.column)
                                                       .arg(refusal.name)
                                                 : QStringLiteral("%1 行目").arg(refusal.line);
        err() << QStringLiteral("%1 の %2: %3。何も取り込んでいません").arg(path, where, refusal.why)
              << Qt::endl;
        return 1;
    }
    AnswerDatabase db;
    int added = 0;
    if (!db.open(answerLogPath(tool.state->config.programDataFolder), AnswerDatabase::Access::ReadWrite,
                 tool.clock.now()) ||
        !db.importDrills(drills, &added)) {
        err() << QStringLiteral("解答記録に書けません（%1）。何も取り込んでいません").arg(db.error())
              << Qt::endl;
        return 1;
    }
    if (!db.setAsidePath().isEmpty())
        err() << QStringLiteral("壊れていた解答記録は %1 に残しました").arg(db.setAsidePath()) << Qt::endl;
    out() << QStringLiteral("%1 回分を解答記録に加えました（すでにあった %2 回分はそのままです）")
                 .arg(added)
                 .arg(static_cast<int>(drills.size()) - added)
          << Qt::endl;
    return 0;
}

} // namespace

const Command& importCommand() {
    static const Command command{
        .name = QStringLiteral("import"),
        .summary = QStringLiteral("export --answers で書き出した CSV の回を、解答記録に取り込みます"),
        .details = QStringLiteral(
            "新しいパソコンへ記録を移すときや、記録を戻すときに使います。1行目の見出しが列を決め、kind "
            "の列が\n"
            "なければ drill "
            "です。すべてを1度に取り込むか、何も取り込まないかのどちらかで、おかしな行があると\n"
            "その行と列を示して何も取り込みません。同じ人・同じ開始時刻・同じ問題と答えの回がすでにあれば\n"
            "飛ばすので、同じファイルを2回取り込んでも増えません。成績ファイルには触れません。"),
        .options = {programFolderOption(),
                    {QStringLiteral("answers"), QStringLiteral("FILE"),
                     QStringLiteral("取り込む CSV（export --answers の形）"), true}},
        .run = run};
    return command;
}

} // namespace warizan::tool
