#pragma once

#include "textdata/encoding.h"
#include "textdata/file_access.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace warizan {

// Numeric value of the leading number of a text, as the suite's old programs parse it: blanks are passed
// over, a sign, digits, a fraction and an exponent are taken, and anything else ends the number.
// "12345North" gives 12345, "North" and "00000North" give 0. Full-width digits, signs and points (typed
// with the Japanese input method on) count as what they show: "２" is 2.
double leadingNumber(QStringView text);

// A number as the suite's programs store it in an integer field: halves go to the even neighbour, and
// values beyond int are held at its limits (which every range check then refuses) instead of overflowing.
int wholeNumber(double value);

// Reads a text-data file of the suite: fields separated by commas or line breaks, a field optionally in
// double quotes (the quotes are not part of the value), blanks around an unquoted field dropped. Lines with
// nothing on them carry no field. Fields are taken from the text one at a time, so reading needs no more
// memory than the text itself, however many fields it holds.
class TextDataReader final {
public:
    TextDataReader() = default;

    // Splits text that is already decoded.
    static TextDataReader fromText(const QString& text);

    // Reads a regular file of at most kTextFileLimit bytes and detects its encoding. On failure returns
    // false with a Japanese description in `error` ("ファイルが見つかりません。" and the like).
    bool load(const QString& path, QString* error);
    // The same, with the kind of failure: FileFault::Encoding when the text is in none of the suite's
    // encodings.
    bool load(const QString& path, FileFailure& failure);

    bool atEnd() const { return m_next >= m_count; }
    qsizetype fieldCount() const { return m_count; }
    qsizetype fieldsRead() const { return m_next; }
    TextEncoding encoding() const { return m_encoding; }

    // The next field as text; an empty text past the end (check atEnd() first).
    QString readText();
    // The next field as a number (its leading number; 0 for text or past the end).
    double readNumber();
    int readInt() { return wholeNumber(readNumber()); }
    // Passes over the next field without making its text (its line is kept as for a field read).
    void skip();

    // Where the field last read stood: its line (from 1), and whether it was the last field of its line.
    int lastLine() const { return m_lastLine; }
    bool lastEndedLine() const { return m_lastEndedLine; }
    // The line the next field stands on (the last line when there is none).
    int nextLine() const;

private:
    struct Cursor {
        qsizetype pos = 0;
        int line = 1;
        bool pendingEmpty = false; // a comma ended a line: one more, empty field stands there
    };
    // Takes the next field from `cursor`; `value` may be null when only the fields are counted.
    bool take(Cursor& cursor, QString* value, int* line, bool* endsLine) const;
    void start(const QString& text);

    QString m_text;
    Cursor m_cursor;
    qsizetype m_count = 0;
    qsizetype m_next = 0;
    int m_lastLine = 0;
    bool m_lastEndedLine = true;
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
