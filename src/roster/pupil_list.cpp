#include "roster/pupil_list.h"

#include "roster/grade.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace warizan {

namespace {

constexpr QChar kFullWidthBlank(0x3000);
// Separates a line's visible text from the pupil number in the list's keys.
constexpr QChar kKeySeparator(u'*');

QString numberText(double value) {
    if (std::trunc(value) == value && std::fabs(value) < 1e15)
        return QString::number(static_cast<qint64>(value));
    return QString::number(value, 'g', 7);
}

struct ModeColumns {
    QString left;
    QString right;
};

ModeColumns modeColumns(int displayMode, const PupilFigureSums& sums) {
    switch (displayMode) {
    case 1:
        return {pointsTodayText(sums.pointsToday), pointsTotalText(sums.pointsTotal)};
    case 2:
        return {pointsTodayText(sums.pointsToday), countTodayText(sums.countToday)};
    case 3:
        return {pointsTotalText(sums.pointsTotal), countTotalText(sums.countTotal)};
    default:
        return {countTodayText(sums.countToday), countTotalText(sums.countTotal)};
    }
}

bool fitsBirthYearTable(int birthYear) {
    return birthYear >= std::numeric_limits<qint16>::min() && birthYear <= std::numeric_limits<qint16>::max();
}

// One line of the sorted buffer: the birth year, the visible text, "*" and the pupil number.
struct BufferLine {
    QString text;
    qsizetype visibleStart; // length of the birth-year text
    qsizetype separator;    // position of the "*" that ends the visible text
    int gradeOffset;
};

} // namespace

QString withoutBlanksAround(const QString& text) {
    qsizetype begin = 0, end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    return text.mid(begin, end - begin);
}

QString leftChars(const QString& text, qsizetype n) {
    if (text.size() <= n)
        return text;
    QString cut = text.left(n);
    if (!cut.isEmpty() && cut.back().isHighSurrogate())
        cut.chop(1);
    return cut;
}


PupilFigureSums pupilFigureSums(const PupilFigures& figures, int pupil) {
    PupilFigureSums sums;
    for (int level = 1; level <= kMaxLevel; ++level) {
        sums.countToday += figures.todayCount.at(level, pupil);
        sums.pointsToday += figures.todayPoints.at(level, pupil);
        sums.countTotal += figures.totalCount.at(level, pupil);
        sums.pointsTotal += figures.totalPoints.at(level, pupil);
    }
    return sums;
}

QString countTodayText(double countToday) {
    if (countToday == 0)
        return QStringLiteral("     ");
    return (QStringLiteral("  ") + numberText(countToday)).right(3) + u'回';
}

QString pointsTodayText(qint64 pointsToday) {
    if (pointsToday == 0)
        return QStringLiteral("  　");
    return (QStringLiteral("   ") + QString::number(pointsToday)).right(4);
}

QString countTotalText(qint64 countTotal) {
    if (countTotal == 0)
        return QStringLiteral("     　");
    return (QStringLiteral("      ") + QString::number(countTotal)).right(5) + u'回';
}

QString pointsTotalText(qint64 pointsTotal) {
    if (pointsTotal == 0)
        return QStringLiteral("       ");
    return (QStringLiteral("      ") + QString::number(pointsTotal)).right(7);
}

int nameColumnWidth(int displayMode, bool preSchool) {
    return displayMode != 1 && preSchool ? 11 : 9;
}

QString pupilListText(const RosterEntry& entry, int gradeOffset, int displayMode,
                      const PupilFigureSums& sums) {
    const QString label = gradeLabel(gradeOffset) + u' ';
    const qsizetype room = nameColumnWidth(displayMode, isPreSchool(gradeOffset)) - label.size();
    QString name = withoutBlanksAround(entry.name);
    name.replace(kKeySeparator, QChar(0xFF0A));
    name = leftChars(name, room);
    const ModeColumns columns = modeColumns(displayMode, sums);
    return label + name + QString(room - name.size(), kFullWidthBlank) + columns.left + u'/' + columns.right;
}

bool passesGradeFilter(const QString& gradeFilter, int gradeOffset) {
    if (gradeFilter.isEmpty() || gradeFilter == u"全学年")
        return true;
    if (gradeFilter == u"小学生全体")
        return gradeOffset >= 1 && gradeOffset <= 6;
    if (gradeFilter == u"中学生全体")
        return gradeOffset >= 7 && gradeOffset <= 9;
    if (gradeFilter.size() == 2) {
        const char16_t c = gradeFilter.at(1).unicode();
        const int digit = c >= u'0' && c <= u'9' ? c - u'0' : c - u'０';
        if (gradeFilter.at(0) == u'小' && digit >= 1 && digit <= 6)
            return gradeOffset == digit;
        if (gradeFilter.at(0) == u'中' && digit >= 1 && digit <= 3)
            return gradeOffset == digit + 6;
    }
    return false;
}

QStringList gradeFilterNames() {
    return {QStringLiteral("全学年"), QStringLiteral("中学生全体"), QStringLiteral("小学生全体"),
            QStringLiteral("中３"),   QStringLiteral("中２"),       QStringLiteral("中１"),
            QStringLiteral("小６"),   QStringLiteral("小５"),       QStringLiteral("小４"),
            QStringLiteral("小３"),   QStringLiteral("小２"),       QStringLiteral("小１")};
}

bool isGradeFilter(const QString& gradeFilter) {
    QString name = gradeFilter;
    if (name.size() == 2 && name.at(1) >= u'0' && name.at(1) <= u'9')
        name[1] = QChar(u'０' + (name.at(1).unicode() - u'0'));
    return gradeFilterNames().contains(name);
}

int pupilNumberOfKey(const QString& key) {
    const qsizetype separator = key.indexOf(kKeySeparator);
    if (separator < 0)
        return -1;
    bool ok = false;
    const int number = QStringView(key).mid(separator + 1).toInt(&ok);
    return ok ? number : -1;
}

PupilList buildPupilList(ProgramState& state, const std::vector<RosterEntry>& fileEntries, int displayMode,
                         const QString& gradeFilter) {
    RosterTables& roster = state.roster;
    const bool showInactive = state.config.showInactivePupils == 1;
    const int positions =
        static_cast<int>(std::min(roster.entries.size(), roster.rosterPupilNumber.size())) - 1;

    PupilList list;
    std::vector<BufferLine> buffer;
    for (const RosterEntry& entry : fileEntries) {
        if (!isPupilNumber(entry.number) || !fitsBirthYearTable(entry.birthYear))
            continue;
        const int offset = gradeOffset(roster.gradeBaseYear, entry.birthYear);
        roster.pupilName[entry.number] = entry.name;
        roster.pupilBirthYear[entry.number] = static_cast<qint16>(entry.birthYear);
        if (const auto label = pupilGradeLabel(offset))
            roster.pupilGradeLabel[entry.number] = *label;

        const bool listed = entry.status == 0 || (entry.status == 2 && showInactive);
        if (!listed || list.listedCount >= positions)
            continue;
        ++list.listedCount;
        roster.entries[static_cast<size_t>(list.listedCount)] = entry;
        roster.rosterPupilNumber[static_cast<size_t>(list.listedCount)] = static_cast<qint16>(entry.number);

        const QString year = QString::number(entry.birthYear);
        const QString visible =
            pupilListText(entry, offset, displayMode, pupilFigureSums(state.figures, entry.number));
        buffer.push_back({year + visible + kKeySeparator + QString::number(entry.number), year.size(),
                          year.size() + visible.size(), offset});
    }

    roster.listedCount = list.listedCount;
    std::stable_sort(buffer.begin(), buffer.end(),
                     [](const BufferLine& a, const BufferLine& b) { return a.text < b.text; });

    list.visible.reserve(static_cast<qsizetype>(buffer.size()) + 1);
    list.visible.append(kPupilListPlaceholder);
    for (const BufferLine& line : buffer) {
        if (!passesGradeFilter(gradeFilter, line.gradeOffset))
            continue;
        list.visible.append(line.text.mid(line.visibleStart, line.separator - line.visibleStart));
        list.keys.append(line.text.mid(line.visibleStart));
    }
    return list;
}

} // namespace warizan
