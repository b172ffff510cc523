#pragma once

#include <QStringList>

namespace warizan::tool {

// Each command takes the arguments after its word and returns the process's exit code.
int configCommand(const QStringList& args);

} // namespace warizan::tool
