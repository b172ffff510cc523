#include "answers/answer_database.h"

#include "platform/shown_path.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <sqlite3.h>

namespace warizan {

namespace {

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// The first schema: a drill per row, and its questions.
constexpr const char* kSchema1 = R"sql(
CREATE TABLE drills(
    id INTEGER PRIMARY KEY,
    pupil INTEGER NOT NULL,
    level INTEGER NOT NULL,
    start TEXT NOT NULL,
    end TEXT NOT NULL,
    result INTEGER NOT NULL);
CREATE TABLE answers(
    drill INTEGER NOT NULL REFERENCES drills(id),
    question INTEGER NOT NULL,
    dividend INTEGER NOT NULL,
    divisor INTEGER NOT NULL,
    quotient INTEGER NOT NULL,
    remainder INTEGER NOT NULL,
    typed_quotient TEXT NOT NULL,
    typed_remainder TEXT NOT NULL,
    correct INTEGER,
    ms INTEGER);
PRAGMA user_version = 1;
)sql";

// The second: a pupil's answers carry the pupil, so the fact map reads them in order from one index alone.
constexpr const char* kSchema2 = R"sql(
ALTER TABLE answers ADD COLUMN pupil INTEGER;
UPDATE answers SET pupil = (SELECT pupil FROM drills WHERE drills.id = answers.drill);
CREATE INDEX answers_by_pupil ON answers(pupil, drill, question, quotient, divisor, correct, ms);
PRAGMA user_version = 2;
)sql";

// The third: a drill carries the identity of its run, so a drill kept until the log could take it is never
// written twice, and its kind (a timed drill or a practice sheet); a pupil's drills are found by one index.
constexpr const char* kSchema3 = R"sql(
ALTER TABLE drills ADD COLUMN run_id TEXT;
CREATE UNIQUE INDEX drills_by_run ON drills(run_id);
ALTER TABLE drills ADD COLUMN kind TEXT NOT NULL DEFAULT 'drill';
CREATE INDEX drills_by_pupil ON drills(pupil, start);
PRAGMA user_version = 3;
)sql";

// Logs of the third schema written before it held the kind (never given to a family, but kept by whoever
// tried an early build) get it as the third schema has it.
constexpr const char* kSchema3Kind = R"sql(
ALTER TABLE drills ADD COLUMN kind TEXT NOT NULL DEFAULT 'drill';
CREATE INDEX IF NOT EXISTS drills_by_pupil ON drills(pupil, start);
)sql";

QString text(const unsigned char* utf8) {
    return utf8 ? QString::fromUtf8(reinterpret_cast<const char*>(utf8)) : QString();
}

// A prepared statement that is finalised however the function that made it returns.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) {
        m_code = sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr);
    }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    bool ok() const { return m_code == SQLITE_OK; }
    int code() const { return m_code; }
    sqlite3_stmt* get() const { return m_statement; }
    void bind(int at, qint64 value) { sqlite3_bind_int64(m_statement, at, value); }
    void bind(int at, const QString& value) {
        const QByteArray utf8 = value.toUtf8();
        sqlite3_bind_text(m_statement, at, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
    }
    void bindNull(int at) { sqlite3_bind_null(m_statement, at); }

private:
    sqlite3_stmt* m_statement = nullptr;
    int m_code = SQLITE_OK;
};

// A name beside `path` for a damaged file that nothing else has taken.
QString setAsideName(const QString& path, const QDateTime& now) {
    const QString base = path + QStringLiteral(".damaged-") + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = base;
    for (int n = 2; QFileInfo::exists(name) || QFileInfo::exists(name + QStringLiteral("-journal")); ++n)
        name = base + QStringLiteral("-%1").arg(n);
    return name;
}

const QString kJournalSuffix = QStringLiteral("-journal");

// How many pages of the log a snapshot copies while holding its read lock: a few hundred kilobytes, a
// millisecond or two.
constexpr int kSnapshotPagesPerStep = 64;

} // namespace

QString answerLogPath(const QString& programDataFolder) {
    return programDataFolder + QStringLiteral("解答記録.db");
}

QStringList setAsideLogs(const QString& path) {
    const QFileInfo log(path);
    QStringList found;
    const QFileInfoList entries =
        log.dir().entryInfoList({log.fileName() + QStringLiteral(".damaged-*")}, QDir::Files, QDir::Name);
    for (const QFileInfo& entry : entries)
        if (!entry.fileName().endsWith(kJournalSuffix))
            found << entry.filePath();
    return found;
}

AnswerDatabase::AnswerDatabase(int busyTimeoutMs)
    : m_busyTimeoutMs(busyTimeoutMs) {
    m_sinceStart.start();
}

int AnswerDatabase::waitWhileBusy(void* self, int) {
    const auto* database = static_cast<const AnswerDatabase*>(self);
    const qint64 left = database->m_busyTimeoutMs - database->m_sinceStart.elapsed();
    if (left <= 0)
        return 0;
    sqlite3_sleep(static_cast<int>(std::min<qint64>(left, 10)));
    return 1;
}

void AnswerDatabase::attach(sqlite3* db) {
    m_db = db;
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_handler(m_db, &AnswerDatabase::waitWhileBusy, this);
}

AnswerDatabase::~AnswerDatabase() {
    close();
}

void AnswerDatabase::close() {
    if (m_db)
        sqlite3_close_v2(m_db);
    m_db = nullptr;
}

bool AnswerDatabase::fail(const QString& what) {
    m_lastCode = m_db ? sqlite3_extended_errcode(m_db) : SQLITE_CANTOPEN;
    const QString detail = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("cannot open");
    m_error = QStringLiteral("%1: %2 (%3)").arg(what, detail).arg(m_lastCode);
    return false;
}

bool AnswerDatabase::damaged() const {
    const int primary = m_lastCode & 0xff;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT;
}

bool AnswerDatabase::busy() const {
    const int primary = m_lastCode & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

bool AnswerDatabase::exec(const char* sql) {
    char* message = nullptr;
    const int code = sqlite3_exec(m_db, sql, nullptr, nullptr, &message);
    sqlite3_free(message);
    return code == SQLITE_OK;
}

bool AnswerDatabase::openFile(const QString& path, Access access) {
    close();
    m_lastCode = 0;
    if (access == Access::ReadCopy)
        return openRolledBackCopy(path);
    if (access != Access::ReadWrite)
        return openForReading(path) && (access != Access::Snapshot || copyIntoMemory());
    sqlite3* db = nullptr;
    const QByteArray name = QDir::toNativeSeparators(path).toUtf8();
    const int opened =
        sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    attach(db);
    if (opened != SQLITE_OK)
        return fail(QStringLiteral("解答記録を開けません"));
    // The first read of the file: a file that is no database shows here.
    if (schemaVersion() < 0)
        return fail(QStringLiteral("解答記録を読めません"));
    if (!exec("PRAGMA journal_mode=DELETE") || !exec("PRAGMA synchronous=FULL"))
        return fail(QStringLiteral("解答記録を設定できません"));
    return migrate();
}

bool AnswerDatabase::openForReading(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        m_lastCode = SQLITE_CANTOPEN;
        m_error = QStringLiteral("解答記録 %1 がありません").arg(shownPath(path));
        return false;
    }
    const bool journal = QFileInfo::exists(path + kJournalSuffix);
    // Never created here; opened for writing where the system allows, since only such a connection may roll
    // back a journal a cut-off write left (SQLite opens a file it may not write read-only all the same).
    sqlite3* db = nullptr;
    const QByteArray name = QDir::toNativeSeparators(path).toUtf8();
    const int opened = sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    attach(db);
    if (opened == SQLITE_OK && schemaVersion() >= 0) {
        m_rolledBack = journal && !QFileInfo::exists(path + kJournalSuffix);
        return true;
    }
    const int primary = m_lastCode & 0xff;
    if (journal && !damaged() && !busy() && primary != SQLITE_NOMEM)
        return openRolledBackCopy(path);
    return fail(QStringLiteral("解答記録を読めません"));
}

bool AnswerDatabase::openRolledBackCopy(const QString& path) {
    // The log and its journal are copied, and the copy is rolled back and read: the log itself stays as it
    // is (the folder refuses the rollback, or the file must be kept byte for byte).
    close();
    m_copy = std::make_unique<QTemporaryDir>();
    const QString copy = m_copy->filePath(QStringLiteral("log.db"));
    const bool journal = QFileInfo::exists(path + kJournalSuffix);
    if (!m_copy->isValid() || !QFile::copy(path, copy) ||
        (journal && !QFile::copy(path + kJournalSuffix, copy + kJournalSuffix))) {
        m_lastCode = SQLITE_CANTOPEN;
        m_error =
            QStringLiteral("解答記録 %1 を読めません（書きかけの記録を戻せません）").arg(shownPath(path));
        return false;
    }
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    QFile::setPermissions(copy + kJournalSuffix, QFile::ReadOwner | QFile::WriteOwner);
    sqlite3* db = nullptr;
    const QByteArray name = QDir::toNativeSeparators(copy).toUtf8();
    const int opened = sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    attach(db);
    if (opened != SQLITE_OK || schemaVersion() < 0)
        return fail(QStringLiteral("解答記録を読めません"));
    m_rolledBack = journal && !QFileInfo::exists(copy + kJournalSuffix);
    return true;
}

bool AnswerDatabase::copyIntoMemory() {
    sqlite3* memory = nullptr;
    if (sqlite3_open_v2(":memory:", &memory, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close_v2(memory);
        return fail(QStringLiteral("解答記録を読めません"));
    }
    sqlite3_backup* backup = sqlite3_backup_init(memory, "main", m_db, "main");
    int code = backup ? SQLITE_OK : sqlite3_extended_errcode(memory);
    while (backup) {
        // Between steps another copy of the program may write; the copy then starts again by itself.
        code = sqlite3_backup_step(backup, kSnapshotPagesPerStep);
        if (code == SQLITE_DONE)
            break;
        const int primary = code & 0xff;
        if (primary != SQLITE_OK && primary != SQLITE_BUSY && primary != SQLITE_LOCKED)
            break;
        if (primary != SQLITE_OK && !waitWhileBusy(this, 0))
            break;
    }
    if (backup)
        sqlite3_backup_finish(backup);
    if (code != SQLITE_DONE) {
        sqlite3_close_v2(memory);
        m_lastCode = code;
        m_error = QStringLiteral("解答記録を読めません: %1 (%2)")
                      .arg(QString::fromUtf8(sqlite3_errstr(code)))
                      .arg(code);
        return false;
    }
    close();
    attach(memory);
    m_copy.reset();
    return true;
}

bool AnswerDatabase::open(const QString& path, Access access, const QDateTime& now) {
    m_setAside.clear();
    m_error.clear();
    m_rolledBack = false;
    m_path = path;
    m_access = access;
    m_now = now;
    if (openFile(path, access))
        return true;
    if (access != Access::ReadWrite || !damaged())
        return false;
    return startAfresh();
}

bool AnswerDatabase::startAfresh() {
    // Damaged: keep it, with its journal, under a name of its own, and start a new one.
    close();
    const QString aside = setAsideName(m_path, m_now);
    if (!QFile::rename(m_path, aside)) {
        m_error = QStringLiteral("壊れた解答記録 %1 を別名にできません").arg(shownPath(m_path));
        return false;
    }
    const QString journal = m_path + kJournalSuffix;
    if (QFileInfo::exists(journal))
        QFile::rename(journal, aside + kJournalSuffix);
    m_setAside = aside;
    return openFile(m_path, m_access);
}

int AnswerDatabase::schemaVersion() {
    Statement statement(m_db, "PRAGMA user_version");
    if (!statement.ok() || sqlite3_step(statement.get()) != SQLITE_ROW) {
        m_lastCode = sqlite3_extended_errcode(m_db);
        return -1;
    }
    return sqlite3_column_int(statement.get(), 0);
}

qint64 AnswerDatabase::questionCount() {
    Statement statement(m_db, "SELECT count(*) FROM answers");
    if (!statement.ok() || sqlite3_step(statement.get()) != SQLITE_ROW)
        return -1;
    return sqlite3_column_int64(statement.get(), 0);
}

qint64 AnswerDatabase::drillCount() {
    Statement statement(m_db, "SELECT count(*) FROM drills");
    if (!statement.ok() || sqlite3_step(statement.get()) != SQLITE_ROW)
        return -1;
    return sqlite3_column_int64(statement.get(), 0);
}

bool AnswerDatabase::quickCheck() {
    Statement statement(m_db, "PRAGMA quick_check");
    if (!statement.ok())
        return fail(QStringLiteral("解答記録を調べられません"));
    QStringList findings;
    int code = SQLITE_OK;
    while ((code = sqlite3_step(statement.get())) == SQLITE_ROW)
        findings << text(sqlite3_column_text(statement.get(), 0));
    if (code != SQLITE_DONE)
        return fail(QStringLiteral("解答記録を調べられません"));
    if (findings == QStringList{QStringLiteral("ok")})
        return true;
    m_lastCode = SQLITE_CORRUPT;
    m_error = QStringLiteral("解答記録が壊れています: %1").arg(findings.join(QStringLiteral("; ")));
    return false;
}

bool AnswerDatabase::holdsKind() {
    Statement statement(m_db, "SELECT 1 FROM pragma_table_info('drills') WHERE name = 'kind'");
    return statement.ok() && sqlite3_step(statement.get()) == SQLITE_ROW;
}

bool AnswerDatabase::migrate() {
    int version = schemaVersion();
    if (version == kSchemaVersion && holdsKind())
        return true;
    if (version > kSchemaVersion) {
        m_error = QStringLiteral("解答記録は新しい版のプログラムのものです（版 %1）").arg(version);
        return false;
    }
    if (!exec("BEGIN IMMEDIATE"))
        return fail(QStringLiteral("解答記録を更新できません"));
    // Another copy may have brought it up to date while this one waited for the lock.
    version = schemaVersion();
    bool ok = version >= 0;
    if (ok && version < 1)
        ok = exec(kSchema1);
    if (ok && version < 2)
        ok = exec(kSchema2);
    if (ok && version < 3)
        ok = exec(kSchema3);
    else if (ok && version == 3 && !holdsKind())
        ok = exec(kSchema3Kind);
    if (!ok || !exec("COMMIT")) {
        fail(QStringLiteral("解答記録を更新できません"));
        exec("ROLLBACK");
        return false;
    }
    return true;
}

bool AnswerDatabase::writeDrills(const std::vector<DrillLog>& drills,
                                 const std::function<void()>& beforeCommit) {
    if (insertDrills(drills, beforeCommit))
        return true;
    // Damage met on the way (a whole check of the file on every drill would cost the child more time than
    // the write itself): the file is set aside once and the drills go into a new one.
    if (m_access != Access::ReadWrite || !damaged() || !m_setAside.isEmpty() || !startAfresh())
        return false;
    return insertDrills(drills, beforeCommit);
}

bool AnswerDatabase::holdsDrill(const QString& id) {
    Statement select(m_db, "SELECT 1 FROM drills WHERE run_id = ?");
    if (!select.ok())
        return false;
    select.bind(1, id);
    return sqlite3_step(select.get()) == SQLITE_ROW;
}

bool AnswerDatabase::insertDrills(const std::vector<DrillLog>& drills,
                                  const std::function<void()>& beforeCommit) {
    if (!m_db)
        return fail(QStringLiteral("解答記録が開いていません"));
    if (!exec("BEGIN IMMEDIATE"))
        return fail(QStringLiteral("解答記録に書けません"));
    for (const DrillLog& drill : drills) {
        if (!drill.id.isEmpty() && holdsDrill(drill.id))
            continue;
        if (!insertDrill(drill)) {
            fail(QStringLiteral("解答記録に書けません"));
            exec("ROLLBACK");
            return false;
        }
    }
    if (beforeCommit)
        beforeCommit();
    if (!exec("COMMIT")) {
        fail(QStringLiteral("解答記録に書けません"));
        exec("ROLLBACK");
        return false;
    }
    return true;
}

bool AnswerDatabase::insertDrill(const DrillLog& drill) {
    {
        Statement insert(m_db, "INSERT INTO drills(pupil, level, start, end, result, run_id, kind) "
                               "VALUES(?, ?, ?, ?, ?, ?, ?)");
        if (!insert.ok())
            return false;
        insert.bind(1, drill.pupil);
        insert.bind(2, drill.level);
        insert.bind(3, drill.start.toString(kTimeFormat));
        insert.bind(4, drill.end.toString(kTimeFormat));
        insert.bind(5, drill.result);
        if (drill.id.isEmpty())
            insert.bindNull(6);
        else
            insert.bind(6, drill.id);
        insert.bind(7, drillKindName(drill.kind));
        if (sqlite3_step(insert.get()) != SQLITE_DONE)
            return false;
    }
    const qint64 id = sqlite3_last_insert_rowid(m_db);
    Statement insert(m_db, "INSERT INTO answers(drill, question, dividend, divisor, quotient, remainder, "
                           "typed_quotient, typed_remainder, correct, ms, pupil) "
                           "VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    if (!insert.ok())
        return false;
    for (const AskedQuestion& asked : drill.questions) {
        sqlite3_reset(insert.get());
        insert.bind(1, id);
        insert.bind(2, asked.number);
        insert.bind(3, asked.question.dividend());
        insert.bind(4, asked.question.divisor);
        insert.bind(5, asked.question.quotient);
        insert.bind(6, asked.question.remainder);
        insert.bind(7, asked.typedQuotient);
        insert.bind(8, asked.typedRemainder);
        if (asked.correct) {
            insert.bind(9, *asked.correct ? 1 : 0);
            insert.bind(10, asked.ms);
        } else {
            insert.bindNull(9);
            insert.bindNull(10);
        }
        insert.bind(11, drill.pupil);
        if (sqlite3_step(insert.get()) != SQLITE_DONE)
            return false;
    }
    return true;
}

bool AnswerDatabase::readAnswers(int pupil, std::vector<LoggedAnswer>* answers) {
    answers->clear();
    // Logs before the kind was kept hold drills only.
    const QByteArray sql =
        QByteArrayLiteral("SELECT d.pupil, d.level, d.start, a.question, a.divisor, a.quotient, a.remainder, "
                          "a.typed_quotient, a.typed_remainder, a.correct, a.ms, d.end, d.result, ") +
        (holdsKind() ? QByteArrayLiteral("d.kind") : QByteArrayLiteral("'drill'")) +
        QByteArrayLiteral(" FROM drills d JOIN answers a ON a.drill = d.id WHERE ?1 = 0 OR d.pupil = ?1 "
                          "ORDER BY d.start, d.id, a.question");
    Statement select(m_db, sql.constData());
    if (!select.ok())
        return fail(QStringLiteral("解答記録を読めません"));
    select.bind(1, pupil);
    sqlite3_stmt* s = select.get();
    int code = SQLITE_OK;
    while ((code = sqlite3_step(s)) == SQLITE_ROW) {
        LoggedAnswer answer;
        answer.pupil = sqlite3_column_int(s, 0);
        answer.level = sqlite3_column_int(s, 1);
        answer.drillStart = QDateTime::fromString(text(sqlite3_column_text(s, 2)), kTimeFormat);
        answer.number = sqlite3_column_int(s, 3);
        answer.question.divisor = sqlite3_column_int(s, 4);
        answer.question.quotient = sqlite3_column_int(s, 5);
        answer.question.remainder = sqlite3_column_int(s, 6);
        answer.typedQuotient = text(sqlite3_column_text(s, 7));
        answer.typedRemainder = text(sqlite3_column_text(s, 8));
        answer.correct = sqlite3_column_type(s, 9) == SQLITE_NULL ? -1 : sqlite3_column_int(s, 9);
        answer.ms = sqlite3_column_int64(s, 10);
        answer.drillEnd = QDateTime::fromString(text(sqlite3_column_text(s, 11)), kTimeFormat);
        answer.result = sqlite3_column_int(s, 12);
        answer.kind = drillKindOf(text(sqlite3_column_text(s, 13))).value_or(DrillKind::Drill);
        answers->push_back(answer);
    }
    if (code != SQLITE_DONE)
        return fail(QStringLiteral("解答記録を読めません"));
    return true;
}

bool AnswerDatabase::readHighestLevel(int pupil, int* level) {
    *level = 0;
    Statement select(m_db, "SELECT max(level) FROM drills WHERE pupil = ?");
    if (!select.ok())
        return fail(QStringLiteral("解答記録を読めません"));
    select.bind(1, pupil);
    if (sqlite3_step(select.get()) != SQLITE_ROW)
        return fail(QStringLiteral("解答記録を読めません"));
    *level = sqlite3_column_int(select.get(), 0); // NULL, with no drill, reads as 0
    return true;
}

bool AnswerDatabase::holdsSameDrill(const DrillLog& drill) {
    Statement drills(m_db, "SELECT id FROM drills WHERE pupil = ? AND start = ?");
    if (!drills.ok())
        return false;
    drills.bind(1, drill.pupil);
    drills.bind(2, drill.start.toString(kTimeFormat));
    while (sqlite3_step(drills.get()) == SQLITE_ROW) {
        Statement rows(m_db, "SELECT question, dividend, divisor, quotient, remainder, typed_quotient, "
                             "typed_remainder, correct, ms FROM answers WHERE drill = ? ORDER BY question");
        if (!rows.ok())
            return false;
        rows.bind(1, sqlite3_column_int64(drills.get(), 0));
        size_t k = 0;
        bool same = true;
        sqlite3_stmt* r = rows.get();
        while (same && sqlite3_step(r) == SQLITE_ROW) {
            if (k >= drill.questions.size()) {
                same = false;
                break;
            }
            const AskedQuestion& asked = drill.questions[k++];
            const bool answered = sqlite3_column_type(r, 7) != SQLITE_NULL;
            same = sqlite3_column_int(r, 0) == asked.number &&
                   sqlite3_column_int(r, 1) == asked.question.dividend() &&
                   sqlite3_column_int(r, 2) == asked.question.divisor &&
                   sqlite3_column_int(r, 3) == asked.question.quotient &&
                   sqlite3_column_int(r, 4) == asked.question.remainder &&
                   text(sqlite3_column_text(r, 5)) == asked.typedQuotient &&
                   text(sqlite3_column_text(r, 6)) == asked.typedRemainder &&
                   answered == asked.correct.has_value() &&
                   (!answered || ((sqlite3_column_int(r, 7) != 0) == *asked.correct &&
                                  sqlite3_column_int64(r, 8) == asked.ms));
        }
        if (same && k == drill.questions.size())
            return true;
    }
    return false;
}

bool AnswerDatabase::importDrills(const std::vector<DrillLog>& drills, int* added) {
    *added = 0;
    if (!m_db)
        return fail(QStringLiteral("解答記録が開いていません"));
    if (!exec("BEGIN IMMEDIATE"))
        return fail(QStringLiteral("解答記録に書けません"));
    int written = 0;
    for (const DrillLog& drill : drills) {
        // A drill the log holds already, or one this same file brought a line before, is passed over.
        if (holdsSameDrill(drill))
            continue;
        if (!insertDrill(drill)) {
            fail(QStringLiteral("解答記録に書けません"));
            exec("ROLLBACK");
            return false;
        }
        ++written;
    }
    if (!exec("COMMIT")) {
        fail(QStringLiteral("解答記録に書けません"));
        exec("ROLLBACK");
        return false;
    }
    *added = written;
    return true;
}

bool AnswerDatabase::readFactAnswers(int pupil, std::vector<FactAnswer>* answers) {
    answers->clear();
    // In the order the pupil met the questions: by the drills' starts, since an imported history is written
    // after drills that came later (and ties by the order written). A log of the first schema (read before a
    // drill has brought it up to date) keeps the pupil with the drill only.
    const char* sql = schemaVersion() >= 2
                          ? "SELECT a.quotient, a.divisor, a.correct, a.ms FROM answers a "
                            "JOIN drills d ON d.id = a.drill WHERE a.pupil = ? AND a.correct IS NOT NULL "
                            "ORDER BY d.start, a.drill, a.question"
                          : "SELECT a.quotient, a.divisor, a.correct, a.ms FROM drills d "
                            "JOIN answers a ON a.drill = d.id WHERE d.pupil = ? "
                            "AND a.correct IS NOT NULL ORDER BY d.start, a.drill, a.question";
    Statement select(m_db, sql);
    if (!select.ok())
        return fail(QStringLiteral("解答記録を読めません"));
    select.bind(1, pupil);
    sqlite3_stmt* s = select.get();
    int code = SQLITE_OK;
    while ((code = sqlite3_step(s)) == SQLITE_ROW) {
        FactAnswer answer;
        answer.quotient = static_cast<qint8>(sqlite3_column_int(s, 0));
        answer.divisor = static_cast<qint8>(sqlite3_column_int(s, 1));
        answer.correct = sqlite3_column_int(s, 2) != 0;
        answer.ms = sqlite3_column_int(s, 3);
        answers->push_back(answer);
    }
    if (code != SQLITE_DONE)
        return fail(QStringLiteral("解答記録を読めません"));
    return true;
}

bool AnswerDatabase::readAnswerDays(int pupil, QDate* first, QDate* last) {
    *first = QDate();
    *last = QDate();
    // Starts are written "yyyy-MM-dd HH:mm:ss", so their text orders as their time does.
    Statement select(m_db, "SELECT min(d.start), max(d.start) FROM drills d WHERE d.pupil = ? AND EXISTS "
                           "(SELECT 1 FROM answers a WHERE a.drill = d.id AND a.correct IS NOT NULL)");
    if (!select.ok())
        return fail(QStringLiteral("解答記録を読めません"));
    select.bind(1, pupil);
    if (sqlite3_step(select.get()) != SQLITE_ROW)
        return fail(QStringLiteral("解答記録を読めません"));
    const auto day = [&](int column) {
        return QDate::fromString(text(sqlite3_column_text(select.get(), column)).left(10), Qt::ISODate);
    };
    *first = day(0);
    *last = day(1);
    return true;
}

bool AnswerDatabase::probeWrite(const QString& path, int busyTimeoutMs, QString* error) {
    AnswerDatabase probe(busyTimeoutMs);
    const QByteArray name = QDir::toNativeSeparators(path).toUtf8();
    sqlite3* db = nullptr;
    const int opened = sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    probe.attach(db);
    if (opened != SQLITE_OK) {
        probe.fail(QStringLiteral("書き込み用に開けません"));
        *error = probe.error();
        return false;
    }
    if (sqlite3_db_readonly(probe.m_db, "main") == 1) {
        *error = QStringLiteral("読み取り専用です");
        return false;
    }
    if (!probe.exec("BEGIN IMMEDIATE")) {
        probe.fail(QStringLiteral("ほかのプログラムが使用中です"));
        *error = probe.error();
        return false;
    }
    probe.exec("ROLLBACK");
    return true;
}

bool keepDrillLog(const QString& programDataFolder, const DrillLog& drill, const QDateTime& now,
                  QString* error) {
    AnswerDatabase database;
    const bool kept =
        database.open(answerLogPath(programDataFolder), AnswerDatabase::Access::ReadWrite, now) &&
        database.writeDrill(drill);
    if (!kept && error)
        *error = database.error();
    return kept;
}

} // namespace warizan
