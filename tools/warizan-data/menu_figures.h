#pragma once

// What the commands that show the level menu's figures stand on: the lists, the ranking and the report.

#include "tool_support.h"

namespace warizan::tool {

OptionSpec filterOption();
OptionSpec pupilOption(const QString& description, bool required = false);

// Loads what Needs::MenuFigures stands for, on the configuration already read: the roster's pupil list the
// menu ranks (which counts the score file as of --today), the content's levels and the working pupil
// (--pupil, nobody when left out). Says what is wrong and returns false when the roster cannot be read.
bool loadMenuFigures(const CommandLine& line, ToolContext& tool);

} // namespace warizan::tool
