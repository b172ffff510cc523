#pragma once

#include "answers/answer_log.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <vector>

struct sqlite3;

namespace warizan {

// The answer log's file in the program's data folder, beside the score file.
QString answerLogPath(const QString& programDataFolder);

// One logged question read back, with its drill's pupil, level, start, end, result and kind. `correct` is 1,
// 0, or -1 for a question left unanswered.
struct LoggedAnswer {
    int pupil = 0;
    int level = 0;
    QDateTime drillStart;
    QDateTime drillEnd;
    qint32 result = 0;
    DrillKind kind = DrillKind::Drill; // a drill in logs from before the kind was kept
    int number = 0;
    Question question;
    QString typedQuotient;
    QString typedRemainder;
    int correct = -1;
    qint64 ms = 0;
};

// A judged answer of one pupil, as the fact map needs it.
struct FactAnswer {
    qint8 quotient = 0;
    qint8 divisor = 0;
    bool correct = false;
    qint32 ms = 0;
};

// The set-aside copies of damaged logs beside the log at `path` (解答記録.db.damaged-YYYYMMDD-HHMMSS), oldest
// first; the journals renamed with them are not listed.
QStringList setAsideLogs(const QString& path);

// The answer log database: SQLite with the rollback journal and full syncs (the data folder may be a share
// on a school's file server, where write-ahead logging does not work). Other copies of the program and the
// data tool use the log at the same time: each object waits for their locks at most its busy budget in all
// (from its construction), so a drill's end never waits long. Older schemas are brought up to date when the
// file is opened for writing. A file found damaged while it is opened or written (not a database, or SQLite
// reports corruption) is renamed aside (never deleted) and a new one is started; the whole-file quick check
// is the data tool's, since its time grows with the log.
class AnswerDatabase final {
public:
    static constexpr int kSchemaVersion = 3;
    static constexpr int kDefaultBusyTimeoutMs = 3000;
    // What a drill's end waits for the log at most: past it, the answers stay kept for the next time.
    static constexpr int kDrillEndBusyTimeoutMs = 500;

    enum class Access {
        ReadWrite, // creates, migrates, sets a damaged file aside
        // Reads the file as it is. A journal left by a write that was cut off is rolled back first, as SQLite
        // does on a connection that may write; where the folder refuses that, a copy of the two files in a
        // temporary folder is rolled back and read instead. Each query is a transaction of its own.
        Read,
        // As Read, then copies the whole log into memory in short steps (the file is locked only for each
        // step) and reads the copy: for readers that go through the whole log.
        Snapshot,
        // Reads a rolled-back copy of the file and its journal in a temporary folder: the file stays byte for
        // byte as it is (a set-aside log).
        ReadCopy,
    };

    explicit AnswerDatabase(int busyTimeoutMs = kDefaultBusyTimeoutMs);
    ~AnswerDatabase();
    AnswerDatabase(const AnswerDatabase&) = delete;
    AnswerDatabase& operator=(const AnswerDatabase&) = delete;

    // Opens the file at `path` as `access` says; a damaged file is set aside stamped with `now`. Returns
    // false with the reason in error().
    [[nodiscard]] bool open(const QString& path, Access access, const QDateTime& now);
    // Writes the drills and their questions in one transaction: all of them or nothing. A drill whose `id`
    // the log holds already is not written again. `beforeCommit` runs when everything is written but not
    // yet committed. A file found damaged on the way is set aside and the drills written to a new one.
    [[nodiscard]] bool writeDrills(const std::vector<DrillLog>& drills,
                                   const std::function<void()>& beforeCommit = {});
    [[nodiscard]] bool writeDrill(const DrillLog& drill) { return writeDrills({drill}); }
    // Whether the log holds the drill of this identity.
    [[nodiscard]] bool holdsDrill(const QString& id);
    // Every logged question, oldest drill first and in the order asked; of one pupil, or of all when
    // `pupil` is 0.
    [[nodiscard]] bool readAnswers(int pupil, std::vector<LoggedAnswer>* answers);
    // The highest level of the pupil's logged drills (practice sheets among them); 0 when there is none.
    [[nodiscard]] bool readHighestLevel(int pupil, int* level);
    // Whether the log holds a drill of the same pupil and start with exactly the same questions and answers.
    [[nodiscard]] bool holdsSameDrill(const DrillLog& drill);
    // Adds the drills in one transaction, all of them or none, passing over each one the log holds already
    // (holdsSameDrill): a file brought in twice adds nothing the second time. `added` says how many were
    // written. Needs the log opened for writing.
    [[nodiscard]] bool importDrills(const std::vector<DrillLog>& drills, int* added);
    // The pupil's judged answers (no unanswered questions), in the order the drills started.
    [[nodiscard]] bool readFactAnswers(int pupil, std::vector<FactAnswer>* answers);
    // The days of the pupil's first and last drills with a judged answer: the span a fact map rests on.
    // Both are left invalid when there is none.
    [[nodiscard]] bool readAnswerDays(int pupil, QDate* first, QDate* last);
    // The number of questions kept; -1 when it cannot be read.
    qint64 questionCount();
    // The number of drills kept; -1 when it cannot be read.
    qint64 drillCount();
    // Runs SQLite's quick check; false with the finding in error() when the file is damaged.
    [[nodiscard]] bool quickCheck();
    int schemaVersion();
    // Whether a journal of a write that was cut off was rolled back when the file was opened.
    bool rolledBackCutOffWrite() const { return m_rolledBack; }
    // Whether the existing file at `path` can take a write now: opened for writing and its write lock taken
    // (waiting the busy timeout for another copy) and released at once. Changes nothing.
    [[nodiscard]] static bool probeWrite(const QString& path, int busyTimeoutMs, QString* error);

    QString error() const { return m_error; }
    // Whether the last failure found the file damaged (rather than locked, read-only or missing).
    bool damaged() const;
    // Whether the last failure was another program holding the file.
    bool busy() const;
    // Where a damaged file was renamed to by the last open; empty when none was.
    QString setAsidePath() const { return m_setAside; }

private:
    bool openFile(const QString& path, Access access);
    bool openForReading(const QString& path);
    bool openRolledBackCopy(const QString& path);
    bool copyIntoMemory();
    bool startAfresh();
    bool insertDrills(const std::vector<DrillLog>& drills, const std::function<void()>& beforeCommit);
    bool insertDrill(const DrillLog& drill);
    bool exec(const char* sql);
    bool holdsKind();
    bool migrate();
    bool fail(const QString& what);
    void close();
    void attach(sqlite3* db);
    static int waitWhileBusy(void* self, int attempts);

    sqlite3* m_db = nullptr;
    int m_busyTimeoutMs;
    QElapsedTimer m_sinceStart;
    int m_lastCode = 0;
    bool m_rolledBack = false;
    QString m_error;
    QString m_setAside;
    QString m_path;
    Access m_access = Access::Read;
    QDateTime m_now;
    std::unique_ptr<QTemporaryDir> m_copy; // where a log that could not be rolled back in place is read
};

// Writes an ended drill's questions into the answer log of `programDataFolder` at once. (The end of a drill
// keeps them with its run first: answers/kept_answers.h.) False, with the reason in `error`, when the log
// cannot be opened or written; it is then left as it is.
bool keepDrillLog(const QString& programDataFolder, const DrillLog& drill, const QDateTime& now,
                  QString* error = nullptr);

} // namespace warizan
