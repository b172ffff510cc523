#include "lists/rankings.h"

#include "lists/list_text.h"

#include <algorithm>
#include <vector>

namespace warizan {

namespace {

struct Entry {
    qint64 primary = 0;   // times: best result; points: the order's points
    qint64 secondary = 0; // points: the other points
    int pupil = 0;
};

QString name5(const QString& name) {
    qsizetype end = name.size();
    while (end > 0 && name.at(end - 1).isSpace())
        --end;
    return (name.left(end) + QString(6, kFullWidthBlank)).left(5);
}

} // namespace

QStringList rankingLines(const ProgramState& state, int level, const RankingChoice& choice,
                         std::vector<int>* pupilsOfLines) {
    if (pupilsOfLines)
        pupilsOfLines->clear();
    const RosterTables& roster = state.roster;
    const PupilFigures& figures = state.figures;
    const int listed =
        std::clamp(roster.listedCount, 0, static_cast<int>(roster.rosterPupilNumber.size()) - 1);
    const bool times = choice.displayMode == kTimesMode;
    const bool byToday = choice.pointsOrder == kByPointsToday;

    std::vector<Entry> entries;
    entries.reserve(static_cast<size_t>(listed));
    for (int k = 1; k <= listed; ++k) {
        const int pupil = roster.rosterPupilNumber[static_cast<size_t>(k)];
        Entry e;
        e.pupil = pupil;
        if (times) {
            e.primary = figures.bestResult.at(level, pupil);
        } else {
            const qint64 today = figures.todayPoints.at(level, pupil);
            const qint64 total = figures.totalPoints.at(level, pupil);
            e.primary = byToday ? today : total;
            e.secondary = byToday ? total : today;
        }
        entries.push_back(e);
    }

    // Stable, so equal values keep the roster order. Points are ordered on the pair itself rather than on
    // one number made of both, which would let a thousand points of the second kind outweigh one point
    // of the first.
    if (times) {
        if (state.levels.levelKind[level] == 1)
            std::stable_sort(entries.begin(), entries.end(),
                             [](const Entry& a, const Entry& b) { return a.primary < b.primary; });
    } else {
        std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
            return a.primary != b.primary ? a.primary > b.primary : a.secondary > b.secondary;
        });
    }

    static const QString failed = QStringLiteral("*失敗*");
    static const QString noResult = QStringLiteral("------");
    static const QString fourBlanks = QStringLiteral("    ");
    const QString blankMark(kFullWidthBlank);
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(entries.size()));
    const ListFilter filter(choice.gradeFilter);
    int place = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        const int k = static_cast<int>(i) + 1;
        place = i > 0 && e.primary == entries[i - 1].primary ? place : k;

        const int grade = listGradeNumber(roster.gradeBaseYear, roster.pupilBirthYear[e.pupil]);
        if (!filter.passes(grade))
            continue;
        const bool working = e.pupil == state.pupil.currentPupil;
        const QString markA = working ? kWorkingPupilMark : gradeMark(grade);
        const QString markB = working ? kWorkingPupilMark : blankMark;
        const QString r2 = lastChars(u' ' + QString::number(place), 2);
        const QString name = name5(roster.pupilName[e.pupil]);

        if (times) {
            if (e.primary == kNoResult)
                lines.append(QStringLiteral("--") + markA + name + noResult + u' ' + markB);
            else if (e.primary == kNoResult - 1)
                lines.append(r2 + markA + name + failed + u' ' + markB);
            else
                lines.append(r2 + markA + name + lastChars(fourBlanks + QString::number(e.primary), 6) +
                             u' ' + markB);
            if (pupilsOfLines)
                pupilsOfLines->push_back(e.pupil);
        } else {
            const qint64 today = byToday ? e.primary : e.secondary;
            const qint64 total = byToday ? e.secondary : e.primary;
            if (byToday && today == 0)
                continue;
            lines.append(r2 + markA + name + lastChars(fourBlanks + QString::number(today), 3) + u'/' +
                         lastChars(fourBlanks + QString::number(total), 5));
            if (pupilsOfLines)
                pupilsOfLines->push_back(e.pupil);
        }
    }
    return lines;
}

} // namespace warizan
