#pragma once

#include "platform/random_source.h"

#include <QList>
#include <QString>

namespace warizan {

// Quotients and divisors of the questions lie in this range.
inline constexpr int kMinFactor = 2;
inline constexpr int kMaxFactor = 9;

// One division question with its exact answer: dividend = quotient x divisor + remainder, remainder below
// the divisor.
struct Question {
    int quotient = 0;
    int divisor = 0;
    int remainder = 0;
    int dividend() const { return quotient * divisor + remainder; }
    friend bool operator==(const Question&, const Question&) = default;
};

// Levels 2 to 4 ask for a remainder; level 1 (and any level the content does not have) does not.
bool levelHasRemainder(int level);

// Whether quotient x divisor = `product` belongs on `level`: below 20 on level 2, between 10 and 30 on
// level 3, above 30 on level 4; any product on the other levels.
bool productSuitsLevel(int level, int product);

// Draws the next question of `level`. Neither its quotient nor its divisor equals the previous question's
// (0 before the first question); the pair is drawn afresh until its product suits the level, and the
// remainder is drawn below the divisor on the levels that ask for one. The previous values are updated.
Question drawQuestion(int level, RandomSource& random, qint32& previousQuotient, qint32& previousDivisor);

// The remainder of a question of `level` on `divisor`, drawn as drawQuestion() draws it: below the divisor
// on the levels that ask for one, 0 on the others.
int drawRemainder(int level, int divisor, RandomSource& random);

// `count` questions in a row, as the drill would ask them: a practice sheet.
QList<Question> drawQuestions(int level, int count, RandomSource& random, qint32& previousQuotient,
                              qint32& previousDivisor);

// One line of a practice sheet: dividend, divisor, quotient and remainder separated by tabs.
QString worksheetLine(const Question& question);

} // namespace warizan
