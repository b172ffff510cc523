#include "lists/rankings.h"

#include "lists/list_text.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace warizan {

namespace {

struct Entry {
    qint64 primary = 0;   // times: best result; points: the order's points
    qint64 secondary = 0; // points: the other points
    int pupil = 0;
};

// Each line is written into one string, piece by piece, with no string made for a piece: a large family's
// four rankings are built every time the level menu comes up.

// Appends the last `n` characters of `blanks` half-width blanks followed by `text`, as lastChars would take
// them from the whole.
void appendLast(QString& line, qsizetype blanks, QStringView text, qsizetype n) {
    qsizetype skip = std::max<qsizetype>(0, blanks + text.size() - n);
    for (qsizetype k = std::min(blanks, skip); k < blanks; ++k)
        line.append(u' ');
    skip = std::max<qsizetype>(0, skip - blanks);
    line.append(text.mid(skip));
}

// Appends `value` in decimal, right-aligned as lastChars(blanks + the number, n) has it.
void appendNumber(QString& line, qint64 value, qsizetype blanks, qsizetype n) {
    char16_t digits[24];
    char16_t* end = digits + std::size(digits);
    char16_t* start = end;
    quint64 magnitude = value < 0 ? 0 - static_cast<quint64>(value) : static_cast<quint64>(value);
    do {
        *--start = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        *--start = u'-';
    appendLast(line, blanks, QStringView(start, end), n);
}

// The name in five characters: without its trailing blanks, cut or padded with full-width blanks.
void appendName5(QString& line, const QString& name) {
    qsizetype end = name.size();
    while (end > 0 && name.at(end - 1).isSpace())
        --end;
    const qsizetype shown = std::min<qsizetype>(end, 5);
    line.append(QStringView(name).left(shown));
    for (qsizetype k = shown; k < 5; ++k)
        line.append(kFullWidthBlank);
}

QChar gradeMarkOf(int gradeNumber) {
    static const QString marks = QStringLiteral("①②③④⑤⑥ⅠⅡⅢ");
    return gradeNumber >= 1 && gradeNumber <= 9 ? marks.at(gradeNumber - 1) : kFullWidthBlank;
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
    const QChar workingMark = kWorkingPupilMark.at(0);
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
        const qint64 today = byToday ? e.primary : e.secondary;
        const qint64 total = byToday ? e.secondary : e.primary;
        if (!times && byToday && today == 0)
            continue;
        const bool working = e.pupil == state.pupil.currentPupil;
        QString line;
        line.reserve(24);
        // The place in two characters, or "--" for a best time there is not.
        if (times && e.primary == kNoResult)
            line.append(QStringLiteral("--"));
        else
            appendNumber(line, place, 1, 2);
        line.append(working ? workingMark : gradeMarkOf(grade));
        appendName5(line, roster.pupilName[e.pupil]);
        if (times) {
            if (e.primary == kNoResult)
                line.append(noResult);
            else if (e.primary == kNoResult - 1)
                line.append(failed);
            else
                appendNumber(line, e.primary, 4, 6);
            line.append(u' ');
            line.append(working ? workingMark : kFullWidthBlank);
        } else {
            appendNumber(line, today, 4, 3);
            line.append(u'/');
            appendNumber(line, total, 4, 5);
        }
        lines.append(line);
        if (pupilsOfLines)
            pupilsOfLines->push_back(e.pupil);
    }
    return lines;
}

} // namespace warizan
