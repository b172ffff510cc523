#pragma once

#include "state/program_state.h"

#include <QString>

namespace warizan {

inline const QString kSoundTableFileName = QStringLiteral("新音ファイル.txt");

// Columns of the sound table: the events the cues play from.
enum SoundEvent : int {
    kCorrect1 = 1,
    kCorrect2 = 2, // correct answer
    kWrong1 = 3,
    kWrong2 = 4, // wrong answer, refused start
    kTop1 = 5,
    kTop2 = 6,
    kPersonal1 = 7,
    kPersonal2 = 8, // personal new record
    kPersonal3 = 9,
    kFail1 = 10, // failed run
};

// Event name of a column 1..10 ("正解音1" ...).
QString soundEventName(int column);

// Reads the sound configuration into `sound.soundTable`: groups of an event name, up to 20 file names
// without ".wav", and "*". A field that names no event is passed over; a group with more than 20 names keeps
// the first 20 and no count, and its 21st name is read as if it were an event name; a group that comes twice
// overwrites what it lists. Returns false with a Japanese description when the file cannot be read.
bool loadSoundTable(const QString& path, SoundState& sound, QString* error);

// The number of file names of an event: 0 while the event has no list, never more than 20.
int soundFileCount(const SoundState& sound, int column);

} // namespace warizan
