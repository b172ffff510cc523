#pragma once

#include <QString>
#include <QStringList>

namespace warizan {

// Pieces of the fixed-width lines under the level columns, shown in the fixed-pitch face: numbers are
// right-aligned by keeping the last characters of blanks and the number, names are padded with full-width
// blanks.

inline constexpr QChar kFullWidthBlank = QChar(0x3000);
// The mark of the working pupil, in place of the grade mark.
inline const QString kWorkingPupilMark = QStringLiteral("●");

// The last `n` characters of `text` (all of it when shorter).
QString lastChars(const QString& text, int n);

// A pupil's grade number: school years since the first elementary year began (1 to 6 elementary,
// 7 to 9 junior high).
int listGradeNumber(int gradeBaseYear, int birthYear);

// "①".."⑥" for elementary grades, "Ⅰ".."Ⅲ" for junior-high grades, a full-width blank otherwise.
QString gradeMark(int gradeNumber);

// Whether `filter` is one of the selection screen's grade filters (gradeFilterNames, in the order the level
// menu offers them too) or "家族" (the whole family). Half-width digits ("小1") are read as full-width ones.
bool isListFilter(const QString& filter);
// Whether a pupil of `gradeNumber` is listed under `filter`. "全学年" and "家族" list everybody, the school
// stages and grades only their pupils; any other text lists nobody.
bool passesListFilter(const QString& filter, int gradeNumber);

// The same test with the filter's text read once, for lists that test every pupil.
class ListFilter final {
public:
    explicit ListFilter(const QString& filter);
    bool passes(int gradeNumber) const { return gradeNumber >= m_low && gradeNumber <= m_high; }

private:
    int m_low = 1;
    int m_high = 0; // lists nobody until the text says otherwise
};

} // namespace warizan
