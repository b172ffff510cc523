#pragma once

#include "platform/process_starter.h"
#include "state/program_state.h"

#include <QString>

namespace warizan {

// Background of the selection screen and the level menu: red 0, green 128, blue 128.
inline constexpr quint32 kThemeColour = 0x008080;

// The drill's title: the selection screen's heading and the help file's base name.
QString contentTitle();

// The suite launcher that this program hands control back to when it is left.
QString launcherPath(const QString& programFolder);

// Starts the launcher with the single argument "001". Returns whether it started; the caller ends the
// program either way.
bool startLauncher(const Configuration& config, ProcessStarter& starter);

} // namespace warizan
