#include "sound/sound_cues.h"
#include "sound/sound_table.h"
#include "test_support.h"

#include <QDir>
#include <QSet>
#include <QTest>

using namespace warizan;

namespace {

enum Cue { Correct, Wrong, PersonalBest, Fail, TopRecord, Pass, Warning };

// Plays a cue; the answer cues' result, true for the others.
bool play(AppContext& context, int cue) {
    using Player = bool (*)(AppContext&);
    static const Player players[] = {
        playCorrectCue,
        playWrongCue,
        [](AppContext& c) { return playPersonalBestCue(c), true; },
        [](AppContext& c) { return playFailCue(c), true; },
        [](AppContext& c) { return playTopRecordCue(c), true; },
        [](AppContext& c) { return playPassCue(c), true; },
        [](AppContext& c) { return playWarningCue(c), true; },
    };
    return players[cue](context);
}

const int kColumnOf[] = {kCorrect2, kWrong2, kPersonal2, kFail1};

void listFiles(SoundState& sound, int column, int n) {
    for (int i = 1; i <= n; ++i)
        sound.soundTable[column][i] = QStringLiteral("f%1").arg(i);
    sound.soundTable[column][kSoundCountRow] = QString::number(n);
}

// A context whose four random events list one file each, in a folder with a blank in its path.
struct CueContext : test::TestContext {
    CueContext() {
        state->config.soundFolder = QStringLiteral("/home/family/音 フォルダ/");
        for (int column : kColumnOf)
            listFiles(state->sound, column, 1);
    }
};

} // namespace

class SoundCuesTest final : public QObject {
    Q_OBJECT
private slots:
    void pickIsIntOfRTimesNPlusOne_data();
    void pickIsIntOfRTimesNPlusOne();
    void commandIsKept_data();
    void commandIsKept();
    void answerCueFailures_data();
    void answerCueFailures();
    void otherCuesNeverEndTheProgram_data();
    void otherCuesNeverEndTheProgram();
    void eventWithNothingToPlay_data();
    void eventWithNothingToPlay();
};

void SoundCuesTest::pickIsIntOfRTimesNPlusOne_data() {
    QTest::addColumn<int>("cue");
    QTest::addColumn<int>("n");
    QTest::addColumn<quint64>("seed");
    QTest::newRow("correct, one file") << int(Correct) << 1 << quint64(1);
    QTest::newRow("correct, three files") << int(Correct) << 3 << quint64(42);
    QTest::newRow("wrong, twenty files") << int(Wrong) << 20 << quint64(20240401);
    QTest::newRow("personal best, two files") << int(PersonalBest) << 2 << quint64(7);
    QTest::newRow("fail, five files") << int(Fail) << 5 << quint64(987654321);
}

void SoundCuesTest::pickIsIntOfRTimesNPlusOne() {
    QFETCH(int, cue);
    QFETCH(int, n);
    QFETCH(quint64, seed);
    CueContext t;
    listFiles(t.state->sound, kColumnOf[cue], n);
    t.random.seed(seed);
    RandomSource twin;
    twin.seed(seed);

    QSet<QString> heard;
    for (int k = 0; k < 400; ++k) {
        QVERIFY(play(t.context, cue));
        const int expected = static_cast<int>(twin.next() * n) + 1;
        QCOMPARE(t.sound.played.back(),
                 t.state->config.soundFolder + QStringLiteral("f%1.wav").arg(expected));
        heard.insert(t.sound.played.back());
    }
    QCOMPARE(heard.size(), n); // every file from 1 to n is reached, and no other
}

void SoundCuesTest::commandIsKept_data() {
    QTest::addColumn<int>("cue");
    QTest::addColumn<QString>("file");
    QTest::newRow("correct") << int(Correct) << u"f1.wav"_qs;
    QTest::newRow("wrong") << int(Wrong) << u"f1.wav"_qs;
    QTest::newRow("personal best") << int(PersonalBest) << u"f1.wav"_qs;
    QTest::newRow("fail") << int(Fail) << u"f1.wav"_qs;
    QTest::newRow("top record") << int(TopRecord) << u"最高1.wav"_qs;
    QTest::newRow("pass") << int(Pass) << u"合格.wav"_qs;
    QTest::newRow("warning") << int(Warning) << u"警告1.wav"_qs;
}

void SoundCuesTest::commandIsKept() {
    QFETCH(int, cue);
    QFETCH(QString, file);
    CueContext t;
    const QString path = u"/home/family/音 フォルダ/"_qs + file;
    const SoundState& sound = t.state->sound;

    QVERIFY(play(t.context, cue));
    QCOMPARE(t.sound.played, QStringList{path});
    QCOMPARE(sound.lastCommand, u"play "_qs + path + u" wait"_qs);
    QCOMPARE(sound.lastResultCode, kSoundPlayed);
    QCOMPARE(sound.lastReply, QString());

    t.sound.failNext(u"再生できません"_qs);
    QVERIFY(play(t.context, cue)); // a first failure never ends the program
    QCOMPARE(sound.lastCommand, u"play "_qs + path + u" wait"_qs);
    QCOMPARE(sound.lastResultCode, kSoundDeviceFailed);
    QCOMPARE(sound.lastReply, u"再生できません"_qs);
}

void SoundCuesTest::answerCueFailures_data() {
    // One letter per cue: c/w correct or wrong cue that fails, C/W one that plays, p/P the personal-best cue.
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("endsAt"); // index of the cue that ends the program, -1 for none
    QTest::addColumn<int>("failCount");
    QTest::addColumn<int>("firstAt"); // index of the failure whose cause the parents are told
    QTest::newRow("three failures are silent") << u"ccc"_qs << -1 << 3 << 0;
    QTest::newRow("the fourth in a row ends") << u"cccc"_qs << 3 << 3 << 0;
    QTest::newRow("wrong cue alike") << u"wwww"_qs << 3 << 3 << 0;
    QTest::newRow("correct and wrong share the count") << u"cwwc"_qs << 3 << 3 << 0;
    QTest::newRow("a success resets") << u"ccC"_qs << -1 << 0 << 0;
    QTest::newRow("a success in between starts again") << u"cccWccc"_qs << -1 << 3 << 4;
    QTest::newRow("four after a success end") << u"cccCcccc"_qs << 7 << 3 << 4;
    QTest::newRow("result-screen cues do not count") << u"cppcc"_qs << -1 << 3 << 0;
    QTest::newRow("nor reset") << u"cccPc"_qs << 4 << 3 << 0;
}

void SoundCuesTest::answerCueFailures() {
    QFETCH(QString, script);
    QFETCH(int, endsAt);
    QFETCH(int, failCount);
    QFETCH(int, firstAt);
    CueContext t;
    bool endedAtMessage = false;
    t.dialogs.onMessage = [&](const RecordingDialogs::Message&) { endedAtMessage = t.dialogs.ended; };
    for (int i = 0; i < script.size(); ++i) {
        const QChar step = script.at(i);
        if (step.isLower())
            t.sound.failNext(QStringLiteral("失敗%1").arg(i));
        const int cue = step.toLower() == u'c' ? Correct : step.toLower() == u'w' ? Wrong : PersonalBest;
        QCOMPARE(play(t.context, cue), i != endsAt);
        QCOMPARE(t.dialogs.ended, i == endsAt);
        if (i == endsAt)
            break;
    }
    QCOMPARE(t.state->sound.soundFailCount, qint16(failCount));
    QCOMPARE(t.dialogs.messages.size(), size_t(endsAt >= 0 ? 1 : 0));
    if (endsAt < 0)
        return;
    // The message names the failure that ended the program, and is shown before it ends; the line for the
    // parents gives the cause of the first failure of the row and where to look.
    const auto& message = t.dialogs.messages.front();
    QCOMPARE(message.title, u"音声エラー"_qs);
    const QStringList lines = message.text.split(u"\r\n"_qs);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0] + u"\r\n"_qs + lines[1],
             u"音声がでません。先生を呼びなさい。\r\n失敗"_qs + QString::number(endsAt));
    QVERIFY2(lines[2].startsWith(u"（おうちの方へ）"_qs) &&
                 lines[2].contains(u"原因: 失敗"_qs + QString::number(firstAt) + u'。') &&
                 lines[2].contains(u"スピーカー"_qs) && lines[2].contains(u"音量"_qs) &&
                 lines[2].contains(QDir::toNativeSeparators(u"/home/family/音 フォルダ"_qs)),
             qPrintable(lines[2]));
    QCOMPARE(message.icon, Dialogs::Icon::None);
    QVERIFY(!endedAtMessage);
    QCOMPARE(t.dialogs.endCode, 1);
}

void SoundCuesTest::otherCuesNeverEndTheProgram_data() {
    QTest::addColumn<int>("cue");
    QTest::newRow("personal best") << int(PersonalBest);
    QTest::newRow("fail") << int(Fail);
    QTest::newRow("top record") << int(TopRecord);
    QTest::newRow("pass") << int(Pass);
    QTest::newRow("warning") << int(Warning);
}

void SoundCuesTest::otherCuesNeverEndTheProgram() {
    QFETCH(int, cue);
    CueContext t;
    t.state->sound.soundFailCount = kSilentSoundFailures; // as after three failed answer cues
    t.sound.failNext(u"再生できません"_qs, 10);
    for (int i = 0; i < 10; ++i)
        play(t.context, cue);
    QCOMPARE(t.sound.played.size(), 10);
    QVERIFY(t.dialogs.messages.empty());
    QVERIFY(!t.dialogs.ended);
    QCOMPARE(t.state->sound.soundFailCount, kSilentSoundFailures);
}

void SoundCuesTest::eventWithNothingToPlay_data() {
    QTest::addColumn<int>("cue");
    QTest::addColumn<QString>("soundFile"); // the event's group in the sound file
    const char* event[] = {"正解音2", "間違い音2", "自己最高音2", "不合格音1"};
    for (int cue : {Correct, Wrong, PersonalBest, Fail}) {
        const QString name = QString::fromUtf8(event[cue]);
        QString overfull = name;
        for (int i = 1; i <= 21; ++i)
            overfull += QStringLiteral(",f%1").arg(i);
        QTest::addRow("%s, star alone", event[cue]) << cue << name + u",*"_qs;
        QTest::addRow("%s, not listed", event[cue]) << cue << u"雑音,f1,*"_qs;
        QTest::addRow("%s, blank name", event[cue]) << cue << name + u",\"\",*"_qs;
        QTest::addRow("%s, more than twenty names", event[cue]) << cue << overfull + u",*"_qs;
    }
}

void SoundCuesTest::eventWithNothingToPlay() {
    QFETCH(int, cue);
    QFETCH(QString, soundFile);
    test::TempSuite suite;
    suite.writeSoundTable(soundFile);
    test::TestContext t;
    t.state->config.soundFolder = suite.soundFolder();
    QVERIFY(loadSoundTable(suite.soundFolder() + kSoundTableFileName, t.state->sound, nullptr));
    const bool answerCue = cue == Correct || cue == Wrong;

    for (int i = 1; i <= 4; ++i) {
        QCOMPARE(play(t.context, cue), !answerCue || i < 4);
        QVERIFY(t.sound.played.isEmpty()); // the device is never asked for a file without a name
        QCOMPARE(t.state->sound.lastResultCode, kSoundNotConfigured);
        QVERIFY(t.state->sound.lastReply.contains(soundEventName(kColumnOf[cue])));
    }
    QCOMPARE(t.dialogs.ended, answerCue);
    if (answerCue)
        QVERIFY(t.dialogs.messages.front().text.startsWith(
            kSoundErrorText + u"\r\n"_qs + t.state->sound.lastReply + u"\r\n（おうちの方へ）"_qs));
}

QTEST_GUILESS_MAIN(SoundCuesTest)
#include "tst_sound_cues.moc"
