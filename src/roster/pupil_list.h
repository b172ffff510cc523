#pragma once

#include "state/program_state.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace warizan {

// Item 0 of the pupil list: choosing it chooses nobody.
inline const QString kPupilListPlaceholder = QStringLiteral("－－－－－－");

// What the selection screen shows. visible[0] is the placeholder; visible[k + 1] and keys[k] belong to the
// same pupil, and each key is that pupil's visible text, "*" and the pupil number.
struct PupilList {
    QStringList visible;
    QStringList keys;
    int listedCount = 0; // entries listed from the roster (before the grade filter), positions 1..
};

// The four figures of a pupil's line, summed over levels 1 to 35. Wide enough that no family's totals
// overflow: the columns then show their last characters.
struct PupilFigureSums {
    double countToday = 0;
    qint64 pointsToday = 0;
    qint64 countTotal = 0;
    qint64 pointsTotal = 0;
};
PupilFigureSums pupilFigureSums(const PupilFigures& figures, int pupil);

// Fixed-width column texts: the number right-aligned in its last characters, a blank text of the same
// look when the value is 0.
QString countTodayText(double countToday);
QString pointsTodayText(qint64 pointsToday);
QString countTotalText(qint64 countTotal);
QString pointsTotalText(qint64 pointsTotal);

// Characters of the name column (grade label, blank, name, full-width blank fill) for a display mode:
// 0 runs today / in all, 1 points today / in all, 2 today's points / runs, 3 all points / runs.
int nameColumnWidth(int displayMode, bool preSchool);

// The visible text of one pupil: grade label, blank, name and full-width blanks up to the column width,
// then the mode's left column, "/" and its right column. The name is shown without its padding; a name
// too long for the column is cut so the figures stay aligned, and a "*" in it is shown full-width, since
// the list's keys hold the pupil number after the first "*". A display mode outside 0..3 is taken as 0.
QString pupilListText(const RosterEntry& entry, int gradeOffset, int displayMode,
                      const PupilFigureSums& sums);

// Whether a pupil of the given grade offset is shown under a grade-filter entry ("全学年", "中学生全体",
// "小学生全体", "中３".."中１", "小６".."小１"; the digit may be typed half-width, "小1"). An empty filter
// (the screen before its filter box is filled) shows everybody; any other text nobody.
bool passesGradeFilter(const QString& gradeFilter, int gradeOffset);

// The grade-filter entries, in the order the selection screen lists them.
QStringList gradeFilterNames();
// Whether `gradeFilter` is one of them (a half-width digit taken as the full-width one).
bool isGradeFilter(const QString& gradeFilter);

// The pupil number a key of the list stands for (the text after its first "*"); -1 when there is none.
int pupilNumberOfKey(const QString& key);

// Builds the list from the roster's entries in file order, with the figures and gradeBaseYear already in
// `state`. Fills the pupil tables for every entry with a usable number (listed or not) and the positional
// tables for the listed ones. Listed are status 0, and status 2 when showInactivePupils is 1; an entry
// whose number lies outside 0..5000 or whose birth year does not fit the table is not listed at all, nor
// is a listed entry beyond the 5001 list positions the tables hold.
// Lines are ordered by their full text (birth year first, so the oldest come first; then grade label and
// name) in UTF-16 code-unit order, which puts hiragana before katakana before kanji.
PupilList buildPupilList(ProgramState& state, const std::vector<RosterEntry>& fileEntries, int displayMode,
                         const QString& gradeFilter);

// Half-width blanks trimmed at both ends; the full-width blanks that fill a name column stay.
QString withoutBlanksAround(const QString& text);
// The first `n` characters, one fewer where the cut would split a surrogate pair.
QString leftChars(const QString& text, qsizetype n);

} // namespace warizan
