#include "roster/grade.h"
#include "roster/pupil_list.h"
#include "roster/roster_file.h"

#include <QtTest>
#include <memory>

using namespace warizan;

namespace {

constexpr int kBaseYear = 2023;

RosterEntry entry(int number, int birthYear, const QString& name, int status = 0) {
    RosterEntry e;
    e.number = number;
    e.birthYear = birthYear;
    e.name = fixedWidthText(name, kRosterTextWidth);
    e.status = status;
    return e;
}

int birthYearOf(int offset) {
    return kBaseYear - 6 - offset;
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
    void statusRules_data();
    void statusRules();
    void numbersOutsideTheTablesAreNotListed_data();
    void numbersOutsideTheTablesAreNotListed();
    void fillsPupilTables();
};

void PupilListTest::lineLayout_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("countToday");
    QTest::addColumn<qint64>("pointsToday");
    QTest::addColumn<qint64>("countTotal");
    QTest::addColumn<qint64>("pointsTotal");
    QTest::addColumn<QString>("line");
    QTest::newRow("runs of a third grader") << 0 << 3 << "たろう" << 12.0 << qint64(0) << qint64(345)
                                            << qint64(0) << "小3 たろう　　　 12回/  345回";
    QTest::newRow("no runs at all") << 0 << 3 << "たろう" << 0.0 << qint64(0) << qint64(0) << qint64(0)
                                    << "小3 たろう　　　     /     　";
    QTest::newRow("today's runs keep three characters")
        << 0 << 3 << "たろう" << 1234.0 << qint64(0) << qint64(1234567) << qint64(0)
        << "小3 たろう　　　234回/34567回";
    QTest::newRow("pre-school name column is wider") << 0 << 0 << "はなこ" << 1.0 << qint64(0) << qint64(1)
                                                     << qint64(0) << "幼3 はなこ　　　　　  1回/    1回";
    QTest::newRow("points of today and in all") << 1 << 3 << "たろう" << 0.0 << qint64(55) << qint64(0)
                                                << qint64(1234) << "小3 たろう　　　  55/   1234";
    QTest::newRow("points keep the narrow column for pre-school")
        << 1 << -3 << "じろう" << 0.0 << qint64(0) << qint64(0) << qint64(0)
        << "幼- じろう　　　  　/       ";
    QTest::newRow("points in all keep seven characters")
        << 1 << 7 << "たろう" << 0.0 << qint64(9) << qint64(0) << qint64(123456789)
        << "中1 たろう　　　   9/3456789";
    QTest::newRow("today's points and runs")
        << 2 << 13 << "ちち" << 3.0 << qint64(150) << qint64(0) << qint64(0) << "大+ ちち　　　　 150/  3回";
    QTest::newRow("points and runs in all") << 3 << -1 << "いもうと" << 0.0 << qint64(0) << qint64(20)
                                            << qint64(4000) << "幼2 いもうと　　　　   4000/   20回";
    QTest::newRow("name filling the column") << 0 << 3 << "ゆうたろうく" << 0.0 << qint64(0) << qint64(0)
                                             << qint64(0) << "小3 ゆうたろうく     /     　";
    QTest::newRow("name too long for the column is cut")
        << 0 << 3 << "ゆうたろうくん" << 0.0 << qint64(0) << qint64(0) << qint64(0)
        << "小3 ゆうたろうく     /     　";
    QTest::newRow("pre-school name of eight fills the column")
        << 0 << 0 << "あいうえおかきくけ" << 0.0 << qint64(0) << qint64(0) << qint64(0)
        << "幼3 あいうえおかきく     /     　";
    QTest::newRow("blanks around the name dropped, full-width kept")
        << 0 << 3 << "  　はな" << 0.0 << qint64(0) << qint64(0) << qint64(0)
        << "小3 　はな　　　     /     　";
    QTest::newRow("a star in the name cannot pose as the key's separator")
        << 0 << 3 << "た*ろう" << 0.0 << qint64(0) << qint64(0) << qint64(0)
        << "小3 た＊ろう　　     /     　";
}

void PupilListTest::lineLayout() {
    QFETCH(int, mode);
    QFETCH(int, offset);
    QFETCH(QString, name);
    QFETCH(double, countToday);
    QFETCH(qint64, pointsToday);
    QFETCH(qint64, countTotal);
    QFETCH(qint64, pointsTotal);
    QFETCH(QString, line);
    const PupilFigureSums sums{countToday, pointsToday, countTotal, pointsTotal};
    QCOMPARE(pupilListText(entry(1, birthYearOf(offset), name), offset, mode, sums), line);
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
    QTest::newRow("half-width digit is no entry") << "小1" << QList<int>{};
    QTest::newRow("senior high is no entry") << "高１" << QList<int>{};
}

void PupilListTest::gradeFilter() {
    QFETCH(QString, filter);
    QFETCH(QList<int>, offsets);
    auto state = freshState();
    std::vector<RosterEntry> roster;
    for (int offset = -4; offset <= 13; ++offset)
        roster.push_back(entry(100 + offset, birthYearOf(offset), QStringLiteral("こ")));
    for (int mode = 0; mode <= 3; ++mode) {
        const PupilList list = buildPupilList(*state, roster, mode, filter);
        QList<int> listed;
        for (int number : keyNumbers(list))
            listed.append(number - 100);
        QCOMPARE(listed, offsets);
        QCOMPARE(list.visible.size(), list.keys.size() + 1);
        QCOMPARE(list.visible.first(), QStringLiteral("－－－－－－"));
        QCOMPARE(list.listedCount, 18);
    }
}

void PupilListTest::ordersOldestFirstWithParallelKeys() {
    auto state = freshState();
    state->figures.todayCount.at(2, 7) = 1;
    state->figures.totalCount.at(1, 7) = 4;
    state->figures.totalCount.at(35, 7) = 5;
    const std::vector<RosterEntry> roster = {
        entry(7, 2016, QStringLiteral("たろう")), entry(3, 1980, QStringLiteral("ちち")),
        entry(5, 2016, QStringLiteral("あき")), entry(4, 2019, QStringLiteral("まご"))};
    const PupilList list = buildPupilList(*state, roster, 0, QStringLiteral("全学年"));
    QCOMPARE(list.visible,
             QStringList({QStringLiteral("－－－－－－"), QStringLiteral("大+ ちち　　　　     /     　"),
                          QStringLiteral("小1 あき　　　　     /     　"),
                          QStringLiteral("小1 たろう　　　  1回/    9回"),
                          QStringLiteral("幼1 まご　　　　　　     /     　")}));
    QCOMPARE(keyNumbers(list), QList<int>({3, 5, 7, 4}));
    for (qsizetype k = 0; k < list.keys.size(); ++k)
        QCOMPARE(list.keys.at(k), list.visible.at(k + 1) + u'*' + QString::number(keyNumbers(list).at(k)));

    // Nobody in the roster: the placeholder alone.
    const PupilList empty = buildPupilList(*state, {}, 0, QStringLiteral("全学年"));
    QCOMPARE(empty.visible, QStringList{QStringLiteral("－－－－－－")});
    QVERIFY(empty.keys.isEmpty());
}

void PupilListTest::statusRules_data() {
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("showInactive");
    QTest::addColumn<bool>("listed");
    QTest::newRow("active") << 0 << 0 << true;
    QTest::newRow("inactive, hidden") << 2 << 0 << false;
    QTest::newRow("inactive, shown") << 2 << 1 << true;
    QTest::newRow("other status, shown setting") << 1 << 1 << false;
    QTest::newRow("other status") << 3 << 0 << false;
    QTest::newRow("negative status") << -2 << 1 << false;
}

void PupilListTest::statusRules() {
    QFETCH(int, status);
    QFETCH(int, showInactive);
    QFETCH(bool, listed);
    auto state = freshState(showInactive);
    const std::vector<RosterEntry> roster = {entry(1, 2016, QStringLiteral("いち")),
                                             entry(2, 2015, QStringLiteral("に"), status),
                                             entry(3, 2014, QStringLiteral("さん"))};
    const PupilList list = buildPupilList(*state, roster, 1, QStringLiteral("全学年"));
    QCOMPARE(keyNumbers(list), listed ? QList<int>({3, 2, 1}) : QList<int>({3, 1}));
    QCOMPARE(list.listedCount, listed ? 3 : 2);
    // An entry that is not listed gives its position to the next one...
    QCOMPARE(state->roster.rosterPupilNumber[2], qint16(listed ? 2 : 3));
    QCOMPARE(state->roster.entries[2].number, listed ? 2 : 3);
    QCOMPARE(state->roster.entries[2].status, listed ? status : 0);
    // ...but its name and birth year are known all the same.
    QCOMPARE(state->roster.pupilName[2], fixedWidthText(QStringLiteral("に"), 20));
    QCOMPARE(state->roster.pupilBirthYear[2], qint16(2015));
}

void PupilListTest::numbersOutsideTheTablesAreNotListed_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("birthYear");
    QTest::addColumn<bool>("listed");
    QTest::newRow("pupil 0") << 0 << 2015 << true;
    QTest::newRow("pupil 5000") << 5000 << 2015 << true;
    QTest::newRow("pupil 5001") << 5001 << 2015 << false;
    QTest::newRow("negative pupil") << -1 << 2015 << false;
    QTest::newRow("pupil beyond 16 bits") << 70000 << 2015 << false;
    QTest::newRow("birth year beyond 16 bits") << 10 << 40000 << false;
}

void PupilListTest::numbersOutsideTheTablesAreNotListed() {
    QFETCH(int, number);
    QFETCH(int, birthYear);
    QFETCH(bool, listed);
    auto state = freshState();
    const std::vector<RosterEntry> roster = {entry(number, birthYear, QStringLiteral("よそ")),
                                             entry(1, 2016, QStringLiteral("いち"))};
    const PupilList list = buildPupilList(*state, roster, 0, QStringLiteral("全学年"));
    QCOMPARE(keyNumbers(list), listed ? QList<int>({number, 1}) : QList<int>({1}));
    QCOMPARE(state->roster.rosterPupilNumber[1], qint16(listed ? number : 1));
    if (!listed && isPupilNumber(number))
        QCOMPARE(state->roster.pupilName[number], QString());
}

void PupilListTest::fillsPupilTables() {
    auto state = freshState();
    state->roster.pupilGradeLabel[8] = QStringLiteral("前の");
    state->roster.pupilName[9] = QStringLiteral("もういない人");
    const std::vector<RosterEntry> roster = {entry(6, birthYearOf(0), QStringLiteral("ようじ")),
                                             entry(7, birthYearOf(10), QStringLiteral("こうこう")),
                                             entry(8, birthYearOf(11), QStringLiteral("こうに"))};
    buildPupilList(*state, roster, 0, QStringLiteral("全学年"));
    QCOMPARE(state->roster.pupilGradeLabel[6], QStringLiteral("幼３"));
    QCOMPARE(state->roster.pupilGradeLabel[7], QStringLiteral("高１"));
    QCOMPARE(state->roster.pupilGradeLabel[8], QStringLiteral("前の"));
    QCOMPARE(state->roster.pupilName[6], QStringLiteral("ようじ                 "));
    QCOMPARE(state->roster.pupilBirthYear[7], qint16(2007));
    QCOMPARE(state->roster.pupilName[9], QStringLiteral("もういない人"));
}

QTEST_GUILESS_MAIN(PupilListTest)
#include "tst_pupil_list.moc"
