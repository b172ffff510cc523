#pragma once

#include "roster/pupil_list.h"
#include "roster/roster_file.h"
#include "state/app_context.h"

#include <QString>
#include <functional>

namespace warizan {

// Seconds between two attempts of a failing step of the list build, and the failure that ends the program.
inline constexpr int kRosterRetryWaitMs = 5000;
inline constexpr int kRosterFailuresBeforeEnd = 6;

// The steps of the list build as its failure message numbers them.
inline constexpr double kRosterStageOpen = 2;
inline constexpr double kRosterStageRead = 3;

// The message for a roster that cannot be used, one text wherever the fault shows (the start-up recovery
// or a later list build): what is wrong in plain words ("名簿ファイル（生徒用名簿.txt）を開けません。"),
// then "名簿表示" directly followed by the step reached, the failure's description and its number, then
// the roster's path and the line of the entry at fault.
QString rosterFailureText(const QString& path, const RosterFileError& error, double listStage);

// Said when the roster lists nobody (an empty file, or every entry inactive): nobody can be chosen.
QString emptyRosterText(const QString& path);

// Told to the caller of 名簿表示 each time a failed read of the roster starts a wait before the next
// attempt, so the caller can say that the program is waiting and why (the selection screen shows its
// waiting panel, the data tool writes a line on stderr). The build returns when the wait is over: after a
// later attempt succeeds, or after the last failure has ended the program.
struct RosterWait {
    int failures = 0; // failed attempts so far, 1 .. kRosterFailuresBeforeEnd - 1
    int waitMs = 0;   // the wait that starts now
    QString path;     // the roster
    QString reason;   // Japanese: what is wrong, and the line when an entry is at fault
};
using RosterWaitHandler = std::function<void(const RosterWait&)>;

// Builds the selection screen's pupil list: works out the school year, recounts every pupil's figures
// from the score file, reads the roster (remembering its encoding for a later rewrite) and lists it for
// `displayMode` (0..3) and `gradeFilter` (see buildPupilList).
//
// Another program may be replacing the roster at this moment, so a roster that cannot be opened or is cut
// short is read again from its start after a 5 second wait in which events keep running; `onWait` (when
// given) is called as each wait starts. The sixth failure shows rosterFailureText() and ends the program. A
// file that no wait can mend (a folder, a pipe or device, far too large, in an encoding the suite does not
// use) ends the program at the first attempt with the same message. Returns false when the program has been
// ended (here or by the count); `list` is then left as it was and the caller must return at once.
[[nodiscard]] bool 名簿表示(AppContext& context, int displayMode, const QString& gradeFilter, PupilList* list,
                            const RosterWaitHandler& onWait = {});

} // namespace warizan
