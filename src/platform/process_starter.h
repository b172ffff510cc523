#pragma once

#include <QString>
#include <QStringList>

namespace warizan {

// The file name of a program called `base` on this system: with ".exe" on Windows, as it is elsewhere.
QString executableFileName(const QString& base);

// Starts another program as a separate process that outlives this one.
class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;
    // Returns false when the program could not be started (missing, not executable).
    virtual bool startDetached(const QString& program, const QStringList& arguments) = 0;
};

class SystemProcessStarter final : public ProcessStarter {
public:
    bool startDetached(const QString& program, const QStringList& arguments) override;
};

} // namespace warizan
