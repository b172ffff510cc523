// The real device on SDL's disk driver, which writes what the device would sound to a file, in real time.
#include "sound/sdl_sound_device.h"
#include "wav_file.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>

using namespace warizan;

namespace {

constexpr int kRate = 22050; // the device is opened at exactly this rate, mono, 16-bit
constexpr double kSeconds = 0.3;

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class SdlDiskDeviceTest final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void samplesReachTheDeviceUnchanged();
    void filesAreConvertedToTheDeviceFormat_data();
    void filesAreConvertedToTheDeviceFormat();

private:
    // Plays `wav` twice on a fresh device whose output goes to `output`; checks each play lasted the sound.
    void playTwice(const QString& wav, const QString& output);
    QTemporaryDir m_dir;
};

void SdlDiskDeviceTest::initTestCase() {
    QVERIFY(m_dir.isValid());
    qputenv("SDL_AUDIODRIVER", "disk");
}

void SdlDiskDeviceTest::playTwice(const QString& wav, const QString& output) {
    qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(output));
    SdlSoundDevice device({kRate, 1, true});
    for (int i = 0; i < 2; ++i) {
        QElapsedTimer timer;
        timer.start();
        const SoundDevice::Outcome outcome = device.play(wav);
        const qint64 elapsed = timer.elapsed();
        QVERIFY2(outcome.ok, qPrintable(outcome.errorText));
        QVERIFY2(elapsed >= kSeconds * 1000, qPrintable(QStringLiteral("returned after %1 ms").arg(elapsed)));
        // Generous: the bound catches a play that hangs, not a slow machine.
        QVERIFY2(elapsed < kSeconds * 1000 + 5000, qPrintable(QStringLiteral("took %1 ms").arg(elapsed)));
    }
}

void SdlDiskDeviceTest::samplesReachTheDeviceUnchanged() {
    const QString wav = m_dir.filePath(u"音 フォルダ/same.wav"_qs);
    const QByteArray samples = test::toneSamples(kRate, 1, 16, kSeconds);
    QVERIFY(test::writeWav(wav, kRate, 1, 16, samples));
    const QString output = m_dir.filePath(u"same.raw"_qs);
    playTwice(wav, output);
    if (QTest::currentTestFailed())
        return;

    // The device sounds silence while idle; the two sounds must be there whole and nothing else.
    QByteArray written = readAll(output);
    for (int i = 0; i < 2; ++i) {
        const qsizetype at = written.indexOf(samples);
        QVERIFY2(at >= 0, "the file's samples are not in the device's output byte for byte");
        written.remove(at, samples.size());
    }
    QCOMPARE(written.count('\0'), written.size());
}

void SdlDiskDeviceTest::filesAreConvertedToTheDeviceFormat_data() {
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("bits");
    QTest::newRow("44.1 kHz stereo") << 44100 << 2 << 16;
    QTest::newRow("11.025 kHz mono") << 11025 << 1 << 16;
    QTest::newRow("8-bit unsigned") << kRate << 1 << 8;
}

void SdlDiskDeviceTest::filesAreConvertedToTheDeviceFormat() {
    QFETCH(int, rate);
    QFETCH(int, channels);
    QFETCH(int, bits);
    const QString wav =
        m_dir.filePath(QStringLiteral("音 フォルダ/%1-%2-%3.wav").arg(rate).arg(channels).arg(bits));
    QVERIFY(test::writeWav(wav, rate, channels, bits, test::toneSamples(rate, channels, bits, kSeconds)));
    const QString output = wav + u".raw"_qs;
    playTwice(wav, output);
    if (QTest::currentTestFailed())
        return;

    // Wrong rate or channel handling changes the sound's length; wrong sample handling its level or centre.
    const QByteArray written = readAll(output);
    const auto* sample = reinterpret_cast<const qint16*>(written.constData());
    const qsizetype count = written.size() / 2;
    qsizetype first = 0;
    while (first < count && std::abs(sample[first]) < 300)
        ++first;
    qsizetype last = first;
    int peak = 0;
    double sum = 0;
    // The first sound ends where a stretch of silence starts (a 440 Hz tone is never quiet for long).
    for (qsizetype i = first; i < count && i - last < 200; ++i) {
        if (std::abs(sample[i]) >= 300)
            last = i;
        peak = std::max(peak, std::abs(int(sample[i])));
        sum += sample[i];
    }
    const double frames = double(last - first + 1);
    QVERIFY2(std::abs(frames - kRate * kSeconds) < kRate * kSeconds * 0.03,
             qPrintable(QStringLiteral("the first sound lasts %1 frames").arg(frames)));
    QVERIFY2(std::abs(peak - 16384) < 1600, qPrintable(QStringLiteral("peak %1").arg(peak)));
    QVERIFY2(std::abs(sum / frames) < 300, qPrintable(QStringLiteral("mean %1").arg(sum / frames)));
}

QTEST_GUILESS_MAIN(SdlDiskDeviceTest)
#include "tst_sound_sdl_disk.moc"
