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
#include <tuple>
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

// How one field type sits in a record: its width and its little-endian byte image. Explicit byte images
// keep the files the same on every machine, and no compiler padding ever reaches them.
template <typename T> struct FieldCodec;

template <> struct FieldCodec<qint16> {
    static constexpr int width = 2;
    static void put(char* out, qint16 value) { qToLittleEndian(value, out); }
    static qint16 get(const char* in) { return qFromLittleEndian<qint16>(in); }
};

template <> struct FieldCodec<qint32> {
    static constexpr int width = 4;
    static void put(char* out, qint32 value) { qToLittleEndian(value, out); }
    static qint32 get(const char* in) { return qFromLittleEndian<qint32>(in); }
};

// A date value: an IEEE 754 double.
template <> struct FieldCodec<double> {
    static constexpr int width = 8;
    static void put(char* out, double value) { qToLittleEndian(std::bit_cast<quint64>(value), out); }
    static double get(const char* in) { return std::bit_cast<double>(qFromLittleEndian<quint64>(in)); }
};

// A text field: its bytes as they stand.
template <std::size_t N> struct FieldCodec<std::array<char, N>> {
    static constexpr int width = static_cast<int>(N);
    static void put(char* out, const std::array<char, N>& field) { std::memcpy(out, field.data(), N); }
    static std::array<char, N> get(const char* in) {
        std::array<char, N> field;
        std::memcpy(field.data(), in, N);
        return field;
    }
};

// A record layout: the record's fields in file order. The one list drives both the encoder and the
// decoder, and gives the record length at compile time.
template <typename Record, typename... Field> struct RecordLayout {
    std::tuple<Field Record::*...> fields;

    static constexpr int length = (FieldCodec<Field>::width + ...);

    void encode(const Record& record, char* out) const {
        std::apply([&](auto... member) { ((put(out, record.*member), out += width(member)), ...); }, fields);
    }

    Record decode(const char* in) const {
        Record record;
        std::apply([&](auto... member) { ((record.*member = get(in, member), in += width(member)), ...); },
                   fields);
        return record;
    }

private:
    template <typename T> static constexpr int width(T Record::*) { return FieldCodec<T>::width; }
    template <typename T> static void put(char* out, const T& value) { FieldCodec<T>::put(out, value); }
    template <typename T> static T get(const char* in, T Record::*) { return FieldCodec<T>::get(in); }
};

template <typename Record, typename... Field>
constexpr RecordLayout<Record, Field...> layoutOf(Field Record::*... fields) {
    return {{fields...}};
}

} // namespace recordbytes

// The two layouts, field by field in file order.
inline constexpr auto kScoreRecordLayout =
    recordbytes::layoutOf(&ScoreRecord::date, &ScoreRecord::clockTime, &ScoreRecord::pupil,
                          &ScoreRecord::level, &ScoreRecord::result, &ScoreRecord::schoolCodeText,
                          &ScoreRecord::spareText, &ScoreRecord::pointsText, &ScoreRecord::reservedText);
inline constexpr auto kHomeScoreRecordLayout = recordbytes::layoutOf(
    &HomeScoreRecord::folderText, &HomeScoreRecord::contentNumber, &HomeScoreRecord::date,
    &HomeScoreRecord::clockTime, &HomeScoreRecord::pupil, &HomeScoreRecord::level, &HomeScoreRecord::result,
    &HomeScoreRecord::schoolCodeText, &HomeScoreRecord::spareText, &HomeScoreRecord::pointsText,
    &HomeScoreRecord::reservedText);
static_assert(kScoreRecordLayout.length == kScoreRecordLength);
static_assert(kHomeScoreRecordLayout.length == kHomeScoreRecordLength);

// `out` must hold kScoreRecordLength (kHomeScoreRecordLength) bytes; `bytes` likewise.
inline void encodeScoreRecord(const ScoreRecord& record, char* out) {
    kScoreRecordLayout.encode(record, out);
}
// Inline because the count decodes up to 20000 records every time a screen shows the figures.
inline ScoreRecord decodeScoreRecord(const char* bytes) {
    return kScoreRecordLayout.decode(bytes);
}
inline void encodeHomeScoreRecord(const HomeScoreRecord& record, char* out) {
    kHomeScoreRecordLayout.encode(record, out);
}
inline HomeScoreRecord decodeHomeScoreRecord(const char* bytes) {
    return kHomeScoreRecordLayout.decode(bytes);
}

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
