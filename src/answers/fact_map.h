#pragma once

#include "answers/answer_database.h"
#include "platform/random_source.h"

#include <array>
#include <optional>
#include <vector>

namespace warizan {

// How well a pupil knows one fact, a quotient and divisor pair, judged by its last three answers.
enum class FactState { Unseen, Weak, Learning, Known };

// The fact's state and figures, as the map shows them.
struct FactCell {
    int quotient = 0;
    int divisor = 0;
    FactState state = FactState::Unseen;
    int answers = 0;                // judged answers of the pair, all time
    int wrong = 0;                  // of which wrong
    std::optional<qint64> medianMs; // of the last three (or fewer); empty when there is none
    bool drawn = true;              // the chosen level asks this pair
    // Weak only because its answers were slow: none of the last three is wrong. The map marks such a
    // pair apart from one answered wrong, which a parent reads as a different need.
    bool weakByTime = false;
    // The place of the pair's latest answer among the answers the map was built from (0 the first); -1
    // when it has none. Larger is more recent.
    int lastAnswer = -1;
};

// The answers a state rests on: right or wrong and the time taken, in time order.
struct TimedAnswer {
    bool correct = false;
    qint64 ms = 0;
};

// Weak when one of the last three answers is wrong or their median is over 15 seconds; known when there are
// three, all right, each within 6 seconds; unseen with no answer; learning otherwise.
FactState factState(const std::vector<TimedAnswer>& answers);
// The median of the last three (or fewer) answers' times; the mean of the two middle ones for two.
std::optional<qint64> recentMedianMs(const std::vector<TimedAnswer>& answers);

QString factStateName(FactState state); // unseen, weak, learning, known

// Rows quotient 2..9, columns divisor 2..9.
inline constexpr int kFactSide = kMaxFactor - kMinFactor + 1;
struct FactMap {
    std::array<std::array<FactCell, kFactSide>, kFactSide> cells{};
    // Logs found damaged and set aside: their answers are not in the map.
    QStringList setAsideLogs;
    // The days of the first and the last drill the answers come from; invalid when there are none.
    QDate firstAnswerDay;
    QDate lastAnswerDay;
    const FactCell& cell(int quotient, int divisor) const {
        return cells[static_cast<size_t>(quotient - kMinFactor)][static_cast<size_t>(divisor - kMinFactor)];
    }
};

// The map of a pupil's judged answers (in time order). With `level` above 0, pairs that level never asks
// are marked as not drawn.
FactMap buildFactMap(const std::vector<FactAnswer>& answers, int level = 0);

// The map of `pupil` from the answer log of `programDataFolder`, read without changing it (but for rolling
// back a write that was cut off); a folder with no log yet gives a map of unseen facts. The set-aside logs
// of the folder are named in the map. False with the reason when the log cannot be read.
bool readFactMap(const QString& programDataFolder, int pupil, int level, FactMap* map, QString* error);

// Whether `level` ever asks the pair.
bool levelDrawsPair(int level, int quotient, int divisor);

// A practice sheet made from the map: pairs drawn by weight (weak 4, learning 2, unseen 1, known 0; known
// pairs weigh 1 when fewer than eight pairs are not known), never the same pair twice in a row, each with a
// remainder drawn below its divisor as the drill draws it.
QList<Question> drawWeakSheet(const FactMap& map, int count, RandomSource& random);

// The weak pairs of the map, row by row, as "÷divisorで商quotient" texts.
QStringList weakPairTexts(const FactMap& map);
// The line a practice sheet made from the map carries under its title: what it was made from, and the weak
// pairs; for a pupil without answers, that the sheet is one of all pairs because there are none yet.
QString weakSheetNote(const FactMap& map);

} // namespace warizan
