#include "roster/roster_save.h"

#include "textdata/encoding.h"
#include "textdata/text_data.h"

#include <QRegularExpression>
#include <limits>
#include <optional>

namespace warizan {

namespace {

const QString kUnchanged = QStringLiteral("名簿は変更していません。");

// The first character of `text` (a whole code point) that `encoding` cannot hold, or an empty text.
QString firstUnwritableCharacter(const QString& text, TextEncoding encoding) {
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString one = text.mid(i, len);
        bool ok = false;
        encodeText(one, encoding, &ok);
        if (!ok || (len == 1 && one.front().isSurrogate()))
            return one;
        i += len;
    }
    return {};
}

void fail(RosterSaveError* error, RosterSaveError::Kind kind, int row, const QString& message) {
    if (error) {
        error->kind = kind;
        error->row = row;
        error->message = message;
    }
}

} // namespace

QString rosterNameOf(const QString& typedText) {
    // Control characters come only with pasted text (a tab, a line end); in the roster's line they would
    // break the record for every program that reads it.
    QString nameText = typedText;
    nameText.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    qsizetype begin = 0, end = nameText.size();
    while (begin < end && nameText.at(begin) == u' ')
        ++begin;
    while (end > begin && nameText.at(end - 1) == u' ')
        --end;
    return fixedWidthText(nameText.mid(begin, end - begin), kRosterTextWidth);
}

namespace {

// The eras a birth year of a family member may be given in: the Western year of each era's first year,
// and its last year (0 for the era still running).
struct Era {
    QStringView name;
    QChar letter;
    int firstYear;
    int lastYear;
};
constexpr Era kEras[] = {
    {u"明治", u'M', 1868, 45}, {u"大正", u'T', 1912, 15}, {u"昭和", u'S', 1926, 64},
    {u"平成", u'H', 1989, 31}, {u"令和", u'R', 2019, 0},
};

// The year number after an era's name: digits or "元" (the first year).
std::optional<int> eraYearNumber(QStringView text) {
    if (text == u"元")
        return 1;
    if (text.isEmpty() || text.size() > 3)
        return std::nullopt;
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    return text.toInt();
}

bool isPlainNumber(QStringView text) {
    static const QRegularExpression number(QStringLiteral("^[0-9]+(\\.[0-9]+)?$"));
    return number.match(text).hasMatch();
}

} // namespace

BirthYearReading rosterBirthYearOf(const QString& birthYearText, int* birthYear) {
    // Compatibility folding turns full-width digits, letters and blanks into half-width ones, and the
    // one-character era signs (㍻, ㋿) into their two-character names.
    QString text = birthYearText.normalized(QString::NormalizationForm_KC).trimmed();
    if (text.isEmpty()) {
        *birthYear = 0;
        return BirthYearReading::Year;
    }
    if (text.endsWith(u'年'))
        text = text.chopped(1).trimmed();

    for (const Era& era : kEras) {
        qsizetype nameLength = 0;
        if (text.startsWith(era.name))
            nameLength = era.name.size();
        else if (text.front().toUpper() == era.letter)
            nameLength = 1;
        else
            continue;
        const std::optional<int> number = eraYearNumber(QStringView(text).mid(nameLength).trimmed());
        if (!number || *number < 1 || (era.lastYear > 0 && *number > era.lastYear))
            return BirthYearReading::NotAYear;
        *birthYear = era.firstYear + *number - 1;
        return BirthYearReading::Year;
    }

    if (!isPlainNumber(text))
        return BirthYearReading::NotAYear;
    const int year = wholeNumber(leadingNumber(text));
    if (year < std::numeric_limits<qint16>::min() || year > std::numeric_limits<qint16>::max())
        return BirthYearReading::TooLarge;
    *birthYear = year;
    return BirthYearReading::Year;
}

namespace {

TextDataWriter rosterWriter(const std::vector<RosterEntry>& entries) {
    TextDataWriter writer;
    for (const RosterEntry& entry : entries) {
        writer.addNumber(qint64(entry.number));
        writer.addNumber(qint64(entry.birthYear));
        writer.addNumber(qint64(entry.reserved3));
        writer.addNumber(qint64(entry.reserved4));
        writer.addText(fixedWidthText(entry.name, kRosterTextWidth));
        writer.addNumber(qint64(entry.status));
        writer.addText(fixedWidthText(entry.reserved7, kRosterTextWidth));
        writer.addText(fixedWidthText(entry.reserved8, kRosterTextWidth));
        writer.endRecord();
    }
    return writer;
}

} // namespace

QString rosterFileText(const std::vector<RosterEntry>& entries) {
    return rosterWriter(entries).text();
}

bool saveRosterEdits(const QString& path, const std::vector<RosterRowEdit>& rows, RosterSaveError* error) {
    std::vector<RosterEntry> entries;
    TextEncoding encoding = TextEncoding::ShiftJis;
    RosterFileError fileError;
    if (!readRosterFile(path, &entries, &encoding, &fileError)) {
        fail(error, RosterSaveError::Kind::Unreadable, 0,
             QStringLiteral("名簿ファイル（%1）を読めません（%2）。")
                     .arg(kRosterFileName, fileError.description) +
                 kUnchanged);
        if (error)
            error->fileError = fileError;
        return false;
    }

    const size_t edited = std::min(rows.size(), entries.size());
    for (size_t i = 0; i < edited; ++i) {
        const int row = int(i) + 1;
        const QString name = rosterNameOf(rows[i].nameText);
        const QString bad = firstUnwritableCharacter(name, encoding);
        if (!bad.isEmpty()) {
            fail(error, RosterSaveError::Kind::NameNotWritable, row,
                 QStringLiteral("%1行目の名前に、名簿ファイルに書けない文字「%2」があります。"
                                "その文字を使わずに入力してください。")
                         .arg(row)
                         .arg(bad) +
                     kUnchanged);
            return false;
        }
        int year = 0;
        const BirthYearReading reading = rosterBirthYearOf(rows[i].birthYearText, &year);
        if (reading == BirthYearReading::TooLarge) {
            fail(error, RosterSaveError::Kind::YearTooLarge, row,
                 QStringLiteral("%1行目の生まれた年「%2」は大きすぎます。西暦で入力してください。")
                         .arg(row)
                         .arg(rows[i].birthYearText.trimmed()) +
                     kUnchanged);
            return false;
        }
        if (reading == BirthYearReading::NotAYear) {
            fail(error, RosterSaveError::Kind::YearNotAYear, row,
                 QStringLiteral("%1行目の生まれた年「%2」は年として読めません。"
                                "2015 のような西暦か、平成27 のような和暦で入力してください。")
                         .arg(row)
                         .arg(rows[i].birthYearText.trimmed()) +
                     kUnchanged);
            return false;
        }
        entries[i].name = name;
        entries[i].birthYear = year;
    }

    QString writeError;
    if (!rosterWriter(entries).save(path, encoding, &writeError)) {
        fail(error, RosterSaveError::Kind::WriteFailed, 0,
             QStringLiteral("名簿ファイル（%1）を書けませんでした。%2").arg(kRosterFileName, writeError) +
                 QStringLiteral("名簿は前のままです。"));
        return false;
    }
    return true;
}

} // namespace warizan
