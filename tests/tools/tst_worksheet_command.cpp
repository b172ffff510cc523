#include "system_files.h"
#include "test_support.h"

#include <QProcess>
#include <QtTest>

using namespace warizan;

// The data tool's practice sheet, run as a real process on a real suite folder.
class WorksheetCommandTest final : public QObject {
    Q_OBJECT
private slots:
    void printsASheet_data();
    void printsASheet();
    void refusesBadValues_data();
    void refusesBadValues();
    void writesTheSheetAndItsAnswersAsPdf();
};

namespace {
struct Run {
    int code;
    QString out;
    QString err;
};
Run worksheet(const test::TempSuite& suite, const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(DATA_TOOL),
                  QStringList{"worksheet", "--program-folder", suite.programFolder()} + args);
    if (!process.waitForFinished(60000))
        return {-1, {}, {}};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}
} // namespace

void WorksheetCommandTest::printsASheet_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("count");
    QTest::newRow("level 1, twenty by default") << 1 << QStringList{"--seed", "7"} << 20;
    QTest::newRow("level 4, five") << 4 << QStringList{"--count", "5", "--seed", "7"} << 5;
    QTest::newRow("level 2 without a seed") << 2 << QStringList{"--count", "50"} << 50;
}

void WorksheetCommandTest::printsASheet() {
    QFETCH(int, level);
    QFETCH(QStringList, options);
    QFETCH(int, count);
    test::TempSuite suite;
    const QStringList args = QStringList{"--level", QString::number(level)} + options;
    const Run run = worksheet(suite, args);
    QCOMPARE(run.code, 0);
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), count);
    int previousQuotient = 0;
    int previousDivisor = 0;
    for (const QString& line : lines) {
        const QStringList f = line.split(u'\t');
        QCOMPARE(f.size(), 4);
        const int dividend = f[0].toInt(), divisor = f[1].toInt(), quotient = f[2].toInt(),
                  remainder = f[3].toInt();
        QCOMPARE(dividend, quotient * divisor + remainder);
        QVERIFY(remainder >= 0 && remainder < divisor);
        QVERIFY(quotient != previousQuotient && divisor != previousDivisor);
        QCOMPARE(remainder == 0 || level > 1, true);
        previousQuotient = quotient;
        previousDivisor = divisor;
    }
    if (options.contains(QStringLiteral("--seed")))
        QCOMPARE(worksheet(suite, args).out, run.out);
}

void WorksheetCommandTest::refusesBadValues_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("named");
    QTest::newRow("level 0") << QStringList{"--level", "0"} << "--level";
    QTest::newRow("level 5") << QStringList{"--level", "5"} << "--level";
    QTest::newRow("no level") << QStringList{} << "level";
    QTest::newRow("count 0") << QStringList{"--level", "2", "--count", "0"} << "--count";
    QTest::newRow("count not a number") << QStringList{"--level", "2", "--count", "x"} << "--count";
    QTest::newRow("seed not a number") << QStringList{"--level", "2", "--seed", "-1"} << "--seed";
}

void WorksheetCommandTest::refusesBadValues() {
    QFETCH(QStringList, args);
    QFETCH(QString, named);
    test::TempSuite suite;
    const Run run = worksheet(suite, args);
    QCOMPARE(run.code, 2);
    QVERIFY2(run.err.contains(named), qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
}

void WorksheetCommandTest::writesTheSheetAndItsAnswersAsPdf() {
    test::TempSuite suite;
    const QString pdf = suite.root() + "/練習 プリント.pdf";
    const QStringList args{"--level", "3", "--count", "25", "--seed", "11"};
    const Run run = worksheet(suite, args + QStringList{"--pdf", pdf});
    QCOMPARE(run.code, 0);
    QVERIFY(run.out.isEmpty());
    QVERIFY(test::readBytes(pdf).startsWith("%PDF"));

    // Two pages of questions and two of answers, each question in the drill's layout.
    if (const QString why = test::cannotRunLinuxTools(); !why.isEmpty())
        QSKIP(qPrintable(why));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {"-layout", pdf, "-"});
    QVERIFY(text.waitForFinished(60000));
    const QString pages = QString::fromUtf8(text.readAllStandardOutput());
    const QStringList sheets = pages.split(u'\f', Qt::SkipEmptyParts);
    QCOMPARE(sheets.size(), 4);
    QVERIFY(!sheets[0].contains("こたえ") && sheets[2].contains("こたえ"));
    QVERIFY(sheets[0].contains("あまり"));
    for (const QString& line : worksheet(suite, args).out.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.split(u'\t');
        QVERIFY2(pages.contains(QStringLiteral("%1 ÷ %2 =").arg(f[0].toInt(), 2).arg(f[1])), qPrintable(line));
    }
}

QTEST_GUILESS_MAIN(WorksheetCommandTest)
#include "tst_worksheet_command.moc"
