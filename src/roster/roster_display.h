#pragma once

#include "state/app_context.h"
#include "roster/pupil_list.h"

#include <QString>

namespace warizan {

// Seconds between two attempts of a failing step of the list build, and the failure that ends the program.
inline constexpr int kRosterRetryWaitMs = 5000;
inline constexpr int kRosterFailuresBeforeEnd = 6;

// Builds the selection screen's pupil list: works out the school year, recounts every pupil's figures
// from the score file, reads the roster (remembering its encoding for a later rewrite) and lists it for
// `displayMode` (0..3) and `gradeFilter` (see buildPupilList).
//
// Another program may be replacing the roster at this moment, so a roster that cannot be opened or is cut
// short is read again from its start after a 5 second wait in which events keep running. The sixth
// failure shows "名簿表示", the step reached, the failure's description and its number, with nothing
// between them, and ends the program. Returns false when the program has been ended (here or by the
// count); `list` is then left as it was and the caller must return at once.
[[nodiscard]] bool 名簿表示(AppContext& context, int displayMode, const QString& gradeFilter, PupilList* list);

} // namespace warizan
