#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <cmath>

namespace warizan::test {

// Samples of a sine tone, the same on every channel: 16-bit signed little-endian, or 8-bit unsigned.
inline QByteArray toneSamples(int frequency, int channels, int bits, double seconds, double amplitude = 0.5) {
    QByteArray bytes;
    const int frames = static_cast<int>(frequency * seconds);
    for (int i = 0; i < frames; ++i) {
        const double value = amplitude * std::sin(2 * M_PI * 440.0 * i / frequency);
        for (int c = 0; c < channels; ++c) {
            if (bits == 8) {
                bytes.append(static_cast<char>(static_cast<quint8>(std::lround(128 + 127 * value))));
            } else {
                const qint16 sample = qToLittleEndian(static_cast<qint16>(std::lround(32767 * value)));
                bytes.append(reinterpret_cast<const char*>(&sample), 2);
            }
        }
    }
    return bytes;
}

// Writes a PCM WAV file (creating its folder); false if the file cannot be written.
inline bool writeWav(const QString& path, int frequency, int channels, int bits, const QByteArray& samples) {
    auto le32 = [](quint32 v) {
        v = qToLittleEndian(v);
        return QByteArray(reinterpret_cast<const char*>(&v), 4);
    };
    auto le16 = [](quint16 v) {
        v = qToLittleEndian(v);
        return QByteArray(reinterpret_cast<const char*>(&v), 2);
    };
    const int frameBytes = channels * bits / 8;
    QByteArray wav = "RIFF" + le32(36 + samples.size()) + "WAVEfmt " + le32(16) + le16(1) + le16(channels) +
                     le32(frequency) + le32(frequency * frameBytes) + le16(frameBytes) + le16(bits) + "data" +
                     le32(samples.size()) + samples;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(wav) == wav.size();
}

} // namespace warizan::test
