#pragma once

#include "state/app_context.h"

#include <QString>

namespace warizan {

// The cues play from `soundFolder` and return only when their sound has ended (or failed): callers rely on
// this, for instance to show the next question only after the correct-answer sound. Each keeps what it did in
// state.sound: `lastCommand` ("play <path> wait"; empty when there was nothing to play), `lastResultCode`
// and `lastReply` (empty when the sound played, else what went wrong).
inline const QString kSoundPlayed = QStringLiteral("0");
inline const QString kSoundDeviceFailed = QStringLiteral("1");  // the device could not play the file
inline const QString kSoundNotConfigured = QStringLiteral("2"); // the event names no file to play

inline const QString kSoundErrorTitle = QStringLiteral("音声エラー");
inline const QString kSoundErrorText = QStringLiteral("音声がでません。先生を呼びなさい。");
// Failures of the answer cues in a row that pass without a word; the next one ends the program.
inline constexpr qint16 kSilentSoundFailures = 3;

// Answer cues: a file picked at random from "正解音2" (correct answer) or "間違い音2" (wrong answer, refused
// start). They share `soundFailCount`: a sound that plays resets it, three failures in a row pass silently,
// and the fourth tells the pupil to call the teacher and ends the program; a line for the parents under it
// gives the first failure's cause and what to check (speakers, volume, the sound folder). An event with no
// file to play counts as a failure, so a broken sound configuration cannot go unnoticed. Return false when
// the program is ending: the caller must return at once and write nothing more (no record of the running
// drill).
[[nodiscard]] bool playCorrectCue(AppContext& context);
[[nodiscard]] bool playWrongCue(AppContext& context);

// Result-screen and refused-key cues: their result is kept but never counted, and they never end the
// program. The personal-best and fail cues pick from "自己最高音2" and "不合格音1"; the others play one
// fixed file.
void playPersonalBestCue(AppContext& context);
void playFailCue(AppContext& context);
void playTopRecordCue(AppContext& context); // "最高1.wav"
void playPassCue(AppContext& context);      // "合格.wav"
void playWarningCue(AppContext& context);   // "警告1.wav"

} // namespace warizan
