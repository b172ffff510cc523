#include "roster/grade.h"

namespace warizan {

int gradeBaseYear(const QDate& today, int schoolYearStartMonth) {
    return today.month() < schoolYearStartMonth ? today.year() - 1 : today.year();
}

int gradeOffset(int gradeBaseYear, int birthYear) {
    return gradeBaseYear - birthYear - 6;
}

QString gradeLabel(int gradeOffset) {
    if (gradeOffset <= -3)
        return QStringLiteral("幼-");
    if (gradeOffset <= 0)
        return QStringLiteral("幼") + QString::number(gradeOffset + 3);
    if (gradeOffset <= 6)
        return QStringLiteral("小") + QString::number(gradeOffset);
    if (gradeOffset <= 9)
        return QStringLiteral("中") + QString::number(gradeOffset - 6);
    if (gradeOffset <= 12)
        return QStringLiteral("高") + QString::number(gradeOffset - 9);
    return QStringLiteral("大+");
}

int gradeNumber(int gradeOffset) {
    if (gradeOffset <= 0 || (gradeOffset >= 7 && gradeOffset <= 9))
        return gradeOffset - 6;
    if (gradeOffset <= 6)
        return gradeOffset;
    return gradeOffset - 9;
}

bool isPreSchool(int gradeOffset) {
    return gradeNumber(gradeOffset) <= 0;
}

std::optional<QString> pupilGradeLabel(int gradeOffset) {
    static const QString digits = QStringLiteral("０１２３４５６７８９");
    if (gradeOffset == 0)
        return QStringLiteral("幼３");
    if (gradeOffset >= 1 && gradeOffset <= 6)
        return QStringLiteral("小") + digits.at(gradeOffset);
    if (gradeOffset >= 7 && gradeOffset <= 9)
        return QStringLiteral("中") + digits.at(gradeOffset - 6);
    if (gradeOffset == 10)
        return QStringLiteral("高１");
    return std::nullopt;
}

} // namespace warizan
