#include "roster/grade.h"

#include <QtTest>

using namespace warizan;

class GradeTest final : public QObject {
    Q_OBJECT
private slots:
    void schoolYear_data();
    void schoolYear();
    void gradeOfOffset_data();
    void gradeOfOffset();
};

void GradeTest::schoolYear_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<int>("startMonth");
    QTest::addColumn<int>("baseYear");
    QTest::newRow("before the school year starts") << QDate(2024, 3, 15) << 4 << 2023;
    QTest::newRow("first day of the school year") << QDate(2024, 4, 1) << 4 << 2024;
    QTest::newRow("last day of the calendar year") << QDate(2024, 12, 31) << 4 << 2024;
    QTest::newRow("school year starting in January") << QDate(2024, 1, 1) << 1 << 2024;
    QTest::newRow("school year starting in September") << QDate(2024, 8, 31) << 9 << 2023;
}

void GradeTest::schoolYear() {
    QFETCH(QDate, today);
    QFETCH(int, startMonth);
    QFETCH(int, baseYear);
    QCOMPARE(gradeBaseYear(today, startMonth), baseYear);
}

void GradeTest::gradeOfOffset_data() {
    QTest::addColumn<int>("baseYear");
    QTest::addColumn<int>("birthYear");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("number");
    QTest::addColumn<bool>("preSchool");
    QTest::addColumn<QString>("fullWidth"); // empty: the stored label is left as it was
    QTest::newRow("first grade before April") << 2023 << 2016 << 1 << "小1" << 1 << false << "小１";
    QTest::newRow("second grade from April") << 2024 << 2016 << 2 << "小2" << 2 << false << "小２";
    QTest::newRow("far too young") << 2023 << 2020 << -3 << "幼-" << -9 << true << "";
    QTest::newRow("two years before school") << 2023 << 2019 << -2 << "幼1" << -8 << true << "";
    QTest::newRow("one year before school") << 2023 << 2018 << -1 << "幼2" << -7 << true << "";
    QTest::newRow("last pre-school year") << 2023 << 2017 << 0 << "幼3" << -6 << true << "幼３";
    QTest::newRow("sixth grade") << 2023 << 2011 << 6 << "小6" << 6 << false << "小６";
    QTest::newRow("junior high first") << 2023 << 2010 << 7 << "中1" << 1 << false << "中１";
    QTest::newRow("junior high third") << 2023 << 2008 << 9 << "中3" << 3 << false << "中３";
    QTest::newRow("senior high first") << 2023 << 2007 << 10 << "高1" << 1 << false << "高１";
    QTest::newRow("senior high second") << 2023 << 2006 << 11 << "高2" << 2 << false << "";
    QTest::newRow("senior high third") << 2023 << 2005 << 12 << "高3" << 3 << false << "";
    QTest::newRow("beyond school") << 2023 << 2004 << 13 << "大+" << 4 << false << "";
    QTest::newRow("birth year never entered") << 2023 << 0 << 2017 << "大+" << 2008 << false << "";
}

void GradeTest::gradeOfOffset() {
    QFETCH(int, baseYear);
    QFETCH(int, birthYear);
    QFETCH(int, offset);
    QFETCH(QString, label);
    QFETCH(int, number);
    QFETCH(bool, preSchool);
    QFETCH(QString, fullWidth);
    QCOMPARE(gradeOffset(baseYear, birthYear), offset);
    QCOMPARE(gradeLabel(offset), label);
    QCOMPARE(gradeLabel(offset).size(), 2);
    QCOMPARE(gradeNumber(offset), number);
    QCOMPARE(isPreSchool(offset), preSchool);
    QCOMPARE(pupilGradeLabel(offset).value_or(QString()), fullWidth);
}

QTEST_GUILESS_MAIN(GradeTest)
#include "tst_grade.moc"
