#pragma once

#include <QDate>
#include <QString>
#include <optional>

namespace warizan {

// The school-grade rule shared by the pupil list and the level menu. A grade offset is the number of
// school years since the pupil's first elementary year began: 1 to 6 elementary, 7 to 9 junior high,
// 10 to 12 senior high; 0 and below are the pre-school years.

// The school year `today` falls in: the calendar year, or the one before while the month is still earlier
// than the month in which the school year starts.
int gradeBaseYear(const QDate& today, int schoolYearStartMonth);

// Birth years are entered with early-born pupils (1 January to 1 April) counted in the year before, so
// one subtraction gives the grade.
int gradeOffset(int gradeBaseYear, int birthYear);

// Half-width label of the pupil list: "幼-", "幼1".."幼3", "小1".."小6", "中1".."中3", "高1".."高3", "大+".
// Always two characters, which the name column of the list relies on.
QString gradeLabel(int gradeOffset);

// Grade within the school stage the label names; 0 or less for the pre-school years.
int gradeNumber(int gradeOffset);

bool isPreSchool(int gradeOffset);

// Full-width label kept per pupil for the level menu header: "幼３", "小１".."小６", "中１".."中３", "高１".
// Other offsets have none, and the stored label of such a pupil is left as it was.
std::optional<QString> pupilGradeLabel(int gradeOffset);

} // namespace warizan
