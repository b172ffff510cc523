#include "answers/practice_sheet.h"

#include <QDateTime>
#include <QFileInfo>
#include <algorithm>

namespace warizan {

namespace {

constexpr int kTargets = 2;
constexpr int kKnownPlaces = kPracticeQuestions - 2 * kTargets;
constexpr int kKnownAtMost = 2;

using Pair = std::pair<int, int>;

struct Item {
    Pair pair;
    PracticeRole role;
};

// Weak below unseen (a first answer that is wrong or slow is no step up), then learning, then known.
int rank(FactState state) {
    switch (state) {
    case FactState::Weak:
        return 0;
    case FactState::Unseen:
        return 1;
    case FactState::Learning:
        return 2;
    case FactState::Known:
        return 3;
    }
    return 0;
}

int priorityGroup(FactState state) {
    switch (state) {
    case FactState::Weak:
        return 0;
    case FactState::Learning:
        return 1;
    default:
        return 2;
    }
}

bool isTarget(const std::vector<Pair>& targets, const Pair& pair) {
    return std::find(targets.begin(), targets.end(), pair) != targets.end();
}

// The rules of an arrangement: never one pair twice in a row, a target's two appearances at least two
// questions apart, no target in the last place.
bool keepsTheRules(const std::vector<Item>& items, const std::vector<Pair>& targets) {
    for (size_t k = 1; k < items.size(); ++k)
        if (items[k].pair == items[k - 1].pair)
            return false;
    for (const Pair& target : targets) {
        std::vector<size_t> places;
        for (size_t k = 0; k < items.size(); ++k)
            if (items[k].pair == target)
                places.push_back(k);
        for (size_t k = 1; k < places.size(); ++k)
            if (places[k] - places[k - 1] < 3)
                return false;
    }
    return items.empty() || !isTarget(targets, items.back().pair);
}

void shuffle(std::vector<Item>& items, RandomSource& random) {
    for (size_t k = items.size(); k > 1; --k)
        std::swap(items[k - 1], items[static_cast<size_t>(random.pickOneTo(static_cast<int>(k)) - 1)]);
}

// The fixed arrangement: the first target in places 1 and 4, the second in 2 and 5, and the other questions
// in the places left, each time the one of most copies left that differs from its neighbours.
std::vector<Item> fixedArrangement(const std::vector<Item>& targetItems, std::vector<Item> others) {
    const size_t size = targetItems.size() + others.size();
    std::vector<std::optional<Item>> places(size);
    size_t targetNumber = 0;
    for (size_t k = 0; k + 1 < targetItems.size(); k += 2, ++targetNumber) {
        places[targetNumber] = targetItems[k];
        places[targetNumber + 3] = targetItems[k + 1];
    }
    for (size_t at = 0; at < size; ++at) {
        if (places[at])
            continue;
        const auto differs = [&](const Item& item) {
            return (at == 0 || !places[at - 1] || places[at - 1]->pair != item.pair) &&
                   (at + 1 >= size || !places[at + 1] || places[at + 1]->pair != item.pair);
        };
        auto best = others.end();
        for (auto it = others.begin(); it != others.end(); ++it) {
            if (!differs(*it))
                continue;
            const auto copies = std::count_if(others.begin(), others.end(),
                                              [&](const Item& o) { return o.pair == it->pair; });
            const auto bestCopies =
                best == others.end() ? -1 : std::count_if(others.begin(), others.end(), [&](const Item& o) {
                    return o.pair == best->pair;
                });
            if (copies > bestCopies)
                best = it;
        }
        if (best == others.end())
            best = others.begin(); // cannot happen with three different pairs or more
        places[at] = *best;
        others.erase(best);
    }
    std::vector<Item> items;
    for (const auto& place : places)
        items.push_back(*place);
    return items;
}

} // namespace

QString practiceRoleName(PracticeRole role) {
    switch (role) {
    case PracticeRole::Target:
        return QStringLiteral("target");
    case PracticeRole::Known:
        return QStringLiteral("known");
    case PracticeRole::Fill:
        return QStringLiteral("fill");
    }
    return {};
}

bool readPracticeBasis(const QString& programDataFolder, int pupil, int level, PracticeBasis* basis,
                       QString* error) {
    *basis = PracticeBasis{};
    basis->pupil = pupil;
    const QString path = answerLogPath(programDataFolder);
    int highest = 0;
    if (QFileInfo::exists(path)) {
        AnswerDatabase db;
        if (!db.open(path, AnswerDatabase::Access::Read, QDateTime::currentDateTime()) ||
            (db.schemaVersion() > 0 &&
             (!db.readFactAnswers(pupil, &basis->answers) || !db.readHighestLevel(pupil, &highest)))) {
            *error = db.error();
            return false;
        }
    }
    basis->level = level > 0 ? level : std::max(1, highest);
    basis->map = buildFactMap(basis->answers, basis->level);
    basis->map.setAsideLogs = setAsideLogs(path);
    return true;
}

std::vector<const FactCell*> practicePriority(const FactMap& map) {
    std::vector<const FactCell*> pairs;
    for (const auto& row : map.cells)
        for (const FactCell& cell : row)
            if (cell.drawn && cell.state != FactState::Known)
                pairs.push_back(&cell);
    // Stable: unseen pairs (none answered) stay row by row.
    std::stable_sort(pairs.begin(), pairs.end(), [](const FactCell* a, const FactCell* b) {
        if (priorityGroup(a->state) != priorityGroup(b->state))
            return priorityGroup(a->state) < priorityGroup(b->state);
        return a->lastAnswer > b->lastAnswer;
    });
    return pairs;
}

// A shuffle keeps the rules about one time in five, so the fixed order is all but never needed; it is there
// so a sheet is always made at once.
PracticeSheet::PracticeSheet(const PracticeBasis& basis, RandomSource& random, int arrangementTries)
    : m_level(basis.level) {
    const std::vector<const FactCell*> priority = practicePriority(basis.map);
    std::vector<Pair> known;
    for (const auto& row : basis.map.cells)
        for (const FactCell& cell : row)
            if (cell.drawn && cell.state == FactState::Known)
                known.emplace_back(cell.quotient, cell.divisor);

    std::vector<Item> targetItems;
    for (size_t k = 0; k < priority.size() && k < kTargets; ++k) {
        const Pair pair{priority[k]->quotient, priority[k]->divisor};
        m_targets.push_back(pair);
        targetItems.push_back({pair, PracticeRole::Target});
        targetItems.push_back({pair, PracticeRole::Target});
    }
    const size_t places = kPracticeQuestions - targetItems.size();
    std::vector<Item> others;
    if (known.size() >= static_cast<size_t>(kKnownPlaces)) {
        std::vector<int> drawn(known.size(), 0);
        while (others.size() < places) {
            std::vector<size_t> open;
            for (size_t k = 0; k < known.size(); ++k)
                if (drawn[k] < kKnownAtMost)
                    open.push_back(k);
            const size_t pick =
                open[static_cast<size_t>(random.pickOneTo(static_cast<int>(open.size())) - 1)];
            ++drawn[pick];
            others.push_back({known[pick], PracticeRole::Known});
        }
    } else {
        for (const Pair& pair : known)
            if (others.size() < places)
                others.push_back({pair, PracticeRole::Known});
        for (size_t k = m_targets.size(); k < priority.size() && others.size() < places; ++k)
            others.push_back({{priority[k]->quotient, priority[k]->divisor}, PracticeRole::Fill});
        // A level with fewer pairs than places (none of the content's) asks its known pairs a second time.
        for (size_t k = 0; k < known.size() && others.size() < places; ++k)
            others.push_back({known[k], PracticeRole::Known});
    }

    std::vector<Item> items = targetItems;
    items.insert(items.end(), others.begin(), others.end());
    bool found = false;
    for (int attempt = 0; attempt < arrangementTries && !found; ++attempt) {
        shuffle(items, random);
        found = keepsTheRules(items, m_targets);
    }
    if (!found)
        items = fixedArrangement(targetItems, others);
    for (const Item& item : items) {
        PracticeQuestion asked;
        asked.question.quotient = item.pair.first;
        asked.question.divisor = item.pair.second;
        asked.question.remainder = drawRemainder(m_level, item.pair.second, random);
        asked.role = item.role;
        m_questions.push_back(asked);
    }
}

bool PracticeSheet::answeredWrong(size_t index, RandomSource& random) {
    if (index >= m_questions.size())
        return false;
    const PracticeQuestion asked = m_questions[index];
    const Pair pair{asked.question.quotient, asked.question.divisor};
    if (asked.role != PracticeRole::Target || asked.extra || isTarget(m_returned, pair) ||
        static_cast<int>(m_returned.size()) >= kPracticeMaxExtras)
        return false;
    m_returned.push_back(pair);
    PracticeQuestion again = asked;
    again.extra = true;
    again.question.remainder = drawRemainder(m_level, pair.second, random);
    m_questions.push_back(again);
    return true;
}

PracticeOutcome practiceOutcome(const PracticeBasis& basis, const PracticeSheet& sheet,
                                const DrillLog& done) {
    PracticeOutcome outcome;
    const bool remainder = levelHasRemainder(sheet.level());
    for (const Pair& target : sheet.targets()) {
        TargetOutcome told{target.first, target.second, {}};
        for (const AskedQuestion& asked : done.questions) {
            if (asked.question.quotient != target.first || asked.question.divisor != target.second ||
                !asked.correct)
                continue;
            QString typed = asked.typedQuotient;
            if (remainder)
                typed += QStringLiteral(" あまり ") + asked.typedRemainder;
            told.answers.push_back({asked.question, typed, *asked.correct, asked.ms});
        }
        outcome.targets.push_back(told);
    }
    std::vector<FactAnswer> after = basis.answers;
    for (const AskedQuestion& asked : done.questions)
        if (asked.correct)
            after.push_back({static_cast<qint8>(asked.question.quotient),
                             static_cast<qint8>(asked.question.divisor), *asked.correct,
                             static_cast<qint32>(asked.ms)});
    const FactMap map = buildFactMap(after, sheet.level());
    for (const auto& row : map.cells)
        for (const FactCell& cell : row) {
            const FactState before = basis.map.cell(cell.quotient, cell.divisor).state;
            if (cell.drawn && rank(cell.state) > rank(before))
                outcome.risen.push_back({cell.quotient, cell.divisor, before, cell.state});
        }
    return outcome;
}

} // namespace warizan
