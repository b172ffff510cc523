#include "roster/grade.h"

#include <QtTest>

using namespace warizan;

class GradeTest final : public QObject {
    Q_OBJECT
private slots:
    void grade_data();
    void grade();
};

void GradeTest::grade_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<int>("birthYear");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("fullWidth"); // empty: none, the stored label is left as it was
    const QDate march(2024, 3, 15), april(2024, 4, 1);
    QTest::newRow("first grade before April") << march << 2016 << "小1" << 1 << "小１";
    QTest::newRow("second grade from April") << april << 2016 << "小2" << 2 << "小２";
    QTest::newRow("far too young") << march << 2020 << "幼-" << -9 << "";
    QTest::newRow("two years before school") << march << 2019 << "幼1" << -8 << "";
    QTest::newRow("last pre-school year") << march << 2017 << "幼3" << -6 << "幼３";
    QTest::newRow("sixth grade") << march << 2011 << "小6" << 6 << "小６";
    QTest::newRow("junior high first") << march << 2010 << "中1" << 1 << "中１";
    QTest::newRow("junior high third") << march << 2008 << "中3" << 3 << "中３";
    QTest::newRow("senior high first") << march << 2007 << "高1" << 1 << "高１";
    QTest::newRow("senior high third") << march << 2005 << "高3" << 3 << "";
    QTest::newRow("beyond school") << march << 2004 << "大+" << 4 << "";
    QTest::newRow("school year ends in December") << QDate(2024, 12, 31) << 2017 << "小1" << 1 << "小１";
}

void GradeTest::grade() {
    QFETCH(QDate, today);
    QFETCH(int, birthYear);
    QFETCH(QString, label);
    QFETCH(int, number);
    QFETCH(QString, fullWidth);
    const int base = gradeBaseYear(today, 4);
    QCOMPARE(base, today.month() < 4 ? 2023 : 2024);
    const int offset = gradeOffset(base, birthYear);
    QCOMPARE(gradeLabel(offset), label);
    QCOMPARE(gradeNumber(offset), number);
    QCOMPARE(pupilGradeLabel(offset).value_or(QString()), fullWidth);
}

QTEST_GUILESS_MAIN(GradeTest)
#include "tst_grade.moc"
