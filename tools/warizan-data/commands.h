#pragma once

#include <QStringList>

namespace warizan::tool {

// Each command takes the arguments after its word and returns the process's exit code.
int configCommand(const QStringList& args);
int figuresCommand(const QStringList& args);
int appendCommand(const QStringList& args);
int pupilsCommand(const QStringList& args);
int exportCommand(const QStringList& args);
int checkCommand(const QStringList& args);

} // namespace warizan::tool
