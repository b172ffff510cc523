#include "roster/roster_file.h"

#include "textdata/encoding.h"

#include <QFile>
#include <QFileInfo>

namespace warizan {

namespace {

const QString kNotFound = QStringLiteral("ファイルが見つかりません");
const QString kNoAccess = QStringLiteral("ファイルにアクセスできません");
const QString kPastEnd = QStringLiteral("ファイルの終わりを越えて読もうとしました");

void setError(RosterFileError* error, int number, const QString& description) {
    if (error)
        *error = {number, description};
}

} // namespace

QString rosterPath(const Configuration& config) {
    return config.commonFolder + kRosterFileName;
}

QString rosterTempPath(const Configuration& config) {
    return config.commonFolder + kRosterTempFileName;
}

QString fixedWidthText(const QString& text, int width) {
    // Most reserved fields are empty: they share one blank text instead of each holding its own.
    if (text.isEmpty() && width == kRosterTextWidth) {
        static const QString blanks(kRosterTextWidth, u' ');
        return blanks;
    }
    QString cut = text.left(width);
    if (cut.size() == width && text.size() > width && cut.back().isHighSurrogate())
        cut.chop(1);
    return cut.leftJustified(width, u' ');
}

namespace {

// The longest character of the suite's encodings is four bytes (UTF-8): a cut leaves at most three.
constexpr int kLongestCutCharacter = 3;

// The text of a file whose only fault is a character cut off at its very end, without that character.
bool decodeUpToCut(const QString& path, QString* text, TextEncoding* encoding) {
    QByteArray bytes;
    FileFailure failure;
    if (!readDataFile(path, &bytes, &failure))
        return false;
    for (int cut = 1; cut <= kLongestCutCharacter && cut < bytes.size(); ++cut)
        if (decodeTextFile(bytes.chopped(cut), text, encoding))
            return true;
    return false;
}

} // namespace

bool RosterReader::open(const QString& path, RosterFileError* error) {
    m_fields = TextDataReader();
    m_entryLine = 0;
    m_firstShiftedLine = 0;
    m_cutInsideCharacter = false;
    FileFailure failure;
    if (m_fields.load(path, failure))
        return true;
    QString text;
    if (failure.fault == FileFault::Encoding && decodeUpToCut(path, &text, &m_cutEncoding)) {
        m_fields = TextDataReader::fromText(text);
        m_cutInsideCharacter = true;
        return true;
    }
    switch (failure.fault) {
    case FileFault::Missing:
        setError(error, kErrorFileNotFound, kNotFound);
        break;
    case FileFault::Denied:
    case FileFault::Unreadable:
    case FileFault::Other:
        setError(error, kErrorFileAccess, kNoAccess + QStringLiteral("（%1）").arg(failure.description));
        break;
    default:
        setError(error, kErrorFileAccess, failure.description);
        if (error)
            error->lasting = true;
        break;
    }
    return false;
}

bool RosterReader::readEntry(RosterEntry* entry, RosterFileError* error) {
    m_entryLine = m_fields.nextLine();
    if (m_fields.fieldCount() - m_fields.fieldsRead() < 8) {
        setError(error, kErrorInputPastEnd, kPastEnd);
        if (error) {
            error->whileReading = true;
            error->line = m_firstShiftedLine != 0 ? m_firstShiftedLine : m_entryLine;
        }
        return false;
    }
    entry->number = m_fields.readInt();
    entry->birthYear = m_fields.readInt();
    entry->reserved3 = m_fields.readInt();
    entry->reserved4 = m_fields.readInt();
    entry->name = fixedWidthText(m_fields.readText(), kRosterTextWidth);
    entry->status = m_fields.readInt();
    entry->reserved7 = fixedWidthText(m_fields.readText(), kRosterTextWidth);
    entry->reserved8 = fixedWidthText(m_fields.readText(), kRosterTextWidth);
    if (!m_fields.lastEndedLine() && m_firstShiftedLine == 0)
        m_firstShiftedLine = m_entryLine;
    // The last entry of a file cut inside a character lost at least that character: it is cut short
    // however many fields are left of it.
    if (m_cutInsideCharacter && atEnd()) {
        setError(error, kErrorInputPastEnd, kPastEnd);
        if (error) {
            error->whileReading = true;
            error->line = m_firstShiftedLine != 0 ? m_firstShiftedLine : m_entryLine;
        }
        return false;
    }
    return true;
}

bool RosterReader::checkWholeEntries(RosterFileError* error) {
    constexpr int kFields = 8;
    if (m_fields.fieldCount() % kFields == 0)
        return true;
    // Walk the entries as reading would, to name the same line, but keep nothing.
    TextDataReader fields = m_fields;
    int shifted = 0;
    int entryLine = 0;
    while (fields.fieldCount() - fields.fieldsRead() >= kFields) {
        entryLine = fields.nextLine();
        for (int i = 0; i < kFields; ++i)
            fields.skip();
        if (!fields.lastEndedLine() && shifted == 0)
            shifted = entryLine;
    }
    setError(error, kErrorInputPastEnd, kPastEnd);
    if (error) {
        error->whileReading = true;
        error->line = shifted != 0 ? shifted : fields.nextLine();
    }
    return false;
}

bool readRosterFile(const QString& path, std::vector<RosterEntry>* entries, TextEncoding* encoding,
                    RosterFileError* error) {
    RosterReader reader;
    if (!reader.open(path, error) || !reader.checkWholeEntries(error))
        return false;
    std::vector<RosterEntry> read;
    while (!reader.atEnd()) {
        RosterEntry entry;
        if (!reader.readEntry(&entry, error))
            return false;
        read.push_back(std::move(entry));
    }
    *entries = std::move(read);
    if (encoding)
        *encoding = reader.encoding();
    return true;
}

RosterRecovery 名簿ファイル処理(const Configuration& config, RosterFileError* error) {
    {
        // Opened as every data file is, so a roster that is a pipe cannot hold the program up here.
        QFile roster;
        FileFailure failure;
        if (openDataFile(roster, rosterPath(config), FileOpen::Read, &failure))
            return RosterRecovery::Readable;
        if (failure.fault != FileFault::Missing) {
            // Not missing: renaming would not replace it, and the list build names what is wrong.
            setError(error, kErrorFileAccess, failure.description);
            return RosterRecovery::Failed;
        }
    }
    const QString temp = rosterTempPath(config);
    if (!QFileInfo::exists(temp)) {
        setError(error, kErrorFileNotFound, kNotFound);
        return RosterRecovery::Failed;
    }
    // QFile::rename never overwrites, so a roster that exists but cannot be read stays as it is.
    if (!QFile::rename(temp, rosterPath(config))) {
        setError(error, kErrorFileAccess, kNoAccess);
        return RosterRecovery::Failed;
    }
    return RosterRecovery::Restored;
}

} // namespace warizan
