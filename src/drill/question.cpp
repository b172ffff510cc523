#include "drill/question.h"

namespace warizan {

namespace {

// A draw from `low` to `low` + n - 1 is the integer part of r x n + low.
int drawBetween(RandomSource& random, int low, int high) {
    const int n = high - low + 1;
    const int value = static_cast<int>(random.next() * n) + low;
    return value > high ? high : value;
}

int drawFactorOtherThan(RandomSource& random, int previous) {
    int value = 0;
    do {
        value = drawBetween(random, kMinFactor, kMaxFactor);
    } while (value == previous);
    return value;
}

} // namespace

bool levelHasRemainder(int level) {
    return level >= 2 && level <= 4;
}

bool productSuitsLevel(int level, int product) {
    switch (level) {
    case 2:
        return product < 20;
    case 3:
        return product > 10 && product < 30;
    case 4:
        return product > 30;
    default:
        return true;
    }
}

Question drawQuestion(int level, RandomSource& random, qint32& previousQuotient, qint32& previousDivisor) {
    // Every level has suitable pairs whatever the previous question was, so the loop ends.
    Question question;
    do {
        question.quotient = drawFactorOtherThan(random, previousQuotient);
        question.divisor = drawFactorOtherThan(random, previousDivisor);
    } while (!productSuitsLevel(level, question.quotient * question.divisor));
    question.remainder = drawRemainder(level, question.divisor, random);
    previousQuotient = question.quotient;
    previousDivisor = question.divisor;
    return question;
}

int drawRemainder(int level, int divisor, RandomSource& random) {
    return levelHasRemainder(level) ? drawBetween(random, 0, divisor - 1) : 0;
}

QList<Question> drawQuestions(int level, int count, RandomSource& random, qint32& previousQuotient,
                              qint32& previousDivisor) {
    QList<Question> sheet;
    sheet.reserve(count);
    for (int i = 0; i < count; ++i)
        sheet.append(drawQuestion(level, random, previousQuotient, previousDivisor));
    return sheet;
}

QString worksheetLine(const Question& question) {
    return QStringLiteral("%1\t%2\t%3\t%4")
        .arg(question.dividend())
        .arg(question.divisor)
        .arg(question.quotient)
        .arg(question.remainder);
}

} // namespace warizan
