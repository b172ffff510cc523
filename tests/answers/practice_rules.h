#pragma once

#include <QString>
#include <QStringList>
#include <algorithm>
#include <map>
#include <vector>

namespace warizan::test {

// A practice sheet's rules checked from the outside: from the states and recency of the pairs a level asks,
// and from the sheet's lines alone, without the program's own ordering.
struct PairFacts {
    QString state;       // unseen, weak, learning, known
    int lastAnswer = -1; // larger is more recent
};
using FactPair = std::pair<int, int>; // quotient, divisor
struct SheetLine {
    int dividend = 0;
    int divisor = 0;
    int quotient = 0;
    int remainder = 0;
    QString role;
};

// The not-known pairs by priority: weak, then learning, the most recent first; then unseen row by row.
inline std::vector<FactPair> expectedPriority(const std::map<FactPair, PairFacts>& drawn) {
    std::vector<FactPair> order;
    for (const char* state : {"weak", "learning"}) {
        std::vector<std::pair<int, FactPair>> group;
        for (const auto& [pair, facts] : drawn)
            if (facts.state == QLatin1String(state))
                group.push_back({facts.lastAnswer, pair});
        std::sort(group.begin(), group.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
        for (const auto& g : group)
            order.push_back(g.second);
    }
    for (const auto& [pair, facts] : drawn) // a std::map runs row by row
        if (facts.state == u"unseen")
            order.push_back(pair);
    return order;
}

// What breaks the rules, or an empty text when the sheet keeps them all.
inline QString practiceRuleBreak(const std::vector<SheetLine>& sheet, bool remainders,
                                 const std::map<FactPair, PairFacts>& drawn) {
    if (sheet.size() != 10)
        return QStringLiteral("%1 questions").arg(sheet.size());
    const std::vector<FactPair> priority = expectedPriority(drawn);
    const std::vector<FactPair> targets(priority.begin(),
                                        priority.begin() + std::min<size_t>(2, priority.size()));
    std::vector<FactPair> known;
    for (const auto& [pair, facts] : drawn)
        if (facts.state == u"known")
            known.push_back(pair);
    std::map<FactPair, std::vector<size_t>> places;
    for (size_t k = 0; k < sheet.size(); ++k) {
        const SheetLine& q = sheet[k];
        const FactPair pair{q.quotient, q.divisor};
        if (q.dividend != q.quotient * q.divisor + q.remainder)
            return QStringLiteral("line %1: dividend").arg(k + 1);
        if (remainders ? q.remainder < 0 || q.remainder >= q.divisor : q.remainder != 0)
            return QStringLiteral("line %1: remainder").arg(k + 1);
        if (!drawn.count(pair))
            return QStringLiteral("line %1: a pair the level does not ask").arg(k + 1);
        if (k > 0 && sheet[k - 1].quotient == q.quotient && sheet[k - 1].divisor == q.divisor)
            return QStringLiteral("line %1: the same pair twice in a row").arg(k + 1);
        const bool target = std::find(targets.begin(), targets.end(), pair) != targets.end();
        const QString state = drawn.at(pair).state;
        const QString role = target              ? QStringLiteral("target")
                             : state == u"known" ? QStringLiteral("known")
                                                 : QStringLiteral("fill");
        if (q.role != role)
            return QStringLiteral("line %1: role %2, not %3").arg(k + 1).arg(q.role, role);
        places[pair].push_back(k);
    }
    for (const FactPair& target : targets)
        if (places[target].size() != 2 || places[target][1] - places[target][0] < 3)
            return QStringLiteral("target %1x%2 not twice, two apart").arg(target.first).arg(target.second);
    if (!targets.empty() && std::find(targets.begin(), targets.end(),
                                      FactPair{sheet.back().quotient, sheet.back().divisor}) != targets.end())
        return QStringLiteral("a target last");
    const size_t others = 10 - 2 * targets.size();
    if (known.size() >= 6) {
        for (const auto& [pair, at] : places)
            if (drawn.at(pair).state == u"known" && at.size() > 2)
                return QStringLiteral("known %1x%2 more than twice").arg(pair.first).arg(pair.second);
        return {};
    }
    // Fewer known pairs: each once, then the next pairs by priority, each once.
    for (const FactPair& pair : known)
        if (places[pair].size() != 1)
            return QStringLiteral("known %1x%2 not once").arg(pair.first).arg(pair.second);
    const size_t fills = others - std::min(others, known.size());
    for (size_t k = targets.size(); k < targets.size() + fills; ++k)
        if (places[priority[k]].size() != 1)
            return QStringLiteral("fill %1x%2 not once").arg(priority[k].first).arg(priority[k].second);
    return {};
}

} // namespace warizan::test
