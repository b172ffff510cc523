#include "records/score_record.h"

#include "textdata/encoding.h"

#include <QDir>
#include <cmath>
#include <cstring>

namespace warizan {

namespace {

constexpr qint64 kMsPerDay = 86'400'000;
constexpr int kSecondsPerDay = 86'400;

// The day date values count from.
QDate dateValueEpoch() {
    return QDate(1899, 12, 30);
}

template <std::size_t N> std::array<char, N> textField(const QString& text) {
    const QByteArray bytes = shiftJisField(text, static_cast<int>(N));
    std::array<char, N> field{};
    std::memcpy(field.data(), bytes.constData(), N);
    return field;
}

template <std::size_t N> std::array<char, N> blankField() {
    std::array<char, N> field;
    field.fill(' ');
    return field;
}

} // namespace

QByteArray encodeScoreRecord(const ScoreRecord& record) {
    QByteArray bytes(kScoreRecordLength, '\0');
    encodeScoreRecord(record, bytes.data());
    return bytes;
}

QByteArray encodeHomeScoreRecord(const HomeScoreRecord& record) {
    QByteArray bytes(kHomeScoreRecordLength, '\0');
    encodeHomeScoreRecord(record, bytes.data());
    return bytes;
}

std::vector<ScoreRecord> decodeScoreRecords(const QByteArray& bytes) {
    std::vector<ScoreRecord> records;
    const qsizetype count = bytes.size() / kScoreRecordLength;
    records.reserve(static_cast<std::size_t>(count));
    for (qsizetype i = 0; i < count; ++i)
        records.push_back(decodeScoreRecord(bytes.constData() + i * kScoreRecordLength));
    return records;
}

ScoreRecord makeScoreRecord(const Configuration& config, const QDate& date, const QTime& time, qint16 pupil,
                            qint16 level, qint32 result) {
    ScoreRecord record;
    record.date = dateValue(date);
    record.clockTime = clockValue(time);
    record.pupil = pupil;
    record.level = level;
    record.result = result;
    record.schoolCodeText = textField<5>(config.schoolCode);
    record.spareText = blankField<5>();
    // The points field has always held a blank-led zero; readers of the file expect that text.
    record.pointsText = {' ', '0', ' ', ' ', ' '};
    return record;
}

HomeScoreRecord makeHomeScoreRecord(const Configuration& config, const QDate& date, const QTime& time,
                                    qint16 pupil, qint16 level, qint32 result) {
    HomeScoreRecord record;
    // The home file is read by the suite's programs on Windows machines too: its folder text always ends
    // with a backslash, whatever separator this machine's paths use.
    record.folderText = textField<20>(config.programFolderName + u'\\');
    record.date = dateValue(date);
    record.clockTime = clockValue(time);
    record.pupil = pupil;
    record.level = level;
    record.result = result;
    record.schoolCodeText = textField<5>(config.schoolCode);
    return record;
}

double dateValue(const QDate& date) {
    return static_cast<double>(dateValueEpoch().daysTo(date));
}

double clockValue(const QTime& time) {
    return static_cast<double>(time.msecsSinceStartOfDay()) / static_cast<double>(kMsPerDay);
}

QDate dateFromValue(double value) {
    // Far beyond any calendar a record can mean; keeps the day count inside qint64 arithmetic.
    constexpr double kLimit = 1e9;
    if (!std::isfinite(value) || std::fabs(value) > kLimit)
        return {};
    // The whole part is the day; for dates before the epoch the fraction runs forward from that day,
    // so the day is the whole part towards zero, not the floor.
    return dateValueEpoch().addDays(static_cast<qint64>(std::trunc(value)));
}

QTime clockFromValue(double value) {
    if (!std::isfinite(value))
        return {};
    const double fraction = std::fabs(value - std::trunc(value));
    const int seconds =
        std::min(static_cast<int>(std::lround(fraction * kSecondsPerDay)), kSecondsPerDay - 1);
    return QTime::fromMSecsSinceStartOfDay(seconds * 1000);
}

QString fieldText(const char* bytes, int width) {
    int end = width;
    while (end > 0 && (bytes[end - 1] == ' ' || bytes[end - 1] == '\0'))
        --end;
    return fromShiftJis(QByteArray(bytes, end)).trimmed();
}

QString scoreFilePath(const Configuration& config) {
    return config.programDataFolder + kScoreFileName;
}

QString homeScoreFilePath(const Configuration& config) {
    return config.commonFolder + kHomeScoreFileName;
}

} // namespace warizan
