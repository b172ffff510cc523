#include "textdata/text_data.h"

#include <QFile>
#include <QSaveFile>
#include <cmath>
#include <limits>

namespace warizan {

double leadingNumber(QStringView text) {
    QString digits;
    bool seenDigit = false, seenPoint = false, seenExponent = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
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

TextDataReader TextDataReader::fromText(const QString& text) {
    TextDataReader reader;
    const qsizetype n = text.size();
    qsizetype i = 0;
    auto isBlank = [](QChar c) { return c == u' ' || c == u'\t'; };
    auto isLineEnd = [](QChar c) { return c == u'\r' || c == u'\n'; };
    while (i < n) {
        while (i < n && isBlank(text.at(i)))
            ++i;
        if (i >= n)
            break;
        if (isLineEnd(text.at(i))) {
            // A line with nothing on it (or the end of a line already closed by its last field).
            ++i;
            continue;
        }
        QString value;
        if (text.at(i) == u'"') {
            const qsizetype close = text.indexOf(u'"', i + 1);
            const qsizetype end = close < 0 ? n : close;
            value = text.mid(i + 1, end - i - 1);
            i = close < 0 ? n : close + 1;
            // Whatever stands between the closing quote and the separator is not part of the field.
            while (i < n && text.at(i) != u',' && !isLineEnd(text.at(i)))
                ++i;
        } else {
            const qsizetype start = i;
            while (i < n && text.at(i) != u',' && !isLineEnd(text.at(i)))
                ++i;
            value = text.mid(start, i - start).trimmed();
        }
        reader.m_fields.push_back(value);
        if (i < n && text.at(i) == u',') {
            ++i;
            // A comma at the end of a line leaves one more, empty field on that line.
            qsizetype j = i;
            while (j < n && isBlank(text.at(j)))
                ++j;
            if (j >= n || isLineEnd(text.at(j)))
                reader.m_fields.push_back(QString());
            i = j;
        } else if (i < n) {
            // Line end: CRLF, CR or LF closes the field.
            if (text.at(i) == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
                ++i;
            ++i;
        }
    }
    return reader;
}

bool TextDataReader::load(const QString& path, QString* error) {
    QFile file(path);
    if (!file.exists()) {
        if (error)
            *error = QStringLiteral("ファイルが見つかりません。");
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("ファイルを開けません（%1）。").arg(file.errorString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("ファイルを読めません（%1）。").arg(file.errorString());
        return false;
    }
    const TextEncoding encoding = detectEncoding(bytes);
    *this = fromText(decodeText(bytes, encoding));
    m_encoding = encoding;
    return true;
}

QString TextDataReader::readText() {
    if (atEnd()) {
        ++m_next;
        return QString();
    }
    return m_fields[static_cast<size_t>(m_next++)];
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
