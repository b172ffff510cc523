#pragma once

#include "answers/answer_log.h"
#include "answers/fact_map.h"
#include "platform/random_source.h"

#include <QString>
#include <vector>

namespace warizan {

// Why a question is on a practice sheet: one of the two pairs the sheet is for, a pair the pupil knows, or a
// pair not yet known that takes a known pair's place because the pupil knows too few.
enum class PracticeRole { Target, Known, Fill };

QString practiceRoleName(PracticeRole role); // target, known, fill

struct PracticeQuestion {
    Question question;
    PracticeRole role = PracticeRole::Known;
    bool extra = false; // a target answered wrong, asked once more at the end
};

// What a practice sheet is drawn from: the pupil's answers in the order they were given, the map they make
// for the level, and whether there was any answer at all.
struct PracticeBasis {
    int pupil = 0;
    int level = 1;
    std::vector<FactAnswer> answers;
    FactMap map;
    bool answered() const { return !answers.empty(); }
};

// The basis for `pupil` from the answer log of `programDataFolder`, read without changing it: on `level`,
// or when it is 0 on the highest level the pupil has answers for (1 when there are none). A folder with no
// log gives a basis of unseen pairs. False, with the reason, when the log cannot be read.
bool readPracticeBasis(const QString& programDataFolder, int pupil, int level, PracticeBasis* basis,
                       QString* error);

// The not-known pairs the level asks, in the order a sheet takes them: weak pairs, then learning, then
// unseen; the pair answered most recently first within weak and learning, unseen ones row by row (quotient,
// then divisor).
std::vector<const FactCell*> practicePriority(const FactMap& map);

inline constexpr int kPracticeQuestions = 10;
inline constexpr int kPracticeMaxExtras = 2;

// A practice sheet of ten questions: the two pairs of highest priority (the targets) each twice, at least
// two other questions between their appearances; the other places taken by known pairs drawn at random, a
// pair at most twice, or, with fewer than six known pairs, by each known pair once and then the next
// not-known pairs by priority (Fill), each once. Never the same pair twice in a row, and no target in the
// last place, so an extra question at the end never repeats the one before it. Remainders are drawn below
// the divisor where the level asks for one. The places are random: an arrangement that is not found in
// `arrangementTries` shuffles falls back to a fixed one that keeps every rule (at once with 0).
class PracticeSheet final {
public:
    static constexpr int kArrangementTries = 200;

    PracticeSheet() = default;
    PracticeSheet(const PracticeBasis& basis, RandomSource& random, int arrangementTries = kArrangementTries);

    int level() const { return m_level; }
    const std::vector<PracticeQuestion>& questions() const { return m_questions; }
    // The target pairs as (quotient, divisor), in priority order; fewer than two only when the level has
    // fewer pairs the pupil does not know.
    const std::vector<std::pair<int, int>>& targets() const { return m_targets; }

    // The question at `index` was answered wrong: when it is a target's and the target has not come back
    // yet, it comes back once at the end of the sheet (at most two extras a sheet). Returns whether an extra
    // question was added.
    bool answeredWrong(size_t index, RandomSource& random);

private:
    int m_level = 1;
    std::vector<PracticeQuestion> m_questions;
    std::vector<std::pair<int, int>> m_targets;
    std::vector<std::pair<int, int>> m_returned; // targets already asked once more
};

// One answer of a target on the sheet.
struct TargetAnswer {
    Question question; // as asked
    QString typed;     // the quotient, and "あまり r" where the level asks for a remainder
    bool correct = false;
    qint64 ms = 0;
};

struct TargetOutcome {
    int quotient = 0;
    int divisor = 0;
    std::vector<TargetAnswer> answers;
};

// A pair whose state went up with the sheet's answers (weak, unseen, learning, known in that order).
struct RisenPair {
    int quotient = 0;
    int divisor = 0;
    FactState before = FactState::Unseen;
    FactState after = FactState::Unseen;
};

struct PracticeOutcome {
    std::vector<TargetOutcome> targets;
    std::vector<RisenPair> risen; // row by row
};

// What the sheet's answers (`done`, as the log keeps it) show: each target's answers, and the pairs of the
// level whose state is higher than before the sheet.
PracticeOutcome practiceOutcome(const PracticeBasis& basis, const PracticeSheet& sheet, const DrillLog& done);

} // namespace warizan
