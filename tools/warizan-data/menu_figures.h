#pragma once

// What the commands that show the level menu's figures stand on: the lists, the ranking and the report.

#include "tool_support.h"

#include <optional>

namespace warizan::tool {

OptionSpec filterOption();
OptionSpec pupilOption(const QString& description);

// The configuration, the roster list the menu ranks (which counts the score file as of --today), the
// content's levels, the working pupil (--pupil, none when left out) and the grade filter (--filter).
// Returns the exit code to end with, or nullopt when everything is ready.
std::optional<int> prepareMenuFigures(const CommandLine& line, ToolContext& tool, QString* filter);

} // namespace warizan::tool
