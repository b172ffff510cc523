#include "answers/answer_database.h"
#include "system_files.h"
#include "test_support.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>
#include <algorithm>
#include <map>
#include <set>

using namespace warizan;

namespace {

// The week's lines worked out from the drills as they were written, by the rules a parent reads: the week
// runs Monday to Sunday, a drill's answers belong to the day it started, the median of an even count is the
// lower middle value, a pair is known when its last three answers are right within 6 seconds each and weak
// when one of them is wrong or their median is over 15 seconds.
QStringList expectedLines(std::vector<DrillLog> drills, int pupil, const QDate& day) {
    std::stable_sort(drills.begin(), drills.end(),
                     [](const DrillLog& a, const DrillLog& b) { return a.start < b.start; });
    std::erase_if(drills, [&](const DrillLog& d) { return d.pupil != pupil; });
    const QDate monday = day.addDays(1 - day.dayOfWeek());
    const auto inWeek = [](const DrillLog& d, const QDate& from) {
        return d.start.date() >= from && d.start.date() < from.addDays(7);
    };
    const auto median = [](std::vector<qint64> times) {
        if (times.empty())
            return QString();
        std::sort(times.begin(), times.end());
        return QString::number(times[(times.size() - 1) / 2]);
    };
    struct Counts {
        int answers = 0;
        int wrong = 0;
        QString median;
    };
    const auto counts = [&](const QDate& from) {
        Counts c;
        std::vector<qint64> times;
        for (const DrillLog& d : drills)
            if (inWeek(d, from))
                for (const AskedQuestion& q : d.questions)
                    if (q.correct) {
                        ++c.answers;
                        c.wrong += *q.correct ? 0 : 1;
                        times.push_back(q.ms);
                    }
        c.median = median(times);
        return c;
    };
    // "known", "weak" or another state of every pair, over the drills started before `end`.
    const auto states = [&](const QDate& end) {
        std::map<std::pair<int, int>, std::vector<std::pair<bool, qint64>>> answers;
        for (const DrillLog& d : drills)
            if (d.start.date() < end)
                for (const AskedQuestion& q : d.questions)
                    if (q.correct)
                        answers[{q.question.quotient, q.question.divisor}].push_back({*q.correct, q.ms});
        std::map<std::pair<int, int>, QString> state;
        for (auto& [pair, all] : answers) {
            const std::vector<std::pair<bool, qint64>> last(all.end() - std::min<long>(3, long(all.size())),
                                                            all.end());
            std::vector<qint64> times;
            bool wrong = false;
            bool quick = true;
            for (const auto& [right, ms] : last) {
                times.push_back(ms);
                wrong = wrong || !right;
                quick = quick && ms <= 6000;
            }
            std::sort(times.begin(), times.end());
            const qint64 middle = times.size() == 2 ? (times[0] + times[1]) / 2 : times[times.size() / 2];
            state[pair] = wrong || middle > 15000     ? QStringLiteral("weak")
                          : last.size() == 3 && quick ? QStringLiteral("known")
                                                      : QStringLiteral("learning");
        }
        return state;
    };
    const auto atStart = states(monday);
    const auto atEnd = states(monday.addDays(7));
    QStringList known;
    QStringList weak;
    for (int q = 2; q <= 9; ++q)
        for (int d = 2; d <= 9; ++d) {
            const auto end = atEnd.find({q, d});
            const auto start = atStart.find({q, d});
            if (end != atEnd.end() && end->second == u"known" &&
                (start == atStart.end() || start->second != u"known"))
                known << QStringLiteral("%1,%2").arg(q).arg(d);
            if (end != atEnd.end() && end->second == u"weak")
                weak << QStringLiteral("%1,%2").arg(q).arg(d);
        }
    std::set<QDate> days;
    int drillCount = 0;
    int practiceCount = 0;
    for (const DrillLog& d : drills)
        if (inWeek(d, monday)) {
            days.insert(d.start.date());
            ++(d.kind == DrillKind::Practice ? practiceCount : drillCount);
        }
    const Counts week = counts(monday);
    QStringList lines{QStringLiteral("week\t") + monday.toString(Qt::ISODate),
                      QStringLiteral("days\t%1").arg(days.size()),
                      QStringLiteral("drills\t%1").arg(drillCount),
                      QStringLiteral("practice\t%1").arg(practiceCount),
                      QStringLiteral("answers\t%1").arg(week.answers),
                      QStringLiteral("wrong\t%1").arg(week.wrong),
                      QStringLiteral("median_ms\t") + week.median,
                      QStringLiteral("became_known\t") + known.join(u' '),
                      QStringLiteral("weak\t") + weak.join(u' ')};
    for (auto d = drills.rbegin(); d != drills.rend(); ++d)
        if (inWeek(*d, monday))
            for (auto q = d->questions.rbegin(); q != d->questions.rend(); ++q)
                if (q->correct && !*q->correct)
                    lines << QStringLiteral("missed\t%1\t%2\t%3\t%4\t%5")
                                 .arg(d->start.date().toString(Qt::ISODate))
                                 .arg(q->question.dividend())
                                 .arg(q->question.divisor)
                                 .arg(q->typedQuotient, q->typedRemainder);
    for (int k = 7; k >= 0; --k) {
        const Counts c = counts(monday.addDays(-7 * k));
        lines << QStringLiteral("trend\t%1\t%2\t%3\t%4")
                     .arg(monday.addDays(-7 * k).toString(Qt::ISODate))
                     .arg(c.answers)
                     .arg(c.wrong)
                     .arg(c.median);
    }
    return lines;
}

} // namespace

// The data tool's "week", run as a real process on a family's answer log it has never seen.
class WeekToolTest final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void linesAgreeWithTheDrills_data();
    void linesAgreeWithTheDrills();
    void pdfCarriesTheFiguresAndTheDate();
    void refusesABadDay();

private:
    struct Run {
        int code;
        QByteArray out;
        QByteArray err;
    };
    Run tool(QStringList args, const test::TempSuite* suite = nullptr) const {
        args << QStringLiteral("--program-folder") << (suite ? suite : m_suite.get())->programFolder();
        QProcess process;
        process.start(QStringLiteral(DATA_TOOL), args);
        if (!test::finishedWithin(process, 60000))
            return {-1, {}, {}};
        return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    }
    std::unique_ptr<test::TempSuite> m_suite;
    std::vector<DrillLog> m_drills;
    // The same family moved to a new PC by export and import, where one later drill was logged first.
    std::unique_ptr<test::TempSuite> m_moved;
    std::vector<DrillLog> m_movedDrills;
};

// Two children over ten weeks from Monday 4 March 2024: drills on most days at various hours (some started a
// minute before midnight and answered after it), pairs met again and again, times from under a second to
// twenty seconds, some wrong, the last question of some drills left unanswered when the time ran out.
void WeekToolTest::initTestCase() {
    m_suite = std::make_unique<test::TempSuite>();
    m_suite->writeRoster(QStringLiteral("1,2016,0,0,\"たろう\",0,\"\",\"\"\n"
                                        "2,2013,0,0,\"はなこ\",0,\"\",\"\"\n"));
    QRandomGenerator random(2024);
    std::vector<DrillLog> drills;
    for (int day = 0; day < 70; ++day) {
        for (int pupil = 1; pupil <= 2; ++pupil) {
            if (random.bounded(4) == 0)
                continue;
            const int count = 1 + random.bounded(2);
            for (int n = 0; n < count; ++n) {
                const QTime time = random.bounded(6) == 0 ? QTime(23, 59) : QTime(7 + 6 * n + pupil, 0);
                const QDateTime start(QDate(2024, 3, 4).addDays(day), time);
                DrillRecorder recorder;
                const int level = 1 + random.bounded(4);
                // Now and then a practice sheet, which the week counts apart.
                recorder.start(pupil, level, start,
                               random.bounded(5) == 0 ? DrillKind::Practice : DrillKind::Drill);
                qint64 ms = 0;
                for (int k = 0; k < 8; ++k) {
                    // Few pairs, so that they become known and weak again within the ten weeks.
                    const Question q{2 + random.bounded(3), 2 + random.bounded(3),
                                     level == 1 ? 0 : random.bounded(2)};
                    recorder.questionShown(q, ms);
                    ms += random.bounded(5) == 0 ? 8000 + random.bounded(12000) : 600 + random.bounded(5000);
                    const bool right = random.bounded(6) != 0;
                    recorder.judged(QString::number(right ? q.quotient : q.quotient + 1),
                                    level == 1 ? QString() : QString::number(q.remainder), right, ms);
                }
                if (random.bounded(3) == 0)
                    recorder.questionShown({4, 4, 1}, ms);
                const DrillLog drill = recorder.finish(start.addMSecs(ms + 1000), 99999);
                QVERIFY(keepDrillLog(m_suite->programDataFolder(), drill, drill.end));
                m_drills.push_back(drill);
            }
        }
    }

    // The move: the new PC has logged a drill of its own (after the whole history) before the import.
    const QString csv = m_suite->root() + QStringLiteral("/answers.csv");
    const Run exported = tool({"export", "--answers"});
    QCOMPARE(exported.code, 0);
    QFile file(csv);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(exported.out);
    file.close();
    m_moved = std::make_unique<test::TempSuite>();
    m_moved->writeRoster(QStringLiteral("1,2016,0,0,\"たろう\",0,\"\",\"\"\n"
                                        "2,2013,0,0,\"はなこ\",0,\"\",\"\"\n"));
    DrillRecorder later;
    later.start(1, 2, QDateTime(QDate(2024, 5, 13), QTime(9, 0)));
    later.questionShown({3, 3, 1}, 0);
    later.judged(QStringLiteral("3"), QStringLiteral("1"), true, 2000);
    const DrillLog laterDrill = later.finish(QDateTime(QDate(2024, 5, 13), QTime(9, 1)), 99999);
    QVERIFY(keepDrillLog(m_moved->programDataFolder(), laterDrill, laterDrill.end));
    QCOMPARE(tool({"import", "--answers", csv}, m_moved.get()).code, 0);
    m_movedDrills = m_drills;
    m_movedDrills.push_back(laterDrill);
}

void WeekToolTest::linesAgreeWithTheDrills_data() {
    QTest::addColumn<int>("pupil");
    QTest::addColumn<QString>("day");
    QTest::newRow("a Monday") << 1 << "2024-04-08";
    QTest::newRow("a Sunday") << 1 << "2024-04-14";
    QTest::newRow("a Wednesday, the other child") << 2 << "2024-03-27";
    QTest::newRow("the first week") << 2 << "2024-03-06";
    QTest::newRow("the last week") << 1 << "2024-05-12";
    QTest::newRow("a week after the last drill") << 1 << "2024-05-21";
    QTest::newRow("long before the first drill") << 2 << "2023-12-24";
    QTest::newRow("a child without answers") << 3 << "2024-04-08";
}

void WeekToolTest::linesAgreeWithTheDrills() {
    QFETCH(int, pupil);
    QFETCH(QString, day);
    const Run run = tool({"week", "--pupil", QString::number(pupil), "--week-of", day});
    QCOMPARE(run.code, 0);
    const QStringList lines = QString::fromUtf8(run.out).split(u'\n', Qt::SkipEmptyParts);
    const QStringList expected = expectedLines(m_drills, pupil, QDate::fromString(day, Qt::ISODate));
    QCOMPARE(lines.size(), expected.size());
    for (qsizetype k = 0; k < lines.size(); ++k)
        QCOMPARE(lines[k], expected[k]);
    // The family moved by export and import: the same lines, with the new PC's own drill in its week.
    const Run moved = tool({"week", "--pupil", QString::number(pupil), "--week-of", day}, m_moved.get());
    QCOMPARE(moved.code, 0);
    QCOMPARE(QString::fromUtf8(moved.out).split(u'\n', Qt::SkipEmptyParts),
             expectedLines(m_movedDrills, pupil, QDate::fromString(day, Qt::ISODate)));
    // A family's busy weeks say something: the week of the Monday has answers, pairs and missed questions.
    if (day == u"2024-04-08" && pupil == 1)
        QVERIFY(lines.filter(QStringLiteral("missed\t")).size() > 1 && lines[8].size() > 5);
}

void WeekToolTest::pdfCarriesTheFiguresAndTheDate() {
    if (const QString why = test::cannotRunLinuxTools(); !why.isEmpty())
        QSKIP(qPrintable(why));
    const QString pdf = m_suite->root() + QStringLiteral("/week.pdf");
    const QDate today = QDate::currentDate();
    const Run run = tool({"week", "--pupil", "1", "--week-of", "2024-04-10", "--pdf", pdf});
    QCOMPARE(run.code, 0);
    QVERIFY(run.out.isEmpty());
    if (qEnvironmentVariableIsSet("WARIZAN_KEEP_PDF"))
        QFile::copy(pdf, qEnvironmentVariable("WARIZAN_KEEP_PDF") + QStringLiteral("/week.pdf"));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    QVERIFY(text.waitForFinished(60000));
    // The text read back spells the wave dash of the fonts' own form.
    const QString page =
        QString::fromUtf8(text.readAllStandardOutput()).remove(u' ').replace(QChar(0x301C), QChar(0xFF5E));
    const QStringList lines = expectedLines(m_drills, 1, QDate(2024, 4, 10));
    const QString answers = lines[4].section(u'\t', 1);
    const QString wrong = lines[5].section(u'\t', 1);
    for (const QString& shown :
         {QStringLiteral("今週のまとめ"), QStringLiteral("たろう"),
          QStringLiteral("2024年4月8日（月）～4月14日（日）"), answers + QStringLiteral("問"),
          wrong + QStringLiteral("問"),
          QStringLiteral("作成日：%1年%2月%3日").arg(today.year()).arg(today.month()).arg(today.day())})
        QVERIFY2(page.contains(shown), qPrintable(shown + u'\n' + page));
    QCOMPARE(page.count(u'\f'), 1); // one page
}

void WeekToolTest::refusesABadDay() {
    const Run run = tool({"week", "--pupil", "1", "--week-of", "2024-02-30"});
    QCOMPARE(run.code, 2);
    QVERIFY(QString::fromUtf8(run.err).contains(QStringLiteral("--week-of")));
}

QTEST_GUILESS_MAIN(WeekToolTest)
#include "tst_week_tool.moc"
