#pragma once

#include "state/program_state.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QTime>
#include <QtEndian>
#include <array>
#include <bit>
#include <cstring>
#include <vector>

namespace warizan {

// The two score files. Both are fixed-length records, little-endian, packed without gaps; other programs
// of the suite read them, so the layouts below are byte for byte what the files hold.
inline const QString kScoreFileName = QStringLiteral("成績累積データ.dat");
inline const QString kHomeScoreFileName = QStringLiteral("成績累積データ家庭用.dat");

inline constexpr int kScoreRecordLength = 44;
inline constexpr int kHomeScoreRecordLength = 66;

// Results at or above this are a run that was not finished in time: no points.
inline constexpr qint32 kNoPointsResult = 99998;
// Results below this are counted as runs; larger ones stay in the file and still earn points.
inline constexpr qint32 kCountedRunLimit = 6000;

// A text field as stored: CP932 bytes, blank-padded, or all zero bytes when the field is never filled.
using TextField5 = std::array<char, 5>;
using TextField20 = std::array<char, 20>;

// One record of the score file in the program's data folder.
struct ScoreRecord {
    double date = 0;      // whole days since 30 December 1899
    double clockTime = 0; // time of day as a fraction of a day
    qint16 pupil = 0;
    qint16 level = 0;
    qint32 result = 0; // seconds, or 99999 when the time ran out
    TextField5 schoolCodeText{};
    TextField5 spareText{};
    TextField5 pointsText{};
    TextField5 reservedText{};
};

// One record of the home score file in the suite's common folder.
struct HomeScoreRecord {
    TextField20 folderText{}; // the program's folder name and a separator
    qint16 contentNumber = 0;
    double date = 0;
    double clockTime = 0;
    qint16 pupil = 0;
    qint16 level = 0;
    qint32 result = 0;
    TextField5 schoolCodeText{};
    TextField5 spareText{};
    TextField5 pointsText{};
    TextField5 reservedText{};
};

namespace recordbytes {
// Little-endian field readers; each returns the position after the field.
inline const char* get16(const char* in, qint16* value) {
    *value = qFromLittleEndian<qint16>(in);
    return in + 2;
}
inline const char* get32(const char* in, qint32* value) {
    *value = qFromLittleEndian<qint32>(in);
    return in + 4;
}
inline const char* getDouble(const char* in, double* value) {
    *value = std::bit_cast<double>(qFromLittleEndian<quint64>(in));
    return in + 8;
}
template <std::size_t N> const char* getText(const char* in, std::array<char, N>* field) {
    std::memcpy(field->data(), in, N);
    return in + N;
}
} // namespace recordbytes

// `out` must hold kScoreRecordLength (kHomeScoreRecordLength) bytes; `bytes` likewise.
void encodeScoreRecord(const ScoreRecord& record, char* out);
// Inline because the count decodes up to 20000 records every time a screen shows the figures.
inline ScoreRecord decodeScoreRecord(const char* bytes) {
    using namespace recordbytes;
    ScoreRecord record;
    bytes = getDouble(bytes, &record.date);
    bytes = getDouble(bytes, &record.clockTime);
    bytes = get16(bytes, &record.pupil);
    bytes = get16(bytes, &record.level);
    bytes = get32(bytes, &record.result);
    bytes = getText(bytes, &record.schoolCodeText);
    bytes = getText(bytes, &record.spareText);
    bytes = getText(bytes, &record.pointsText);
    getText(bytes, &record.reservedText);
    return record;
}
void encodeHomeScoreRecord(const HomeScoreRecord& record, char* out);
HomeScoreRecord decodeHomeScoreRecord(const char* bytes);

QByteArray encodeScoreRecord(const ScoreRecord& record);
QByteArray encodeHomeScoreRecord(const HomeScoreRecord& record);

// Every whole record of a block read from a score file; a partial record at the end (a writer cut off
// half-way) is left out.
std::vector<ScoreRecord> decodeScoreRecords(const QByteArray& bytes);

// The records a run of `pupil` on `level` leaves, stamped with `date` and `time`. The school code is cut
// to its field at a character boundary; an empty code leaves the field blank.
ScoreRecord makeScoreRecord(const Configuration& config, const QDate& date, const QTime& time, qint16 pupil,
                            qint16 level, qint32 result);
HomeScoreRecord makeHomeScoreRecord(const Configuration& config, const QDate& date, const QTime& time,
                                    qint16 pupil, qint16 level, qint32 result);

// Date values: days since 30 December 1899 with the time of day as the fraction.
double dateValue(const QDate& date);
double clockValue(const QTime& time);
// The day a date value falls on; invalid for values that are no date (NaN, infinite, out of range).
QDate dateFromValue(double value);
// The time of day of a date value's fraction, to the nearest second.
QTime clockFromValue(double value);

// A field's text with the blank and zero padding removed.
QString fieldText(const char* bytes, int width);
template <std::size_t N> QString fieldText(const std::array<char, N>& field) {
    return fieldText(field.data(), static_cast<int>(N));
}

QString scoreFilePath(const Configuration& config);
QString homeScoreFilePath(const Configuration& config);

} // namespace warizan
