// The real device of the Windows build, under Wine: what it refuses before the multimedia interface sees
// it, and what that interface answers for a sound it is given.
#include "sound/winmm_sound_device.h"
#include "wav_file.h"

#include <QTemporaryDir>
#include <QTest>
#include <windows.h>

#include <mmsystem.h>

using namespace warizan;

class WinmmSoundDeviceTest final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void unplayableFileFails_data();
    void unplayableFileFails();
    void soundFromAFolderWithBlanksReachesTheInterface();
    void withoutSoundOutputTheOutputIsTheCause();

private:
    QTemporaryDir m_dir;
};

void WinmmSoundDeviceTest::initTestCase() {
    QVERIFY(m_dir.isValid());
}

void WinmmSoundDeviceTest::unplayableFileFails_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content"); // written when not empty
    QTest::addColumn<QString>("words");
    QTest::newRow("missing") << u"ない.wav"_qs << QByteArray() << u"ありません"_qs;
    QTest::newRow("a folder") << u"音 フォルダ"_qs << QByteArray("<folder>") << u"ありません"_qs;
    QTest::newRow("not a WAV") << u"text.wav"_qs << QByteArray("正解音2,seikai,*\r\n") << u"（"_qs;
    QTest::newRow("cut short") << u"short.wav"_qs << QByteArray("RIFF\x24\x00\x00\x00WAVEfmt ", 16)
                               << u"（"_qs;
}

void WinmmSoundDeviceTest::unplayableFileFails() {
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(QString, words);
    const QString path = m_dir.filePath(file);
    if (content == "<folder>") {
        QVERIFY(QDir().mkpath(path));
    } else if (!content.isEmpty()) {
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(content) == content.size());
    }
    WinmmSoundDevice device;
    const SoundDevice::Outcome outcome = device.play(path);
    QVERIFY(!outcome.ok);
    // The file is named, and a refusal of the interface comes with its own description in brackets.
    QVERIFY2(outcome.errorText.contains(QDir::toNativeSeparators(path)) && outcome.errorText.contains(words),
             qPrintable(outcome.errorText));
}

void WinmmSoundDeviceTest::soundFromAFolderWithBlanksReachesTheInterface() {
    const QString tone = m_dir.filePath(u"音 フォルダ/tone.wav"_qs);
    QVERIFY(test::writeWav(tone, 22050, 1, 16, test::toneSamples(22050, 1, 16, 0.2)));
    WinmmSoundDevice device;
    const SoundDevice::Outcome first = device.play(tone);
    // Wine may have no sound card: then the interface's refusal names the device, never the file's
    // place, which the quoted path hands over whole.
    if (!first.ok)
        QVERIFY2(!first.errorText.contains(u"ありません"), qPrintable(first.errorText));
    // A sound that played (or failed) leaves nothing open that would refuse the next one differently.
    const SoundDevice::Outcome second = device.play(tone);
    QCOMPARE(second.ok, first.ok);
    QCOMPARE(second.errorText, first.errorText);
}

// Where no sound can go out (no sound card, Wine without its sound drivers: the run of this test that sets
// WARIZAN_NO_SOUND_OUTPUT), the interface answers that the device's name is in use as an alias; the cause
// told is the missing output, every time.
void WinmmSoundDeviceTest::withoutSoundOutputTheOutputIsTheCause() {
    const bool noOutputExpected = qEnvironmentVariableIsSet("WARIZAN_NO_SOUND_OUTPUT");
    if (!noOutputExpected && waveOutGetNumDevs() > 0)
        QSKIP("this system has a sound output (the run without Wine's sound drivers has none)");
    QCOMPARE(waveOutGetNumDevs(), 0u);
    const QString tone = m_dir.filePath(u"tone.wav"_qs);
    QVERIFY(test::writeWav(tone, 22050, 1, 16, test::toneSamples(22050, 1, 16, 0.2)));
    WinmmSoundDevice device;
    for (int i = 0; i < 4; ++i) {
        const SoundDevice::Outcome outcome = device.play(tone);
        QVERIFY(!outcome.ok);
        QVERIFY2(outcome.errorText.contains(u"音を出す装置"_qs) && !outcome.errorText.contains(u"alias"_qs),
                 qPrintable(outcome.errorText));
    }
}

QTEST_GUILESS_MAIN(WinmmSoundDeviceTest)
#include "tst_sound_winmm_device.moc"
