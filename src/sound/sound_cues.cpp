#include "sound/sound_cues.h"

#include "platform/shown_path.h"
#include "sound/sound_table.h"

namespace warizan {

namespace {

SoundDevice::Outcome playFile(AppContext& context, const QString& fileName) {
    SoundState& sound = context.state.sound;
    const QString path = context.state.config.soundFolder + fileName;
    sound.lastCommand = QStringLiteral("play ") + path + QStringLiteral(" wait");
    const SoundDevice::Outcome outcome = context.soundDevice.play(path);
    sound.lastResultCode = outcome.ok ? kSoundPlayed : kSoundDeviceFailed;
    sound.lastReply = outcome.ok ? QString() : outcome.errorText;
    return outcome;
}

SoundDevice::Outcome playFromEvent(AppContext& context, int column) {
    SoundState& sound = context.state.sound;
    const int count = soundFileCount(sound, column);
    QString name;
    if (count >= 1) {
        name = sound.soundTable[column][context.random.pickOneTo(count)];
    } else {
        // The draw is made all the same, so the run of random numbers the questions see does not depend on
        // how the sound file is written.
        context.random.next();
    }
    if (name.isEmpty()) {
        // An event the file does not list (or closes at once, or with a blank name): asking the device for
        // "<folder>.wav" would only fail with a misleading description.
        const QString why = QStringLiteral("%1 の「%2」に鳴らす音声ファイルがありません")
                                .arg(kSoundTableFileName, soundEventName(column));
        sound.lastCommand.clear();
        sound.lastResultCode = kSoundNotConfigured;
        sound.lastReply = why;
        return {false, why};
    }
    return playFile(context, name + QStringLiteral(".wav"));
}

bool countAnswerCue(AppContext& context, const SoundDevice::Outcome& outcome) {
    qint16& failures = context.state.sound.soundFailCount;
    if (outcome.ok) {
        failures = 0;
        return true;
    }
    const QString description =
        outcome.errorText.isEmpty() ? QStringLiteral("詳しい原因は分かりません") : outcome.errorText;
    if (failures == 0)
        context.state.sound.firstFailureReply = description;
    if (failures < kSilentSoundFailures) {
        ++failures;
        return true;
    }
    const QString forParents =
        QStringLiteral("（おうちの方へ）最初に鳴らなかったときの原因: %1。"
                       "スピーカーやヘッドホンがつながっているか、音量が小さすぎないか"
                       "（消音になっていないか）、音フォルダ %2 に音声ファイルがあるかを"
                       "確かめてください。")
            .arg(context.state.sound.firstFailureReply, shownPath(context.state.config.soundFolder));
    context.dialogs.showMessage(kSoundErrorTitle,
                                kSoundErrorText + QStringLiteral("\r\n") + description +
                                    QStringLiteral("\r\n") + forParents,
                                Dialogs::Icon::None);
    context.dialogs.endProgram(1);
    return false;
}

} // namespace

bool playCorrectCue(AppContext& context) {
    return countAnswerCue(context, playFromEvent(context, kCorrect2));
}

bool playWrongCue(AppContext& context) {
    return countAnswerCue(context, playFromEvent(context, kWrong2));
}

void playPersonalBestCue(AppContext& context) {
    playFromEvent(context, kPersonal2);
}

void playFailCue(AppContext& context) {
    playFromEvent(context, kFail1);
}

void playTopRecordCue(AppContext& context) {
    playFile(context, QStringLiteral("最高1.wav"));
}

void playPassCue(AppContext& context) {
    playFile(context, QStringLiteral("合格.wav"));
}

void playWarningCue(AppContext& context) {
    playFile(context, QStringLiteral("警告1.wav"));
}

} // namespace warizan
