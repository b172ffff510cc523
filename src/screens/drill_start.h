#pragma once

#include "screens/form_owner.h"

namespace warizan {

// Starts a sheet on `currentLevel` for the working pupil: clears the flags of the previous sheet and shows
// the drill form, whose load and activation set up the sheet and ask the first question. The level menu's
// start buttons and the result screen's "もう一度" call this. Returns false when the program is ending.
[[nodiscard]] bool startDrill(FormContext& forms);

// Starts a 苦手れんしゅう sheet for the working pupil in the drill form, as startDrill() starts a drill:
// the level menu's "苦手れんしゅう(P)" calls this. Returns false when the program is ending.
[[nodiscard]] bool startPractice(FormContext& forms);

// The last steps of a drill: waits at least `seconds` (letting events run, without spinning the processor),
// then unloads the drill form and shows the result screen. Returns false when the program is ending.
[[nodiscard]] bool waitThenShowResult(FormContext& forms, double seconds);

} // namespace warizan
