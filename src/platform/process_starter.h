#pragma once

#include <QString>
#include <QStringList>

namespace warizan {

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
