#include "answers/practice_sheet.h"
#include "practice_rules.h"

#include <QtTest>
#include <set>

using namespace warizan;

// The practice sheet drawn from a fact map: its targets, the places of the other questions, the questions
// that come back, and what the result tells.
class PracticeTest final : public QObject {
    Q_OBJECT
private slots:
    void selection_data();
    void selection();
    void extras();
    void outcome();
};

namespace {

// "7x5:w 3x4:l": each pair's answers in this order (later more recent): w one wrong answer (weak), t one
// right answer in 20 s (weak by time), l one right answer in 8 s (learning), k three right in 2 s (known).
PracticeBasis basisOf(int level, const QString& spec) {
    PracticeBasis basis;
    basis.level = level;
    for (const QString& token : spec.split(u' ', Qt::SkipEmptyParts)) {
        const qint8 q = static_cast<qint8>(token.at(0).digitValue());
        const qint8 d = static_cast<qint8>(token.at(2).digitValue());
        switch (token.at(4).unicode()) {
        case u'w':
            basis.answers.push_back({q, d, false, 3000});
            break;
        case u't':
            basis.answers.push_back({q, d, true, 20000});
            break;
        case u'l':
            basis.answers.push_back({q, d, true, 8000});
            break;
        default:
            for (int k = 0; k < 3; ++k)
                basis.answers.push_back({q, d, true, 2000});
        }
    }
    basis.map = buildFactMap(basis.answers, level);
    return basis;
}

std::map<test::FactPair, test::PairFacts> drawnFacts(const FactMap& map) {
    std::map<test::FactPair, test::PairFacts> drawn;
    for (const auto& row : map.cells)
        for (const FactCell& cell : row)
            if (cell.drawn)
                drawn[{cell.quotient, cell.divisor}] = {factStateName(cell.state), cell.lastAnswer};
    return drawn;
}

QString pairsText(const std::vector<std::pair<int, int>>& pairs) {
    QStringList texts;
    for (const auto& [q, d] : pairs)
        texts << QStringLiteral("%1x%2").arg(q).arg(d);
    return texts.join(u' ');
}

// Eight known pairs of quotient 3, more than the six places need.
const QString kEightKnown = QStringLiteral("3x2:k 3x3:k 3x4:k 3x5:k 3x6:k 3x7:k 3x8:k 3x9:k");

} // namespace

void PracticeTest::selection_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QString>("targets");
    QTest::addColumn<QString>("fills"); // the pairs that fill in, any order; empty: known pairs at random
    const struct {
        const char* name;
        int level;
        QString answers;
        const char* targets;
        const char* fills;
    } rows[] = {
        {"no answers: unseen row by row", 1, QString(), "2x2 2x3", "2x4 2x5 2x6 2x7 2x8 2x9"},
        {"weak first, the latest first", 1, QStringLiteral("7x5:w 3x4:l 9x9:w ") + kEightKnown, "9x9 7x5",
         ""},
        {"weak by time is weak", 1, QStringLiteral("4x4:l 6x6:t ") + kEightKnown, "6x6 4x4", ""},
        {"learning before unseen", 1, QStringLiteral("6x7:l 3x4:w 3x4:k ") + kEightKnown, "6x7 2x2", ""},
        {"an old wrong answer no longer counts", 1, QStringLiteral("5x5:w 5x5:k 8x8:l ") + kEightKnown,
         "8x8 2x2", ""},
        {"few known: each once, then by priority", 1, QStringLiteral("8x8:w 9x9:k 9x8:k 9x7:k 4x4:l"),
         "8x8 4x4", "2x2 2x3 2x4"},
        {"six known exactly", 1, QStringLiteral("7x7:w 9x9:k 9x8:k 9x7:k 9x6:k 9x5:k 9x4:k"), "7x7 2x2", ""},
        {"only pairs the level asks", 4, QStringLiteral("2x3:w 7x8:w 9x9:k"), "7x8 4x8",
         "4x9 5x7 5x8 5x9 6x6"},
        {"level 2 with remainders", 2, QStringLiteral("9x2:l 2x2:w 3x3:k"), "2x2 9x2", "2x3 2x4 2x5 2x6 2x7"},
    };
    for (const auto& row : rows)
        QTest::newRow(row.name) << row.level << row.answers << QString::fromLatin1(row.targets)
                                << QString::fromLatin1(row.fills);
}

void PracticeTest::selection() {
    QFETCH(int, level);
    QFETCH(QString, answers);
    QFETCH(QString, targets);
    QFETCH(QString, fills);
    const PracticeBasis basis = basisOf(level, answers);
    const auto drawn = drawnFacts(basis.map);
    std::set<QString> sheets;
    // Seeds 0..299 shuffled; the last few sheets in the fixed arrangement.
    for (int seed = 0; seed < 310; ++seed) {
        RandomSource random;
        random.seed(static_cast<quint64>(seed));
        const PracticeSheet sheet(basis, random, seed < 300 ? PracticeSheet::kArrangementTries : 0);
        QCOMPARE(pairsText(sheet.targets()), targets);
        std::vector<test::SheetLine> lines;
        QStringList fillPairs;
        QString text;
        for (const PracticeQuestion& asked : sheet.questions()) {
            const Question& q = asked.question;
            lines.push_back({q.dividend(), q.divisor, q.quotient, q.remainder, practiceRoleName(asked.role)});
            if (asked.role == PracticeRole::Fill)
                fillPairs << QStringLiteral("%1x%2").arg(q.quotient).arg(q.divisor);
            text += QStringLiteral("%1x%2 ").arg(q.quotient).arg(q.divisor);
        }
        const QString broken = test::practiceRuleBreak(lines, levelHasRemainder(level), drawn);
        QVERIFY2(broken.isEmpty(), qPrintable(QStringLiteral("seed %1: %2: %3").arg(seed).arg(broken, text)));
        fillPairs.sort();
        QCOMPARE(fillPairs.join(u' '), fills);
        sheets.insert(text);
    }
    QVERIFY(sheets.size() > 20); // the places are drawn, not fixed
}

void PracticeTest::extras() {
    const PracticeBasis basis = basisOf(1, QStringLiteral("7x5:w 3x4:l ") + kEightKnown);
    for (int seed = 0; seed < 50; ++seed) {
        RandomSource random;
        random.seed(static_cast<quint64>(seed));
        PracticeSheet sheet(basis, random);
        // Every question of the ten answered wrong, then the extras too.
        for (size_t k = 0; k < sheet.questions().size(); ++k) {
            const PracticeQuestion asked = sheet.questions()[k];
            const bool firstWrongOfTarget =
                asked.role == PracticeRole::Target && !asked.extra &&
                std::none_of(sheet.questions().begin(), sheet.questions().begin() + static_cast<ptrdiff_t>(k),
                             [&](const PracticeQuestion& before) {
                                 return before.question.quotient == asked.question.quotient &&
                                        before.question.divisor == asked.question.divisor;
                             });
            QCOMPARE(sheet.answeredWrong(k, random), firstWrongOfTarget);
        }
        const auto& questions = sheet.questions();
        QCOMPARE(questions.size(), size_t(12));
        for (size_t k = 10; k < 12; ++k) {
            QVERIFY(questions[k].extra);
            QCOMPARE(questions[k].role, PracticeRole::Target);
            QVERIFY(questions[k].question.quotient != questions[k - 1].question.quotient ||
                    questions[k].question.divisor != questions[k - 1].question.divisor);
        }
        // The first target answered wrong comes back first.
        const auto first = std::find_if(questions.begin(), questions.end(), [](const PracticeQuestion& q) {
            return q.role == PracticeRole::Target;
        });
        QCOMPARE(questions[10].question.quotient, first->question.quotient);
    }
}

void PracticeTest::outcome() {
    // 7x5 two quick right answers (learning), 4x4 weak, 2x2 unseen.
    PracticeBasis basis = basisOf(1, QStringLiteral("7x5:k 4x4:w ") + kEightKnown);
    basis.answers.erase(basis.answers.begin()); // 7x5 now has two answers: learning
    basis.map = buildFactMap(basis.answers, 1);
    RandomSource random;
    PracticeSheet sheet(basis, random);
    QCOMPARE(pairsText(sheet.targets()), QStringLiteral("4x4 7x5"));
    DrillLog done;
    int number = 0;
    for (const PracticeQuestion& asked : sheet.questions()) {
        AskedQuestion answer;
        answer.number = ++number;
        answer.question = asked.question;
        const bool fourByFour = asked.question.quotient == 4;
        // 4x4 wrong, then right; everything else right in 2 s.
        const bool right = !fourByFour || number > 5 ||
                           std::count_if(done.questions.begin(), done.questions.end(),
                                         [](const AskedQuestion& a) { return a.question.quotient == 4; }) > 0;
        answer.typedQuotient = QString::number(right ? asked.question.quotient : 5);
        answer.correct = right;
        answer.ms = fourByFour ? 9000 : 2000;
        done.questions.push_back(answer);
    }
    const PracticeOutcome outcome = practiceOutcome(basis, sheet, done);
    QCOMPARE(outcome.targets.size(), size_t(2));
    QCOMPARE(outcome.targets[0].answers.size(), size_t(2));
    QCOMPARE(outcome.targets[0].answers[0].correct, false);
    QCOMPARE(outcome.targets[0].answers[0].typed, QStringLiteral("5"));
    QCOMPARE(outcome.targets[0].answers[1].ms, qint64(9000));
    QCOMPARE(outcome.targets[1].answers.size(), size_t(2));
    // 7x5 became known; 4x4 is still weak (a wrong answer among its last three); the known pairs stay.
    QCOMPARE(outcome.risen.size(), size_t(1));
    QCOMPARE(outcome.risen[0].quotient, 7);
    QCOMPARE(outcome.risen[0].before, FactState::Learning);
    QCOMPARE(outcome.risen[0].after, FactState::Known);
}

QTEST_GUILESS_MAIN(PracticeTest)
#include "tst_practice.moc"
