#pragma once

#include "drill/question.h"

#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

namespace warizan {

// One question of a drill as the pupil met it: what was asked, what was typed, and how long the pupil took
// from seeing the question to asking for it to be judged. `correct` is empty for a question that was still
// unanswered when the time ran out.
struct AskedQuestion {
    int number = 0; // 1, 2, ... in the order the sheet asked them
    Question question;
    QString typedQuotient;
    QString typedRemainder;
    std::optional<bool> correct;
    qint64 ms = 0;
};

// What kind of sheet a logged drill was: a timed drill of a level, whose run the score files hold, or a
// practice sheet drawn from the fact map, which has no time limit and no score record.
enum class DrillKind { Drill, Practice };

// "drill" or "practice", as the log and the exported CSV write the kind.
QString drillKindName(DrillKind kind);
// The kind of such a name; empty for any other text.
std::optional<DrillKind> drillKindOf(const QString& name);

// One ended drill with its questions, as the answer log keeps it. `result` is the value the score file got
// (99999 for a time-out); for a practice sheet, the seconds it took.
struct DrillLog {
    QString id; // the identity of the drill's run (records/pending_runs.h); a drill of the log is not written
                // twice
    int pupil = 0;
    int level = 0;
    QDateTime start;
    QDateTime end;
    qint32 result = 0;
    std::vector<AskedQuestion> questions;
    DrillKind kind = DrillKind::Drill;
};

// Collects a drill's questions in memory while it runs, so the drill never waits on the log's file: the
// drill form reports each question shown and each judging request with the clock's monotonic counter, and
// the whole drill is handed over once it has ended.
class DrillRecorder {
public:
    void start(int pupil, int level, const QDateTime& start, DrillKind kind = DrillKind::Drill);
    // A new question is on the screen from `monotonicMs` on.
    void questionShown(const Question& question, qint64 monotonicMs);
    // The pupil asked for the question on the screen to be judged; the time runs from its showing. A
    // question is judged once: the correction after a wrong answer does not ask it again.
    void judged(const QString& typedQuotient, const QString& typedRemainder, bool correct,
                qint64 monotonicMs);
    // The drill has ended; a question still waiting for its answer is kept as unanswered.
    DrillLog finish(const QDateTime& end, qint32 result);
    bool started() const { return m_started; }

private:
    DrillLog m_log;
    std::optional<AskedQuestion> m_waiting;
    qint64 m_shownMs = 0;
    bool m_started = false;
};

} // namespace warizan
