// The real device on SDL's dummy driver, which takes real time but needs no sound card.
#include "sound/sdl_sound_device.h"
#include "sound/sound_cues.h"
#include "sound/sound_table.h"
#include "test_support.h"
#include "wav_file.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/stat.h>

using namespace warizan;

class SdlSoundDeviceTest final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void leavesTerminationSignalsAlone(); // first: it needs SDL not started yet in this process
    void cuesPlayFromAFolderWithBlanks();
    void unreadableFileFails_data();
    void unreadableFileFails();
    void unusableDriverFails_data();
    void unusableDriverFails();

private:
    QTemporaryDir m_dir;
    QString m_tone;
};

void SdlSoundDeviceTest::initTestCase() {
    qputenv("SDL_AUDIODRIVER", "dummy"); // also when run by hand on a machine without a sound card
    QVERIFY(m_dir.isValid());
    m_tone = m_dir.filePath(u"音 フォルダ/tone.wav"_qs);
    QVERIFY(test::writeWav(m_tone, 22050, 1, 16, test::toneSamples(22050, 1, 16, 0.2)));
}

void SdlSoundDeviceTest::leavesTerminationSignalsAlone() {
    // SDL claims only signals that still have their default action; the test framework has claimed these.
    struct sigaction framework[2];
    const int termination[2] = {SIGTERM, SIGINT};
    for (int i = 0; i < 2; ++i) {
        sigaction(termination[i], nullptr, &framework[i]);
        std::signal(termination[i], SIG_DFL);
    }
    SdlSoundDevice device; // SDL gives the signals back when its audio stops, so look while it is open
    const bool played = device.play(m_tone).ok;
    struct sigaction now[2];
    for (int i = 0; i < 2; ++i) {
        sigaction(termination[i], nullptr, &now[i]);
        sigaction(termination[i], &framework[i], nullptr);
    }
    QVERIFY(played);
    QVERIFY2(now[0].sa_handler == SIG_DFL && now[1].sa_handler == SIG_DFL,
             "the sound device took over a termination signal");
}

void SdlSoundDeviceTest::cuesPlayFromAFolderWithBlanks() {
    const QString folder = m_dir.filePath(u"音 フォルダ/"_qs);
    for (const QString& name : {u"seikai.wav"_qs, u"最高1.wav"_qs, u"合格.wav"_qs, u"警告1.wav"_qs})
        QVERIFY(QFile::copy(m_tone, folder + name));
    test::TestContext t;
    SdlSoundDevice device;
    AppContext context{*t.state, t.clock, t.dialogs, device, t.starter, t.random};
    t.state->config.soundFolder = folder;
    test::writeTextFile(folder + kSoundTableFileName, u"正解音2,seikai,*,間違い音2,seikai,*"_qs);
    QVERIFY(loadSoundTable(folder + kSoundTableFileName, t.state->sound, nullptr));
    t.state->sound.soundFailCount = 2;

    QElapsedTimer timer;
    timer.start();
    QVERIFY(playCorrectCue(context));
    QVERIFY2(timer.elapsed() >= 200, "the cue returned before its sound could have ended");
    QCOMPARE(t.state->sound.soundFailCount, qint16(0));
    QVERIFY(playWrongCue(context));
    for (auto cue : {playTopRecordCue, playPassCue, playWarningCue}) {
        cue(context);
        QVERIFY2(t.state->sound.lastResultCode == kSoundPlayed, qPrintable(t.state->sound.lastReply));
    }
    QVERIFY(t.dialogs.messages.empty());
}

void SdlSoundDeviceTest::unreadableFileFails_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content"); // written when not empty
    QTest::newRow("missing") << u"ない.wav"_qs << QByteArray();
    QTest::newRow("not a WAV") << u"text.wav"_qs << QByteArray("正解音2,seikai,*\r\n");
    QTest::newRow("cut short") << u"short.wav"_qs << QByteArray("RIFF\x24\x00\x00\x00WAVEfmt ", 16);
    QTest::newRow("a folder") << u"音 フォルダ"_qs << QByteArray();
    QTest::newRow("a pipe nobody writes to") << u"pipe.wav"_qs << QByteArray("<fifo>");
}

void SdlSoundDeviceTest::unreadableFileFails() {
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    const QString path = m_dir.filePath(file);
    if (content == "<fifo>") {
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    } else if (!content.isEmpty()) {
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(content) == content.size());
    }
    SdlSoundDevice device;
    const SoundDevice::Outcome outcome = device.play(path);
    QVERIFY(!outcome.ok);
    QVERIFY2(outcome.errorText.contains(path), qPrintable(outcome.errorText));
    QVERIFY(device.play(m_tone).ok); // the device stays usable
}

void SdlSoundDeviceTest::unusableDriverFails_data() {
    QTest::addColumn<QByteArray>("driver");
    QTest::newRow("unknown driver") << QByteArray("warizan-none");
    // ALSA opens a named device or fails; this name exists on no machine.
    QTest::newRow("no such ALSA device") << QByteArray("alsa");
}

void SdlSoundDeviceTest::unusableDriverFails() {
    QFETCH(QByteArray, driver);
    const QByteArray before = qgetenv("SDL_AUDIODRIVER");
    qputenv("SDL_AUDIODRIVER", driver);
    qputenv("AUDIODEV", "warizan_no_such_device");
    SoundDevice::Outcome outcome;
    {
        SdlSoundDevice device;
        outcome = device.play(m_tone);
    }
    qputenv("SDL_AUDIODRIVER", before);
    qunsetenv("AUDIODEV");
    QVERIFY2(!outcome.ok, "playing without a usable device reported success");
    QVERIFY(outcome.errorText.startsWith(u"音声"_qs));
    QVERIFY2(outcome.errorText.size() > 20, qPrintable(outcome.errorText)); // carries SDL's own reason
}

QTEST_GUILESS_MAIN(SdlSoundDeviceTest)
#include "tst_sound_sdl_device.moc"
