#include "roster/pupil_list.h"
#include "roster/roster_file.h"

#include <QtTest>
#include <memory>

using namespace warizan;

namespace {

constexpr int kBaseYear = 2023;

RosterEntry entry(int number, int offset, const QString& name, int status = 0) {
    RosterEntry e;
    e.number = number;
    e.birthYear = kBaseYear - 6 - offset;
    e.name = fixedWidthText(name, kRosterTextWidth);
    e.status = status;
    return e;
}

QList<int> keyNumbers(const PupilList& list) {
    QList<int> numbers;
    for (const QString& key : list.keys)
        numbers.append(pupilNumberOfKey(key));
    return numbers;
}

std::unique_ptr<ProgramState> freshState(int showInactive = 0) {
    auto state = std::make_unique<ProgramState>();
    state->roster.gradeBaseYear = kBaseYear;
    state->config.showInactivePupils = showInactive;
    return state;
}

} // namespace

class PupilListTest final : public QObject {
    Q_OBJECT
private slots:
    void lineLayout_data();
    void lineLayout();
    void gradeFilter_data();
    void gradeFilter();
    void ordersOldestFirstWithParallelKeys();
    void listedEntries_data();
    void listedEntries();
};

void PupilListTest::lineLayout_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QList<qint64>>("sums"); // runs and points today, runs and points in all
    QTest::addColumn<QString>("line");
    using S = QList<qint64>;
    QTest::newRow("third grader") << 0 << 3 << "たろう" << S{12, 0, 345, 0}
                                  << "小3 たろう　　　 12回/  345回";
    QTest::newRow("no runs at all") << 0 << 3 << "たろう" << S{0, 0, 0, 0} << "小3 たろう　　　     /     　";
    QTest::newRow("last characters") << 0 << 3 << "たろう" << S{1234, 0, 123456, 0}
                                     << "小3 たろう　　　234回/23456回";
    QTest::newRow("pre-school") << 0 << 0 << "はなこ" << S{1, 0, 1, 0} << "幼3 はなこ　　　　　  1回/    1回";
    QTest::newRow("points") << 1 << 3 << "たろう" << S{0, 55, 0, 1234} << "小3 たろう　　　  55/   1234";
    QTest::newRow("points, pre-school")
        << 1 << -3 << "じろう" << S{0, 0, 0, 0} << "幼- じろう　　　  　/       ";
    QTest::newRow("points past 7 digits")
        << 1 << 7 << "たろう" << S{0, 9, 0, 123456789} << "中1 たろう　　　   9/3456789";
    QTest::newRow("today") << 2 << 13 << "ちち" << S{3, 150, 0, 0} << "大+ ちち　　　　 150/  3回";
    QTest::newRow("in all") << 3 << -1 << "いもうと" << S{0, 0, 20, 4000}
                            << "幼2 いもうと　　　　   4000/   20回";
    QTest::newRow("long name cut") << 0 << 3 << "ゆうたろうくん" << S{0, 0, 0, 0}
                                   << "小3 ゆうたろうく     /     　";
    QTest::newRow("blanks trimmed") << 0 << 3 << "  　はな" << S{0, 0, 0, 0}
                                    << "小3 　はな　　　     /     　";
    QTest::newRow("star in the name")
        << 0 << 3 << "た*ろう" << S{0, 0, 0, 0} << "小3 た＊ろう　　     /     　";
}

void PupilListTest::lineLayout() {
    QFETCH(int, mode);
    QFETCH(int, offset);
    QFETCH(QString, name);
    QFETCH(QList<qint64>, sums);
    QFETCH(QString, line);
    auto state = freshState();
    state->figures.todayCount.at(35, 1) = float(sums[0]);
    state->figures.todayPoints.at(1, 1) = qint32(sums[1]);
    for (int level = 1; level <= 35; ++level) // runs in all beyond one level's 16 bits
        state->figures.totalCount.at(level, 1) =
            qint16(std::clamp<qint64>(sums[2] - 30000 * (level - 1), 0, 30000));
    state->figures.totalPoints.at(4, 1) = qint32(sums[3]);
    const PupilList list = buildPupilList(*state, {entry(1, offset, name)}, mode, QStringLiteral("全学年"));
    QCOMPARE(list.visible, QStringList({QStringLiteral("－－－－－－"), line}));
    QCOMPARE(list.keys, QStringList{line + QStringLiteral("*1")});
}

void PupilListTest::gradeFilter_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QList<int>>("offsets"); // listed, oldest first
    QList<int> everybody;
    for (int offset = 13; offset >= -4; --offset)
        everybody.append(offset);
    QTest::newRow("全学年") << "全学年" << everybody;
    QTest::newRow("filter box not filled yet") << "" << everybody;
    QTest::newRow("中学生全体") << "中学生全体" << QList<int>{9, 8, 7};
    QTest::newRow("小学生全体") << "小学生全体" << QList<int>{6, 5, 4, 3, 2, 1};
    const QString digits = QStringLiteral("１２３４５６");
    for (int grade = 3; grade >= 1; --grade)
        QTest::addRow("中%d", grade) << QStringLiteral("中") + digits.at(grade - 1) << QList<int>{grade + 6};
    for (int grade = 6; grade >= 1; --grade)
        QTest::addRow("小%d", grade) << QStringLiteral("小") + digits.at(grade - 1) << QList<int>{grade};
    QTest::newRow("half-width digit, as typed on a keyboard") << "小1" << QList<int>{1};
    QTest::newRow("half-width digit, junior high") << "中3" << QList<int>{9};
    QTest::newRow("no such entry") << "高１" << QList<int>{};
}

void PupilListTest::gradeFilter() {
    QFETCH(QString, filter);
    QFETCH(QList<int>, offsets);
    auto state = freshState();
    std::vector<RosterEntry> roster;
    for (int offset = -4; offset <= 13; ++offset)
        roster.push_back(entry(100 + offset, offset, QStringLiteral("こ")));
    for (int mode = 0; mode <= 3; ++mode) {
        const PupilList list = buildPupilList(*state, roster, mode, filter);
        QList<int> listed;
        for (int number : keyNumbers(list))
            listed.append(number - 100);
        QCOMPARE(listed, offsets);
        QCOMPARE(list.visible.size(), list.keys.size() + 1);
        QCOMPARE(list.visible.first(), QStringLiteral("－－－－－－"));
    }
}

void PupilListTest::ordersOldestFirstWithParallelKeys() {
    auto state = freshState();
    state->roster.pupilGradeLabel[7] = QStringLiteral("前の");
    const std::vector<RosterEntry> roster = {
        entry(7, 11, QStringLiteral("たろう")), entry(3, 43, QStringLiteral("ちち")),
        entry(5, 11, QStringLiteral("あき")), entry(4, -2, QStringLiteral("まご"))};
    const PupilList list = buildPupilList(*state, roster, 0, QStringLiteral("全学年"));
    QCOMPARE(keyNumbers(list), QList<int>({3, 5, 7, 4}));
    QCOMPARE(list.visible.at(2), QStringLiteral("高2 あき　　　　     /     　"));
    for (qsizetype k = 0; k < list.keys.size(); ++k)
        QCOMPARE(list.keys.at(k), list.visible.at(k + 1) + u'*' + QString::number(keyNumbers(list).at(k)));
    // Grades without a full-width label leave the stored one alone.
    QCOMPARE(state->roster.pupilGradeLabel[7], QStringLiteral("前の"));

    const PupilList empty = buildPupilList(*state, {}, 0, QStringLiteral("全学年"));
    QCOMPARE(empty.visible, QStringList{QStringLiteral("－－－－－－")});
}

void PupilListTest::listedEntries_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("showInactive");
    QTest::addColumn<bool>("listed");
    QTest::addColumn<bool>("named"); // its name reaches the pupil tables
    QTest::newRow("active") << 2 << 0 << 0 << true << true;
    QTest::newRow("inactive, hidden") << 2 << 2 << 0 << false << true;
    QTest::newRow("inactive, shown") << 2 << 2 << 1 << true << true;
    QTest::newRow("other status") << 2 << 1 << 1 << false << true;
    QTest::newRow("negative status") << 2 << -2 << 0 << false << true;
    QTest::newRow("pupil 0") << 0 << 0 << 0 << true << true;
    QTest::newRow("pupil 5000") << 5000 << 0 << 0 << true << true;
    QTest::newRow("pupil 5001") << 5001 << 0 << 0 << false << false;
    QTest::newRow("negative pupil") << -1 << 0 << 0 << false << false;
}

void PupilListTest::listedEntries() {
    QFETCH(int, number);
    QFETCH(int, status);
    QFETCH(int, showInactive);
    QFETCH(bool, listed);
    QFETCH(bool, named);
    auto state = freshState(showInactive);
    const std::vector<RosterEntry> roster = {entry(1, 1, QStringLiteral("いち")),
                                             entry(number, 2, QStringLiteral("に"), status),
                                             entry(3, 3, QStringLiteral("さん"))};
    const PupilList list = buildPupilList(*state, roster, 1, QStringLiteral("全学年"));
    QCOMPARE(keyNumbers(list), listed ? QList<int>({3, number, 1}) : QList<int>({3, 1}));
    // An entry that is not listed gives its position to the next one.
    QCOMPARE(list.listedCount, listed ? 3 : 2);
    QCOMPARE(state->roster.rosterPupilNumber[2], qint16(listed ? number : 3));
    QCOMPARE(state->roster.entries[2].status, listed ? status : 0);
    if (named) {
        QCOMPARE(state->roster.pupilName[number], fixedWidthText(QStringLiteral("に"), 20));
        QCOMPARE(state->roster.pupilBirthYear[number], qint16(kBaseYear - 8));
        QCOMPARE(state->roster.pupilGradeLabel[number], QStringLiteral("小２"));
    }
}

QTEST_GUILESS_MAIN(PupilListTest)
#include "tst_pupil_list.moc"
