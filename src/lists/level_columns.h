#pragma once

#include "state/program_state.h"

#include <QString>
#include <vector>

namespace warizan {

// The texts of one level column of the level menu for the working pupil.
struct LevelColumnTexts {
    QString number; // the column number
    QString name;   // the level's name
    QString start;  // the start button, its access key the column number
    QString goal;   // goal time and point rule
    QString recent; // runs and points of the recent window
    QString today;  // runs and points today, hyphens when none
    QString soFar;  // runs and points on all days, hyphens when none
};
LevelColumnTexts levelColumnTexts(const ProgramState& state, int level);

// "本日総回数＝" and the working pupil's runs today over all 35 level slots, then "回".
QString todayTotalText(const ProgramState& state);
// "起動後" and the whole minutes since the pupil was confirmed, then "分".
QString elapsedText(qint32 minutes);

// What the unlocking pass decides for the working pupil.
struct Unlocking {
    qint16 goalLevelCleared = 0;
    std::vector<bool> open;        // index = level: the start button is enabled by the pass
    std::vector<bool> markerShown; // index = level: the marker box is still shown after the pass
    std::vector<bool> quotaMet;    // index = level: the quota window's runs or points are reached
};
// A level opens the next when its recent runs and points reach the level's rule, when the next level has no
// point rule (9999), or for the teacher. Level 1 is always open. Markers start shown: a level's marker is
// hidden when the level before opens it, and its own marker is hidden once it opens the next, unless its
// quota is met while the goal level is not yet cleared.
Unlocking unlockingPass(const ProgramState& state);

// The marker box of a level: "まだ" for a level not yet opened, "ノルマ達成" for a level whose quota is met,
// "ちょうせん中" for the open level being worked on.
QString markerText(const Unlocking& unlocking, int level);

} // namespace warizan
