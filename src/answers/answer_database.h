#pragma once

#include "answers/answer_log.h"

#include <QDateTime>
#include <QString>
#include <vector>

struct sqlite3;

namespace warizan {

// The answer log's file in the program's data folder, beside the score file.
QString answerLogPath(const QString& programDataFolder);

// One logged question read back, with its drill's pupil, level and start. `correct` is 1, 0, or -1 for a
// question left unanswered.
struct LoggedAnswer {
    int pupil = 0;
    int level = 0;
    QDateTime drillStart;
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

// The answer log database: SQLite with the rollback journal and full syncs (the data folder may be a share
// on a school's file server, where write-ahead logging does not work) and a busy timeout, so a copy of the
// program that is writing at the same moment is waited for rather than failed. Older schemas are brought up
// to date when the file is opened for writing. A file found damaged while it is opened or written (not a
// database, or SQLite reports corruption) is renamed aside (never deleted) and a new one is started; the
// whole-file quick check is the data tool's, since its time grows with the log.
class AnswerDatabase final {
public:
    static constexpr int kSchemaVersion = 2;
    static constexpr int kDefaultBusyTimeoutMs = 3000;

    enum class Access { ReadWrite, ReadOnly };

    explicit AnswerDatabase(int busyTimeoutMs = kDefaultBusyTimeoutMs);
    ~AnswerDatabase();
    AnswerDatabase(const AnswerDatabase&) = delete;
    AnswerDatabase& operator=(const AnswerDatabase&) = delete;

    // Opens (ReadWrite: creating, migrating, and setting a damaged file aside, stamped with `now`) the file
    // at `path`. Returns false with the reason in error().
    [[nodiscard]] bool open(const QString& path, Access access, const QDateTime& now);
    // Writes a drill and its questions in one transaction: all of it or nothing. A file found damaged on the
    // way is set aside and the drill written to a new one.
    [[nodiscard]] bool writeDrill(const DrillLog& drill);
    // Every logged question, oldest drill first and in the order asked; of one pupil, or of all when
    // `pupil` is 0.
    [[nodiscard]] bool readAnswers(int pupil, std::vector<LoggedAnswer>* answers);
    // The pupil's judged answers (no unanswered questions), in the order the drills were written.
    [[nodiscard]] bool readFactAnswers(int pupil, std::vector<FactAnswer>* answers);
    // The number of questions kept; -1 when it cannot be read.
    qint64 questionCount();
    // Runs SQLite's quick check; false with the finding in error() when the file is damaged.
    [[nodiscard]] bool quickCheck();
    int schemaVersion();
    // Whether the existing file at `path` can take a write now: opened for writing and its write lock taken
    // (waiting the busy timeout for another copy) and released at once. Changes nothing.
    [[nodiscard]] static bool probeWrite(const QString& path, int busyTimeoutMs, QString* error);

    QString error() const { return m_error; }
    // Whether the last failure found the file damaged (rather than locked, read-only or missing).
    bool damaged() const;
    // Where a damaged file was renamed to by the last open; empty when none was.
    QString setAsidePath() const { return m_setAside; }

private:
    bool openFile(const QString& path, Access access);
    bool startAfresh();
    bool insertDrill(const DrillLog& drill);
    bool exec(const char* sql);
    bool migrate();
    bool fail(const QString& what);
    void close();

    sqlite3* m_db = nullptr;
    int m_busyTimeoutMs;
    int m_lastCode = 0;
    QString m_error;
    QString m_setAside;
    QString m_path;
    Access m_access = Access::ReadOnly;
    QDateTime m_now;
};

// Keeps an ended drill's questions in the answer log of `programDataFolder`. Never in the way of the drill:
// a log that cannot be opened or written is left as it is (the data tool's check reports why), and false
// is returned with the reason in `error`.
bool keepDrillLog(const QString& programDataFolder, const DrillLog& drill, const QDateTime& now,
                  QString* error = nullptr);

} // namespace warizan
