#include "textdata/text_data.h"

#include <QSaveFile>
#include <cmath>
#include <limits>

namespace warizan {

double leadingNumber(QStringView text) {
    QString digits;
    bool seenDigit = false, seenPoint = false, seenExponent = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar c = text.at(i);
        // Full-width digits, signs and point count as the half-width ones they show.
        if (c.unicode() >= 0xFF10 && c.unicode() <= 0xFF19)
            c = QChar(u'0' + (c.unicode() - 0xFF10));
        else if (c == u'＋' || c == u'－' || c == u'．' || c == u'　')
            c = c == u'＋' ? u'+' : c == u'－' ? u'-' : c == u'．' ? u'.' : u' ';
        if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r')
            continue;
        if (c.isDigit() && c.unicode() < 128) {
            digits += c;
            seenDigit = true;
        } else if ((c == u'+' || c == u'-') && (digits.isEmpty() || digits.endsWith(u'e'))) {
            digits += c;
        } else if (c == u'.' && !seenPoint && !seenExponent) {
            digits += c;
            seenPoint = true;
        } else if ((c == u'e' || c == u'E') && seenDigit && !seenExponent) {
            digits += u'e';
            seenExponent = true;
        } else {
            break;
        }
    }
    // Drop an exponent or sign that has no digits behind it ("12e", "-").
    while (!digits.isEmpty() && !digits.back().isDigit() && digits.back() != u'.')
        digits.chop(1);
    bool ok = false;
    const double value = digits.toDouble(&ok);
    return ok ? value : 0.0;
}

int wholeNumber(double value) {
    if (std::isnan(value))
        return 0;
    const double rounded = std::nearbyint(value);
    if (rounded <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (rounded >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(rounded);
}

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}
bool isLineEnd(QChar c) {
    return c == u'\r' || c == u'\n';
}

// Line breaks (CRLF, CR or LF) in text[from, to).
int lineBreaks(const QString& text, qsizetype from, qsizetype to) {
    int breaks = 0;
    for (qsizetype i = from; i < to; ++i)
        if (text.at(i) == u'\n' || (text.at(i) == u'\r' && (i + 1 >= to || text.at(i + 1) != u'\n')))
            ++breaks;
    return breaks;
}

} // namespace

bool TextDataReader::take(Cursor& c, QString* value, int* line, bool* endsLine) const {
    const QString& text = m_text;
    const qsizetype n = text.size();
    if (c.pendingEmpty) {
        c.pendingEmpty = false;
        if (value)
            value->clear();
        *line = c.line;
        *endsLine = true;
        return true;
    }
    while (true) {
        while (c.pos < n && isBlank(text.at(c.pos)))
            ++c.pos;
        if (c.pos >= n)
            return false;
        if (!isLineEnd(text.at(c.pos)))
            break;
        // A line with nothing on it (or the end of a line already closed by its last field).
        c.pos += (text.at(c.pos) == u'\r' && c.pos + 1 < n && text.at(c.pos + 1) == u'\n') ? 2 : 1;
        ++c.line;
    }
    *line = c.line;
    qsizetype i = c.pos;
    if (text.at(i) == u'"') {
        const qsizetype close = text.indexOf(u'"', i + 1);
        const qsizetype end = close < 0 ? n : close;
        if (value)
            *value = text.mid(i + 1, end - i - 1);
        c.line += lineBreaks(text, i + 1, end);
        i = close < 0 ? n : close + 1;
        // Whatever stands between the closing quote and the separator is not part of the field.
        while (i < n && text.at(i) != u',' && !isLineEnd(text.at(i)))
            ++i;
    } else {
        const qsizetype begin = i;
        while (i < n && text.at(i) != u',' && !isLineEnd(text.at(i)))
            ++i;
        if (value)
            *value = text.mid(begin, i - begin).trimmed();
    }
    *endsLine = true;
    if (i < n && text.at(i) == u',') {
        ++i;
        *endsLine = false;
        // A comma at the end of a line leaves one more, empty field on that line.
        qsizetype j = i;
        while (j < n && isBlank(text.at(j)))
            ++j;
        if (j >= n || isLineEnd(text.at(j)))
            c.pendingEmpty = true;
        i = c.pendingEmpty ? j : i;
    } else if (i < n) {
        // Line end: CRLF, CR or LF closes the field.
        i += (text.at(i) == u'\r' && i + 1 < n && text.at(i + 1) == u'\n') ? 2 : 1;
        ++c.line;
    }
    c.pos = i;
    return true;
}

void TextDataReader::start(const QString& text) {
    m_text = text;
    m_cursor = Cursor{};
    m_next = 0;
    m_lastLine = 0;
    m_lastEndedLine = true;
    // Count once without keeping the fields: the start-up files and the roster check the count first.
    Cursor counter;
    int line = 0;
    bool endsLine = false;
    m_count = 0;
    while (take(counter, nullptr, &line, &endsLine))
        ++m_count;
}

TextDataReader TextDataReader::fromText(const QString& text) {
    TextDataReader reader;
    reader.start(text);
    return reader;
}

bool TextDataReader::load(const QString& path, QString* error) {
    FileFailure failure;
    if (load(path, failure))
        return true;
    if (error)
        *error = failure.description + u'。';
    return false;
}

bool TextDataReader::load(const QString& path, FileFailure& failure) {
    QByteArray bytes;
    if (!readDataFile(path, &bytes, &failure))
        return false;
    QString text;
    TextEncoding encoding;
    if (!decodeTextFile(bytes, &text, &encoding)) {
        failure = {
            FileFault::Encoding,
            QStringLiteral("文字コードを読み取れません（Shift-JIS、UTF-8、UTF-16 のどれでもありません）")};
        return false;
    }
    start(text);
    m_encoding = encoding;
    return true;
}

QString TextDataReader::readText() {
    if (atEnd()) {
        ++m_next;
        return QString();
    }
    QString value;
    take(m_cursor, &value, &m_lastLine, &m_lastEndedLine);
    ++m_next;
    return value;
}

void TextDataReader::skip() {
    if (!atEnd())
        take(m_cursor, nullptr, &m_lastLine, &m_lastEndedLine);
    ++m_next;
}

int TextDataReader::nextLine() const {
    if (atEnd())
        return m_lastLine;
    Cursor peek = m_cursor;
    QString* none = nullptr;
    int line = 0;
    bool endsLine = false;
    take(peek, none, &line, &endsLine);
    return line;
}

double TextDataReader::readNumber() {
    return leadingNumber(readText());
}

void TextDataWriter::separate() {
    if (m_recordOpen)
        m_text += u',';
    m_recordOpen = true;
}

void TextDataWriter::addNumber(qint64 value) {
    separate();
    m_text += QString::number(value);
}

void TextDataWriter::addNumber(double value) {
    separate();
    m_text += QString::number(value, 'g', 15);
}

void TextDataWriter::addText(const QString& text) {
    separate();
    QString safe = text;
    safe.replace(u'"', QChar(0x201D));
    m_text += u'"' + safe + u'"';
}

void TextDataWriter::endRecord() {
    m_text += QStringLiteral("\r\n");
    m_recordOpen = false;
}

bool TextDataWriter::save(const QString& path, TextEncoding encoding, QString* error) const {
    bool encoded = false;
    const QByteArray bytes = encodeText(m_text, encoding, &encoded);
    if (!encoded) {
        if (error)
            *error = QStringLiteral("この文字コードで書けない文字があります。");
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = QStringLiteral("ファイルを書けません（%1）。").arg(file.errorString());
        return false;
    }
    return true;
}

} // namespace warizan
