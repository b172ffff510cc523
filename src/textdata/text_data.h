#pragma once

#include "textdata/encoding.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace warizan {

// Numeric value of the leading number of a text, as the suite's old programs parse it: blanks are passed
// over, a sign, digits, a fraction and an exponent are taken, and anything else ends the number.
// "12345North" gives 12345, "North" and "00000North" give 0.
double leadingNumber(QStringView text);

// A number as the suite's programs store it in an integer field: halves go to the even neighbour, and
// values beyond int are held at its limits (which every range check then refuses) instead of overflowing.
int wholeNumber(double value);

// Reads a text-data file of the suite: fields separated by commas or line breaks, a field optionally in
// double quotes (the quotes are not part of the value), blanks around an unquoted field dropped. Lines with
// nothing on them carry no field. The whole file is split into fields when it is loaded.
class TextDataReader final {
public:
    TextDataReader() = default;

    // Splits text that is already decoded.
    static TextDataReader fromText(const QString& text);

    // Reads and splits a file, detecting its encoding. On failure returns false with a Japanese
    // description in `error` ("ファイルが見つかりません" and the like).
    bool load(const QString& path, QString* error);

    bool atEnd() const { return m_next >= fieldCount(); }
    qsizetype fieldCount() const { return static_cast<qsizetype>(m_fields.size()); }
    qsizetype fieldsRead() const { return m_next; }
    TextEncoding encoding() const { return m_encoding; }

    // The next field as text; an empty text past the end (check atEnd() first).
    QString readText();
    // The next field as a number (its leading number; 0 for text or past the end).
    double readNumber();
    int readInt() { return wholeNumber(readNumber()); }

private:
    std::vector<QString> m_fields;
    qsizetype m_next = 0;
    TextEncoding m_encoding = TextEncoding::ShiftJis;
};

// Builds a text-data file the way the suite's programs write one: numbers unquoted, text in double quotes,
// fields of a record separated by commas, CRLF after each record.
class TextDataWriter final {
public:
    void addNumber(qint64 value);
    void addNumber(double value);
    // A double quote inside the text would end the field early for every reader of the file, so it is
    // written as "”" (in every Japanese code page) instead.
    void addText(const QString& text);
    void endRecord();

    const QString& text() const { return m_text; }

    // Writes the file through a temporary file and an atomic replace, in the given encoding. Fails (and
    // leaves any old file untouched) when a character has no form in that encoding or the disk refuses.
    bool save(const QString& path, TextEncoding encoding, QString* error) const;

private:
    void separate();
    QString m_text;
    bool m_recordOpen = false;
};

} // namespace warizan
