#pragma once

#include "answers/answer_database.h"

#include <QDate>
#include <QStringList>
#include <map>
#include <optional>
#include <vector>

namespace warizan {

// One drill or practice sheet of the answer log, as a week's figures need it: when it started (its answers
// belong to that day), its level, whether it was a practice sheet, how long it took and its questions in the
// order asked.
struct WeekDrill {
    QDateTime start;
    int level = 0;
    bool practice = false;
    qint64 durationMs = 0;
    std::vector<LoggedAnswer> answers;
};

// Whether the logged question belongs to a practice sheet rather than a drill of the level menu, as the log
// records the drill's kind (logs of older schemas hold drills only).
bool isPracticeDrill(const LoggedAnswer& answer);

// The log's questions (as AnswerDatabase::readAnswers gives them: oldest drill first, each in the order
// asked) grouped into their drills. A drill's duration runs from its start to its end; for rows without an
// end, it is the sum of its questions' times from each showing to its judging.
std::vector<WeekDrill> weekDrills(const std::vector<LoggedAnswer>& answers);

// The Monday of the week (Monday to Sunday, as the lists' "this week") holding `day`.
QDate mondayOf(const QDate& day);

// The median of `values`; for an even count the lower of the two middle values. Empty for none.
std::optional<qint64> lowerMedian(std::vector<qint64> values);

// What a pupil did in one week.
struct WeekFigures {
    QDate monday;
    int days = 0;                     // days with a drill or sheet started on them, of 7
    std::map<int, int> drillsByLevel; // drills (not sheets) by level
    int drills = 0;                   // drills of the level menu
    int practice = 0;                 // practice sheets
    int answers = 0;                  // judged answers (unanswered questions left out)
    int wrong = 0;                    // of which wrong
    qint64 ms = 0;                    // the drills' durations
    std::optional<qint64> medianMs;   // of the judged answers' times; empty when there is none
    int minutes() const { return static_cast<int>((ms + 30000) / 60000); }
};

// A quotient and divisor pair of the fact map.
struct FactPair {
    int quotient = 0;
    int divisor = 0;
    friend bool operator==(const FactPair&, const FactPair&) = default;
};

// A wrong answer: the drill it was in, the question and what was typed.
struct MissedAnswer {
    QDateTime drillStart;
    int level = 0;
    Question question;
    QString typedQuotient;
    QString typedRemainder;
};

inline constexpr int kWeekTrendWeeks = 8;

// A pupil's week beside the week before, with the facts it changed and the weeks leading up to it.
struct WeekSummary {
    WeekFigures week;
    WeekFigures before;
    // Known by the fact map's rule over the answers up to the week's end, but not over those before its
    // start; row by row (quotient, then divisor).
    std::vector<FactPair> becameKnown;
    std::vector<FactPair> weakAtEnd;  // weak by the same rule at the week's end, row by row
    std::vector<MissedAnswer> missed; // every wrong answer of the week, newest first
    std::vector<WeekFigures> trend;   // the week and the seven before it, oldest first
};

// The figures of the week starting on `monday` from one pupil's drills.
WeekFigures weekFigures(const std::vector<WeekDrill>& drills, const QDate& monday);
// The summary of the week holding `day`, from one pupil's drills in the order they started.
WeekSummary summarizeWeek(const std::vector<WeekDrill>& drills, const QDate& day);

// The summary as the data tool prints it: week, days, drills, practice, answers, wrong, median_ms,
// became_known, weak, a missed line per wrong answer (newest first) and eight trend lines (oldest first),
// fields separated by tabs (a tab or line break in a typed text is written as a space).
QStringList weekSummaryLines(const WeekSummary& summary);

// The summary of `pupil`'s week holding `day`, from the answer log of `programDataFolder`, read without
// changing it; a folder with no log yet, or a pupil number below 1, gives an empty week. False with the
// reason when the log cannot be read.
bool readWeekSummary(const QString& programDataFolder, int pupil, const QDate& day, WeekSummary* summary,
                     QString* error);

} // namespace warizan
