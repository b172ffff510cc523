#include "answers/fact_map.h"

#include <QDateTime>
#include <QFileInfo>
#include <algorithm>

namespace warizan {

namespace {

constexpr size_t kRecent = 3;
constexpr qint64 kWeakMedianMs = 15000;
constexpr qint64 kKnownEachMs = 6000;

FactCell& cellAt(FactMap& map, int quotient, int divisor) {
    return map.cells[static_cast<size_t>(quotient - kMinFactor)][static_cast<size_t>(divisor - kMinFactor)];
}

int weightOf(FactState state, bool knownCount) {
    switch (state) {
    case FactState::Weak:
        return 4;
    case FactState::Learning:
        return 2;
    case FactState::Unseen:
        return 1;
    case FactState::Known:
        return knownCount ? 1 : 0;
    }
    return 0;
}

} // namespace

std::optional<qint64> recentMedianMs(const std::vector<TimedAnswer>& answers) {
    if (answers.empty())
        return std::nullopt;
    std::vector<qint64> times;
    for (size_t k = answers.size() - std::min(answers.size(), kRecent); k < answers.size(); ++k)
        times.push_back(answers[k].ms);
    std::sort(times.begin(), times.end());
    if (times.size() % 2 == 1)
        return times[times.size() / 2];
    return (times[times.size() / 2 - 1] + times[times.size() / 2]) / 2;
}

FactState factState(const std::vector<TimedAnswer>& answers) {
    if (answers.empty())
        return FactState::Unseen;
    const auto last = answers.end() - static_cast<std::ptrdiff_t>(std::min(answers.size(), kRecent));
    const bool anyWrong = std::any_of(last, answers.end(), [](const TimedAnswer& a) { return !a.correct; });
    if (anyWrong || *recentMedianMs(answers) > kWeakMedianMs)
        return FactState::Weak;
    const bool allQuick =
        std::all_of(last, answers.end(), [](const TimedAnswer& a) { return a.ms <= kKnownEachMs; });
    if (answers.end() - last == static_cast<std::ptrdiff_t>(kRecent) && allQuick)
        return FactState::Known;
    return FactState::Learning;
}

QString factStateName(FactState state) {
    switch (state) {
    case FactState::Unseen:
        return QStringLiteral("unseen");
    case FactState::Weak:
        return QStringLiteral("weak");
    case FactState::Learning:
        return QStringLiteral("learning");
    case FactState::Known:
        return QStringLiteral("known");
    }
    return {};
}

bool levelDrawsPair(int level, int quotient, int divisor) {
    return level <= 0 || productSuitsLevel(level, quotient * divisor);
}

FactMap buildFactMap(const std::vector<FactAnswer>& answers, int level) {
    // Per pair: the counts, and the last three answers in a ring.
    struct Pair {
        int answers = 0;
        int wrong = 0;
        int last = -1;
        std::array<TimedAnswer, kRecent> recent{};
    };
    std::array<Pair, kFactSide * kFactSide> pairs{};
    for (size_t place = 0; place < answers.size(); ++place) {
        const FactAnswer& answer = answers[place];
        if (answer.quotient < kMinFactor || answer.quotient > kMaxFactor || answer.divisor < kMinFactor ||
            answer.divisor > kMaxFactor)
            continue;
        Pair& pair = pairs[static_cast<size_t>((answer.quotient - kMinFactor) * kFactSide + answer.divisor -
                                               kMinFactor)];
        pair.recent[static_cast<size_t>(pair.answers) % kRecent] = {answer.correct, answer.ms};
        ++pair.answers;
        pair.wrong += answer.correct ? 0 : 1;
        pair.last = static_cast<int>(place);
    }
    FactMap map;
    for (int q = kMinFactor; q <= kMaxFactor; ++q) {
        for (int d = kMinFactor; d <= kMaxFactor; ++d) {
            const Pair& pair = pairs[static_cast<size_t>((q - kMinFactor) * kFactSide + d - kMinFactor)];
            std::vector<TimedAnswer> recent;
            const int kept = std::min<int>(pair.answers, kRecent);
            for (int k = pair.answers - kept; k < pair.answers; ++k)
                recent.push_back(pair.recent[static_cast<size_t>(k) % kRecent]);
            FactCell& cell = cellAt(map, q, d);
            cell.quotient = q;
            cell.divisor = d;
            cell.answers = pair.answers;
            cell.wrong = pair.wrong;
            cell.state = factState(recent);
            cell.medianMs = recentMedianMs(recent);
            cell.drawn = levelDrawsPair(level, q, d);
            cell.lastAnswer = pair.last;
            cell.weakByTime =
                cell.state == FactState::Weak &&
                std::none_of(recent.begin(), recent.end(), [](const TimedAnswer& a) { return !a.correct; });
        }
    }
    return map;
}

bool readFactMap(const QString& programDataFolder, int pupil, int level, FactMap* map, QString* error) {
    std::vector<FactAnswer> answers;
    QDate first;
    QDate last;
    const QString path = answerLogPath(programDataFolder);
    if (QFileInfo::exists(path)) {
        AnswerDatabase db;
        if (!db.open(path, AnswerDatabase::Access::Read, QDateTime::currentDateTime()) ||
            (db.schemaVersion() > 0 &&
             (!db.readFactAnswers(pupil, &answers) || !db.readAnswerDays(pupil, &first, &last)))) {
            *error = db.error();
            return false;
        }
    }
    *map = buildFactMap(answers, level);
    map->firstAnswerDay = first;
    map->lastAnswerDay = last;
    map->setAsideLogs = setAsideLogs(path);
    return true;
}

QList<Question> drawWeakSheet(const FactMap& map, int count, RandomSource& random) {
    std::vector<const FactCell*> candidates;
    int notKnown = 0;
    for (const auto& row : map.cells)
        for (const FactCell& cell : row)
            if (cell.drawn) {
                candidates.push_back(&cell);
                notKnown += cell.state == FactState::Known ? 0 : 1;
            }
    const bool knownCount = notKnown < 8;
    std::vector<int> weights;
    for (const FactCell* cell : candidates)
        weights.push_back(weightOf(cell->state, knownCount));
    QList<Question> sheet;
    const FactCell* previous = nullptr;
    for (int n = 0; n < count; ++n) {
        int total = 0;
        for (size_t k = 0; k < candidates.size(); ++k)
            total += candidates[k] == previous ? 0 : weights[k];
        if (total == 0)
            break; // nothing left to draw but the pair just asked
        int pick = random.pickOneTo(total);
        const FactCell* chosen = nullptr;
        for (size_t k = 0; k < candidates.size() && !chosen; ++k) {
            const int weight = candidates[k] == previous ? 0 : weights[k];
            if (pick <= weight)
                chosen = candidates[k];
            pick -= weight;
        }
        Question question;
        question.quotient = chosen->quotient;
        question.divisor = chosen->divisor;
        question.remainder = static_cast<int>(random.next() * question.divisor);
        question.remainder = std::min(question.remainder, question.divisor - 1);
        sheet.append(question);
        previous = chosen;
    }
    return sheet;
}

QStringList weakPairTexts(const FactMap& map) {
    QStringList texts;
    for (const auto& row : map.cells)
        for (const FactCell& cell : row)
            if (cell.drawn && cell.state == FactState::Weak)
                texts << QStringLiteral("÷%1で商%2").arg(cell.divisor).arg(cell.quotient);
    return texts;
}

QString weakSheetNote(const FactMap& map) {
    bool answered = false;
    for (const auto& row : map.cells)
        for (const FactCell& cell : row)
            answered = answered || (cell.drawn && cell.answers > 0);
    // With no answer yet every pair weighs the same: the sheet is one of all pairs, and says why.
    if (!answered)
        return QStringLiteral("まだ答えの記録がないので、すべての組から同じように選んで作りました。");
    const QStringList weak = weakPairTexts(map);
    if (weak.isEmpty())
        return QStringLiteral("苦手チェックから作りました。いまは苦手な組はありません。");
    return QStringLiteral("苦手チェックから、苦手な組を多めにして作りました。苦手な組: %1")
        .arg(weak.join(QStringLiteral("、")));
}

} // namespace warizan
