#include "answers/week_summary.h"

#include "answers/fact_map.h"

#include <QFileInfo>
#include <algorithm>
#include <set>

namespace warizan {

namespace {

constexpr int kDaysOfWeek = 7;

bool judged(const LoggedAnswer& answer) {
    return answer.correct == 0 || answer.correct == 1;
}

// The drills in the order they started (the log's order already; kept for drills laid out otherwise).
std::vector<const WeekDrill*> inStartOrder(const std::vector<WeekDrill>& drills) {
    std::vector<const WeekDrill*> ordered;
    for (const WeekDrill& drill : drills)
        ordered.push_back(&drill);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const WeekDrill* a, const WeekDrill* b) { return a->start < b->start; });
    return ordered;
}

// The fact map of the judged answers of the drills started before `end` (a day, not included).
FactMap mapBefore(const std::vector<const WeekDrill*>& drills, const QDate& end) {
    std::vector<FactAnswer> answers;
    for (const WeekDrill* drill : drills) {
        if (drill->start.date() >= end)
            continue;
        for (const LoggedAnswer& answer : drill->answers)
            if (judged(answer))
                answers.push_back({static_cast<qint8>(answer.question.quotient),
                                   static_cast<qint8>(answer.question.divisor), answer.correct == 1,
                                   static_cast<qint32>(std::clamp<qint64>(answer.ms, 0, INT32_MAX))});
    }
    return buildFactMap(answers);
}

QString pairsField(const std::vector<FactPair>& pairs) {
    QStringList words;
    for (const FactPair& pair : pairs)
        words << QStringLiteral("%1,%2").arg(pair.quotient).arg(pair.divisor);
    return words.join(u' ');
}

QString medianField(const std::optional<qint64>& ms) {
    return ms ? QString::number(*ms) : QString();
}

// A typed text as one field of a line: a tab or line break (which an imported log may hold) would split the
// line, so it becomes a space.
QString field(QString text) {
    for (QChar& c : text)
        if (c == u'\t' || c == u'\n' || c == u'\r')
            c = u' ';
    return text;
}

QString isoDay(const QDate& day) {
    return day.toString(Qt::ISODate);
}

} // namespace

bool isPracticeDrill(const LoggedAnswer& answer) {
    return answer.kind == DrillKind::Practice;
}

std::vector<WeekDrill> weekDrills(const std::vector<LoggedAnswer>& answers) {
    std::vector<WeekDrill> drills;
    int lastNumber = 0;
    for (const LoggedAnswer& answer : answers) {
        // The rows of one drill share its start and level and number its questions upwards; two drills
        // started in the same second are told apart by the numbering starting again.
        const bool sameDrill = !drills.empty() && drills.back().start == answer.drillStart &&
                               drills.back().level == answer.level && answer.number > lastNumber;
        if (!sameDrill) {
            WeekDrill drill;
            drill.start = answer.drillStart;
            drill.level = answer.level;
            drill.practice = isPracticeDrill(answer);
            drills.push_back(drill);
        }
        WeekDrill& drill = drills.back();
        // The drill's own length from its start to its end, corrections included; the sum of its answers'
        // times only where the end is not known.
        if (answer.drillEnd.isValid() && answer.drillStart.isValid())
            drill.durationMs = std::max<qint64>(0, answer.drillStart.msecsTo(answer.drillEnd));
        else
            drill.durationMs += std::max<qint64>(0, answer.ms);
        drill.answers.push_back(answer);
        lastNumber = answer.number;
    }
    return drills;
}

QDate mondayOf(const QDate& day) {
    return day.addDays(1 - day.dayOfWeek());
}

std::optional<qint64> lowerMedian(std::vector<qint64> values) {
    if (values.empty())
        return std::nullopt;
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>((values.size() - 1) / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

WeekFigures weekFigures(const std::vector<WeekDrill>& drills, const QDate& monday) {
    WeekFigures figures;
    figures.monday = monday;
    const QDate end = monday.addDays(kDaysOfWeek);
    std::set<QDate> days;
    std::vector<qint64> times;
    for (const WeekDrill& drill : drills) {
        const QDate day = drill.start.date();
        if (day < monday || day >= end)
            continue;
        days.insert(day);
        if (drill.practice) {
            ++figures.practice;
        } else {
            ++figures.drills;
            ++figures.drillsByLevel[drill.level];
        }
        figures.ms += drill.durationMs;
        for (const LoggedAnswer& answer : drill.answers) {
            if (!judged(answer))
                continue;
            ++figures.answers;
            figures.wrong += answer.correct == 0 ? 1 : 0;
            times.push_back(answer.ms);
        }
    }
    figures.days = static_cast<int>(days.size());
    figures.medianMs = lowerMedian(std::move(times));
    return figures;
}

WeekSummary summarizeWeek(const std::vector<WeekDrill>& drills, const QDate& day) {
    WeekSummary summary;
    const QDate monday = mondayOf(day);
    summary.week = weekFigures(drills, monday);
    summary.before = weekFigures(drills, monday.addDays(-kDaysOfWeek));
    for (int k = kWeekTrendWeeks - 1; k >= 0; --k)
        summary.trend.push_back(weekFigures(drills, monday.addDays(-kDaysOfWeek * k)));

    const std::vector<const WeekDrill*> ordered = inStartOrder(drills);
    const FactMap atStart = mapBefore(ordered, monday);
    const FactMap atEnd = mapBefore(ordered, monday.addDays(kDaysOfWeek));
    for (int q = kMinFactor; q <= kMaxFactor; ++q) {
        for (int d = kMinFactor; d <= kMaxFactor; ++d) {
            if (atEnd.cell(q, d).state == FactState::Known && atStart.cell(q, d).state != FactState::Known)
                summary.becameKnown.push_back({q, d});
            if (atEnd.cell(q, d).state == FactState::Weak)
                summary.weakAtEnd.push_back({q, d});
        }
    }

    const QDate end = monday.addDays(kDaysOfWeek);
    for (auto drill = ordered.rbegin(); drill != ordered.rend(); ++drill) {
        const QDate started = (*drill)->start.date();
        if (started < monday || started >= end)
            continue;
        const std::vector<LoggedAnswer>& answers = (*drill)->answers;
        for (auto answer = answers.rbegin(); answer != answers.rend(); ++answer)
            if (answer->correct == 0)
                summary.missed.push_back({(*drill)->start, (*drill)->level, answer->question,
                                          answer->typedQuotient, answer->typedRemainder});
    }
    return summary;
}

QStringList weekSummaryLines(const WeekSummary& summary) {
    const WeekFigures& week = summary.week;
    QStringList lines{
        QStringLiteral("week\t") + isoDay(week.monday),
        QStringLiteral("days\t%1").arg(week.days),
        QStringLiteral("drills\t%1").arg(week.drills),
        QStringLiteral("practice\t%1").arg(week.practice),
        QStringLiteral("answers\t%1").arg(week.answers),
        QStringLiteral("wrong\t%1").arg(week.wrong),
        QStringLiteral("median_ms\t") + medianField(week.medianMs),
        QStringLiteral("became_known\t") + pairsField(summary.becameKnown),
        QStringLiteral("weak\t") + pairsField(summary.weakAtEnd),
    };
    for (const MissedAnswer& missed : summary.missed)
        lines << QStringList{QStringLiteral("missed"),
                             isoDay(missed.drillStart.date()),
                             QString::number(missed.question.dividend()),
                             QString::number(missed.question.divisor),
                             field(missed.typedQuotient),
                             field(missed.typedRemainder)}
                     .join(u'\t');
    for (const WeekFigures& figures : summary.trend)
        lines << QStringList{QStringLiteral("trend"), isoDay(figures.monday),
                             QString::number(figures.answers), QString::number(figures.wrong),
                             medianField(figures.medianMs)}
                     .join(u'\t');
    return lines;
}

bool readWeekSummary(const QString& programDataFolder, int pupil, const QDate& day, WeekSummary* summary,
                     QString* error) {
    std::vector<LoggedAnswer> answers;
    const QString path = answerLogPath(programDataFolder);
    // The log reads pupil 0 as everybody: nobody chosen has no week.
    if (pupil > 0 && QFileInfo::exists(path)) {
        AnswerDatabase db;
        if (!db.open(path, AnswerDatabase::Access::Read, QDateTime::currentDateTime()) ||
            (db.schemaVersion() > 0 && !db.readAnswers(pupil, &answers))) {
            *error = db.error();
            return false;
        }
    }
    *summary = summarizeWeek(weekDrills(answers), day);
    return true;
}

} // namespace warizan
