#include "lists/list_text.h"

#include "roster/pupil_list.h"

#include <limits>

namespace warizan {

QString lastChars(const QString& text, int n) {
    return text.size() <= n ? text : text.right(n);
}

int listGradeNumber(int gradeBaseYear, int birthYear) {
    return gradeBaseYear - birthYear - 6;
}

QString gradeMark(int gradeNumber) {
    static const QString marks = QStringLiteral("①②③④⑤⑥ⅠⅡⅢ");
    if (gradeNumber >= 1 && gradeNumber <= 9)
        return marks.at(gradeNumber - 1);
    return QString(kFullWidthBlank);
}

namespace {

// "小1" reads as "小１": a parent typing a filter for the data tool rarely types full-width digits.
QString fullWidthDigits(const QString& filter) {
    QString text = filter;
    for (QChar& c : text)
        if (c >= u'0' && c <= u'9')
            c = QChar(c.unicode() - u'0' + 0xFF10);
    return text;
}

} // namespace

bool isListFilter(const QString& filter) {
    return filter == u"家族" || isGradeFilter(filter);
}

ListFilter::ListFilter(const QString& filter) {
    const QString text = fullWidthDigits(filter);
    if (text == u"全学年" || text == u"家族") {
        m_low = std::numeric_limits<int>::min();
        m_high = std::numeric_limits<int>::max();
    } else if (text == u"小学生全体") {
        m_low = 1;
        m_high = 6;
    } else if (text == u"中学生全体") {
        m_low = 7;
        m_high = 9;
    } else if (text.size() == 2) {
        const int digit = text.at(1).unicode() - 0xFF10;
        if (text.at(0) == u'小' && digit >= 1 && digit <= 6)
            m_low = m_high = digit;
        if (text.at(0) == u'中' && digit >= 1 && digit <= 3)
            m_low = m_high = digit + 6;
    }
}

bool passesListFilter(const QString& filter, int gradeNumber) {
    return ListFilter(filter).passes(gradeNumber);
}

} // namespace warizan
